#include "posting/PostingFrame.h"

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
  setTwipsSize(traits.twips.width(), traits.twips.height());
  buildHeader();
  buildButtons();
}

QLabel* PostingFrame::addLabel(const QString& caption, const QRect& twips, QWidget* container) {
  auto* label = addControl<QLabel>(QStringLiteral("Label1"), twips, container);
  label->setText(caption);
  return label;
}

void PostingFrame::buildHeader() {
  FrameHeader = addControl<QGroupBox>(traits_.headerName, traits_.headerTwips);
  FrameHeader->setTitle(traits_.headerTitle);
  // Captions run from 3700 twips to the frame's right margin.
  const int captionWidth = traits_.headerTwips.width() - 3850;
  addLabel(traits_.numberCaption, {3700, 300, captionWidth, 300}, FrameHeader);
  txtfNo = addControl<QLineEdit>(QStringLiteral("txtfNo"), {1700, 300, 1900, 300}, FrameHeader);
  addLabel(QStringLiteral("التاريخ :"), {3700, 700, captionWidth, 300}, FrameHeader);
  txtDate1 =
      addControl<Tarmin_Calander3>(QStringLiteral("txtDate1"), {1700, 680, 1900, 330}, FrameHeader);
  addDateControl(txtDate1);
  addLabel(QStringLiteral("الوقت :"), {3700, 1100, captionWidth, 300}, FrameHeader);
  txtTime1 = addControl<Tarmin_Calander3>(QStringLiteral("txtTime1"), {2500, 1080, 1100, 330},
                                          FrameHeader);
  txtTime1->setKind(Tarmin_Calander3::Kind::Time);
  addEntryFrame(FrameHeader);
}

void PostingFrame::buildButtons() {
  const auto button = [this](const char* name, const char* caption, int left) {
    auto* created =
        addControl<QPushButton>(QString::fromLatin1(name), {left, traits_.buttonsTop, 1500, 450});
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
    for (Tarmin_Calander3* control : dateControls_) {
      control->setAutoChange(autoChange);
      control->setCalendarType(calendar);
    }
    loadLists();
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
  if (QWidget* entry = firstEntry()) entry->setFocus();
}

void PostingFrame::Cmd_Save_Click() { saveDocument(); }

bool PostingFrame::storeDocument(const std::function<qint64()>& save) {
  failure_.reset();
  try {
    savedId_ = save();
  } catch (const DbError& error) {
    failure_ = error;
    if (isVisible()) ShowError(error);
    return false;
  }
  return true;
}

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
