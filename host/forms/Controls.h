#pragma once

#include <QRect>
#include <QString>

class QComboBox;
class QObject;
class QWidget;

namespace qalvoro {

// Window geometry is designed in twips, 15 to a pixel. The twips are kept
// beside the pixel geometry so that layout arithmetic stays exact.
constexpr int kTwipsPerPixel = 15;

QRect twipsGeometry(const QWidget& widget);
void setTwipsGeometry(QWidget& widget, const QRect& twips);
void setTwipsLeft(QWidget& widget, int left);
void setTwipsTop(QWidget& widget, int top);
void setTwipsWidth(QWidget& widget, int width);
void setTwipsHeight(QWidget& widget, int height);

// Every control and window carries a free text, its tag.
QString tagOf(const QObject& object);
void setTag(QObject& object, const QString& tag);

// Index of a control that belongs to a control array; -1 otherwise.
int indexOf(const QObject& object);
void setIndex(QObject& object, int index);

// The caption of labels, buttons, check boxes, option buttons, frames and
// menu items; empty for other controls.
bool hasCaption(const QObject& object);
QString captionOf(const QObject& object);
void setCaption(QObject& object, const QString& caption);

// Text alignment of labels, and the side of the box of option buttons and
// check boxes: 0 left-justified, 1 right-justified, 2 centred.
enum Alignment { kLeftJustify = 0, kRightJustify = 1, kCenter = 2 };
bool hasAlignment(const QObject& object);
int alignmentOf(const QObject& object);
void setAlignment(QWidget& widget, int alignment);

// The right-to-left property of a control or window: its captions are laid
// out with a right-to-left base direction (see ReadingOrder.h), and, except
// for option buttons and check boxes, whose alignment gives the side of
// their box, the control itself is laid out right to left. Text and combo
// boxes hold data: they are aligned right, and each of their texts reads in
// its own direction.
bool rightToLeftOf(const QWidget& widget);
void setRightToLeft(QWidget& widget, bool rightToLeft);
// Makes the list of a combo box open on the side its window reads from.
void openListsOnTheReadingSide(QComboBox& combo);
// Marks a text box that holds a left-to-right value (a file path): its text
// reads left to right in every window.
void setLeftToRightValue(QWidget& widget);

}  // namespace qalvoro
