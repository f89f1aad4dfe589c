// The overwrite prompt, the date filter and the date and time control.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <functional>

#include "host/db/Recordset.h"
#include "host/dialogs/FrmFilter.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/dialogs/FrmStart.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/platform/DesktopPlatform.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

class DialogTest : public HostTest {};

TEST_F(DialogTest, OverwritePromptAnswersThroughItsTagAndStaysLoaded) {
  auto& prompt = windows().get<FrmOverWrite>();
  // How each showing ends, and the answer it leaves.
  const std::vector<std::pair<std::function<void()>, QString>> showings = {
      {[&] {
         EXPECT_EQ(prompt.focusWidget(), prompt.CmdNo) << "the default button has the focus";
         QTest::keyClick(prompt.CmdNo, Qt::Key_Return);
       },
       "2"},
      {[&] { prompt.CmdYes->click(); }, "1"},
      {[&] { prompt.CmdYesAll->click(); }, "3"},
      {[&] { prompt.CmdNoAll->click(); }, "4"},
      {[&] { prompt.CmdCancel->click(); }, "5"},
      {[&] {
         prompt.lblOld->setText(QStringLiteral("حساب 1"));
         prompt.CmdYes->setFocus();
         QTest::keyClick(prompt.CmdYes, Qt::Key_Return);
       },
       "1"},
      {[&] {
         EXPECT_EQ(tagOf(prompt), "1") << "the next showing starts from the state left behind";
         EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("حساب 1"));
         QTest::keyClick(&prompt, Qt::Key_Escape);
       },
       "5"}};
  for (const auto& [script, answer] : showings) {
    user().queueWindow([&script = script](QWidget&) { script(); });
    prompt.showModal();
    EXPECT_EQ(tagOf(prompt), answer);
    EXPECT_FALSE(prompt.isVisible());
  }
  EXPECT_TRUE(prompt.isLoaded());

  // Closing unloads it: the caller reads Cancel, the next use a fresh window.
  user().queueWindow([](QWidget& window) { window.close(); });
  prompt.showModal();
  EXPECT_EQ(tagOf(prompt), "");
  EXPECT_EQ(prompt.answer(), 5) << "closing answers Cancel";
  EXPECT_TRUE(prompt.isUnloaded());
  EXPECT_EQ(windows().get<FrmOverWrite>().lblOld->text(), "") << "a window as designed";
}

TEST_F(DialogTest, StandardButtonsAreInTheLanguageOfTheWindows) {
  const auto buttons = [](int style) {
    QStringList texts;
    const auto box = makeMessageBox("?", style, QString());
    for (const QAbstractButton* button : box->buttons()) texts << button->text().remove('&');
    texts.sort();
    return texts;
  };
  const int styles[] = {mb::kOkOnly, mb::kYesNoCancel, mb::kAbortRetryIgnore, mb::kRetryCancel};
  ASSERT_TRUE(UseArabicStandardTexts(true)) << "Qt's Arabic translations are installed";
  for (const int style : styles) {
    for (const QString& text : buttons(style | mb::kRtlFlags)) {
      EXPECT_FALSE(text.contains(QRegularExpression("[A-Za-z]"))) << text.toStdString();
    }
  }
  UseArabicStandardTexts(false);
  EXPECT_EQ(buttons(mb::kYesNoCancel), QStringList({"Cancel", "No", "Yes"}));
  EXPECT_EQ(buttons(mb::kAbortRetryIgnore), QStringList({"Abort", "Ignore", "Retry"}));
}

TEST_F(DialogTest, FilterAnswersOkWithItsDatesOrNothing) {
  auto& filter = windows().get<FrmFilter>();
  user().queueWindow([&](QWidget&) {
    filter.txtDate1->setText("2003/01/01");
    filter.txtDate2->setText("");
    filter.CmdOK->click();
  });
  filter.showModal();
  EXPECT_EQ(tagOf(filter), "OK");
  EXPECT_EQ(filter.txtDate1->text(), "2003/01/01");
  EXPECT_EQ(filter.txtDate2->text(), "") << "an empty end date stays empty";

  user().queueWindow([&](QWidget&) {
    filter.CmdCancel->setFocus();
    QTest::keyClick(filter.CmdCancel, Qt::Key_Enter);
  });
  filter.showModal();
  EXPECT_EQ(tagOf(filter), "");
  EXPECT_EQ(filter.txtDate1->text(), "2003/01/01") << "hidden, not unloaded";
  user().queueWindow([&](QWidget&) {
    filter.txtDate1->setFocus();
    QTest::keyClick(filter.txtDate1, Qt::Key_Return);
  });
  filter.showModal();
  EXPECT_EQ(tagOf(filter), "OK") << "on a control that is no command button, Enter presses OK";

  user().queueWindow([](QWidget& window) { window.close(); });
  filter.showModal();
  EXPECT_EQ(tagOf(filter), "") << "closing the filter is Cancel";
  const FrmFilter designed;
  EXPECT_EQ(windows().get<FrmFilter>().txtDate1->text(), designed.txtDate1->text());
}

