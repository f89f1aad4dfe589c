#include "v1source/convert/V1Converter.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <optional>

#include "host/db/DbError.h"

namespace qalvoro {
namespace {

constexpr long kDamagedFile = 3049;
constexpr long kTimeoutExpired = -2147217871;  // 0x80040E31

// The converter's last stderr line "NUMBER<TAB>description", if any.
std::optional<DbError> reportedError(const QByteArray& stderrOutput) {
  static const QRegularExpression line(QStringLiteral("^(-?\\d+)\\t(.+)$"),
                                       QRegularExpression::MultilineOption);
  std::optional<DbError> error;
  auto matches = line.globalMatch(QString::fromUtf8(stderrOutput));
  while (matches.hasNext()) {
    const auto match = matches.next();
    error.emplace(match.captured(1).toLong(), match.captured(2).trimmed());
  }
  return error;
}

// The parts a lenient conversion left out: its "left out<TAB>what" lines.
QStringList leftOutParts(const QByteArray& standardOutput) {
  static const QString kPrefix = QStringLiteral("left out\t");
  QStringList parts;
  for (const QString& line : QString::fromUtf8(standardOutput).split(u'\n')) {
    if (line.startsWith(kPrefix)) parts << line.mid(kPrefix.size()).trimmed();
  }
  return parts;
}

void removeOutputs(const QString& target) {
  QFile::remove(target + QStringLiteral(".part"));
  QFile::remove(target);
}

}  // namespace

QString V1Converter::defaultProgram() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("qalvoro-v1convert"));
}

QStringList V1Converter::convert(const QString& source, const QString& target) const {
  QStringList arguments;
  if (codePage_ != 0) arguments << QStringLiteral("--codepage") << QString::number(codePage_);
  if (lenient_) arguments << QStringLiteral("--lenient");
  arguments << source << target;

  QProcess process;
  process.setProgram(program_.isEmpty() ? defaultProgram() : program_);
  process.setArguments(arguments);
  const rlim_t limit = memoryLimit_;
  process.setChildProcessModifier([limit] {
    const rlimit addressSpace{limit, limit};
    setrlimit(RLIMIT_AS, &addressSpace);
  });
  process.start();
  if (!process.waitForStarted()) {
    removeOutputs(target);  // no copy of an earlier run is taken for this one
    throw DbError(dberr::kUnspecified, QStringLiteral("Cannot start the file converter '%1': %2.")
                                           .arg(process.program(), process.errorString()));
  }
  const bool finished = process.waitForFinished(int(timeLimit_.count()));
  if (!finished && process.state() != QProcess::NotRunning) {
    process.kill();
    process.waitForFinished();
    removeOutputs(target);
    throw DbError(kTimeoutExpired,
                  QStringLiteral("Timeout expired: the conversion of '%1' did not finish within "
                                 "%2 seconds and was stopped.")
                      .arg(source)
                      .arg(timeLimit_.count() / 1000.0));
  }
  if (process.exitStatus() == QProcess::CrashExit) {
    removeOutputs(target);
    throw DbError(kDamagedFile,
                  QStringLiteral("The database '%1' is damaged and cannot be converted: the reader "
                                 "stopped abnormally.")
                      .arg(source));
  }
  if (process.exitCode() != 0) {
    removeOutputs(target);
    const QByteArray output = process.readAllStandardError();
    if (auto error = reportedError(output)) throw *error;
    throw DbError(dberr::kUnspecified,
                  QStringLiteral("The file converter failed (exit code %1): %2")
                      .arg(process.exitCode())
                      .arg(QString::fromUtf8(output).trimmed()));
  }
  return leftOutParts(process.readAllStandardOutput());
}

}  // namespace qalvoro
