#pragma once

#include <QString>

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
};

}  // namespace qalvoro
