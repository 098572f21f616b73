#pragma once
#include "controls/common/ExtStyleIF.h"
#include "controls/dropdowns/WatchAppearance.h"
#include "platform/Clock.h"
#include "platform/TCustomControl.h"

#include <QImage>
#include <functional>

namespace dropdowns {

// The geometry of the face that the mouse input needs, free of any control.
// The minute (0..59) a point shows, seen from the centre c.
int MinuteFromPoint(QPoint c, QPoint p);
// The hour (0..23) a point inside the face shows in the given half of the day.
int HourFromPoint(QPoint c, QPoint p, bool am);
// Whether p lies in the ellipse inscribed in r.
bool PointInEllipse(QPoint p, const QRect& r);

// An analogue watch on which the hour and minute are set with the mouse or the keyboard, or a live
// clock of the system time. The face is painted into a cache; hand moves only repaint the hands.
class TExtWatch : public platform::TCustomControl, public controls::ISuiteStyle {
    Q_OBJECT
public:
    explicit TExtWatch(QWidget* parent = nullptr);
    ~TExtWatch() override;

    TWatchAppearance& Appearance() { return FAppearance; }
    void SetAppearance(const TWatchAppearance& value) { FAppearance.Assign(value); }
    TWatchSettings& Settings() { return FSettings; }
    void SetSettings(const TWatchSettings& value) { FSettings.Assign(value); }

    TDateTime Time() const { return FTime; }
    // Moves the hands without animation and without OnChange.
    void SetTime(TDateTime value);
    // Change one part of the time, animated when Animation is on; "Invalid time" beyond the range.
    void SetHour(int value);
    void SetMinute(int value);

    bool Animation() const { return FAnimation; }
    void SetAnimation(bool value) { FAnimation = value; }
    int AnimationFactor() const { return FAnimationFactor; }
    // A divisor: values below 1 become 1.
    void SetAnimationFactor(int value) { FAnimationFactor = std::max(1, value); }
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool value);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool value);
    TWatchStyle Style() const { return FStyle; }
    void SetStyle(TWatchStyle value);
    void SetComponentStyle(controls::TSuiteStyle AStyle) override;

    // Whether the AM half of the day is shown; switching with Animation rolls the box's text.
    bool AM() const { return FAM; }
    void SetAM(bool value);
    // The time the hands show: the system time plus TimeOffset for a live clock, else Time.
    TDateTime GetDisplayTime() const;
    // A key the drop-down hands on (virtual key code); nothing for a live clock.
    void HandleKey(int key);
    bool Animating() const { return FAnimationTimer.IsActive(); }

    QRect GetWatchRect() const;
    QPoint GetCenter() const;
    int GetRadius() const;
    // (-1, -1, -1, -1) without ShowAMPM.
    QRect GetAMPMRect() const;

    // Repaints only the hands over the cached face.
    void RepaintHands();

    std::function<void()> OnChange;

    // The system's time of day for the live clock; tests set their own.
    static void SetSystemTimeSource(std::function<TDateTime()> source);
    static TDateTime SystemTime();

protected:
    void Paint() override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    QCursor CursorAt(int x, int y) override;
    unsigned GetDlgCode() override;
    void Resize() override;

private:
    // A periodic timer on the program's clock.
    class TTick {
    public:
        TTick(QObject* context, int intervalMs, std::function<void()> action)
            : Context(context), Interval(intervalMs), Action(std::move(action)) {}
        void SetEnabled(bool on);
        bool IsActive() const { return Timer.IsActive(); }

    private:
        void Arm();
        QObject* Context;
        int Interval;
        std::function<void()> Action;
        platform::ClockTimer Timer;
    };

    void SetTimeInternal(TDateTime t);
    void SettingsChanged();
    void AppearanceChanged();
    void AnimationTimerTick();
    void WatchTimerTick();
    // Applies an hour or a minute now: the time, the hands and OnChange unless mid-animation.
    void ApplyHour(int value);
    void ApplyMinute(int value);
    void FireChange(bool hour, int value);

    // Painting.
    void PaintWatch();
    void RebuildCache();
    bool CacheStale() const;
    void DrawBackground(platform::TCanvas& canvas, const QRect& clientRect);
    void DrawFace(platform::TCanvas& canvas);
    void DrawTickMarks(platform::TCanvas& canvas);
    void DrawNumbers(platform::TCanvas& canvas);
    void DrawAMPM(platform::TCanvas& canvas);
    void DrawAMPMFrame(platform::TCanvas& canvas, const QRect& box);
    void DrawHands(platform::TCanvas& canvas);
    void RollAMPM(bool toAM);
    QImage HandsFrame();

    TWatchAppearance FAppearance;
    TWatchSettings FSettings;
    TDateTime FTime = 0;
    QImage FBKGCache;
    bool FCacheValid = false;
    // The control's colour the cache was erased with.
    TColor FCacheColor = platform::clNone;
    // While the AM/PM text rolls, the frame shown instead of the cache and hands.
    QImage FRollFrame;
    quint16 FOldHour = 0, FOldMinute = 0, FOldSecond = 0;
    TTick FWatchTimer;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TTick FAnimationTimer;
    quint8 FCurrentHourTo = 0;
    quint8 FCurrentMinuteTo = 0;
    quint8 FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
};

// Applies a family style's colours to a watch look (the watch and the time picker share it).
void ApplyComponentStyle(TWatchAppearance& appearance, controls::TSuiteStyle style);

}  // namespace dropdowns
