// Opening and closing version-1 files as the restore windows do.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "host/db/DbError.h"
#include "host/dialogs/WinSeek.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "tests/host/HostTest.h"
#include "tests/support/RowTexts.h"
#include "tools/mdbwriter/JetDatabaseWriter.h"
#include "tools/mdbwriter/V1Generator.h"
#include "tools/mdbwriter/V1Schema.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro::test {
namespace {

namespace gen = mdbwriter::v1;

// The controls a restore window hands to its version-1 source.
struct SourceWindow {
  QComboBox CboOldBranch;
  QPushButton CmdOpenOldDB, CmdImportGaid, CmdFilter;
  FileListBox File1;
  QLineEdit txtOldDBFile;
  int version2Closes = 0;
  QList<int> branchChanges;

  SourceWindow() {
    QObject::connect(&CboOldBranch, &QComboBox::currentIndexChanged,
                     [this](int index) { branchChanges << index; });
    CmdImportGaid.setEnabled(false);
    CmdFilter.setEnabled(false);
  }
  Version1Source::Controls controls() {
    return {
        &CboOldBranch, &CmdOpenOldDB, &File1, &CmdImportGaid, &txtOldDBFile, &CmdFilter, [this] {
          ++version2Closes;
        }};
  }
  void choose(const QString& file) {
    File1.refresh();
    const auto found = File1.findItems(file, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << file.toStdString();
    File1.setCurrentItem(found.front());
  }
};

class Version1SourceTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    openLanguage();
    globals().MsgBoxRtlFlags = 0x180000;
    qputenv("QALVORO_WORKING_COPY", workingCopy().toLocal8Bit());
    gen::V1Options options;
    options.sizes = {.accounts = 12, .entries = 5};
    gen::writeAccountsFolder(accounts_, options);
  }
  void TearDown() override {
    qunsetenv("QALVORO_WORKING_COPY");
    HostTest::TearDown();
  }

  QString workingCopy() const { return files_.filePath("work/tmp_44d2.tmp"); }
  static int cardRows(Version1Source& source) {
    return RowTexts("SELECT COUNT(*) FROM Card", {}, source.database())[0].toInt();
  }
  // The one message shown since the last call, as text and style.
  std::pair<QString, int> message() {
    EXPECT_EQ(user().messages().size(), 1u) << user().messageTexts().join('|').toStdString();
    const auto shown = user().messages().empty() ? ShownMessage{} : user().messages().front();
    user().clearMessages();
    return {shown.text, shown.style};
  }

  QTemporaryDir files_;
  QString accounts_ = files_.filePath("acc");
};

TEST_F(Version1SourceTest, AccountsFileOpensIntoTheWorkingCopyWithItsBranchesAndCloses) {
  SourceWindow window;
  Version1Source source(Version1Source::Product::Accounts, window.controls());
  window.File1.setPath(accounts_);

  source.CmdOpenOldDB_Click();
  EXPECT_EQ(message(), std::make_pair(QStringLiteral("يجب تحديد ملف قاعدة بيانات"), 0));
  for (const char* system : {"General.MDB", "SYSTEM1.MDB"}) {
    window.choose(system);
    source.CmdOpenOldDB_Click();
    EXPECT_EQ(message(), std::make_pair(QStringLiteral("لايمكن فتح هذا الملف"), 16 | 0x180000));
  }
  EXPECT_FALSE(source.isOpen());
  EXPECT_TRUE(IsSystemFileName("general.mdb") && IsSystemFileName("Acount1.Mdb"));

  // A copy left from an earlier run is replaced; the chosen file is never written.
  QDir().mkpath(QFileInfo(workingCopy()).path());
  QFile leftover(workingCopy());
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly) && leftover.write("left over") > 0);
  leftover.close();
  const QString chosen = QDir(accounts_).filePath("ACC2003.MDB");
  const auto stamp = std::make_pair(QFileInfo(chosen).lastModified(), QFileInfo(chosen).size());
  window.choose("ACC2003.MDB");
  source.CmdOpenOldDB_Click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_TRUE(source.isOpen() && window.CmdImportGaid.isEnabled() && !window.File1.isEnabled());
  EXPECT_EQ(window.CboOldBranch.count(), 3) << "branches of General.MDB";
  EXPECT_EQ(window.branchChanges, QList<int>{0});
  EXPECT_EQ(window.CboOldBranch.itemData(0).toInt(), 1);
  EXPECT_GT(cardRows(source), 0);
  EXPECT_EQ(platform().mousePointer(), MousePointer::Default);
  EXPECT_EQ(std::make_pair(QFileInfo(chosen).lastModified(), QFileInfo(chosen).size()), stamp);

  source.CmdOpenOldDB_Click();  // closes: captions are seen in the window tests
  EXPECT_EQ(window.branchChanges, (QList<int>{0, -1}));
  EXPECT_EQ(window.version2Closes, 1);
  EXPECT_TRUE(window.File1.isEnabled());
  EXPECT_TRUE(QFile::exists(workingCopy())) << "kept until the next open";
  EXPECT_THROW(source.database(), DbError);

  // Without General.MDB the branches are Card's numbers (every accounts window test reads them);
  // an accounts file whose Card is empty opens, but without a branch to choose.
  QFile::remove(QDir(accounts_).filePath("General.MDB"));
  {
    mdbwriter::JetDatabaseWriter empty(QDir(accounts_).filePath("Acc2010.mdb"));
    empty.addTable(gen::cardTable().name, gen::cardTable().columns);
    empty.addTable(gen::gaidTable().name, gen::gaidTable().columns);
    empty.close();
  }
  window.choose("Acc2010.mdb");
  window.branchChanges.clear();
  source.CmdOpenOldDB_Click();
  EXPECT_TRUE(source.isOpen());
  EXPECT_EQ(window.CboOldBranch.currentIndex(), -1);
  EXPECT_TRUE(window.branchChanges.isEmpty());
}

