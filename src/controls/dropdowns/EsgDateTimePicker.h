#pragma once
#include "controls/dropdowns/DateTimePickerBase.h"

namespace dropdowns {

// What a digit typed into a date field leads to.
enum TDigitStep { dsStay, dsNextField, dsLastField };
// Compares the date before and after the digit: a changed field moves on to the next field,
// except a change of the format's last field (dsLastField). Without a display format the day
// and the month move on and the year is taken as the last field.
TDigitStep DateDigitStep(const QString& format, const QDate& before, const QDate& now);
// A typed digit that changed the hours, minutes or seconds moves on to the next field.
bool TimeDigitMoves(const QTime& before, const QTime& now);

// The picker with the flat look: a border colour, a focus border colour, a drawn drop-down button
// with its own colours and a metro style. The edge is drawn only with a border colour.
class TEsgDateTimePicker : public TDateTimePickerBase {
    Q_OBJECT
public:
    explicit TEsgDateTimePicker(QWidget* parent = nullptr);
    QString Version() const { return QStringLiteral("1.0.0.0"); }

protected:
    bool DrawsEdge() const override { return BorderColor() != platform::clNone; }
    int MetroFillLead() const override { return 15; }
};

}  // namespace dropdowns
