#include "host/ImportData.h"

#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/dialogs/FrmStart.h"
#include "host/dialogs/WinSeek.h"
#include "host/forms/Windows.h"
#include "host/language/Language.h"
#include "host/platform/DesktopPlatform.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

const QString kLangFile = QStringLiteral("LTR.DRV");

bool openLanguageDatabase(Globals& state) {
  try {
    state.LangConnection->open(state.AppPath + kLangFile, QStringLiteral("admin"), QString());
    state.LangRecordset = std::make_unique<Recordset>();
    state.LangRecordset->open(QStringLiteral("Lang"), *state.LangConnection, LockType::Pessimistic);
    return true;
  } catch (const DbError&) {
    platform().msgBox(
        state.AppPath + kLangFile + '\n' + QStringLiteral("خطأ أثناء القراءة من الملف"),
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

bool ImportData::OpenSession(const QString& AppPath, const QString& INI_Path,
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
  if (!openLanguageDatabase(state)) return false;

  const bool arabic = GetLanguage() == QLatin1String("A");
  state.MsgBoxRtlFlags = arabic ? mb::kRtlFlags : 0;
  UseArabicStandardTexts(arabic);
  setApplicationTitle(Translate(QStringLiteral("Qalvoro")));
  return openMainConnection(state);
}

void ImportData::CloseSession() {
  windows().unload<WinSeek>();
  UseArabicStandardTexts(false);
  Connection* main = globals().MainConnection.get();
  if (main && main->state() == 1) main->close();
}

void ImportData::StartUpdate(const QString& AppPath, const QString& INI_Path,
                             const QString& vODBC) {
  // Once the databases are open, an error that reaches this call is ignored;
  // the version-2 connection is closed whatever happens.
  try {
    if (OpenSession(AppPath, INI_Path, vODBC)) {
      FrmStart start;
      for (int option = 0; option < 3; ++option) {
        start.setRestoreWindow(option, restoreWindows_[option]);
      }
      start.showModal();
    }
  } catch (const DbError&) {
  }
  CloseSession();
}

ImportData::~ImportData() {
  windows().clear();
  ReleaseGlobals();
}

void ImportData::setRestoreWindow(int option, std::function<void()> show) {
  restoreWindows_.at(option) = std::move(show);
}

}  // namespace qalvoro
