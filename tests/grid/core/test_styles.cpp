#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridEditLayer.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

#include <QImage>
#include <functional>
#include <QScrollBar>
#include <QTest>

using namespace grid;

namespace {

constexpr TColor none = clNone;

struct StyleCase {
    TExtGridStyle style;
    TGridLook look;
    TColor vur[4];
    TColor active[2];
    TColor selection[3];
    TColor footer[2];
    TColor lines[2];
    TSelectionStyle selectionStyle;
};

// The colours each named style leaves on a grid that starts in the default look.
const StyleCase StyleCases[] = {
    {gsOffice2003Blue, glXP, {0xFCE1CB, 0xE0A57D, none, none}, {0x94E6FB, 0x1595EE}, {0x94E6FB, 0x1595EE, 0},
     {0xFCE1CB, none}, {0xC0C0C0, 0x808080}, ssDefault},
    {gsOffice2003Olive, glXP, {0xCFF0EA, 0x8CC0B1, none, none}, {0x94E6FB, 0x1595EE}, {0x94E6FB, 0x1595EE, 0},
     {0xCFF0EA, none}, {0xC0C0C0, 0x808080}, ssDefault},
    {gsOffice2003Classic, glXP, {0xFFFFFF, 0xCCD4D8, none, none}, {0xD8D5D4, 0xD8D5D4},
     {clHighlight, none, clHighlightText}, {0xFFFFFF, none}, {0xC0C0C0, 0x808080}, ssDefault},
    {gsOffice2007Luna, glOffice2007, {0xFBF9F6, 0xE8DBD2, none, none}, {0x9DD8F9, 0x5EC1F1}, {0x5EC1F1, none, 0},
     {0xFBF9F6, none}, {0xF1EDEB, 0xD1BBA4}, ssOffice2007},
    {gsOffice2007Obsidian, glOffice2007, {0xF7F7F7, 0xDEDEDE, none, none}, {0x9DD8F9, 0x5EC1F1},
     {0x5EC1F1, none, 0}, {0xF7F7F7, none}, {0xE5D7D0, 0x808080}, ssOffice2007},
    {gsWindowsXP, glXP, {clBtnFace, clBtnFace, none, none}, {clBtnFace, clBtnFace},
     {clHighlight, none, clHighlightText}, {clBtnFace, none}, {0xC0C0C0, 0x808080}, ssDefault},
    {gsWhidbey, glXP, {0xFFFFFF, clBtnFace, none, none}, {0x94E6FB, 0x1595EE}, {clHighlight, none, clHighlightText},
     {0xFFFFFF, none}, {0xC0C0C0, 0x808080}, ssDefault},
    {gsOffice2007Silver, glOffice2007, {0xF3F3F1, 0xCAC9C8, none, none}, {0x99CCFF, 0x699CFF}, {0x95C7F5, none, 0},
     {0xF3F3F1, none}, {0xE5D7D0, 0x808080}, ssOffice2007},
    {gsWindowsVista, glVista, {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1}, {0xFDF8F1, 0xFCEFD5}, {0xEACAB6, none, 0},
     {0xFFFFFF, 0xF4F2F1}, {0xECECF0, 0xD4D2D1}, ssVista},
    {gsWindows7, glWin7, {0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD}, {0xFCEBDC, 0xFCDBC1}, {0xEACAB6, none, 0},
     {0xFDFCFA, 0xF7E9DD}, {0xECECF0, 0xD4D2D1}, ssWin7},
    {gsTerminal, glStandard, {clBtnFace, none, none, none}, {0x808080, none}, {clHighlight, none, clHighlightText},
     {clBtnFace, clBtnFace}, {0xC0C0C0, 0x808080}, ssDefault},
    {gsOffice2010Blue, glOffice2007, {0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA}, {0x5BD5FF, 0x71EFFF},
     {0xFFDBB7, none, 0}, {0xF5E7DA, 0xF5E7DA}, {0xC0C0C0, 0xC7B0A0}, ssDefault},
    {gsOffice2010Black, glOffice2007, {0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A}, {0x5BD5FF, 0x71EFFF},
     {0xFFDBB7, none, 0}, {0x6A6A6A, 0x6A6A6A}, {0xC0C0C0, 0x444444}, ssDefault},
};

void ExpectStyle(const TExtStringGrid& g, const StyleCase& c)
{
    EXPECT_EQ(g.Look(), c.look);
    EXPECT_EQ(g.VURGradientFrom, c.vur[0]);
    EXPECT_EQ(g.VURGradientTo, c.vur[1]);
    EXPECT_EQ(g.VURGradientMirrorFrom, c.vur[2]);
    EXPECT_EQ(g.VURGradientMirrorTo, c.vur[3]);
    EXPECT_EQ(g.ActiveCellColor, c.active[0]);
    EXPECT_EQ(g.ActiveCellColorTo, c.active[1]);
    EXPECT_EQ(g.SelectionColor, c.selection[0]);
    EXPECT_EQ(g.SelectionColorTo, c.selection[1]);
    EXPECT_EQ(g.SelectionTextColor, c.selection[2]);
    EXPECT_EQ(g.SearchFooter.Color, c.footer[0]);
    EXPECT_EQ(g.SearchFooter.ColorTo, c.footer[1]);
    EXPECT_EQ(g.GridLineColor, c.lines[0]);
    EXPECT_EQ(g.GridFixedLineColor, c.lines[1]);
    EXPECT_EQ(g.SelectionStyle, c.selectionStyle);
}

TEST(GridStyles, EachStyleSetsItsColourSet)
{
    for (const StyleCase& c : StyleCases) {
        SCOPED_TRACE(int(c.style));
        TExtStringGrid g;
        g.SetStyle(c.style);
        ExpectStyle(g, c);
    }
}

TEST(GridStyles, AStyleWhoseLookRunsItGivesTheSameResultFromAnyLook)
{
    for (TGridLook start : {glXP, glVista, glStandard}) {
        SCOPED_TRACE(int(start));
        TExtStringGrid g;
        g.SetLook(start);
        g.SetStyle(gsWindowsVista);
        ExpectStyle(g, StyleCases[8]);
        EXPECT_EQ(g.VURGradientHoverFrom, 0xFFF7E3u);
        EXPECT_EQ(g.VURGradientHoverBorder, 0xE3C993u);
        EXPECT_EQ(g.ControlLook.FixedGradientDownBorder(), 0xAE904Fu);
        EXPECT_EQ(g.ControlLook.FixedGradientMirrorTo(), 0xF4F2F1u);
        EXPECT_EQ(g.SortSettings.HeaderMirrorColorTo(), 0xF6ECD8u);
        EXPECT_EQ(g.ControlLook.FixedGradientFrom(), clNone);
    }
}

TEST(GridStyles, Windows7KeepsItsOwnHeaderHoverSetBesideTheLooksHoverColours)
{
    TExtStringGrid g;
    g.SetStyle(gsWindows7);
    EXPECT_EQ(g.VURGradientHoverFrom, 0xFDF8F3u);
    EXPECT_EQ(g.VURGradientHoverMirrorFrom, clNone);
    EXPECT_EQ(g.ControlLook.FixedGradientHoverFrom(), 0xFEFBF8u);
    EXPECT_EQ(g.ControlLook.FixedGradientDownBorder(), 0xD5BCAAu);
    EXPECT_EQ(g.VURGradientDownBorder, 0xD5BCAAu);
}

TEST(GridStyles, TheCustomStyleOnlyResetsSelectionHeadersAndControlLook)
{
    TExtStringGrid g;
    g.VURGradientFrom = 0x010101;
    g.GridLineColor = 0x020202;
    g.ActiveCellColor = 0x030303;
    g.SelectionColor = 0x040404;
    g.SelectionStyle = ssWin7;
    g.SortSettings.SetHeaderColor(0x050505);
    g.ControlLook.SetFixedGradientHoverFrom(0x060606);
    g.ControlLook.Color = 0x070707;
    g.SetStyle(gsCustom);
    EXPECT_EQ(g.VURGradientFrom, 0x010101u);
    EXPECT_EQ(g.GridLineColor, 0x020202u);
    EXPECT_EQ(g.ActiveCellColor, 0x030303u);
    EXPECT_EQ(g.SelectionColor, clHighlight);
    EXPECT_EQ(g.SelectionTextColor, clHighlightText);
    EXPECT_EQ(g.SelectionStyle, ssDefault);
    EXPECT_EQ(g.SortSettings.HeaderColor(), clNone);
    EXPECT_EQ(g.ControlLook.FixedGradientHoverFrom(), 0x808080u);
    EXPECT_EQ(g.ControlLook.Color, 0u);
    EXPECT_EQ(g.Look(), glXP);
}

TEST(GridStyles, ComponentStylesKeepMetroScrollBarsOnlyForTheCustomStyle)
{
    controls::TColorTones tones;
    tones.Foreground.BrushColor = 0x808080;
    for (auto [style, scroll] : {std::pair{controls::tsCustom, ssMetro}, std::pair{controls::tsWindows7, ssNormal},
                                 std::pair{controls::tsOffice2003Blue, ssNormal}}) {
        TExtStringGrid g;
        g.SetColorTones(tones);
        ASSERT_EQ(g.ScrollType(), ssMetro);
        g.SetComponentStyle(style);
        EXPECT_EQ(g.ComponentStyle(), style);
        EXPECT_EQ(g.ScrollType(), scroll);
        EXPECT_EQ(g.ScrollControl(sdVertical) != nullptr, scroll == ssMetro);
    }
}

// Every road into and out of the Metro and flat bars leaves exactly one kind of bar: the grid's
// thin Metro controls with the platform bars off, or the platform bars (flat only for ssFlat and
// ssEncarta) without Metro controls.
TEST(GridStyles, LooksStylesAndTonesLeaveOneKindOfScrollBar)
{
    controls::TColorTones tones;
    tones.Foreground.BrushColor = 0x808080;
    using Op = std::function<void(TExtStringGrid&)>;
    const Op metro = [&](TExtStringGrid& g) { g.SetColorTones(tones); };
    const Op flat = [](TExtStringGrid& g) { g.SetScrollType(ssFlat); };
    const Op encarta = [](TExtStringGrid& g) { g.SetScrollType(ssEncarta); };
    const Op plain = [](TExtStringGrid&) {};
    const struct {
        const char* name;
        Op before, action;
        TScrollType expected;
    } cases[] = {
        {"tones from plain bars", plain, metro, ssMetro},
        {"tones from flat bars", flat, metro, ssMetro},
        {"standard look after tones", metro, [](TExtStringGrid& g) { g.SetLook(glStandard); }, ssNormal},
        {"custom look after tones", metro, [](TExtStringGrid& g) { g.SetLook(glCustom); }, ssNormal},
        {"vista look after tones", metro, [](TExtStringGrid& g) { g.SetLook(glVista); }, ssNormal},
        {"standard look after flat bars", flat, [](TExtStringGrid& g) { g.SetLook(glStandard); }, ssNormal},
        {"office look after Encarta bars", encarta, [](TExtStringGrid& g) { g.SetLook(glOffice2007); }, ssNormal},
        {"windows 7 style after tones", metro, [](TExtStringGrid& g) { g.SetComponentStyle(controls::tsWindows7); },
         ssNormal},
        {"custom style after tones", metro, [](TExtStringGrid& g) { g.SetComponentStyle(controls::tsCustom); },
         ssMetro},
        {"tones twice", metro, metro, ssMetro},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid g;
        g.SetRowCount(60);
        g.SetColCount(20);
        g.resize(240, 200);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        c.before(g);
        c.action(g);
        QCoreApplication::processEvents();
        const bool isMetro = c.expected == ssMetro;
        EXPECT_EQ(g.ScrollType(), c.expected);
        EXPECT_EQ(g.ScrollControl(sdVertical) != nullptr, isMetro);
        EXPECT_EQ(g.ScrollControl(sdHorizontal) != nullptr, isMetro);
        EXPECT_EQ(g.GridScrollBars(), isMetro ? platform::ssNone : platform::ssBoth);
        EXPECT_FALSE(g.FlatScrollBars());
        // What the user sees: 60 rows need a vertical bar, of one kind only.
        EXPECT_EQ(g.verticalScrollBar()->isVisible(), !isMetro);
        if (isMetro)
            EXPECT_TRUE(g.ScrollControl(sdVertical)->isVisible());
    }
}

TEST(GridStyles, ColourTonesMakeAFlatClassicGridWithMetroGlyphs)
{
    controls::TColorTones tones;
    tones.Background = {0xFAFAFA, 0xDDDDDD, 0x202020};
    tones.Foreground = {0x643200, 0, 0xFFFFFF};
    tones.Selected = {0xFF8000, 0, 0xFFFFFE};
    TExtStringGrid g;
    g.SetColorTones(tones);
    EXPECT_EQ(g.Look(), glClassic);
    EXPECT_TRUE(g.Flat);
    EXPECT_EQ(g.FixedColor, 0x643200u);
    EXPECT_EQ(g.FixedFont.Color, 0xFFFFFFu);
    EXPECT_EQ(g.Color, 0xFAFAFAu);
    EXPECT_EQ(g.SelectionColor, 0xFF8000u);
    EXPECT_EQ(g.SelectionTextColor, 0xFFFFFEu);
    EXPECT_EQ(g.SelectionColorTo, clNone);
    EXPECT_EQ(g.GridLineColor, 0xE6E6E6u);
    EXPECT_EQ(g.GridFixedLineColor, ScaleColorBrightness(0x643200, -20));
    EXPECT_EQ(g.ControlLook.ControlStyle, csGlyph);
    EXPECT_FALSE(g.ControlLook.CheckedGlyph.isNull());
    EXPECT_FALSE(g.ControlLook.UnCheckedGlyph.isNull());
    EXPECT_FALSE(g.ControlLook.RadioOnGlyph.isNull());
    EXPECT_NE(g.ControlLook.CheckedGlyph, g.ControlLook.UnCheckedGlyph);
    EXPECT_TRUE(g.ControlLook.FlatButton);
    EXPECT_EQ(g.FloatingFooter.Color(), 0x643200u);
    EXPECT_EQ(g.SearchFooter.ColorTo, 0x643200u);
    EXPECT_EQ(g.CellNode.NodeType, cnFlat);
    EXPECT_EQ(g.ColorTones().Selected.BrushColor, 0xFF8000u);
}

namespace {
// Counts what an open editor would hear, and keeps the value it would have read then.
class TListeningLayer : public TGridEditLayer {
public:
    using TGridEditLayer::TGridEditLayer;
    void EditorSettingsChanged() override
    {
        ++Heard;
        LastMaxLength = Grid.MaxEditLength();
    }
    int Heard = 0;
    int LastMaxLength = -1;
};

}  // namespace

TEST(GridStyles, EditorsAreToldOfTheMaxLengthAndOfTheTonesAndStyleTheyPaintWith)
{
    TExtStringGrid g;
    g.SetLayers({.Editing = [](TExtStringGrid& g) { return std::make_unique<TListeningLayer>(g); }});
    auto* layer = static_cast<TListeningLayer*>(g.EditLayer());
    ASSERT_TRUE(layer);

    g.SetMaxEditLength(12);
    EXPECT_EQ(layer->Heard, 1);
    EXPECT_EQ(layer->LastMaxLength, 12);
    g.SetMaxEditLength(12);  // no change, nothing to tell
    EXPECT_EQ(layer->Heard, 1);

    controls::TColorTones tones;
    tones.Background = {0xFAFAFA, 0xDDDDDD, 0x202020};
    tones.Hover = {0x00C0FF, 0, 0};
    tones.Selected = {0xFF8000, 0, 0};
    g.SetColorTones(tones);
    EXPECT_GT(layer->Heard, 1);
    const TExtStringGrid::TEditorLooks& looks = g.EditorLooks();
    EXPECT_TRUE(looks.Tones);
    EXPECT_EQ(looks.ButtonColor, 0xFAFAFAu);
    EXPECT_EQ(looks.HotColor, 0x00C0FFu);
    EXPECT_EQ(looks.DownColor, 0xFF8000u);
    EXPECT_EQ(looks.BorderColor, 0xDDDDDDu);
    EXPECT_EQ(looks.ComboBorderColor, 0xFAFAFAu);  // the grid colour the tones just set
    EXPECT_TRUE(looks.ComboFlat);
    EXPECT_EQ(looks.DatePickerBorderColor, 0xFAFAFAu);
    EXPECT_TRUE(looks.DatePickerMetro);
    // The tones go through the classic look, which styles the drop-down editors as XP.
    EXPECT_TRUE(looks.DropDownStyleSet);
    EXPECT_EQ(looks.DropDownStyle, controls::tsWindowsXP);

    const int before = layer->Heard;
    g.SetComponentStyle(controls::tsOffice2007Luna);
    EXPECT_GT(layer->Heard, before);
    EXPECT_EQ(g.EditorLooks().DropDownStyle, controls::tsOffice2007Luna);
}

TEST(GridStyles, ThemesSetTheirSmallColourSet)
{
    struct Case {
        TXPColorScheme scheme;
        TColor vurFrom, vurTo, mirrorTo, active, fixedFrom, footerTo;
    };
    const Case cases[] = {
        {xpBlue, 0xFCE1CB, 0xE0A57D, none, 0x94E6FB, 0xFCE1CB, 0xE0A57D},
        {xpGreen, 0xCFF0EA, 0x8CC0B1, none, 0x94E6FB, 0xCFF0EA, 0x8CC0B1},
        {xpGray, 0xECE2E1, 0xB39698, none, 0x94E6FB, 0xECE2E1, 0xB39698},
        {vistaAero, 0xFFFFFF, 0xFFFFFF, 0xF4F2F1, 0x94E6FB, 0xFFFFFF, 0xB39698},
        {xpNone, 0xFFFFFF, clBtnFace, none, 0xFFFFFF, none, 0xFFD9B3},
        {TXPColorScheme(9), 0xFFFFFF, clBtnFace, none, 0xFFFFFF, none, 0xFFD9B3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.scheme));
        TExtStringGrid g;
        g.SetTheme(c.scheme);
        EXPECT_EQ(g.VURGradientFrom, c.vurFrom);
        EXPECT_EQ(g.VURGradientTo, c.vurTo);
        EXPECT_EQ(g.VURGradientMirrorTo, c.mirrorTo);
        EXPECT_EQ(g.ActiveCellColor, c.active);
        EXPECT_EQ(g.ControlLook.FixedGradientFrom(), c.fixedFrom);
        EXPECT_EQ(g.SearchFooter.ColorTo, c.footerTo);
    }
}

