#pragma once

#include <QString>

namespace qalvoro {

// Creates a version-2 database with every table, its lock rows and its one
// SysInfo row; with demo, also two branches, units, classes and a chart of
// accounts. An SQLite file must not exist yet; a PostgreSQL database is
// created on its server when missing and must hold no tables. Raises DbError.
void createVersion2Database(const QString& connectionString, bool demo);

}  // namespace qalvoro
