#pragma once

#include <array>

#include "host/forms/Form.h"

class QLabel;
class QPushButton;

namespace qalvoro {

// Asks what to do when a version-1 record already exists in version 2. The
// caller fills lblOld and lblNew, shows it modally and reads the tag: "1"
// overwrite, "2" skip, "3" overwrite all, "4" skip all, "5" stop. A button
// hides the dialog without unloading it; closing it from the title bar
// unloads it and leaves the tag empty, which answers as "5".
class FrmOverWrite : public Form {
  Q_OBJECT

 public:
  explicit FrmOverWrite(QWidget* parent = nullptr);

  // The answer of the last showing as a number, 1 to 5: the tag, or 5 (stop)
  // when the tag is empty because the window was closed.
  int answer() const;

  std::array<QLabel*, 2> Label1{};
  QLabel* lblOld = nullptr;
  QLabel* lblNew = nullptr;
  QPushButton* CmdYes = nullptr;
  QPushButton* CmdNo = nullptr;
  QPushButton* CmdYesAll = nullptr;
  QPushButton* CmdNoAll = nullptr;
  QPushButton* CmdCancel = nullptr;

 protected:
  void formLoad() override;

 private:
  QPushButton* answerButton(const QString& name, const QString& caption, int left,
                            const QString& answer);
};

// Fills the two descriptions, shows the prompt modally and returns its
// answer (1 to 5).
int AskOverwrite(const QString& oldRecord, const QString& newRecord);

}  // namespace qalvoro