TEST(GridStyles, ThemeAdaptAppliesAStyleOnlyWhenTheSchemeChanges)
{
    TExtStringGrid g;
    g.ThemeAdapt();
    const controls::TSuiteStyle first = g.ComponentStyle();
    g.GridLineColor = 0x0A0B0C;
    g.ThemeAdapt();
    EXPECT_EQ(g.GridLineColor, 0x0A0B0Cu);
    EXPECT_EQ(g.ComponentStyle(), first);
}

TEST(GridStyles, SettersClampTheMixerFactorAndSpreadSheetSwitchesItsOptionsOn)
{
    TExtStringGrid g;
    for (auto [value, stored] : {std::pair{150, 100}, std::pair{-5, 0}, std::pair{42, 42}}) {
        g.SetSelectionColorMixerFactor(value);
        EXPECT_EQ(g.SelectionColorMixerFactor, stored);
    }
    for (auto [align, flag] : {std::pair{vtaTop, 0}, std::pair{vtaCenter, 4}, std::pair{vtaBottom, 8}}) {
        g.SetVAlignment(align);
        EXPECT_EQ(g.VAlignmentFlag(), flag);
    }
    g.SetShowSelection(false);
    EXPECT_FALSE(g.ShowSel);
    g.Options = 0;
    g.SetSpreadSheet(false);
    EXPECT_FALSE(g.SpreadSheet());
    EXPECT_TRUE(g.SelectionRectangle);
    EXPECT_TRUE(g.SelectionResizer);
    EXPECT_TRUE(g.Navigation.AllowSmartClipboard);
    EXPECT_EQ(g.Options, TGridOptions(goRangeSelect | goEditing));
    EXPECT_TRUE(g.MouseActions.RangeSelectAndEdit);
}

}  // namespace

TEST(GridStylesGolden, AGridInTheWindows7Style)
{
    TExtStringGrid g;
    painttest::Layout(g, 4, 5, 220, 5 * 22 + 4);
    g.SetColWidths(0, 20);
    for (int c = 1; c < 4; ++c) {
        g.SetCells(c, 0, QStringLiteral("Head %1").arg(c));
        for (int r = 1; r < 5; ++r)
            g.SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + c - 1)).arg(r));
    }
    g.SetStyle(gsWindows7);
    g.SetSelection({1, 2, 2, 3});
    EXPECT_TRUE(testsupport::MatchesGolden(painttest::Render(g), TEST_DATA_DIR "/golden/style_windows7.png"));
}
