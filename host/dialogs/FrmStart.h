#pragma once

#include <array>
#include <functional>

#include "host/forms/Form.h"

class QPushButton;
class QRadioButton;

namespace qalvoro {

// The start window: the user chooses what to import and runs the chosen
// restore window as often as needed.
class FrmStart : public Form {
  Q_OBJECT

 public:
  explicit FrmStart(QWidget* parent = nullptr);

  // Shows the restore window of an option modally; an option without one
  // does nothing.
  using RestoreWindow = std::function<void()>;
  void setRestoreWindow(int option, RestoreWindow show);

  std::array<QRadioButton*, 3> Option1{};
  QPushButton* Cmd_OK = nullptr;
  QPushButton* Command3 = nullptr;

 protected:
  void formLoad() override;

 private:
  void Cmd_OK_Click();
  void Command3_Click();

  std::array<RestoreWindow, 3> restoreWindows_;
};

}  // namespace qalvoro
