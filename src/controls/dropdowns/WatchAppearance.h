#pragma once
#include "platform/TCanvas.h"

#include <QImage>
#include <QString>
#include <functional>

// The look and the behaviour settings of the analogue watch, and the time-of-day arithmetic it and
// the time picker share.
namespace dropdowns {

using platform::TColor;
using platform::TFont;

enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TWatchStyle {
    wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia, wsBlack, wsBlackWhite, wsGray,
    wsSuperNova, wsSports, wsSmooth
};

// A font as the presets name it: family, size in points (at 96 pixels per inch), colour, bold.
TFont WatchFont(const QString& name, int points, TColor color = platform::clWindowText, bool bold = false);
// Changes the size in points of a font, keeping the rest.
void SetFontPoints(TFont& font, int points);

class TWatchAppearance {
public:
    TWatchAppearance();
    TWatchAppearance(const TWatchAppearance&) = delete;
    TWatchAppearance& operator=(const TWatchAppearance&) = delete;

    // Every field back to its default, fonts included and the picture emptied; fires OnChange.
    void SetDefaults();
    // Copies every setting; the fonts, the picture, CenterPointOuterBorderColor, TickMarks and
    // HourMarkStyle through their setters, which notify.
    void Assign(const TWatchAppearance& source);

    std::function<void()> OnChange;

    int Size() const { return FSize; }
    void SetSize(int v) { Set(FSize, v); }
    TColor HourPointer() const { return FHourPointer; }
    void SetHourPointer(TColor v) { Set(FHourPointer, v); }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor v) { Set(FBackgroundColor, v); }
    TColor MinutePointerShadow() const { return FMinutePointerShadow; }
    void SetMinutePointerShadow(TColor v) { Set(FMinutePointerShadow, v); }
    TColor BackgroundColorTo() const { return FBackgroundColorTo; }
    void SetBackgroundColorTo(TColor v) { Set(FBackgroundColorTo, v); }
    TColor HourPointerShadow() const { return FHourPointerShadow; }
    void SetHourPointerShadow(TColor v) { Set(FHourPointerShadow, v); }
    TColor SecondPointer() const { return FSecondPointer; }
    void SetSecondPointer(TColor v) { Set(FSecondPointer, v); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    TColor MinutePointer() const { return FMinutePointer; }
    void SetMinutePointer(TColor v) { Set(FMinutePointer, v); }
    const TFont& HourFont() const { return FHourFont; }
    void SetHourFont(const TFont& v);
    const TFont& AMPMFont() const { return FAMPMFont; }
    void SetAMPMFont(const TFont& v);
    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& v);
    TAMPMFrame AMPMFrame() const { return FAMPMFrame; }
    void SetAMPMFrame(TAMPMFrame v) { Set(FAMPMFrame, v); }
    TWatchShape Shape() const { return FWatchShape; }
    void SetShape(TWatchShape v) { Set(FWatchShape, v); }
    TPointerStyle PointerStyle() const { return FPointerStyle; }
    void SetPointerStyle(TPointerStyle v) { Set(FPointerStyle, v); }
    int HourPointerSize() const { return FHourPointerSize; }
    void SetHourPointerSize(int v) { Set(FHourPointerSize, quint8(v)); }
    int SecondPointerSize() const { return FSecondPointerSize; }
    void SetSecondPointerSize(int v) { Set(FSecondPointerSize, quint8(v)); }
    int MinutePointerSize() const { return FMinutePointerSize; }
    void SetMinutePointerSize(int v) { Set(FMinutePointerSize, quint8(v)); }
    TColor HourColor() const { return FHourColor; }
    void SetHourColor(TColor v) { Set(FHourColor, v); }
    TColor MinuteColor() const { return FMinuteColor; }
    void SetMinuteColor(TColor v) { Set(FMinuteColor, v); }
    int CenterPointSize() const { return FCenterPointSize; }
    void SetCenterPointSize(int v) { Set(FCenterPointSize, quint8(v)); }
    TColor CenterPointColor() const { return FCenterPointColor; }
    void SetCenterPointColor(TColor v) { Set(FCenterPointColor, v); }
    TColor CenterPointBorderColor() const { return FCenterPointBorderColor; }
    void SetCenterPointBorderColor(TColor v) { Set(FCenterPointBorderColor, v); }
    TWatchGradient BackgroundGradient() const { return FBackgroundGradient; }
    void SetBackgroundGradient(TWatchGradient v) { Set(FBackgroundGradient, v); }
    int HourMarkLength() const { return FHourMarkLength; }
    void SetHourMarkLength(int v) { Set(FHourMarkLength, quint8(v)); }
    int HourMarkWidth() const { return FHourMarkWidth; }
    void SetHourMarkWidth(int v) { Set(FHourMarkWidth, quint8(v)); }
    int MinuteMarkLength() const { return FMinuteMarkLength; }
    void SetMinuteMarkLength(int v) { Set(FMinuteMarkLength, quint8(v)); }
    int MinuteMarkWidth() const { return FMinuteMarkWidth; }
    void SetMinuteMarkWidth(int v) { Set(FMinuteMarkWidth, quint8(v)); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { Set(FBorderWidth, v); }
    // Plain fields: writing them notifies nobody.
    TColor AMPMColor() const { return FAMPMColor; }
    void SetAMPMColor(TColor v) { FAMPMColor = v; }
    TColor AMPMBorderColor() const { return FAMPMBorderColor; }
    void SetAMPMBorderColor(TColor v) { FAMPMBorderColor = v; }
    TColor CenterPointOuterBorderColor() const { return FCenterPointOuterBorderColor; }
    void SetCenterPointOuterBorderColor(TColor v) { Set(FCenterPointOuterBorderColor, v); }
    TTickMarks TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMarks v) { Set(FTickMarks, v); }
    THourMarkStyle HourMarkStyle() const { return FHourMarkStyle; }
    void SetHourMarkStyle(THourMarkStyle v) { Set(FHourMarkStyle, v); }

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed()
    {
        if (OnChange)
            OnChange();
    }

