// The unattended catalogue and whole-branch runs of the host program and
// the reconciliation of a migrated branch (qalvoro-host --verify).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <cmath>

#include "tests/catalogue/CatalogueTest.h"
#include "tests/posting/PostingTest.h"
#include "tests/support/Fixtures.h"
#include "v1source/convert/V1Converter.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro::test {
namespace {

QJsonObject kindOf(const QJsonObject& report, const QString& name) {
  for (const auto& line : report.value("kinds").toArray()) {
    if (line.toObject().value("kind").toString() == name) return line.toObject();
  }
  return {};
}

class CatalogueBatchTest : public CatalogueEngineTest {
 protected:
  void expectRun(const QStringList& options, int code, const QString& said) {
    auto [exit, output] = runCatalogue(options);
    EXPECT_EQ(exit, code) << options.join(' ').toStdString() << '\n' << output.toStdString();
    EXPECT_TRUE(output.contains(said)) << said.toStdString() << '\n' << output.toStdString();
  }
};

// Wrong options are refused, unused ones ignored, the others name the controls.
TEST_P(CatalogueBatchTest, TheOptionsNameTheControlsAndWrongOnesAreRefused) {
  StockRows rows;
  rows.items = {{.number = "1", .classification = QStringLiteral("شركة أ")},
                {.number = "2", .classification = QStringLiteral("شركة ب")}};
  rows.sales = {{.number = 1, .date = on(5, 1)}, {.number = 2, .date = on(6, 1)}};
  writeStockFile(rows);
  for (const QStringList& options :
       {QStringList{"--kind", "items", "--from", "2003-13-01"}, QStringList{},
        QStringList{"--kind", "items", "--classification", "both"},
        QStringList{"--kind", "items", "--unit", "piece"}}) {
    expectRun(options, 2, "");
  }
  expectRun({"--kind", "items", "--unit", "77"}, 1, "ended: failed: no unit 77");
  expectRun({"--kind", "customers", "--unit", "77", "--customers-account", "1203"}, 0,
            "ended: every row was processed");
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), 0);

  expectRun({"--kind", "items", "--classification", "provider", "--unit", "2", "--to", "2003-05-31",
             "--cashier", "120101", "--renumber-from", "100"},
            0, "summary: imported 2, overwritten 0, skipped 0, refused 0");
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE U1 = 2 AND ProviderID > 0"), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider WHERE BranchID = 1"), 2);
  EXPECT_EQ(rowsLeft("ف_مبيعات"), 1) << "the date filter ran first";
}

