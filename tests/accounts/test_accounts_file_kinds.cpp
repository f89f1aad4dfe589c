// Accounts files as some version-1 installations left them: without a
// journal table, and with their amounts kept in Single columns.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "tests/accounts/AccountsTest.h"
#include "tools/mdbwriter/JetDatabaseWriter.h"
#include "tools/mdbwriter/V1Schema.h"

namespace qalvoro::test {
namespace {

namespace mw = mdbwriter;

using AccountsFileKinds = AccountsTest;

TEST_F(AccountsFileKinds, AFileWithoutJournalIsBrowsedAndImportedWithTheAmountsTyped) {
  {
    mw::JetDatabaseWriter file(QDir(folder()).filePath("ACC.MDB"));
    const mw::v1::TableSpec card = mw::v1::cardTable(mw::ColumnType::Single);
    auto& rows = file.addTable(card.name, card.columns);
    const auto account = [](const char* number, const char* name, const char* father, int haves,
                            double debit, mw::Value limit) {
      return std::vector<mw::Value>{
          mw::Value::text(number), mw::Value::text(QString::fromUtf8(name)),
          mw::Value::text(father), mw::Value::real(debit),
          mw::Value::real(0),      std::move(limit),
          mw::Value::integer(1),   mw::Value::integer(0),
          mw::Value::integer(0),   mw::Value::integer(haves),
          mw::Value::integer(1)};
    };
    rows.addRow(account("1", "الأصول", "", 1, 0, mw::Value()));
    rows.addRow(account("11", "النقدية", "1", 0, 1234.56, mw::Value::real(2500.7)));
    file.close();
  }

  auto& window = openWindow();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(window.txtAccNo->text(), "1");
  window.Cmd_Last->click();
  EXPECT_EQ(window.txtStartDebit->text(), "1234.56");
  EXPECT_EQ(window.txtMaxDebit->text(), "2500.7");

  window.CmdImportAll->click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(scalar("SELECT StartDebit FROM CardAcc WHERE AccNo = '11'").toDouble(), 1234.56);
  EXPECT_EQ(scalar("SELECT MaxBalance FROM CardAcc WHERE AccNo = '11'").toDouble(), 2500.7);
  EXPECT_EQ(accountsLeft(window), 0);

  // Only the journal needs the journal table.
  window.CmdImportGaid->click();
  ASSERT_FALSE(user().messages().empty());
  EXPECT_TRUE(user().messages().back().text.startsWith("Err:"));
  EXPECT_TRUE(user().messages().back().text.contains("Gaid"))
      << user().messages().back().text.toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid"), 0);
  EXPECT_EQ(window.CmdImportGaid->text(), QStringLiteral("استيراد القيود"));
}

}  // namespace
}  // namespace qalvoro::test
