#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/GridHelperControls.h"
#include "grid/core/GridUnit.h"

using namespace grid;

namespace {

TEST(GridUnit, StartUpRegistersClassesFormatAndMessagesOnce)
{
    TExtStringGrid first;
    const QStringList classes = RegisteredGridClasses();
    const TGridUnit before = GridUnit();
    TExtColumnGrid second;
    EXPECT_EQ(RegisteredGridClasses(), classes);
    EXPECT_EQ(GridUnit().ClipboardFormat, before.ClipboardFormat);
    ASSERT_GE(classes.size(), 31);
    EXPECT_EQ(classes.first(), QStringLiteral("TExtStringGrid"));
    EXPECT_EQ(classes.at(27), QStringLiteral("TSearchPanel"));
    for (const char* name : {"TGridCombo", "TGridImageDropDown", "TExtColumnGrid", "TGridColumnCollection"})
        EXPECT_TRUE(IsGridClassRegistered(QString::fromLatin1(name))) << name;

    const TGridUnit& unit = GridUnit();
    EXPECT_TRUE(unit.HookInstalled);
    EXPECT_EQ(unit.LinkCursor, -21);
    for (uint16_t id : {unit.ClipboardFormat, unit.EditDoneMessage, unit.PickerFocusMessage})
        EXPECT_GE(id, 0xC000);
    EXPECT_NE(unit.ClipboardFormat, unit.EditDoneMessage);
    EXPECT_NE(unit.EditDoneMessage, unit.PickerFocusMessage);
    EXPECT_EQ(RegisterGridName(QStringLiteral("gridEDITdone")), unit.EditDoneMessage);
    EXPECT_EQ(RegisterGridName(QStringLiteral("TExtStringGrid Cells")), unit.ClipboardFormat);
    EXPECT_EQ(RegisterGridName(QString()), 0);
}

TEST(GridUnit, WindowHookKeepsTheFocusFrameOverTheCurrentCell)
{
    auto grid = std::make_unique<TExtStringGrid>();
    grid->ScreenOrigin = {100, 200};
    grid->MoveColRow(2, 3);
    const TRect cell = grid->CellRect(2, 3);
    const TRect expected{cell.Left + 96, cell.Top + 196, cell.Left + 96 + cell.Width() + 9, cell.Top + 196 + cell.Height() + 9};

    GridUnit().FocusGrid = nullptr;
    GridCallWndProcHook(WM_WINDOWPOSCHANGED);
    EXPECT_EQ(grid->FocusWindow->Bounds, TRect{});  // no focus grid: nothing moves

    GridUnit().FocusGrid = grid.get();
    GridCallWndProcHook(0x0F);  // not a move
    EXPECT_EQ(grid->FocusWindow->Bounds, TRect{});
    for (uint32_t message : {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}) {
        grid->FocusWindow->Bounds = {};
        GridCallWndProcHook(message);
        EXPECT_EQ(grid->FocusWindow->Bounds, expected) << message;
    }

    grid.reset();  // a grid that goes away is no longer the focus grid
    EXPECT_EQ(GridUnit().FocusGrid, nullptr);
    GridCallWndProcHook(WM_WINDOWPOSCHANGED);
}

TEST(GridOwned, ChildWindowsStartHiddenAndEditorsComeOnFirstUse)
{
    TExtStringGrid g;
    const std::vector<TGridChild*> children{g.FooterPanel.get(), g.SearchPanel.get(), g.FocusWindow.get(),
                                            g.EditCombo.get(), g.TransEdit.get(), g.EditBtn.get(),
                                            g.UnitEditBtn.get(), g.GridButton.get(), g.CellScrollBar.get()};
    for (TGridChild* child : children) {
        EXPECT_FALSE(child->Visible);
        EXPECT_EQ(child->Grid, &g);
    }
    for (int d = 0; d < 4; ++d)
        EXPECT_EQ(g.ArrowWindows[size_t(d)]->Dir, d);
    EXPECT_FALSE(g.EditCombo->Enabled);
    EXPECT_TRUE(g.EditCombo->WinXP);
    EXPECT_EQ(g.EditBtn->ButtonCaption, QStringLiteral("..."));
    EXPECT_EQ(g.UnitEditBtn->ButtonCaption, QStringLiteral("..."));
    EXPECT_FALSE(g.EditBtn->Border);

    EXPECT_FALSE(g.HasDropDown(ddCalculator));
    TGridDropDown* calc = g.DropDown(ddCalculator);
    EXPECT_EQ(calc->Kind, ddCalculator);
    EXPECT_EQ(g.DropDown(ddCalculator), calc);
    EXPECT_TRUE(g.HasDropDown(ddCalculator));
    EXPECT_FALSE(g.HasDropDown(ddMemo));
    EXPECT_EQ(g.SpinEdit(), g.SpinEdit());
    EXPECT_NE(g.RichEdit(), g.RichEditPrint());
}

TEST(GridLoaded, CompletesTheGridAfterAStoredForm)
{
    struct {
        const char* Name;
        TGridOptions Options;
        int DefaultRowHeight;
        bool AlwaysEdit;
    } cases[] = {{"plain", goEditing, 22, false}, {"always show editor", goEditing | goAlwaysShowEditor, 30, true}};
    for (const auto& c : cases) {
        TExtStringGrid g;
        g.Loading = true;
        g.Options = c.Options;
        g.SetDefaultRowHeight(c.DefaultRowHeight);
        g.SetFixedRows(2);
        g.ColumnHeaders = {QStringLiteral("A"), QStringLiteral("B\\nC")};
        g.RowHeaders = {QString(), QStringLiteral("r1"), QStringLiteral("r2")};
        g.Loaded();
        EXPECT_TRUE(g.IsLoaded()) << c.Name;
        EXPECT_FALSE(g.Loading);
        EXPECT_EQ(g.MinColWidth, 10) << c.Name;
        EXPECT_EQ(g.MinRowHeight, c.DefaultRowHeight) << c.Name;
        EXPECT_EQ(bool(g.Options & goAlwaysShowEditor), false) << c.Name;
        EXPECT_EQ(g.Navigation.AlwaysEdit, c.AlwaysEdit) << c.Name;
        EXPECT_TRUE(g.Options & goEditing) << c.Name;
        EXPECT_EQ(g.Cells(1, 0), QStringLiteral("B\rC")) << c.Name;
        EXPECT_EQ(g.Cells(0, 2), QStringLiteral("r2")) << c.Name;
        EXPECT_EQ(g.MaxRowCountEver(), g.RowCount());
    }
    TExtColumnGrid cg;
    cg.Loading = true;
    cg.Loaded();
    EXPECT_EQ(cg.MinColWidth, 10);
    EXPECT_EQ(cg.Columns()[3]->DefIdx, 3);
}

}  // namespace

