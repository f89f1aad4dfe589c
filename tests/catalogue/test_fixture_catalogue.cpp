// End to end on the shared version-1 stock folder: the items, customers,
// providers, vouchers, invoices and returns of branch 1 through the
// unattended runs, checked column by column against the version-1 rows.

#include <QDir>
#include <QFile>
#include <cmath>

#include "host/db/Recordset.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/posting/PostingTest.h"
#include "tests/support/Fixtures.h"
#include "v1source/convert/V1Converter.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro::test {
namespace {

double cents(double value) { return std::round(value * 100) / 100; }

class FixtureCatalogueTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
  void SetUp() override {
    CatalogueTest::SetUp();
    source_ = QDir(FixturesFolder()).filePath("v1/stock");
    if (!QFile::exists(QDir(source_).filePath("Stock001.mdb"))) {
      GTEST_SKIP() << "the shared version-1 fixtures are not at " << source_.toStdString();
    }
    V1Converter().convert(QDir(source_).filePath("Stock001.mdb"), appPath() + "truth.sqlite");
    truth_.open(appPath() + "truth.sqlite");
  }

  void runBatch(const QStringList& options) {
    auto [code, output] = runHost(
        QStringList{"--batch", "catalogue", "--app-path", appPath(), "--settings", "Batch", "--db",
                    version2Path(), "--v1-folder", source_, "--old-branch", "1", "--branch", "1"} +
        options);
    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.contains("ended: every row was processed")) << output.toStdString();
  }

  // The parties of a version-1 table against their version-2 rows, with an
  // account of their own under the parent; the invoices and vouchers may have
  // added placeholders ("??") for parties version 1 does not have (a voucher
  // gives its placeholder an account named as the voucher names it). The
  // balance columns stay 0 but Debit, which credit sales raise.
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

  // The vouchers of branch 1 against their version-2 headers and detail
  // rows, each posted to the cash box and to its party's account.
  void checkVouchers() {
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
          JoinedRows(
              QString("SELECT h.fDate, h.%1, h.Amount, h.fCheque, h.fCash, h.ftype, "
                      "h.BillNo, h.BillDate, h.Details, d.%2, d.fPayer, d.Details, d.BillNo, "
                      "d.BillDate, d.Amount FROM %3 h JOIN %3Details d ON d.%3ID = h.ID "
                      "WHERE h.BranchID = 1 AND h.%3No = ?")
                  .arg(payment ? "AccIDFrom" : "AccIDTo", payment ? "To_AccNoID" : "From_AccNoID",
                       kind),
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
  }

  int truthCount(const QString& sql, const QVariantList& params = {}) {
    const auto row = truth_.firstRow(sql, params);
    return row ? row->value(0).toInt() : 0;
  }

  QString source_;
  Connection truth_;
};

TEST_P(FixtureCatalogueTest, ImportsEveryKindOfRecordOfBranchOne) {
  runBatch({"--kind", "all", "--customers-account", "1203", "--customer-accounts",
            "--providers-account", "21", "--provider-accounts", "--cashier", "120101"});

  Recordset item;
  item.open("SELECT * FROM الاصناف WHERE رقم_الفرع = 1", truth_);
  ASSERT_GT(item.recordCount(), 0);
  // The invoices may have added placeholders for items version 1 no longer has.
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE BranchID = 1 AND AName NOT LIKE ?",
                  {QStringLiteral("% صنف محذوف")}),
            item.recordCount());
  for (; !item.eof(); item.moveNext()) {
    QStringList expected = {item.text("الوصف").replace('*', 'x'), "", "1", "1", "0"};
    for (const char* column :
         {"كميه_متوفره", "كميه_مطلوبه", "كميه_الجرد", "نقطه_الطلب", "سعر_التكلفه", "نسبه_بيع_قطاعي",
          "نسبه_بيع_جمله", "سعر_بيع_قطاعي", "ادنى_سعر_بيع", "سعر_بيع_جمله"}) {
      expected << GeneralNumber(cents(item.value(QString::fromUtf8(column)).toDouble()));
    }
    expected << ""
             << "1"
             << "0"
             << "1"
             << "1"
             << "0"
             << " ";
    EXPECT_EQ(JoinedRows("SELECT AName, EName, ClassID = (SELECT ID FROM Class WHERE BranchID = 1 "
                         "AND AName = ?), CASE WHEN ProviderID IS NULL THEN 1 ELSE 0 END, fType, "
                         "AQuantity, RQuantity, IQuantity, RPoint, CostPrice, P1RateU1, P2RateU1, "
                         "SPriceU1, LSPriceU1, WholeSalePriceU1, Location, JoinUnit, "
                         "ShowJoinPrice, U1, RateU1, MPriceU1, ExtraData FROM Category WHERE "
                         "BranchID = 1 AND CategoryNo = ?",
                         {item.text("التصنيف").trimmed(), item.text("رقم_الصنف")}),
              expected.join('|'));
  }
  checkParties("العملاء", "رقم_العميل", "Customer", "1203");
  checkParties("الموردين", "رقم_المورد", "Provider", "21");
  checkVouchers();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer WHERE BranchID = 2"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables WHERE fLocked = TRUE"), 0);

  // The whole file again, overwriting everything: the customers keep the
  // balances their credit sales posted, and nothing is doubled.
  const double debit = scalar("SELECT SUM(Debit) FROM Customer").toDouble();
  ASSERT_GT(debit, 0);
  const int invoices = count("SELECT COUNT(*) FROM SaleInvoice");
  const int lines = count("SELECT COUNT(*) FROM SInvSData");
  runBatch({"--kind", "all", "--customers-account", "1203", "--customer-accounts",
            "--providers-account", "21", "--provider-accounts", "--cashier", "120101",
            "--overwrite", "yes-all"});
  EXPECT_NEAR(scalar("SELECT SUM(Debit) FROM Customer").toDouble(), debit, 0.005);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SaleInvoice"), invoices);
  EXPECT_EQ(count("SELECT COUNT(*) FROM SInvSData"), lines);
  checkVouchers();
}

