#pragma once
#include <QDateTimeEdit>
#include <QEvent>
#include <QPointer>
#include <functional>

#include "platform/PopupWindow.h"
#include "platform/TCanvas.h"

class QCalendarWidget;

namespace dropdowns {

using platform::TColor;

enum TDateTimeKind { dtkDate, dtkTime };
// A drop-down button that opens a month calendar, or up and down arrows.
enum TDTDateMode { dmComboBox, dmUpDown };
enum TPickerBorderStyle { bsNone, bsSingle };

// The posted step that moves on to the next field after a typed digit (auto-tab).
QEvent::Type DTPShiftFocusEvent();

// The date or time picker the picker controls build on: the value shown in fields (the display
// format, or the locale's short date or long time format), Up and Down step the field under the
// caret (a day the new month or year lacks becomes its last day), Left and Right move between the
// fields, typed digits stay in their field. In combo mode a drawn button, F4 or Alt+Down drops a
// month calendar in a popup: Enter or a click picks a day, Escape closes it and keeps the value.
// The flat look (border and focus border colours, button colours, metro style) is drawn over it.
class TDateTimePickerBase : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit TDateTimePickerBase(QWidget* parent = nullptr);
    ~TDateTimePickerBase() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode value);
    // The display format; empty shows the locale's format for the kind.
    QString Format() const { return FFormat; }
    void SetFormat(const QString& value);
    // The format the fields show now.
    QString EffectiveFormat() const;

    QDate Date() const { return date(); }
    void SetDate(const QDate& value);
    QTime Time() const { return time(); }
    void SetTime(const QTime& value);
    QDateTime DateTime() const { return dateTime(); }
    void SetDateTime(const QDateTime& value);
    // No limit while null. A value outside the limits is brought inside them.
    QDate MinDate() const { return FMinDate; }
    QDate MaxDate() const { return FMaxDate; }
    void SetMinDate(const QDate& value);
    void SetMaxDate(const QDate& value);

    // A check box before the fields says whether a value is set; a click on it or Space toggles
    // it, and setting a value ticks it. Without the check box the picker is always checked.
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool value);
    bool Checked() const { return FChecked || !FShowCheckbox; }
    void SetChecked(bool value);
    QRect CheckboxRect() const;

    // The drop-down calendar.
    bool DroppedDown() const;
    void DropDown();
    void CloseUp(bool cancelled);
    // Closes up (not cancelled) if dropped down, else drops down: F4, Alt+Up/Down and the button.
    void ToggleDropDown();
    QCalendarWidget* Calendar() const { return FCalendar; }
    platform::TPopupWindow* CalendarWindow() const { return FCalendarWindow; }

    // Moves the caret to the field delta places on (the first or last field at most).
    void MoveField(int delta);
    // The caret goes on to the next field, as Right does.
    void NextField() { MoveField(1); }

    // Flat look.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    TPickerBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TPickerBorderStyle value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool value);
    TColor FocusBorderColor = platform::clNone;
    TColor ButtonColor = platform::clNone, ButtonColorHot = platform::clNone, ButtonColorDown = platform::clNone;
    TColor ButtonBorderColor = platform::clNone, ButtonTextColor = platform::clNone;
    TColor ButtonTextColorHot = platform::clNone, ButtonTextColorDown = platform::clNone;
    // A disabled themed picker gets no gray frame.
    bool DisabledBorder = false;
    bool FocusBorder = false;
    int ButtonWidth() const { return FButtonWidth; }
    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }
    // The button's rectangle in combo mode.
    QRect ButtonRect() const;

    std::function<void()> OnChange;
    std::function<void()> OnDropDown;
    std::function<void()> OnCloseUp;
    // After the check box was ticked or cleared by the user.
    std::function<void()> OnCheckChange;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The posted auto-tab step; nothing here.
    virtual void ShiftFocus() {}
    // Whether the picker follows its metro style (the plain twin, as used for a time part, does not).
    virtual bool DrawsFrame() const { return true; }
    // Whether the flat edge is drawn when the 3-D look is off.
    virtual bool DrawsEdge() const { return true; }
    // How far left of the button the metro style fills with the field colour.
    virtual int MetroFillLead() const { return 4; }
    // Whether paint draws the flat edge's top and left lines again (the twin that can be a time part).
    virtual bool RedrawsEdgeLines() const { return false; }
    // The flat edge and the frame.
    void DrawFrame(platform::TCanvas& canvas);
    // The flat edge (or only its top and left lines) and the inner line in the parent's colour.
    void DrawEdgeLines(platform::TCanvas& canvas, bool topAndLeftOnly);
    platform::TColor EdgeColor() const;
    platform::TColor ParentColor() const;
    platform::TColor ControlColor() const;
    void DrawButton(platform::TCanvas& canvas);
    // A digit typed into the current field, without moving on.
    void TypeDigit(QKeyEvent* event);
    void ApplyFormat();
    void AdjustEditField();
    void ToggleCheck();
    // A value was set: the check box is ticked.
    void SetValueChecked();
    // After the check box's state changed.
    virtual void CheckChanged() {}

private:
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    QString FFormat;
    QDate FMinDate, FMaxDate;
    bool FChecked = true;
    bool FShowCheckbox = false;
    bool FCtl3D = true;
    TPickerBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = platform::clNone;
    bool FMetroStyle = false;
    int FButtonWidth = 0;
    bool FButtonHover = false, FMouseInControl = false, FHasFocus = false;
    QPointer<platform::TPopupWindow> FCalendarWindow;
    QCalendarWidget* FCalendar = nullptr;
    QDate FDroppedFrom;
};

// The locale's long time format without a time-zone field.
QString PickerTimeFormat();

}  // namespace dropdowns
