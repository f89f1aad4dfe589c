#include "catalogue/ItemImport.h"

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro::ItemImport {
namespace {

const QString kInsert = QStringLiteral(
    "INSERT INTO Category (CategoryNo, BranchID, AName, EName, ClassID, ProviderID, fType, "
    "AQuantity, RQuantity, IQuantity, RPoint, CostPrice, Location, JoinUnit, ShowJoinPrice, U1, "
    "RateU1, P1RateU1, P2RateU1, SPriceU1, LSPriceU1, WholeSalePriceU1, MPriceU1, ExtraData) "
    "VALUES (?, ?, ?, ' ', ?, -1, 0, ?, ?, ?, ?, ?, ' ', TRUE, FALSE, ?, 1, ?, ?, ?, ?, ?, 0, '')");

// The rows whose number matches without case, the exact spelling first.
const QString kMatching = QStringLiteral(
    "UPPER(CategoryNo) = UPPER(?) ORDER BY CASE WHEN CategoryNo = ? THEN 0 ELSE 1 END, "
    "CategoryID");

int itemId(const QString& number) {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT CategoryID FROM Category WHERE ") + kMatching, {number, number});
  return row ? row->value(0).toInt() : 0;
}

double numberOf(const Recordset& row, const char* column) {
  return row.value(QString::fromUtf8(column)).toDouble();  // Null reads as 0
}

}  // namespace

std::optional<ExistingItem> FindItem(const QString& categoryNo, int branch) {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT CategoryID, CategoryNo, AName FROM Category WHERE BranchID = ? AND ") +
          kMatching,
      {branch, categoryNo, categoryNo});
  if (!row) return std::nullopt;
  return ExistingItem{row->value(0).toInt(), row->value(1).toString(), row->value(2).toString()};
}

void WriteItem(Recordset& items, const ItemFields& fields,
               const std::optional<ExistingItem>& existing) {
  WriteListRow(items, !existing, QStringLiteral("CategoryID"), existing ? existing->id : 0, [&] {
    items.setValue(QStringLiteral("CategoryNo"), fields.categoryNo);
    items.setValue(QStringLiteral("BranchID"), fields.branch);
    items.setValue(QStringLiteral("AName"), fields.nameA);
    items.setValue(QStringLiteral("EName"), fields.nameE);
    items.setValue(QStringLiteral("ClassID"), fields.classId);
    if (fields.providerId) items.setValue(QStringLiteral("ProviderID"), *fields.providerId);
    items.setValue(QStringLiteral("fType"), fields.service ? 1 : 0);
    items.setValue(QStringLiteral("AQuantity"), fields.aQuantity);
    items.setValue(QStringLiteral("RQuantity"), fields.rQuantity);
    items.setValue(QStringLiteral("IQuantity"), fields.iQuantity);
    items.setValue(QStringLiteral("RPoint"), fields.rPoint);
    items.setValue(QStringLiteral("CostPrice"), fields.costPrice);
    items.setValue(QStringLiteral("Location"), fields.location);
    items.setValue(QStringLiteral("JoinUnit"), true);
    items.setValue(QStringLiteral("ShowJoinPrice"), false);
    items.setValue(QStringLiteral("U1"), fields.unit);
    items.setValue(QStringLiteral("RateU1"), 1);
    items.setValue(QStringLiteral("P1RateU1"), fields.prices[0]);
    items.setValue(QStringLiteral("P2RateU1"), fields.prices[1]);
    items.setValue(QStringLiteral("SPriceU1"), fields.prices[2]);
    items.setValue(QStringLiteral("LSPriceU1"), fields.prices[3]);
    items.setValue(QStringLiteral("WholeSalePriceU1"), fields.prices[4]);
    items.setValue(QStringLiteral("MPriceU1"), 0);
    items.setValue(QStringLiteral("ExtraData"), QStringLiteral(" "));
  });
}

int EnsureItem(Connection& version1, const QString& number, int version1Branch, int version2Branch,
               int classId, int unit) {
  if (const int found = itemId(number); found != 0) return found;
  Recordset item;
  item.open(
      QStringLiteral("SELECT * FROM الاصناف WHERE رقم_الفرع = ? AND رقم_الصنف = ? COLLATE NOCASE"),
      version1, LockType::ReadOnly, {version1Branch, number});
  if (!item.eof()) {
    MainConnection().execute(kInsert,
                             {number, version2Branch, item.text(QStringLiteral("الوصف")), classId,
                              numberOf(item, "كميه_متوفره"), numberOf(item, "كميه_مطلوبه"),
                              numberOf(item, "كميه_الجرد"), numberOf(item, "نقطه_الطلب"),
                              numberOf(item, "سعر_التكلفه"), unit, numberOf(item, "نسبه_بيع_قطاعي"),
                              numberOf(item, "نسبه_بيع_جمله"), numberOf(item, "سعر_بيع_قطاعي"),
                              numberOf(item, "ادنى_سعر_بيع"), numberOf(item, "سعر_بيع_جمله")});
  } else {
    MainConnection().execute(
        kInsert, {number, version2Branch, number + QStringLiteral(" صنف محذوف"), classId, 0, 0, 0,
                  0, 0, unit, 0, 0, 0, 0, 0});
  }
  return itemId(number);
}

}  // namespace qalvoro::ItemImport
