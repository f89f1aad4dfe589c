#include "posting/InvoiceLines.h"

#include "host/Globals.h"
#include "host/forms/FlexGrid.h"
#include "host/helpers/Numbers.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

constexpr int kColumns = 17;
// A pass count no spread can need; it only guards against a percentage that
// keeps changing without placing the discount.
constexpr int kMostPasses = 1000;

struct ColumnLayout {
  const char* title;
  int widthTwips;
};

const ColumnLayout kLayout[kColumns] = {
    {"م", 450},      {"رقم الصنف", 1300}, {"اسم الصنف", 2600}, {"الوحدة", 1000},   {"الكمية", 900},
    {"السعر", 1050}, {"المجموع", 1100},   {"الحسم", 900},      {"الاجمالي", 1100}, {nullptr, 0},
    {nullptr, 0},    {nullptr, 0},        {nullptr, 0},        {nullptr, 0},       {nullptr, 0},
    {nullptr, 0},    {nullptr, 0}};

Currency currency(const QString& text) { return Currency::fromText(text); }

}  // namespace

QString InvoiceLines::cell(int row, int col) const { return grid_.textMatrix(row, col); }

void InvoiceLines::setCell(int row, int col, const QString& text) {
  grid_.setTextMatrix(row, col, text);
}

QString InvoiceLines::amount(double value) const { return Format(value, globals().DecimalFormat); }

bool InvoiceLines::isLine(int row) const { return Val(cell(row, 11)) != 0; }

void InvoiceLines::clear() {
  if (grid_.cols() != kColumns) grid_.setCols(kColumns);
  grid_.setRows(2);
  grid_.clearCells();
  for (int col = 0; col < kColumns; ++col) {
    const ColumnLayout& layout = kLayout[col];
    if (layout.title) setCell(0, col, Translate(QString::fromUtf8(layout.title)));
    grid_.setColWidthTwips(col, layout.widthTwips);
    grid_.setColAlignment(col, col == 1 ? 0 : 1);
  }
  grid_.setRow(1);
}

void InvoiceLines::totals() {
  const int current = grid_.row();
  Currency gross;
  Currency discount;
  for (int row = 1; row < grid_.rows(); ++row) {
    gross += currency(cell(row, 8)) + currency(cell(row, 7));
    discount += currency(cell(row, 7));
    const double quantity = Val(cell(row, 4));
    if (totalsStyle_ == TotalsStyle::Sales && Val(cell(row, 8)) != 0 && quantity != 0) {
      setCell(row, 13, amount(Val(cell(row, 8)) / quantity));
    }
  }
  boxes_.total = amount(gross.toDouble());
  boxes_.discount = amount(discount.toDouble());
  if (totalsStyle_ == TotalsStyle::Sales) {
    boxes_.percent = globals().DecimalFormat;
    if (Val(boxes_.discount) > 0 && Val(boxes_.total) != 0) {
      boxes_.percent = amount(discount.toDouble() / Val(boxes_.total) * 100);
    }
    boxes_.amount = amount(Val(boxes_.total) - Val(boxes_.discount));
  } else {
    boxes_.amount = amount((gross - discount).toDouble());
  }
  grid_.setRow(current);
}

void InvoiceLines::resetLines() {
  for (int row = 1; row < grid_.rows(); ++row) {
    if (!isLine(row)) continue;
    setCell(row, 7, QString());
    setCell(row, 8, cell(row, 6));
    setCell(row, 0, QString::number(row));
  }
}

void InvoiceLines::passOfShares(double percent) {
  for (int row = 1; row < grid_.rows(); ++row) {
    if (!isLine(row) || cell(row, 0).contains('*')) continue;
    const double share = Val(amount(Val(cell(row, 8)) / 100 * percent));
    if (Val(cell(row, 8)) - share >= 0) {
      setCell(row, 7, amount(Val(cell(row, 7)) + share));
      setCell(row, 8, amount(Val(cell(row, 6)) - Val(cell(row, 7))));
    } else {
      setCell(row, 8, amount(0 * Val(cell(row, 4))));
      setCell(row, 7, amount(Val(cell(row, 6)) - Val(cell(row, 8))));
    }
    if (Val(cell(row, 8)) == 0) setCell(row, 0, cell(row, 0) + '*');
  }
}

void InvoiceLines::spreadInPasses(double discount, double gross) {
  double percent = discount != 0 && gross > 0 ? discount / gross * 100 : 0;
  if (percent == 0) {
    resetLines();
    return;
  }
  int repeats = 0;
  for (int pass = 0; pass < kMostPasses && percent > 0; ++pass) {
    passOfShares(percent);
    double placed = 0;
    for (int row = 1; row < grid_.rows(); ++row) {
      if (isLine(row)) placed += Val(cell(row, 7));
    }
    if (Currency::fromDouble(placed) == Currency::fromDouble(discount)) return;
    double next = Val(amount((discount - placed) / gross * 100));
    if (next == percent) ++repeats;
    if (next < 0 || repeats >= 14) next = 0;
    if (next == 0 || repeats >= 15) return;
    percent = next;
  }
}