namespace {

TEST(GridBounds, IntegralHeightCutsToWholeRows)
{
    struct {
        const char* Name;
        bool Integral;
        int Updates;
        bool SingleBorder;
        int Cols;
        int Asked;
        int Expected;
    } cases[] = {
        {"whole rows", true, 0, true, 5, 100, 92},        // 100 + 2 - (98 mod 22)
        {"no border", true, 0, false, 5, 100, 88},        // 100 - (100 mod 22)
        {"scroll bar", true, 0, true, 40, 100, 87},       // 100 + 2 - (81 mod 22)
        {"off", false, 0, true, 5, 100, 100},
        {"inside an update", true, 1, true, 5, 100, 100},
    };
    for (const auto& c : cases) {
        TExtStringGrid g;
        g.SingleBorder = c.SingleBorder;
        g.SetColCount(c.Cols);
        for (int i = 0; i < c.Updates; ++i)
            g.BeginUpdate();
        g.SetIntegralHeight(c.Integral);
        g.SetBounds(5, 6, 300, c.Asked);
        EXPECT_EQ(g.BoundsRect, (TRect{5, 6, 305, 6 + c.Expected})) << c.Name;
    }
}

TEST(GridNotifiers, ToldOnceEachInOrderAfterTheEvent)
{
    struct TLogNotifier : TGridChangeNotifier {
        TLogNotifier(std::vector<QString>& log, QString name) : Log(log), Name(std::move(name)) {}
        void CellsChanged(const TGridRect& r) override { Log.push_back(Name + QString::number(r.Left)); }
        std::vector<QString>& Log;
        QString Name;
    };
    std::vector<QString> log;
    TLogNotifier a(log, QStringLiteral("a")), b(log, QStringLiteral("b"));
    TExtStringGrid g;
    g.OnCellsChanged = [&](TExtStringGrid*, const TGridRect& r) { log.push_back(QStringLiteral("event") + QString::number(r.Left)); };
    g.RegisterNotifier(&a);
    g.RegisterNotifier(&b);
    g.RegisterNotifier(&a);
    g.CellsChanged({3, 1, 4, 2});
    EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("event3"), QStringLiteral("a3"), QStringLiteral("b3")}));
    g.UnRegisterNotifier(&a);
    log.clear();
    g.CellsChanged({1, 1, 1, 1});
    EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("event1"), QStringLiteral("b1")}));
}

}  // namespace
