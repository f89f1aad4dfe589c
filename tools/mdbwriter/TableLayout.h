#pragma once

#include <vector>

#include "tools/mdbwriter/Column.h"

namespace qalvoro::mdbwriter {

// A column and where its value goes in a row: fixed-size values at a byte
// offset of the fixed area, variable-size values at an index of the offset
// table. The number is the column's bit in the row's null mask.
struct PlacedColumn {
  Column column;
  int number = 0;
  int fixedOffset = 0;
  int variableIndex = 0;
};

class TableLayout {
 public:
  explicit TableLayout(const std::vector<Column>& columns);

  const std::vector<PlacedColumn>& columns() const { return columns_; }
  int fixedAreaSize() const { return fixedAreaSize_; }
  int variableCount() const { return variableCount_; }

 private:
  std::vector<PlacedColumn> columns_;
  int fixedAreaSize_ = 0;
  int variableCount_ = 0;
};

}  // namespace qalvoro::mdbwriter
