#include "browser/AccountImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "host/forms/TreeView.h"

namespace qalvoro {
namespace {

constexpr int kSize = 16;  // pixels

// The colour of an account type: Y balance sheet, R profit and loss, G
// trading.
struct TypeColour {
  const char* letter;
  QColor fill;
};

const TypeColour kTypeColours[] = {
    {"Y", QColor(240, 200, 60)},
    {"G", QColor(90, 170, 80)},
    {"R", QColor(215, 80, 70)},
};

QPixmap blankPicture() {
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  return picture;
}

// A closed folder: a tab at the top and the body below it.
QPixmap closedFolder(const QColor& fill) {
  QPixmap picture = blankPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(fill.darker(170));
  painter.setBrush(fill.darker(115));
  painter.drawRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1, 1);
  return picture;
}

// An open folder: the back of the folder and its front leaning forward.
QPixmap openFolder(const QColor& fill) {
  QPixmap picture = blankPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(fill.darker(170));
  painter.setBrush(fill.darker(125));
  painter.drawRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
  painter.drawRect(QRectF(1.5, 4.5, 12, 9));
  QPainterPath front;
  front.moveTo(1.5, 13.5);
  front.lineTo(4.5, 7.5);
  front.lineTo(15.0, 7.5);
  front.lineTo(12.5, 13.5);
  front.closeSubpath();
  painter.setBrush(fill.lighter(115));
  painter.drawPath(front);
  return picture;
}

// A sheet with a folded corner and a band of the type's colour.
QPixmap page(const QColor& fill) {
  QPixmap picture = blankPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath sheet;
  sheet.moveTo(3.5, 1.5);
  sheet.lineTo(9.5, 1.5);
  sheet.lineTo(12.5, 4.5);
  sheet.lineTo(12.5, 14.5);
  sheet.lineTo(3.5, 14.5);
  sheet.closeSubpath();
  painter.setPen(QColor(110, 110, 110));
  painter.setBrush(Qt::white);
  painter.drawPath(sheet);
  painter.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 4.5));
  painter.drawLine(QPointF(9.5, 4.5), QPointF(12.5, 4.5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRect(QRectF(5, 7, 6, 6));
  return picture;
}

}  // namespace

void DrawAccountImages(ImageList& images) {
  for (const TypeColour& type : kTypeColours) {
    const QString letter = QString::fromLatin1(type.letter);
    images.add(QStringLiteral("Close") + letter, closedFolder(type.fill));
    images.add(QStringLiteral("Open") + letter, openFolder(type.fill));
    images.add(QStringLiteral("Page") + letter, page(type.fill));
  }
}

QPixmap SearchPicture() {
  QPixmap picture = blankPicture();
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 2));
  painter.setBrush(QColor(200, 225, 245));
  painter.drawEllipse(QRectF(2, 2, 8, 8));
  painter.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
  return picture;
}

}  // namespace qalvoro
