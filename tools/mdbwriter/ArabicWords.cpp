#include "tools/mdbwriter/ArabicWords.h"

#include <QStringList>

namespace qalvoro::mdbwriter::v1 {
namespace {

QString pick(Random& random, const QStringList& words) {
  return words.at(random.below(static_cast<int>(words.size())));
}

QStringList words(const char* barSeparated) {
  return QString::fromUtf8(barSeparated).split(QLatin1Char('|'));
}

}  // namespace

QString firstName(Random& random) {
  static const QStringList names =
      words("محمد|أحمد|عبدالله|خالد|سعيد|يوسف|ماجد|حسن|علي|سلمان|فهد|ناصر|إبراهيم|عمر|طارق");
  return pick(random, names);
}

QString familyName(Random& random) {
  static const QStringList names = words(
      "الغامدي|العتيبي|القحطاني|الدوسري|الشهري|الحربي|الزهراني|المطيري|الشمري|العنزي|السبيعي|"
      "البلوي");
  return pick(random, names);
}

QString personName(Random& random) { return firstName(random) + ' ' + familyName(random); }

QString cityDistrict(Random& random) {
  static const QStringList cities = words("الرياض|جدة|الدمام|مكة|الخبر|المدينة");
  return pick(random, cities) + QStringLiteral(" - حي ") + familyName(random).mid(2);
}

QString branchName(int number) {
  static const QStringList names =
      words("الفرع الرئيسي|فرع جدة|فرع الدمام|فرع مكة|فرع الخبر|فرع المدينة|فرع تبوك");
  return number <= names.size() ? names.at(number - 1) : QStringLiteral("فرع رقم %1").arg(number);
}

QString storeBranchName(int number) {
  static const QStringList names =
      words("المستودع الرئيسي|معرض الخبر|معرض جدة|معرض الدمام|معرض مكة|معرض تبوك");
  return number <= names.size() ? names.at(number - 1) : QStringLiteral("معرض رقم %1").arg(number);
}

QString productName(int index) {
  static const QStringList products = words(
      "أرز بسمتي|سكر ناعم|علبة 6*250 مل|شاي أحمر|زيت 'الأسرة' 1.5 لتر|حليب مجفف|معجون أسنان|"
      "صابون سائل|مناديل ورقية|قهوة عربية|عدس أحمر|طحين أبيض|ملح طعام|تمر سكري|عصير برتقال|"
      "مسحوق غسيل|معكرونة|جبن أبيض|فول مدمس|ماء صحي");
  const auto count = static_cast<int>(products.size());
  const QString base = products.at(index % count);
  return index < count ? base : QStringLiteral("%1 صنف %2").arg(base).arg(index / count + 1);
}

QString classification(Random& random) {
  static const QStringList classes = words("مواد غذائية|منظفات|مشروبات|ورقيات|معلبات");
  return pick(random, classes);
}

QString subAccountName(int root, int depth, Random& random) {
  static const QStringList second[] = {
      words("الأصول المتداولة|الأصول الثابتة|العملاء|المخزون|أوراق القبض"),
      words("الموردون|قروض قصيرة الأجل|مصروفات مستحقة|أوراق الدفع"),
      words("رأس المال|الأرباح المحتجزة|جاري الشركاء"),
      words("إيرادات المبيعات|إيرادات أخرى|خصم مكتسب"),
      words("مصروفات إدارية|مصروفات بيع|مصروفات تشغيل"),
      words("المشتريات|مردودات المشتريات|بضاعة أول المدة")};
  static const QStringList deeper[] = {
      words("الصندوق|البنك الأهلي|صندوق المعرض|الأثاث|السيارات|عهدة"),
      words("مورد|قرض|مستحقات"),
      words("حصة الشريك|جاري"),
      words("مبيعات نقدية|مبيعات آجلة|عمولات"),
      words("رواتب|إيجار المحل|كهرباء|مصاريف O'Neil للصيانة|اتصالات"),
      words("مشتريات محلية|مشتريات خارجية")};
  const int i = (root - 1) % 6;
  if (depth == 2) return pick(random, second[i]);
  if (i == 0 || i == 1) {
    return random.percent(50) ? personName(random)
                              : pick(random, deeper[i]) + ' ' + familyName(random);
  }
  return pick(random, deeper[i]) + ' ' + QString::number(random.between(1, 99));
}

}  // namespace qalvoro::mdbwriter::v1
