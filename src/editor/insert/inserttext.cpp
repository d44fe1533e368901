#include "editor/insert/inserttext.h"

#include "platform/textfile.h"

#include <QFileInfo>

namespace InsertText {

namespace {

// The length of the run of `c` starting at `from`.
qsizetype runLength(const QString &text, qsizetype from, QChar c) {
    qsizetype end = from;
    while (end < text.size() && text[end] == c)
        ++end;
    return end - from;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString FormatDate(const QString &format, const QDate &date, const QLocale &locale) {
    const QString codes = format.toLower();
    QString out;
    qsizetype i = 0;
    while (i < codes.size()) {
        const QChar c = codes[i];
        const qsizetype run = (c == u'd' || c == u'm' || c == u'y') ? runLength(codes, i, c) : 1;
        if (c == u'd') {
            switch (run) {
            case 1:
                out += QString::number(date.day());
                break;
            case 2:
                out += twoDigits(date.day());
                break;
            case 3:
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
                break;
            default:
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            }
        } else if (c == u'm') {
            switch (run) {
            case 1:
                out += QString::number(date.month());
                break;
            case 2:
                out += twoDigits(date.month());
                break;
            case 3:
                out += locale.monthName(date.month(), QLocale::ShortFormat);
                break;
            default:
                out += locale.monthName(date.month(), QLocale::LongFormat);
                break;
            }
        } else if (c == u'y') {
            // Two letters or fewer give the year of the century, more the whole year.
            out += run <= 2 ? twoDigits(date.year() % 100)
                            : QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        } else {
            out += format[i];
        }
        i += run;
    }
    return out;
}

QString DateText(DateItem item, const QDate &date, const QLocale &locale) {
    switch (item) {
    case DateItem::MonthYear:
        return FormatDate(QStringLiteral("mm.yy"), date, locale);
    case DateItem::LongMonthYear:
        return FormatDate(QStringLiteral("mmmm yyyy"), date, locale);
    case DateItem::DayMonthYear:
        return FormatDate(QStringLiteral("dd.mm.yy"), date, locale);
    case DateItem::DayShortMonthYear:
        return FormatDate(QStringLiteral("dd.mmm.yy"), date, locale);
    case DateItem::DayMonthLongYear:
        return FormatDate(QStringLiteral("dd.mm.yyyy"), date, locale);
    case DateItem::MonthDayTh:
        return FormatDate(QStringLiteral("mmm dd"), date, locale) + QStringLiteral("th ") +
               FormatDate(QStringLiteral("yyyy"), date, locale);
    case DateItem::DayShortMonthLongYear:
        return FormatDate(QStringLiteral("dd.mmm.yyyy"), date, locale);
    case DateItem::ShortDayName:
        return FormatDate(QStringLiteral("ddd d mmmm yyyy"), date, locale);
    case DateItem::LongDayName:
        return FormatDate(QStringLiteral("dddd d mmmmm yyyy"), date, locale);
    }
    return {};
}

QString TimeText(const QTime &time, const QLocale &locale) {
    // Qt's long form ends with the time zone, which a time typed into a letter never carries.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        withoutZone += c;
    }
    return locale.toString(time, withoutZone.simplified());
}

QString Blanked(const QString &text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

QString ShortPathName(const QString &path) {
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    return info.exists() ? path : QString();
}

QString LastComponent(const QString &path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString AddedFileText(const QByteArray &bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArray text = zero < 0 ? bytes : bytes.left(zero);
    // DecodeText ends every line with "\n", whichever break the file used.
    QStringList lines = DecodeText(text, DetectTextFormat(text)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QString out;
    for (const QString &line : std::as_const(lines))
        out += line + QStringLiteral("\r\n");
    return out;
}

} // namespace InsertText
