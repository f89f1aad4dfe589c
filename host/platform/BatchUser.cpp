#include "host/platform/BatchUser.h"

#include <QWidget>

namespace qalvoro {

int BatchUser::msgBox(const QString& text, int style, const QString&) {
  QString oneLine = text;
  oneLine.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ');
  printMessage(out_, oneLine);
  if (text.startsWith(QLatin1String("Err:"))) errors_ << oneLine;
  switch (style & 7) {
    case mb::kYesNo:
    case mb::kYesNoCancel:
      return mb::kYes;
    case mb::kAbortRetryIgnore:
      return mb::kAbort;
    case mb::kRetryCancel:
      return mb::kCancel;
    default:
      return mb::kOk;
  }
}

void BatchUser::printMessage(QTextStream& out, const QString& text) {
  out << "message: " << text << Qt::endl;
}

void BatchUser::showModal(QWidget& window) {
  if (script_) script_(window);
  window.hide();
}

}  // namespace qalvoro
