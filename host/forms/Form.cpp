#include "host/forms/Form.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>

#include "host/platform/Platform.h"

namespace qalvoro {

Form::Form(const QString& name, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(name);
  setRightToLeft(*this, true);
}

void Form::registerControl(QWidget& control, const QString& name, const QRect& twips, int index) {
  control.setObjectName(name);
  if (index >= 0) setIndex(control, index);
  setTwipsGeometry(control, twips);
  setRightToLeft(control, true);
  if (hasAlignment(control)) setAlignment(control, kRightJustify);
  if (auto* combo = qobject_cast<QComboBox*>(&control)) openListsOnTheReadingSide(*combo);
  controls_.emplace_back(&control);
}

void Form::addMenuItem(QAction& item, const QString& name) {
  item.setObjectName(name);
  menuItems_.emplace_back(&item);
  // A menu is a window of its own: it opens on the side the window reads
  // from only when told.
  if (auto* menu = qobject_cast<QMenu*>(item.parent())) setRightToLeft(*menu, rightToLeftOf(*this));
}

void Form::setTwipsSize(int width, int height) {
  QRect twips = twipsGeometry(*this);
  twips.setSize({width, height});
  setTwipsGeometry(*this, twips);
  setFixedSize(size());
}

void Form::load() {
  if (state_ != State::Designed) return;
  state_ = State::Loaded;
  formLoad();
}

void Form::showModal() {
  load();
  platform().showModal(*this);
}

void Form::unload() {
  if (state_ != State::Unloaded) formUnload();
  state_ = State::Unloaded;
  setTag(*this, QString());
  hide();
  emit unloaded();
}

QWidget* Form::firstFocusableControl() const {
  for (QWidget* next = nextInFocusChain(); next && next != this; next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(this)) {
      return next;
    }
  }
  return nullptr;
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window whose first control in the tab order is a command button gives
  // the focus to its default button instead, so that Enter answers with the
  // default until the user moves the focus.
  if (!defaultButton_ || focusWidget()) return;
  if (qobject_cast<QPushButton*>(firstFocusableControl())) defaultButton_->setFocus();
}

void Form::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter) {
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* pressed = focused ? focused : defaultButton_.data();
    if (pressed && pressed->isEnabled()) {
      pressed->click();
      return;
    }
  }
  if (event->key() == Qt::Key_Escape && cancelButton_ && cancelButton_->isEnabled()) {
    cancelButton_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
  event->accept();
  unload();
}

}  // namespace qalvoro
