#include "host/forms/SSTab.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "host/forms/Controls.h"

namespace qalvoro {

SSTab::SSTab(QWidget* parent) : QWidget(parent), tabBar_(new QTabBar(this)) {
  tabBar_->setExpanding(false);
  connect(tabBar_, &QTabBar::currentChanged, this, &SSTab::setCurrentTab);
}

int SSTab::addTab(const QString& caption) {
  const QSignalBlocker blocker(tabBar_);
  return tabBar_->addTab(caption);
}

int SSTab::tabCount() const { return tabBar_->count(); }

QString SSTab::tabCaption(int tab) const { return tabBar_->tabText(tab); }

void SSTab::setTabCaption(int tab, const QString& caption) { tabBar_->setTabText(tab, caption); }

void SSTab::setCurrentTab(int tab) {
  if (tab == current_ || tab < 0 || tab >= tabCount()) return;
  shift(current_, -kHiddenOffset);
  current_ = tab;
  shift(current_, kHiddenOffset);
  {
    const QSignalBlocker blocker(tabBar_);
    tabBar_->setCurrentIndex(tab);
  }
  emit currentTabChanged(tab);
}

void SSTab::placeOnTab(QWidget& control, int tab) {
  placements_.push_back({&control, tab});
  if (tab == current_) return;
  setTwipsLeft(control, twipsGeometry(control).left() - kHiddenOffset);
  control.hide();
}

int SSTab::pageOffsetOf(const QWidget& control) const {
  for (const auto& placement : placements_) {
    if (placement.control == &control) return placement.tab == current_ ? 0 : -kHiddenOffset;
  }
  return 0;
}

void SSTab::shift(int tab, int offset) {
  for (const auto& placement : placements_) {
    if (placement.control && placement.tab == tab) {
      setTwipsLeft(*placement.control, twipsGeometry(*placement.control).left() + offset);
      placement.control->setVisible(offset > 0);
    }
  }
}

void SSTab::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(0, tabBar_->height() - 1, 0, 0);
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void SSTab::resizeEvent(QResizeEvent*) {
  const QSize hint = tabBar_->sizeHint();
  const int x = layoutDirection() == Qt::RightToLeft ? width() - hint.width() : 0;
  tabBar_->setGeometry(x, 0, qMin(hint.width(), width()), hint.height());
}

}  // namespace qalvoro
