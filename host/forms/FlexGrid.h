#pragma once

#include <QSet>
#include <QTableWidget>
#include <vector>

namespace qalvoro {

// The grid of the entry windows: a matrix of text cells, Rows x Cols, whose
// row 0 holds the column titles (a fixed row), with a current row and
// column, column widths in twips (width 0 hides a column) and a column
// alignment code per column (0 left-top, 1 left-centre, 3 centre-top,
// 4 centre-centre, 6 right-top, 7 right-centre, ...). Code reads and writes
// every cell, hidden ones included; the user edits only the cells of the
// editable columns, and each edit is announced by cellEdited. A row or
// column outside the grid raises DbError 381.
class FlexGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit FlexGrid(QWidget* parent = nullptr);

  int rows() const { return rowCount(); }
  // New rows are empty; the current row stays inside the grid.
  void setRows(int rows);
  int cols() const { return columnCount(); }
  void setCols(int cols);

  int row() const { return row_; }
  void setRow(int row);
  int col() const { return col_; }
  void setCol(int col);

  QString textMatrix(int row, int col) const;
  void setTextMatrix(int row, int col, const QString& text);
  // The text of the current cell.
  QString text() const { return textMatrix(row_, col_); }
  void setText(const QString& text) { setTextMatrix(row_, col_, text); }

  int colWidthTwips(int col) const;
  void setColWidthTwips(int col, int twips);
  int colAlignment(int col) const;
  void setColAlignment(int col, int code);

  // Empties every cell; rows and columns stay.
  void clearCells();

  void setEditableColumns(QSet<int> columns) { editable_ = std::move(columns); }

 signals:
  // The user changed the text of a cell.
  void cellEdited(int row, int col);

 private:
  QTableWidgetItem& cell(int row, int col);
  void styleCell(QTableWidgetItem& item, int row, int col) const;
  void checkCell(int row, int col) const;
  // Puts the table's highlighted cell on the current row and column.
  void showCurrentCell();

  int row_ = 0;
  int col_ = 0;
  std::vector<int> alignments_;
  std::vector<int> widths_;
  QSet<int> editable_;
  bool writing_ = false;
};

}  // namespace qalvoro
