#include "tools/mdbwriter/Column.h"

namespace qalvoro::mdbwriter {

int fixedSize(ColumnType type) {
  switch (type) {
    case ColumnType::Byte:
      return 1;
    case ColumnType::Integer:
      return 2;
    case ColumnType::Long:
    case ColumnType::Single:
      return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime:
      return 8;
    default:
      return 0;
  }
}

bool isVariable(ColumnType type) {
  return type == ColumnType::Text || type == ColumnType::Memo || type == ColumnType::Binary ||
         type == ColumnType::OleObject;
}

bool isLongValue(ColumnType type) {
  return type == ColumnType::Memo || type == ColumnType::OleObject;
}

}  // namespace qalvoro::mdbwriter
