#include "host/forms/Controls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "host/platform/ReadingOrder.h"

namespace qalvoro {
namespace {

constexpr char kTwips[] = "twipsGeometry";
constexpr char kTag[] = "Tag";
constexpr char kIndex[] = "Index";
constexpr char kAlignment[] = "Alignment";
constexpr char kRightToLeft[] = "RightToLeft";
constexpr char kLeftToRightValue[] = "LeftToRightValue";

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

// Opens the list of a combo box laid out right to left under the box's
// right edge, as its text stands.
class RightAlignedPopup : public QObject {
 public:
  explicit RightAlignedPopup(QComboBox& combo) : QObject(&combo), combo_(combo) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* popup = qobject_cast<QWidget*>(watched);
    if (popup && event->type() == QEvent::Show && combo_.isRightToLeft()) {
      const int left = combo_.mapToGlobal(QPoint(combo_.width(), 0)).x() - popup->width();
      popup->move(std::max(left, combo_.screen()->availableGeometry().left()), popup->y());
    }
    return false;
  }

 private:
  QComboBox& combo_;
};

}  // namespace

void openListsOnTheReadingSide(QComboBox& combo) {
  combo.view()->window()->installEventFilter(new RightAlignedPopup(combo));
}

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
  // Option buttons and check boxes show the side of their box through their
  // alignment; every other control is laid out in the given direction.
  if (!qobject_cast<QRadioButton*>(&widget) && !qobject_cast<QCheckBox*>(&widget)) {
    widget.setLayoutDirection(direction);
  }
  // Captions read in the given direction. Text and combo boxes show data:
  // each text reads in its own direction (a left-to-right value always left
  // to right), aligned to the side the window reads from.
  auto* edit = qobject_cast<QLineEdit*>(&widget);
  if (edit) {
    edit->setAlignment(Qt::AlignAbsolute | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft) |
                       Qt::AlignVCenter);
  }
  if (edit || qobject_cast<QComboBox*>(&widget)) {
    setReadingOrder(widget, widget.property(kLeftToRightValue).toBool() ? Qt::LeftToRight
                                                                        : Qt::LayoutDirectionAuto);
    return;
  }
  setReadingOrder(widget, direction);
}

void setLeftToRightValue(QWidget& widget) {
  widget.setProperty(kLeftToRightValue, true);
  setReadingOrder(widget, Qt::LeftToRight);
}

}  // namespace qalvoro
