#pragma once

#include <QString>
#include <utility>

namespace qalvoro::mdbwriter {

// Column types with their Jet type codes. Binary and OleObject appear only in
// the system catalogue and hold Nulls there.
enum class ColumnType : quint8 {
  YesNo = 0x01,
  Byte = 0x02,
  Integer = 0x03,
  Long = 0x04,
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Binary = 0x09,
  Text = 0x0A,
  OleObject = 0x0B,
  Memo = 0x0C,
};

struct Column {
  QString name;
  ColumnType type;
  int maxLength = 0;  // characters of a Text column, bytes of a Binary column

  static Column text(QString name, int maxLength) {
    return {std::move(name), ColumnType::Text, maxLength};
  }
  static Column of(QString name, ColumnType type) { return {std::move(name), type, 0}; }
};

// Bytes a fixed-size column takes in a row; 0 for variable-size columns and
// for Yes/No, whose value lives in the row's null mask.
int fixedSize(ColumnType type);
bool isVariable(ColumnType type);
bool isLongValue(ColumnType type);

}  // namespace qalvoro::mdbwriter
