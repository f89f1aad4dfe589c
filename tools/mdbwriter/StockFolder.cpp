#include <QDir>
#include <algorithm>
#include <cmath>

#include "tools/mdbwriter/ArabicWords.h"
#include "tools/mdbwriter/V1Generator.h"
#include "tools/mdbwriter/V1Schema.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

enum Stream : quint64 {
  kItem = 10,
  kCustomer,
  kProvider,
  kSale,
  kPurchase,
  kVoucher,
};

enum class Side { Sales, Purchases };

constexpr int kUnknownParty = 99;
constexpr int kOrphanInvoice = 424242;

struct Line {
  QString item;
  QString description;
  Value quantity;
  Currency price;
};

struct Invoice {
  int number = 0;
  QDateTime date;
  int party = 0;
  QString partyName;
  bool cash = false;
  std::vector<Line> lines;
  Currency total;
  Currency discount;
  Value note;
};

QDateTime day(int month, int dayOfMonth) {
  return QDateTime(QDate(2003, month, dayOfMonth), QTime());
}

Currency times(Currency price, const Value& quantity) {
  const double* q = quantity.asReal();
  const qint64* i = quantity.asInteger();
  const double factor = q ? *q : i ? static_cast<double>(*i) : 0.0;
  return {std::llround(static_cast<double>(price.tenThousandths) * factor)};
}

// Every record is generated from its own index, so each table can be written
// in one streaming pass and still agree with the others.
class StockContent {
 public:
  explicit StockContent(const V1Options& options)
      : seed_(options.seed),
        sizes_(options.sizes),
        customers_(sizes_.customers > 0 ? sizes_.customers : std::max(6, sizes_.invoices / 4)),
        providers_(sizes_.providers > 0 ? sizes_.providers : std::max(4, sizes_.invoices / 6)),
        purchases_(sizes_.purchases > 0 ? sizes_.purchases : std::max(1, sizes_.invoices / 2)),
        vouchers_(sizes_.vouchers > 0 ? sizes_.vouchers : std::max(7, sizes_.invoices / 2)) {}

  static QString itemCode(int index) {
    return QString::number(101 + index).rightJustified(4, QLatin1Char('0'));
  }

  QString partyName(Side side, int number) const {
    if (side == Side::Sales && number == 2) return QStringLiteral("مؤسسة دار 'النخبة' التجارية");
    Random random(seed_, side == Side::Sales ? kCustomer : kProvider, static_cast<quint64>(number));
    return side == Side::Sales ? QStringLiteral("مؤسسة ") + personName(random)
                               : QStringLiteral("شركة %1 للتوريدات").arg(familyName(random));
  }

  int parties(Side side) const { return side == Side::Sales ? customers_ : providers_; }
  int invoices(Side side) const { return side == Side::Sales ? sizes_.invoices : purchases_; }
  int returns(Side side) const {
    if (sizes_.returnEvery > 0) return invoices(side) / sizes_.returnEvery;
    return std::max(3, invoices(side) / 8) + 1;
  }
  int returnEvery() const { return sizes_.returnEvery; }
  int vouchers() const { return vouchers_; }
  int items() const { return sizes_.items; }
  quint64 seed() const { return seed_; }

