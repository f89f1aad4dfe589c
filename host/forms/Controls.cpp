#include "host/forms/Controls.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <cmath>

#include "host/platform/ReadingOrder.h"

namespace qalvoro {
namespace {

constexpr char kTwips[] = "twipsGeometry";
constexpr char kTag[] = "Tag";
constexpr char kIndex[] = "Index";
constexpr char kAlignment[] = "Alignment";
constexpr char kRightToLeft[] = "RightToLeft";

int toPixels(int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); }

QRect toPixels(const QRect& twips) {
  return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()),
          toPixels(twips.height())};
}

void applyAlignment(QWidget& widget, int alignment) {
  if (auto* label = qobject_cast<QLabel*>(&widget)) {
    const Qt::Alignment horizontal = alignment == kRightJustify ? Qt::AlignRight
                                     : alignment == kCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
    label->setAlignment(Qt::AlignAbsolute | horizontal | Qt::AlignVCenter);
  } else {
    widget.setLayoutDirection(alignment == kRightJustify ? Qt::RightToLeft : Qt::LeftToRight);
  }
}

}  // namespace

QRect twipsGeometry(const QWidget& widget) {
  const QVariant stored = widget.property(kTwips);
  const QRect pixels = widget.geometry();
  if (stored.isValid()) {
    const QRect twips = stored.toRect();
    if (toPixels(twips) == pixels) return twips;
  }
  return {pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel, pixels.width() * kTwipsPerPixel,
          pixels.height() * kTwipsPerPixel};
}

void setTwipsGeometry(QWidget& widget, const QRect& twips) {
  widget.setProperty(kTwips, twips);
  if (widget.isWindow()) {
    widget.resize(toPixels(twips).size());
    widget.move(toPixels(twips).topLeft());
  } else {
    widget.setGeometry(toPixels(twips));
  }
  widget.setProperty(kTwips, twips);
}

void setTwipsLeft(QWidget& widget, int left) {
  QRect twips = twipsGeometry(widget);
  twips.moveLeft(left);
  setTwipsGeometry(widget, twips);
}

void setTwipsTop(QWidget& widget, int top) {
  QRect twips = twipsGeometry(widget);
  twips.moveTop(top);
  setTwipsGeometry(widget, twips);
}

void setTwipsWidth(QWidget& widget, int width) {
  QRect twips = twipsGeometry(widget);
  twips.setWidth(width);
  setTwipsGeometry(widget, twips);
}

void setTwipsHeight(QWidget& widget, int height) {
  QRect twips = twipsGeometry(widget);
  twips.setHeight(height);
  setTwipsGeometry(widget, twips);
}

QString tagOf(const QObject& object) { return object.property(kTag).toString(); }

void setTag(QObject& object, const QString& tag) { object.setProperty(kTag, tag); }

int indexOf(const QObject& object) {
  const QVariant index = object.property(kIndex);
  return index.isValid() ? index.toInt() : -1;
}

void setIndex(QObject& object, int index) { object.setProperty(kIndex, index); }

bool hasCaption(const QObject& object) {
  return qobject_cast<const QLabel*>(&object) || qobject_cast<const QAbstractButton*>(&object) ||
         qobject_cast<const QGroupBox*>(&object) || qobject_cast<const QAction*>(&object);
}

QString captionOf(const QObject& object) {
  if (auto* label = qobject_cast<const QLabel*>(&object)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&object)) return button->text();
  if (auto* frame = qobject_cast<const QGroupBox*>(&object)) return frame->title();
  if (auto* action = qobject_cast<const QAction*>(&object)) return action->text();
  return {};
}

void setCaption(QObject& object, const QString& caption) {
  if (auto* label = qobject_cast<QLabel*>(&object)) label->setText(caption);
  if (auto* button = qobject_cast<QAbstractButton*>(&object)) button->setText(caption);
  if (auto* frame = qobject_cast<QGroupBox*>(&object)) frame->setTitle(caption);
  if (auto* action = qobject_cast<QAction*>(&object)) action->setText(caption);
}

bool hasAlignment(const QObject& object) {
  return qobject_cast<const QLabel*>(&object) || qobject_cast<const QRadioButton*>(&object) ||
         qobject_cast<const QCheckBox*>(&object);
}

int alignmentOf(const QObject& object) {
  const QVariant alignment = object.property(kAlignment);
  return alignment.isValid() ? alignment.toInt() : kLeftJustify;
}

void setAlignment(QWidget& widget, int alignment) {
  widget.setProperty(kAlignment, alignment);
  applyAlignment(widget, alignment);
}

bool rightToLeftOf(const QWidget& widget) { return widget.property(kRightToLeft).toBool(); }

void setRightToLeft(QWidget& widget, bool rightToLeft) {
  widget.setProperty(kRightToLeft, rightToLeft);
  const Qt::LayoutDirection direction = rightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
  // Every control reads its text in the given direction. Option buttons and
  // check boxes show the side of their box through their alignment; every
  // other control is laid out in that direction as well.
  if (!qobject_cast<QRadioButton*>(&widget) && !qobject_cast<QCheckBox*>(&widget)) {
    widget.setLayoutDirection(direction);
  }
  setReadingOrder(widget, direction);
}

}  // namespace qalvoro
