#include "v1source/convert/V1FileConverter.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetCatalog.h"
#include "v1source/convert/JetTable.h"
#include "v1source/convert/SourceFile.h"
#include "v1source/convert/SqliteWriter.h"

namespace qalvoro::v1 {
namespace {

constexpr qint64 kCopyChunk = 1 << 20;
constexpr int kDefaultCodePage = 1256;

[[noreturn]] void diskError(const QString& path, const QString& reason) {
  throw ConversionError(converr::kDiskError,
                        QStringLiteral("Disk or network error: cannot write the working copy "
                                       "'%1': %2.")
                            .arg(path, reason));
}

// The working copy while it is written: TARGET.part, removed again unless it
// was renamed to TARGET.
class PartFile {
 public:
  explicit PartFile(const QString& target) : path_(target + QStringLiteral(".part")) {
    if (QFile::exists(path_) && !QFile::remove(path_)) {
      diskError(path_, QStringLiteral("an old unfinished copy cannot be removed"));
    }
  }
  ~PartFile() {
    if (!renamed_) QFile::remove(path_);
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  const QString& path() const { return path_; }

  void renameTo(const QString& target) {
    if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) !=
        0) {
      diskError(target, QString::fromLocal8Bit(std::strerror(errno)));
    }
    renamed_ = true;
  }

 private:
  QString path_;
  bool renamed_ = false;
};

void checkTarget(const QString& source, const QString& target) {
  const QFileInfo targetInfo(target);
  if (target.isEmpty() || !QFileInfo(targetInfo.absolutePath()).isDir()) {
    throw ConversionError(converr::kInvalidPath,
                          QStringLiteral("'%1' isn't a valid path.").arg(target));
  }
  const QString sourcePath = QFileInfo(source).canonicalFilePath();
  for (const QString& path : {target, target + QStringLiteral(".part")}) {
    if (QFileInfo(path).canonicalFilePath() == sourcePath) {
      throw ConversionError(converr::kInvalidPath,
                            QStringLiteral("The working copy '%1' cannot replace its source '%2'.")
                                .arg(target, source));
    }
  }
}

ConversionError toConversionError(const QString& path, const QString& where, const ReadError& e) {
  if (e.number() == converr::kDamagedFile) {
    return {e.number(), damagedFileMessage(path, where, e.reason())};
  }
  return {
      e.number(),
      QStringLiteral("Unrecognized database format '%1' (%2: %3).").arg(path, where, e.reason())};
}

ConversionSummary copySqlite(const QString& source, const QString& part) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) {
    throw ConversionError(
        converr::kCannotOpenFile,
        QStringLiteral("Cannot open the file '%1': %2.").arg(source, in.errorString()));
  }
  QFile out(part);
  if (!out.open(QIODevice::WriteOnly)) diskError(part, out.errorString());
  while (!in.atEnd()) {
    const QByteArray chunk = in.read(kCopyChunk);
    if (chunk.isEmpty() && in.error() != QFile::NoError) {
      throw ConversionError(
          converr::kCannotOpenFile,
          QStringLiteral("Cannot read the file '%1': %2.").arg(source, in.errorString()));
    }
    if (out.write(chunk) != chunk.size()) diskError(part, out.errorString());
  }
  if (!out.flush()) diskError(part, out.errorString());
  ConversionSummary summary;
  summary.copiedSqlite = true;
  return summary;
}

TableSummary convertTable(JetFile& file, const TextDecoder& text, const CatalogTable& entry,
                          SqliteWriter& writer) {
  JetTable table(file, text, entry.tdefPage);
  writer.createTable(entry.name, table.columns());
  const std::vector<JetColumn>& columns = table.columns();
  ValueDecoder decoder(file, text);
  std::vector<Value> row(columns.size());
  const quint64 rows =
      table.forEachRow([&](std::span<const MdbField> fields, std::span<const uint8_t> page) {
        for (size_t i = 0; i < columns.size(); ++i)
          row[i] = decoder.decode(columns[i], page, fields[i]);
        writer.insertRow(row);
      });
  return {entry.name, rows};
}

ConversionSummary convertJet(const QString& source, const SourceInfo& info, const QString& part,
                             const ConversionOptions& options) {
  JetFile file(source, info);
  ConversionSummary summary;
  if (file.isJet3()) summary.codePage = chooseCodePage(file.headerCodePage(), options.codePage);
  const TextDecoder text(file.isJet3(), file.isJet3() ? summary.codePage : kDefaultCodePage);
  std::vector<CatalogTable> tables;
  try {
    tables = readUserTables(file, text);
  } catch (const ReadError& e) {
    throw toConversionError(source, QStringLiteral("catalogue"), e);
  }
  SqliteWriter writer(part);
  for (const CatalogTable& entry : tables) {
    try {
      summary.tables.push_back(convertTable(file, text, entry, writer));
    } catch (const ReadError& e) {
      throw toConversionError(source, QStringLiteral("table '%1'").arg(entry.name), e);
    }
  }
  writer.commit();
  return summary;
}

}  // namespace

ConversionSummary convertV1File(const QString& source, const QString& target,
                                const ConversionOptions& options) {
  const SourceInfo info = inspectSource(source);
  checkTarget(source, target);
  PartFile part(target);
  ConversionSummary summary = info.kind == SourceKind::Sqlite
                                  ? copySqlite(source, part.path())
                                  : convertJet(source, info, part.path(), options);
  part.renameTo(target);
  return summary;
}

}  // namespace qalvoro::v1
