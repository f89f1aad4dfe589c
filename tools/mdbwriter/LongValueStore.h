#pragma once

#include <QByteArray>

#include "tools/mdbwriter/RowPages.h"

namespace qalvoro::mdbwriter {

// Stores the data of Memo values. Short data stays in the row; longer data
// goes to long-value pages, as one record when it fits a page and otherwise
// as a chain of records each naming the next.
class LongValueStore {
 public:
  LongValueStore(PageFile& file, const JetFormat& format);

  // The bytes to put in the row for this data: a 12-byte reference, followed
  // by the data itself when it stays in the row.
  QByteArray store(const QByteArray& data);
  void flush() { pages_.flush(); }

 private:
  const JetFormat& format_;
  RowPageStream pages_;
};

}  // namespace qalvoro::mdbwriter
