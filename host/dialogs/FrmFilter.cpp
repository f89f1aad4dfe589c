#include "host/dialogs/FrmFilter.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "host/language/FormLayout.h"
#include "host/forms/Tarmin_Calander3.h"

namespace qalvoro {

FrmFilter::FrmFilter(QWidget* parent) : Form(QStringLiteral("FrmFilter"), parent) {
  setCaption(QStringLiteral("تصفية البيانات"));
  setTwipsSize(6000, 3600);
  Label1 = addControl<QLabel>(QStringLiteral("Label1"), {200, 150, 5600, 600});
  Label1->setText(
      QStringLiteral("تصفية الفواتير والسندات التي تواريخها خارج نطاق الفترة المحددة ."));
  Label1->setWordWrap(true);
  Frame1 = addControl<QGroupBox>(QStringLiteral("Frame1"), {200, 850, 5600, 1650});
  Frame1->setTitle(QStringLiteral("الفترة"));
  Label2[0] = addControl<QLabel>(QStringLiteral("Label2"), {3800, 400, 1600, 375}, Frame1, 0);
  Label2[0]->setText(QStringLiteral("من تاريخ :"));
  txtDate1 =
      addControl<Tarmin_Calander3>(QStringLiteral("txtDate1"), {1400, 400, 2200, 375}, Frame1);
  Label2[1] = addControl<QLabel>(QStringLiteral("Label2"), {3800, 1000, 1600, 375}, Frame1, 1);
  Label2[1]->setText(QStringLiteral("إلى تاريخ :"));
  txtDate2 =
      addControl<Tarmin_Calander3>(QStringLiteral("txtDate2"), {1400, 1000, 2200, 375}, Frame1);
  CmdOK = addControl<QPushButton>(QStringLiteral("CmdOK"), {3400, 2800, 1400, 450});
  CmdOK->setText(QStringLiteral("موافق"));
  CmdCancel = addControl<QPushButton>(QStringLiteral("CmdCancel"), {1200, 2800, 1400, 450});
  CmdCancel->setText(QStringLiteral("إلغاء الأمر"));
  setDefaultButton(CmdOK);
  setCancelButton(CmdCancel);
  connect(CmdOK, &QPushButton::clicked, this, [this] {
    setTag(*this, QStringLiteral("OK"));
    hide();
  });
  connect(CmdCancel, &QPushButton::clicked, this, [this] {
    setTag(*this, QString());
    hide();
  });
}

void FrmFilter::formLoad() {
  SetFontForm(*this);
  ApplyLanguage(*this);
}

}  // namespace qalvoro
