#include "controls/dropdowns/WatchAppearance.h"

#include "platform/Exception.h"

#include <cmath>

namespace dropdowns {

using namespace platform;

void SetFontPoints(TFont& font, int points)
{
    // Points at the platform's 96 pixels per inch, as the original sizes were meant.
    font.setPixelSize(std::max(1, (points * 96 + 36) / 72));
}

TFont WatchFont(const QString& name, int points, TColor color, bool bold)
{
    QFont f(name);
    f.setStyleHint(QFont::SansSerif);
    TFont font(f, color);
    SetFontPoints(font, points);
    font.setBold(bold);
    return font;
}

TWatchAppearance::TWatchAppearance() { SetDefaults(); }

void TWatchAppearance::SetDefaults()
{
    FSize = 0;
    FHourPointer = clBlack;
    FBackgroundColor = clWhite;
    FMinutePointerShadow = clBtnShadow;
    FBackgroundColorTo = clNone;
    FHourPointerShadow = clBtnShadow;
    FSecondPointerShadow = clBtnShadow;
    FSecondPointer = clRed;
    FBorderColor = clBlack;
    FMinutePointer = clBlack;
    FHourFont = WatchFont(QStringLiteral("Tahoma"), 8);
    FAMPMFont = WatchFont(QStringLiteral("Tahoma"), 10);
    FPicture = QImage();
    FAMPMFrame = apRect;
    FWatchShape = wsCircle;
    FPointerStyle = psLine;
    FBorderStyle = wbLine;
    FHourPointerSize = 4;
    FSecondPointerSize = 1;
    FMinutePointerSize = 3;
    FHourColor = clBlack;
    FMinuteColor = clGray;
    FCenterPointSize = 4;
    FCenterPointColor = clBlack;
    FCenterPointBorderColor = clNone;
    FBackgroundGradient = wgVertical;
    FRounding = 5;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FBorderWidth = 4;
    FAMPMColor = clWhite;
    FAMPMBorderColor = clBlack;
    FCenterPointOuterBorderColor = clNone;
    FTickMarks = tmAll;
    FHourMarkStyle = hmsLine;
    Changed();
}

void TWatchAppearance::SetHourFont(const TFont& v)
{
    FHourFont = v;
    Changed();
}

void TWatchAppearance::SetAMPMFont(const TFont& v)
{
    FAMPMFont = v;
    Changed();
}

void TWatchAppearance::SetPicture(const QImage& v)
{
    FPicture = v;
    Changed();
}

void TWatchAppearance::Assign(const TWatchAppearance& s)
{
    if (&s == this)
        return;
    FSize = s.FSize;
    FHourPointer = s.FHourPointer;
    FBackgroundColor = s.FBackgroundColor;
    FMinutePointerShadow = s.FMinutePointerShadow;
    FBackgroundColorTo = s.FBackgroundColorTo;
    FHourPointerShadow = s.FHourPointerShadow;
    FSecondPointerShadow = s.FSecondPointerShadow;
    FSecondPointer = s.FSecondPointer;
    FBorderColor = s.FBorderColor;
    FMinutePointer = s.FMinutePointer;
    FAMPMFrame = s.FAMPMFrame;
    FWatchShape = s.FWatchShape;
    FPointerStyle = s.FPointerStyle;
    FBorderStyle = s.FBorderStyle;
    FHourPointerSize = s.FHourPointerSize;
    FSecondPointerSize = s.FSecondPointerSize;
    FMinutePointerSize = s.FMinutePointerSize;
    FHourColor = s.FHourColor;
    FMinuteColor = s.FMinuteColor;
    FCenterPointSize = s.FCenterPointSize;
    FCenterPointColor = s.FCenterPointColor;
    FCenterPointBorderColor = s.FCenterPointBorderColor;
    FBackgroundGradient = s.FBackgroundGradient;
    FRounding = s.FRounding;
    FHourMarkLength = s.FHourMarkLength;
    FHourMarkWidth = s.FHourMarkWidth;
    FMinuteMarkLength = s.FMinuteMarkLength;
    FMinuteMarkWidth = s.FMinuteMarkWidth;
    FBorderWidth = s.FBorderWidth;
    FAMPMColor = s.FAMPMColor;
    FAMPMBorderColor = s.FAMPMBorderColor;
    SetCenterPointOuterBorderColor(s.FCenterPointOuterBorderColor);
    SetTickMarks(s.FTickMarks);
    SetHourMarkStyle(s.FHourMarkStyle);
    SetHourFont(s.FHourFont);
    SetAMPMFont(s.FAMPMFont);
    SetPicture(s.FPicture);
}

void TWatchSettings::Assign(const TWatchSettings& source)
{
    if (&source == this)
        return;
    FSeconds = source.FSeconds;
    FTimeOffset = source.FTimeOffset;
    SetAuto(source.FAuto);
}

namespace {
constexpr qint64 MSecsPerDay = 86400000;
}

TTimeParts DecodeTime(TDateTime t)
{
    const double frac = std::fabs(t - std::trunc(t));
    qint64 ms = qint64(std::llround(frac * MSecsPerDay));
    // A fraction a hair below the next day rounds up to midnight.
    if (ms >= MSecsPerDay)
        ms = 0;
    TTimeParts p;
    p.Hour = int(ms / 3600000);
    p.Minute = int(ms / 60000 % 60);
    p.Second = int(ms / 1000 % 60);
    p.MSec = int(ms % 1000);
    return p;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& t)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        return false;
    t = double(((hour * 60 + minute) * 60 + second) * 1000 + msec) / double(MSecsPerDay);
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    TDateTime t = 0;
    if (!TryEncodeTime(hour, minute, second, msec, t))
        throw Exception(QStringLiteral("Invalid time"));
    return t;
}

}  // namespace dropdowns
