#pragma once

// A line of a posting window's grid filled as the imports fill it: every
// cell of the current row, then one row more and the cursor on it.

#include <QStringList>

#include "host/forms/FlexGrid.h"
#include "host/helpers/Numbers.h"

namespace qalvoro::test {

struct GridLine {
  QString itemNo;
  QString name;
  QString quantity;
  QString price;
  int categoryId = 0;
  QString cost = QStringLiteral("0");
};

inline void AppendGridLine(FlexGrid& grid, const GridLine& line) {
  const int row = grid.row();
  const QString amount = GeneralNumber(Val(line.quantity) * Val(line.price));
  const QStringList cells = QStringList()
                            << QString::number(row) << line.itemNo << line.name << "Piece"
                            << line.quantity << line.price << amount << "" << amount << "1"
                            << line.quantity << QString::number(line.categoryId) << "0"
                            << line.price << "0" << line.cost << "";
  for (int col = 0; col < cells.size(); ++col) grid.setTextMatrix(row, col, cells[col]);
  grid.setRows(grid.rows() + 1);
  grid.setRow(row + 1);
}

}  // namespace qalvoro::test
