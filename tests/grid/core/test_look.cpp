#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

TEST(GridLook, ANewGridHasTheConstructedLook)
{
    TExtStringGrid g;
    EXPECT_EQ(g.Look(), glXP);
    EXPECT_EQ(g.ControlLook.CheckSize, 15);
    EXPECT_EQ(g.ControlLook.RadioSize, 10);
    EXPECT_EQ(g.ControlLook.ControlStyle, csTheme);
    EXPECT_EQ(g.ControlLook.FixedGradientHoverFrom(), 0x808080u);
    EXPECT_EQ(g.ControlLook.FixedGradientHoverTo(), 0xFFFFFFu);
    EXPECT_EQ(g.ControlLook.FixedGradientDownFrom(), 0x808080u);
    EXPECT_EQ(g.ControlLook.FixedGradientDownTo(), 0xC0C0C0u);
    EXPECT_EQ(g.ControlLook.FixedGradientFrom(), clNone);
    // The grid's own hover set is the one painting reads; it starts with the look's values.
    EXPECT_EQ(g.VURGradientHoverFrom, 0x808080u);
    EXPECT_EQ(g.VURGradientDownTo, 0xC0C0C0u);
    EXPECT_EQ(g.ControlLook.DropDownHeader.Font().Name(), "Tahoma");
    EXPECT_EQ(g.ControlLook.DropDownHeader.GetOwner(), &g);
    EXPECT_EQ(g.ProgressAppearance.Steps(), 11);
    EXPECT_EQ(g.ProgressAppearance.Level2Color(), 0x53A9FFu);
    EXPECT_EQ(g.BackGround.Color(), clWindow);
    EXPECT_EQ(g.ShowModified.Color(), 0x00FFFFu);
    EXPECT_EQ(g.ColumnSize.StretchColumn, -1);
    EXPECT_EQ(g.ColumnSize.Rows, arAll);
    EXPECT_EQ(g.URLColor, 0xFF0000u);
}

