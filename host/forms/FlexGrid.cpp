#include "host/forms/FlexGrid.h"

#include <QHeaderView>

#include "host/db/DbError.h"
#include "host/forms/Controls.h"

namespace qalvoro {
namespace {

constexpr long kSubscriptOutOfRange = 381;  // the grid's "invalid row or column value"

Qt::Alignment alignmentFor(int code) {
  const int horizontal = code / 3;  // 0 left, 1 centre, 2 right
  const int vertical = code % 3;    // 0 top, 1 centre, 2 bottom
  const Qt::Alignment h = horizontal == 0   ? Qt::AlignLeft
                          : horizontal == 1 ? Qt::AlignHCenter
                                            : Qt::AlignRight;
  const Qt::Alignment v = vertical == 0   ? Qt::AlignTop
                          : vertical == 1 ? Qt::AlignVCenter
                                          : Qt::AlignBottom;
  return h | v;
}

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(20);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (!writing_) emit cellEdited(item->row(), item->column());
  });
  connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
    if (writing_ || row < 0 || col < 0) return;
    row_ = row;
    col_ = col;
  });
}

void FlexGrid::setRows(int rows) {
  const int before = rowCount();
  setRowCount(rows);
  for (int r = before; r < rows; ++r) {
    for (int c = 0; c < columnCount(); ++c) cell(r, c);
  }
  if (row_ >= rows) row_ = std::max(0, rows - 1);
}

void FlexGrid::setCols(int cols) {
  setColumnCount(cols);
  alignments_.resize(cols, 9);
  widths_.resize(cols, -1);
  for (int r = 0; r < rowCount(); ++r) {
    for (int c = 0; c < cols; ++c) cell(r, c);
  }
  if (col_ >= cols) col_ = std::max(0, cols - 1);
}

void FlexGrid::checkCell(int row, int col) const {
  if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) {
    throw DbError(kSubscriptOutOfRange, QStringLiteral("Subscript out of range"));
  }
}

void FlexGrid::setRow(int row) {
  checkCell(row, 0);
  row_ = row;
  showCurrentCell();
}

void FlexGrid::setCol(int col) {
  checkCell(0, col);
  col_ = col;
  showCurrentCell();
}

void FlexGrid::showCurrentCell() {
  if (col_ >= columnCount()) return;
  const bool wasWriting = std::exchange(writing_, true);
  setCurrentCell(row_, col_);
  writing_ = wasWriting;
}

QTableWidgetItem& FlexGrid::cell(int row, int col) {
  QTableWidgetItem* existing = item(row, col);
  if (existing) return *existing;
  auto owned = std::make_unique<QTableWidgetItem>();
  styleCell(*owned, row, col);
  QTableWidgetItem& created = *owned;
  const bool wasWriting = std::exchange(writing_, true);
  setItem(row, col, owned.release());  // the table owns its items
  writing_ = wasWriting;
  return created;
}

void FlexGrid::styleCell(QTableWidgetItem& item, int row, int col) const {
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (row > 0 && editable_.contains(col)) flags |= Qt::ItemIsEditable;
  item.setFlags(flags);
  if (row == 0) {
    item.setBackground(palette().button());
    item.setTextAlignment(Qt::AlignCenter);
  } else if (col < static_cast<int>(alignments_.size())) {
    item.setTextAlignment(alignmentFor(alignments_[col]));
  }
}

QString FlexGrid::textMatrix(int row, int col) const {
  checkCell(row, col);
  const QTableWidgetItem* existing = item(row, col);
  return existing ? existing->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
  checkCell(row, col);
  QTableWidgetItem& target = cell(row, col);
  const bool wasWriting = std::exchange(writing_, true);
  target.setText(text);
  writing_ = wasWriting;
}

int FlexGrid::colWidthTwips(int col) const {
  checkCell(0, col);
  return widths_[col] >= 0 ? widths_[col] : columnWidth(col) * kTwipsPerPixel;
}

void FlexGrid::setColWidthTwips(int col, int twips) {
  checkCell(0, col);
  widths_[col] = twips;
  setColumnHidden(col, twips == 0);
  if (twips > 0) setColumnWidth(col, twips / kTwipsPerPixel);
}

int FlexGrid::colAlignment(int col) const {
  checkCell(0, col);
  return alignments_[col];
}

void FlexGrid::setColAlignment(int col, int code) {
  checkCell(0, col);
  alignments_[col] = code;
  const bool wasWriting = std::exchange(writing_, true);
  for (int r = 1; r < rowCount(); ++r) cell(r, col).setTextAlignment(alignmentFor(code));
  writing_ = wasWriting;
}

void FlexGrid::clearCells() {
  const bool wasWriting = std::exchange(writing_, true);
  for (int r = 0; r < rowCount(); ++r) {
    for (int c = 0; c < columnCount(); ++c) cell(r, c).setText(QString());
  }
  writing_ = wasWriting;
}

}  // namespace qalvoro
