#include "host/ImportData.h"

#include "host/FrmStart.h"
#include "host/Globals.h"
#include "host/Language.h"
#include "host/Platform.h"
#include "host/WinSeek.h"
#include "host/Windows.h"
#include "host/db/DbError.h"

namespace qalvoro {
namespace {

const QString kLangFile = QStringLiteral("LTR.DRV");

bool openLanguageDatabase(Globals& state) {
  try {
    state.LangConnection->open(state.AppPath + kLangFile, QStringLiteral("admin"), QString());
    state.LangRecordset = std::make_unique<Recordset>();
    state.LangRecordset->open(QStringLiteral("Lang"), *state.LangConnection,
                              LockType::Pessimistic);
    return true;
  } catch (const DbError&) {
    platform().msgBox(state.AppPath + kLangFile + '\n' +
                          QStringLiteral("خطأ أثناء القراءة من الملف"),
                      mb::kOkOnly, QString());
    return false;
  }
}

bool openMainConnection(Globals& state) {
  try {
    state.MainConnection->open(state.vODBC, QStringLiteral("sa"), DbPassword);
    return true;
  } catch (const DbError& error) {
    platform().msgBox(Translate(QStringLiteral("حدث الخطأ التالي:")) +
                          QString::number(error.number()) + '\n' + error.description(),
                      mb::kCritical | state.MsgBoxRtlFlags, QString());
    if (state.MainConnection->state() == 1) state.MainConnection->close();
    return false;
  }
}

}  // namespace

void ImportData::StartUpdate(const QString& AppPath, const QString& INI_Path,
                             const QString& vODBC) {
  Globals& state = globals();
  state.vODBC = vODBC;
  state.INI_Path = INI_Path;
  state.DecimalFormat = Val(GetSetting(QStringLiteral("Decimal"), QStringLiteral("0"))) == 0
                            ? QStringLiteral("0.00")
                            : QStringLiteral("0.000");
  state.AppPath = AppPath;
  state.MainConnection = std::make_unique<Connection>();
  state.LangRecordset.reset();
  state.LangConnection = std::make_unique<Connection>();
  if (!openLanguageDatabase(state)) return;

  state.MsgBoxRtlFlags = GetLanguage() == QLatin1String("A") ? mb::kRtlFlags : 0;
  setApplicationTitle(Translate(QStringLiteral("Qalvoro")));
  // From here on an error that reaches this call is ignored; the version-2
  // connection is closed whatever happens.
  try {
    if (openMainConnection(state)) {
      FrmStart start;
      start.showModal();
    }
  } catch (const DbError&) {
  }
  windows().unload<WinSeek>();
  if (state.MainConnection->state() == 1) state.MainConnection->close();
}

ImportData::~ImportData() { windows().clear(); }

}  // namespace qalvoro