TEST_F(Version1SourceTest, ADamagedFileOffersAbortRetryAndIgnore) {
  QFile bad(QDir(accounts_).filePath("BAD.MDB"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write(QByteArray(4096 * 3, '\x5a')) > 0);
  bad.close();
  SourceWindow window;
  Version1Source source(Version1Source::Product::Accounts, window.controls());
  window.File1.setPath(accounts_);
  window.choose("BAD.MDB");
  // Retry converts again; Ignore converts again leniently, which fails too
  // for a file of which nothing can be read. No half-made working copy.
  for (const int answer : {mb::kRetry, mb::kIgnore}) {
    user().clearMessages();
    user().queueAnswer(answer);
    user().queueAnswer(mb::kAbort);
    source.CmdOpenOldDB_Click();
    ASSERT_EQ(user().messages().size(), 2u);
    for (const auto& message : user().messages()) {
      EXPECT_TRUE(message.text.startsWith("Err:3343\n")) << message.text.toStdString();
      EXPECT_EQ(message.style, 2 | 32) << "Abort, Retry, Ignore, no direction flags";
    }
    EXPECT_FALSE(source.isOpen() || QFile::exists(workingCopy()));
    EXPECT_EQ(platform().mousePointer(), MousePointer::Default);
  }

  // Bytes after the last whole page: refused, but every page can be read.
  QFile damaged(QDir(accounts_).filePath("ACC2003.MDB"));
  ASSERT_TRUE(damaged.open(QIODevice::Append) && damaged.write(QByteArray(100, '\x5a')) > 0);
  damaged.close();
  window.choose("ACC2003.MDB");
  user().clearMessages();
  user().queueAnswer(mb::kIgnore);
  source.CmdOpenOldDB_Click();
  ASSERT_EQ(user().messages().size(), 2u) << user().messageTexts().join('|').toStdString();
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:3049\n"));
  EXPECT_EQ(user().messages()[1].text,
            QStringLiteral("الملف تالف، وقد تم فتح ما أمكن قراءته منه. لم ينقل منه ما يلي:") +
                "\nThe last 100 bytes of the file left out (the file ends inside a page).");
  EXPECT_EQ(user().messages()[1].style, 48 | 0x180000);
  EXPECT_TRUE(source.isOpen());
  EXPECT_EQ(window.CboOldBranch.count(), 3);
  EXPECT_GT(cardRows(source), 0);
}

// The stock window's file (a missing one, a name in another case) and search are walked in the
// catalogue's window tests.
TEST_F(Version1SourceTest, TheAccountsSearchListsTheFolderFound) {
  SourceWindow window;
  Version1Source source(Version1Source::Product::Accounts, window.controls());
  window.File1.setPath(files_.path());  // the search starts at the folder shown
  user().setDrives({files_.path()});
  auto& seek = windows().get<WinSeek>();
  seek.filList->setPattern("Stock001.mdb");  // as the stock window's search left it
  seek.lstFoundFiles->addItem("stale");
  user().queueWindow([&](QWidget&) {
    EXPECT_EQ(seek.filList->pattern(), "General.mdb");
    EXPECT_EQ(seek.lstFoundFiles->count(), 0) << "an earlier search's folders are dropped";
    seek.cmdSearch->click();
    seek.lstFoundFiles->setCurrentRow(0);
    seek.CmdOK->click();
  });
  source.CmdDialog_Click();
  EXPECT_EQ(window.File1.path(), accounts_);
  EXPECT_GE(window.File1.listCount(), 3);
}

}  // namespace
}  // namespace qalvoro::test
