#include "controls/common/ExtXPVS.h"

#include <QApplication>
#include <QPainter>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>

namespace controls {

namespace {

// Bound at start-up, as the controls expect.
bool Loaded = true;

const QStringList KnownClasses = {QStringLiteral("button"), QStringLiteral("combobox"), QStringLiteral("spin"),
                                  QStringLiteral("progress"), QStringLiteral("header")};

// States 1..4 of a push-like part: normal, hot, pressed, disabled.
void ApplyPushState(QStyleOption& opt, int state)
{
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    switch (state) {
    case 2: opt.state |= QStyle::State_MouseOver; break;
    case 3: opt.state = (opt.state & ~QStyle::State_Raised) | QStyle::State_Sunken; break;
    case 4: opt.state &= ~QStyle::State_Enabled; break;
    default: break;
    }
}

void DrawBevel(QStyle* style, QPainter* p, QWidget* w, const QRect& r, int state)
{
    QStyleOptionButton opt;
    if (w)
        opt.initFrom(w);
    opt.rect = r;
    ApplyPushState(opt, state);
    if (state == 5)
        opt.features |= QStyleOptionButton::DefaultButton;
    style->drawControl(QStyle::CE_PushButtonBevel, &opt, p, w);
}

void DrawArrow(QStyle* style, QPainter* p, QWidget* w, const QRect& r, QStyle::PrimitiveElement arrow, int state)
{
    QStyleOption opt;
    if (w)
        opt.initFrom(w);
    opt.rect = r;
    ApplyPushState(opt, state);
    style->drawPrimitive(arrow, &opt, p, w);
}

}  // namespace

bool LoadThemeLibrary()
{
    Loaded = true;
    return true;
}

void FreeThemeLibrary() { Loaded = false; }

bool ThemeLibraryLoaded() { return Loaded; }

HTHEME OpenThemeData(QWidget* hwnd, const QString& classList)
{
    HTHEME theme;
    for (const QString& name : classList.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString cls = name.trimmed().toLower();
        if (KnownClasses.contains(cls)) {
            theme.Window = hwnd;
            theme.ThemeClass = cls;
            theme.Valid = true;
            break;
        }
    }
    return theme;
}

void CloseThemeData(HTHEME& theme) { theme = HTHEME(); }

bool DrawThemeBackground(const HTHEME& theme, platform::TCanvas& dc, int partId, int stateId, const QRect& rect,
                         const QRect* clipRect)
{
    QPainter* p = dc.Painter();
    if (!theme || !p || rect.isEmpty())
        return false;
    QWidget* w = theme.Window.data();
    QStyle* style = w ? w->style() : QApplication::style();
    p->save();
    if (clipRect)
        p->setClipRect(*clipRect, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    bool drawn = true;
    const QString& cls = theme.ThemeClass;
    if (cls == QLatin1String("button") && partId == BP_PUSHBUTTON) {
        DrawBevel(style, p, w, rect, stateId);
    } else if (cls == QLatin1String("button") && (partId == BP_RADIOBUTTON || partId == BP_CHECKBOX)) {
        // Radio states: unchecked 1-4, checked 5-8; check-box states add mixed 9-12.
        QStyleOptionButton opt;
        if (w)
            opt.initFrom(w);
        opt.rect = rect;
        const int group = (stateId - 1) / 4, within = (stateId - 1) % 4 + 1;
        ApplyPushState(opt, within);
        opt.state &= ~(QStyle::State_Raised | QStyle::State_Sunken);
        if (within == 3)
            opt.state |= QStyle::State_Sunken;
        opt.state |= group == 0 ? QStyle::State_Off : group == 1 ? QStyle::State_On : QStyle::State_NoChange;
        style->drawPrimitive(partId == BP_RADIOBUTTON ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox,
                             &opt, p, w);
    } else if (cls == QLatin1String("combobox") && partId == CP_DROPDOWNBUTTON) {
        DrawBevel(style, p, w, rect, stateId);
        DrawArrow(style, p, w, rect.adjusted(3, 3, -3, -3), QStyle::PE_IndicatorArrowDown, stateId);
    } else if (cls == QLatin1String("spin") && partId >= SPNP_UP && partId <= SPNP_DOWNHORZ) {
        DrawBevel(style, p, w, rect, stateId);
        static const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown,
                                                          QStyle::PE_IndicatorArrowRight, QStyle::PE_IndicatorArrowLeft};
        DrawArrow(style, p, w, rect.adjusted(2, 1, -2, -1), arrows[partId - 1], stateId);
    } else if (cls == QLatin1String("progress") && (partId == PP_BAR || partId == PP_BARVERT)) {
        QStyleOptionProgressBar opt;
        if (w)
            opt.initFrom(w);
        opt.rect = rect;
        opt.state |= QStyle::State_Enabled;
        opt.minimum = 0;
        opt.maximum = 100;
        opt.progress = 0;
        if (partId == PP_BAR)
            opt.state |= QStyle::State_Horizontal;
        style->drawControl(QStyle::CE_ProgressBarGroove, &opt, p, w);
    } else if (cls == QLatin1String("header") && (partId == HP_HEADERITEM || partId == HP_HEADERITEMRIGHT)) {
        QStyleOptionHeader opt;
        if (w)
            opt.initFrom(w);
        opt.rect = rect;
        opt.state = QStyle::State_Enabled | QStyle::State_Horizontal | QStyle::State_Raised;
        if (stateId == HIS_HOT)
            opt.state |= QStyle::State_MouseOver;
        else if (stateId == HIS_PRESSED)
            opt.state = (opt.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
        // The area right of the last item has no item of its own: an empty section stands for it.
        opt.position = partId == HP_HEADERITEMRIGHT ? QStyleOptionHeader::End : QStyleOptionHeader::Middle;
        style->drawControl(QStyle::CE_HeaderSection, &opt, p, w);
    } else if (cls == QLatin1String("progress") && (partId == PP_CHUNK || partId == PP_CHUNKVERT)) {
        const QPalette pal = w ? w->palette() : QApplication::palette();
        p->fillRect(rect, pal.color(QPalette::Highlight));
    } else {
        drawn = false;
    }
    p->restore();
    return drawn;
}

bool IsThemeActive() { return true; }

bool IsAppThemed() { return true; }

bool GetCurrentThemeName(QString& fileName, QString& colorName, QString& sizeName)
{
    const QStyle* style = QApplication::style();
    fileName = style ? style->name() : QString();
    colorName.clear();
    sizeName = QStringLiteral("NormalSize");
    return true;
}

int ComCtl32MajorVersion() { return 6; }

}  // namespace controls