  Invoice invoice(Side side, int index) const {
    Random random(seed_, side == Side::Sales ? kSale : kPurchase, static_cast<quint64>(index));
    Invoice inv;
    inv.number = (side == Side::Sales ? 1000 : 5000) + index;
    inv.date = index == 1   ? day(1, 1)
               : index == 2 ? day(12, 31)
               : index == 3 ? day(1, 2)
                            : QDateTime(QDate(2003, 1, 1).addDays(random.below(365)), QTime());
    inv.party = index == 4 ? kUnknownParty : index % 6 == 0 ? 0 : random.between(1, parties(side));
    inv.partyName = inv.party == 0               ? QStringLiteral("عميل نقدي")
                    : inv.party == kUnknownParty ? QStringLiteral("طرف %1").arg(inv.party)
                                                 : partyName(side, inv.party);
    inv.cash = random.percent(60);
    const int lines = sizes_.lines > 0 ? sizes_.lines : random.between(1, 4);
    for (int i = 0; i < lines; ++i) {
      Line line;
      line.item =
          index == 4 && i == lines - 1 ? QStringLiteral("9999") : itemCode(random.below(items()));
      line.description = QStringLiteral("سطر %1").arg(i);
      line.quantity = random.percent(3)    ? Value()
                      : random.percent(3)  ? Value::real(0)
                      : random.percent(10) ? Value::real(2.5)
                                           : Value::real(random.between(1, 12));
      line.price = Currency::fromDouble(random.amount(5, 80));
      inv.total.tenThousandths += times(line.price, line.quantity).tenThousandths;
      inv.lines.push_back(line);
    }
    if (random.percent(15))
      inv.discount = Currency::fromCents(std::llround(inv.total.tenThousandths / 2000.0));
    if (index % 97 == 50) {
      inv.note = Value::text(QStringLiteral("شروط التسليم والدفع المتفق عليها. ").repeated(80));
    } else if (random.percent(10)) {
      inv.note = Value::text(QStringLiteral("ملاحظة: تسليم 'عاجل'"));
    }
    return inv;
  }

 private:
  quint64 seed_;
  V1Sizes sizes_;
  int customers_;
  int providers_;
  int purchases_;
  int vouchers_;
};

std::vector<Value> invoiceRow(int branch, const Invoice& inv) {
  const Currency remaining{inv.total.tenThousandths - inv.discount.tenThousandths};
  return {Value::integer(branch),
          Value::integer(inv.number),
          Value::dateTime(inv.date),
          Value::dateTime(inv.date),
          Value::integer(inv.party),
          Value::text(inv.partyName),
          Value::boolean(inv.cash),
          Value::currency(inv.total),
          Value::currency(inv.discount),
          Value::currency(remaining),
          inv.note};
}

std::vector<Value> lineRow(int branch, int invoice, const Line& line) {
  return {Value::integer(branch),        Value::integer(invoice), Value::text(line.item),
          Value::text(line.description), line.quantity,           Value::currency(line.price)};
}

// Returns come in groups of three: two on one invoice, one on another; the
// last return names an invoice version 1 does not have. With returnEvery,
// return r returns invoice r x returnEvery instead.
struct Return {
  Invoice header;
  int invoiceNumber = 0;
  Line line;
};

Return makeReturn(const StockContent& content, Side side, int number) {
  Return ret;
  ret.header.number = number;
  ret.header.date = day(12, 15);
  if (content.returnEvery() == 0 && number == content.returns(side)) {
    ret.invoiceNumber = kOrphanInvoice;
    ret.header.date = day(7, 7);
    ret.header.partyName = QStringLiteral("مرتجع يتيم");
    ret.header.cash = true;
    ret.line = {StockContent::itemCode(0), {}, Value::real(1), Currency::fromCents(1000)};
  } else {
    const int group = (number - 1) / 3;
    const int offset = (number - 1) % 3 == 2 ? 4 : 0;
    const int index = content.returnEvery() > 0 ? number * content.returnEvery()
                                                : 1 + (group * 8 + offset) % content.invoices(side);
    const Invoice inv = content.invoice(side, index);
    ret.invoiceNumber = inv.number;
    ret.header.party = inv.party;
    ret.header.partyName = inv.partyName;
    ret.header.cash = inv.cash;
    const Line& sold = inv.lines[static_cast<size_t>(number) % inv.lines.size()];
    ret.line = {sold.item, {}, number % 5 == 2 ? Value() : Value::real(1), sold.price};
  }
  ret.line.description = QStringLiteral("مرتجع");
  ret.header.total = ret.line.price;
  return ret;
}

std::vector<Value> returnRow(const Return& ret) {
  // A return row is an invoice row whose first date gives way to the number
  // of the invoice returned.
  std::vector<Value> row = invoiceRow(1, ret.header);
  row[2] = Value::integer(ret.invoiceNumber);
  return row;
}