TEST(GridLook, FixedGradientSettersFeedTheGridButAPlainColourOfNoneDoesNot)
{
    struct Case {
        const char* what;
        void (TControlLook::*set)(TColor);
        TColor TExtStringGrid::*target;
        TColor value;
        bool passes;
    };
    const Case cases[] = {
        {"from", &TControlLook::SetFixedGradientFrom, &TExtStringGrid::VURGradientFrom, 0x123456, true},
        {"from none", &TControlLook::SetFixedGradientFrom, &TExtStringGrid::VURGradientFrom, clNone, false},
        {"to none", &TControlLook::SetFixedGradientTo, &TExtStringGrid::VURGradientTo, clNone, false},
        {"hover border", &TControlLook::SetFixedGradientHoverBorder, &TExtStringGrid::VURGradientHoverBorder, 7, true},
        {"down to none", &TControlLook::SetFixedGradientDownTo, &TExtStringGrid::VURGradientDownTo, clNone, false},
        {"mirror none", &TControlLook::SetFixedGradientMirrorFrom, &TExtStringGrid::VURGradientMirrorFrom, clNone,
         true},
        {"hover mirror none", &TControlLook::SetFixedGradientHoverMirrorTo,
         &TExtStringGrid::VURGradientHoverMirrorTo, clNone, true},
        {"down mirror", &TControlLook::SetFixedGradientDownMirrorFrom, &TExtStringGrid::VURGradientDownMirrorFrom,
         0x010203, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TExtStringGrid g;
        g.*c.target = 0xABCDEF;
        (g.ControlLook.*c.set)(c.value);
        EXPECT_EQ(g.*c.target, c.passes ? c.value : 0xABCDEFu);
    }
}

TEST(GridLook, AssigningALookCopiesEachPairToItselfAndKeepsTheTargetsOwnFlags)
{
    TExtStringGrid source, target;
    source.ControlLook.SetFixedGradientFrom(0x000001);
    source.ControlLook.SetFixedGradientTo(0x000002);
    source.ControlLook.SetFixedGradientHoverMirrorFrom(0x000003);
    source.ControlLook.SetFixedGradientDownBorder(0x000004);
    source.ControlLook.CheckSize = 20;
    source.ControlLook.FlatButton = true;
    source.ControlLook.DropDownFooter.Height = 40;
    const TColor targetGrid = target.VURGradientFrom;

    target.ControlLook.Assign(source.ControlLook);
    EXPECT_EQ(target.ControlLook.FixedGradientFrom(), 0x000001u);
    EXPECT_EQ(target.ControlLook.FixedGradientTo(), 0x000002u);
    EXPECT_EQ(target.ControlLook.FixedGradientHoverMirrorFrom(), 0x000003u);
    EXPECT_EQ(target.ControlLook.FixedGradientDownBorder(), 0x000004u);
    EXPECT_EQ(target.ControlLook.CheckSize, 20);
    EXPECT_EQ(target.ControlLook.DropDownFooter.Height, 40);
    EXPECT_FALSE(target.ControlLook.FlatButton);
    // Copied field to field: the target grid's own gradient stays.
    EXPECT_EQ(target.VURGradientFrom, targetGrid);
}

struct LookCase {
    TGridLook look;
    TColor fixedColor, fixedFrom, fixedTo, selection, selectionText, activeCell, searchFrom, searchTo;
};

TEST(GridLook, EachPresetSetsItsColours)
{
    const LookCase cases[] = {
        {glStandard, clBtnFace, clBtnFace, clNone, clHighlight, clHighlightText, 0x808080, clBtnFace, clBtnFace},
        {glSoft, clBtnFace, clBtnFace, clNone, clHighlight, clHighlightText, 0x808080, clBtnFace, clBtnFace},
        {glClassic, clBtnFace, clBtnFace, clNone, clHighlight, clHighlightText, 0x808080, clBtnFace, clBtnFace},
        {glListView, 0x111111, clWhite, clBtnFace, clHighlight, clHighlightText, 0x808080, clBtnFace, clBtnFace},
        {glVUR, 0x111111, clWhite, clSilver, 0xEACAB6, 0, 0xEACAB6, clWhite, clBtnFace},
    };
    for (const LookCase& c : cases) {
        SCOPED_TRACE(int(c.look));
        TExtStringGrid g;
        g.FixedColor = 0x111111;
        g.GridLineColor = g.GridFixedLineColor = g.BorderColor = 0x222222;
        g.SetScrollType(ssMetro);
        g.SingleBorder = false;
        g.SetLook(c.look);
        EXPECT_EQ(g.Look(), c.look);
        EXPECT_EQ(g.FixedColor, c.fixedColor);
        EXPECT_EQ(g.ControlLook.FixedGradientFrom(), c.fixedFrom);
        EXPECT_EQ(g.ControlLook.FixedGradientTo(), c.fixedTo);
        EXPECT_EQ(g.SelectionColor, c.selection);
        EXPECT_EQ(g.SelectionTextColor, c.selectionText);
        EXPECT_EQ(g.ActiveCellColor, c.activeCell);
        EXPECT_EQ(g.SearchFooter.Color, c.searchFrom);
        EXPECT_EQ(g.SearchFooter.ColorTo, c.searchTo);
        EXPECT_EQ(g.GridLineColor, 0xC0C0C0u);
        EXPECT_EQ(g.GridFixedLineColor, 0x808080u);
        EXPECT_EQ(g.BorderColor, 0xB99D7Fu);
        EXPECT_TRUE(g.SingleBorder);
        EXPECT_EQ(g.ScrollType(), ssNormal);
        EXPECT_EQ(g.SelectionStyle, ssDefault);
    }
}

TEST(GridLook, XPAndVURPresetsSetTheHoverAndPressedGradients)
{
    TExtStringGrid g;
    g.SetLook(glStandard);
    g.SetLook(glXP);
    EXPECT_EQ(g.ControlLook.FixedGradientTo(), clBtnFace);
    EXPECT_EQ(g.VURGradientHoverFrom, 0xCFD0D1u);
    EXPECT_EQ(g.VURGradientHoverMirrorTo, 0xABBCBFu);
    EXPECT_EQ(g.VURGradientDownFrom, 0x868788u);
    EXPECT_EQ(g.VURGradientDownMirrorTo, 0x627376u);
}

TEST(GridLook, TheSameLookAgainAndTheCustomLookLeaveTheColours)
{
    TExtStringGrid g;
    g.SetLook(glStandard);
    g.GridLineColor = 0x010101;
    g.SetLook(glStandard);
    EXPECT_EQ(g.GridLineColor, 0x010101u);

    g.SelectionColor = 0x020202;
    g.BorderColor = 0x030303;
    g.SetScrollType(ssMetro);
    g.SetLook(glCustom);
    EXPECT_EQ(g.GridLineColor, 0x010101u);
    EXPECT_EQ(g.SelectionColor, 0x020202u);
    EXPECT_EQ(g.BorderColor, 0xB99D7Fu);
    EXPECT_EQ(g.ScrollType(), ssNormal);
}

TEST(GridLook, AGridLoadingFromItsFormKeepsItsStoredColours)
{
    TExtStringGrid g;
    g.Loading = true;
    g.GridLineColor = 0x010101;
    g.SelectionColor = 0x020202;
    g.SetLook(glStandard);
    EXPECT_EQ(g.GridLineColor, 0x010101u);
    EXPECT_EQ(g.SelectionColor, 0x020202u);
    EXPECT_EQ(g.BorderColor, 0xB99D7Fu);
}

TEST(GridLook, LookNamesAndCaptions)
{
    struct Case {
        TGridLook look;
        const char* ident;
        const char* caption;
    };
    const Case cases[] = {
        {glStandard, "glStandard", "Standard"}, {glXP, "glXP", "Windows XP"},
        {glListView, "glListView", "ListView"}, {glVista, "glVista", "Windows Vista"},
        {glOffice2007, "glOffice2007", "Office2007"}, {glCustom, "kept", "kept"},
    };
    for (const Case& c : cases) {
        QString ident = "kept", caption = "kept";
        GridLookToString(c.look, ident);
        GridLookCaption(c.look, caption);
        EXPECT_EQ(ident, c.ident);
        EXPECT_EQ(caption, c.caption);
    }
}

TEST(GridLook, ProgressAppearanceTellsRealChangesAndAssignOnce)
{
    TGridProgressAppearance p, other;
    int changes = 0;
    p.OnChange = [&] { ++changes; };
    p.SetSteps(11);
    p.SetStacked(false);
    EXPECT_EQ(changes, 0);
    p.SetSteps(5);
    EXPECT_EQ(changes, 1);
    other.SetLevel1Perc(50);
    other.SetStyle(psClassic);
    p.Assign(other);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(p.Steps(), 11);
    EXPECT_EQ(p.Level1Perc(), 50);
    EXPECT_EQ(p.Style(), psClassic);
}

// A grid whose vertical Metro bar is 200 pixels long, with a 20-pixel fixed row over 100 rows of
// which 10 are visible.
class MetroBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.SetRowCount(100);
        g.SetDefaultRowHeight(20);
        g.SetRowHeights(0, 20);
        g.resize(300, 300);
        while (g.VisibleRowCount() > 10)
            g.resize(300, g.height() - 1);
        bar = std::make_unique<TScrollControl>(&g, sdVertical);
        bar->setGeometry(0, 0, 6, 200);
    }
    TExtStringGrid g;
    std::unique_ptr<TScrollControl> bar;
};

