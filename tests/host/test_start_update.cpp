// The entry call: opening the databases, the start window and leaving it.

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "host/ImportData.h"
#include "host/dialogs/FrmStart.h"
#include "host/language/Language.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

class StartUpdateTest : public HostTest {
 protected:
  void start() { importData_.StartUpdate(appPath(), iniName(), databasePath()); }

  ImportData importData_;

  // Queues a start window that is looked at, then left with its exit button.
  void leaveStartWindow(std::function<void(FrmStart&)> look = {}) {
    user().queueWindow([look](QWidget& window) {
      auto& start = dynamic_cast<FrmStart&>(window);
      if (look) look(start);
      start.Command3->click();
    });
  }
};

TEST_F(StartUpdateTest, ShowsTheStartWindowAndClosesTheDatabaseAfterwards) {
  bool mainOpenWhileShown = false;
  leaveStartWindow([&](FrmStart& start) {
    mainOpenWhileShown = globals().MainConnection->state() == 1;
    EXPECT_EQ(start.caption(), QStringLiteral("استيراد بيانات"));
    EXPECT_TRUE(start.Option1[0]->isChecked());
    EXPECT_TRUE(rightToLeftOf(start));
  });
  start();
  EXPECT_EQ(user().shownWindows(), QStringList{"FrmStart"});
  EXPECT_TRUE(mainOpenWhileShown);
  EXPECT_EQ(globals().MainConnection->state(), 0);
  EXPECT_EQ(globals().MsgBoxRtlFlags, 0x180000);
  EXPECT_EQ(globals().DecimalFormat, "0.00");
  EXPECT_EQ(globals().AppPath, appPath());
  EXPECT_EQ(globals().vODBC, databasePath());
  EXPECT_EQ(applicationTitle(), "Qalvoro");
  EXPECT_TRUE(user().messages().empty());

  // A second call on the same object repeats the whole sequence.
  leaveStartWindow();
  leaveStartWindow();
  start();
  start();
  EXPECT_EQ(user().shownWindows().size(), 3);
  EXPECT_EQ(globals().MainConnection->state(), 0);
}

TEST_F(StartUpdateTest, DecimalSettingChoosesTheAmountFormat) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"0", "0.00"}, {"1", "0.000"}, {"3", "0.000"}, {"abc", "0.00"}, {" 2x", "0.000"}};
  for (const auto& [setting, format] : cases) {
    setSetting("Decimal", setting);
    leaveStartWindow();
    start();
    EXPECT_EQ(globals().DecimalFormat, format) << setting.toStdString();
  }
}

TEST_F(StartUpdateTest, EnglishMirrorsAndTranslatesTheStartWindow) {
  setSetting("Language", "E");
  leaveStartWindow([](FrmStart& start) {
    EXPECT_EQ(start.caption(), "Import data");
    EXPECT_EQ(start.Cmd_OK->text(), "OK");
    EXPECT_EQ(start.Command3->text(), "Exit");
    EXPECT_FALSE(rightToLeftOf(start));
    EXPECT_EQ(alignmentOf(*start.Option1[0]), kLeftJustify);
    // Designed at 360 on a 6000-twip window, 5400 wide.
    EXPECT_EQ(twipsGeometry(*start.Option1[0]).left(), 6000 - 5760 - 100);
  });
  start();
  EXPECT_EQ(globals().MsgBoxRtlFlags, 0);
}

TEST_F(StartUpdateTest, ALanguageOtherThanAOrELeavesTheWindowAsDesigned) {
  setSetting("Language", "a");
  leaveStartWindow([](FrmStart& start) {
    EXPECT_EQ(start.caption(), QStringLiteral("استيراد بيانات"));
    EXPECT_EQ(twipsGeometry(*start.Option1[0]).left(), 360);
    EXPECT_EQ(Translate(QStringLiteral("خروج")), "Exit") << "texts translate all the same";
  });
  start();
  EXPECT_EQ(globals().MsgBoxRtlFlags, 0);
  EXPECT_EQ(applicationTitle(), "Qalvoro");
}

TEST_F(StartUpdateTest, OkRunsTheChosenRestoreAndTheThirdOptionNothing) {
  user().queueWindow([](QWidget& window) {
    auto& start = dynamic_cast<FrmStart&>(window);
    int shown = 0;
    start.setRestoreWindow(1, [&] { ++shown; });
    start.Option1[2]->setChecked(true);
    start.Cmd_OK->click();
    EXPECT_TRUE(start.isVisible()) << "OK with the third option leaves the window up";
    EXPECT_EQ(shown, 0);
    start.Option1[1]->setChecked(true);
    QTest::keyClick(&start, Qt::Key_Return);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(start.isVisible()) << "the start window stays after a restore";
    QTest::keyClick(&start, Qt::Key_Escape);
    EXPECT_FALSE(start.isVisible());
  });
  start();
  EXPECT_EQ(user().pendingWindows(), 0);
}

TEST_F(StartUpdateTest, AMissingLanguageDatabaseIsReportedUntranslated) {
  QFile::remove(appPath() + "LTR.DRV");
  setSetting("Language", "E");
  start();
  ASSERT_EQ(user().messages().size(), 1u);
  const auto& message = user().messages().front();
  EXPECT_EQ(message.text, appPath() + "LTR.DRV\n" + QStringLiteral("خطأ أثناء القراءة من الملف"));
  EXPECT_EQ(message.style, 0);
  EXPECT_TRUE(user().shownWindows().isEmpty());
  EXPECT_EQ(globals().MainConnection->state(), 0) << "version 2 is not touched";
}

TEST_F(StartUpdateTest, AVersion2DatabaseThatCannotOpenIsReported) {
  importData_.StartUpdate(appPath(), iniName(), appPath() + "missing.db");
  ASSERT_EQ(user().messages().size(), 1u);
  const auto& message = user().messages().front();
  EXPECT_TRUE(message.text.startsWith(QStringLiteral("حدث الخطأ التالي:")));
  EXPECT_TRUE(message.text.contains('\n'));
  EXPECT_TRUE(message.text.contains("missing.db")) << message.text.toStdString();
  EXPECT_EQ(message.style, 16 | 0x180000);
  EXPECT_EQ(message.title, "Qalvoro");
  EXPECT_TRUE(user().shownWindows().isEmpty());
  EXPECT_EQ(globals().MainConnection->state(), 0);

  user().clearMessages();
  setSetting("Language", "E");
  importData_.StartUpdate(appPath(), iniName(), "postgresql://sa:x@127.0.0.1:1/none");
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages().front().text.startsWith("The following error occurred:"));
  EXPECT_EQ(user().messages().front().style, 16);
}

}  // namespace
}  // namespace qalvoro::test
