#pragma once
#include "platform/TCanvas.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

// The visual-style (theme) functions the controls draw their parts with, over QStyle. Themes are
// always active here; the drop-down controls use the same functions as the grid.
namespace controls {

// An open theme: the window it was opened for and the theme class. Null when the class is unknown.
struct HTHEME {
    QPointer<QWidget> Window;
    QString ThemeClass;
    bool Valid = false;
    explicit operator bool() const { return Valid; }
};

// Parts and states (the Windows values).
enum : int {
    BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3,
    PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5,
    RBS_UNCHECKEDNORMAL = 1, RBS_CHECKEDNORMAL = 5, RBS_CHECKEDDISABLED = 8,
    CBS_UNCHECKEDNORMAL = 1, CBS_CHECKEDNORMAL = 5, CBS_MIXEDNORMAL = 9, CBS_MIXEDDISABLED = 12,
    CP_DROPDOWNBUTTON = 1, CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4,
    SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4,
    UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4,
    PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4,
    HP_HEADERITEM = 1, HP_HEADERITEMRIGHT = 3, HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3,
};

// Binding is a no-op kept for the start-up order; the functions are always there.
bool LoadThemeLibrary();
void FreeThemeLibrary();
bool ThemeLibraryLoaded();

// Classes: "button", "combobox", "spin", "progress", "header" (case ignored; the first known name of a
// ";"-separated list wins).
HTHEME OpenThemeData(QWidget* hwnd, const QString& classList);
void CloseThemeData(HTHEME& theme);
// Draws the part in the state into the rectangle through the window's style; false for a null
// theme, an unknown part or a canvas that is not painting.
bool DrawThemeBackground(const HTHEME& theme, platform::TCanvas& dc, int partId, int stateId, const QRect& rect,
                         const QRect* clipRect = nullptr);
bool IsThemeActive();
bool IsAppThemed();
// The style's name as the theme file, no colour-scheme name and "NormalSize".
bool GetCurrentThemeName(QString& fileName, QString& colorName, QString& sizeName);
// The common controls version the controls test for themed drawing.
int ComCtl32MajorVersion();

}  // namespace controls