TEST_F(MetroBar, TheThumbIsAtLeastTwentyPixelsAndFollowsTheTopRow)
{
    ASSERT_EQ(g.VisibleRowCount(), 10);
    g.SetTopRow(1);
    TScrollControl::TThumb t = bar->Thumb();
    EXPECT_EQ(t.Start, 20);
    EXPECT_EQ(t.Length, 180);
    EXPECT_EQ(t.Size, 20);
    EXPECT_EQ(t.Position, 20);
    EXPECT_TRUE(bar->ShowsThumb());
    g.SetTopRow(g.MaxTopRow());
    t = bar->Thumb();
    EXPECT_LE(t.Position + t.Size, 200);
}

TEST_F(MetroBar, PressesAboveAndBelowTheThumbPageAndOnItDrags)
{
    ASSERT_EQ(g.VisibleRowCount(), 10);
    g.SetTopRow(50);
    const int position = bar->Thumb().Position;
    bar->MouseDown(2, 199);
    EXPECT_EQ(g.TopRow(), 60);
    bar->MouseDown(2, 0);
    EXPECT_EQ(g.TopRow(), 50);
    bar->MouseDown(2, position);
    EXPECT_TRUE(bar->Dragging());
    bar->MouseMove(2, position + 18);
    EXPECT_EQ(g.TopRow(), 60);
    bar->MouseMove(2, -5000);
    EXPECT_EQ(g.TopRow(), 1);
    bar->MouseUp();
    bar->MouseMove(2, position + 90);
    EXPECT_EQ(g.TopRow(), 1);
}

