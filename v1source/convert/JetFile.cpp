#include "v1source/convert/JetFile.h"

#include <QFile>
#include <cstdlib>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr quint32 kOffsetMask = 0x1FFF;
constexpr quint32 kDeletedFlag = 0x8000;
constexpr quint32 kOverflowFlag = 0x4000;

MdbHandle* openReadOnly(const QString& path) {
  // Text is decoded by this program, not by libmdb: names in Jet 3 files pass
  // through as ISO-8859-1, so that their bytes can be recovered exactly and
  // decoded with the chosen code page.
  setenv("MDB_JET3_CHARSET", "ISO-8859-1", 1);
  setenv("MDBICONV", "UTF-8", 1);
  MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
  if (mdb == nullptr) {
    throw ConversionError(converr::kDamagedFile,
                          damagedFileMessage(path, QStringLiteral("file"),
                                             QStringLiteral("its header cannot be read")));
  }
  return mdb;
}

}  // namespace

JetFile::JetFile(const QString& path, const SourceInfo& info)
    : kind_(info.kind),
      pageSize_(info.pageSize),
      pageCount_(quint32(info.size / info.pageSize)),
      mdb_(openReadOnly(path)) {
  if (mdb_->fmt->pg_size != pageSize_) {
    throw ConversionError(converr::kDamagedFile,
                          damagedFileMessage(path, QStringLiteral("file"),
                                             QStringLiteral("its header names another format")));
  }
}

void JetFile::checkPage(quint32 page) const {
  if (page >= pageCount_) {
    throw ReadError(QStringLiteral("page %1 lies beyond the end of the file (%2 pages)")
                        .arg(page)
                        .arg(pageCount_));
  }
}

std::span<const uint8_t> JetFile::loadPage(quint32 page) {
  checkPage(page);
  if (mdb_read_pg(mdb_.get(), page) != pageSize_) {
    throw ReadError(QStringLiteral("page %1 cannot be read").arg(page));
  }
  return currentPage();
}

std::span<const uint8_t> JetFile::loadSidePage(quint32 page) {
  checkPage(page);
  if (mdb_read_alt_pg(mdb_.get(), page) != pageSize_) {
    throw ReadError(QStringLiteral("page %1 cannot be read").arg(page));
  }
  return {mdb_->alt_pg_buf, size_t(pageSize_)};
}

std::span<const uint8_t> JetFile::currentPage() const { return {mdb_->pg_buf, size_t(pageSize_)}; }

int rowSlotCount(std::span<const uint8_t> page, int rowCountOffset) {
  const int count = int(readU16(page.data() + rowCountOffset));
  if (rowCountOffset + 2 + 2 * count > int(page.size())) {
    throw ReadError(QStringLiteral("a data page claims %1 rows, more than fit on it").arg(count));
  }
  return count;
}

RowSlot locateRow(std::span<const uint8_t> page, int rowCountOffset, int row) {
  const int count = rowSlotCount(page, rowCountOffset);
  if (row < 0 || row >= count) {
    throw ReadError(QStringLiteral("row %1 is not on its page (%2 rows)").arg(row).arg(count));
  }
  const uint8_t* offsets = page.data() + rowCountOffset + 2;
  const quint32 raw = readU16(offsets + 2 * row);
  RowSlot slot;
  slot.deleted = (raw & kDeletedFlag) != 0;
  slot.overflow = (raw & kOverflowFlag) != 0;
  slot.start = int(raw & kOffsetMask);
  const int end = row == 0 ? int(page.size()) : int(readU16(offsets + 2 * (row - 1)) & kOffsetMask);
  slot.length = end - slot.start;
  const int offsetsEnd = rowCountOffset + 2 + 2 * count;
  slot.inPage = slot.start >= offsetsEnd && end <= int(page.size()) && slot.length > 0;
  return slot;
}

}  // namespace qalvoro::v1
