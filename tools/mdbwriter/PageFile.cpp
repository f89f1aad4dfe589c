#include "tools/mdbwriter/PageFile.h"

#include <stdexcept>

namespace qalvoro::mdbwriter {
namespace {

[[noreturn]] void fail(const QFile& file, const char* what) {
  throw std::runtime_error(QStringLiteral("%1 %2: %3")
                               .arg(QString::fromLatin1(what), file.fileName(), file.errorString())
                               .toStdString());
}

}  // namespace

PageFile::PageFile(const QString& path, int pageSize) : file_(path), pageSize_(pageSize) {
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) fail(file_, "cannot create");
}

void PageFile::write(quint32 page, const QByteArray& bytes) {
  Q_ASSERT(bytes.size() == pageSize_ && page < next_);
  if (!file_.seek(static_cast<qint64>(page) * pageSize_) || file_.write(bytes) != bytes.size()) {
    fail(file_, "cannot write");
  }
}

void PageFile::close() {
  if (!file_.isOpen()) return;
  if (!file_.resize(static_cast<qint64>(next_) * pageSize_)) fail(file_, "cannot size");
  file_.close();
}

}  // namespace qalvoro::mdbwriter
