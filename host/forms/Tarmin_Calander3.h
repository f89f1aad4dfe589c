#pragma once

#include <QDateTimeEdit>

namespace qalvoro {

// The date and time control of the windows. Its text reads and sets
// "yyyy/mm/dd" (a date control) or "HH:MM" (a time control) and may be
// empty. Calendar type 0 is Gregorian, 1 Hijri: a date is shown and its
// text is read and written in that calendar. With the automatic-change flag
// a change of calendar keeps the day and rewrites the text in the new
// calendar; without it the text stays as it was and is read in the new one.
class Tarmin_Calander3 : public QDateTimeEdit {
  Q_OBJECT

 public:
  enum class Kind { Date, Time };

  explicit Tarmin_Calander3(QWidget* parent = nullptr);

  Kind kind() const { return kind_; }
  void setKind(Kind kind);

  QString text() const;
  // False, and the control left empty, when the text is neither empty nor a
  // date (time) in the control's form.
  bool setText(const QString& text);
  bool isEmpty() const { return empty_; }
  // Gives a date control a day, whatever calendar it shows; an invalid day
  // empties it.
  void setDay(const QDate& day);
  // The day as stored: "yyyy/mm/dd" in the Gregorian calendar whatever
  // calendar the control shows; empty when the control is.
  QString storedText() const;

  int calendarType() const { return calendarType_; }
  void setCalendarType(int type);
  bool autoChange() const { return autoChange_; }
  void setAutoChange(bool autoChange) { autoChange_ = autoChange; }

 protected:
  bool event(QEvent* event) override;

 private:
  void showEmpty(bool empty);
  QCalendar calendar() const;

  Kind kind_ = Kind::Date;
  int calendarType_ = 0;
  bool autoChange_ = false;
  bool empty_ = false;
};

}  // namespace qalvoro
