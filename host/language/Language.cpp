#include "host/language/Language.h"

#include <optional>

#include "host/Globals.h"

namespace qalvoro {

QString GetLanguage() { return GetSetting(QStringLiteral("Language"), QStringLiteral("A")); }

namespace {

// Blanks trimmed at both ends; tabs and line breaks are kept.
QString trimBlanks(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text.at(begin) == u' ') ++begin;
  while (end > begin && text.at(end - 1) == u' ') --end;
  return text.mid(begin, end - begin);
}

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

  std::optional<QString> english;  // a translation, when the row has one
  bool found = false;
  {
    const FilterGuard guard(*table);
    table->setFilterEqual(QStringLiteral("Ara"), text);
    found = table->recordCount() > 0;
    if (found) {
      const QString stored = table->text(QStringLiteral("Eng"));
      if (!stored.isEmpty()) english = trimBlanks(stored);
    }
  }
  if (!found) {
    table->addNew();
    table->setValue(QStringLiteral("Ara"), text);
    table->update();
  }
  return english.value_or(text);
}

}  // namespace qalvoro