TEST_F(DialogTest, EnglishDialogsAreMirroredAndTranslatedOnceWhateverTheLoads) {
  openLanguage();
  setSetting("Language", "E");
  user().queueWindow([](QWidget& window) { window.close(); });
  windows().get<FrmOverWrite>().showModal();
  auto& prompt = windows().get<FrmOverWrite>();
  prompt.load();
  EXPECT_EQ(prompt.caption(), "Replace");
  EXPECT_EQ(prompt.CmdYes->text(), "Yes");
  EXPECT_EQ(prompt.CmdYesAll->text(), "Yes to all");
  EXPECT_EQ(twipsGeometry(*prompt.CmdYes).left(), 7200 - (5760 + 1260) - 100);

  FrmStart start;
  start.load();
  start.close();
  start.load();
  EXPECT_EQ(twipsGeometry(*start.Option1[0]).left(), 6000 - 5760 - 100);
  EXPECT_EQ(start.Command3->text(), "Exit");

  auto& filter = windows().get<FrmFilter>();
  filter.load();
  EXPECT_EQ(filter.caption(), "Data filter");
  EXPECT_EQ(filter.Frame1->title(), "Period");
  // Inside the frame no margin is kept.
  EXPECT_EQ(twipsGeometry(*filter.txtDate1).left(), 5600 - (1400 + 2200));
  filter.txtDate1->setText("2003/01/02");
  EXPECT_EQ(filter.txtDate1->findChild<QLineEdit*>()->text(), "2003/01/02")
      << "a mirrored date shows its year first from the left";

  Recordset englishAsArabic;
  englishAsArabic.open(QStringLiteral("SELECT a.Ara FROM Lang a JOIN Lang b "
                                      "ON b.Eng = a.Ara AND b.Ara <> a.Ara"),
                       *globals().LangConnection, LockType::ReadOnly);
  EXPECT_EQ(englishAsArabic.recordCount(), 0) << "no English caption was taken for Arabic";
}

TEST_F(DialogTest, DateAndTimeControlTexts) {
  Tarmin_Calander3 date;
  EXPECT_TRUE(date.setText("2003/12/31"));
  EXPECT_EQ(date.text(), "2003/12/31");
  EXPECT_FALSE(date.setText("31/12/2003"));
  EXPECT_EQ(date.text(), "") << "a text that is no date leaves the control empty";
  EXPECT_TRUE(date.setText(""));
  EXPECT_TRUE(date.isEmpty());

  Tarmin_Calander3 time;
  time.setKind(Tarmin_Calander3::Kind::Time);
  EXPECT_TRUE(time.setText("00:00"));
  EXPECT_EQ(time.text(), "00:00") << "midnight is a time, not an empty control";
  EXPECT_TRUE(time.setText("23:59"));
  EXPECT_EQ(time.text(), "23:59");

  // Hijri with automatic change: the same day in the other calendar.
  date.setText("2003/03/04");
  date.setAutoChange(true);
  date.setCalendarType(1);
  EXPECT_EQ(date.text(), "1423/12/30") << "the tabular Islamic calendar";
  date.setCalendarType(0);
  EXPECT_EQ(date.text(), "2003/03/04");
  // Without it the text stays and is read in the new calendar.
  date.setAutoChange(false);
  date.setCalendarType(1);
  EXPECT_EQ(date.text(), "2003/03/04");
  EXPECT_EQ(date.date(), QDate(2003, 3, 4, QCalendar(QCalendar::System::IslamicCivil)));
}

}  // namespace
}  // namespace qalvoro::test