void writeItems(JetDatabaseWriter& db, const StockContent& content, bool secondBranch) {
  const TableSpec spec = itemTable();
  TableWriter& items = db.addTable(spec.name, spec.columns);
  const int extra = secondBranch ? std::min(2, content.items()) : 0;
  for (int i = 0; i < content.items() + extra; ++i) {
    const bool ofSecond = i >= content.items();
    const int index = ofSecond ? i - content.items() : i;
    Random random(content.seed(), kItem, static_cast<quint64>(i));
    const double cost = random.amount(5, 100);
    items.addRow({Value::integer(ofSecond ? 2 : 1), Value::text(StockContent::itemCode(index)),
                  Value::text(productName(index)), Value::real(random.between(0, 500)),
                  Value::real(random.between(0, 50)),
                  random.percent(20) ? Value() : Value::real(random.between(0, 300)),
                  Value::real(random.between(0, 30)), Value::currency(Currency::fromDouble(cost)),
                  Value::real(25), Value::real(10),
                  Value::currency(Currency::fromDouble(std::round(cost * 125) / 100)),
                  Value::currency(Currency::fromDouble(std::round(cost * 105) / 100)),
                  Value::currency(Currency::fromDouble(std::round(cost * 110) / 100)),
                  Value::text(classification(random))});
  }
}

void writeParties(JetDatabaseWriter& db, const StockContent& content, Side side,
                  bool secondBranch) {
  const TableSpec spec = side == Side::Sales ? customerTable() : providerTable();
  TableWriter& parties = db.addTable(spec.name, spec.columns);
  for (int number = 1; number <= content.parties(side); ++number) {
    Random random(content.seed(), side == Side::Sales ? kCustomer : kProvider,
                  static_cast<quint64>(number) + 100000);
    const QString phonePrefix =
        side == Side::Sales ? QStringLiteral("01-4") : QStringLiteral("02-6");
    parties.addRow(
        {Value::integer(1), Value::integer(number), Value::text(content.partyName(side, number)),
         Value::text(firstName(random)), Value::text(cityDistrict(random)),
         random.percent(10)
             ? Value()
             : Value::text(phonePrefix + QString::number(random.between(100000, 999999))),
         random.percent(35)
             ? Value()
             : Value::text(phonePrefix + QString::number(random.between(100000, 999999)))});
  }
  if (secondBranch) {
    const QString name = side == Side::Sales ? QStringLiteral("عميل الخبر الأول")
                                             : QStringLiteral("مورد الخبر الأول");
    parties.addRow({Value::integer(2), Value::integer(1), Value::text(name), Value(), Value(),
                    Value(), Value()});
  }
}

void writeInvoices(JetDatabaseWriter& db, const StockContent& content, Side side,
                   bool secondBranch) {
  const bool sales = side == Side::Sales;
  const TableSpec headers = sales ? salesInvoiceTable() : purchaseInvoiceTable();
  TableWriter& headerRows = db.addTable(headers.name, headers.columns);
  for (int i = 1; i <= content.invoices(side); ++i)
    headerRows.addRow(invoiceRow(1, content.invoice(side, i)));
  Invoice second;  // a purchase of branch 2
  second.number = 1;
  second.date = day(5, 5);
  second.party = 1;
  second.partyName = QStringLiteral("طرف الخبر");
  second.cash = true;
  second.lines = {{StockContent::itemCode(0), QStringLiteral("سطر 0"), Value::real(4),
                   Currency::fromCents(900)}};
  second.total = Currency::fromCents(3600);
  const bool withSecond = secondBranch && !sales;
  if (withSecond) headerRows.addRow(invoiceRow(2, second));

  const TableSpec lines = sales ? salesLineTable() : purchaseLineTable();
  TableWriter& lineRows = db.addTable(lines.name, lines.columns);
  for (int i = 1; i <= content.invoices(side); ++i) {
    const Invoice inv = content.invoice(side, i);
    for (const Line& line : inv.lines) lineRows.addRow(lineRow(1, inv.number, line));
  }
  if (withSecond) lineRows.addRow(lineRow(2, second.number, second.lines.front()));

  if (!sales) return;
  // Cost of each sold line; the last line of invoice 2 has none.
  const TableSpec costs = salesCostTable();
  TableWriter& costRows = db.addTable(costs.name, costs.columns);
  for (int i = 1; i <= content.invoices(side); ++i) {
    const Invoice inv = content.invoice(side, i);
    for (size_t l = 0; l < inv.lines.size(); ++l) {
      if (i == 2 && l + 1 == inv.lines.size()) continue;
      const Line& line = inv.lines[l];
      costRows.addRow({Value::integer(1), Value::integer(inv.number), Value::text(line.item),
                       Value::currency(Currency::fromCents(line.price.tenThousandths * 7 / 1000))});
    }
  }
}

