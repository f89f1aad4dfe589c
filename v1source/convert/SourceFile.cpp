#include "v1source/convert/SourceFile.h"

#include <QFile>
#include <QFileInfo>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr QByteArrayView kSqliteMagic("SQLite format 3\0", 16);
constexpr QByteArrayView kJetMagic("\0\1\0\0Standard Jet DB\0", 20);
constexpr qsizetype kJetVersionOffset = 0x14;
constexpr quint32 kFirstTablePage = 2;  // the catalogue's table definition

[[noreturn]] void unrecognized(const QString& path, const QString& why) {
  throw ConversionError(converr::kUnrecognizedFormat,
                        QStringLiteral("Unrecognized database format '%1' (%2).").arg(path, why));
}

QByteArray readStart(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists() || info.isDir()) {
    throw ConversionError(converr::kFileNotFound,
                          QStringLiteral("Could not find file '%1'.").arg(path));
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw ConversionError(
        converr::kCannotOpenFile,
        QStringLiteral("Cannot open the file '%1': %2.").arg(path, file.errorString()));
  }
  return file.read(kJetVersionOffset + 1);
}

}  // namespace

SourceInfo inspectSource(const QString& path, bool partPageAllowed) {
  const QByteArray start = readStart(path);
  const qint64 size = QFileInfo(path).size();
  if (start.isEmpty()) unrecognized(path, QStringLiteral("the file is empty"));
  if (start.startsWith(kSqliteMagic)) return {SourceKind::Sqlite, size, 0};
  if (start.size() <= kJetVersionOffset || !start.startsWith(kJetMagic)) {
    unrecognized(path, QStringLiteral("not a Jet database"));
  }
  SourceInfo info{SourceKind::Jet3, size, 2048};
  switch (start.at(kJetVersionOffset)) {
    case 0:
      break;
    case 1:
      info = {SourceKind::Jet4, size, 4096};
      break;
    default:
      unrecognized(path, QStringLiteral("a Jet format newer than Jet 4"));
  }
  info.partPageSize = size % info.pageSize;
  info.size -= info.partPageSize;
  if (info.partPageSize != 0 && !partPageAllowed) {
    throw ConversionError(
        converr::kDamagedFile,
        damagedFileMessage(path, QStringLiteral("file"),
                           QStringLiteral("its size of %1 bytes is not a whole number of "
                                          "%2-byte pages")
                               .arg(size)
                               .arg(info.pageSize)));
  }
  if (info.size / info.pageSize <= kFirstTablePage) {
    throw ConversionError(converr::kDamagedFile,
                          damagedFileMessage(path, QStringLiteral("catalogue"),
                                             QStringLiteral("the file ends before it")));
  }
  return info;
}

}  // namespace qalvoro::v1
