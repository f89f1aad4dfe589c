#include "v1source/convert/LongValueReader.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr size_t kHeaderSize = 12;
constexpr quint32 kLengthMask = 0x3FFFFFFF;
constexpr quint32 kKindMask = 0xC0000000;
constexpr quint32 kInline = 0x80000000;
constexpr quint32 kSingleRow = 0x40000000;
constexpr quint32 kChain = 0;
constexpr size_t kLinkSize = 4;  // a chain row starts with the next row's address
constexpr uint8_t kDataPageType = 0x01;

QByteArray bytesOf(std::span<const uint8_t> data) {
  return QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
}

}  // namespace

LongValueReader::LongValueReader(JetFile& file) : file_(file) {}

QByteArray LongValueReader::read(std::span<const uint8_t> field) {
  if (field.size() < kHeaderSize) throw ReadError(QStringLiteral("a long value is cut short"));
  const quint32 word = readU32(field.data());
  const quint32 length = word & kLengthMask;
  if (qint64(length) > file_.size()) {
    throw ReadError(
        QStringLiteral("a long value claims %1 bytes, more than the file holds").arg(length));
  }
  const quint32 pageRow = readU32(field.data() + 4);
  switch (word & kKindMask) {
    case kInline:
      if (field.size() - kHeaderSize < length) {
        throw ReadError(QStringLiteral("an inline long value is shorter than its length"));
      }
      return bytesOf(field.subspan(kHeaderSize, length));
    case kSingleRow: {
      const auto row = longValueRow(pageRow);
      if (row.size() < length) {
        throw ReadError(QStringLiteral("a long value's row is shorter than its length"));
      }
      return bytesOf(row.first(length));
    }
    case kChain:
      return readChain(pageRow, qsizetype(length));
    default:
      throw ReadError(QStringLiteral("a long value is of an unknown kind"));
  }
}

QByteArray LongValueReader::readChain(quint32 pageRow, qsizetype length) {
  QByteArray value;
  value.reserve(length);
  std::unordered_set<quint32> visited;
  while (value.size() < length) {
    if (pageRow == 0) {
      throw ReadError(QStringLiteral("a long value's chain ends after %1 of its %2 bytes")
                          .arg(value.size())
                          .arg(length));
    }
    if (!visited.insert(pageRow).second) {
      throw ReadError(QStringLiteral("a long value's chain loops back on itself"));
    }
    const auto row = longValueRow(pageRow);
    if (row.size() <= kLinkSize)
      throw ReadError(QStringLiteral("a long value's chain has an empty link"));
    pageRow = readU32(row.data());
    const auto chunk = row.subspan(kLinkSize);
    value.append(bytesOf(chunk.first(std::min(chunk.size(), size_t(length - value.size())))));
  }
  return value;
}

std::span<const uint8_t> LongValueReader::longValueRow(quint32 pageRow) {
  const quint32 pageNumber = pageRow >> 8;
  const auto page = file_.loadSidePage(pageNumber);
  if (page[0] != kDataPageType || std::memcmp(page.data() + 4, "LVAL", 4) != 0) {
    throw ReadError(QStringLiteral("page %1 is not a long-value page").arg(pageNumber));
  }
  const RowSlot slot = locateRow(page, file_.rowCountOffset(), int(pageRow & 0xFF));
  if (slot.deleted || !slot.inPage) {
    throw ReadError(
        QStringLiteral("a long value's row on page %1 is deleted or lies outside the page")
            .arg(pageNumber));
  }
  return page.subspan(size_t(slot.start), size_t(slot.length));
}

}  // namespace qalvoro::v1
