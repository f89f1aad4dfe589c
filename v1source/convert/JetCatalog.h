#pragma once

#include <QString>
#include <vector>

#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetFile.h"
#include "v1source/convert/JetText.h"

namespace qalvoro::v1 {

struct CatalogTable {
  QString name;
  quint32 tdefPage;
};

// The user tables of a Jet file, in catalogue order, read from the catalogue
// table (MSysObjects) with the same checks as any table. System tables (MSys*)
// are left out. Throws ReadError when the catalogue's definition is damaged;
// its damaged or missing rows are met as damage (the tables they name are
// then missing).
std::vector<CatalogTable> readUserTables(JetFile& file, const TextDecoder& text, Damage& damage);

}  // namespace qalvoro::v1
