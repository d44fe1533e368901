#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// The texts the Insert commands generate, as plain functions over their inputs (the clock, the
// locale and the file system are the caller's).
namespace InsertText {

// Formats a date by the codes d, dd, ddd, dddd (day, two digits, short and long day name), m, mm,
// mmm, mmmm or longer (month, two digits, short and long month name), yy and yyyy (year in two
// or four digits); every other character stands for itself. Names come from `locale`.
QString FormatDate(const QString &format, const QDate &date, const QLocale &locale);

// The nine date items of the Insert menu in menu order, and the tool button's form.
enum class DateItem {
    MonthYear,             // "mm.yy"
    LongMonthYear,         // "mmmm yyyy"
    DayMonthYear,          // "dd.mm.yy"
    DayShortMonthYear,     // "dd.mmm.yy"
    DayMonthLongYear,      // "dd.mm.yyyy"
    MonthDayTh,            // "mmm dd" "th " "yyyy", "th" whatever the day
    DayShortMonthLongYear, // "dd.mmm.yyyy"
    ShortDayName,          // "ddd d mmmm yyyy", also the tool button's
    LongDayName            // "dddd d mmmmm yyyy"
};
QString DateText(DateItem item, const QDate &date, const QLocale &locale);

// The locale's long time format without a time zone.
QString TimeText(const QTime &time, const QLocale &locale);

// What a date, time or file-name command puts in place of the selection: one blank, the text,
// one blank.
QString Blanked(const QString &text);

// The short form of a path as the file system reports it: this platform keeps no short aliases,
// so an existing file's short form is its path; a file that does not exist has none (empty).
QString ShortPathName(const QString &path);
// The last component of a path ("/" separated); empty for an empty path.
QString LastComponent(const QString &path);

// The text Add Text File inserts for a file's bytes: the bytes before the first zero byte,
// decoded as the editor reads text files, split into lines at CR, LF and CR LF and joined again
// with CR LF after every line, the last included.
QString AddedFileText(const QByteArray &bytes);

} // namespace InsertText
