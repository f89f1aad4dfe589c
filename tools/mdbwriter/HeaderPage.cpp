#include "tools/mdbwriter/HeaderPage.h"

#include <array>
#include <utility>

#include "tools/mdbwriter/Bytes.h"
#include "tools/mdbwriter/Value.h"

namespace qalvoro::mdbwriter {
namespace {

constexpr qsizetype kMaskedStart = 0x18;
constexpr quint32 kMaskKey = 0x6B39DAC7;

// RC4 keystream applied in place; Jet masks the header with a fixed key.
void rc4(QByteArray& bytes, qsizetype start, qsizetype length, quint32 key) {
  std::array<quint8, 4> keyBytes{};
  for (int i = 0; i < 4; ++i) keyBytes[i] = static_cast<quint8>(key >> (8 * i));
  std::array<quint8, 256> state{};
  for (int i = 0; i < 256; ++i) state[i] = static_cast<quint8>(i);
  quint8 j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<quint8>(j + state[i] + keyBytes[i % 4]);
    std::swap(state[i], state[j]);
  }
  quint8 x = 0;
  quint8 y = 0;
  for (qsizetype n = 0; n < length; ++n) {
    x = static_cast<quint8>(x + 1);
    y = static_cast<quint8>(y + state[x]);
    std::swap(state[x], state[y]);
    bytes[start + n] =
        static_cast<char>(bytes[start + n] ^ state[static_cast<quint8>(state[x] + state[y])]);
  }
}

}  // namespace

QByteArray headerPage(const JetFormat& format, const HeaderFields& fields) {
  QByteArray page(format.pageSize, '\0');
  page[1] = 0x01;
  page.replace(4, 16, QByteArray("Standard Jet DB\0", 16));
  putLE(page, 0x14, static_cast<quint32>(format.isJet4() ? 1 : 0));
  putLE(page, 0x3C, fields.codePage);
  putLE(page, 0x3E, quint32{0});  // database key: pages are not encrypted
  if (format.isJet4()) {
    putLE(page, 0x6E, static_cast<quint32>(fields.sortOrder));
    QByteArray created;
    appendDouble(created, toJetDate(fields.created));
    page.replace(0x72, 8, created);
  } else {
    putLE(page, 0x3A, fields.sortOrder);
  }
  rc4(page, kMaskedStart, format.isJet4() ? 128 : 126, kMaskKey);
  return page;
}

}  // namespace qalvoro::mdbwriter
