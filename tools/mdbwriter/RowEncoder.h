#pragma once

#include <QByteArray>
#include <vector>

#include "tools/mdbwriter/LongValueStore.h"
#include "tools/mdbwriter/TableLayout.h"
#include "tools/mdbwriter/TextEncoder.h"
#include "tools/mdbwriter/Value.h"

namespace qalvoro::mdbwriter {

// Packs the values of one row into a Jet record:
//   column count | fixed-size values | variable-size values |
//   end-of-data and variable-value offsets (last first) | [Jet 3 jump table] |
//   variable-value count | null mask (bit set = not Null; Yes/No: the value)
class RowEncoder {
 public:
  RowEncoder(const JetFormat& format, const TableLayout& layout, const TextEncoder& text,
             LongValueStore& longValues);

  // Throws std::invalid_argument when a value does not suit its column.
  QByteArray encode(const std::vector<Value>& row) const;

 private:
  struct Parts {
    QByteArray fixed;
    std::vector<QByteArray> variable;
    QByteArray nullMask;
  };

  void encodeFixed(const PlacedColumn& column, const Value& value, Parts& parts) const;
  QByteArray encodeVariable(const PlacedColumn& column, const Value& value) const;
  QByteArray assemble(const Parts& parts) const;
  QByteArray trailerJet4(const std::vector<int>& offsets) const;
  QByteArray trailerJet3(const std::vector<int>& offsets, int bytesAfterOffsets) const;

  const JetFormat& format_;
  const TableLayout& layout_;
  const TextEncoder& text_;
  LongValueStore& longValues_;
};

}  // namespace qalvoro::mdbwriter