TEST(GridLookMetro, ABarWithNoTrackNeitherDividesByZeroNorMoves)
{
    TExtStringGrid g;
    g.SetRowCount(1);
    g.SetFixedRows(0);
    TScrollControl bar(&g, sdVertical);
    bar.setGeometry(0, 0, 6, 0);
    const TScrollControl::TThumb t = bar.Thumb();
    EXPECT_EQ(t.Size, 20);
    EXPECT_FALSE(bar.ShowsThumb());
    bar.MouseDown(0, t.Position);
    bar.MouseMove(0, 100);
    EXPECT_EQ(g.TopRow(), 0);
}

// The Metro bars as windows: docked in the grid's client area, clicked and dragged with the mouse.
TEST(GridLookMetroWindow, BarsDockAtTheEdgesFollowResizingAndScrollTheGridWhenClicked)
{
    TExtStringGrid g;
    g.SetRowCount(100);
    g.SetColCount(30);
    g.SetDefaultRowHeight(20);
    g.resize(300, 240);
    g.SetScrollType(ssMetro);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    TScrollControl* v = g.ScrollControl(sdVertical);
    TScrollControl* h = g.ScrollControl(sdHorizontal);
    ASSERT_TRUE(v && h);
    EXPECT_EQ(v->parentWidget(), g.viewport());
    EXPECT_TRUE(v->isVisible() && h->isVisible());
    const int w = g.ClientWidth(), ch = g.ClientHeight();
    EXPECT_EQ(v->geometry(), QRect(w - 6, 0, 6, ch - 6));
    EXPECT_EQ(h->geometry(), QRect(0, ch - 6, w, 6));

    g.resize(360, 200);
    EXPECT_EQ(v->geometry(), QRect(g.ClientWidth() - 6, 0, 6, g.ClientHeight() - 6));
    EXPECT_EQ(h->geometry().width(), g.ClientWidth());

    // A press below the thumb pages down, a drag on the thumb follows the mouse.
    const int top = g.TopRow(), page = g.VisibleRowCount();
    QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, QPoint(2, v->height() - 2));
    EXPECT_EQ(g.TopRow(), top + page);
    const TScrollControl::TThumb t = v->Thumb();
    const QPoint on(2, t.Position + t.Size / 2);
    QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, on);
    QTest::mouseMove(v, on + QPoint(0, 30));
    EXPECT_GT(g.TopRow(), top + page);
    QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, on + QPoint(0, 30));
    EXPECT_FALSE(v->Dragging());
    // A press left of the horizontal thumb while at the start changes nothing.
    const int left = g.LeftCol();
    QTest::mouseClick(h, Qt::LeftButton, Qt::NoModifier, QPoint(h->Thumb().Position + h->Thumb().Size / 2, 2));
    EXPECT_EQ(g.LeftCol(), left);
}

TEST(GridLookMetroWindow, ABarPaintsOnlyItsThumb)
{
    TExtStringGrid g;
    g.SetRowCount(100);
    g.resize(200, 200);
    g.CreateScrollControls();
    TScrollControl* v = g.ScrollControl(sdVertical);
    v->SetColor(platform::clRed);
    QImage image(v->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    v->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const TScrollControl::TThumb t = v->Thumb();
    EXPECT_EQ(image.pixelColor(1, t.Position + 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, t.Position + t.Size + 2).alpha(), 0) << "the track is see-through";
    EXPECT_EQ(image.pixelColor(5, t.Position + 1).alpha(), 0) << "the thumb is ScrollWidth wide";
}

}  // namespace
