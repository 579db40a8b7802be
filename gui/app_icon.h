#pragma once

#include <QIcon>
#include <QImage>

namespace velmar {

// The program's icon, drawn at `size` pixels square: an actuator (a cylinder with its rod) on a
// blue tile.
QImage DrawAppIcon(int size);

// The icon at the usual window-icon sizes.
QIcon AppIcon();

// The banner across the top of the main window.
QPixmap DrawBanner(int width, int height);

}  // namespace velmar
