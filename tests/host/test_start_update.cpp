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
  void start(const QString& database = {}) {
    importData_.StartUpdate(appPath(), iniName(), database.isEmpty() ? databasePath() : database);
  }
  // Queues a start window that is looked at, then left with its exit button.
  void leaveStartWindow(std::function<void(FrmStart&)> look = {}) {
    user().queueWindow([look](QWidget& window) {
      auto& start = dynamic_cast<FrmStart&>(window);
      if (look) look(start);
      start.Command3->click();
    });
  }

  ImportData importData_;
};

TEST_F(StartUpdateTest, ShowsTheStartWindowAsTheSettingsSayAndClosesTheDatabaseAfterwards) {
  struct Case {
    QString language, decimal, caption, format;
    int optionLeft, flags;
  };
  const QString arabic = QStringLiteral("استيراد بيانات");
  // Option1(0) is designed at 360 on a 6000-twip window, 5400 wide.
  for (const Case& c :
       {Case{"", "", arabic, "0.00", 360, 0x180000}, Case{"A", "1", arabic, "0.000", 360, 0x180000},
        Case{"E", "abc", "Import data", "0.00", 6000 - 5760 - 100, 0},
        Case{"a", " 2x", arabic, "0.000", 360, 0}}) {
    SCOPED_TRACE(c.language.toStdString() + "/" + c.decimal.toStdString());
    if (!c.language.isEmpty()) {  // the first run reads no settings
      setSetting("Language", c.language);
      setSetting("Decimal", c.decimal);
    }
    bool mainOpenWhileShown = false;
    leaveStartWindow([&](FrmStart& start) {
      mainOpenWhileShown = globals().MainConnection->state() == 1;
      EXPECT_EQ(start.caption(), c.caption);
      EXPECT_EQ(start.Command3->text(), c.language == "E" ? "Exit" : QStringLiteral("خروج"));
      EXPECT_TRUE(start.Option1[0]->isChecked());
      EXPECT_EQ(rightToLeftOf(start), c.language != "E");
      EXPECT_EQ(twipsGeometry(*start.Option1[0]).left(), c.optionLeft);
      if (c.language == "a") {
        EXPECT_EQ(Translate(QStringLiteral("خروج")), "Exit");
      }
    });
    start();
    EXPECT_TRUE(mainOpenWhileShown);
    EXPECT_EQ(globals().MainConnection->state(), 0);
    EXPECT_EQ(globals().MsgBoxRtlFlags, c.flags);
    EXPECT_EQ(globals().DecimalFormat, c.format);
  }
  EXPECT_EQ(user().shownWindows(), QStringList(4, "FrmStart"));
  EXPECT_EQ(globals().AppPath, appPath());
  EXPECT_EQ(globals().vODBC, databasePath());
  EXPECT_EQ(applicationTitle(), "Qalvoro");
  EXPECT_TRUE(user().messages().empty());
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

TEST_F(StartUpdateTest, DatabasesThatCannotOpenAreReportedAndNoWindowShows) {
  start(appPath() + "missing.db");
  ASSERT_EQ(user().messages().size(), 1u);
  auto message = user().messages().front();
  EXPECT_TRUE(message.text.startsWith(QStringLiteral("حدث الخطأ التالي:")));
  EXPECT_TRUE(message.text.contains('\n'));
  EXPECT_TRUE(message.text.contains("missing.db")) << message.text.toStdString();
  EXPECT_EQ(message.style, 16 | 0x180000);
  EXPECT_EQ(message.title, "Qalvoro");

  user().clearMessages();
  setSetting("Language", "E");
  start("postgresql://sa:x@127.0.0.1:1/none");
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages().front().text.startsWith("The following error occurred:"));
  EXPECT_EQ(user().messages().front().style, 16);

  // The language database is opened first; its message is not translated.
  user().clearMessages();
  QFile::remove(appPath() + "LTR.DRV");
  start();
  ASSERT_EQ(user().messages().size(), 1u);
  message = user().messages().front();
  EXPECT_EQ(message.text, appPath() + "LTR.DRV\n" + QStringLiteral("خطأ أثناء القراءة من الملف"));
  EXPECT_EQ(message.style, 0);
  EXPECT_EQ(globals().MainConnection->state(), 0) << "version 2 is not touched";
  EXPECT_TRUE(user().shownWindows().isEmpty());
}

}  // namespace
}  // namespace qalvoro::test
