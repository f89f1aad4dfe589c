#pragma once

#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <vector>

#include "host/forms/Controls.h"

class QAction;

namespace qalvoro {

// A window of the component: designed right to left with fixed geometry in
// twips, with its controls kept in creation order (the order the layout
// routines walk them), a caption, a tag, a default button (Enter) and a
// cancel button (Esc). A window is loaded on first use; unloading hides it
// and lets the next use load it again.
class Form : public QWidget {
  Q_OBJECT

 public:
  explicit Form(const QString& name, QWidget* parent = nullptr);

  // Creates a control, names it, places it in twips on its container (the
  // window itself when container is null) and adds it to the controls.
  template <class Control>
  Control* addControl(const QString& name, const QRect& twips, QWidget* container = nullptr,
                      int index = -1) {
    auto* control = new Control(container ? container : this);  // owned by its container
    registerControl(*control, name, twips, index);
    return control;
  }
  void addMenuItem(QAction& item, const QString& name);

  const std::vector<QPointer<QWidget>>& controls() const { return controls_; }
  const std::vector<QPointer<QAction>>& menuItems() const { return menuItems_; }

  QString caption() const { return windowTitle(); }
  void setCaption(const QString& caption) { setWindowTitle(caption); }
  void setTwipsSize(int width, int height);

  void setDefaultButton(QPushButton* button) { defaultButton_ = button; }
  void setCancelButton(QPushButton* button) { cancelButton_ = button; }

  // Runs the window's loading procedure once until the next unload.
  void load();
  bool isLoaded() const { return loaded_; }
  // Loads the window and shows it modally through the platform.
  void showModal();
  // Hides the window; the next use loads it again.
  void unload();

 signals:
  void unloaded();

 protected:
  // The window's loading procedure.
  virtual void formLoad() {}
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void registerControl(QWidget& control, const QString& name, const QRect& twips, int index);

  std::vector<QPointer<QWidget>> controls_;
  std::vector<QPointer<QAction>> menuItems_;
  QPointer<QPushButton> defaultButton_;
  QPointer<QPushButton> cancelButton_;
  bool loaded_ = false;
};

}  // namespace qalvoro
