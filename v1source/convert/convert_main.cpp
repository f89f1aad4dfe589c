// qalvoro-v1convert [--codepage N] [--lenient] SOURCE TARGET
//
// Converts a version-1 file into its working copy. On success prints one line
// per table; on failure prints "NUMBER<TAB>description" on stderr and exits
// with 1 (2 for a wrong command line), leaving no TARGET behind. --codepage
// sets the code page of Jet 3 text; Jet 4 text is Unicode. --lenient copies
// what can be read of a damaged file and prints one line "left out<TAB>what"
// per part it left out.

#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "v1source/codepage/CodePage.h"
#include "v1source/convert/ConversionError.h"
#include "v1source/convert/V1FileConverter.h"

namespace {

using qalvoro::v1::ConversionOptions;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Arguments {
  QString source;
  QString target;
  ConversionOptions options;
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments arguments;
  std::vector<QString> paths;
  for (int i = 1; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    if (argument == QLatin1String("--lenient")) {
      arguments.options.leaveOutDamage = true;
    } else if (argument == QLatin1String("--codepage") && i + 1 < argc) {
      bool ok = false;
      arguments.options.codePage = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
      if (!ok || !qalvoro::CodePage::isSupported(arguments.options.codePage)) return std::nullopt;
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.size() != 2) return std::nullopt;
  arguments.source = paths[0];
  arguments.target = paths[1];
  return arguments;
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// libmdb writes warnings to stderr, where the caller reads one line. Returns
// a stream on the original stderr (null if it cannot be had) and sends
// everything else to /dev/null.
File takeOverStderr() {
  const int saved = dup(STDERR_FILENO);
  File messages(saved >= 0 ? fdopen(saved, "w") : nullptr);
  if (!messages) return messages;
  const int devNull = open("/dev/null", O_WRONLY);
  if (devNull >= 0) {
    dup2(devNull, STDERR_FILENO);
    close(devNull);
  }
  return messages;
}

// A text on one line without tabs, as the reading side splits it.
QByteArray oneLine(QString text) {
  return text.replace(QLatin1Char('\n'), QLatin1Char(' '))
      .replace(QLatin1Char('\r'), QLatin1Char(' '))
      .replace(QLatin1Char('\t'), QLatin1Char(' '))
      .toUtf8();
}

int fail(FILE* messages, long number, const QString& description) {
  std::fprintf(messages != nullptr ? messages : stderr, "%ld\t%s\n", number,
               oneLine(description).constData());
  return kFailed;
}

constexpr char kHelp[] =
    "usage: qalvoro-v1convert [--codepage 1256|864|1252] [--lenient] SOURCE TARGET\n\n"
    "Converts a version-1 file (Jet 3 or Jet 4 .mdb) into an SQLite working copy at TARGET.\n"
    "Prints one line per table copied; on failure prints NUMBER<TAB>description on stderr\n"
    "and exits with 1 (2 for a wrong command line), leaving no TARGET behind.\n\n"
    "  --codepage N  code page of Jet 3 text (Jet 4 text is Unicode)\n"
    "  --lenient     copy what can be read of a damaged file; one line\n"
    "                \"left out<TAB>what\" per part left out\n"
    "  --help        this text\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  const std::optional<Arguments> arguments = parseArguments(argc, argv);
  if (!arguments) {
    std::fprintf(stderr,
                 "usage: qalvoro-v1convert [--codepage 1256|864|1252] [--lenient] SOURCE TARGET\n");
    return kUsage;
  }
  const File messages = takeOverStderr();
  try {
    const auto summary =
        qalvoro::v1::convertV1File(arguments->source, arguments->target, arguments->options);
    if (summary.copiedSqlite) {
      std::printf("%s: an SQLite file, copied as it is\n", qPrintable(arguments->source));
    }
    if (summary.codePage != 0) std::printf("Jet 3 text read in code page %d\n", summary.codePage);
    for (const auto& table : summary.tables) {
      std::printf("%s\t%llu rows\n", table.name.toUtf8().constData(),
                  static_cast<unsigned long long>(table.rows));
    }
    for (const QString& part : summary.leftOut) {
      std::printf("left out\t%s\n", oneLine(part).constData());
    }
    return 0;
  } catch (const qalvoro::v1::ConversionError& e) {
    return fail(messages.get(), e.number(), e.description());
  } catch (const std::bad_alloc&) {
    return fail(messages.get(), qalvoro::v1::converr::kResourceExceeded,
                QStringLiteral("System resource exceeded."));
  }
}
