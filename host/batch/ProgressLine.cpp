#include "host/batch/ProgressLine.h"

namespace qalvoro {
namespace {

constexpr qint64 kTerminalEveryMs = 200;
constexpr qint64 kPlainEveryMs = 5000;

QString duration(qint64 seconds) {
  if (seconds < 60) return QStringLiteral("%1 s").arg(seconds);
  return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

ProgressLine::ProgressLine(QTextStream& out, bool terminal) : out_(out), terminal_(terminal) {}

void ProgressLine::begin(const QString& kind, int total) {
  interrupt();
  kind_ = kind;
  total_ = total;
  done_ = 0;
  active_ = true;
  started_.start();
  shown_.start();
  if (terminal_) show();
}

void ProgressLine::advance() {
  if (!active_) return;
  ++done_;
  if (shown_.elapsed() >= (terminal_ ? kTerminalEveryMs : kPlainEveryMs)) show();
}

void ProgressLine::end() {
  if (!active_) return;
  if (terminal_) {
    show();
    interrupt();
  }
  active_ = false;
}

QString ProgressLine::where() const {
  if (!active_) return {};
  if (done_ >= total_) return kind_;
  return QStringLiteral("%1, row %2").arg(kind_).arg(done_ + 1);
}

void ProgressLine::interrupt() {
  if (!lineOpen_) return;
  out_ << Qt::endl;
  lineOpen_ = false;
}

QString ProgressLine::text() const {
  const double seconds = started_.elapsed() / 1000.0;
  const double rate = seconds > 0 ? done_ / seconds : 0;
  QString line = QStringLiteral("%1: %2 of %3").arg(kind_).arg(done_).arg(total_);
  if (rate > 0) {
    line += QStringLiteral(", %1/s").arg(rate, 0, 'f', 1);
    if (done_ < total_) {
      line += ", " + duration(static_cast<qint64>((total_ - done_) / rate)) + " left";
    }
  }
  return line;
}

void ProgressLine::show() {
  shown_.restart();
  if (terminal_) {
    out_ << '\r' << text() << "\033[K" << Qt::flush;
    lineOpen_ = true;
  } else {
    out_ << "progress: " << text() << Qt::endl;
  }
}

}  // namespace qalvoro
