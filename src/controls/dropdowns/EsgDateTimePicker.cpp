#include "controls/dropdowns/EsgDateTimePicker.h"

namespace dropdowns {

TDigitStep DateDigitStep(const QString& format, const QDate& before, const QDate& now)
{
    const bool day = before.day() != now.day(), month = before.month() != now.month();
    const bool year = before.year() != now.year();
    if (format.isEmpty())
        return day || month ? dsNextField : (year ? dsLastField : dsStay);
    const QChar last = format.back().toLower();
    if ((day && last == QLatin1Char('d')) || (month && last == QLatin1Char('m')) || (year && last == QLatin1Char('y')))
        return dsLastField;
    return day || month || year ? dsNextField : dsStay;
}

bool TimeDigitMoves(const QTime& before, const QTime& now)
{
    return before.hour() != now.hour() || before.minute() != now.minute() || before.second() != now.second();
}

TEsgDateTimePicker::TEsgDateTimePicker(QWidget* parent) : TDateTimePickerBase(parent) { SetCtl3D(true); }

}  // namespace dropdowns
