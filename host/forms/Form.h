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
// routines walk them), a caption, a tag, a default button and a cancel
// button (Esc). Enter presses the command button that has the focus, and the
// default button when the focus is on any other control.
//
// A window is built as designed by its constructor (captions in Arabic),
// loaded once on first use (formLoad: fonts, mirroring and translation,
// filling) and unloaded by its exit button, by its owner or by closing it
// from the title bar. An unloaded window is never loaded again: the shared
// windows (windows()) make a new one at their next use, and the others are
// made anew by their owner.
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

  // Runs the window's loading procedure the first time it is called.
  void load();
  bool isLoaded() const { return state_ == State::Loaded; }
  bool isUnloaded() const { return state_ == State::Unloaded; }
  // Loads the window and shows it modally through the platform.
  void showModal();
  // Runs the window's unloading procedure, hides the window and empties its
  // tag: the caller of a modal showing reads an empty answer.
  void unload();

 signals:
  void unloaded();

 protected:
  // The window's loading and unloading procedures.
  virtual void formLoad() {}
  virtual void formUnload() {}
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class State { Designed, Loaded, Unloaded };

  void registerControl(QWidget& control, const QString& name, const QRect& twips, int index);
  QWidget* firstFocusableControl() const;

  std::vector<QPointer<QWidget>> controls_;
  std::vector<QPointer<QAction>> menuItems_;
  QPointer<QPushButton> defaultButton_;
  QPointer<QPushButton> cancelButton_;
  State state_ = State::Designed;
};

}  // namespace qalvoro