// The cashier is checked first; sales are renumbered; refusals are named.
TEST_P(CatalogueBatchTest, InvoicesAndVouchersGoToTheCashierOfTheOptions) {
  StockRows rows;
  rows.items = {{.number = "0101"}};
  rows.customers = {{.number = 1}};
  rows.sales = {{.number = 1, .date = on(3, 1), .lines = {{.item = "0101"}}},
                {.number = 2, .date = on(2, 1), .lines = {{.item = "0101"}}}};
  rows.salesReturns = {{.number = 7, .date = on(3, 5), .lines = {{.item = "0101"}}, .invoice = 1},
                       {.number = 8, .date = on(3, 6), .lines = {{.item = "0101"}}, .invoice = 1}};
  rows.purchases = {{.number = 5, .date = on(1, 5), .party = 0}};
  rows.vouchers = {{.number = 4, .kind = 1}, {.number = 4, .kind = 1, .partyKind = 1}};
  writeStockFile(rows);
  const QStringList vouchers = {
      "--kind", "vouchers", "--customers-account", "1203", "--providers-account", "21"};
  for (const char* cashier : {"999", "1203"}) {
    expectRun(vouchers + QStringList{"--cashier", cashier}, 1,
              QStringLiteral("ended: failed: no cashier %1 in version-2 branch 1").arg(cashier));
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt"), 0);

  expectRun({"--kind", "sales", "--cashier", "120102", "--renumber-from", "500"}, 0,
            "summary: imported 2, overwritten 0, skipped 0, refused 0");
  EXPECT_EQ(JoinedRows("SELECT s.InvoiceNo FROM SaleInvoice s JOIN CardAcc a ON a.ID = "
                       "s.CashierAccID WHERE a.AccNo = '120102' ORDER BY 1"),
            "500;501");
  EXPECT_EQ(JoinedRows("SELECT InvoiceNo FROM RSaleInvoice ORDER BY 1"), "502;503");
  expectRun({"--kind", "purchases", "--cashier", "120102"}, 0,
            QStringLiteral("refused: 5: يجب إدخال صنف واحد على الأقل"));

  expectRun(vouchers + QStringList{"--cashier", "120102", "--auto-voucher-numbers"}, 0,
            "summary: imported 2, overwritten 0, skipped 0, refused 0");
  EXPECT_EQ(JoinedRows("SELECT r.ReceiptNo FROM Receipt r JOIN CardAcc a ON a.ID = r.AccIDTo "
                       "WHERE a.AccNo = '120102' ORDER BY 1"),
            "1;2");
  EXPECT_EQ(rowsLeft("السندات"), 0);
}

// All kinds in order, ending with the worst; the verification names what changed.
TEST_P(CatalogueBatchTest, AllRunsEveryKindInOrderAndTheVerificationNamesWhatChanged) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}};
  rows.customers = {{.number = 1, .name = QStringLiteral("أ")}};
  rows.providers = {{.number = 1, .name = QStringLiteral("ب")}};
  const std::vector<LineRow> sold = {{.item = "1"}, {.item = "2", .quantity = 2.0}};
  const std::vector<LineRow> two = {{.item = "1", .quantity = 2.0}};
  const std::vector<LineRow> bought = {{.item = "1", .quantity = 5.0, .price = 30},
                                       {.item = "2", .quantity = 2.0, .price = 50}};
  rows.sales = {{.number = 1, .date = on(4, 1), .total = 30, .net = 30, .lines = sold},
                {.number = 2, .date = on(4, 1), .total = 20, .net = 20, .lines = two}};
  rows.purchases = {{.number = 5001,
                     .date = on(4, 1),
                     .total = 250,
                     .discount = 25,
                     .net = 225,
                     .lines = bought}};
  rows.vouchers = {{.number = 1, .kind = 1}, {.number = 1}};
  writeStockFile(rows);
  const QString summary = "summary %1: imported %2, overwritten %3, skipped 0, refused 0; %4\n";
  const QString done = "every row was processed";
  const QString parentMissing =
      "stopped at provider 1: parent account '' is not an account of the version-2 branch";
  expectRun({"--kind", "all", "--customers-account", "1203"}, 3,
            summary.arg("items", "2", "0", done) + summary.arg("customers", "1", "0", done) +
                summary.arg("providers", "0", "0", parentMissing) +
                "summary sales: not run\nsummary purchases: not run\nsummary vouchers: not "
                "run\nended: " +
                parentMissing);

  expectRun({"--kind", "all", "--customers-account", "1203", "--providers-account", "21",
             "--cashier", "120101", "--overwrite", "yes-all", "--provider-accounts"},
            0,
            summary.arg("items", "0", "2", done) + summary.arg("customers", "0", "1", done) +
                summary.arg("providers", "1", "0", done) + summary.arg("sales", "2", "0", done) +
                summary.arg("purchases", "1", "0", done) + summary.arg("vouchers", "2", "0", done) +
                "ended: " + done);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt r JOIN ReceiptDetails d ON d.ReceiptID = r.ID "
                  "JOIN Customer c ON c.AccNoID = d.From_AccNoID WHERE c.fNo = 1"),
            1);
  EXPECT_EQ(
      JoinedRows("SELECT p.AName, a.AccNo FROM Provider p JOIN CardAcc a ON a.ID = p.AccNoID"),
      QStringLiteral("ب|21001"));

  const QVariant sale = scalar("SELECT ID FROM SaleInvoice WHERE BranchID = 1 AND InvoiceNo = 2");
  MainConnection().execute("DELETE FROM SInvSData WHERE InvoiceID = ?", {sale});
  MainConnection().execute("DELETE FROM SaleInvoice WHERE ID = ?", {sale});
  MainConnection().execute(
      "UPDATE BuyInvoice SET Discount = 0, Net = 250 WHERE BranchID = 1 AND InvoiceNo = 5001");
  MainConnection().execute("UPDATE Payment SET Amount = 90 WHERE BranchID = 1 AND PaymentNo = 1");

  const QDateTime copyWritten = QFileInfo(WorkingCopyPath()).lastModified();
  auto [code, output] =
      runOnBranch1({"--verify", "--report", reportPath(), "--stock-folder", folder()});
  EXPECT_EQ(code, 4) << output.toStdString();
  for (const char* line :
       {"missing: sales invoice 2 is not in version 2\n",
        "different: purchase invoice 5001: discount 25.00 in version 1, 0.00 in version 2; net "
        "225.00 in version 1, 250.00 in version 2\n",
        "different: payment 1: amount 100.00 in version 1, 90.00 in version 2\n",
        "verify ended: 1 missing, 2 different"}) {
    EXPECT_TRUE(output.contains(line)) << line << '\n' << output.toStdString();
  }
  EXPECT_FALSE(output.contains("sales invoice 1")) << output.toStdString();
  EXPECT_EQ(QFileInfo(WorkingCopyPath()).lastModified(), copyWritten)
      << "the verification converts the file afresh and leaves the working copy alone";

  const QJsonObject found = readReport().value("verification").toObject();
  EXPECT_EQ(found.value("exitCode").toInt(), 4);
  const QJsonArray missing = found.value("missing").toArray();
  ASSERT_EQ(missing.size(), 1);
  EXPECT_EQ(missing[0]["kind"].toString() + missing[0]["number"].toString(), "sales invoice2");
  const QJsonObject purchases = kindOf(found, "purchase invoices");
  EXPECT_EQ(purchases.value("different").toInt(), 1);
  const QJsonObject net = purchases.value("sums").toArray().first().toObject();
  EXPECT_EQ(QStringList({QString::number(net["version1"].toDouble()),
                         QString::number(net["expected"].toDouble()),
                         QString::number(net["version2"].toDouble())}),
            QStringList({"225", "225", "250"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogueBatchTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

double cents(double value) { return std::round(value * 100) / 100; }

// A document's lines as posted (sum or quantities): Null or 0 counts as 1.
double posted(Connection& truth, const QString& lineTable, const QString& numberColumn,
              const QVariant& number, bool quantities = false) {
  Recordset lines;
  lines.open("SELECT * FROM " + lineTable + " WHERE رقم_الفرع = 1 AND " + numberColumn + " = ?",
             truth, LockType::ReadOnly, {number});
  double total = 0;
  for (; !lines.eof(); lines.moveNext()) {
    const double quantity = lines.value("الكميه").toDouble();
    const double one = quantity == 0 ? 1 : quantity;
    total += quantities ? CLng(one) : cents(one * lines.value("السعر").toDouble());
  }
  return total;
}

// Branch 1 of the shared version-1 folders, against their rows.
class FixtureBranchTest : public CatalogueEngineTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    fixtures_ = QDir(FixturesFolder()).filePath("v1");
    if (!QFile::exists(fixtures_ + "/accounts/ACC2003.MDB") ||
        !QFile::exists(fixtures_ + "/stock/Stock001.mdb")) {
      GTEST_SKIP() << "the shared version-1 fixtures are not at " << fixtures_.toStdString();
    }
    V1Converter().convert(fixtures_ + "/stock/Stock001.mdb", appPath() + "stock.sqlite");
    truth_.open(appPath() + "stock.sqlite");
    V1Converter().convert(fixtures_ + "/accounts/ACC2003.MDB", appPath() + "accounts.sqlite");
    accounts_.open(appPath() + "accounts.sqlite");
  }

  // Parties with their own accounts, beside placeholders ("??") documents added.
  void checkParties(const QString& version1, const QString& numberColumn, const QString& table,
                    const QString& parent) {
    Recordset party;
    party.open("SELECT * FROM " + version1 + " WHERE رقم_الفرع = 1", truth_);
    ASSERT_GT(party.recordCount(), 0);
    for (; !party.eof(); party.moveNext()) {
      const QString name = party.text("الاسم");
      EXPECT_EQ(JoinedRows("SELECT AName, APerson, AAddress, Phone, Fax, EName, EPerson, Mobile, "
                           "EAddress, PBox, Zip, EMail, URL, CountryID, CityID, CreditDis, "
                           "CashDis, StartDebit, StartCredit, Credit, Balance, AccNoID = (SELECT "
                           "ID FROM CardAcc WHERE BranchID = 1 AND ffather = ? AND AccNameA = ?) "
                           "FROM " +
                               table + " WHERE BranchID = 1 AND fNo = ?",
                           {parent, name, party.value(numberColumn)}),
                (QStringList{name, party.text("الشخص_المسئول"), party.text("العنوان"),
                             party.text("هاتف"), party.text("فاكس")} +
                 QString(" | | | | | | | |-1|-1|0|0|0|0|0|0|1").split('|'))
                    .join('|'));
    }
    const QString named = " FROM " + table + " WHERE BranchID = 1 AND AName <> '?\?'";
    const QString accounts = "SELECT COUNT(DISTINCT a.ID) FROM " + table +
                             " p JOIN CardAcc a ON a.ID = p.AccNoID WHERE p.BranchID = 1 AND "
                             "a.ffather = ? AND a.BranchID = 1";
    EXPECT_EQ(
        JoinedRows("SELECT COUNT(*), COUNT(DISTINCT AccNoID), COUNT(DISTINCT AName), SUM(CASE "
                   "WHEN AccNoID = 0 THEN 1 ELSE 0 END)" +
                   named),
        QString("%1|%2|%2|0")
            .arg(party.recordCount())
            .arg(count("SELECT COUNT(DISTINCT AName)" + named)))
        << "parties of the same name share their account";
    EXPECT_EQ(JoinedRows("SELECT COUNT(*), MAX(p.Haves) FROM CardAcc c, CardAcc p WHERE "
                         "c.BranchID = 1 AND c.ffather = ? AND p.BranchID = 1 AND p.AccNo = ?",
                         {parent, parent}),
              QString("%1|%1").arg(count(accounts, {parent})));
  }

  int truthCount(const QString& sql, const QVariantList& params = {}) {
    const auto row = truth_.firstRow(sql, params);
    return row ? row->value(0).toInt() : 0;
  }

  QString fixtures_;
  Connection truth_;
  Connection accounts_;
};

TEST_P(FixtureBranchTest, TheWholeBranchArrivesAsReportedAndVerifiesClean) {
  // Version-1 accounts of branch 1 that version 2 holds.
  const auto accountsHeld = [&] {
    Recordset card;
    card.open("SELECT * FROM Card WHERE رقم_الفرع = 1", accounts_);
    int held = 0;
    for (; !card.eof(); card.moveNext()) {
      held += count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1 AND AccNo = ?",
                    {card.text("رقم_الحساب")});
    }
    return held;
  };
  const QString lines = "FROM GaidDetails d JOIN Gaid g ON g.ID = d.GaidID WHERE g.BranchID = 1";
  const int entriesBefore = count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1");
  const int linesBefore = count("SELECT COUNT(*) " + lines);
  const int accountsBefore = accountsHeld();
  auto [code, output] = runOnBranch1(
      QStringList{"--batch", "branch", "--report", reportPath(), "--overwrite", "yes-all",
                  "--verify", "--accounts-folder", fixtures_ + "/accounts", "--accounts-file",
                  "acc2003.mdb", "--stock-folder", fixtures_ + "/stock"} +
      QStringList{"--customers-account", "1203", "--customer-accounts", "--providers-account", "21",
                  "--provider-accounts", "--cashier", "120101"});
  const QJsonObject report = readReport();
  EXPECT_EQ(report["run"].toString(), "branch");
  EXPECT_EQ(report["exitCode"].toInt(), code) << output.toStdString();
  EXPECT_TRUE(output.contains("ended: " + report["ended"].toString())) << output.toStdString();

  QStringList names;
  for (const QJsonValue& value : report["kinds"].toArray()) {
    const QJsonObject kind = value.toObject();
    const QString name = kind["kind"].toString();
    names << name;
    const int handled = kind["imported"].toInt() + kind["overwritten"].toInt() +
                        kind["skipped"].toInt() + kind["refused"].toArray().size();
    if (name == "accounts") {
      // Account 9901, whose parent is in neither version, stops them at the end.
      EXPECT_EQ(kind["exitCode"].toInt(), 3);
      EXPECT_EQ(accountsHeld() - accountsBefore, kind["imported"].toInt());
      EXPECT_EQ(handled + 1, kind["version1Rows"].toInt());
      continue;
    }
    EXPECT_EQ(kind["exitCode"].toInt(), 0)
        << name.toStdString() << ' ' << kind["ended"].toString().toStdString();
    if (name != "journal") {
      // Every record is new to version 2; the checks below find each of them.
      EXPECT_EQ(kind["imported"].toInt(), kind["version1Rows"].toInt()) << name.toStdString();
      EXPECT_EQ(handled, kind["imported"].toInt()) << name.toStdString();
      continue;
    }
    EXPECT_EQ(kind["entries"].toInt(), kind["version1Rows"].toInt());
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gaid WHERE BranchID = 1") - entriesBefore,
              kind["entries"].toInt());
    EXPECT_EQ(count("SELECT COUNT(*) " + lines) - linesBefore, kind["lines"].toInt());
    const QJsonArray leftOut = kind["linesWithoutAccount"].toArray();
    EXPECT_FALSE(leftOut.isEmpty()) << "the lines of account 8888";
    for (const QJsonValue& value : leftOut) {
      const QJsonObject entry = value.toObject();
      const int number = entry["entry"].toInt();
      const QString held = lines + " AND g.GaidNo = ?";
      EXPECT_EQ(accounts_.firstRow("SELECT COUNT(*) FROM Gaid WHERE رقم_القيد = ?", {number})
                        ->value(0)
                        .toInt() -
                    count("SELECT COUNT(*) " + held, {number}),
                entry["lines"].toInt())
          << number;
      const double balance =
          scalar("SELECT COALESCE(SUM(d.Debit - d.Credit), 0) " + held, {number}).toDouble();
      EXPECT_EQ(std::abs(balance) < 0.005, entry["balanced"].toBool()) << number;
    }
  }
  EXPECT_EQ(names, QStringList({"accounts", "journal", "items", "customers", "providers", "sales",
                                "purchases", "vouchers"}));
  EXPECT_EQ(code, 3) << output.toStdString();
  EXPECT_TRUE(output.contains("account 9901: Its parent account 99 is in neither version"))
      << output.toStdString();

  // The verification counts account 9901 and account 8888 as made on purpose.
  EXPECT_TRUE(output.contains("verify ended: nothing missing or different"))
      << output.toStdString();
  EXPECT_TRUE(output.contains(
      QRegularExpression("journal entry \\d+: 1 line\\(s\\) on account\\(s\\) 8888")))
      << output.toStdString();
  const QJsonObject found = report.value("verification").toObject();
  EXPECT_EQ(found.value("exitCode").toInt(), 0);
  EXPECT_TRUE(found.value("missing").toArray().isEmpty());
  for (const auto& [name, table] :
       {std::pair{"sales invoices", "SaleInvoice"}, std::pair{"purchase invoices", "BuyInvoice"},
        std::pair{"sales returns", "RSaleInvoice"}}) {
    const QJsonObject line = kindOf(found, name);
    EXPECT_GT(line.value("version1Rows").toInt(), 0) << name;
    EXPECT_EQ(line.value("version2Rows").toInt(),
              count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE BranchID = 1").arg(table)))
        << name;
    const QJsonObject net = line.value("sums").toArray().first().toObject();
    const double sum =
        scalar(QStringLiteral("SELECT SUM(Net) FROM %1 WHERE BranchID = 1").arg(table)).toDouble();
    EXPECT_NEAR(net.value("version2").toDouble(), sum, 0.005) << name;
    EXPECT_NEAR(net.value("expected").toDouble(), sum, 0.005) << name;
  }
  EXPECT_EQ(kindOf(found, "journal entries").value("missing").toInt(), 0);
  // Branch 1's accounts with every column (beside the demo's and the parties'), the journal
  // entries with the version-1 totals and first dates, and the lines of accounts held.
  const QStringList numbers = RowTexts("SELECT رقم_الحساب FROM Card", {}, accounts_);
  QStringList held = RowTexts(
      "SELECT AccNo, AccNameA, ffather, StartDebit, StartCredit, MaxBalance, debit, credit, "
      "ftype FROM CardAcc WHERE BranchID = 1 ORDER BY AccNo");
  held.removeIf([&](const QString& row) { return !numbers.contains(row.section('|', 0, 0)); });
  EXPECT_EQ(held, RowTexts("SELECT رقم_الحساب, TRIM(اسم_الحساب), CASE WHEN COALESCE(ffather, '') "
                           "= '' THEN '_' ELSE ffather END, افتتاحي_مدين, افتتاحي_دائن, "
                           "COALESCE(الحد_الاعلى, 0), مدين, دائن, ftype FROM Card WHERE "
                           "رقم_الفرع = 1 AND رقم_الحساب <> '9901' ORDER BY رقم_الحساب",
                           {}, accounts_));
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc a WHERE a.Haves <> (SELECT COUNT(*) FROM CardAcc c "
                  "WHERE c.BranchID = a.BranchID AND c.ffather = a.AccNo)"),
            0);
  Recordset entries;
  entries.open(
      "SELECT رقم_القيد AS entry, SUM(COALESCE(مدين, 0)) AS debit, SUM(COALESCE(دائن, "
      "0)) AS credit, MIN(rowid) AS first FROM Gaid GROUP BY رقم_القيد",
      accounts_);
  for (; !entries.eof(); entries.moveNext()) {
    const auto first =
        accounts_.firstRow("SELECT التاريخ FROM Gaid WHERE rowid = ?", {entries.value("first")});
    EXPECT_EQ(JoinedRows("SELECT ROUND(Debit * 100), ROUND(Credit * 100), fDate FROM Gaid WHERE "
                         "BranchID = 1 AND GaidNo = ?",
                         {entries.value("entry")}),
              QStringList({GeneralNumber(std::round(entries.value("debit").toDouble() * 100)),
                           GeneralNumber(std::round(entries.value("credit").toDouble() * 100)),
                           Version1DateText(first->value(0))})
                  .join('|'))
        << entries.value("entry").toInt();
  }
  QStringList expected;
  for (const QString& line : RowTexts("SELECT رقم_الحساب, REPLACE(البيان, '''', ''), "
                                      "COALESCE(مدين, 0), COALESCE(دائن, 0) FROM Gaid",
                                      {}, accounts_)) {
    if (count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1 AND AccNo = ?",
              {line.section('|', 0, 0)}) > 0)
      expected << line;
  }
  QStringList written = RowTexts(
      "SELECT c.AccNo, d.Details, d.Debit, d.Credit FROM GaidDetails d JOIN CardAcc c ON c.ID = "
      "d.AccNoID WHERE d.BillType = 8 AND d.BillNo = '0'");
  expected.sort();
  written.sort();
  EXPECT_EQ(written, expected);

  Recordset item;
  item.open("SELECT * FROM الاصناف WHERE رقم_الفرع = 1", truth_);
  for (; !item.eof(); item.moveNext()) {
    QStringList expected = {item.text("الوصف").replace('*', 'x'), "", "1", "1", "0"};
    for (const char* column :
         {"كميه_متوفره", "كميه_مطلوبه", "كميه_الجرد", "نقطه_الطلب", "سعر_التكلفه", "نسبه_بيع_قطاعي",
          "نسبه_بيع_جمله", "سعر_بيع_قطاعي", "ادنى_سعر_بيع", "سعر_بيع_جمله"}) {
      expected << GeneralNumber(cents(item.value(QString::fromUtf8(column)).toDouble()));
    }
    expected << QString("|1|0|1|1|0| ").split('|');
    EXPECT_EQ(JoinedRows("SELECT AName, EName, ClassID = (SELECT ID FROM Class WHERE BranchID = 1 "
                         "AND AName = ?), CASE WHEN ProviderID IS NULL THEN 1 ELSE 0 END, fType, "
                         "AQuantity, RQuantity, IQuantity, RPoint, CostPrice, P1RateU1, P2RateU1, "
                         "SPriceU1, LSPriceU1, WholeSalePriceU1, Location, JoinUnit, "
                         "ShowJoinPrice, U1, RateU1, MPriceU1, ExtraData FROM Category WHERE "
                         "BranchID = 1 AND CategoryNo = ?",
                         {item.text("التصنيف").trimmed(), item.text("رقم_الصنف")}),
              expected.join('|'));
  }
  struct Side {
    const char *headers, *lines, *returns, *returnLines, *table, *lineTable, *returnTable, *link;
  };
  for (const Side& side : {Side{"ف_مبيعات", "ف1_مبيعات", "ف_ارتجاع_مبيعات", "ف1_ارتجاع_مبيعات",
                                "SaleInvoice", "SInvSData", "RSaleInvoice", "InvSaleID"},
                           Side{"ف_مشتروات", "ف1_مشتروات", "ف_ارتجاع_مشتروات", "ف1_ارتجاع_مشتروات",
                                "BuyInvoice", "BInvData", "RBuyInvoice", "InvBuyID"}}) {
    const QString table = side.table;
    Recordset invoice;
    invoice.open(QStringLiteral("SELECT * FROM ") + side.headers + " WHERE رقم_الفرع = 1", truth_);
    for (; !invoice.eof(); invoice.moveNext()) {
      const QVariant number = invoice.value("رقم_الفاتورة");
      const double total = posted(truth_, side.lines, "رقم_الفاتورة", number);
      const double discount = cents(invoice.value("الخصم").toDouble());
      const qint64 id =
          scalar("SELECT ID FROM " + table + " WHERE BranchID = 1 AND InvoiceNo = ?", {number})
              .toLongLong();
      // The version-1 discount is spread over the lines, whatever the net shows.
      EXPECT_EQ(
          JoinedRows("SELECT h.fDate, h.Total, h.Discount, h.Net, h.Payment, h.note, "
                     "COUNT(l.ID), SUM(l.Quantity), ROUND(SUM(l.Discount) * 100) FROM " +
                         table + " h JOIN " + side.lineTable +
                         " l ON l.InvoiceID = h.ID WHERE h.ID = ? GROUP BY h.ID, h.fDate, "
                         "h.Total, h.Discount, h.Net, h.Payment, h.note",
                     {id}),
          QStringList(
              {Version1DateText(invoice.value("تاريخ_الفاتوره1")), GeneralNumber(total),
               GeneralNumber(discount), GeneralNumber(cents(total - discount)),
               invoice.value("نقدي").toBool() ? "0" : "1", invoice.text("ملاحظه"),
               QString::number(truthCount(QStringLiteral("SELECT COUNT(*) FROM ") + side.lines +
                                              " WHERE رقم_الفرع = 1 AND رقم_الفاتورة = ?",
                                          {number})),
               GeneralNumber(posted(truth_, side.lines, "رقم_الفاتورة", number, true)),
               GeneralNumber(std::round(discount * 100))})
              .join('|'))
          << table.toStdString() << ' ' << number.toString().toStdString();
      // The returns of the invoice, linked to it.
      Recordset ret;
      ret.open(QStringLiteral("SELECT * FROM ") + side.returns +
                   " WHERE رقم_الفرع = 1 AND رقم_الفاتورة = ?",
               truth_, LockType::ReadOnly, {number});
      for (; !ret.eof(); ret.moveNext()) {
        EXPECT_EQ(
            JoinedRows("SELECT " + QString(side.link) + ", fDate, ROUND(Net * 100) FROM " +
                           side.returnTable + " WHERE BranchID = 1 AND InvoiceNo = ?",
                       {ret.value("رقم_الارتجاع")}),
            QStringList({QString::number(id), Version1DateText(ret.value("تاريخ_الارتجاع1")),
                         GeneralNumber(std::round((posted(truth_, side.returnLines, "رقم_الارتجاع",
                                                          ret.value("رقم_الارتجاع")) -
                                                   ret.value("الخصم").toDouble()) *
                                                  100))})
                .join('|'));
      }
    }
    // Returns of invoices version 1 does not have are never reached.
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + QString(side.returnTable) + " WHERE BranchID = 1"),
              truthCount(QStringLiteral("SELECT COUNT(*) FROM ") + side.returns +
                         " r WHERE رقم_الفرع = 1 AND EXISTS (SELECT 1 FROM " + side.headers +
                         " i WHERE i.رقم_الفرع = 1 AND i.رقم_الفاتورة = r.رقم_الفاتورة)"));
  }
  // Each customer's balance is the net of its credit sales.
  Recordset customer;
  customer.open("SELECT ID, Debit FROM Customer WHERE BranchID = 1", MainConnection());
  for (; !customer.eof(); customer.moveNext()) {
    EXPECT_NEAR(customer.value("Debit").toDouble(),
                scalar("SELECT COALESCE(SUM(Net), 0) FROM SaleInvoice WHERE Payment = 1 AND "
                       "CustomerID = ?",
                       {customer.value("ID")})
                    .toDouble(),
                0.005);
  }
  checkParties("العملاء", "رقم_العميل", "Customer", "1203");
  checkParties("الموردين", "رقم_المورد", "Provider", "21");
  // Vouchers posted to the cash box and to their party's account.
  const QString cashBox =
      scalar("SELECT ID FROM CardAcc WHERE BranchID = 1 AND AccNo = '120101'").toString();
  Recordset voucher;
  voucher.open("SELECT * FROM السندات WHERE رقم_الفرع = 1", truth_);
  ASSERT_GT(voucher.recordCount(), 0);
  int payments = 0;
  for (; !voucher.eof(); voucher.moveNext()) {
    const bool payment = voucher.value("نوع_السند").toInt() == 0;
    payments += payment ? 1 : 0;
    const QString kind = payment ? "Payment" : "Receipt";
    const bool cheque = voucher.value("شيك").toInt() != 0;
    const QString amount = GeneralNumber(cents(voucher.value("المبلغ").toDouble()));
    const QString billDate = Version1DateText(voucher.value("تاريخ_الشيك1"));
    const QString party = voucher.value("المستفيد").toInt() == 0 ? "Customer" : "Provider";
    EXPECT_EQ(
        JoinedRows(QString("SELECT h.fDate, h.%1, h.Amount, h.fCheque, h.fCash, h.ftype, "
                           "h.BillNo, h.BillDate, h.Details, d.%2, d.fPayer, d.Details, d.BillNo, "
                           "d.BillDate, d.Amount FROM %3 h JOIN %3Details d ON d.%3ID = h.ID "
                           "WHERE h.BranchID = 1 AND h.%3No = ?")
                       .arg(payment ? "AccIDFrom" : "AccIDTo",
                            payment ? "To_AccNoID" : "From_AccNoID", kind),
                   {voucher.value("رقم_السند")}),
        QStringList({Version1DateText(voucher.value("التاريخ1")), cashBox, amount,
                     cheque ? amount : "0", cheque ? "0" : amount, cheque ? "1" : "0",
                     cheque ? voucher.text("رقم_الشيك") : "", cheque ? billDate : "",
                     voucher.text("مقابل"),
                     scalar("SELECT AccNoID FROM " + party + " WHERE BranchID = 1 AND fNo = ?",
                            {voucher.value("رقم_المستفيد")})
                         .toString(),
                     voucher.text("الاسم"), voucher.text("مقابل"), voucher.text("رقم_الشيك"),
                     billDate, amount})
            .join('|'));
  }
  EXPECT_EQ(JoinedRows("SELECT (SELECT COUNT(*) FROM Payment), (SELECT COUNT(*) FROM "
                       "PaymentDetails), (SELECT COUNT(*) FROM Receipt), (SELECT COUNT(*) FROM "
                       "ReceiptDetails)"),
            QString("%1|%1|%2|%2").arg(payments).arg(voucher.recordCount() - payments));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer WHERE BranchID = 2"), 0);
  EXPECT_EQ(locksHeld(), 0);

  // A run that fails before its first record still leaves its report.
  QFile::remove(reportPath());
  auto [failed, said] = runOnBranch1({"--batch", "branch", "--report", reportPath(),
                                      "--stock-folder", fixtures_ + "/stock", "--cashier", "999"});
  EXPECT_EQ(failed, 1) << said.toStdString();
  EXPECT_EQ(readReport()["ended"].toString(), "failed: no cashier 999 in version-2 branch 1");
  EXPECT_EQ(readReport()["exitCode"].toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, FixtureBranchTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