void InvoiceLines::spreadProportionally(double discount, double gross) {
  resetLines();
  if (discount <= 0 || gross <= 0) return;
  std::vector<int> lines;
  Currency linesGross;
  for (int row = 1; row < grid_.rows(); ++row) {
    if (!isLine(row)) continue;
    lines.push_back(row);
    linesGross += currency(cell(row, 6));
  }
  Currency remaining = Currency::fromDouble(discount);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int row = lines[i];
    const Currency lineGross = currency(cell(row, 6));
    Currency share = remaining;
    if (i + 1 < lines.size() && linesGross.tenThousandths() > 0) {
      share = Currency::fromText(
          amount(lineGross.toDouble() * remaining.toDouble() / linesGross.toDouble()));
    }
    if (share.tenThousandths() > lineGross.tenThousandths()) share = lineGross;
    if (share.tenThousandths() < 0) share = Currency();
    setCell(row, 7, amount(share.toDouble()));
    setCell(row, 8, amount((lineGross - share).toDouble()));
    remaining = remaining - share;
    linesGross = linesGross - lineGross;
  }
}

void InvoiceLines::actualPrices() {
  for (int row = 1; row < grid_.rows(); ++row) {
    const double quantity = Val(cell(row, 4));
    if (quantity != 0) setCell(row, 13, amount(Val(cell(row, 8)) / quantity));
  }
}

void InvoiceLines::lineDiscount(double discount, double gross) {
  {
    const PointerGuard hourglass(MousePointer::Hourglass);
    if (spreadStyle_ == SpreadStyle::Passes) {
      spreadInPasses(discount, gross);
    } else {
      spreadProportionally(discount, gross);
    }
    actualPrices();
  }
  totals();
}

void InvoiceLines::discountEntered(DiscountSpread spread) {
  if (totalsStyle_ == TotalsStyle::Purchase) {
    if (boxes_.discount.contains('%')) {
      const double percent = Val(QString(boxes_.discount).remove('%'));
      boxes_.discount = amount(Val(boxes_.total) * percent / 100);
    }
    const Currency discount = currency(boxes_.discount);
    const bool shown = discount == currency(boxes_.total) - currency(boxes_.amount);
    if ((spread == DiscountSpread::Always || !shown) && discount.tenThousandths() >= 0) {
      lineDiscount(0, Val(boxes_.total));
      lineDiscount(discount.toDouble(), Val(boxes_.total));
    }
    totals();
    return;
  }
  if (boxes_.discount.contains('%')) {
    const double percent = Val(QString(boxes_.discount).remove('%'));
    boxes_.discount = GeneralNumber(Val(boxes_.total) / 100 * percent);
  }
  const Currency typed = currency(boxes_.discount);
  if (typed.tenThousandths() > 0) lineDiscount(0, Val(boxes_.total));
  lineDiscount(typed.toDouble(), Val(boxes_.total));
  const qint64 rest = (typed - currency(boxes_.discount)).tenThousandths();
  // A rest below one goes onto the first line; a rest of zero leaves it as
  // it is, so that a discount of 0 keeps every discount cell empty.
  if (rest != 0 && rest > -10000 && rest < 10000) {
    grid_.setRow(1);
    setCell(1, 7, GeneralNumber(Val(cell(1, 7)) + rest / 10000.0));
  }
  if (rest > 0) {
    const double again = Val(boxes_.discount) + rest / 10000.0;
    boxes_.discount = GeneralNumber(again);
    if (again > 0) {
      lineDiscount(0, Val(boxes_.total));
      lineDiscount(again, Val(boxes_.total));
    }
  }
  totals();
}

void InvoiceLines::lineChanged(int row) {
  const double quantity = Val(cell(row, 4));
  setCell(row, 0, QString::number(row));
  setCell(row, 6, amount(quantity * Val(cell(row, 5))));
  setCell(row, 10, cell(row, 4));
  setCell(row, 8, amount(Val(cell(row, 6)) - Val(cell(row, 7))));
  if (quantity != 0) setCell(row, 13, amount(Val(cell(row, 8)) / quantity));
  totals();
}

void InvoiceLines::enterItem(int row, const ItemEntry& item) {
  setCell(row, 2, item.name);
  setCell(row, 3, item.unitName);
  if (Val(cell(row, 4)) == 0) setCell(row, 4, QStringLiteral("1"));
  setCell(row, 5, amount(item.price));
  setCell(row, 9, QString::number(item.unitId));
  setCell(row, 11, QString::number(item.categoryId));
  setCell(row, 12, QStringLiteral("0"));
  setCell(row, 14, QStringLiteral("0"));
  setCell(row, 15, GeneralNumber(item.costPrice));
  if (row == grid_.rows() - 1) grid_.setRows(grid_.rows() + 1);
  lineChanged(row);
}

bool InvoiceLines::hasLines() const {
  for (int row = 1; row < grid_.rows() - 1; ++row) {
    if (isLine(row)) return true;
  }
  return false;
}

std::vector<GridRow> InvoiceLines::rows() const {
  std::vector<GridRow> result;
  result.reserve(grid_.rows());
  for (int row = 1; row < grid_.rows(); ++row) {
    GridRow cells;
    for (int col = 0; col < kColumns; ++col) cells << cell(row, col);
    result.push_back(cells);
  }
  return result;
}

void InvoiceLines::showLines(const std::vector<GridRow>& lines) {
  clear();
  grid_.setRows(static_cast<int>(lines.size()) + 2);
  for (int index = 0; index < static_cast<int>(lines.size()); ++index) {
    for (int col = 0; col < kColumns; ++col) setCell(index + 1, col, lines[index].value(col));
  }
  totals();
}

}  // namespace qalvoro
