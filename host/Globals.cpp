#include "host/Globals.h"

#include <QRegularExpression>

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

double Val(const QString& text) {
  static const QRegularExpression number(
      QStringLiteral(R"(^[ \t]*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?))"));
  const auto match = number.match(text);
  return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

QString FormatDecimal(double value) {
  const QString& format = globals().DecimalFormat;
  const qsizetype point = format.indexOf('.');
  const int decimals = point < 0 ? 0 : static_cast<int>(format.size() - point - 1);
  return QString::number(value, 'f', decimals);
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
