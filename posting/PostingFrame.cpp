#include "posting/PostingFrame.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/Globals.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/helpers/DbHelpers.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

const QString kUndo = QStringLiteral("تراجع Esc");
const QString kExit = QStringLiteral("خروج  Esc");
const QString kUndoQuestion = QStringLiteral("هل تريد التراجع حقاً ؟");

bool truthOf(const QString& text) {
  const QString value = text.trimmed().toLower();
  return value == QLatin1String("true") || (!value.isEmpty() && Val(value) != 0);
}

}  // namespace

PostingFrame::PostingFrame(const FrameTraits& traits, QWidget* parent)
    : Form(traits.windowName, parent), traits_(traits) {
  setCaption(traits.caption);
  setTwipsSize(11400, 7350);
  buildHeader();
  buildButtons();
}

QLabel* PostingFrame::addLabel(const QString& caption, const QRect& twips, QWidget* container) {
  auto* label = addControl<QLabel>(QStringLiteral("Label1"), twips, container);
  label->setText(caption);
  return label;
}

void PostingFrame::buildHeader() {
  FrameHeader = addControl<QGroupBox>(QStringLiteral("FrameHeader"), {6000, 100, 5200, 1900});
  FrameHeader->setTitle(QStringLiteral("المستند"));
  addLabel(QStringLiteral("رقم الفاتورة:"), {3700, 300, 1350, 300}, FrameHeader);
  txtfNo = addControl<QLineEdit>(QStringLiteral("txtfNo"), {1700, 300, 1900, 300}, FrameHeader);
  addLabel(QStringLiteral("التاريخ :"), {3700, 700, 1350, 300}, FrameHeader);
  txtDate1 =
      addControl<Tarmin_Calander3>(QStringLiteral("txtDate1"), {1700, 680, 1900, 330}, FrameHeader);
  addLabel(QStringLiteral("الوقت :"), {3700, 1100, 1350, 300}, FrameHeader);
  txtTime1 = addControl<Tarmin_Calander3>(QStringLiteral("txtTime1"), {2500, 1080, 1100, 330},
                                          FrameHeader);
  txtTime1->setKind(Tarmin_Calander3::Kind::Time);
  addLabel(QStringLiteral("طريقة الدفع :"), {3700, 1500, 1350, 300}, FrameHeader);
  CboPayment =
      addControl<QComboBox>(QStringLiteral("CboPayment"), {1700, 1480, 1900, 330}, FrameHeader);

  FrameParty = addControl<QGroupBox>(QStringLiteral("FrameParty"), {200, 100, 5700, 1900});
  FrameParty->setTitle(traits_.partyCaption);
  addLabel(QStringLiteral("الرقم :"), {4300, 300, 1250, 300}, FrameParty);
  txtPartyNo = addControl<QLineEdit>(traits_.partyNoName, {2800, 300, 1400, 300}, FrameParty);
  addLabel(QStringLiteral("الاسم :"), {4300, 700, 1250, 300}, FrameParty);
  txtPartyName = addControl<QLineEdit>(traits_.partyNameName, {150, 700, 4050, 300}, FrameParty);
  addLabel(QStringLiteral("ملاحظات :"), {4300, 1100, 1250, 300}, FrameParty);
  txtNote = addControl<QLineEdit>(QStringLiteral("txtNote"), {150, 1100, 4050, 300}, FrameParty);
  addEntryFrame(FrameHeader);
  addEntryFrame(FrameParty);
}

void PostingFrame::buildButtons() {
  const auto button = [this](const char* name, const char* caption, int left) {
    auto* created = addControl<QPushButton>(QString::fromLatin1(name), {left, 6700, 1500, 450});
    created->setText(QString::fromUtf8(caption));
    return created;
  };
  Cmd_Add = button("Cmd_Add", "جديد", 3600);
  Cmd_Save = button("Cmd_Save", "حفظ", 1950);
  Cmd_Exit = button("Cmd_Exit", "خروج  Esc", 300);
  if (traits_.escapePressesExit) setCancelButton(Cmd_Exit);
  const auto on = [this](QPushButton* button, void (PostingFrame::*handler)()) {
    connect(button, &QPushButton::clicked, this,
            [this, handler] { ReportErrors([this, handler] { (this->*handler)(); }); });
  };
  on(Cmd_Add, &PostingFrame::Cmd_Add_Click);
  on(Cmd_Save, &PostingFrame::Cmd_Save_Click);
  on(Cmd_Exit, &PostingFrame::Cmd_Exit_Click);
}

void PostingFrame::formLoad() {
  SetFontForm(*this);
  ApplyLanguage(*this);
  ReportErrors([this] {
    const int calendar =
        static_cast<int>(Val(LookupValue(QStringLiteral("SysInfo"), QStringLiteral("CalndrType"))));
    const bool autoChange =
        truthOf(LookupValue(QStringLiteral("SysInfo"), QStringLiteral("CalndrAutoChange")));
    globals().CalendarType = calendar;
    txtDate1->setAutoChange(autoChange);
    txtDate1->setCalendarType(calendar);
    CboPayment->clear();
    CboPayment->addItem(Translate(QStringLiteral("نقدي")));
    CboPayment->addItem(Translate(QStringLiteral("آجل")));
    CboPayment->setCurrentIndex(0);
  });
  SetButtonState(0);
}

void PostingFrame::SetButtonState(int state) {
  const bool editing = state == 1;
  Cmd_Exit->setText(Translate(editing ? kUndo : kExit));
  Cmd_Add->setEnabled(!editing);
  Cmd_Save->setEnabled(editing);
  if (state == 0) return;
  for (const auto& frame : entryFrames_) {
    if (frame) frame->setEnabled(editing);
  }
}

void PostingFrame::Cmd_Add_Click() {
  txtfNo->clear();
  txtDate1->setText(QString());
  txtPartyName->clear();
  txtPartyNo->setText(traits_.partyNumberZero ? QStringLiteral("0") : QString());
  partyId_ = -1;
  clearDocument();
  const QDateTime now = platform().now();
  txtDate1->setText(
      now.date().toString(QStringLiteral("yyyy/MM/dd"),
                          QCalendar(txtDate1->calendarType() == 1 ? QCalendar::System::IslamicCivil
                                                                  : QCalendar::System::Gregorian)));
  txtTime1->setText(now.time().toString(QStringLiteral("HH:mm")));
  SetButtonState(1);
  mode_ = QStringLiteral("Add");
  txtfNo->clear();
  txtPartyNo->setFocus();
}

void PostingFrame::Cmd_Save_Click() { saveDocument(); }

void PostingFrame::Cmd_Exit_Click() {
  if (!traits_.exitAsksUndo) {
    setTag(*this, QString());
    hide();
    return;
  }
  if (Cmd_Exit->text() == Translate(kUndo)) {
    const int answer = MsgBox(kUndoQuestion, mb::kYesNo | mb::kQuestion | mb::kDefaultButton2);
    if (answer == mb::kNo) return;
    SetButtonState(2);
    mode_.clear();
    return;
  }
  unload();
}

void PostingFrame::keyPressEvent(QKeyEvent* event) {
  const auto press = [event](QPushButton* button) {
    if (!button->isEnabled() || button->isHidden()) return false;
    button->click();
    event->accept();
    return true;
  };
  if (traits_.functionKeys && event->key() == Qt::Key_F2 && press(Cmd_Add)) return;
  if (traits_.functionKeys && event->key() == Qt::Key_F5 && press(Cmd_Save)) return;
  Form::keyPressEvent(event);
}

}  // namespace qalvoro
