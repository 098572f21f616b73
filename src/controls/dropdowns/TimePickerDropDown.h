#pragma once
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/Watch.h"

#include <QFrame>
#include <QPointer>
#include <QTimeEdit>
#include <functional>

namespace dropdowns {

// The locale's time separator (":" in most locales).
QChar TimeSeparator();

// A time edit: the time of day as two-digit hour, minute and (optionally) second, picked on an
// analogue watch in the drop-down, with an optional time-entry control below the watch.
class TExtTimePickerDropDown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TExtTimePickerDropDown(QWidget* parent = nullptr);
    ~TExtTimePickerDropDown() override;

    TDateTime Time() const { return FTime; }
    // Stores the time and shows it, without OnTimeChange.
    void SetTime(TDateTime value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool value);
    bool ShowTimePicker() const { return FShowTimePicker; }
    void SetShowTimePicker(bool value) { FShowTimePicker = value; }

    TWatchAppearance& WatchAppearance() { return FWatchAppearance; }
    void SetWatchAppearance(const TWatchAppearance& value) { FWatchAppearance.Assign(value); }
    TWatchSettings& WatchSettings() { return FWatchSettings; }
    void SetWatchSettings(const TWatchSettings& value) { FWatchSettings.Assign(value); }
    bool ShowWatchAMPM() const { return FShowWatchAMPM; }
    void SetShowWatchAMPM(bool value) { FShowWatchAMPM = value; }
    bool ShowWatchNumbers() const { return FShowWatchNumbers; }
    void SetShowWatchNumbers(bool value) { FShowWatchNumbers = value; }
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool value) { FAnimation = value; }
    int AnimationFactor() const { return FAnimationFactor; }
    // A divisor: values below 1 become 1.
    void SetAnimationFactor(int value) { FAnimationFactor = std::max(1, value); }

    // Made with the drop-down form; null before.
    TExtWatch* Watch() const { return FExtWatch; }
    QTimeEdit* TimePicker() const { return FDateTimePicker; }
    QFrame* Panel() const { return FPanelCtrl; }

    // The text the time shows in: hour, minute and, with ShowSeconds, second.
    QString FormatTimeText(TDateTime t) const;

    void SetComponentStyle(TSuiteStyle AStyle) override;

    // After a change of Time by the keys or the watch (with the time picker).
    std::function<void()> OnTimeChange;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool cancelChanges) override;
    void DropDownHidden() override;
    void FormKeyDown(int& key, TShiftState shift) override;
    void FormKeyUp(int& key, TShiftState shift) override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void ControlKeyUp(int& key, TShiftState shift) override;
    void KeyDown(int& key, TShiftState shift) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Parses the text into Time after every change of the text.
    void Change();
    void SetHourValue(int h);
    void SetMinuteValue(int m);
    void SetSecondValue(int s);
    void SetPart(int index, int value);
    void ApplyMask();
    void WatchChange();
    void TimePickerChange();
    void FireTimeChange();

    TWatchAppearance FWatchAppearance;
    bool FShowTimePicker = false;
    QPointer<TExtWatch> FExtWatch;
    QPointer<QTimeEdit> FDateTimePicker;
    QPointer<QFrame> FPanelCtrl;
    bool FShowWatchAMPM = true;
    bool FShowWatchNumbers = true;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TDateTime FTime = 0;
    TWatchSettings FWatchSettings;
    bool FInternalCall = false;
    bool FShowSeconds = true;
    // What the edit showed when the drop-down opened, for a cancelling close.
    QString FTextAtOpen;
    TDateTime FTimeAtOpen = 0;
    // The panel's size for this opening: the watch, and the time picker below it.
    QSize FPanelSize;
};

}  // namespace dropdowns
