#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

#include "tools/mdbwriter/JetFormat.h"
#include "tools/mdbwriter/PageFile.h"

namespace qalvoro::mdbwriter {

// Where a record lies: Jet packs it as page number << 8 | row index.
struct RowAddress {
  quint32 page = 0;
  int row = 0;
  quint32 packed() const { return page << 8 | static_cast<quint32>(row); }
};

// One page of records (a data page or a long-value page). Records are placed
// from the end of the page towards its header; the header lists their offsets.
class RowPage {
 public:
  // owner: four bytes naming the table-definition page, or "LVAL".
  RowPage(const JetFormat& format, const QByteArray& owner);

  bool fits(int rowSize) const;
  int add(const QByteArray& row);
  bool isEmpty() const { return rows_ == 0; }
  QByteArray finished() const;

 private:
  const JetFormat& format_;
  QByteArray bytes_;
  int rows_ = 0;
  int start_;  // offset of the lowest record
};

// Records appended to a run of pages, each page written out once full.
class RowPageStream {
 public:
  // firstPage: a page number reserved earlier, to be used before new ones.
  RowPageStream(PageFile& file, const JetFormat& format, QByteArray owner,
                std::optional<quint32> firstPage = std::nullopt);

  RowAddress append(const QByteArray& row);
  // Writes the page being filled, if it holds any record.
  void flush();
  // Every page this stream has used, in order.
  const std::vector<quint32>& pages() const { return pages_; }

 private:
  PageFile& file_;
  const JetFormat& format_;
  QByteArray owner_;
  std::optional<quint32> reserved_;
  std::optional<RowPage> page_;
  std::vector<quint32> pages_;
};

}  // namespace qalvoro::mdbwriter
