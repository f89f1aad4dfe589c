#include "tools/mdbwriter/TextEncoder.h"

namespace qalvoro::mdbwriter {
namespace {

// Jet 4 compresses only values of at most this many characters.
constexpr qsizetype kMaxCompressedLength = 1024;

QByteArray utf16(QStringView text) {
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

// The compressed form starts with FF FE and then runs in single-byte mode,
// where each byte is a character below U+0100; a 00 byte switches between that
// mode and plain two-byte characters. A character whose low byte is 00 cannot
// be written in either mode, so such text stays uncompressed (empty result).
QByteArray compressed(QStringView text) {
  QByteArray out("\xFF\xFE", 2);
  bool singleByte = true;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u & 0xFF) == 0) return {};
    const bool fitsOneByte = u < 0x100;
    if (fitsOneByte != singleByte) {
      out.append('\0');
      singleByte = fitsOneByte;
    }
    out.append(static_cast<char>(u & 0xFF));
    if (!singleByte) out.append(static_cast<char>(u >> 8));
  }
  return out;
}

}  // namespace

TextEncoder::TextEncoder(JetVersion version, int codePage, bool compressUnicode)
    : version_(version),
      codePage_(codePage),
      compress_(compressUnicode && version == JetVersion::Jet4) {}

QByteArray TextEncoder::value(QStringView text) const {
  if (version_ == JetVersion::Jet3) return codePage_.encode(text);
  QByteArray plain = utf16(text);
  if (!compress_ || text.size() > kMaxCompressedLength) return plain;
  QByteArray packed = compressed(text);
  return !packed.isEmpty() && packed.size() < plain.size() ? packed : plain;
}

QByteArray TextEncoder::name(QStringView text) const {
  return version_ == JetVersion::Jet3 ? codePage_.encode(text) : utf16(text);
}

}  // namespace qalvoro::mdbwriter
