#pragma once

#include <Qt>

class QWidget;

namespace qalvoro {

// The reading order of a widget's text: the base direction in which its
// captions, texts and items are laid out, whatever character they begin
// with. A widget without an order of its own reads in the order of the
// nearest parent that has one; a widget without any keeps the toolkit's
// behaviour (the direction of its first strong character, or left to right).
// The order Qt::LayoutDirectionAuto reads each text in its own direction,
// that of its first strong character (a text box's as long as no other
// order was set on it).
//
// Setting an order reaches the widget's own parts as well (the tab bar of a
// tab control, the edit field of a date or combo box, the label and buttons
// of a message box).
void setReadingOrder(QWidget& widget, Qt::LayoutDirection order);
// The order the widget reads in, found through its parents; Qt::LayoutDirectionAuto
// for its own direction, or when neither it nor a parent has an order.
Qt::LayoutDirection readingOrderOf(const QWidget& widget);

}  // namespace qalvoro
