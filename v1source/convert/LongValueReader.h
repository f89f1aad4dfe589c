#pragma once

#include <QByteArray>

#include "v1source/convert/JetFile.h"

namespace qalvoro::v1 {

// Reads Memo and OLE values in full: inline in the row, in one long-value row,
// or in a chain of long-value rows. Chains are checked for loops, for ends
// before the declared length and for rows outside their pages.
class LongValueReader {
 public:
  explicit LongValueReader(JetFile& file);

  // field: the bytes of the value in its row (a 12-byte header, then inline
  // data when there is any).
  QByteArray read(std::span<const uint8_t> field);

 private:
  QByteArray readChain(quint32 pageRow, qsizetype length);
  std::span<const uint8_t> longValueRow(quint32 pageRow);

  JetFile& file_;
};

}  // namespace qalvoro::v1
