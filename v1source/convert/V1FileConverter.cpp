#include "v1source/convert/V1FileConverter.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

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

// The conversion of one Jet file into its working copy.
class JetConversion {
 public:
  JetConversion(const QString& source, const SourceInfo& info, const ConversionOptions& options)
      : source_(source),
        file_(source, info),
        handling_(options.leaveOutDamage ? Damage::LeaveOut : Damage::Refuse),
        text_(file_.isJet3(), codePageOf(file_, options)) {
    if (file_.isJet3()) summary_.codePage = text_.codePage();
    if (info.partPageSize != 0) {
      summary_.leftOut.push_back(
          leftOutMessage(QStringLiteral("The last %1 bytes of the file").arg(info.partPageSize),
                         QStringLiteral("the file ends inside a page")));
    }
  }

  ConversionSummary run(const QString& part) {
    const std::vector<CatalogTable> tables = readCatalogue();
    SqliteWriter writer(part);
    for (const CatalogTable& entry : tables) copyTable(entry, writer);
    writer.commit();
    return std::move(summary_);
  }

 private:
  static int codePageOf(JetFile& file, const ConversionOptions& options) {
    return file.isJet3() ? chooseCodePage(file.headerCodePage(), options.codePage)
                         : kDefaultCodePage;
  }

  std::vector<CatalogTable> readCatalogue() {
    Damage damage(handling_);
    std::vector<CatalogTable> tables;
    try {
      tables = readUserTables(file_, text_, damage);
    } catch (const ReadError& e) {
      throw toConversionError(source_, QStringLiteral("catalogue"), e);
    }
    if (damage.leftOut()) {
      summary_.leftOut.push_back(
          leftOutMessage(QStringLiteral("The tables named in damaged rows of the catalogue"),
                         damage.firstProblem()));
    }
    return tables;
  }

  // A lenient conversion leaves a table whose definition cannot be read out.
  void copyTable(const CatalogTable& entry, SqliteWriter& writer) {
    const QString where = QStringLiteral("table '%1'").arg(entry.name);
    const QString named = QStringLiteral("Table '%1'").arg(entry.name);
    std::optional<JetTable> table;
    try {
      table.emplace(file_, text_, entry.tdefPage);
    } catch (const ReadError& e) {
      if (handling_ == Damage::Refuse) throw toConversionError(source_, where, e);
      summary_.leftOut.push_back(leftOutMessage(named, e.reason()));
      return;
    }
    Damage damage(handling_);
    quint64 rows = 0;
    try {
      rows = copyRows(*table, entry.name, writer, damage);
    } catch (const ReadError& e) {
      throw toConversionError(source_, where, e);
    }
    summary_.tables.push_back({entry.name, rows});
    if (damage.leftOut() || rows != table->countedRows()) {
      summary_.leftOut.push_back(
          leftOutRowsMessage(named, rows, table->countedRows(), damage.firstProblem()));
    }
  }

  quint64 copyRows(JetTable& table, const QString& name, SqliteWriter& writer, Damage& damage) {
    writer.createTable(name, table.columns());
    const std::vector<JetColumn>& columns = table.columns();
    ValueDecoder decoder(file_, text_);
    std::vector<Value> row(columns.size());
    return table.forEachRow(
        [&](std::span<const MdbField> fields, std::span<const uint8_t> page) {
          for (size_t i = 0; i < columns.size(); ++i)
            row[i] = decoder.decode(columns[i], page, fields[i]);
          writer.insertRow(row);
        },
        damage);
  }

  QString source_;
  JetFile file_;
  Damage::Handling handling_;
  ConversionSummary summary_;
  TextDecoder text_;
};

}  // namespace

ConversionSummary convertV1File(const QString& source, const QString& target,
                                const ConversionOptions& options) {
  const SourceInfo info = inspectSource(source, options.leaveOutDamage);
  checkTarget(source, target);
  PartFile part(target);
  ConversionSummary summary = info.kind == SourceKind::Sqlite
                                  ? copySqlite(source, part.path())
                                  : JetConversion(source, info, options).run(part.path());
  part.renameTo(target);
  return summary;
}

}  // namespace qalvoro::v1
