#pragma once

#include <QString>
#include <vector>

#include "posting/DocumentStore.h"

namespace qalvoro {

class FlexGrid;

// The line and totals routines of the document windows, on the item grid
// and the four total boxes. Grid columns: 0 row number, 1 item number,
// 2 item name ["#" description], 3 unit, 4 quantity, 5 price, 6 quantity x
// price, 7 line discount, 8 line total; hidden: 9 unit ID, 10 actual
// quantity, 11 item ID, 12 "H" or "0" (hidden price), 13 actual unit price,
// 14 special offer, 15 cost price, 16 expiry date. Row 0 holds the titles,
// the last row is the empty entry row.
class InvoiceLines {
 public:
  // The sales totals also keep column 13 and the discount percentage; the
  // purchase totals only add up.
  enum class TotalsStyle { Sales, Purchase };
  // Passes: the discount is spread in repeated percentage passes, lines that
  // reach zero are starred and left out. Proportional: one pass in
  // proportion to the line amounts, the rounding rest on the last line.
  enum class SpreadStyle { Passes, Proportional };

  // The texts of lblTotal, txtDiscount2, lblDiscount and lblAmount.
  struct Boxes {
    QString total;
    QString discount;
    QString percent;
    QString amount;
  };

  InvoiceLines(FlexGrid& grid, Boxes& boxes, TotalsStyle totals, SpreadStyle spread)
      : grid_(grid), boxes_(boxes), totalsStyle_(totals), spreadStyle_(spread) {}

  // Titles, hidden columns and alignments; two rows, row 1 current.
  void clear();
  // Recomputes the totals from the grid.
  void totals();
  // Spreads the discount D over the lines of gross total T (0 resets them),
  // then recomputes the totals.
  void lineDiscount(double discount, double gross);
  // Whether the purchase windows spread a discount their net already shows:
  // a user's Enter spreads only a changed discount, an import always.
  enum class DiscountSpread { WhenChanged, Always };
  // Enter in the discount box: a percentage ("10%") or an amount is spread
  // over the lines and the totals recomputed.
  void discountEntered(DiscountSpread spread);
  // A quantity, price or discount of a line changed: the line's amounts
  // follow and the totals are recomputed.
  void lineChanged(int row);
  // Fills an entered item into a row; an entry row gets a new row below it.
  void enterItem(int row, const ItemEntry& item);

  // Whether a row above the entry row names an item.
  bool hasLines() const;
  // Rows 1 to Rows-1.
  std::vector<GridRow> rows() const;
  // Shows stored lines, with the entry row after them.
  void showLines(const std::vector<GridRow>& lines);

 private:
  QString cell(int row, int col) const;
  void setCell(int row, int col, const QString& text);
  QString amount(double value) const;
  bool isLine(int row) const;
  void resetLines();
  void passOfShares(double percent);
  void spreadInPasses(double discount, double gross);
  void spreadProportionally(double discount, double gross);
  void actualPrices();

  FlexGrid& grid_;
  Boxes& boxes_;
  TotalsStyle totalsStyle_;
  SpreadStyle spreadStyle_;
};

}  // namespace qalvoro
