#include "v1source/convert/JetText.h"

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr int kArabicWindows = 1256;
constexpr int kArabicDos = 864;

QString decodeUtf16(std::span<const uint8_t> bytes) {
  if (bytes.size() % 2 != 0) throw ReadError(QStringLiteral("a text value has an odd length"));
  QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    text[i] = QChar(char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  }
  return text;
}

QString decodeCompressed(std::span<const uint8_t> bytes) {
  QString text;
  text.reserve(qsizetype(bytes.size()));
  bool compressed = true;
  size_t i = 2;  // after the 0xFF 0xFE prefix
  while (i < bytes.size()) {
    if (bytes[i] == 0) {
      compressed = !compressed;
      ++i;
    } else if (compressed) {
      text.append(QChar(char16_t(bytes[i])));
      ++i;
    } else if (i + 1 < bytes.size()) {
      text.append(QChar(char16_t(bytes[i] | (bytes[i + 1] << 8))));
      i += 2;
    } else {
      throw ReadError(QStringLiteral("a compressed text value ends inside a character"));
    }
  }
  return text;
}

}  // namespace

TextDecoder::TextDecoder(bool jet3, int codePage) : jet3_(jet3), codePage_(codePage) {}

QString TextDecoder::decode(std::span<const uint8_t> bytes) const {
  if (jet3_) {
    return codePage_.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return decodeCompressed(bytes);
  return decodeUtf16(bytes);
}

QString TextDecoder::decodeName(const char* libmdbName) const {
  const QString name = QString::fromUtf8(libmdbName);
  return jet3_ ? codePage_.decode(name.toLatin1()) : name;
}

int chooseCodePage(int headerCodePage, int requestedCodePage) {
  if (requestedCodePage != 0) return requestedCodePage;
  if (headerCodePage == kArabicWindows || headerCodePage == kArabicDos) return headerCodePage;
  return kArabicWindows;
}

}  // namespace qalvoro::v1
