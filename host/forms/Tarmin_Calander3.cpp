#include "host/forms/Tarmin_Calander3.h"

#include <QEvent>

namespace qalvoro {
namespace {

const QString kDateForm = QStringLiteral("yyyy/MM/dd");
const QString kTimeForm = QStringLiteral("HH:mm");
const QDate kEmptyDate(1752, 9, 14);
const QTime kEmptyTime(0, 0);

}  // namespace

// Dates and times read left to right in both languages: laid out right to
// left, the edit would also show their parts in reverse ("dd/MM/yyyy"). So the
// control stays left to right whatever its window says.
Tarmin_Calander3::Tarmin_Calander3(QWidget* parent) : QDateTimeEdit(parent) {
  setLayoutDirection(Qt::LeftToRight);
  setMinimumDate(kEmptyDate);
  setSpecialValueText(QStringLiteral(" "));
  setKind(Kind::Date);
  connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { empty_ = false; });
}

void Tarmin_Calander3::setKind(Kind kind) {
  kind_ = kind;
  setDisplayFormat(kind == Kind::Date ? kDateForm : kTimeForm);
  setCalendarPopup(kind == Kind::Date);
}

QCalendar Tarmin_Calander3::calendar() const {
  return QCalendar(calendarType_ == 1 ? QCalendar::System::IslamicCivil
                                      : QCalendar::System::Gregorian);
}

QString Tarmin_Calander3::text() const {
  if (empty_) return {};
  if (kind_ == Kind::Time) return time().toString(kTimeForm);
  return date().toString(kDateForm, calendar());
}

void Tarmin_Calander3::setDay(const QDate& day) {
  if (day.isValid()) {
    setDate(day);
    showEmpty(false);
  } else {
    showEmpty(true);
  }
}

QString Tarmin_Calander3::storedText() const {
  if (empty_ || kind_ == Kind::Time) return text();
  return date().toString(kDateForm, QCalendar(QCalendar::System::Gregorian));
}

bool Tarmin_Calander3::setText(const QString& text) {
  const QString trimmed = text.trimmed();
  if (kind_ == Kind::Time) {
    const QTime parsed = QTime::fromString(trimmed, kTimeForm);
    if (parsed.isValid()) {
      setDateTime(QDateTime(QDate(2000, 1, 1), parsed));
      showEmpty(false);
      return true;
    }
  } else {
    const QDate parsed = QDate::fromString(trimmed, kDateForm, calendar());
    if (parsed.isValid()) {
      setDate(parsed);
      showEmpty(false);
      return true;
    }
  }
  showEmpty(true);
  return trimmed.isEmpty();
}

void Tarmin_Calander3::setCalendarType(int type) {
  const QString before = text();
  calendarType_ = type == 1 ? 1 : 0;
  const QSignalBlocker blocker(this);
  setCalendar(calendar());
  if (!autoChange_ && !before.isEmpty()) setText(before);
}

bool Tarmin_Calander3::event(QEvent* event) {
  const bool handled = QDateTimeEdit::event(event);
  if (event->type() == QEvent::LayoutDirectionChange) {
    if (layoutDirection() != Qt::LeftToRight) {
      setLayoutDirection(Qt::LeftToRight);
    } else {
      setKind(kind_);
    }
  }
  return handled;
}

void Tarmin_Calander3::showEmpty(bool empty) {
  if (empty) {
    const QSignalBlocker blocker(this);
    setDateTime(QDateTime(kEmptyDate, kEmptyTime));
  }
  empty_ = empty;
}

}  // namespace qalvoro
