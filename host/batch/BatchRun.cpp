#include "host/batch/BatchRun.h"

#include <QPushButton>

#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/db/DbError.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Windows.h"

namespace qalvoro {
namespace {

constexpr int kProgressEvery = 1000;

const QStringList kSharedValues = {"app-path",   "settings", "db",        "v1-folder",
                                   "old-branch", "branch",   "overwrite", "batch"};

}  // namespace

BatchOptions::BatchOptions(const QStringList& valueOptions, const QStringList& switches) {
  for (const QString& name : kSharedValues + valueOptions) {
    parser_.addOption({name, QString(), QStringLiteral("value")});
  }
  for (const QString& name : switches) parser_.addOption({name, QString()});
}

bool BatchOptions::parse(const QStringList& arguments, const QStringList& required,
                         const QString& usage, QTextStream& out) {
  if (!parser_.parse(QStringList{QStringLiteral("batch")} + arguments)) {
    out << "batch: " << parser_.errorText() << Qt::endl;
    return false;
  }
  appPath_ = value(QStringLiteral("app-path"));
  if (!appPath_.isEmpty() && !appPath_.endsWith('/')) appPath_ += '/';
  bool oldOk = false;
  bool newOk = false;
  oldBranch_ = value(QStringLiteral("old-branch")).toInt(&oldOk);
  branch_ = value(QStringLiteral("branch")).toInt(&newOk);
  overwrite_ = value(QStringLiteral("overwrite"));
  if (overwrite_.isEmpty()) overwrite_ = QStringLiteral("no-all");
  bool complete = !appPath_.isEmpty() && !db().isEmpty() && !folder().isEmpty() && oldOk && newOk;
  for (const QString& name : required) complete = complete && !value(name).isEmpty();
  const bool knownAnswer = QStringList{"yes-all", "no-all", "cancel"}.contains(overwrite_);
  if (!complete || !knownAnswer) {
    out << "batch: " << usage << Qt::endl;
    return false;
  }
  return true;
}

BatchSummary::BatchSummary(QTextStream& out, QString noun, bool withEntries)
    : out_(out), noun_(std::move(noun)), withEntries_(withEntries) {}

void BatchSummary::record(const QString& key, Outcome outcome, const QString& reason) {
  switch (outcome) {
    case Outcome::Imported:
      ++imported_;
      break;
    case Outcome::Overwritten:
      ++overwritten_;
      break;
    case Outcome::Skipped:
      ++skipped_;
      break;
    case Outcome::Refused:
      refused_.push_back(key + ": " + reason);
      break;
  }
  if (++records_ % kProgressEvery == 0) {
    out_ << "progress: " << records_ << ' ' << noun_ << 's' << Qt::endl;
  }
}

void BatchSummary::stopped(const QString& key, const QString& reason) {
  stoppedAt_ = key.isEmpty() ? reason : QStringLiteral("%1 %2: %3").arg(noun_, key, reason);
}

void BatchSummary::entry(int, int lines, int skippedLines) {
  lines_ += lines;
  skippedLines_ += skippedLines;
  if (++entries_ % kProgressEvery == 0) out_ << "progress: " << entries_ << " entries" << Qt::endl;
}

QString BatchSummary::counts() const {
  return QStringLiteral("imported %1, overwritten %2, skipped %3, refused %4")
      .arg(imported_)
      .arg(overwritten_)
      .arg(skipped_)
      .arg(refused_.size());
}

void BatchSummary::printKind(const QString& kind, const QString& ending) const {
  out_ << "summary " << kind << ": " << counts() << "; " << ending << Qt::endl;
  for (const QString& refusal : refused_) out_ << "refused: " << refusal << Qt::endl;
}

void BatchSummary::print(const QString& ending) const {
  out_ << "summary: " << counts() << Qt::endl;
  for (const QString& refusal : refused_) out_ << "refused: " << refusal << Qt::endl;
  if (withEntries_) {
    out_ << "summary: entries " << entries_ << ", lines " << lines_ << ", lines without account "
         << skippedLines_ << Qt::endl;
  }
  out_ << "ended: " << ending << Qt::endl;
}

void AnswerOverwritePrompt(QWidget& window, const QString& answer) {
  auto* prompt = qobject_cast<FrmOverWrite*>(&window);
  if (!prompt) return;
  if (answer == QLatin1String("yes-all")) prompt->CmdYesAll->click();
  if (answer == QLatin1String("no-all")) prompt->CmdNoAll->click();
  if (answer == QLatin1String("cancel")) prompt->CmdCancel->click();
}

BatchEnding EndingOf(const BatchSummary& summary, const QStringList& errors) {
  if (!errors.isEmpty()) return {kBatchFailed, "failed: " + errors.constLast()};
  if (summary.wasStopped()) return {kBatchStopped, "stopped at " + summary.stoppedAt()};
  return {kBatchDone, QStringLiteral("every row was processed")};
}

int RunBatch(const BatchOptions& options, const QString& noun, bool withEntries,
             BatchUser::WindowScript script, const BatchBody& body, QTextStream& out) {
  return RunSession(
      options, std::move(script),
      [&](BatchUser& user) {
        BatchSummary summary(out, noun, withEntries);
        if (const QString failure = body(user, summary); !failure.isEmpty()) {
          out << "ended: failed: " << failure << Qt::endl;
          return static_cast<int>(kBatchFailed);
        }
        const BatchEnding ending = EndingOf(summary, user.errors());
        summary.print(ending.text);
        return ending.code;
      },
      out);
}

int RunSession(const BatchOptions& options, BatchUser::WindowScript script,
               const std::function<int(BatchUser& user)>& body, QTextStream& out) {
  auto installedUser = std::make_unique<BatchUser>(out);
  BatchUser& user = *installedUser;
  user.setWindowScript(std::move(script));
  const ScopedPlatform installed(std::move(installedUser));
  int result = kBatchFailed;
  try {
    if (!ImportData::OpenSession(options.appPath(), options.settings(), options.db())) {
      out << "ended: failed: the databases could not be opened" << Qt::endl;
    } else {
      globals().MainConnection->failNthWriteFromEnvironment();  // a test's failing write
      result = body(user);
    }
  } catch (const DbError& error) {
    out << "ended: failed: Err:" << error.number() << ' ' << error.description() << Qt::endl;
  }
  ImportData::CloseSession();
  windows().clear();
  ReleaseGlobals();
  return result;
}

}  // namespace qalvoro
