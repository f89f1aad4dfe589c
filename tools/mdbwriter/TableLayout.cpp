#include "tools/mdbwriter/TableLayout.h"

#include <stdexcept>

namespace qalvoro::mdbwriter {

TableLayout::TableLayout(const std::vector<Column>& columns) {
  if (columns.empty() || columns.size() > 255) {
    throw std::invalid_argument("a table needs between 1 and 255 columns");
  }
  for (const Column& column : columns) {
    PlacedColumn placed{column, static_cast<int>(columns_.size())};
    if (isVariable(column.type)) {
      placed.variableIndex = variableCount_++;
    } else {
      placed.fixedOffset = fixedAreaSize_;
      fixedAreaSize_ += fixedSize(column.type);
    }
    columns_.push_back(placed);
  }
}

}  // namespace qalvoro::mdbwriter
