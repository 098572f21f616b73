#include <algorithm>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"

namespace grid {

namespace {

// A colour the style leaves as it is.
constexpr TColor Keep = 0xFFFFFFFE;
// The footer's ColorTo that follows the resulting VURGradientMirrorTo.
constexpr TColor MirrorTo = 0xFFFFFFFD;
constexpr int KeepLook = -1;

enum TFixedLook : uint8_t { cfKeep, cfNone, cfVUR };

struct TStyleSet {
    TExtGridStyle Style;
    int Look;
    TColor VUR[4];
    TColor Active[2];
    TColor Selection[3];  // Keep: the reset of every style
    TColor Footer[2];
    TColor Lines[2];
    TFixedLook ControlFixed;
    bool ControlMirrorsVUR;
    TColor VURHover[5];      // from, to, mirror from, mirror to, border
    TColor ControlHover[5];  // the same order
    TColor ControlDown[5];
    TColor Headers[4];
    int SelStyle;
};

#define KEEP5 {Keep, Keep, Keep, Keep, Keep}
#define KEEP4 {Keep, Keep, Keep, Keep}
#define KEEP3 {Keep, Keep, Keep}
#define KEEP2 {Keep, Keep}

constexpr TColor HeadersVista[4] = {0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8};
#define OFFICE2010(style, face, lines, header)                                                              \
    {style, glOffice2007, {face, face, face, face}, {0x5BD5FF, 0x71EFFF}, {0xFFDBB7, clNone, 0},            \
     {face, face}, {0xC0C0C0, lines}, cfNone, true, {clNone, clNone, clNone, clNone, clNone},                \
     {0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8}, {0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2}, \
     {header, header, header, header}, ssDefault}

const TStyleSet StyleSets[] = {
    {gsOffice2003Blue, glXP, {0xFCE1CB, 0xE0A57D, clNone, clNone}, {0x94E6FB, 0x1595EE}, {0x94E6FB, 0x1595EE, 0},
     {0xFCE1CB, clNone}, {0xC0C0C0, 0x808080}, cfVUR, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsOffice2003Silver, glXP, {0xECE2E1, 0xB39698, clNone, clNone}, {0x94E6FB, 0x1595EE}, {0x94E6FB, 0x1595EE, 0},
     {0xECE2E1, clNone}, {0xC0C0C0, 0x808080}, cfVUR, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsOffice2003Olive, glXP, {0xCFF0EA, 0x8CC0B1, clNone, clNone}, {0x94E6FB, 0x1595EE}, {0x94E6FB, 0x1595EE, 0},
     {0xCFF0EA, clNone}, {0xC0C0C0, 0x808080}, cfVUR, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsOffice2003Classic, glXP, {0xFFFFFF, 0xCCD4D8, clNone, clNone}, {0xD8D5D4, 0xD8D5D4}, KEEP3,
     {0xFFFFFF, clNone}, {0xC0C0C0, 0x808080}, cfNone, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsOffice2007Luna, glOffice2007, {0xFBF9F6, 0xE8DBD2, clNone, clNone}, {0x9DD8F9, 0x5EC1F1},
     {0x5EC1F1, clNone, 0}, {0xFBF9F6, clNone}, {0xF1EDEB, 0xD1BBA4}, cfVUR, false, KEEP5,
     {0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87}, {0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D}, KEEP4,
     ssOffice2007},
    {gsOffice2007Obsidian, glOffice2007, {0xF7F7F7, 0xDEDEDE, clNone, clNone}, {0x9DD8F9, 0x5EC1F1},
     {0x5EC1F1, clNone, 0}, {0xF7F7F7, clNone}, {0xE5D7D0, 0x808080}, cfVUR, false, KEEP5, KEEP5, KEEP5, KEEP4,
     KeepLook},
    {gsWindowsXP, glXP, {clBtnFace, clBtnFace, clNone, clNone}, {clBtnFace, clBtnFace}, KEEP3, {clBtnFace, clNone},
     {0xC0C0C0, 0x808080}, cfNone, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsWhidbey, KeepLook, {0xFFFFFF, clBtnFace, clNone, clNone}, {0x94E6FB, 0x1595EE}, KEEP3, {0xFFFFFF, clNone},
     {0xC0C0C0, 0x808080}, cfNone, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsCustom, KeepLook, KEEP4, KEEP2, KEEP3, KEEP2, KEEP2, cfKeep, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsOffice2007Silver, glOffice2007, {0xF3F3F1, 0xCAC9C8, Keep, Keep}, {0x99CCFF, 0x699CFF}, {0x95C7F5, clNone, 0},
     {0xF3F3F1, MirrorTo}, {0xE5D7D0, 0x808080}, cfVUR, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    {gsWindowsVista, glVista, {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1}, {0xFDF8F1, 0xFCEFD5}, {0xEACAB6, clNone, 0},
     {0xFFFFFF, 0xF4F2F1}, {0xECECF0, 0xD4D2D1}, cfNone, true, {0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993},
     {0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, Keep}, {0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F},
     {HeadersVista[0], HeadersVista[1], HeadersVista[2], HeadersVista[3]}, ssVista},
    {gsWindows7, glWin7, {0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD}, {0xFCEBDC, 0xFCDBC1}, {0xEACAB6, clNone, 0},
     {0xFDFCFA, 0xF7E9DD}, {0xECECF0, 0xD4D2D1}, cfNone, true, {0xFDF8F3, 0xF9F3EF, clNone, clNone, 0xEEE8E3},
     {0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1, Keep}, {0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA},
     {HeadersVista[0], HeadersVista[1], HeadersVista[2], HeadersVista[3]}, ssWin7},
    {gsTerminal, glStandard, KEEP4, KEEP2, KEEP3, KEEP2, KEEP2, cfKeep, false, KEEP5, KEEP5, KEEP5, KEEP4, KeepLook},
    OFFICE2010(gsOffice2010Blue, 0xF5E7DA, 0xC7B0A0, 0xD6CEC7),
    OFFICE2010(gsOffice2010Silver, 0xE8E3DF, 0xBAB5B1, 0xAAAAAA),
    OFFICE2010(gsOffice2010Black, 0x6A6A6A, 0x444444, 0xBABABA),
};
#undef OFFICE2010
#undef KEEP5
#undef KEEP4
#undef KEEP3
#undef KEEP2

void Put(TColor& field, TColor value)
{
    if (value != Keep)
        field = value;
}

// The hover and pressed gradient sets of the look through its setters, colour by colour.
void PutHover(TControlLook& look, const TColor (&v)[5])
{
    if (v[0] != Keep) look.SetFixedGradientHoverFrom(v[0]);
    if (v[1] != Keep) look.SetFixedGradientHoverTo(v[1]);
    if (v[2] != Keep) look.SetFixedGradientHoverMirrorFrom(v[2]);
    if (v[3] != Keep) look.SetFixedGradientHoverMirrorTo(v[3]);
    if (v[4] != Keep) look.SetFixedGradientHoverBorder(v[4]);
}

void PutDown(TControlLook& look, const TColor (&v)[5])
{
    if (v[0] != Keep) look.SetFixedGradientDownFrom(v[0]);
    if (v[1] != Keep) look.SetFixedGradientDownTo(v[1]);
    if (v[2] != Keep) look.SetFixedGradientDownMirrorFrom(v[2]);
    if (v[3] != Keep) look.SetFixedGradientDownMirrorTo(v[3]);
    if (v[4] != Keep) look.SetFixedGradientDownBorder(v[4]);
}

}  // namespace

void TExtStringGrid::SetStyle(TExtGridStyle style)
{
    SelectionColor = clHighlight;
    SelectionColorTo = clNone;
    SelectionTextColor = clHighlightText;
    SelectionStyle = ssDefault;
    SortSettings.SetHeaderColor(clNone);
    SortSettings.SetHeaderColorTo(clNone);
    SortSettings.SetHeaderMirrorColor(clNone);
    SortSettings.SetHeaderMirrorColorTo(clNone);
    ControlLook.Init();

    const auto set = std::find_if(std::begin(StyleSets), std::end(StyleSets),
                                  [style](const TStyleSet& s) { return s.Style == style; });
    if (set == std::end(StyleSets)) {
        Invalidate();
        return;
    }
    if (set->Look != KeepLook)
        SetLook(TGridLook(set->Look));
    // The look's own preset may have run this style already; the values below settle it either way.
    PutHover(ControlLook, set->ControlHover);
    PutDown(ControlLook, set->ControlDown);
    Put(VURGradientFrom, set->VUR[0]);
    Put(VURGradientTo, set->VUR[1]);
    Put(VURGradientMirrorFrom, set->VUR[2]);
    Put(VURGradientMirrorTo, set->VUR[3]);
    Put(VURGradientHoverFrom, set->VURHover[0]);
    Put(VURGradientHoverTo, set->VURHover[1]);
    Put(VURGradientHoverMirrorFrom, set->VURHover[2]);
    Put(VURGradientHoverMirrorTo, set->VURHover[3]);
    Put(VURGradientHoverBorder, set->VURHover[4]);
    Put(ActiveCellColor, set->Active[0]);
    Put(ActiveCellColorTo, set->Active[1]);
    Put(SelectionColor, set->Selection[0]);
    Put(SelectionColorTo, set->Selection[1]);
    Put(SelectionTextColor, set->Selection[2]);
    Put(SearchFooter.Color, set->Footer[0]);
    Put(SearchFooter.ColorTo, set->Footer[1] == MirrorTo ? VURGradientMirrorTo : set->Footer[1]);
    Put(GridLineColor, set->Lines[0]);
    Put(GridFixedLineColor, set->Lines[1]);
    if (set->ControlFixed == cfVUR) {
        ControlLook.SetFixedGradientFrom(VURGradientFrom);
        ControlLook.SetFixedGradientTo(VURGradientTo);
    } else if (set->ControlFixed == cfNone) {
        ControlLook.SetFixedGradientFrom(clNone);
        ControlLook.SetFixedGradientTo(clNone);
    }
    if (set->ControlMirrorsVUR) {
        ControlLook.SetFixedGradientMirrorFrom(VURGradientMirrorFrom);
        ControlLook.SetFixedGradientMirrorTo(VURGradientMirrorTo);
    }
    if (set->Headers[0] != Keep) {
        SortSettings.SetHeaderColor(set->Headers[0]);
        SortSettings.SetHeaderColorTo(set->Headers[1]);
        SortSettings.SetHeaderMirrorColor(set->Headers[2]);
        SortSettings.SetHeaderMirrorColorTo(set->Headers[3]);
    }
    if (set->SelStyle != KeepLook)
        SelectionStyle = TSelectionStyle(set->SelStyle);
    Invalidate();
}

void TExtStringGrid::SetComponentStyle(controls::TSuiteStyle style)
{
    FComponentStyle = style;
    SetStyle(TExtGridStyle(style));
    StyleDropDownEditors(style);
    if (style != controls::tsCustom && FScrollType == ssMetro)
        SetScrollType(ssNormal);
}

void TExtStringGrid::SetTheme(TXPColorScheme scheme)
{
    auto vur = [this](TColor from, TColor to, TColor mirrorFrom, TColor mirrorTo) {
        VURGradientFrom = from;
        VURGradientTo = to;
        VURGradientMirrorFrom = mirrorFrom;
        VURGradientMirrorTo = mirrorTo;
    };
    auto rest = [this](TColor activeFrom, TColor activeTo, TColor fixedFrom, TColor fixedTo, TColor footerFrom,
                       TColor footerTo) {
        ActiveCellColor = activeFrom;
        ActiveCellColorTo = activeTo;
        ControlLook.SetFixedGradientFrom(fixedFrom);
        ControlLook.SetFixedGradientTo(fixedTo);
        SearchFooter.Color = footerFrom;
        SearchFooter.ColorTo = footerTo;
    };
    struct TPair {
        TXPColorScheme Scheme;
        TColor From, To;
    };
    static constexpr TPair XPSchemes[] = {
        {xpBlue, 0xFCE1CB, 0xE0A57D}, {xpGreen, 0xCFF0EA, 0x8CC0B1}, {xpGray, 0xECE2E1, 0xB39698}};
    for (const TPair& p : XPSchemes) {
        if (p.Scheme != scheme)
            continue;
        vur(p.From, p.To, clNone, clNone);
        rest(0x94E6FB, 0x1595EE, p.From, p.To, p.From, p.To);
        return;
    }
    if (scheme == vistaAero) {
        vur(0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1);
        rest(0x94E6FB, 0x1595EE, 0xFFFFFF, 0xFFFFFF, 0xECE2E1, 0xB39698);
        return;
    }
    vur(0xFFFFFF, clBtnFace, clNone, clNone);
    rest(0xFFFFFF, 0xFFD9B3, clNone, clNone, 0xFFFFFF, 0xFFD9B3);
}

void TExtStringGrid::ThemeAdapt()
{
    using namespace controls;
    const TOfficeTheme theme = DetectOfficeTheme();
    if (int(theme) == FLastOfficeTheme)
        return;
    static constexpr TSuiteStyle Styles[] = {
        tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
        tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black};
    if (size_t(theme) < std::size(Styles))
        SetComponentStyle(Styles[theme]);
    FLastOfficeTheme = int(theme);
}

void TExtStringGrid::SetColorTones(const controls::TColorTones& tones)
{
    FColorTones = tones;
    SetLook(glClassic);
    Flat = true;
    SetScrollType(ssMetro);

    FixedColor = tones.Foreground.BrushColor;
    FixedFont.Color = tones.Foreground.TextColor;
    FixedFont.Name = FontName = controls::DefaultUIFontName();
    Color = tones.Background.BrushColor;
    FontColor = tones.Background.TextColor;

    SelectionColor = tones.Selected.BrushColor;
    SelectionTextColor = tones.Selected.TextColor;
    SelectionColorTo = clNone;
    GridLineColor = 0xE6E6E6;
    GridFixedLineColor = ScaleColorBrightness(tones.Foreground.BrushColor, -20);
    SingleBorder = false;

    ControlLook.ControlStyle = csGlyph;
    ControlLook.SetGlyphs(GridResourceBitmap(QStringLiteral("metrocheckoff")),
                          GridResourceBitmap(QStringLiteral("metrocheckon")),
                          GridResourceBitmap(QStringLiteral("metroradiooff")),
                          GridResourceBitmap(QStringLiteral("metroradioon")));

    FEditorLooks.Tones = true;
    FEditorLooks.ButtonColor = tones.Background.BrushColor;
    FEditorLooks.HotColor = tones.Hover.BrushColor;
    FEditorLooks.DownColor = tones.Selected.BrushColor;
    FEditorLooks.BorderColor = tones.Background.BorderColor;
    FEditorLooks.ComboBorderColor = Color;
    FEditorLooks.ComboFlat = true;
    FEditorLooks.DatePickerBorderColor = tones.Background.BrushColor;
    FEditorLooks.DatePickerMetro = true;
    EditorSettingsChanged();

    ControlLook.FlatButton = true;
    FloatingFooter.SetColor(tones.Foreground.BrushColor);
    SearchFooter.Color = SearchFooter.ColorTo = tones.Foreground.BrushColor;
    CellNode.NodeType = cnFlat;
    Invalidate();
}

void TExtStringGrid::StyleDropDownEditors(controls::TSuiteStyle style)
{
    FEditorLooks.DropDownStyleSet = true;
    FEditorLooks.DropDownStyle = style;
    EditorSettingsChanged();
}

void TExtStringGrid::EditorSettingsChanged()
{
    // Only a layer that exists has editors to tell; a later one reads the values when it opens one.
    if (FEditLayer)
        FEditLayer->EditorSettingsChanged();
}

void TExtStringGrid::SetMaxEditLength(int value)
{
    if (value == FMaxEditLength)
        return;
    FMaxEditLength = value;
    EditorSettingsChanged();
}

// Setters of the painting settings.

namespace {

template <typename T>
bool Change(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

}  // namespace

void TExtStringGrid::SetSelectionColor(TColor value) { if (Change(SelectionColor, value)) Invalidate(); }
void TExtStringGrid::SetSelectionColorTo(TColor value) { if (Change(SelectionColorTo, value)) Invalidate(); }
void TExtStringGrid::SetSelectionMirrorColor(TColor value) { if (Change(SelectionMirrorColor, value)) Invalidate(); }
void TExtStringGrid::SetSelectionMirrorColorTo(TColor value)
{
    if (Change(SelectionMirrorColorTo, value))
        Invalidate();
}
void TExtStringGrid::SetSelectionTextColor(TColor value) { if (Change(SelectionTextColor, value)) Invalidate(); }
void TExtStringGrid::SetSelectionColorMixer(bool value) { if (Change(SelectionColorMixer, value)) Invalidate(); }
void TExtStringGrid::SetSelectionRectangle(bool value) { if (Change(SelectionRectangle, value)) Invalidate(); }
void TExtStringGrid::SetSelectionResizer(bool value) { if (Change(SelectionResizer, value)) Invalidate(); }

void TExtStringGrid::SetSelectionColorMixerFactor(int value)
{
    if (value == SelectionColorMixerFactor)
        return;
    SelectionColorMixerFactor = std::clamp(value, 0, 100);
    Invalidate();
}

void TExtStringGrid::SetShowSelection(bool value)
{
    if (!Change(ShowSelection, value))
        return;
    ShowSel = value;
    Invalidate();
}

void TExtStringGrid::SetFlat(bool value)
{
    Flat = value;
    if (!Loading)
        Invalidate();
}

void TExtStringGrid::SetAutoSize(bool value)
{
    AutoSize = value;
    if (value && !Loading)
        AutoSizeColumns(false, 10);
}

void TExtStringGrid::SetVAlignment(TVAlignment value)
{
    VAlignment = value;
    static constexpr int Flags[] = {0, 4, 8};
    FVAlignmentFlag = Flags[std::min<size_t>(value, 2)];
    if (UpdateCount() == 0)
        Invalidate();
}

void TExtStringGrid::SetSpreadSheet(bool value)
{
    FSpreadSheet = value;
    SelectionRectangle = true;
    SelectionResizer = true;
    Navigation.AllowSmartClipboard = true;
    Options |= goRangeSelect | goEditing;
    MouseActions.RangeSelectAndEdit = true;
}

}  // namespace grid
