// qalvoro-screenshots [OUTPUT_DIR]: renders every window of the component,
// in Arabic and in English, to PNG files named <Window>-ar.png and
// <Window>-en.png (default folder: docs/screenshots of the source tree).
// Runs without a display (QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

#include "host/Form.h"
#include "host/FrmStart.h"
#include "host/Globals.h"
#include "host/ScriptedUser.h"
#include "host/db/DbError.h"

namespace {

using namespace qalvoro;

struct Window {
  QString name;
  std::function<std::unique_ptr<Form>()> make;
};

std::vector<Window> windows() {
  return {
      {"FrmStart", [] { return std::make_unique<FrmStart>(); }},
  };
}

void openLanguage(const QString& ltrPath) {
  globals().LangRecordset.reset();
  globals().LangConnection = std::make_unique<Connection>();
  globals().LangConnection->open(ltrPath);
  globals().LangRecordset = std::make_unique<Recordset>();
  globals().LangRecordset->open(QStringLiteral("Lang"), *globals().LangConnection,
                                LockType::Pessimistic);
}

bool render(const Window& window, const QString& file) {
  auto form = window.make();
  form->load();
  form->show();
  QApplication::processEvents();
  const bool saved = form->grab().save(file);
  form->hide();
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTextStream out(stdout);
  const QString target = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(QALVORO_SOURCE_DIR "/docs/screenshots");
  QDir().mkpath(target);

  QTemporaryDir work;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, work.filePath("config"));
  const QString ltr = work.filePath("LTR.DRV");
  QFile::copy(QCoreApplication::applicationDirPath() + "/LTR.DRV", ltr);
  QFile::setPermissions(ltr, QFile::ReadOwner | QFile::WriteOwner);
  const ScopedPlatform user(std::make_unique<ScriptedUser>());
  globals().INI_Path = QStringLiteral("QalvoroScreenshots");

  int failures = 0;
  try {
    openLanguage(ltr);
    for (const auto& [language, suffix] : {std::pair{"A", "ar"}, std::pair{"E", "en"}}) {
      SaveSetting(QStringLiteral("Language"), language);
      for (const Window& window : windows()) {
        const QString file = QStringLiteral("%1/%2-%3.png").arg(target, window.name, suffix);
        const bool saved = render(window, file);
        failures += saved ? 0 : 1;
        out << (saved ? "wrote " : "FAILED ") << file << '\n';
      }
    }
  } catch (const DbError& error) {
    out << "Err:" << error.number() << '\n' << error.description() << '\n';
    return 1;
  }
  globals().LangRecordset.reset();
  globals().LangConnection.reset();
  return failures == 0 ? 0 : 1;
}
