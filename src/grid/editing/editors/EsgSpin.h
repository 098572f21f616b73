#pragma once
#include <QDateTime>
#include <QLineEdit>
#include <QToolButton>

#include "platform/Clock.h"

namespace grid::editors {

enum TEsgSpinType : uint8_t { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection : uint8_t { spVertical, spHorizontal };

// An edit box with a pair of arrow buttons that step its value: a whole number, a decimal
// number, a date (the part under the caret) or a time of day. Limits that are equal mean none.
// Dates and times are day numbers as the grid stores them: days since 30 December 1899, the time
// of day as the fraction.
class TEsgSpinEdit : public QLineEdit {
public:
    explicit TEsgSpinEdit(QWidget* parent = nullptr);

    int Value() const;
    void SetValue(int value);
    double FloatValue() const;
    void SetFloatValue(double value);
    // Whether the text reads as a number of the spin's type (whole for sptNormal, decimal for
    // sptFloat); value then holds it. A text that does not is never replaced by a limit.
    bool ReadNumber(double& value) const;
    double DateValue() const;
    void SetDateValue(double value);
    double TimeValue() const;
    void SetTimeValue(double value);

    TEsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TEsgSpinType value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int value);
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection value);

    int MinValue = 0, MaxValue = 100;
    double MinFloatValue = 0.0, MaxFloatValue = 100.0;
    double MinDateValue = 0, MaxDateValue = 0;
    int Increment = 1;
    double IncrementFloat = 0.1, IncrementFloatPage = 1.0;
    int IncrementHours = 1, IncrementMinutes = 1, IncrementSeconds = 1;
    bool EditorEnabled = true;
    bool ReturnIsTab = false;
    bool ShowSeconds = true;
    bool ExcelStyleDecimalSeparator = false;

    // The arrow buttons' colours: fill, under the mouse, pressed and border; ColorNone leaves the
    // style's look (a hot or down colour that is none falls back to the fill).
    static constexpr uint32_t ColorNone = 0x1FFFFFFF;
    uint32_t ButtonColor = ColorNone, ButtonColorHot = ColorNone, ButtonColorDown = ColorNone;
    uint32_t ButtonBorderColor = ColorNone;
    // Repaints the buttons after their colours changed.
    void UpdateButtons();

    QToolButton* UpButton() const { return FUp; }
    QToolButton* DownButton() const { return FDown; }

    // One step up or down, of the page size for Page Up and Page Down.
    void UpStep(bool page = false) { Step(true, page); }
    void DownStep(bool page = false) { Step(false, page); }
    // Whether a typed character may go into the text.
    bool IsValidChar(QChar key) const;
    // The value the limits allow, shown again when the text lies outside them.
    void ApplyLimits();

    // Arrow-button repeat while held: the first step after this delay, then one at every interval.
    static constexpr int RepeatDelayMs = 400, RepeatIntervalMs = 100;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // After a step has changed the value: the type, whether up.
    virtual void Stepped(bool /*up*/) {}
    // A click of the up or the down arrow button, or its repeat while held.
    virtual void UpClick() { UpStep(); }
    virtual void DownClick() { DownStep(); }

private:
    void Step(bool up, bool page);
    void ReapplyValue();
    bool OutsideLimits() const;
    void LayoutButtons();
    void StartRepeat(bool up);
    void Repeat(bool up);

    TEsgSpinType FSpinType = sptNormal;
    TSpinDirection FDirection = spVertical;
    int FPrecision = 0;
    double FDateValue = 0, FTimeValue = 0;
    QToolButton* FUp;
    QToolButton* FDown;
    platform::ClockTimer FRepeat;
};

// The standard integer conversion of a text: leading blanks, a sign and a "$" or "0x" hexadecimal
// prefix; it stops at the first character that does not belong to the number. ok tells whether a
// digit was read.
int TextToInt(const QString& text, bool* ok = nullptr);

// Day numbers: days since 30 December 1899, the time of day as the fraction.
double ToDayNumber(const QDateTime& value);
QDateTime FromDayNumber(double value);

}  // namespace grid::editors
