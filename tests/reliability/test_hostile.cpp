// Texts that break careless code (quotes, SQL, wildcards, diacritics, mixed
// directions, characters beyond the BMP, full-length texts, a 64 KB memo,
// blanks around) arrive in version 2 as version 1 holds them, except where
// the migration changes them on purpose.

#include <QSet>

#include "host/db/Recordset.h"
#include "tests/reliability/BranchRun.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

class HostileTexts : public ::testing::TestWithParam<Engine> {};

QSet<QString> storedTexts(const QString& database) {
  Connection connection;
  connection.open(database);
  QSet<QString> texts;
  for (const char* table :
       {"CardAcc", "Gaid", "GaidDetails", "Class", "Category", "Customer", "Provider",
        "SaleInvoice", "SInvSData", "BuyInvoice", "BInvData", "RSaleInvoice", "RSInvSData",
        "RBuyInvoice", "RBInvData", "Receipt", "ReceiptDetails", "Payment", "PaymentDetails"}) {
    Recordset rows;
    rows.open(QStringLiteral("SELECT * FROM ") + table, connection);
    for (; !rows.eof(); rows.moveNext())
      for (const QString& name : rows.fieldNames()) texts << rows.value(name).toString();
  }
  return texts;
}

// The text as it arrives: unchanged, or trimmed (names), or without its
// asterisks (item names).
bool arrived(const QString& text, const QSet<QString>& stored) {
  for (const QString& form :
       {text, text.trimmed(), QString(text).remove('*'), QString(text).remove('*').trimmed()})
    if (stored.contains(form)) return true;
  return false;
}

TEST_P(HostileTexts, EveryTextArrivesAsVersionOneHoldsIt) {
  struct Written {
    QString field;
    QString text;
  };
  std::vector<Written> written;
  mdbwriter::v1::V1Options options = SmallBranch();
  const mdbwriter::TextRewrite hostile = mdbwriter::v1::hostileTexts();
  options.writer.rewriteText = [&](const QString& table, const mdbwriter::Column& column,
                                   quint32 row, const mdbwriter::Value& value) {
    mdbwriter::Value text = hostile(table, column, row, value);
    if (text.asText() && (!value.asText() || *text.asText() != *value.asText()))
      written.push_back({table + '.' + column.name, *text.asText()});
    return text;
  };
  Workspace work(GetParam(), options);
  const RunResult run = work.runAll(WholeBranch(), "v2", {"--overwrite", "yes-all"});
  ASSERT_TRUE(Completed(run)) << run.output.toStdString();

  const QSet<QString> stored = storedTexts(work.target());
  QStringList lost;
  for (const Written& w : written) {
    if (!arrived(w.text, stored)) lost << w.field + ": " + w.text.left(60);
  }
  lost.removeDuplicates();
  EXPECT_EQ(lost, QStringList());
}

INSTANTIATE_TEST_SUITE_P(Engines, HostileTexts, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
