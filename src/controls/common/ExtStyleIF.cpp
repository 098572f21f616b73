#include "controls/common/ExtStyleIF.h"

#include "controls/common/ExtXPVS.h"

#include <QCoreApplication>
#include <algorithm>

namespace controls {

void THandleList::Insert(int index, QWidget* value)
{
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, QPointer<QWidget>(value));
}

void THandleList::Delete(int index)
{
    if (index >= 0 && index < Count())
        FItems.erase(FItems.begin() + index);
}

void THandleList::DeleteValue(QWidget* value)
{
    const auto it = std::find_if(FItems.begin(), FItems.end(), [value](const QPointer<QWidget>& p) { return p == value; });
    if (it != FItems.end())
        FItems.erase(it);
}

bool THandleList::HasValue(QWidget* value) const
{
    return std::any_of(FItems.begin(), FItems.end(), [value](const QPointer<QWidget>& p) { return p == value; });
}

QWidget* THandleList::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].data() : nullptr;
}

void THandleList::SetItems(int index, QWidget* value)
{
    if (index >= 0 && index < Count())
        FItems[size_t(index)] = value;
}

TOfficeTheme DetectOfficeTheme(const TOfficeThemeSettings& settings)
{
    if (settings.Office2010Theme) {
        switch (*settings.Office2010Theme) {
        case 1: return ot2010Blue;
        case 2: return ot2010Silver;
        case 3: return ot2010Black;
        default: return ot2003Blue;
        }
    }
    if (settings.Office2007Theme) {
        switch (*settings.Office2007Theme) {
        case 1: return ot2007Blue;
        case 2: return ot2007Silver;
        case 3: return ot2007Black;
        default: return ot2003Blue;
        }
    }
    if (!settings.VisualStyleActive)
        return ot2003Classic;
    const QString& name = settings.ColorSchemeName;
    if (name.contains(QLatin1String("NormalColor")))
        return ot2003Blue;
    if (name.contains(QLatin1String("HomeStead")))
        return ot2003Olive;
    if (name.contains(QLatin1String("Metallic")))
        return ot2003Silver;
    return ot2003Classic;
}

TOfficeTheme DetectOfficeTheme()
{
    TOfficeThemeSettings settings;
    settings.VisualStyleActive = IsThemeActive();
    QString file, size;
    if (!GetCurrentThemeName(file, settings.ColorSchemeName, size))
        settings.VisualStyleActive = false;
    return DetectOfficeTheme(settings);
}

bool HasGetLocaleInfoEx() { return true; }

QString DefaultUIFontName() { return HasGetLocaleInfoEx() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma"); }

namespace {
QPointer<TThemeNotifier> TheNotifier;
}

TThemeNotifier::TThemeNotifier(QObject* owner) : QObject(owner)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

TThemeNotifier::~TThemeNotifier()
{
    if (TheNotifier == this)
        TheNotifier = nullptr;
}

bool TThemeNotifier::eventFilter(QObject* watched, QEvent* event)
{
    // The application hears of every change of its palette or of the platform theme.
    if (watched == QCoreApplication::instance() &&
        (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::ThemeChange))
        NotifyChange();
    return QObject::eventFilter(watched, event);
}

void TThemeNotifier::RegisterWindow(QWidget* hwnd)
{
    if (hwnd && !FWinList.HasValue(hwnd))
        FWinList.Add(hwnd);
}

void TThemeNotifier::UnRegisterWindow(QWidget* hwnd) { FWinList.DeleteValue(hwnd); }

void TThemeNotifier::NotifyChange()
{
    QPointer<TThemeNotifier> self(this);
    if (OnOfficeThemeChange)
        OnOfficeThemeChange();
    if (!self)
        return;
    // Send to the list as it stands now: a window that registers or leaves while handling the
    // change does not disturb this round.
    std::vector<QPointer<QWidget>> targets;
    for (int i = 0; i < FWinList.Count(); ++i)
        targets.emplace_back(FWinList.Items(i));
    for (const QPointer<QWidget>& w : targets)
        if (w) {
            TOfficeThemeChangeEvent event;
            QCoreApplication::sendEvent(w, &event);
        }
}

TThemeNotifier* GetThemeNotifier()
{
    if (!TheNotifier)
        TheNotifier = new TThemeNotifier(QCoreApplication::instance());
    return TheNotifier;
}

}  // namespace controls
