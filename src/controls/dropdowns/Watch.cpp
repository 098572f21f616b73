#include "controls/dropdowns/Watch.h"
#include "controls/dropdowns/DropDownDraw.h"

#include "platform/Exception.h"

#include <QRegion>
#include <QScopedValueRollback>
#include <QTime>
#include <cmath>
#include <cstdlib>

namespace dropdowns {

using namespace platform;

namespace {

std::function<TDateTime()>& SystemTimeSourceRef()
{
    static std::function<TDateTime()> source;
    return source;
}

TDateTime WithHour(TDateTime t, int hour)
{
    TTimeParts p = DecodeTime(t);
    return EncodeTime(hour, p.Minute, p.Second, p.MSec);
}

TDateTime WithHourMinute(TDateTime t, int hour, int minute)
{
    TTimeParts p = DecodeTime(t);
    return EncodeTime(hour, minute, p.Second, p.MSec);
}

}  // namespace

int MinuteFromPoint(QPoint c, QPoint p)
{
    const int dy = std::max(1, std::abs(c.y() - p.y()));
    const int dx = std::max(1, std::abs(c.x() - p.x()));
    const int f = RoundEven(std::atan(double(dy) / dx) * 180.0 / M_PI / 6.0);
    int m;
    if (p.x() >= c.x() && p.y() >= c.y())
        m = 15 + f;
    else if (p.x() <= c.x() && p.y() >= c.y())
        m = 45 - f;
    else if (p.x() <= c.x() && p.y() <= c.y())
        m = 45 + f;
    else
        m = 15 - f;
    return m >= 0 && m <= 59 ? m : 0;
}

int HourFromPoint(QPoint c, QPoint p, bool am)
{
    const int h = RoundEven(MinuteFromPoint(c, p) / 5.0);
    if (h == 0 || h == 12)
        return am ? 0 : 12;
    return am ? h : h + 12;
}

bool PointInEllipse(QPoint p, const QRect& r) { return QRegion(r, QRegion::Ellipse).contains(p); }

void TExtWatch::TTick::SetEnabled(bool on)
{
    if (on == Timer.IsActive())
        return;
    if (on)
        Arm();
    else
        Timer.Stop();
}

void TExtWatch::TTick::Arm()
{
    // Armed again before the action runs, so that the action may stop it.
    Timer.Start(Interval, Context, [this] {
        Arm();
        Action();
    });
}

TExtWatch::TExtWatch(QWidget* parent)
    : TCustomControl(parent),
      FWatchTimer(this, 100, [this] { WatchTimerTick(); }),
      FAnimationTimer(this, 1, [this] { AnimationTimerTick(); })
{
    FAppearance.OnChange = [this] { AppearanceChanged(); };
    FSettings.OnChange = [this] { SettingsChanged(); };
    FWatchTimer.SetEnabled(FSettings.Auto());
    SetOpaque(true);
    resize(180, 180);
}

TExtWatch::~TExtWatch()
{
    FAppearance.OnChange = nullptr;
    FSettings.OnChange = nullptr;
}

void TExtWatch::SetSystemTimeSource(std::function<TDateTime()> source) { SystemTimeSourceRef() = std::move(source); }

TDateTime TExtWatch::SystemTime()
{
    if (const auto& source = SystemTimeSourceRef())
        return source();
    return QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;
}

TDateTime TExtWatch::GetDisplayTime() const
{
    if (FSettings.Auto())
        return SystemTime() + FSettings.TimeOffset() / 1440.0;
    return FTime;
}

void TExtWatch::SetTime(TDateTime value)
{
    if (value == FTime)
        return;
    SetTimeInternal(value);
    RepaintHands();
}

void TExtWatch::SetTimeInternal(TDateTime t)
{
    if (t == FTime)
        return;
    FTime = t;
    QScopedValueRollback<bool> internal(FInternalSet, true);
    SetAM(DecodeTime(t).Hour < 12);
}

void TExtWatch::SetHour(int value)
{
    if (value < 0 || value > 23)
        throw Exception(QStringLiteral("Invalid time"));
    if (value == DecodeTime(GetDisplayTime()).Hour)
        return;
    if (FAnimation && !FInternalCall) {
        FCurrentHourTo = quint8(value);
        FHourAnimating = true;
        FAnimationTimer.SetEnabled(true);
        return;
    }
    ApplyHour(value);
}

void TExtWatch::ApplyHour(int value)
{
    SetTimeInternal(WithHour(GetDisplayTime(), value));
    RepaintHands();
    FireChange(true, value);
}

void TExtWatch::SetMinute(int value)
{
    if (value < 0 || value >= 60)
        throw Exception(QStringLiteral("Invalid time"));
    const int current = DecodeTime(GetDisplayTime()).Minute;
    if (value == current)
        return;
    if (FAnimation && !FInternalCall) {
        FCurrentMinuteTo = quint8(value);
        FHourAnimating = false;
        FMinuteFrom = quint8(current);
        FAnimationTimer.SetEnabled(true);
        return;
    }
    if (!FAnimation)
        FMinuteFrom = quint8(current);
    ApplyMinute(value);
}

void TExtWatch::ApplyMinute(int value)
{
    int hour = DecodeTime(GetDisplayTime()).Hour;
    // The hand passed 12 o'clock forwards: the next hour begins.
    if (value == 0 && FMinuteFrom > 30) {
        hour = hour == 23 ? 0 : hour + 1;
        FMinuteFrom = 0;
    }
    SetTimeInternal(WithHourMinute(GetDisplayTime(), hour, value));
    RepaintHands();
    FireChange(false, value);
}

void TExtWatch::FireChange(bool hour, int value)
{
    const int target = hour ? FCurrentHourTo : FCurrentMinuteTo;
    if (FAnimationTimer.IsActive() && FHourAnimating == hour && value != target)
        return;
    if (OnChange)
        OnChange();
}

void TExtWatch::AnimationTimerTick()
{
    if (!FAnimation) {
        FAnimationTimer.SetEnabled(false);
        return;
    }
    const TTimeParts p = DecodeTime(GetDisplayTime());
    QScopedValueRollback<bool> internal(FInternalCall, true);
    if (FHourAnimating) {
        const int target = FCurrentHourTo;
        if (p.Hour == target) {
            FAnimationTimer.SetEnabled(false);
            return;
        }
        const int step = std::max(1, RoundEven(std::abs(target - p.Hour) / double(FAnimationFactor)));
        SetHour(p.Hour < target ? std::min(target, p.Hour + step) : std::max(target, p.Hour - step));
        return;
    }
    const int target = FCurrentMinuteTo;
    if (p.Minute == target) {
        FAnimationTimer.SetEnabled(false);
        return;
    }
    const bool wraps = target == 0 && p.Minute > 30;
    const int distance = wraps ? 60 - p.Minute : std::abs(target - p.Minute);
    const int step = std::max(1, RoundEven(distance / double(FAnimationFactor)));
    int next;
    if (p.Minute < target || wraps) {
        next = p.Minute + step;
        if (next >= 60)
            next = 0;
    } else
        next = p.Minute - step;
    SetMinute(next);
}

void TExtWatch::SettingsChanged()
{
    FWatchTimer.SetEnabled(FSettings.Auto());
    if (FSettings.Auto()) {
        const TDateTime now = SystemTime();
        SetTime(now);
        QScopedValueRollback<bool> internal(FInternalSet, true);
        SetAM(DecodeTime(now).Hour < 12);
    }
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::WatchTimerTick()
{
    const TTimeParts p = DecodeTime(GetDisplayTime());
    FOldHour = quint16(p.Hour);
    FOldMinute = quint16(p.Minute);
    FOldSecond = quint16(p.Second);
    RepaintHands();
}

void TExtWatch::AppearanceChanged()
{
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::SetShowAMPM(bool value)
{
    if (value == FShowAMPM)
        return;
    FShowAMPM = value;
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::SetShowNumbers(bool value)
{
    if (value == FShowNumbers)
        return;
    FShowNumbers = value;
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (FSettings.Auto())
        return;
    const QPoint p(x, y);
    const QRect w = GetWatchRect();
    if (!PointInEllipse(p, w)) {
        SetMinute(MinuteFromPoint(GetCenter(), p));
        return;
    }
    if (GetAMPMRect().contains(p)) {
        if (FAnimation)
            SetAM(!FAM);
        const int h = DecodeTime(FTime).Hour;
        FCurrentHourTo = quint8(h < 12 ? h + 12 : h - 12);
        QScopedValueRollback<bool> internal(FInternalCall, true);
        SetHour(FCurrentHourTo);
        return;
    }
    SetHour(HourFromPoint(GetCenter(), p, FAM));
}

QCursor TExtWatch::CursorAt(int x, int y)
{
    if (FShowAMPM && GetAMPMRect().contains(QPoint(x, y)))
        return QCursor(Qt::PointingHandCursor);
    return TCustomControl::CursorAt(x, y);
}

unsigned TExtWatch::GetDlgCode() { return TabStop() ? DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS : 0; }

void TExtWatch::Resize()
{
    TCustomControl::Resize();
    FCacheValid = false;
}

void TExtWatch::HandleKey(int key)
{
    if (FSettings.Auto())
        return;
    const TTimeParts p = DecodeTime(GetDisplayTime());
    const int h = p.Hour, m = p.Minute;
    switch (key) {
    case 'A':
        if (h >= 12)
            SetHour(h - 12);
        break;
    case 'P':
        if (h < 12)
            SetHour(h + 12);
        break;
    case VK_PRIOR:
        if (h == 23) {
            QScopedValueRollback<bool> internal(FInternalCall, true);
            SetHour(0);
        } else
            SetHour(h + 1);
        break;
    case VK_NEXT:
        if (h == 0) {
            QScopedValueRollback<bool> internal(FInternalCall, true);
            SetHour(23);
        } else
            SetHour(h - 1);
        break;
    case VK_HOME: {
        QScopedValueRollback<bool> internal(FInternalCall, true);
        SetHour(12);
        break;
    }
    case VK_END:
        SetMinute(0);
        break;
    case VK_LEFT:
        if (m == 0)
            SetTime(EncodeTime(h == 0 ? 23 : h - 1, 59, p.Second, p.MSec));
        else
            SetMinute(m - 1);
        break;
    case VK_RIGHT:
        SetMinute(m == 59 ? 0 : m + 1);
        break;
    default:
        break;
    }
}

}  // namespace dropdowns
