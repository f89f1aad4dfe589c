#include "host/platform/BatchUser.h"

#include <QWidget>

namespace qalvoro {

int BatchUser::msgBox(const QString& text, int style, const QString&) {
  QString oneLine = text;
  oneLine.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ');
  out_ << "message: " << oneLine << Qt::endl;
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

void BatchUser::showModal(QWidget& window) {
  if (script_) script_(window);
  window.hide();
}

}  // namespace qalvoro
