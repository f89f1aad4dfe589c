#pragma once

#include <QString>
#include <memory>

#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "host/helpers/Numbers.h"

namespace qalvoro {

// The password of the protected version-1 files and the default password of
// the version-2 database connection.
inline const QString DbPassword = QStringLiteral("Dv1#Lq7k!");

// The state every window reads, one set per process, written by
// ImportData::StartUpdate.
struct Globals {
  QString AppPath;
  QString INI_Path;
  QString vODBC;
  QString DecimalFormat = QStringLiteral("0.00");
  int MsgBoxRtlFlags = 0;
  // The calendar of the program's dates, from SysInfo: 0 Gregorian, 1 Hijri.
  int CalendarType = 0;
  std::unique_ptr<Connection> LangConnection;
  std::unique_ptr<Recordset> LangRecordset;
  std::unique_ptr<Connection> MainConnection;
};

Globals& globals();
// Releases the windows' shared state and the connections: the component is
// being released (before the application object goes away).
void ReleaseGlobals();

// Shorthands for the two connections every part uses.
inline Connection& MainConnection() { return *globals().MainConnection; }

// Reads a setting of section "Setting" under INI_Path.
QString GetSetting(const QString& key, const QString& defaultValue = {});
void SaveSetting(const QString& key, const QString& value);

// Shows a database error as "Err:" + number + line feed + description, with
// the critical icon.
void ShowError(const DbError& error);

// Runs an event procedure; a database error it raises is shown with
// ShowError instead of leaving the procedure.
template <class Procedure>
void ReportErrors(Procedure&& procedure) {
  try {
    procedure();
  } catch (const DbError& error) {
    ShowError(error);
  }
}

// Shows a message box whose text passes through Translate and whose style
// gets MsgBoxRtlFlags, with the application title.
int MsgBox(const QString& arabicText, int style = 0);

}  // namespace qalvoro
