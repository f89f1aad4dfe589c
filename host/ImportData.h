#pragma once

#include <QString>
#include <array>
#include <functional>

namespace qalvoro {

// The component's one public class. StartUpdate opens the language database
// and the version-2 database, shows the start window modally and closes the
// version-2 connection when the user leaves it. Failures are shown to the
// user inside the call; nothing is returned to the host.
class ImportData {
 public:
  ImportData() = default;
  // Releases the windows the calls left loaded.
  ~ImportData();
  ImportData(const ImportData&) = delete;
  ImportData& operator=(const ImportData&) = delete;

  void StartUpdate(const QString& AppPath, const QString& INI_Path, const QString& vODBC);

  // The first steps of StartUpdate: settings, the language database, the
  // message-box direction, the application title and the version-2
  // connection. False, after the message the user was shown, when a
  // database cannot be opened.
  static bool OpenSession(const QString& AppPath, const QString& INI_Path, const QString& vODBC);
  // The last step: unloads the folder search and closes the version-2
  // connection.
  static void CloseSession();

  // The restore window the start window's option runs (0 catalogue,
  // 1 accounts); an option without one does nothing.
  void setRestoreWindow(int option, std::function<void()> show);

 private:
  std::array<std::function<void()>, 3> restoreWindows_;
};

}  // namespace qalvoro
