#include "app_icon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velmar {

namespace {
const QColor kDeepBlue(0x12, 0x3e, 0x7a);
const QColor kLightBlue(0x3f, 0x8c, 0xd8);
}  // namespace

QImage DrawAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);

  QLinearGradient tile(0, 0, 0, 64);
  tile.setColorAt(0, kLightBlue);
  tile.setColorAt(1, kDeepBlue);
  painter.setPen(Qt::NoPen);
  painter.setBrush(tile);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // Cylinder body, rod and rod eye, at a slant.
  painter.translate(32, 32);
  painter.rotate(-35);
  painter.setBrush(QColor(0xf2, 0xf5, 0xf9));
  painter.drawRoundedRect(QRectF(-24, -8, 30, 16), 3, 3);
  painter.setBrush(QColor(0xc8, 0xd2, 0xde));
  painter.drawRect(QRectF(6, -3, 14, 6));
  painter.setBrush(QColor(0xf2, 0xf5, 0xf9));
  painter.drawEllipse(QPointF(22, 0), 5, 5);
  painter.setBrush(kDeepBlue);
  painter.drawEllipse(QPointF(22, 0), 2, 2);
  painter.drawRect(QRectF(-18, -8, 2.5, 16));
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) {
    icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
  }
  return icon;
}

QPixmap DrawBanner(int width, int height) {
  QPixmap banner(width, height);
  QPainter painter(&banner);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, width, 0);
  sky.setColorAt(0, kDeepBlue);
  sky.setColorAt(1, kLightBlue);
  painter.fillRect(banner.rect(), sky);
  painter.drawImage(QPoint(8, (height - 48) / 2), DrawAppIcon(48));

  QFont title("Sans Serif", 20, QFont::Bold);
  title.setStyleHint(QFont::SansSerif);
  title.setLetterSpacing(QFont::PercentageSpacing, 115);
  painter.setFont(title);
  painter.setPen(Qt::white);
  painter.drawText(QRect(66, 4, width - 70, height / 2 + 6), Qt::AlignLeft | Qt::AlignBottom,
                   "VELMAR");
  QFont subtitle("Sans Serif", 9);
  subtitle.setStyleHint(QFont::SansSerif);
  painter.setFont(subtitle);
  painter.setPen(QColor(0xdc, 0xe8, 0xf6));
  painter.drawText(QRect(68, height / 2 + 12, width - 70, height / 2 - 12),
                   Qt::AlignLeft | Qt::AlignTop, "Linear actuator service tool");
  return banner;
}

}  // namespace velmar
