#include "catalogue/ItemImport.h"

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
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

std::optional<ExistingItem> LockAndFindItem(const QString& lock, const QString& categoryNo,
                                            int branch) {
  const auto row = LockAndRead(
      lock,
      QStringLiteral("SELECT CategoryID, CategoryNo, AName FROM Category WHERE BranchID = ? AND ") +
          kMatching,
      {branch, categoryNo, categoryNo});
  if (!row) return std::nullopt;
  return ExistingItem{row->at(0).toInt(), row->at(1).toString(), row->at(2).toString()};
}

void WriteItem(const ItemFields& fields, const std::optional<ExistingItem>& existing,
               const QString& lock) {
  ColumnValues values = {{QStringLiteral("CategoryNo"), fields.categoryNo},
                         {QStringLiteral("BranchID"), fields.branch},
                         {QStringLiteral("AName"), fields.nameA},
                         {QStringLiteral("EName"), fields.nameE},
                         {QStringLiteral("ClassID"), fields.classId}};
  if (fields.providerId) values.emplace_back(QStringLiteral("ProviderID"), *fields.providerId);
  const ColumnValues rest = {{QStringLiteral("fType"), fields.service ? 1 : 0},
                             {QStringLiteral("AQuantity"), fields.aQuantity},
                             {QStringLiteral("RQuantity"), fields.rQuantity},
                             {QStringLiteral("IQuantity"), fields.iQuantity},
                             {QStringLiteral("RPoint"), fields.rPoint},
                             {QStringLiteral("CostPrice"), fields.costPrice},
                             {QStringLiteral("Location"), fields.location},
                             {QStringLiteral("JoinUnit"), true},
                             {QStringLiteral("ShowJoinPrice"), false},
                             {QStringLiteral("U1"), fields.unit},
                             {QStringLiteral("RateU1"), 1},
                             {QStringLiteral("P1RateU1"), fields.prices[0]},
                             {QStringLiteral("P2RateU1"), fields.prices[1]},
                             {QStringLiteral("SPriceU1"), fields.prices[2]},
                             {QStringLiteral("LSPriceU1"), fields.prices[3]},
                             {QStringLiteral("WholeSalePriceU1"), fields.prices[4]},
                             {QStringLiteral("MPriceU1"), 0},
                             {QStringLiteral("ExtraData"), QStringLiteral(" ")}};
  values.insert(values.end(), rest.begin(), rest.end());
  const Connection::Write write = existing ? UpdateWrite(QStringLiteral("Category"), values,
                                                         QStringLiteral("CategoryID"), existing->id)
                                           : InsertWrite(QStringLiteral("Category"), values);
  const auto results = MainConnection().writeAll({write, UnlockWrite(lock)});
  if (results.front().rowsAffected == 0) {
    throw DbError(dberr::kNoCurrentRecord,
                  QStringLiteral("The item %1 was removed by another workstation.")
                      .arg(existing->categoryNo));
  }
}

int EnsureItem(Connection& version1, const QString& number, int version1Branch, int version2Branch,
               int classId, int unit) {
  if (const int found = itemId(number); found != 0) return found;
  Recordset item;
  item.open(
      QStringLiteral("SELECT * FROM الاصناف WHERE رقم_الفرع = ? AND رقم_الصنف = ? COLLATE NOCASE"),
      version1, LockType::ReadOnly, {version1Branch, number});
  QVariantList values;
  if (!item.eof()) {
    values = QVariantList({number, version2Branch, item.text(QStringLiteral("الوصف")), classId,
                           numberOf(item, "كميه_متوفره"), numberOf(item, "كميه_مطلوبه"),
                           numberOf(item, "كميه_الجرد"), numberOf(item, "نقطه_الطلب"),
                           numberOf(item, "سعر_التكلفه"), unit, numberOf(item, "نسبه_بيع_قطاعي"),
                           numberOf(item, "نسبه_بيع_جمله"), numberOf(item, "سعر_بيع_قطاعي"),
                           numberOf(item, "ادنى_سعر_بيع"), numberOf(item, "سعر_بيع_جمله")});
  } else {
    values = {number,
              version2Branch,
              number + QStringLiteral(" صنف محذوف"),
              classId,
              0,
              0,
              0,
              0,
              0,
              unit,
              0,
              0,
              0,
              0,
              0};
  }
  return static_cast<int>(MainConnection().write(kInsert, values).keys.front());
}

}  // namespace qalvoro::ItemImport
