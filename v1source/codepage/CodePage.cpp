#include "v1source/codepage/CodePage.h"

#include <array>

namespace qalvoro {
namespace {

#include "v1source/codepage/CodePageTables.inc"

const char16_t* tableFor(int number) {
  switch (number) {
    case 1252:
      return k1252.data();
    case 864:
      return k864.data();
    default:
      return k1256.data();
  }
}

}  // namespace

CodePage::CodePage(int number)
    : number_(isSupported(number) ? number : 1256), high_(tableFor(number_)) {}

bool CodePage::isSupported(int number) { return number == 1252 || number == 1256 || number == 864; }

QString CodePage::decode(QByteArrayView bytes) const {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    *out++ = byte < 0x80 ? QChar(byte) : QChar(high_[byte - 0x80]);
  }
  return text;
}

QByteArray CodePage::encode(QStringView text) const {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
      bytes.append(static_cast<char>(u));
      continue;
    }
    char found = '?';
    for (int i = 0; i < 128; ++i) {
      if (high_[i] == u && u != 0xFFFD) {
        found = static_cast<char>(0x80 + i);
        break;
      }
    }
    bytes.append(found);
  }
  return bytes;
}

}  // namespace qalvoro
