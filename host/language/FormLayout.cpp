#include "host/language/FormLayout.h"

#include <QAbstractButton>
#include <QAction>
#include <QFont>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>

#include "host/Globals.h"
#include "host/forms/Form.h"
#include "host/forms/SSTab.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

constexpr int kWindowMargin = 100;  // twips kept free at the mirrored edge

int mirroredLeft(int containerWidth, const QRect& control) {
  return containerWidth - (control.left() + control.width());
}

int swappedAlignment(int alignment) {
  if (alignment == kRightJustify) return kLeftJustify;
  if (alignment == kLeftJustify) return kRightJustify;
  return alignment;
}

void mirrorControlsIn(const Form& window, const QWidget& container) {
  const int width = twipsGeometry(container).width();
  for (const auto& control : window.controls()) {
    if (control && control->parentWidget() == &container) {
      setTwipsLeft(*control, mirroredLeft(width, twipsGeometry(*control)));
    }
  }
}

// Controls on a tab control are mirrored on their own page, whether it is
// showing or not; those that would leave the tab control keep their place.
void mirrorControlsOn(const Form& window, const SSTab& tabs) {
  const int width = twipsGeometry(tabs).width();
  for (const auto& control : window.controls()) {
    if (!control || control->parentWidget() != &tabs) continue;
    const int offset = tabs.pageOffsetOf(*control);
    const int left = mirroredLeft(width, twipsGeometry(*control).translated(-offset, 0));
    if (left > 0 && left < width) setTwipsLeft(*control, left + offset);
  }
}

// The width in pixels a control needs to show its caption on one line.
int captionWidth(const QWidget& control) {
  if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
    const QStyle* style = button->style();
    return button->fontMetrics().horizontalAdvance(button->text()) +
           style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
  }
  return control.sizeHint().width();
}

// A caption longer than its control (a translation is often longer than the
// Arabic) is shown in a smaller font rather than cut.
void fitCaption(QWidget& control) {
  constexpr qreal kSmallestPoints = 6;
  const auto* label = qobject_cast<const QLabel*>(&control);
  if ((label && label->wordWrap()) || (!label && !qobject_cast<QAbstractButton*>(&control))) {
    return;
  }
  QFont font = control.font();
  while (captionWidth(control) > control.width() && font.pointSizeF() - 0.5 >= kSmallestPoints) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    control.setFont(font);
  }
}

void translateTabs(QWidget& control) {
  if (auto* tabs = qobject_cast<QTabBar*>(&control)) {
    for (int i = 0; i < tabs->count(); ++i) tabs->setTabText(i, Translate(tabs->tabText(i)));
  } else if (auto* tabs = qobject_cast<SSTab*>(&control)) {
    for (int i = 0; i < tabs->tabCount(); ++i)
      tabs->setTabCaption(i, Translate(tabs->tabCaption(i)));
  }
}

// Windows ANSI code page of a locale's language.
int ansiCodePage(const QLocale& locale) {
  switch (locale.language()) {
    case QLocale::C:
      return 0;
    case QLocale::Arabic:
    case QLocale::Persian:
    case QLocale::Urdu:
      return 1256;
    case QLocale::Hebrew:
      return 1255;
    case QLocale::Greek:
      return 1253;
    case QLocale::Turkish:
    case QLocale::Azerbaijani:
      return 1254;
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Bulgarian:
    case QLocale::Belarusian:
    case QLocale::Kazakh:
    case QLocale::Macedonian:
    case QLocale::Serbian:
      return 1251;
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Romanian:
    case QLocale::Croatian:
    case QLocale::Slovenian:
    case QLocale::Albanian:
      return 1250;
    case QLocale::Lithuanian:
    case QLocale::Latvian:
    case QLocale::Estonian:
      return 1257;
    case QLocale::Vietnamese:
      return 1258;
    case QLocale::Thai:
      return 874;
    case QLocale::Japanese:
      return 932;
    case QLocale::Korean:
      return 949;
    case QLocale::Chinese:
      return locale.script() == QLocale::TraditionalHanScript ? 950 : 936;
    default:
      return 1252;
  }
}

int charsetOfCodePage(int codePage) {
  switch (codePage) {
    case 1250:
      return 238;
    case 1251:
      return 204;
    case 1253:
      return 161;
    case 1254:
      return 162;
    case 1255:
      return 177;
    case 1256:
      return 178;
    case 1257:
      return 186;
    case 1258:
      return 163;
    case 874:
      return 222;
    case 932:
      return 128;
    case 936:
      return 134;
    case 949:
      return 129;
    case 950:
      return 136;
    default:
      return 0;
  }
}

int chineseSublanguage(const QLocale& locale) {
  switch (locale.territory()) {
    case QLocale::Taiwan:
      return 1;
    case QLocale::China:
      return 2;
    case QLocale::HongKong:
      return 3;
    case QLocale::Singapore:
      return 4;
    case QLocale::Macao:
      return 5;
    default:
      return locale.script() == QLocale::TraditionalHanScript ? 1 : 2;
  }
}

