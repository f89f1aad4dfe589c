#include "tests/accounts/AccountsTest.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>

#include "host/Version2Database.h"
#include "host/db/Recordset.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "tools/mdbwriter/JetDatabaseWriter.h"
#include "tools/mdbwriter/V1Schema.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro::test {
namespace {

namespace mw = mdbwriter;

mw::Value optionalReal(const QVariant& value) {
  return value.isNull() ? mw::Value() : mw::Value::real(value.toDouble());
}

}  // namespace

void AccountsTest::SetUp() {
  HostTest::SetUp();
  openLanguage();
  globals().MsgBoxRtlFlags = 0x180000;
  qputenv("QALVORO_WORKING_COPY", (appPath() + "work/tmp_44d2.tmp").toLocal8Bit());
  if (version2Engine() == Engine::PostgreSQL)
    server_ = std::make_unique<TestDatabase>(Engine::PostgreSQL);
  createVersion2Database(version2Path(), false);
  globals().MainConnection = std::make_unique<Connection>();
  globals().MainConnection->open(version2Path(), "sa", DbPassword);
  MainConnection().execute("INSERT INTO Branch (AName, EName) VALUES (?, ?)",
                           {QStringLiteral("الفرع الرئيسي"), "Main"});
  MainConnection().execute("INSERT INTO Branch (AName, EName) VALUES (?, ?)",
                           {QStringLiteral("الفرع الثاني"), "Second"});
  folder_ = appPath() + "v1";
  QDir().mkpath(folder_);
}

void AccountsTest::TearDown() {
  windows().clear();
  globals().MainConnection.reset();
  qunsetenv("QALVORO_WORKING_COPY");
  HostTest::TearDown();
}

QString AccountsTest::version2Path() const {
  return server_ ? server_->connectionString() : appPath() + "accounts.db";
}

void AccountsTest::writeAccountsFile(const std::vector<CardRow>& cards,
                                     const std::vector<GaidRow>& lines, bool singleAmounts) {
  mw::JetDatabaseWriter file(QDir(folder_).filePath("ACC.MDB"));
  const mw::v1::TableSpec spec =
      mw::v1::cardTable(singleAmounts ? mw::ColumnType::Single : mw::ColumnType::Double);
  auto& card = file.addTable(spec.name, spec.columns);
  for (const CardRow& row : cards) {
    card.addRow({mw::Value::text(row.accNo), mw::Value::text(row.name), mw::Value::text(row.father),
                 mw::Value::real(row.startDebit), mw::Value::real(row.startCredit),
                 optionalReal(row.maxBalance), mw::Value::integer(row.debit),
                 mw::Value::integer(row.credit), mw::Value::integer(row.type),
                 mw::Value::integer(row.haves), mw::Value::integer(row.branch)});
  }
  if (!singleAmounts) {
    auto& gaid = file.addTable(mw::v1::gaidTable().name, mw::v1::gaidTable().columns);
    for (const GaidRow& line : lines) {
      gaid.addRow(
          {mw::Value::integer(line.entry), mw::Value::dateTime(QDateTime(line.date, QTime(0, 0))),
           mw::Value::text(line.accNo), mw::Value::text(line.text), optionalReal(line.debit),
           optionalReal(line.credit), mw::Value::integer(line.branch)});
    }
  }
  file.close();
}

FrmAcc_Restore& AccountsTest::openWindow(const QString& folder, const QString& file,
                                         int version1Branch) {
  auto& window = windows().get<FrmAcc_Restore>();
  window.load();
  window.File1->setPath(folder.isEmpty() ? folder_ : folder);
  const auto found = window.File1->findItems(file, Qt::MatchFixedString);
  EXPECT_EQ(found.size(), 1) << file.toStdString();
  if (!found.isEmpty()) window.File1->setCurrentItem(found.front());
  window.CmdOpenOldDB->click();
  EXPECT_TRUE(window.source().isOpen()) << user().messageTexts().join('|').toStdString();
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(version1Branch));
  return window;
}

int AccountsTest::accountsLeft(FrmAcc_Restore& window) {
  Recordset rows;
  rows.open("SELECT COUNT(*) AS n FROM Card WHERE رقم_الفرع = 1", window.source().database());
  return rows.value("n").toInt();
}

}  // namespace qalvoro::test
