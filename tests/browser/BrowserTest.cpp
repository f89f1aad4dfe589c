#include "tests/browser/BrowserTest.h"

#include "host/Version2Database.h"
#include "host/forms/Windows.h"

namespace qalvoro::test {

void BrowserTest::SetUp() {
  HostTest::SetUp();
  openLanguage();
  globals().MsgBoxRtlFlags = 0x180000;
  QString connection = databasePath();  // the demo database HostTest made
  if (version2Engine() == Engine::PostgreSQL) {
    server_ = std::make_unique<TestDatabase>(Engine::PostgreSQL);
    connection = server_->connectionString();
    createVersion2Database(connection, true);
  }
  globals().MainConnection = std::make_unique<Connection>();
  MainConnection().open(connection, QStringLiteral("sa"), DbPassword);
}

void BrowserTest::TearDown() {
  windows().clear();
  globals().MainConnection.reset();
  server_.reset();
  HostTest::TearDown();
}

QString BrowserTest::browse(int branch, const std::function<void(FrmBrowseAcc&)>& script) {
  windows().get<FrmBrowseAcc>().BranchID = branch;
  user().queueWindow([&script](QWidget& window) { script(dynamic_cast<FrmBrowseAcc&>(window)); });
  return BrowseAccount();
}

int BrowserTest::addBranch(const QString& name) {
  return static_cast<int>(
      MainConnection()
          .write("INSERT INTO Branch (AName, EName) VALUES (?, ?)", {name, name})
          .keys.front());
}

qint64 BrowserTest::addAccount(int branch, const QString& number, const QString& name,
                               const QString& father, const QString& nameE) {
  const auto written = MainConnection().write(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, Haves) "
      "VALUES (?, ?, ?, ?, ?, 0, 0)",
      {branch, number, name, nameE == "=" ? name : nameE, father});
  MainConnection().execute("UPDATE CardAcc SET Haves = Haves + 1 WHERE BranchID = ? AND AccNo = ?",
                           {branch, father});
  return written.keys.front();
}

qint64 BrowserTest::idOf(const QString& number, int branch) {
  return scalar("SELECT ID FROM CardAcc WHERE AccNo = ? AND BranchID = ?", {number, branch})
      .toLongLong();
}

void BrowserTest::select(FrmBrowseAcc& window, const QString& number) {
  TreeView::Node* node = window.TreeView1->node("R" + number);
  ASSERT_NE(node, nullptr) << number.toStdString();
  window.TreeView1->selectNode(*node);
}

QString BrowserTest::selectedKey(const FrmBrowseAcc& window) {
  const TreeView::Node* node = window.TreeView1->selectedNode();
  return node ? TreeView::keyOf(*node) : QString();
}

}  // namespace qalvoro::test
