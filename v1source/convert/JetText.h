#pragma once

#include <QString>
#include <cstdint>
#include <span>

#include "v1source/codepage/CodePage.h"

namespace qalvoro::v1 {

// Decodes the bytes of a Text or Memo value: single-byte text in a code page
// (Jet 3), or UTF-16LE that may be compressed (Jet 4: a 0xFF 0xFE prefix, then
// runs of one-byte characters and of two-byte characters, each 0x00 byte
// switching between the two).
class TextDecoder {
 public:
  TextDecoder(bool jet3, int codePage);

  QString decode(std::span<const uint8_t> bytes) const;
  // A name as libmdb hands it over: UTF-8, which for Jet 3 carries the raw
  // bytes as ISO-8859-1 characters (see JetFile).
  QString decodeName(const char* libmdbName) const;
  int codePage() const { return codePage_.number(); }

 private:
  bool jet3_;
  CodePage codePage_;
};

// The code page of Jet 3 text: an explicit choice wins; otherwise 1256 or 864
// when the header names it, and 1256 for anything else.
int chooseCodePage(int headerCodePage, int requestedCodePage);

}  // namespace qalvoro::v1