    int FSize;
    TColor FHourPointer;
    TColor FBackgroundColor;
    TColor FMinutePointerShadow;
    TColor FBackgroundColorTo;
    TColor FHourPointerShadow;
    TColor FSecondPointerShadow;
    TColor FSecondPointer;
    TColor FBorderColor;
    TColor FMinutePointer;
    TFont FHourFont;
    TFont FAMPMFont;
    QImage FPicture;
    TAMPMFrame FAMPMFrame;
    TWatchShape FWatchShape;
    TPointerStyle FPointerStyle;
    TWatchBorderStyle FBorderStyle;
    quint8 FHourPointerSize;
    quint8 FSecondPointerSize;
    quint8 FMinutePointerSize;
    TColor FHourColor;
    TColor FMinuteColor;
    quint8 FCenterPointSize;
    TColor FCenterPointColor;
    TColor FCenterPointBorderColor;
    TWatchGradient FBackgroundGradient;
    int FRounding;
    quint8 FHourMarkLength;
    quint8 FHourMarkWidth;
    quint8 FMinuteMarkLength;
    quint8 FMinuteMarkWidth;
    int FBorderWidth;
    TColor FAMPMColor;
    TColor FAMPMBorderColor;
    TColor FCenterPointOuterBorderColor;
    TTickMarks FTickMarks;
    THourMarkStyle FHourMarkStyle;
};

class TWatchSettings {
public:
    TWatchSettings() = default;
    TWatchSettings(const TWatchSettings&) = delete;
    TWatchSettings& operator=(const TWatchSettings&) = delete;

    // Second and TimeOffset plainly, Auto through its setter.
    void Assign(const TWatchSettings& source);

    std::function<void()> OnChange;

    bool Auto() const { return FAuto; }
    void SetAuto(bool v) { Set(FAuto, v); }
    bool Second() const { return FSeconds; }
    void SetSecond(bool v) { Set(FSeconds, v); }
    int TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int v) { Set(FTimeOffset, v); }

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        if (OnChange)
            OnChange();
    }

    bool FAuto = false;
    bool FSeconds = true;
    int FTimeOffset = 0;
};

// A time of day is a TDateTime: days as a double, of which only the fraction matters here.
using TDateTime = double;

struct TTimeParts {
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int MSec = 0;
    bool operator==(const TTimeParts&) const = default;
};

// The fraction of the day split into its parts, to the nearest millisecond.
TTimeParts DecodeTime(TDateTime t);
// False (and t untouched) when a part is out of range.
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& t);
// Raises "Invalid time" when a part is out of range.
TDateTime EncodeTime(int hour, int minute, int second, int msec);

}  // namespace dropdowns