// The sum of a version-1 document's lines as the import posts them: a Null
// or 0 quantity counts as 1.
double postedTotal(Connection& truth, const QString& lineTable, const QString& numberColumn,
                   const QVariant& number, bool quantities = false) {
  Recordset lines;
  lines.open("SELECT * FROM " + lineTable + " WHERE رقم_الفرع = 1 AND " + numberColumn + " = ?",
             truth, LockType::ReadOnly, {number});
  double total = 0;
  for (; !lines.eof(); lines.moveNext()) {
    const double quantity = lines.value("الكميه").toDouble();
    const double posted = quantity == 0 ? 1 : quantity;
    total += quantities ? CLng(posted) : cents(posted * lines.value("السعر").toDouble());
  }
  return total;
}

double postedQuantity(Connection& truth, const QString& lineTable, const QVariant& number) {
  return postedTotal(truth, lineTable, "رقم_الفاتورة", number, true);
}

TEST_P(FixtureCatalogueTest, ImportsTheInvoicesAndReturnsOfBranchOne) {
  runBatch({"--kind", "items"});
  runBatch({"--kind", "customers", "--customers-account", "1203"});
  runBatch({"--kind", "providers", "--providers-account", "21"});
  runBatch({"--kind", "sales", "--cashier", "120101"});
  runBatch({"--kind", "purchases", "--cashier", "120102"});

  struct Side {
    const char* headers;
    const char* lines;
    const char* returns;
    const char* returnLines;
    const char* table;
    const char* lineTable;
    const char* returnTable;
    const char* returnLineTable;
    const char* link;
  };
  for (const Side& side :
       {Side{"ف_مبيعات", "ف1_مبيعات", "ف_ارتجاع_مبيعات", "ف1_ارتجاع_مبيعات", "SaleInvoice",
             "SInvSData", "RSaleInvoice", "RSInvSData", "InvSaleID"},
        Side{"ف_مشتروات", "ف1_مشتروات", "ف_ارتجاع_مشتروات", "ف1_ارتجاع_مشتروات", "BuyInvoice",
             "BInvData", "RBuyInvoice", "RBInvData", "InvBuyID"}}) {
    const QString table = side.table;
    Recordset invoice;
    invoice.open(QStringLiteral("SELECT * FROM ") + side.headers + " WHERE رقم_الفرع = 1", truth_);
    ASSERT_GT(invoice.recordCount(), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE BranchID = 1"),
              invoice.recordCount());
    for (; !invoice.eof(); invoice.moveNext()) {
      const QVariant number = invoice.value("رقم_الفاتورة");
      const double total = postedTotal(truth_, side.lines, "رقم_الفاتورة", number);
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
               GeneralNumber(postedQuantity(truth_, side.lines, number)),
               GeneralNumber(std::round(discount * 100))})
              .join('|'))
          << table.toStdString() << ' ' << number.toString().toStdString();
      // The returns of the invoice, linked to it.
      Recordset ret;
      ret.open(QStringLiteral("SELECT * FROM ") + side.returns +
                   " WHERE رقم_الفرع = 1 AND رقم_الفاتورة = ?",
               truth_, LockType::ReadOnly, {number});
      for (; !ret.eof(); ret.moveNext()) {
        EXPECT_EQ(JoinedRows("SELECT " + QString(side.link) + ", fDate, ROUND(Net * 100) FROM " +
                                 side.returnTable + " WHERE BranchID = 1 AND InvoiceNo = ?",
                             {ret.value("رقم_الارتجاع")}),
                  QStringList({QString::number(id), Version1DateText(ret.value("تاريخ_الارتجاع1")),
                               GeneralNumber(
                                   std::round((postedTotal(truth_, side.returnLines, "رقم_الارتجاع",
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
  EXPECT_GT(count("SELECT COUNT(*) FROM Customer WHERE Debit > 0"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM LockTables WHERE fLocked = TRUE"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, FixtureCatalogueTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
