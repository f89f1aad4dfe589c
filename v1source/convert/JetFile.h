#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <span>

#include "v1source/convert/MdbTools.h"
#include "v1source/convert/SourceFile.h"

namespace qalvoro::v1 {

// Little-endian reads from page bytes.
inline quint32 readU16(const uint8_t* p) { return p[0] | (p[1] << 8); }
inline quint32 readU24(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16); }
inline quint32 readU32(const uint8_t* p) { return readU24(p) | (quint32(p[3]) << 24); }

// A Jet 3 or Jet 4 file opened read-only through libmdb. Every page number is
// checked against the file's size before it is read: libmdb reads a page past
// the end as zeros.
class JetFile {
 public:
  JetFile(const QString& path, const SourceInfo& info);

  MdbHandle* mdb() const { return mdb_.get(); }
  bool isJet3() const { return kind_ == SourceKind::Jet3; }
  int pageSize() const { return pageSize_; }
  quint32 pageCount() const { return pageCount_; }
  qint64 size() const { return qint64(pageCount_) * pageSize_; }
  // The code page named in the header (meaningful for Jet 3 text).
  int headerCodePage() const { return mdb_->f->code_page; }
  // Where a data page keeps its row count; the row offsets follow it.
  int rowCountOffset() const { return mdb_->fmt->row_count_offset; }

  // Reads a page into libmdb's current page buffer, where rows are cracked.
  std::span<const uint8_t> loadPage(quint32 page);
  // Reads a page into the side buffer; the current page stays in place.
  std::span<const uint8_t> loadSidePage(quint32 page);
  std::span<const uint8_t> currentPage() const;

 private:
  struct Closer {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
  };

  void checkPage(quint32 page) const;

  SourceKind kind_;
  int pageSize_;
  quint32 pageCount_;
  std::unique_ptr<MdbHandle, Closer> mdb_;
};

// Where a row lies on a data page and how it is flagged.
struct RowSlot {
  int start = 0;
  int length = 0;
  bool deleted = false;
  bool overflow = false;  // the row holds a pointer to where it was moved
  bool inPage = false;    // the row lies between the offset table and the page's end
};

// Number of row slots on a data page; throws ReadError when the offset table
// does not fit the page.
int rowSlotCount(std::span<const uint8_t> page, int rowCountOffset);
// Locates one row; throws ReadError when the page has no such row.
RowSlot locateRow(std::span<const uint8_t> page, int rowCountOffset, int row);

}  // namespace qalvoro::v1
