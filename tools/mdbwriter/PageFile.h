#pragma once

#include <QFile>
#include <QString>

namespace qalvoro::mdbwriter {

// The database file seen as numbered pages of one size. Pages are numbered
// when allocated and may be written later and in any order.
class PageFile {
 public:
  PageFile(const QString& path, int pageSize);

  quint32 allocate() { return next_++; }
  void write(quint32 page, const QByteArray& bytes);
  // Makes the file as long as the pages allocated so far and closes it.
  void close();

  int pageSize() const { return pageSize_; }

 private:
  QFile file_;
  int pageSize_;
  quint32 next_ = 0;
};

}  // namespace qalvoro::mdbwriter
