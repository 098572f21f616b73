#pragma once
#include <QDateTime>
#include <functional>

#include "controls/dropdowns/EsgDateTimePicker.h"
#include "controls/dropdowns/ExtDateTimePicker.h"
#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// Cell texts of the date editors in the locale's formats. A text that does not read gives a
// null value.
QDate CellTextToDate(const QString& text);
QTime CellTextToTime(const QString& text);
QDateTime CellTextToDateTime(const QString& text);
// The date-and-time editor's value as the cell keeps it: short date, a blank, short time.
QString DateTimeCellText(const QDateTime& value);

// The grid's date and time editor (edDateEdit, edDateEditUpDown, edTimeEdit): Enter and Tab
// validate before the edit ends, Escape restores the cell's value, and a typed digit that changed
// a field moves on to the next one (never past the format's last field).
class TGridDatePicker : public dropdowns::TEsgDateTimePicker {
    Q_OBJECT
public:
    TGridDatePicker(TExtStringGrid& grid, QWidget* parent = nullptr);
    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    std::function<void(QChar&)> OnKeyPress;  // the grid's key-press event

    // Reads a cell text into the value the kind shows; today when it does not read. An empty
    // text clears a shown check box.
    void LoadText(const QString& text);
    // What goes into the cell: the text, or nothing while the check box is cleared.
    QString CellValue() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void ShiftFocus() override;

private:
    bool AdapterKeyDown(QKeyEvent* event);
    TExtStringGrid& FGrid;
    QDate FDigitDate;
    QTime FDigitTime;
};

// The grid's date-and-time editor (edDateTimeEdit): Escape restores the value it was opened
// with, Enter and Tab validate the value before the edit ends.
class TGridDateTimePicker : public dropdowns::TExtDateTimePicker {
    Q_OBJECT
public:
    TGridDateTimePicker(TExtStringGrid& grid, QWidget* parent = nullptr);
    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    // The value the editor was opened with.
    QDateTime OriginalDateTime;
    bool OriginalChecked = true;
    // What goes into the cell: short date and time, or nothing while the check box is cleared.
    QString CellValue();

protected:
    bool PickerKeyDown(QKeyEvent* event) override;

private:
    TExtStringGrid& FGrid;
};

// Whether the focus went to a part of the picker (its time part or its calendar): no exit.
bool FocusStaysWithPicker(const QWidget* picker);

}  // namespace grid::editors
