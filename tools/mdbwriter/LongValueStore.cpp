#include "tools/mdbwriter/LongValueStore.h"

#include "tools/mdbwriter/Bytes.h"

namespace qalvoro::mdbwriter {
namespace {

constexpr quint32 kInRow = 0x80000000;
constexpr quint32 kOneRecord = 0x40000000;

QByteArray reference(quint32 lengthAndFlags, quint32 address) {
  QByteArray ref;
  appendLE(ref, lengthAndFlags);
  appendLE(ref, address);
  appendLE(ref, quint32{0});
  return ref;
}

}  // namespace

LongValueStore::LongValueStore(PageFile& file, const JetFormat& format)
    : format_(format), pages_(file, format, QByteArrayLiteral("LVAL")) {}

QByteArray LongValueStore::store(const QByteArray& data) {
  const auto length = static_cast<quint32>(data.size());
  if (data.size() <= format_.pageSize / 16) return reference(length | kInRow, 0) + data;
  if (data.size() <= format_.maxRowSize()) {
    return reference(length | kOneRecord, pages_.append(data).packed());
  }
  // Chained records carry the address of the next one first, so the chain is
  // written from its last piece back to its first.
  const qsizetype piece = format_.maxRowSize() - 4;
  quint32 next = 0;
  for (qsizetype start = (data.size() - 1) / piece * piece; start >= 0; start -= piece) {
    QByteArray record;
    appendLE(record, next);
    record += data.mid(start, piece);
    next = pages_.append(record).packed();
  }
  return reference(length, next);
}

}  // namespace qalvoro::mdbwriter
