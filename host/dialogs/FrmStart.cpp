#include "host/dialogs/FrmStart.h"

#include <QPushButton>
#include <QRadioButton>

#include "host/language/FormLayout.h"

namespace qalvoro {

FrmStart::FrmStart(QWidget* parent) : Form(QStringLiteral("FrmStart"), parent) {
  setCaption(QStringLiteral("استيراد بيانات"));
  setTwipsSize(6000, 3150);
  static const std::array<QString, 3> kOptions = {
      QStringLiteral("استيراد من Qalvoro للمخزون الإصدار 1.2"),
      QStringLiteral("استيراد من Qalvoro للمحاسبة الإصدار 1.0"),
      QStringLiteral("استيراد من الإصدار الحالي"),
  };
  for (int i = 0; i < 3; ++i) {
    Option1[i] = addControl<QRadioButton>(QStringLiteral("Option1"),
                                          {360, 300 + i * 480, 5400, 375}, nullptr, i);
    Option1[i]->setText(kOptions[i]);
  }
  Option1[0]->setChecked(true);
  Cmd_OK = addControl<QPushButton>(QStringLiteral("Cmd_OK"), {3960, 2160, 1560, 495});
  Cmd_OK->setText(QStringLiteral("موافق"));
  Command3 = addControl<QPushButton>(QStringLiteral("Command3"), {2160, 2160, 1560, 495});
  Command3->setText(QStringLiteral("خروج"));
  setDefaultButton(Cmd_OK);
  setCancelButton(Command3);
  connect(Cmd_OK, &QPushButton::clicked, this, &FrmStart::Cmd_OK_Click);
  connect(Command3, &QPushButton::clicked, this, &FrmStart::Command3_Click);
}

void FrmStart::setRestoreWindow(int option, RestoreWindow show) {
  restoreWindows_.at(option) = std::move(show);
}

void FrmStart::formLoad() {
  CenterForm(*this);
  ApplyLanguage(*this);
}

void FrmStart::Cmd_OK_Click() {
  for (int i = 0; i < 3; ++i) {
    if (!Option1[i]->isChecked()) continue;
    if (restoreWindows_[i]) restoreWindows_[i]();
    return;
  }
}

void FrmStart::Command3_Click() { unload(); }

}  // namespace qalvoro
