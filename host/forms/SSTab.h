#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class QTabBar;

namespace qalvoro {

// A tab control whose controls are its own children on every page: the
// controls of the pages not showing are hidden (so they never take the
// focus) and moved 75000 twips to the left, and come back when their page
// is chosen.
class SSTab : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHiddenOffset = 75000;  // twips

  explicit SSTab(QWidget* parent = nullptr);

  int addTab(const QString& caption);
  int tabCount() const;
  QString tabCaption(int tab) const;
  void setTabCaption(int tab, const QString& caption);
  int currentTab() const { return current_; }
  void setCurrentTab(int tab);
  // Puts a control (a child of this tab control) on a page.
  void placeOnTab(QWidget& control, int tab);
  // How far the control stands from its place on its page: -75000 twips on
  // a page not showing, 0 otherwise.
  int pageOffsetOf(const QWidget& control) const;

 signals:
  void currentTabChanged(int tab);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void shift(int tab, int offset);

  QTabBar* tabBar_;
  struct Placement {
    QPointer<QWidget> control;
    int tab;
  };
  std::vector<Placement> placements_;
  int current_ = 0;
};

}  // namespace qalvoro
