#pragma once
#include "platform/TCanvas.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The style vocabulary the controls share, the colour-scheme detection and the process-wide
// notifier that tells registered windows when the colour scheme changes.
namespace controls {

using platform::TColor;

enum TSuiteStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista, tsWindows7,
    tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

enum TOfficeTheme {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black, ot2010Blue,
    ot2010Silver, ot2010Black, otUnknown
};

struct TColorTone {
    TColor BrushColor = platform::clNone;
    TColor BorderColor = platform::clNone;
    TColor TextColor = platform::clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// Controls that take a family style implement it.
class ISuiteStyle {
public:
    virtual ~ISuiteStyle() = default;
    virtual void SetComponentStyle(TSuiteStyle AStyle) = 0;
};

class ISuiteTones {
public:
    virtual ~ISuiteTones() = default;
    virtual void SetColorTones(const TColorTones& ATones) = 0;
};

// A list of windows; a window that is destroyed reads as null.
class THandleList {
public:
    int Count() const { return int(FItems.size()); }
    void Add(QWidget* value) { FItems.emplace_back(value); }
    void Insert(int index, QWidget* value);
    void Delete(int index);
    // Removes the first equal entry; nothing when there is none.
    void DeleteValue(QWidget* value);
    bool HasValue(QWidget* value) const;
    QWidget* Items(int index) const;
    void SetItems(int index, QWidget* value);

private:
    std::vector<QPointer<QWidget>> FItems;
};

// What the scheme detection reads: the Office colour-scheme values ("Theme" of the 2010 and 2007
// keys) when present, and the active visual style's colour-scheme name.
struct TOfficeThemeSettings {
    std::optional<int> Office2010Theme;
    std::optional<int> Office2007Theme;
    bool VisualStyleActive = false;
    QString ColorSchemeName;
};

// The scheme for the given settings; otUnknown is never returned.
TOfficeTheme DetectOfficeTheme(const TOfficeThemeSettings& settings);
// The scheme of this system. No Office colour scheme exists here, so the visual style decides.
TOfficeTheme DetectOfficeTheme();
// The newer-platform test the controls use; always true here.
bool HasGetLocaleInfoEx();
// "Segoe UI" on newer platforms, else "Tahoma".
QString DefaultUIFontName();

// The colour-scheme-changed message every registered window receives.
constexpr int WM_OFFICETHEMECHANGED = 2993;

class TOfficeThemeChangeEvent : public QEvent {
public:
    TOfficeThemeChangeEvent() : QEvent(EventType()) {}
    static QEvent::Type EventType() { return QEvent::Type(QEvent::User + WM_OFFICETHEMECHANGED); }
};

// Watches the application's colour scheme (its palette) and, when it changes, fires
// OnOfficeThemeChange and sends a TOfficeThemeChangeEvent to every registered window in order.
class TThemeNotifier : public QObject {
    Q_OBJECT
public:
    explicit TThemeNotifier(QObject* owner = nullptr);
    ~TThemeNotifier() override;

    // Adds the window once.
    void RegisterWindow(QWidget* hwnd);
    void UnRegisterWindow(QWidget* hwnd);
    const THandleList& Windows() const { return FWinList; }

    // Delivers one change now.
    void NotifyChange();

    std::function<void()> OnOfficeThemeChange;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THandleList FWinList;
};

// The process's single notifier, created on the first call and owned by the application, so that
// it lives as long as the program whoever asked for it first.
TThemeNotifier* GetThemeNotifier();

}  // namespace controls
