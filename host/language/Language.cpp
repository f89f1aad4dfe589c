#include "host/language/Language.h"

#include "host/Globals.h"

namespace qalvoro {

QString GetLanguage() { return GetSetting(QStringLiteral("Language"), QStringLiteral("A")); }

namespace {

// Clears the language table's filter however the lookup ends.
class FilterGuard {
 public:
  explicit FilterGuard(Recordset& table) : table_(table) {}
  ~FilterGuard() { table_.clearFilter(); }
  FilterGuard(const FilterGuard&) = delete;
  FilterGuard& operator=(const FilterGuard&) = delete;

 private:
  Recordset& table_;
};

}  // namespace

QString Translate(const QString& text) {
  if (text.isEmpty()) return text;
  if (GetLanguage() == QLatin1String("A")) return text;
  Recordset* table = globals().LangRecordset.get();
  if (!table || table->state() != 1) return text;

  QString english;
  bool found = false;
  {
    const FilterGuard guard(*table);
    table->setFilterEqual(QStringLiteral("Ara"), text);
    found = table->recordCount() > 0;
    if (found) english = table->text(QStringLiteral("Eng")).trimmed();
  }
  if (!found) {
    table->addNew();
    table->setValue(QStringLiteral("Ara"), text);
    table->update();
  }
  return english.isEmpty() ? text : english;
}

}  // namespace qalvoro
