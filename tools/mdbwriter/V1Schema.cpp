#include "tools/mdbwriter/V1Schema.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

Column text(const char* name, int length) { return Column::text(QString::fromUtf8(name), length); }
Column typed(const char* name, ColumnType type) {
  return Column::of(QString::fromUtf8(name), type);
}
Column longInt(const char* name) { return typed(name, ColumnType::Long); }
Column integer(const char* name) { return typed(name, ColumnType::Integer); }
Column dbl(const char* name) { return typed(name, ColumnType::Double); }
Column money(const char* name) { return typed(name, ColumnType::Currency); }
Column date(const char* name) { return typed(name, ColumnType::DateTime); }

TableSpec table(const char* name, std::vector<Column> columns) {
  return {QString::fromUtf8(name), std::move(columns)};
}

// Invoice and return headers share their tail: cash flag, amounts and note.
std::vector<Column> withAmounts(std::vector<Column> head) {
  head.push_back(typed("نقدي", ColumnType::YesNo));
  head.push_back(money("الاجمالي"));
  head.push_back(money("الخصم"));
  head.push_back(money("المتبقي"));
  head.push_back(typed("ملاحظه", ColumnType::Memo));
  return head;
}

std::vector<Column> partyColumns(const char* numberColumn) {
  return {longInt("رقم_الفرع"),      longInt(numberColumn), text("الاسم", 100),
          text("الشخص_المسئول", 50), text("العنوان", 100),  text("هاتف", 30),
          text("فاكس", 30)};
}

std::vector<Column> invoiceColumns(const char* partyNumber, const char* partyName) {
  return withAmounts({longInt("رقم_الفرع"), longInt("رقم_الفاتورة"), date("تاريخ_الفاتورة"),
                      date("تاريخ_الفاتوره1"), longInt(partyNumber), text(partyName, 100)});
}

std::vector<Column> lineColumns() {
  return {longInt("رقم_الفرع"), longInt("رقم_الفاتورة"), text("رقم_الصنف", 20),
          text("الوصف", 100),   dbl("الكميه"),           money("السعر")};
}

std::vector<Column> returnColumns(const char* partyNumber, const char* partyName) {
  return withAmounts({longInt("رقم_الفرع"), longInt("رقم_الارتجاع"), longInt("رقم_الفاتورة"),
                      date("تاريخ_الارتجاع1"), longInt(partyNumber), text(partyName, 100)});
}

std::vector<Column> returnLineColumns() {
  return {longInt("رقم_الفرع"),  longInt("رقم_الارتجاع"), longInt("رقم_الفاتورة"),
          text("رقم_الصنف", 20), text("الوصف", 100),      dbl("الكميه"),
          money("السعر")};
}

}  // namespace

TableSpec branchTable() { return table("Branch", {text("الاسم", 50), longInt("رقم_الفرع")}); }

TableSpec cardTable(ColumnType amounts) {
  return table("Card", {text("رقم_الحساب", 20), text("اسم_الحساب", 100), text("ffather", 20),
                        typed("افتتاحي_مدين", amounts), typed("افتتاحي_دائن", amounts),
                        typed("الحد_الاعلى", amounts), integer("مدين"), integer("دائن"),
                        integer("ftype"), integer("Haves"), longInt("رقم_الفرع")});
}

TableSpec gaidTable(ColumnType amounts) {
  return table("Gaid",
               {longInt("رقم_القيد"), date("التاريخ"), text("رقم_الحساب", 20), text("البيان", 255),
                typed("مدين", amounts), typed("دائن", amounts), longInt("رقم_الفرع")});
}

TableSpec usersTable() { return table("Users", {text("Name", 50)}); }

TableSpec stockBranchTable() { return table("الفروع", {text("الاسم", 50), longInt("رقم_الفرع")}); }

TableSpec itemTable() {
  return table("الاصناف",
               {longInt("رقم_الفرع"), text("رقم_الصنف", 20), text("الوصف", 100), dbl("كميه_متوفره"),
                dbl("كميه_مطلوبه"), dbl("كميه_الجرد"), dbl("نقطه_الطلب"), money("سعر_التكلفه"),
                dbl("نسبه_بيع_قطاعي"), dbl("نسبه_بيع_جمله"), money("سعر_بيع_قطاعي"),
                money("ادنى_سعر_بيع"), money("سعر_بيع_جمله"), text("التصنيف", 50)});
}

TableSpec customerTable() { return table("العملاء", partyColumns("رقم_العميل")); }
TableSpec providerTable() { return table("الموردين", partyColumns("رقم_المورد")); }

TableSpec salesInvoiceTable() {
  return table("ف_مبيعات", invoiceColumns("رقم_العميل", "اسم_العميل"));
}
TableSpec salesLineTable() { return table("ف1_مبيعات", lineColumns()); }
TableSpec salesCostTable() {
  return table("المبيعات", {longInt("رقم_الفرع"), longInt("رقم_الفاتورة"), text("رقم_الصنف", 20),
                            money("التكلفه")});
}
TableSpec salesReturnTable() {
  return table("ف_ارتجاع_مبيعات", returnColumns("رقم_العميل", "اسم_العميل"));
}
TableSpec salesReturnLineTable() { return table("ف1_ارتجاع_مبيعات", returnLineColumns()); }

TableSpec purchaseInvoiceTable() {
  return table("ف_مشتروات", invoiceColumns("رقم_المورد", "اسم_المورد"));
}
TableSpec purchaseLineTable() { return table("ف1_مشتروات", lineColumns()); }
TableSpec purchaseReturnTable() {
  return table("ف_ارتجاع_مشتروات", returnColumns("رقم_المورد", "اسم_المورد"));
}
TableSpec purchaseReturnLineTable() { return table("ف1_ارتجاع_مشتروات", returnLineColumns()); }

TableSpec voucherTable() {
  return table("السندات",
               {longInt("رقم_الفرع"), longInt("رقم_السند"), date("التاريخ1"), integer("نوع_السند"),
                integer("المستفيد"), longInt("رقم_المستفيد"), text("المستفيد1", 50),
                text("الاسم", 100), money("المبلغ"), integer("شيك"), text("رقم_الشيك", 30),
                date("تاريخ_الشيك1"), text("مقابل", 255)});
}

}  // namespace qalvoro::mdbwriter::v1
