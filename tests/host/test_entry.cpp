// The component library seen from a host, StartUpdate with its databases and start window,
// and the version-2 databases the host program makes, on both engines.

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/Version2Database.h"
#include "host/com/ComClient.h"
#include "host/com/ComponentRegistry.h"
#include "host/db/DbError.h"
#include "host/dialogs/FrmStart.h"
#include "host/language/Language.h"
#include "tests/host/HostTest.h"
#include "tests/support/RowTexts.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

const QString kLibrary = QStringLiteral(QALVORO_BIN_DIR "/libDravolte_01.so");

using ComponentTest = HostTest;

TEST_F(ComponentTest, RegistersCreatesByProgIdAndRunsStartUpdate) {
  qputenv("QALVORO_COMPONENT_REGISTRY", (appPath() + "components.ini").toLocal8Bit());
  const auto forget = qScopeGuard([] { qunsetenv("QALVORO_COMPONENT_REGISTRY"); });
  EXPECT_THROW(com::createImportData(com::kProgId), com::ComError) << "not registered yet";

  const com::InprocServer server(kLibrary);
  ASSERT_EQ(server.registerServer(), com::S_OK);
  const com::ComponentRegistry registry;
  EXPECT_EQ(registry.clsidOf(com::kProgId), com::kClsidImportData);
  EXPECT_EQ(registry.libraryOf(com::kClsidImportData), QFileInfo(kLibrary).absoluteFilePath());

  EXPECT_EQ(server.canUnloadNow(), com::S_OK);
  {
    auto created = com::createImportData(com::kProgId);
    ASSERT_TRUE(created.object);
    EXPECT_EQ(server.canUnloadNow(), com::S_FALSE) << "an object is alive";

    com::ComPtr<com::IUnknown> unknown, other;
    EXPECT_EQ(created.object->QueryInterface(com::kIidUnknown, unknown.out()), com::S_OK);
    EXPECT_EQ(created.object->QueryInterface(com::kIidClassFactory, other.out()),
              com::E_NOINTERFACE);
  }
  EXPECT_EQ(server.canUnloadNow(), com::S_OK) << "every reference was released";

  EXPECT_THROW(server.classFactory("{00000000-0000-0000-0000-000000000000}"), com::ComError);

  // StartUpdate through the binary surface shows the library's message on
  // the desktop; answer it as a person would.
  auto created = com::createImportData(com::kProgId);
  QFile::remove(appPath() + "LTR.DRV");
  QString shown;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  answer.start(20);
  EXPECT_EQ(created.object->StartUpdate(appPath(), iniName(), databasePath()), com::S_OK);
  EXPECT_EQ(shown, appPath() + "LTR.DRV\n" + QStringLiteral("خطأ أثناء القراءة من الملف"));

  EXPECT_EQ(server.unregisterServer(), com::S_OK);
  EXPECT_TRUE(registry.clsidOf(com::kProgId).isEmpty());
}

// Creating one is run by the package test.
TEST_F(ComponentTest, HostProgramNeverCreatesADatabaseOverAFile) {
  const QFileInfo file(databasePath());
  const auto made = std::make_pair(file.lastModified(), file.size());
  EXPECT_NE(QProcess::execute(QStringLiteral(QALVORO_BIN_DIR "/qalvoro-host"),
                              {"--create-db", databasePath(), "--demo"}),
            0);
  EXPECT_EQ(std::make_pair(QFileInfo(databasePath()).lastModified(), file.size()), made);
}

class StartUpdateTest : public HostTest {
 protected:
  void start(const QString& database = {}) {
    importData_.StartUpdate(appPath(), iniName(), database.isEmpty() ? databasePath() : database);
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
    user().queueWindow([&](QWidget& window) {
      auto& start = dynamic_cast<FrmStart&>(window);
      mainOpenWhileShown = globals().MainConnection->state() == 1;
      EXPECT_EQ(start.caption(), c.caption);
      EXPECT_EQ(start.Command3->text(), c.language == "E" ? "Exit" : QStringLiteral("خروج"));
      EXPECT_TRUE(start.Option1[0]->isChecked());
      EXPECT_EQ(rightToLeftOf(start), c.language != "E");
      EXPECT_EQ(twipsGeometry(*start.Option1[0]).left(), c.optionLeft);
      if (c.language == "a") {
        EXPECT_EQ(Translate(QStringLiteral("خروج")), "Exit");
      }
      start.Command3->click();
    });
    start();
    EXPECT_TRUE(mainOpenWhileShown);
    EXPECT_EQ(globals().MainConnection->state(), 0);
    EXPECT_EQ(globals().MsgBoxRtlFlags, c.flags);
    EXPECT_EQ(globals().DecimalFormat, c.format);
  }
  EXPECT_EQ(user().shownWindows(), QStringList(4, "FrmStart"));
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
  const ShownMessage message = user().messages().front();
  EXPECT_TRUE(message.text.startsWith(QStringLiteral("حدث الخطأ التالي:")));
  EXPECT_TRUE(message.text.contains('\n') && message.text.contains("missing.db"))
      << message.text.toStdString();
  EXPECT_EQ(message.style, 16 | 0x180000);
  EXPECT_EQ(message.title, "Qalvoro");

  user().clearMessages();
  setSetting("Language", "E");
  start("postgresql://sa:x@127.0.0.1:1/none");
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages().front().text.startsWith("The following error occurred:"));
  EXPECT_EQ(user().messages().front().style, 16);
  EXPECT_TRUE(user().shownWindows().isEmpty());
}

using Version2DatabaseTest = ::testing::TestWithParam<Engine>;

// The demo rows the other tests read are checked by them.
TEST_P(Version2DatabaseTest, EmptyAndDemoDatabasesHoldTheirLocksAndConsistentRows) {
  for (const auto content :
       {TestDatabase::Content::Version2, TestDatabase::Content::Version2Demo}) {
    const bool demo = content == TestDatabase::Content::Version2Demo;
    SCOPED_TRACE(demo ? "demo" : "empty");
    const TestDatabase database(GetParam(), content);
    Connection connection;
    connection.open(database.connectionString(), "sa", DbPassword);
    const auto count = [&](const QString& sql) {
      return RowTexts("SELECT COUNT(*) FROM " + sql, {}, connection)[0].toInt();
    };
    QStringList names =
        RowTexts("SELECT TableName FROM LockTables WHERE NOT fLocked", {}, connection);
    names.sort();
    EXPECT_EQ(names.join(','),
              "BuyInvoice,CardAcc,Category,Customer,Gaid,Payment,RBuyInvoice,"
              "RSales,Receipt,SaleInvoice,Sales");
    EXPECT_EQ(count("Branch"), demo ? 2 : 0);
    EXPECT_EQ(count("CardAcc a WHERE a.Haves <> (SELECT COUNT(*) FROM CardAcc c WHERE "
                    "c.BranchID = a.BranchID AND c.ffather = a.AccNo)"),
              0)
        << "Haves counts the children of every account";
    EXPECT_EQ(count("Cashier k WHERE NOT EXISTS (SELECT 1 FROM CardAcc a WHERE a.ID = k.AccID)"), 0)
        << "every cash box has its account";

    // Never over a database that already has tables.
    EXPECT_THROW(createVersion2Database(database.connectionString(), false), DbError);
    EXPECT_EQ(count("Branch"), demo ? 2 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, Version2DatabaseTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
