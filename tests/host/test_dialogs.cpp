// The overwrite prompt, the date filter, the date and time control, and the folder search over
// the drives of the machine.

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>

#include "host/dialogs/FrmFilter.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/dialogs/FrmStart.h"
#include "host/dialogs/WinSeek.h"
#include "host/forms/FileControls.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "tests/host/HostTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

using DialogTest = HostTest;

TEST_F(DialogTest, OverwritePromptAnswersThroughItsTagAndStaysLoaded) {
  auto& prompt = windows().get<FrmOverWrite>();
  // How each showing ends, and the answer it leaves.
  const std::vector<std::pair<std::function<void()>, QString>> showings = {
      {[&] {
         EXPECT_EQ(prompt.focusWidget(), prompt.CmdNo) << "the default button has the focus";
         QTest::keyClick(prompt.CmdNo, Qt::Key_Return);
       },
       "2"},
      {[&] {
         prompt.lblOld->setText(QStringLiteral("حساب 1"));
         prompt.CmdYesAll->click();  // the other buttons: in the import tests
       },
       "3"},
      {[&] {
         EXPECT_EQ(tagOf(prompt), "3") << "the next showing starts from the state left behind";
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

TEST_F(DialogTest, FilterAnswersOkWithItsDatesOrNothing) {
  auto& filter = windows().get<FrmFilter>();
  const auto show = [&](const std::function<void()>& script) {
    user().queueWindow([&](QWidget&) { script(); });
    filter.showModal();
    return tagOf(filter);
  };
  // Clicks, and the dates offered again: in the catalogue window's tests.
  EXPECT_EQ(show([&] {
              filter.CmdCancel->setFocus();
              QTest::keyClick(filter.CmdCancel, Qt::Key_Enter);
            }),
            "");
  EXPECT_EQ(show([&] {
              filter.txtDate1->setText("2003/01/01");
              filter.txtDate1->setFocus();
              QTest::keyClick(filter.txtDate1, Qt::Key_Return);
            }),
            "OK")
      << "on a control that is no command button, Enter presses OK";
  EXPECT_EQ(show([&] { filter.close(); }), "") << "closing the filter is Cancel";
  EXPECT_EQ(windows().get<FrmFilter>().txtDate1->text(), FrmFilter().txtDate1->text());
}

// The layout rules themselves are checked in the language tests.
TEST_F(DialogTest, EnglishDialogsAreMirroredAndTranslatedOnceWhateverTheLoads) {
  openLanguage();
  setSetting("Language", "E");
  user().queueWindow([](QWidget& window) { window.close(); });
  windows().get<FrmOverWrite>().showModal();
  auto& prompt = windows().get<FrmOverWrite>();
  prompt.load();
  EXPECT_EQ(prompt.CmdYesAll->text(), "Yes to all");
  EXPECT_EQ(twipsGeometry(*prompt.CmdYes).left(), 7200 - (5760 + 1260) - 100);

  FrmStart start;
  start.load();
  start.close();
  start.load();
  EXPECT_EQ(twipsGeometry(*start.Option1[0]).left(), 6000 - 5760 - 100);

  auto& filter = windows().get<FrmFilter>();
  filter.load();
  EXPECT_EQ(filter.Frame1->title(), "Period");
  // Inside the frame no margin is kept.
  EXPECT_EQ(twipsGeometry(*filter.txtDate1).left(), 5600 - (1400 + 2200));
  filter.txtDate1->setText("2003/01/02");
  EXPECT_EQ(filter.txtDate1->findChild<QLineEdit*>()->text(), "2003/01/02")
      << "a mirrored date shows its year first from the left";

  EXPECT_EQ(RowTexts("SELECT COUNT(*) FROM Lang a JOIN Lang b ON b.Eng = a.Ara AND b.Ara <> a.Ara",
                     {}, *globals().LangConnection),
            QStringList{"0"})
      << "no English caption was taken for Arabic";
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

  // Without automatic change (the posting windows show it on) the text stays and is read in
  // the new calendar.
  date.setText("2003/03/04");
  date.setCalendarType(1);
  EXPECT_EQ(date.text(), "2003/03/04");
  EXPECT_EQ(date.date(), QDate(2003, 3, 4, QCalendar(QCalendar::System::IslamicCivil)));
}

class WinSeekTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    for (const char* folder : {"Data/Old", "Data/Acc", "Empty", "Two"}) QDir(root_).mkpath(folder);
    for (const char* file : {"Data/Acc/GENERAL.MDB", "Data/Old/General.mdb", "Two/a.mdb",
                             "Two/b.MDB", "general.mdb"}) {
      EXPECT_TRUE(QFile(QDir(root_).filePath(file)).open(QIODevice::WriteOnly));
    }
    user().setDrives({"/", root_});
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
  const QString root_ = drive_.path();
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

  seek.load();
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

TEST_F(WinSeekTest, SearchGoesOnPastAnUnreadableFolderAndEndsOnStopAFullListOrClosing) {
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

  yields = 0;
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

  user().clearMessages();
  seek.setCapacity(1);
  seek.cmdSearch->click();
  EXPECT_EQ(seek.lstFoundFiles->count(), 1);
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, "You've filled the list box. Abandoning search...");
  EXPECT_EQ(user().messages()[0].style, 0);

  setTag(seek, root_);
  yields = 0;
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

}  // namespace
}  // namespace qalvoro::test
