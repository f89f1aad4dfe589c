// qalvoro-make-v1: writes sample version-1 Jet files for demos, tests and
// benchmarks.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>

#include "tools/mdbwriter/V1Generator.h"

namespace {

using qalvoro::mdbwriter::JetVersion;
using qalvoro::mdbwriter::JetWriterOptions;
namespace v1 = qalvoro::mdbwriter::v1;

struct Invocation {
  v1::V1Options options;
  QString out;
  QString product = QStringLiteral("both");
  std::optional<int> benchRows;
  QString benchFile;
};

QCommandLineOption sizeOption(const char* name, const char* what, int defaultValue) {
  return {QString::fromLatin1(name),
          QStringLiteral("%1 (default %2).").arg(QString::fromLatin1(what)).arg(defaultValue),
          QStringLiteral("N"), QString::number(defaultValue)};
}

int positiveNumber(const QCommandLineParser& parser, const QString& name) {
  bool ok = false;
  const int value = parser.value(name).toInt(&ok);
  if (!ok || value < 0)
    throw std::invalid_argument(("--" + name + " needs a number >= 0").toStdString());
  return value;
}

Invocation parse(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Writes sample version-1 Jet (.mdb) files.\n\n"
      "Product folders (--out): DIR/accounts holds General.MDB (Branch), ACC2003.MDB (Card,\n"
      "Gaid) and SYSTEM1.MDB (Users); DIR/stock holds Stock001.mdb with the branch, item,\n"
      "customer, provider, invoice, return and voucher tables. Content is generated from\n"
      "the seed: the same options give the same files.\n\n"
      "Benchmark table (--bench-table ROWS FILE): one table \"Bench\" with a column of\n"
      "every type and ROWS rows."));
  parser.addHelpOption();
  const QCommandLineOption out(QStringLiteral("out"),
                               QStringLiteral("Folder to write the product folders into."),
                               QStringLiteral("DIR"));
  const QCommandLineOption product(QStringLiteral("product"),
                                   QStringLiteral("accounts, stock or both (default both)."),
                                   QStringLiteral("NAME"), QStringLiteral("both"));
  const QCommandLineOption format(
      QStringLiteral("format"),
      QStringLiteral("jet4 (UTF-16 text) or jet3 (Windows-1256 text) (default jet4)."),
      QStringLiteral("FORMAT"), QStringLiteral("jet4"));
  const QCommandLineOption headerCodePage(
      QStringLiteral("header-codepage"),
      QStringLiteral("Jet 3: code page the header and columns name, 1256 or 1252; the text stays "
                     "1256 (default 1256)."),
      QStringLiteral("CP"), QStringLiteral("1256"));
  const QCommandLineOption compressed(
      QStringLiteral("compressed-text"),
      QStringLiteral("Jet 4: store text in the compressed-unicode form where shorter."));
  const QCommandLineOption noSystemFile(QStringLiteral("no-system-file"),
                                        QStringLiteral("Do not write SYSTEM1.MDB."));
  const QCommandLineOption singleAmounts(
      QStringLiteral("single-amounts"),
      QStringLiteral("Keep the amounts of Card and Gaid in Single columns instead of Double."));
  const QCommandLineOption hostile(
      QStringLiteral("hostile"),
      QStringLiteral("Jet 4: fill the text fields with hostile values (quotes, SQL, wildcards,\n"
                     "diacritics, mixed directions, characters beyond the BMP, full-length texts,\n"
                     "a 64 KB memo, blanks around); numbers that link rows are kept."));
  const v1::V1Sizes defaults;
  const QCommandLineOption branches =
      sizeOption("branches", "Branches listed; 1 and 2 have data", defaults.branches);
  const QCommandLineOption accounts =
      sizeOption("accounts", "Accounts in the chart of branch 1", defaults.accounts);
  const QCommandLineOption entries =
      sizeOption("entries", "Journal entries, 2-4 lines each", defaults.entries);
  const QCommandLineOption items = sizeOption("items", "Items of branch 1", defaults.items);
  const QCommandLineOption invoices = sizeOption(
      "invoices", "Sales invoices; purchases, returns, vouchers and parties follow from it",
      defaults.invoices);
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("Seed of the generated content (default 1)."),
                                QStringLiteral("S"), QStringLiteral("1"));
  const QCommandLineOption bench(
      QStringLiteral("bench-table"),
      QStringLiteral("Write the benchmark table of ROWS rows to FILE instead."),
      QStringLiteral("ROWS"));
  parser.addOptions({out, product, format, headerCodePage, compressed, noSystemFile, singleAmounts,
                     hostile, branches, accounts, entries, items, invoices, seed, bench});
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("Output file of --bench-table."),
                               QStringLiteral("[FILE]"));
  parser.process(app);

  Invocation call;
  JetWriterOptions& writer = call.options.writer;
  const QString formatName = parser.value(format);
  if (formatName != QLatin1String("jet4") && formatName != QLatin1String("jet3")) {
    throw std::invalid_argument("--format must be jet4 or jet3");
  }
  writer.version = formatName == QLatin1String("jet3") ? JetVersion::Jet3 : JetVersion::Jet4;
  writer.declaredCodePage = positiveNumber(parser, headerCodePage.names().first());
  if (writer.declaredCodePage != 1256 && writer.declaredCodePage != 1252) {
    throw std::invalid_argument("--header-codepage must be 1256 or 1252");
  }
  writer.compressUnicode = parser.isSet(compressed);
  if (parser.isSet(hostile)) {
    if (writer.version != JetVersion::Jet4) throw std::invalid_argument("--hostile needs jet4");
    writer.rewriteText = v1::hostileTexts();
  }
  call.options.systemFile = !parser.isSet(noSystemFile);
  call.options.singleAmounts = parser.isSet(singleAmounts);
  v1::V1Sizes& sizes = call.options.sizes;
  sizes.branches = std::max(1, positiveNumber(parser, QStringLiteral("branches")));
  sizes.accounts = positiveNumber(parser, QStringLiteral("accounts"));
  sizes.entries = positiveNumber(parser, QStringLiteral("entries"));
  sizes.items = std::max(1, positiveNumber(parser, QStringLiteral("items")));
  sizes.invoices = std::max(1, positiveNumber(parser, QStringLiteral("invoices")));
  bool seedOk = false;
  call.options.seed = parser.value(seed).toULongLong(&seedOk);
  if (!seedOk) throw std::invalid_argument("--seed needs a whole number");

  if (parser.isSet(bench)) {
    call.benchRows = positiveNumber(parser, QStringLiteral("bench-table"));
    if (parser.positionalArguments().size() != 1)
      throw std::invalid_argument("--bench-table needs ROWS and FILE");
    call.benchFile = parser.positionalArguments().first();
    return call;
  }
  call.out = parser.value(out);
  call.product = parser.value(product);
  if (call.out.isEmpty()) throw std::invalid_argument("--out DIR is required");
  if (call.product != QLatin1String("accounts") && call.product != QLatin1String("stock") &&
      call.product != QLatin1String("both")) {
    throw std::invalid_argument("--product must be accounts, stock or both");
  }
  return call;
}

void run(const Invocation& call) {
  if (call.benchRows) {
    v1::writeBenchTable(call.benchFile, *call.benchRows, call.options.seed, call.options.writer);
    return;
  }
  const QDir out(call.out);
  if (call.product != QLatin1String("stock")) {
    v1::writeAccountsFolder(out.filePath(QStringLiteral("accounts")), call.options);
  }
  if (call.product != QLatin1String("accounts")) {
    v1::writeStockFolder(out.filePath(QStringLiteral("stock")), call.options);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("qalvoro-make-v1"));
  try {
    run(parse(app));
  } catch (const std::exception& e) {
    QTextStream(stderr) << "qalvoro-make-v1: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
