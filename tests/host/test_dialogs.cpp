// The overwrite prompt, the date filter and the date and time control.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "host/db/Recordset.h"
#include "host/dialogs/FrmFilter.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/dialogs/FrmStart.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

class DialogTest : public HostTest {};

TEST_F(DialogTest, OverwritePromptAnswersThroughItsTagAndStaysLoaded) {
  auto& prompt = windows().get<FrmOverWrite>();
  user().queueWindow([&](QWidget&) {
    EXPECT_EQ(prompt.focusWidget(), prompt.CmdNo) << "the default button has the focus at first";
    QTest::keyClick(prompt.CmdNo, Qt::Key_Return);
  });
  prompt.showModal();
  EXPECT_EQ(tagOf(prompt), "2") << "Enter answers No";

  const std::vector<std::pair<QPushButton*, QString>> buttons = {{prompt.CmdYes, "1"},
                                                                 {prompt.CmdNo, "2"},
                                                                 {prompt.CmdYesAll, "3"},
                                                                 {prompt.CmdNoAll, "4"},
                                                                 {prompt.CmdCancel, "5"}};
  for (const auto& [button, answer] : buttons) {
    user().queueWindow([button = button](QWidget&) { button->click(); });
    prompt.showModal();
    EXPECT_EQ(tagOf(prompt), answer);
    EXPECT_FALSE(prompt.isVisible());
  }

  prompt.lblOld->setText(QStringLiteral("حساب 1"));
  user().queueWindow([&](QWidget&) {
    prompt.CmdYes->setFocus();
    QTest::keyClick(prompt.CmdYes, Qt::Key_Return);
  });
  prompt.showModal();
  EXPECT_EQ(prompt.answer(), 1) << "Enter on a focused Yes answers Yes";
  EXPECT_TRUE(prompt.isLoaded());

  // The next showing starts from the state left behind.
  QString seenTag;
  QString seenOld;
  user().queueWindow([&](QWidget&) {
    seenTag = tagOf(prompt);
    seenOld = prompt.lblOld->text();
    QTest::keyClick(&prompt, Qt::Key_Escape);
  });
  prompt.showModal();
  EXPECT_EQ(seenTag, "1");
  EXPECT_EQ(seenOld, QStringLiteral("حساب 1"));
  EXPECT_EQ(tagOf(prompt), "5") << "Esc answers Cancel";

  // Closing unloads it: the caller reads Cancel, the next use a fresh window.
  user().queueWindow([](QWidget& window) { window.close(); });
  prompt.showModal();
  EXPECT_EQ(tagOf(prompt), "");
  EXPECT_EQ(prompt.answer(), 5) << "closing answers Cancel";
  EXPECT_TRUE(prompt.isUnloaded());
  auto& next = windows().get<FrmOverWrite>();
  EXPECT_EQ(next.lblOld->text(), "") << "the next use gets a window as designed";
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
