#pragma once

#include <array>

#include "host/forms/Form.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace qalvoro {

class Tarmin_Calander3;

// Asks for a date period. The tag is "OK" with the dates in txtDate1 (from)
// and txtDate2 (to), either of which may be empty; it is empty for cancel.
class FrmFilter : public Form {
  Q_OBJECT

 public:
  explicit FrmFilter(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  std::array<QLabel*, 2> Label2{};
  Tarmin_Calander3* txtDate1 = nullptr;
  Tarmin_Calander3* txtDate2 = nullptr;
  QPushButton* CmdOK = nullptr;
  QPushButton* CmdCancel = nullptr;

 protected:
  void formLoad() override;
};

}  // namespace qalvoro