struct DefaultFont {
  QString name;
  int size = 8;
  int charset = 0;
};

DefaultFont decideDefaultFont() {
  const int locale = SystemLocaleId();
  const int primary = locale & 0x3FF;
  const int sublanguage = locale / 1024;
  DefaultFont font;
  if (primary == 4) {
    font.size = 9;
    if (sublanguage == 1) font = {QStringLiteral("新細明體"), 9, 136};
    if (sublanguage == 2) font = {QStringLiteral("宋体"), 9, 134};
  } else if (primary == 17) {
    font = {QStringLiteral("ＭＳ Ｐゴシック"), 9, 128};
  } else if (primary == 18) {
    font = {sublanguage == 1 || sublanguage == 2 ? QStringLiteral("굴림") : QString(), 9, 129};
  } else {
    QString name = QStringLiteral("Tahoma");
    if (!FontExists(name)) {
      name = QStringLiteral("Arial");
      if (!FontExists(name)) name = QStringLiteral("System");
    }
    font = {name, 8, GetLocaleCharset()};
  }
  return font;
}

}  // namespace

void MirrorForm(Form& window) {
  const PointerGuard pointer(MousePointer::Hourglass);
  setRightToLeft(window, false);
  const int windowWidth = twipsGeometry(window).width();
  for (const auto& control : window.controls()) {
    if (!control) continue;
    setRightToLeft(*control, false);
    if (hasAlignment(*control)) setAlignment(*control, swappedAlignment(alignmentOf(*control)));
    if (control->parentWidget() == &window) {
      setTwipsLeft(*control, mirroredLeft(windowWidth, twipsGeometry(*control)) - kWindowMargin);
    }
  }
  for (const auto& item : window.menuItems()) {
    if (auto* menu = item ? qobject_cast<QMenu*>(item->parent()) : nullptr) {
      setRightToLeft(*menu, false);
    }
  }
  for (const auto& control : window.controls()) {
    if (!control) continue;
    if (qobject_cast<QGroupBox*>(control.data())) mirrorControlsIn(window, *control);
    if (auto* tabs = qobject_cast<SSTab*>(control.data())) mirrorControlsOn(window, *tabs);
  }
}

void TranslateForm(Form& window) {
  const PointerGuard pointer(MousePointer::Hourglass);
  window.setCaption(Translate(window.caption()));
  for (const auto& control : window.controls()) {
    if (!control) continue;
    if (hasCaption(*control)) {
      setCaption(*control, Translate(captionOf(*control)));
      fitCaption(*control);
    } else {
      translateTabs(*control);
    }
    if (!control->toolTip().isEmpty()) control->setToolTip(Translate(control->toolTip()));
  }
  for (const auto& item : window.menuItems()) {
    if (item) item->setText(Translate(item->text()));
  }
}

void ApplyLanguage(Form& window) {
  if (GetLanguage() != QLatin1String("E")) return;
  MirrorForm(window);
  TranslateForm(window);
}

void CenterForm(Form& window) {
  const QSize screen = platform().screenSize();
  QRect twips = twipsGeometry(window);
  twips.moveTo((screen.width() - twips.width()) / 2, (screen.height() - twips.height()) / 2);
  setTwipsGeometry(window, twips);
}

void SetFontForm(Form& window) {
  if (Val(GetSetting(QStringLiteral("ChkFont"), QStringLiteral("1"))) == 1) return;
  QString name;
  int size = 0;
  int charset = 0;
  GetDefaultFont(name, size, charset);
  QFont font(name, size);
  window.setFont(font);
  for (const auto& control : window.controls()) {
    if (control) control->setFont(font);
  }
}

void GetDefaultFont(QString& name, int& size, int& charset) {
  static const DefaultFont decided = decideDefaultFont();
  name = decided.name;
  size = decided.size;
  charset = decided.charset;
}

bool FontExists(QString& name) {
  const QString requested = name;
  QFont font(requested);
  font.setStyleHint(QFont::AnyStyle, QFont::PreferMatch);
  name = QFontInfo(font).family();
  return name.compare(requested, Qt::CaseInsensitive) == 0;
}

int GetLocaleCharset() { return charsetOfCodePage(ansiCodePage(QLocale::system())); }

int SystemLocaleId() {
  const QLocale locale = QLocale::system();
  switch (locale.language()) {
    case QLocale::Chinese:
      return (chineseSublanguage(locale) << 10) | 4;
    case QLocale::Japanese:
      return (1 << 10) | 17;
    case QLocale::Korean:
      return (1 << 10) | 18;
    case QLocale::Arabic:
      return (1 << 10) | 1;
    case QLocale::English:
      return (1 << 10) | 9;
    default:
      return 0;
  }
}

}  // namespace qalvoro
