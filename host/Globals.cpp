#include "host/Globals.h"

#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {

Globals& globals() {
  static Globals state;
  return state;
}

void ReleaseGlobals() {
  Globals& state = globals();
  state.LangRecordset.reset();
  state.LangConnection.reset();
  state.MainConnection.reset();
}

QString GetSetting(const QString& key, const QString& defaultValue) {
  return platform().getSetting(globals().INI_Path, QStringLiteral("Setting"), key, defaultValue);
}

void SaveSetting(const QString& key, const QString& value) {
  platform().saveSetting(globals().INI_Path, QStringLiteral("Setting"), key, value);
}

int MsgBox(const QString& arabicText, int style) {
  return platform().msgBox(Translate(arabicText), style | globals().MsgBoxRtlFlags, QString());
}

void ShowError(const DbError& error) {
  platform().msgBox(
      QStringLiteral("Err:") + QString::number(error.number()) + '\n' + error.description(),
      mb::kCritical | globals().MsgBoxRtlFlags, QString());
}

}  // namespace qalvoro
