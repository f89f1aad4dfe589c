#include "host/forms/Form.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

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
  controls_.emplace_back(&control);
}

void Form::addMenuItem(QAction& item, const QString& name) {
  item.setObjectName(name);
  menuItems_.emplace_back(&item);
}

void Form::setTwipsSize(int width, int height) {
  QRect twips = twipsGeometry(*this);
  twips.setSize({width, height});
  setTwipsGeometry(*this, twips);
  setFixedSize(size());
}

void Form::load() {
  if (loaded_) return;
  loaded_ = true;
  formLoad();
}

void Form::showModal() {
  load();
  platform().showModal(*this);
}

void Form::unload() {
  loaded_ = false;
  hide();
  emit unloaded();
}

void Form::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && defaultButton_ && defaultButton_->isEnabled()) {
    defaultButton_->click();
    return;
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
