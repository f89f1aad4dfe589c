#pragma once

#include <QByteArray>
#include <QString>

namespace qalvoro {

// Single-byte code pages of version-1 text: Windows-1256 (Arabic, the usual
// one), DOS 864 (old Arabic files) and Windows-1252 (Western). Bytes below
// 0x80 are ASCII in all three.
class CodePage {
 public:
  // Accepts 1252, 1256 and 864; any other number falls back to 1256.
  explicit CodePage(int number);

  int number() const { return number_; }
  static bool isSupported(int number);

  QString decode(QByteArrayView bytes) const;
  // Characters the code page lacks become '?'.
  QByteArray encode(QStringView text) const;

 private:
  int number_;
  const char16_t* high_;  // characters of bytes 0x80-0xFF
};

}  // namespace qalvoro
