#include "host/platform/DesktopPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStorageInfo>
#include <QThread>
#include <QTranslator>
#include <QWidget>

#include "host/platform/ReadingOrder.h"

namespace qalvoro {
namespace {

constexpr int kTwipsPerPixel = 15;

QMessageBox::Icon iconFor(int style) {
  switch (style & 0x70) {
    case mb::kCritical:
      return QMessageBox::Critical;
    case mb::kQuestion:
      return QMessageBox::Question;
    case mb::kExclamation:
      return QMessageBox::Warning;
    case mb::kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

struct Choice {
  QMessageBox::StandardButton button;
  int answer;
};

std::vector<Choice> choicesFor(int style) {
  using B = QMessageBox;
  switch (style & 7) {
    case mb::kOkCancel:
      return {{B::Ok, mb::kOk}, {B::Cancel, mb::kCancel}};
    case mb::kAbortRetryIgnore:
      return {{B::Abort, mb::kAbort}, {B::Retry, mb::kRetry}, {B::Ignore, mb::kIgnore}};
    case mb::kYesNoCancel:
      return {{B::Yes, mb::kYes}, {B::No, mb::kNo}, {B::Cancel, mb::kCancel}};
    case mb::kYesNo:
      return {{B::Yes, mb::kYes}, {B::No, mb::kNo}};
    case mb::kRetryCancel:
      return {{B::Retry, mb::kRetry}, {B::Cancel, mb::kCancel}};
    default:
      return {{B::Ok, mb::kOk}};
  }
}

// Quits an event loop when the watched window is hidden or destroyed.
class HideWatcher : public QObject {
 public:
  HideWatcher(QWidget& window, QEventLoop& loop) : loop_(loop) {
    window.installEventFilter(this);
    connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) loop_.quit();
    return QObject::eventFilter(watched, event);
  }

 private:
  QEventLoop& loop_;
};

// Qt's Arabic texts while they are installed.
std::unique_ptr<QTranslator>& arabicTexts() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

}  // namespace

bool UseArabicStandardTexts(bool arabic) {
  auto& installed = arabicTexts();
  if (!arabic) {
    if (installed) QCoreApplication::removeTranslator(installed.get());
    installed.reset();
    return true;
  }
  if (installed) return true;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_ar"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  QCoreApplication::installTranslator(translator.get());
  installed = std::move(translator);
  return true;
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, int style, const QString& title) {
  auto box = std::make_unique<QMessageBox>(iconFor(style),
                                           title.isEmpty() ? applicationTitle() : title, text);
  const auto choices = choicesFor(style);
  for (const auto& choice : choices) box->addButton(choice.button);
  const int defaultAnswer = mb::defaultAnswer(style);
  for (const auto& choice : choices) {
    if (choice.answer == defaultAnswer) box->setDefaultButton(choice.button);
  }
  const Qt::LayoutDirection order = style & mb::kRtlReading ? Qt::RightToLeft : Qt::LeftToRight;
  box->setLayoutDirection(order);
  setReadingOrder(*box, order);
  // The text is shown as a plain caption (not selectable), which lays out in
  // the box's reading order.
  const Qt::Alignment side = style & mb::kRightAligned ? Qt::AlignRight : Qt::AlignLeft;
  for (QLabel* label : box->findChildren<QLabel*>()) {
    if (label->text() != text) continue;
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setAlignment(Qt::AlignAbsolute | side | Qt::AlignVCenter);
  }
  return box;
}

int DesktopPlatform::msgBox(const QString& text, int style, const QString& title) {
  const auto box = makeMessageBox(text, style, title);
  box->exec();
  const auto choices = choicesFor(style);
  const auto clicked = box->standardButton(box->clickedButton());
  for (const auto& choice : choices) {
    if (choice.button == clicked) return choice.answer;
  }
  return choices.size() > 1 ? mb::kCancel : mb::kOk;
}

void DesktopPlatform::showModal(QWidget& window) {
  QPointer<QWidget> guard(&window);
  QEventLoop loop;
  HideWatcher watcher(window, loop);
  window.setWindowModality(Qt::ApplicationModal);
  window.show();
  if (guard && guard->isVisible()) loop.exec(QEventLoop::DialogExec);
  if (guard) guard->removeEventFilter(&watcher);
}

void DesktopPlatform::beep() { QApplication::beep(); }

void DesktopPlatform::setMousePointer(MousePointer pointer) {
  if (pointer_ != MousePointer::Default) QApplication::restoreOverrideCursor();
  pointer_ = pointer;
  if (pointer == MousePointer::Hourglass) QApplication::setOverrideCursor(Qt::WaitCursor);
  if (pointer == MousePointer::ArrowHourglass) QApplication::setOverrideCursor(Qt::BusyCursor);
}

void DesktopPlatform::doEvents() { QCoreApplication::processEvents(); }

void DesktopPlatform::sendKeys(const QString& keys) {
  QWidget* target = QApplication::focusWidget();
  if (!target) return;
  const QKeySequence sequence(keys);
  for (int i = 0; i < sequence.count(); ++i) {
    const QKeyCombination combination = sequence[i];
    QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
    QApplication::sendEvent(target, &release);
  }
}

QSize DesktopPlatform::screenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize pixels = screen ? screen->size() : QSize(1024, 768);
  return pixels * kTwipsPerPixel;
}

QStringList DesktopPlatform::drives() const {
  static const QStringList kPseudo = {"proc",   "sysfs",   "devtmpfs", "devpts",  "tmpfs",
                                      "cgroup", "cgroup2", "overlay",  "squashfs"};
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    if (kPseudo.contains(QString::fromLatin1(volume.fileSystemType()))) continue;
    roots << volume.rootPath();
  }
  if (!roots.contains("/")) roots.prepend("/");
  return roots;
}

QDateTime DesktopPlatform::now() const { return QDateTime::currentDateTime(); }

std::chrono::milliseconds DesktopPlatform::monotonicNow() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

void DesktopPlatform::sleep(std::chrono::milliseconds duration) {
  QThread::msleep(static_cast<unsigned long>(duration.count()));
}

}  // namespace qalvoro