void writeReturns(JetDatabaseWriter& db, const StockContent& content, Side side) {
  const bool sales = side == Side::Sales;
  const TableSpec headers = sales ? salesReturnTable() : purchaseReturnTable();
  TableWriter& headerRows = db.addTable(headers.name, headers.columns);
  for (int r = 1; r <= content.returns(side); ++r)
    headerRows.addRow(returnRow(makeReturn(content, side, r)));
  const TableSpec lines = sales ? salesReturnLineTable() : purchaseReturnLineTable();
  TableWriter& lineRows = db.addTable(lines.name, lines.columns);
  for (int r = 1; r <= content.returns(side); ++r) {
    const Return ret = makeReturn(content, side, r);
    const Line& line = ret.line;
    lineRows.addRow({Value::integer(1), Value::integer(r), Value::integer(ret.invoiceNumber),
                     Value::text(line.item), Value::text(line.description), line.quantity,
                     Value::currency(line.price)});
  }
}

// Payments (kind 0) and receipts (1, 2) to customers (0) and providers (1),
// in cash or by cheque; voucher 4 names a party version 1 does not have.
void writeVouchers(JetDatabaseWriter& db, const StockContent& content) {
  const TableSpec spec = voucherTable();
  TableWriter& vouchers = db.addTable(spec.name, spec.columns);
  for (int v = 1; v <= content.vouchers(); ++v) {
    Random random(content.seed(), kVoucher, static_cast<quint64>(v));
    const int beneficiary = random.below(2);
    const Side side = beneficiary == 0 ? Side::Sales : Side::Purchases;
    const int party = v == 4 ? 77 : random.between(1, content.parties(side));
    const QDateTime date(QDate(2003, 1, 1).addDays(random.below(365)), QTime());
    const bool cheque = v == 4 || random.percent(25);
    vouchers.addRow(
        {Value::integer(1), Value::integer(v), Value::dateTime(date),
         Value::integer(random.below(3)), Value::integer(beneficiary), Value::integer(party),
         Value::text(beneficiary == 0 ? QStringLiteral("عميل") : QStringLiteral("مورد")),
         Value::text(party == 77 ? QStringLiteral("طرف رقم 77") : content.partyName(side, party)),
         Value::currency(Currency::fromDouble(random.amount(100, 5000))),
         Value::integer(cheque ? 1 : 0),
         cheque ? Value::text(QStringLiteral("CHQ-%1").arg(5000 + v)) : Value(),
         cheque && v % 7 != 3 ? Value::dateTime(date.addDays(-random.below(90))) : Value(),
         Value::text(random.percent(15) ? QStringLiteral("دفعة 'مقدمة' من الحساب")
                                        : QStringLiteral("سداد فاتورة"))});
  }
}

}  // namespace

void writeStockFolder(const QString& folder, const V1Options& options) {
  QDir().mkpath(folder);
  const StockContent content(options);
  const bool secondBranch = options.sizes.branches >= 2;
  JetDatabaseWriter db(QDir(folder).filePath(QStringLiteral("Stock001.mdb")), options.writer);
  const TableSpec branches = stockBranchTable();
  TableWriter& branchRows = db.addTable(branches.name, branches.columns);
  for (int b = 1; b <= options.sizes.branches; ++b) {
    branchRows.addRow({Value::text(storeBranchName(b)), Value::integer(b)});
  }
  writeItems(db, content, secondBranch);
  writeParties(db, content, Side::Sales, secondBranch);
  writeParties(db, content, Side::Purchases, secondBranch);
  writeInvoices(db, content, Side::Sales, secondBranch);
  writeReturns(db, content, Side::Sales);
  writeInvoices(db, content, Side::Purchases, secondBranch);
  writeReturns(db, content, Side::Purchases);
  writeVouchers(db, content);
  db.close();
}

}  // namespace qalvoro::mdbwriter::v1
