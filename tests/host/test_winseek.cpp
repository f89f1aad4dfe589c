// The folder search over the drives of the machine.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "host/dialogs/WinSeek.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "tests/host/HostTest.h"

namespace qalvoro::test {
namespace {

class WinSeekTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    root_ = drive_.path();
    for (const char* folder : {"Data/Old", "Data/Acc", "Empty", "Two"}) {
      QDir(root_).mkpath(folder);
    }
    touch("Data/Acc/GENERAL.MDB");
    touch("Data/Old/General.mdb");
    touch("Two/a.mdb");
    touch("Two/b.MDB");
    touch("general.mdb");
    user().setDrives({"/", root_});
  }

  void touch(const QString& file) {
    QFile created(QDir(root_).filePath(file));
    ASSERT_TRUE(created.open(QIODevice::WriteOnly));
  }

  QStringList found(const WinSeek& seek) const {
    QStringList entries;
    for (int i = 0; i < seek.lstFoundFiles->count(); ++i) {
      entries << seek.lstFoundFiles->item(i)->text().replace(root_, "ROOT");
    }
    entries.sort();
    return entries;
  }

  QTemporaryDir drive_;
  QString root_;
};

TEST_F(WinSeekTest, OpensAtAFolderShowsTheWayUpAndSearchesBelowIt) {
  auto& seek = windows().get<WinSeek>();
  EXPECT_EQ(seek.dirList->path(), QDir::homePath());
  seek.openAt(root_ + "/missing");
  EXPECT_EQ(seek.dirList->path(), QDir::homePath()) << "a folder that cannot be read: home";
  seek.openAt(root_ + "/Data");
  EXPECT_EQ(seek.drvList->currentText(), root_) << "the drive the folder lies on";
  QStringList shown;
  for (int i = 0; i < seek.dirList->count(); ++i) shown << seek.dirList->item(i)->text().trimmed();
  const QStringList wayUp = QStringList{"/"} + (root_ + "/Data").split('/', Qt::SkipEmptyParts);
  EXPECT_EQ(shown, wayUp + QStringList({"Acc", "Old"}));
  EXPECT_EQ(seek.dirList->listCount(), 2);
  EXPECT_EQ(seek.dirList->list(0), root_ + "/Data/Acc");

  seek.load();
  EXPECT_EQ(seek.filList->pattern(), "General.mdb");
  seek.cmdSearch->click();
  EXPECT_EQ(found(seek), (QStringList{"ROOT/Data/Acc", "ROOT/Data/Old"}))
      << "below it only, whatever the case of the names";
  EXPECT_EQ(seek.dirList->path(), root_ + "/Data");
  EXPECT_EQ(seek.cmdSearch->text(), QStringLiteral("بدء البحث"));
  EXPECT_TRUE(seek.CmdOK->isEnabled());
  EXPECT_TRUE(seek.lblPath->text().isEmpty());
  EXPECT_NE(seek.lstFoundFiles->currentItem(), nullptr) << "the last entry found is chosen";

  seek.openAt(root_);
  seek.filList->setPattern("*.mdb");
  seek.cmdSearch->click();
  EXPECT_EQ(found(seek).count("ROOT/Two"), 2) << "listed once per matching file";
}

TEST_F(WinSeekTest, OkTakesTheFolderChosenOrShownAndExitGivesNothing) {
  globals().MsgBoxRtlFlags = 0x180000;
  auto& seek = windows().get<WinSeek>();
  seek.openAt(root_ + "/Empty");
  user().queueWindow([&](QWidget&) {
    seek.CmdOK->click();
    EXPECT_TRUE(seek.isVisible()) << "no folder chosen, none with the file shown";
    seek.openAt(root_ + "/Data");
    seek.cmdSearch->click();
    seek.lstFoundFiles->setCurrentRow(0);
    seek.CmdOK->click();
  });
  seek.showModal();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("حدد المجلد"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(tagOf(seek), root_ + "/Data/Old") << "the first folder found";

  user().queueWindow([&](QWidget&) {
    seek.dirList->setCurrentRow(seek.dirList->count() - 2);
    emit seek.dirList->itemActivated(seek.dirList->currentItem());  // browsing to Data/Acc
    seek.CmdOK->click();
  });
  seek.showModal();
  EXPECT_EQ(tagOf(seek), root_ + "/Data/Acc") << "the folder shown, not the one found before";

  user().queueWindow([&](QWidget&) { seek.cmdExit->click(); });
  seek.showModal();
  EXPECT_EQ(tagOf(seek), "");
}

TEST_F(WinSeekTest, StopKeepsWhatWasFoundAndAFullListAbandonsTheSearch) {
  auto& seek = windows().get<WinSeek>();
  seek.openAt(root_);
  int yields = 0;
  user().onDoEvents([&] {
    if (++yields == 4) {
      EXPECT_FALSE(seek.CmdOK->isEnabled()) << "the dialog is locked while searching";
      EXPECT_EQ(seek.cmdSearch->text(), QStringLiteral("توقف"));
      seek.cmdSearch->click();
    }
  });
  seek.cmdSearch->click();
  EXPECT_EQ(yields, 4) << "the search ends at the yield after the stop";
  EXPECT_LT(seek.lstFoundFiles->count(), 3);
  EXPECT_TRUE(seek.CmdOK->isEnabled());
  user().onDoEvents({});

  seek.setCapacity(1);
  seek.cmdSearch->click();
  EXPECT_EQ(seek.lstFoundFiles->count(), 1);
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, "You've filled the list box. Abandoning search...");
  EXPECT_EQ(user().messages()[0].style, 0);
}

TEST_F(WinSeekTest, AFolderThatCannotBeReadIsReportedAndTheSearchGoesOn) {
  auto& seek = windows().get<WinSeek>();
  seek.openAt(root_);
  // Folders are walked from the last listed to the first: Two, then Empty,
  // then Data. Empty disappears after the drive root has been listed.
  int yields = 0;
  user().onDoEvents([&] {
    if (++yields == 2) {
      ASSERT_TRUE(QDir(root_).rmdir("Empty"));
    }
  });
  seek.cmdSearch->click();
  EXPECT_EQ(found(seek), (QStringList{"ROOT", "ROOT/Data/Acc", "ROOT/Data/Old"}));
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text,
            QDir(root_).filePath("Empty") + '\n' + QString::fromLocal8Bit(std::strerror(ENOENT)));
  EXPECT_EQ(user().messages()[0].style, 0);
}

TEST_F(WinSeekTest, ClosingTheSearchStopsItAndGivesNoFolder) {
  auto& seek = windows().get<WinSeek>();
  seek.openAt(root_);
  setTag(seek, root_);
  int yields = 0;
  user().queueWindow([&](QWidget& window) {
    user().onDoEvents([&] {
      ++yields;
      window.close();
    });
    seek.cmdSearch->click();
  });
  seek.showModal();
  EXPECT_EQ(yields, 1) << "closing stops the search at once";
  user().onDoEvents({});
  EXPECT_EQ(tagOf(seek), "") << "the caller keeps its folder";
}

TEST_F(WinSeekTest, FileListsMatchNamesIgnoringCase) {
  FileListBox files;
  files.setPattern("Stock001.mdb");
  touch("STOCK001.MDB");
  files.setPath(root_);
  EXPECT_EQ(files.listCount(), 1);
  EXPECT_EQ(FindFileIgnoringCase(root_, "Stock001.mdb"), "STOCK001.MDB");
  EXPECT_EQ(FindFileIgnoringCase(root_, "nothing.mdb"), "");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

}  // namespace
}  // namespace qalvoro::test
