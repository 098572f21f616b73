// The locale-order date parser and date series.
#include <QLocale>

#include "grid/core/GridTextUtils.h"
#include "platform/IntText.h"

namespace grid {

namespace {

bool CleanInt(const QString& field, int& value)
{
    const std::optional<int> v = platform::Parse_Decimal(field, false);
    if (v)
        value = *v;
    return v.has_value();
}

bool ParseTime(const QString& text, QChar sep, QTime& time)
{
    const qsizetype p1 = text.indexOf(sep);
    if (p1 < 0)
        return false;
    int h = 0, m = 0, s = 0;
    if (!CleanInt(text.left(p1), h))
        return false;
    const QString rest = text.mid(p1 + 1);
    const qsizetype p2 = rest.indexOf(sep);
    if (p2 >= 0) {
        if (!CleanInt(rest.left(p2), m) || !CleanInt(rest.mid(p2 + 1), s))
            return false;
    } else if (!CleanInt(rest, m)) {
        return false;
    }
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return false;
    time = QTime(h, m, s);
    return time.isValid();
}

}  // namespace

bool ParseLocaleDateTime(const QString& text, QDateTime& value)
{
    const QString format = LocaleShortDateFormat().toUpper();
    const QChar sep = LocaleDateSeparator();
    const qsizetype pd = format.indexOf('D'), pm = format.indexOf('M'), py = format.indexOf('Y');

    const qsizetype s1 = text.indexOf(sep);
    if (s1 < 0)
        return false;
    const qsizetype s2 = text.indexOf(sep, s1 + 1);
    if (s2 < 0)
        return false;
    int f1 = 0, f2 = 0, f3 = 0;
    if (!CleanInt(text.left(s1), f1) || !CleanInt(text.mid(s1 + 1, s2 - s1 - 1), f2))
        return false;
    QString third = text.mid(s2 + 1).trimmed();
    QString timePart;
    const qsizetype blank = third.indexOf(' ');
    if (blank >= 0) {
        timePart = third.mid(blank).trimmed();
        third = third.left(blank);
    }
    if (!CleanInt(third, f3))
        return false;

    // Rank of each field in the format; a format without one of the letters reads M/D/Y.
    int day = f2, month = f1, year = f3;
    if (pd >= 0 && pm >= 0 && py >= 0) {
        const int fields[3] = {f1, f2, f3};
        auto rank = [&](qsizetype p) { return int(p > pd) + int(p > pm) + int(p > py); };
        day = fields[rank(pd)];
        month = fields[rank(pm)];
        year = fields[rank(py)];
    }
    if (day > 31 || month > 12)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (!timePart.isEmpty() && !ParseTime(timePart, LocaleTimeSeparator(), time))
        return false;
    value = QDateTime(date, time);
    return true;
}

bool LooksLikeDate(const QString& text)
{
    const QChar sep = LocaleDateSeparator();
    const qsizetype p = text.indexOf(sep);
    if (p < 1)
        return false;
    return text.indexOf(sep, p + 1) - (p + 1) >= 1;
}

QDate IncDate(int yearStep, int monthStep, int dayStep, const QDate& date, int plainStep)
{
    auto clamped = [](int y, int m, int d) {
        const QDate first(y, m, 1);
        return first.isValid() ? QDate(y, m, std::min(d, first.daysInMonth())) : QDate();
    };
    if (dayStep != 0 && yearStep == 0 && monthStep == 0)
        return date.addDays(dayStep);
    if (yearStep != 0 && monthStep == 0 && dayStep == 0)
        return clamped(date.year() + yearStep, date.month(), date.day());
    if (monthStep != 0 && yearStep == 0 && dayStep == 0) {
        const int months = date.month() - 1 + monthStep;
        const int years = months >= 0 ? months / 12 : -((11 - months) / 12);
        return clamped(date.year() + years, months - years * 12 + 1, date.day());
    }
    return date.addDays(plainStep);
}

}  // namespace grid
