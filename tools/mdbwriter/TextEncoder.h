#pragma once

#include <QByteArray>
#include <QStringView>

#include "tools/mdbwriter/JetFormat.h"
#include "v1source/codepage/CodePage.h"

namespace qalvoro::mdbwriter {

// Turns text into the bytes a Jet file stores: UTF-16LE in Jet 4 (optionally
// in the compressed-unicode form), single bytes of a code page in Jet 3.
class TextEncoder {
 public:
  TextEncoder(JetVersion version, int codePage, bool compressUnicode);

  // Bytes of a Text or Memo value.
  QByteArray value(QStringView text) const;
  // Bytes of a table or column name (never compressed).
  QByteArray name(QStringView text) const;
  bool compresses() const { return compress_; }

 private:
  JetVersion version_;
  CodePage codePage_;
  bool compress_;
};

}  // namespace qalvoro::mdbwriter
