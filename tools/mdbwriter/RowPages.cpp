#include "tools/mdbwriter/RowPages.h"

#include <stdexcept>
#include <utility>

#include "tools/mdbwriter/Bytes.h"

namespace qalvoro::mdbwriter {
namespace {

// A record address keeps the row index in one byte.
constexpr int kMaxRowsPerPage = 255;
constexpr char kDataPage = 0x01;

}  // namespace

RowPage::RowPage(const JetFormat& format, const QByteArray& owner)
    : format_(format), bytes_(format.pageSize, '\0'), start_(format.pageSize) {
  bytes_[0] = kDataPage;
  bytes_[1] = 0x01;
  bytes_.replace(4, 4, owner);
}

bool RowPage::fits(int rowSize) const {
  const int headerEnd = format_.dataHeaderSize() + 2 * (rows_ + 1);
  return rows_ < kMaxRowsPerPage && headerEnd + rowSize <= start_;
}

int RowPage::add(const QByteArray& row) {
  Q_ASSERT(fits(static_cast<int>(row.size())));
  start_ -= static_cast<int>(row.size());
  bytes_.replace(start_, row.size(), row);
  putLE(bytes_, format_.dataHeaderSize() + 2 * rows_, static_cast<quint16>(start_));
  return rows_++;
}

QByteArray RowPage::finished() const {
  QByteArray page = bytes_;
  const int freeSpace = start_ - (format_.dataHeaderSize() + 2 * rows_);
  putLE(page, 2, static_cast<quint16>(freeSpace));
  putLE(page, format_.rowCountOffset, static_cast<quint16>(rows_));
  return page;
}

RowPageStream::RowPageStream(PageFile& file, const JetFormat& format, QByteArray owner,
                             std::optional<quint32> firstPage)
    : file_(file), format_(format), owner_(std::move(owner)), reserved_(firstPage) {}

RowAddress RowPageStream::append(const QByteArray& row) {
  const int size = static_cast<int>(row.size());
  if (size > format_.maxRowSize()) {
    throw std::length_error("record of " + std::to_string(size) + " bytes does not fit a page");
  }
  if (page_ && !page_->fits(size)) flush();
  if (!page_) {
    page_.emplace(format_, owner_);
    pages_.push_back(reserved_ ? *std::exchange(reserved_, std::nullopt) : file_.allocate());
  }
  return {pages_.back(), page_->add(row)};
}

void RowPageStream::flush() {
  if (!page_) return;
  file_.write(pages_.back(), page_->finished());
  page_.reset();
}

}  // namespace qalvoro::mdbwriter
