#pragma once

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <memory>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/forms/Windows.h"
#include "host/helpers/Numbers.h"
#include "posting/PostingWindows.h"
#include "tests/host/HostTest.h"
#include "tests/support/RowTexts.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// The rows of a version-2 query as "value|value;value|value": numbers in
// general format, yes/no as 1/0, Null as empty, whatever the engine.
inline QString JoinedRows(const QString& sql, const QVariantList& params = {}) {
  QSqlQuery& rows = MainConnection().runPrepared(sql, params);
  QStringList lines;
  while (rows.next()) {
    QStringList values;
    for (int i = 0; i < rows.record().count(); ++i) {
      const QVariant value = rows.value(i);
      const int column = rows.record().field(i).metaType().id();
      const bool number = value.typeId() != QMetaType::QString || column == QMetaType::Double;
      values << (value.typeId() == QMetaType::Bool ? QString::number(value.toBool() ? 1 : 0)
                 : number && !value.isNull()       ? GeneralNumber(value.toDouble())
                                                   : value.toString());
    }
    lines << values.join('|');
  }
  rows.finish();
  return lines.join(';');
}

// A version-2 database (on engine()) with branch 1, a unit, two items, a customer and a
// provider, and the language table open, for driving the posting windows.
class PostingTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  virtual Engine engine() const { return Engine::SQLite; }

  // Loads the window, sets branch 1, opens its rows and presses the add
  // button.
  template <class Window>
  Window& newDocument() {
    auto& window = windows().get<Window>();
    window.load();
    window.setBranchID(1);
    window.OpenMyRec();
    window.Cmd_Add->click();
    return window;
  }
  // Fills the grid's current row as the imports do and moves to the next.
  void addLine(InvoiceWindow& window, int categoryId, const QString& quantity, const QString& price,
               const QString& nameAndDescription = "Item");

  bool lockHeld(const QString& name);

  int itemA = 0;
  int itemB = 0;
  int customer = 0;
  int provider = 0;

 private:
  std::unique_ptr<TestDatabase> database_;
};

}  // namespace qalvoro::test
