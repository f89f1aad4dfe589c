#include "host/dialogs/FrmOverWrite.h"

#include <QLabel>
#include <QPushButton>

#include "host/forms/Windows.h"
#include "host/language/FormLayout.h"

namespace qalvoro {
namespace {

QLabel* describe(QLabel& label) {
  label.setFrameShape(QFrame::Panel);
  label.setFrameShadow(QFrame::Sunken);
  label.setWordWrap(true);
  return &label;
}

}  // namespace

FrmOverWrite::FrmOverWrite(QWidget* parent) : Form(QStringLiteral("FrmOverWrite"), parent) {
  setCaption(QStringLiteral("استبدال"));
  setTwipsSize(7200, 3300);
  Label1[0] = addControl<QLabel>(QStringLiteral("Label1"), {4800, 150, 2200, 300}, nullptr, 0);
  Label1[0]->setText(QStringLiteral("إستبدال السجل :"));
  lblOld = describe(*addControl<QLabel>(QStringLiteral("lblOld"), {200, 480, 6800, 700}));
  Label1[1] = addControl<QLabel>(QStringLiteral("Label1"), {4800, 1260, 2200, 300}, nullptr, 1);
  Label1[1]->setText(QStringLiteral("بالسجل الجديد :"));
  lblNew = describe(*addControl<QLabel>(QStringLiteral("lblNew"), {200, 1590, 6800, 700}));
  CmdYes = answerButton(QStringLiteral("CmdYes"), QStringLiteral("نعم"), 5760, QStringLiteral("1"));
  CmdNo = answerButton(QStringLiteral("CmdNo"), QStringLiteral("لا"), 4380, QStringLiteral("2"));
  CmdYesAll = answerButton(QStringLiteral("CmdYesAll"), QStringLiteral("نعم للكل"), 3000,
                           QStringLiteral("3"));
  CmdNoAll = answerButton(QStringLiteral("CmdNoAll"), QStringLiteral("لا للكل"), 1620,
                          QStringLiteral("4"));
  CmdCancel = answerButton(QStringLiteral("CmdCancel"), QStringLiteral("إلغاء الأمر"), 240,
                           QStringLiteral("5"));
  setDefaultButton(CmdNo);
  setCancelButton(CmdCancel);
}

QPushButton* FrmOverWrite::answerButton(const QString& name, const QString& caption, int left,
                                        const QString& answer) {
  auto* button = addControl<QPushButton>(name, {left, 2550, 1260, 450});
  button->setText(caption);
  connect(button, &QPushButton::clicked, this, [this, answer] {
    setTag(*this, answer);
    hide();
  });
  return button;
}

int FrmOverWrite::answer() const {
  const QString tag = tagOf(*this);
  return tag.isEmpty() ? 5 : tag.toInt();
}

void FrmOverWrite::formLoad() {
  SetFontForm(*this);
  ApplyLanguage(*this);
}

int AskOverwrite(const QString& oldRecord, const QString& newRecord) {
  auto& prompt = windows().get<FrmOverWrite>();
  prompt.lblOld->setText(oldRecord);
  prompt.lblNew->setText(newRecord);
  prompt.showModal();
  return prompt.answer();
}

}  // namespace qalvoro
