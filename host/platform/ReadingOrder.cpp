#include "host/platform/ReadingOrder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

namespace qalvoro {
namespace {

constexpr char kReadingOrder[] = "ReadingOrder";

// The widget whose reading order this one follows: itself or the nearest
// parent that has one.
const QWidget* orderOwner(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    if (widget->property(kReadingOrder).isValid()) return widget;
  }
  return nullptr;
}

// Captions of labels, buttons, option and check boxes, frames, combo boxes
// and tabs are drawn through QStyle::drawItemText, which lays them out left
// to right (labels: in the direction of their first strong character). This
// style lays them out in the reading order of the widget being painted.
class ReadingOrderStyle : public QProxyStyle {
 public:
  explicit ReadingOrderStyle(const QString& baseStyle) : QProxyStyle(baseStyle) {}

  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                    bool enabled, const QString& text, QPalette::ColorRole role) const override {
    const auto* widget = dynamic_cast<const QWidget*>(painter->device());
    if (widget && orderOwner(widget)) {
      Qt::LayoutDirection order = readingOrderOf(*widget);
      if (order == Qt::LayoutDirectionAuto)
        order = text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
      flags &= ~(Qt::TextForceLeftToRight | Qt::TextForceRightToLeft);
      flags |= order == Qt::RightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;
    }
    // A line break of two characters would leave a space at the end of its
    // line, which pushes a right-aligned line over its edge.
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled,
                              QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                              role);
  }
};

QStyle& readingOrderStyle() {
  static QPointer<ReadingOrderStyle> style;
  if (!style) {
    style = new ReadingOrderStyle(QApplication::style()->name());
    style->setParent(qApp);  // destroyed with the application
  }
  return *style;
}

// The edit line of a text box follows the first strong character of its
// text unless told otherwise, and the one way to tell it is the direction
// key (Qt::Key_Direction_L or _R) a user would press. It is handed to the
// box's key handler directly, so that it reaches disabled boxes as well and
// no filter or parent sees it.
struct EditKeys : QLineEdit {
  using QLineEdit::keyPressEvent;
};

void setEditDirection(QLineEdit& edit, Qt::LayoutDirection order) {
  QKeyEvent key(QEvent::KeyPress,
                order == Qt::RightToLeft ? Qt::Key_Direction_R : Qt::Key_Direction_L,
                Qt::NoModifier);
  (edit.*(&EditKeys::keyPressEvent))(&key);
}

}  // namespace

void setReadingOrder(QWidget& widget, Qt::LayoutDirection order) {
  widget.setProperty(kReadingOrder, static_cast<int>(order));
  QList<QWidget*> parts = widget.findChildren<QWidget*>();
  parts.prepend(&widget);
  QStyle& style = readingOrderStyle();
  for (QWidget* part : parts) {
    if (part->style() != &style) part->setStyle(&style);
    auto* edit = qobject_cast<QLineEdit*>(part);
    if (edit && orderOwner(edit) == &widget && order != Qt::LayoutDirectionAuto) {
      setEditDirection(*edit, order);
    }
  }
  widget.update();
}

Qt::LayoutDirection readingOrderOf(const QWidget& widget) {
  const QWidget* owner = orderOwner(&widget);
  return owner ? static_cast<Qt::LayoutDirection>(owner->property(kReadingOrder).toInt())
               : Qt::LayoutDirectionAuto;
}

}  // namespace qalvoro
