// The date editors' side of opening and write-back: the date and time editor and the
// date-and-time editor, made on first use, loaded from the cell and taken back into it.
#include <QCalendarWidget>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/SpecialEditors.h"
#include "grid/editing/editors/GridDatePickers.h"

namespace grid::editing {

using editors::TGridDatePicker;
using editors::TGridDateTimePicker;

TGridDatePicker* TSpecialEditors::DatePicker()
{
    if (!FDatePicker) {
        auto* picker = new TGridDatePicker(FGrid, FGrid.Client());
        picker->hide();
        picker->setEnabled(false);
        Attach(picker->Host, picker);
        picker->OnKeyPress = [this](QChar& key) {
            if (FGrid.OnKeyPress)
                FGrid.OnKeyPress(key);
        };
        picker->OnCloseUp = [this, picker] {
            if (IsOpen(picker))
                FGrid.DatePickerCloseUp();
        };
        picker->OnDropDown = [this, picker] {
            const TExtStringGrid::TCalendarStyle style = FGrid.DatePickerDropDown(false, true, true);
            if (QCalendarWidget* calendar = picker->Calendar()) {
                calendar->setVerticalHeaderFormat(style.WeekNumbers ? QCalendarWidget::ISOWeekNumbers
                                                                    : QCalendarWidget::NoVerticalHeader);
                // The calendar's smallest size, two pixels more.
                picker->CalendarWindow()->resize(calendar->minimumSizeHint() + QSize(2, 2));
            }
        };
        picker->OnChange = [this, picker] {
            if (!FEditStart && IsOpen(picker))
                FGrid.DatePickerChange(picker->DateTime(), picker->Kind() == dropdowns::dtkTime);
        };
        FDatePicker = picker;
    }
    return FDatePicker;
}

TGridDateTimePicker* TSpecialEditors::DateAndTimePicker()
{
    if (!FDateTimePicker) {
        auto* picker = new TGridDateTimePicker(FGrid, FGrid.Client());
        picker->hide();
        picker->setEnabled(false);
        picker->SetAutoTab(true);
        Attach(picker->Host, picker);
        picker->OnCloseUp = [this, picker] {
            if (IsOpen(picker))
                FGrid.DatePickerCloseUp();
        };
        picker->OnTimeChange = [this, picker] {
            if (!FEditStart && IsOpen(picker))
                FGrid.DateTimePickerChange(picker->GetDateTime());
        };
        FDateTimePicker = picker;
    }
    return FDateTimePicker;
}

void TSpecialEditors::ShowDatePicker(int c, int r, const QString& text, TEditorType type)
{
    TGridEditController& ctl = FController;
    const int rc = FGrid.DisplToRealCol(c);
    const TExtStringGrid::TEditorLooks& looks = FGrid.EditorLooks();
    if (type == edDateTimeEdit) {
        TGridDateTimePicker* picker = DateAndTimePicker();
        QDateTime value = editors::CellTextToDateTime(text);
        if (!value.isValid())
            value = QDateTime::currentDateTime();
        picker->SetExtKind(dropdowns::dkDateTime);
        picker->SetDateTime(value);
        picker->OriginalDateTime = picker->GetDateTime();
        picker->SetBorderStyle(dropdowns::bsNone);
        ctl.GetEditorProp(rc, r, nullptr);
        // An empty cell opens without a value where a check box can say so.
        if (picker->ShowCheckbox() && text.trimmed().isEmpty())
            picker->SetChecked(false);
        picker->OriginalChecked = picker->Checked();
        return;
    }
    TGridDatePicker* picker = DatePicker();
    picker->SetBorderColor(looks.DatePickerBorderColor);
    picker->SetMetroStyle(looks.DatePickerMetro);
    if (looks.Tones) {
        picker->ButtonColor = looks.ButtonColor;
        picker->ButtonColorHot = looks.HotColor;
        picker->ButtonColorDown = looks.DownColor;
        picker->ButtonBorderColor = looks.BorderColor;
    }
    if (type == edTimeEdit) {
        picker->SetKind(dropdowns::dtkTime);
        picker->LoadText(text);
        ctl.GetEditorProp(rc, r, nullptr);
        return;
    }
    picker->SetKind(dropdowns::dtkDate);
    QDate date;
    if (!text.trimmed().isEmpty()) {
        if (ctl.OnCustomStrToDate) {
            QDateTime value = QDateTime::currentDateTime();
            ctl.OnCustomStrToDate(&FGrid, text, value);
            date = value.date();
        } else {
            date = editors::CellTextToDate(text);
            // A value outside the limits opens a day inside them.
            if (date.isValid() && picker->MaxDate().isValid() && date > picker->MaxDate())
                date = picker->MaxDate().addDays(-1);
            if (date.isValid() && picker->MinDate().isValid() && date <= picker->MinDate())
                date = picker->MinDate().addDays(1);
        }
    }
    picker->SetDate(date.isValid() ? date : QDate::currentDate());
    picker->SetDateMode(type == edDateEditUpDown ? dropdowns::dmUpDown : dropdowns::dmComboBox);
    ctl.GetEditorProp(rc, r, nullptr);
    if (picker->ShowCheckbox() && text.trimmed().isEmpty())
        picker->SetChecked(false);
}

void TSpecialEditors::WriteBackDate(int realCol, int r)
{
    TGridEditController& ctl = FController;
    if (FOpenType == edDateTimeEdit) {
        if (TGridDateTimePicker* picker = FDateTimePicker)
            ctl.SetEditCell(realCol, r, picker->CellValue());
        return;
    }
    TGridDatePicker* picker = FDatePicker;
    if (!picker)
        return;
    picker->interpretText();
    picker->CloseUp(true);
    ctl.SetEditCell(realCol, r, FOpenType == edTimeEdit ? picker->text() : picker->CellValue());
}

}  // namespace grid::editing
