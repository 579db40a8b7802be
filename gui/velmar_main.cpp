// velmar: the desktop service tool.
#include <QApplication>

#include "app_icon.h"
#include "velmar_app.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("velmar");
  QApplication::setDesktopFileName("velmar");
  QApplication::setWindowIcon(velmar::AppIcon());
  velmar::VelmarApp app;
  return app.Run();
}
