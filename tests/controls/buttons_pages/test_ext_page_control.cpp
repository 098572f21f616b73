// The tabbed page control: captions and tab sizes, page order and visibility, changing pages by
// click and keys, closing and reopening tabs, state rules, margins, hover and the gradient routine.
#include "ButtonTestUtil.h"
#include "controls/buttons_pages/ExtPageControl.h"
#include "platform/Exception.h"
#include "platform/TImageList.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <array>
#include <tuple>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

// A mouse move sent to the control without moving the real pointer, which would leave later tests
// with a pointer over their controls.
void MoveMouse(QWidget* w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

// A window holding a page control with three pages, "A" to "C"; each page holds one edit.
class PageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(420, 260);
        pc = new TExtPageControl(host.get());
        pc->SetBounds(0, 0, 420, 260);
        for (const char* name : {"A", "B", "C"}) {
            auto* sheet = new TExtTabSheet(pc);
            sheet->setObjectName(QString("TS_") + name);
            sheet->SetCaption(QString(name) + "page  ");
            sheet->SetExtPageControl(pc);
            auto* edit = new QLineEdit(sheet);
            edit->setObjectName(QString("E_") + name);
            edit->setGeometry(10, 10, 100, 22);
            edits.push_back(edit);
            sheets.push_back(sheet);
        }
    }

    void Show()
    {
        host->show();
        QApplication::setActiveWindow(host.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    }

    QPoint TabCentre(int page) { return pc->TabRect(sheets[page]->TabIndex()).center(); }
    void ClickTab(int page) { QTest::mouseClick(pc, Qt::LeftButton, {}, TabCentre(page)); }
    QStringList TabTexts()
    {
        QStringList texts;
        for (int i = 0; i < pc->TabCount(); ++i)
            texts << pc->TabText(i);
        return texts;
    }

    std::unique_ptr<QWidget> host;
    TExtPageControl* pc = nullptr;
    std::vector<QPointer<TExtTabSheet>> sheets;
    std::vector<QLineEdit*> edits;
};

}  // namespace

TEST(TabCaption, TabIsSizedForTheCaptionLessTwoCharactersOrPlusOneBlankWithCloseBox)
{
    struct Case {
        QString caption;
        bool showClose;
        QString tabCaption;
    };
    const Case cases[] = {
        {"Nodes     ", false, "Nodes   "},
        {"Nodes     ", true, "Nodes      "},
        {"Variables     ", false, "Variables   "},
        {"abc", false, "a"},
        {"ab", false, ""},
        {"a", false, ""},
        {"", true, " "},
    };
    TExtPageControl pc;
    pc.resize(300, 200);
    for (const Case& c : cases) {
        auto* sheet = new TExtTabSheet(&pc);
        sheet->SetShowClose(c.showClose);
        sheet->SetCaption(c.caption);
        sheet->SetExtPageControl(&pc);
        EXPECT_EQ(sheet->Caption(), c.caption);
        EXPECT_EQ(sheet->TabCaption(), c.tabCaption) << c.caption.toStdString();
        EXPECT_EQ(pc.TabText(sheet->TabIndex()), c.tabCaption) << c.caption.toStdString();
    }
}

TEST(TabCaption, CloseBoxAndCaptionChangesReapplyTheTabText)
{
    TExtPageControl pc;
    pc.resize(300, 200);
    auto* sheet = new TExtTabSheet(&pc);
    sheet->SetExtPageControl(&pc);
    sheet->SetCaption("Nodes     ");
    const int narrow = pc.TabRect(0).width();
    sheet->SetShowClose(true);
    EXPECT_EQ(pc.TabText(0), "Nodes      ");
    EXPECT_GT(pc.TabRect(0).width(), narrow);
    sheet->SetShowClose(false);
    EXPECT_EQ(pc.TabText(0), "Nodes   ");
    EXPECT_EQ(pc.TabRect(0).width(), narrow);
}

TEST(TabCaption, BoldActiveFontWidensOnlyTheActiveTab)
{
    TExtPageControl pc;
    pc.resize(400, 200);
    TExtTabSheet* a = new TExtTabSheet(&pc);
    TExtTabSheet* b = new TExtTabSheet(&pc);
    a->SetCaption("Wide caption here  ");
    b->SetCaption("Wide caption here  ");
    a->SetExtPageControl(&pc);
    b->SetExtPageControl(&pc);
    ASSERT_EQ(pc.ActivePage(), a);
    TFont bold = pc.ActiveFont();
    bold.setBold(true);
    pc.SetActiveFont(bold);
    const QString plain = "Wide caption here";
    EXPECT_EQ(pc.TabText(1), plain);
    ASSERT_TRUE(pc.TabText(0).startsWith(plain));
    const QString blanks = pc.TabText(0).mid(plain.size());
    EXPECT_FALSE(blanks.isEmpty());
    EXPECT_EQ(blanks.trimmed(), "");
    const QFontMetrics normal(pc.font());
    EXPECT_GE(normal.horizontalAdvance(pc.TabText(0)), QFontMetrics(bold).horizontalAdvance(plain));

    // Activating the other page moves the extra room with it.
    pc.SetActivePage(b);
    EXPECT_EQ(pc.TabText(0), plain);
    EXPECT_GT(pc.TabText(1).size(), plain.size());
}

TEST(FindNextPage, StepsRoundThePagesWithTheStartPageLast)
{
    struct Case {
        const char* name;
        std::vector<bool> tabVisible;
        int current;  // -1: a sheet of no control
        bool forward;
        bool check;
        int expected;  // -1: none
    };
    const Case cases[] = {
        {"forward", {true, true, true}, 0, true, true, 1},
        {"forward wraps", {true, true, true}, 2, true, true, 0},
        {"back wraps", {true, true, true}, 0, false, true, 2},
        {"skips hidden tabs", {true, false, true}, 0, true, true, 2},
        {"hidden tabs count without check", {true, false, true}, 0, true, false, 1},
        {"only visible is the current one", {false, true, false}, 1, true, true, 1},
        {"only visible is the current one, back", {false, true, false}, 1, false, true, 1},
        {"none qualifies", {false, false, false}, 0, true, true, -1},
        {"unknown page forward starts after the last", {true, true, true}, -1, true, true, 0},
        {"unknown page back starts before the first", {true, true, true}, -1, false, true, 2},
    };
    for (const Case& c : cases) {
        TExtPageControl pc;
        pc.resize(300, 200);
        std::vector<TExtTabSheet*> pages;
        for (bool visible : c.tabVisible) {
            auto* sheet = new TExtTabSheet(&pc);
            sheet->SetCaption("Page  ");
            sheet->SetTabVisible(visible);
            sheet->SetExtPageControl(&pc);
            pages.push_back(sheet);
        }
        TExtTabSheet stranger;
        TExtTabSheet* current = c.current < 0 ? &stranger : pages[c.current];
        TExtTabSheet* found = pc.FindNextPage(current, c.forward, c.check);
        EXPECT_EQ(found, c.expected < 0 ? nullptr : pages[c.expected]) << c.name;
    }
    TExtPageControl empty;
    EXPECT_EQ(empty.FindNextPage(nullptr, true, true), nullptr);
}

TEST_F(PageFixture, FirstPageBecomesActiveAndPagesFillTheDisplayArea)
{
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(pc->TabIndex(), 0);
    Show();
    EXPECT_TRUE(sheets[0]->isVisible());
    EXPECT_FALSE(sheets[1]->isVisible());
    EXPECT_EQ(sheets[1]->geometry(), pc->DisplayRect());
    EXPECT_GT(pc->DisplayRect().top(), pc->StripRect().bottom());
}

TEST_F(PageFixture, PageIndexMovesPageAndTabAndRejectsIndexesOutsideThePages)
{
    pc->SetActivePage(sheets[0]);
    sheets[0]->SetPageIndex(2);
    EXPECT_EQ(pc->GetPage(2), sheets[0]);
    EXPECT_EQ(TabTexts(), QStringList({"Bpage", "Cpage", "Apage"}));
    EXPECT_EQ(pc->TabIndex(), 2) << "the selection follows the moved active tab";
    EXPECT_EQ(pc->ActivePageIndex(), 2);

    for (int bad : {pc->PageCount(), -1}) {
        try {
            sheets[1]->SetPageIndex(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), QString("%1 is an invalid PageIndex value.  PageIndex must be between 0 and 2").arg(bad));
        }
    }
    EXPECT_EQ(sheets[1]->PageIndex(), 0);
}

TEST_F(PageFixture, HidingTabsRenumbersTabIndexesAndMovesTheSelection)
{
    Show();
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(sheets[1]->TabIndex(), -1);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    EXPECT_EQ(TabTexts(), QStringList({"Apage", "Cpage"}));
    EXPECT_EQ(sheets[1]->PageIndex(), 1);

    // Hiding the active tab selects the tab now at its index, or the last one.
    pc->SetActivePage(sheets[2]);
    sheets[2]->SetTabVisible(false);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_FALSE(sheets[2]->isVisible());
    EXPECT_TRUE(sheets[0]->isVisible());

    sheets[0]->SetTabVisible(false);
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabIndex(), -1);
    EXPECT_FALSE(sheets[0]->isVisible());

    // Showing the variable page's tab again as the meter window does.
    sheets[1]->SetTabVisible(true);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    EXPECT_EQ(sheets[1]->TabIndex(), 0);
}

TEST_F(PageFixture, ActivePageSetters)
{
    pc->SetActivePage(sheets[2]);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(pc->TabIndex(), 2);

    TExtPageControl other;
    auto* foreign = new TExtTabSheet(&other);
    foreign->SetExtPageControl(&other);
    pc->SetActivePage(foreign);
    EXPECT_EQ(pc->ActivePage(), sheets[2]) << "a sheet of another control is ignored";

    pc->SetActivePageIndex(7);
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabIndex(), -1);
    pc->SetActivePageIndex(1);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    pc->SetActivePage(nullptr);
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabIndex(), -1);
}

TEST_F(PageFixture, ClickingATabAsksOnCanChangeWithPageIndexesThenChanges)
{
    Show();
    sheets[1]->SetTabVisible(false);
    std::vector<std::pair<int, int>> asked;
    bool allow = false;
    int changes = 0;
    pc->OnCanChange = [&](TExtPageControl*, int from, int to, bool& a) {
        asked.emplace_back(from, to);
        a = allow;
    };
    pc->OnChange = [&] { ++changes; };

    ClickTab(2);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(0, 2)) << "the tab index is turned into a page index";
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(pc->TabIndex(), 0);
    EXPECT_EQ(changes, 0);

    allow = true;
    bool changing = false;
    pc->OnChanging = [&](bool& a) { a = changing; };
    ClickTab(2);
    EXPECT_EQ(pc->ActivePage(), sheets[0]) << "OnChanging refused";
    changing = true;
    ClickTab(2);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_TRUE(sheets[2]->isVisible());
    EXPECT_FALSE(sheets[0]->isVisible());
    EXPECT_EQ(changes, 1);

    // A click on the selected tab changes nothing.
    ClickTab(2);
    EXPECT_EQ(changes, 1);
}

TEST_F(PageFixture, ADisabledTabCannotBeSelectedNorTheActiveTabDisabled)
{
    Show();
    EXPECT_THROW(sheets[0]->SetTabEnable(false), Exception);
    EXPECT_TRUE(sheets[0]->TabEnable());
    try {
        sheets[0]->SetTabEnable(false);
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "Can not disable active tab.");
    }

    sheets[1]->SetTabEnable(false);
    int changes = 0;
    pc->OnChange = [&] { ++changes; };
    ClickTab(1);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(pc->TabIndex(), 0) << "the selected tab stays with the shown page";
    pc->SetActivePage(sheets[1]);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(changes, 0);

    // Ctrl+Tab passes over it.
    pc->setFocus();
    QTest::keyClick(pc, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
}

TEST_F(PageFixture, CtrlTabCyclesVisibleTabsFromTheControlAndFromAControlOnAPage)
{
    Show();
    sheets[1]->SetTabVisible(false);
    edits[0]->setFocus();
    ASSERT_TRUE(edits[0]->hasFocus());

    QTest::keyClick(edits[0], Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_TRUE(edits[2]->hasFocus()) << "the focus goes to the new page's first control";

    QTest::keyClick(edits[2], Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pc->ActivePage(), sheets[0]) << "after the last visible tab comes the first";

    QTest::keyClick(edits[0], Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    QTest::keyClick(edits[2], Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);

    // Keys that are not Ctrl+Tab stay with the page's control.
    edits[0]->setText("xy");
    QTest::keyClick(edits[0], Qt::Key_Left);
    QTest::keyClick(edits[0], Qt::Key_Right);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);

    // The control itself: arrows move between tabs as well.
    pc->setFocus();
    QTest::keyClick(pc, Qt::Key_Right);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    QTest::keyClick(pc, Qt::Key_Left);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
}

TEST_F(PageFixture, CtrlTabAsksOnCanChangeForThePageItGoesTo)
{
    Show();
    std::vector<int> targets;
    pc->OnCanChange = [&](TExtPageControl*, int, int to, bool& allow) {
        targets.push_back(to);
        allow = false;
    };
    pc->setFocus();
    QTest::keyClick(pc, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(pc, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(targets, std::vector<int>({1, 2}));
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
}

TEST_F(PageFixture, ShowAndHideEventsAndAFailingHandlerDoesNotStopTheChange)
{
    Show();
    QStringList log;
    for (auto& s : sheets) {
        const QString name = s->objectName();
        s->OnShow = [&log, name] { log << "show " + name; };
        s->OnHide = [&log, name] { log << "hide " + name; };
    }
    pc->SetActivePage(sheets[1]);
    EXPECT_EQ(log, QStringList({"show TS_B", "hide TS_A"}));

    ScriptedMessages messages;
    sheets[2]->OnShow = [] { throw Exception("page failed"); };
    pc->SetActivePage(sheets[2]);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_TRUE(sheets[2]->isVisible());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.LastText(), "page failed");
    // The window closing hides the pages after the test's own state is gone.
    for (auto& s : sheets)
        s->OnShow = s->OnHide = nullptr;
}

TEST_F(PageFixture, RemovingPagesKeepsAValidActivePage)
{
    Show();
    pc->SetActivePage(sheets[1]);
    delete sheets[1].data();
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_EQ(TabTexts(), QStringList({"Apage", "Cpage"}));

    // A sheet moved to another control leaves this one.
    TExtPageControl other(host.get());
    sheets[2]->SetExtPageControl(&other);
    EXPECT_EQ(pc->PageCount(), 1);
    EXPECT_EQ(other.PageCount(), 1);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(other.ActivePage(), sheets[2]);
    EXPECT_EQ(sheets[2]->parentWidget(), other.viewport());

    delete sheets[0].data();
    EXPECT_EQ(pc->PageCount(), 0);
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabCount(), 0);
}

TEST_F(PageFixture, DestroyingTheControlTakesItsPagesWithIt)
{
    sheets[2]->SetShowClose(true);
    pc->SetActivePage(sheets[2]);
    ASSERT_TRUE(pc->CloseActiveTab());
    pc->SetDockSite(true);
    QPointer<QLineEdit> docked = new QLineEdit;
    ASSERT_NE(pc->DockControl(docked), nullptr);
    delete pc;
    for (auto& s : sheets)
        EXPECT_TRUE(s.isNull());
    EXPECT_TRUE(docked.isNull());
}

// ---------------------------------------------------------------------------------------------
// Closing tabs

namespace {

class CloseFixture : public PageFixture {
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        for (auto& s : sheets)
            s->SetShowClose(true);
        Show();
        pc->SetActivePage(sheets[1]);
    }
    QPoint Box() { return pc->CloseButtonRect().center(); }
};

}  // namespace

TEST_F(CloseFixture, ClosingKeepsTheSheetForReopeningByName)
{
    QStringList log;
    sheets[1]->OnCanClose = [&](TExtTabSheet* sender, bool& can) {
        log << "can close " + sender->objectName();
        EXPECT_TRUE(can);
    };
    sheets[1]->OnClose = [&] { log << "close"; };
    ASSERT_FALSE(pc->CloseButtonRect().isEmpty());
    QTest::mouseClick(pc, Qt::LeftButton, {}, Box());

    EXPECT_EQ(log, QStringList({"can close TS_B", "close"}));
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), sheets[2]) << "the next visible page";
    ASSERT_FALSE(sheets[1].isNull());
    EXPECT_EQ(sheets[1]->ExtPageControl(), nullptr);
    EXPECT_FALSE(sheets[1]->isVisible());
    EXPECT_EQ(pc->ClosedTabNames(), QStringList({"TS_B"}));

    EXPECT_FALSE(pc->OpenClosedTab("TS_X"));
    EXPECT_TRUE(pc->OpenClosedTab("TS_B"));
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->GetPage(2), sheets[1]) << "reopened after the existing pages";
    EXPECT_EQ(TabTexts().last(), "Bpage   ");
    EXPECT_EQ(pc->ActivePage(), sheets[2]);

    // The entry stays; opening it again leaves the open page where it is.
    EXPECT_TRUE(pc->OpenClosedTab("TS_B"));
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->GetPage(2), sheets[1]);
}

TEST_F(CloseFixture, OpenAllClosedTabsSkipsSheetsThatAreGone)
{
    ASSERT_TRUE(pc->CloseActiveTab());  // B
    ASSERT_TRUE(pc->CloseActiveTab());  // C
    EXPECT_EQ(pc->ClosedTabNames(), QStringList({"TS_B", "TS_C"}));
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    delete sheets[2].data();
    EXPECT_EQ(pc->ClosedTabNames(), QStringList({"TS_B"}));
    pc->OpenAllClosedTabs();
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->GetPage(1), sheets[1]);
}

TEST_F(CloseFixture, RefusedCloseFreeOnCloseAndTheLastTab)
{
    sheets[1]->OnCanClose = [](TExtTabSheet*, bool& can) { can = false; };
    bool closed = false;
    sheets[1]->OnClose = [&] { closed = true; };
    QTest::mouseClick(pc, Qt::LeftButton, {}, Box());
    EXPECT_FALSE(closed);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    EXPECT_EQ(pc->PageCount(), 3);

    sheets[1]->OnCanClose = nullptr;
    pc->SetFreeOnClose(true);
    QTest::mouseClick(pc, Qt::LeftButton, {}, Box());
    EXPECT_TRUE(sheets[1].isNull());
    EXPECT_TRUE(pc->ClosedTabNames().isEmpty());
    EXPECT_EQ(pc->ActivePage(), sheets[2]);

    ASSERT_TRUE(pc->CloseActiveTab());
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    ASSERT_TRUE(pc->CloseActiveTab());
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->PageCount(), 0);
    EXPECT_FALSE(pc->CloseActiveTab());
}

TEST_F(CloseFixture, OnlyAPressAndReleaseOnTheActiveTabsBoxClose)
{
    const QPoint box = Box();
    QTest::mousePress(pc, Qt::LeftButton, {}, box);
    QTest::mouseRelease(pc, Qt::LeftButton, {}, box + QPoint(30, 30));
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);

    // The same place on an inactive tab selects that tab instead.
    const QRect inactive = pc->CloseBoxRect(2, true);
    QTest::mouseClick(pc, Qt::LeftButton, {}, inactive.center());
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);

    // No close box without ShowClose, nor with the system's own tab look.
    sheets[2]->SetShowClose(false);
    EXPECT_TRUE(pc->CloseButtonRect().isEmpty());
    sheets[2]->SetShowClose(true);
    pc->SetTabBorder3D(true);
    EXPECT_TRUE(pc->CloseButtonRect().isEmpty());
}

TEST_F(CloseFixture, CloseBoxLooksNormalHotAndPressed)
{
    pc->SetTabHoverColor(clYellow);
    const QRect drawn = pc->CloseBoxRect(1, false);
    auto look = [&] {
        const QImage img = Shot(*pc);
        // The frame's corner and the cross at its middle (6, 5).
        return std::make_tuple(At(img, drawn.left(), drawn.top()), At(img, drawn.left() + 1, drawn.top() + 1),
                               At(img, drawn.left() + 6, drawn.top() + 5));
    };
    EXPECT_EQ(look(), std::make_tuple(Rgb(clGray), Rgb(clWhite), Rgb(clBlack)));
    MoveMouse(pc, Box());
    EXPECT_TRUE(pc->HoverClosedButton());
    EXPECT_EQ(look(), std::make_tuple(Rgb(clBlack), Rgb(clWhite), Rgb(clGray)));
    QTest::mousePress(pc, Qt::LeftButton, {}, Box());
    EXPECT_EQ(look(), std::make_tuple(Rgb(clBlack), Rgb(clSilver), Rgb(clBlack)));
    MoveMouse(pc, Box() + QPoint(40, 0), Qt::LeftButton);
    EXPECT_FALSE(pc->HoverClosedButton());
    EXPECT_EQ(look(), std::make_tuple(Rgb(clGray), Rgb(clWhite), Rgb(clBlack)));
    QTest::mouseRelease(pc, Qt::LeftButton, {}, Box() + QPoint(40, 0));
    EXPECT_EQ(pc->PageCount(), 3);
}

// ---------------------------------------------------------------------------------------------
// Properties

TEST(PageControlProperties, SplitLineAndTabStyleRule)
{
    TExtPageControl pc;
    pc.SetTabSplitLine(true);
    pc.SetTabStyle(tsDotNet);
    EXPECT_EQ(pc.TabStyle(), tsDotNet) << "setting the style while the split line is on is accepted";
    EXPECT_TRUE(pc.TabSplitLine());
    pc.SetTabSplitLine(false);
    try {
        pc.SetTabSplitLine(true);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "TabSplitLine must be false when TabStyle is tsDotNet");
    }
    EXPECT_FALSE(pc.TabSplitLine());
}

TEST(PageControlProperties, DefaultsAndVersion)
{
    TExtPageControl pc;
    EXPECT_EQ(pc.TabStyle(), tsClassic);
    EXPECT_EQ(pc.TabPosition(), tpTop);
    EXPECT_EQ(pc.LowerActive(), 2);
    EXPECT_EQ(pc.ActiveColor(), clBtnFace);
    EXPECT_EQ(pc.TabBorderColor(), clGray);
    EXPECT_EQ(pc.TabHoverColor(), clNone);
    EXPECT_TRUE(pc.OwnerDraw());
    EXPECT_EQ(pc.Version(), "1.4.0.0");
    pc.SetVersion("9");
    EXPECT_EQ(pc.Version(), "1.4.0.0");
    pc.SetTabOverlap(40);
    EXPECT_EQ(pc.TabOverlap(), 15);
    TExtTabSheet sheet;
    EXPECT_EQ(sheet.ImageIndex(), -1);
    EXPECT_EQ(sheet.ImageIndexDummy(), 0);
    EXPECT_TRUE(sheet.TabVisible());
    EXPECT_TRUE(sheet.TabEnable());
    EXPECT_EQ(sheet.TabColor(), clNone);
}

TEST(PageControlProperties, NewSheetsTakeDefaultsAndDefaultChangesFollowOnlyUnchangedSheets)
{
    TExtPageControl pc;
    pc.SetDefaultTabColor(0x00EDF7F8);
    pc.SetDefaultTextColor(clNavy);
    auto* plain = new TExtTabSheet(&pc);
    auto* own = new TExtTabSheet(&pc);
    own->SetTabColor(clRed);
    own->SetTextColor(clGreen);
    plain->SetExtPageControl(&pc);
    own->SetExtPageControl(&pc);
    EXPECT_EQ(plain->TabColor(), 0x00EDF7F8u);
    EXPECT_EQ(plain->TextColor(), clNavy);
    EXPECT_EQ(plain->TabColorTo(), clNone);
    EXPECT_EQ(own->TabColor(), clRed);

    pc.SetDefaultTabColor(clYellow);
    pc.SetDefaultTextColor(clMaroon);
    pc.SetDefaultTabColorTo(clWhite);
    EXPECT_EQ(plain->TabColor(), clYellow);
    EXPECT_EQ(plain->TextColor(), clMaroon);
    EXPECT_EQ(plain->TabColorTo(), clWhite);
    EXPECT_EQ(own->TabColor(), clRed);
    EXPECT_EQ(own->TextColor(), clGreen);
    EXPECT_EQ(own->TabColorTo(), clWhite);
}

TEST(PageControlProperties, MarginEventComesBeforeTheStoreAndMarginsWidenTheTabs)
{
    TTabMargin margin;
    std::vector<std::array<int, 4>> events;
    margin.OnMarginChange = [&](TTabMargin* sender, int newValue, int oldValue, int index) {
        const int stored = index == 0 ? sender->LeftMargin() : index == 1 ? sender->TopMargin() : sender->RightMargin();
        events.push_back({newValue, oldValue, index, stored});
    };
    margin.SetLeftMargin(3);
    margin.SetTopMargin(10);
    margin.SetRightMargin(20);
    margin.SetRightMargin(20);
    EXPECT_EQ(events, (std::vector<std::array<int, 4>>{{3, 0, 0, 0}, {10, 0, 1, 0}, {20, 0, 2, 0}}));
    TTabMargin copy;
    copy.Assign(margin);
    EXPECT_EQ(copy.LeftMargin(), 3);
    EXPECT_EQ(copy.TopMargin(), 10);
    EXPECT_EQ(copy.RightMargin(), 20);

    // The tab keeps room for margins along its length: left and right for top tabs, top and
    // right for tabs at the side.
    struct Case {
        TTabPosition position;
        int left, top, right;
        int growth;
    };
    const Case cases[] = {
        {tpTop, 5, 0, 7, 12 + 3}, {tpTop, 0, 9, 0, 0}, {tpLeft, 5, 0, 0, 0}, {tpLeft, 0, 10, 20, 30 + 3},
        {tpRight, 0, 4, 0, 4 + 3},
    };
    for (const Case& c : cases) {
        TExtPageControl pc;
        pc.resize(400, 400);
        pc.SetTabPosition(c.position);
        auto* sheet = new TExtTabSheet(&pc);
        sheet->SetCaption("Nodes     ");
        sheet->SetExtPageControl(&pc);
        auto length = [&] {
            const QRect r = pc.TabRect(0);
            return c.position == tpTop ? r.width() : r.height();
        };
        const int before = length();
        pc.TabMargin().SetLeftMargin(c.left);
        pc.TabMargin().SetTopMargin(c.top);
        pc.TabMargin().SetRightMargin(c.right);
        EXPECT_EQ(length() - before, c.growth) << c.position << " " << c.left << c.top << c.right;
    }
}

TEST(PageControlLayout, MultiLineRowsKeepTheSelectedRowAgainstThePage)
{
    TExtPageControl pc;
    pc.resize(200, 300);
    pc.SetMultiLine(true);
    std::vector<TExtTabSheet*> pages;
    for (int i = 0; i < 6; ++i) {
        auto* sheet = new TExtTabSheet(&pc);
        sheet->SetCaption(QString("Page %1  ").arg(i));
        sheet->SetExtPageControl(&pc);
        pages.push_back(sheet);
    }
    ASSERT_GT(pc.RowCount(), 1);
    const int pageEdge = pc.PageRect().top();
    EXPECT_EQ(pc.TabRect(0).bottom() + 1, pageEdge);
    // Full rows are stretched to the strip's length.
    EXPECT_EQ(pc.TabRect(0).left(), 2);
    pc.SetActivePage(pages[5]);
    EXPECT_EQ(pc.TabRect(5).bottom() + 1, pageEdge);
    EXPECT_LT(pc.TabRect(0).bottom() + 1, pageEdge);
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            EXPECT_FALSE(pc.TabRect(i).intersects(pc.TabRect(j))) << i << " " << j;

    // Tabs at the left run down the control; the page starts right of them.
    pc.SetTabPosition(tpLeft);
    EXPECT_EQ(pc.PageRect().left(), pc.StripRect().right() + 1);
    EXPECT_LT(pc.TabRect(0).top(), pc.TabRect(1).top());
    EXPECT_EQ(pages[5]->geometry(), pc.DisplayRect());
}

TEST(PageControlLayout, SingleLineStripScrollsToTheSelectedTab)
{
    TExtPageControl pc;
    pc.resize(160, 120);
    std::vector<TExtTabSheet*> pages;
    for (int i = 0; i < 6; ++i) {
        auto* sheet = new TExtTabSheet(&pc);
        sheet->SetCaption(QString("Page %1  ").arg(i));
        sheet->SetExtPageControl(&pc);
        pages.push_back(sheet);
    }
    EXPECT_EQ(pc.RowCount(), 1);
    pc.SetActivePage(pages[5]);
    const QRect last = pc.TabRect(5);
    ASSERT_FALSE(last.isEmpty());
    EXPECT_LE(last.right(), pc.width() - 1);
    EXPECT_TRUE(pc.TabRect(0).isEmpty());
    EXPECT_EQ(pc.IndexOfTabAt(last.center().x(), last.center().y()), 5);
}

TEST(PageControlHover, HoverColourFollowsThePointerOnlyWhileSet)
{
    QWidget host;
    host.resize(300, 200);
    TExtPageControl pc(&host);
    pc.SetBounds(0, 0, 300, 200);
    std::vector<TExtTabSheet*> pages;
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TExtTabSheet(&pc);
        sheet->SetCaption(QString("Page %1  ").arg(i));
        sheet->SetTabColor(clWhite);
        sheet->SetExtPageControl(&pc);
        pages.push_back(sheet);
    }
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    const QRect tab1 = pc.TabRect(1);
    const QPoint probe(tab1.left() + 2, tab1.top() + 2);
    MoveMouse(&pc, tab1.center());
    EXPECT_EQ(pc.HoverTab(), -1) << "no tracking without a hover colour";

    pc.SetTabHoverColor(clYellow);
    pc.SetTabHoverBorder(clRed);
    MoveMouse(&pc, tab1.center() + QPoint(1, 0));
    EXPECT_EQ(pc.HoverTab(), 1);
    QImage img = Shot(pc);
    EXPECT_EQ(At(img, probe.x(), probe.y()), Rgb(clYellow));
    EXPECT_EQ(At(img, tab1.left(), tab1.top() + 3), Rgb(clRed)) << "hover outline";

    // Over the active tab nothing is hovered in the fill: the active colour wins.
    MoveMouse(&pc, pc.TabRect(0).center());
    EXPECT_EQ(pc.HoverTab(), 0);
    img = Shot(pc);
    EXPECT_EQ(At(img, probe.x(), probe.y()), Rgb(clWhite));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&pc, &leave);
    EXPECT_EQ(pc.HoverTab(), -1);
}

TEST(DrawGradientRoutine, BandsFollowTheRoundedStepsInBothDirections)
{
    struct Case {
        const char* name;
        bool horizontal;
        int steps;
        QSize size;
        TColor from, to;
        // (position along the gradient, expected colour)
        std::vector<std::pair<int, TColor>> samples;
    };
    const Case cases[] = {
        {"four vertical bands", false, 4, {10, 8}, RGBToColor(0, 0, 0), RGBToColor(200, 100, 40),
         {{0, RGBToColor(0, 0, 0)}, {1, RGBToColor(0, 0, 0)}, {2, RGBToColor(50, 25, 10)},
          {5, RGBToColor(100, 50, 20)}, {7, RGBToColor(150, 75, 30)}}},
        {"halves round to even", true, 2, {8, 4}, RGBToColor(0, 0, 0), RGBToColor(5, 3, 7),
         {{0, RGBToColor(0, 0, 0)}, {4, RGBToColor(2, 2, 4)}, {7, RGBToColor(2, 2, 4)}}},
        {"zero steps is one band", true, 0, {6, 3}, RGBToColor(10, 20, 30), RGBToColor(250, 250, 250),
         {{0, RGBToColor(10, 20, 30)}, {5, RGBToColor(10, 20, 30)}}},
        {"descending", true, 3, {9, 2}, RGBToColor(90, 90, 90), RGBToColor(0, 0, 0),
         {{0, RGBToColor(90, 90, 90)}, {3, RGBToColor(60, 60, 60)}, {8, RGBToColor(30, 30, 30)}}},
    };
    for (const Case& c : cases) {
        QImage img(c.size + QSize(4, 4), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        {
            TCanvas canvas(&img);
            DrawGradient(canvas, c.from, c.to, c.horizontal, QRect(QPoint(2, 2), c.size), c.steps);
        }
        for (const auto& [along, colour] : c.samples) {
            const int x = 2 + (c.horizontal ? along : c.size.width() / 2);
            const int y = 2 + (c.horizontal ? c.size.height() / 2 : along);
            EXPECT_EQ(At(img, x, y), Rgb(colour)) << c.name << " at " << along;
        }
        // Nothing outside the rectangle.
        EXPECT_EQ(At(img, 1, 1), qRgb(255, 0, 255)) << c.name;
        EXPECT_EQ(At(img, 2 + c.size.width(), 2 + c.size.height()), qRgb(255, 0, 255)) << c.name;
        EXPECT_EQ(At(img, 2 + c.size.width(), 3), qRgb(255, 0, 255)) << c.name;
        EXPECT_EQ(At(img, 3, 2 + c.size.height()), qRgb(255, 0, 255)) << c.name;
    }
}

TEST(SheetLook, ColorToPaintsAVerticalGradientOverThePage)
{
    TExtTabSheet sheet;
    sheet.resize(40, 64);
    sheet.SetColor(clWhite);
    EXPECT_EQ(At(Shot(sheet), 20, 60), Rgb(clWhite));
    sheet.SetColorTo(clBlack);
    const QImage img = Shot(sheet);
    EXPECT_EQ(At(img, 20, 0), Rgb(clWhite));
    EXPECT_LT(qRed(At(img, 20, 63)), 10);
    EXPECT_GT(qRed(At(img, 20, 16)), qRed(At(img, 20, 48)));
}

TEST_F(PageFixture, SystemLookTakesWholeCaptionsAndKeepsHighlights)
{
    sheets[1]->SetHighlighted(true);
    EXPECT_TRUE(pc->TabHighlighted(1));
    pc->SetTabBorder3D(true);
    EXPECT_FALSE(pc->OwnerDraw());
    EXPECT_EQ(TabTexts(), QStringList({"Apage  ", "Bpage  ", "Cpage  "}));
    pc->SetTabBorder3D(false);
    EXPECT_TRUE(pc->OwnerDraw());
    EXPECT_EQ(TabTexts(), QStringList({"Apage", "Bpage", "Cpage"}));

    // A tab shown again takes its highlight with it.
    sheets[1]->SetTabVisible(false);
    EXPECT_FALSE(pc->TabHighlighted(1));
    sheets[1]->SetTabVisible(true);
    EXPECT_TRUE(pc->TabHighlighted(1));
    EXPECT_FALSE(pc->TabHighlighted(0));
}

TEST_F(PageFixture, FocusRectangleOnlyWhileTheControlHasTheFocus)
{
    Show();
    pc->SetShowFocus(true);
    const QRect active = pc->TabRect(0);
    const QRect ring = active.adjusted(5, 3, -5, -3);
    edits[0]->setFocus();
    const QImage without = Shot(*pc);
    pc->setFocus();
    ASSERT_TRUE(pc->hasFocus());
    const QImage with = Shot(*pc);
    EXPECT_NE(At(with, ring.left(), ring.center().y()), At(without, ring.left(), ring.center().y()));
    EXPECT_EQ(At(with, ring.left() - 1, ring.center().y()), At(without, ring.left() - 1, ring.center().y()));
}

// ---------------------------------------------------------------------------------------------
// Docking

namespace {

// Drags a control by the platform's own drag, from its place to a point of the window.
void DragTo(TCustomControl* source, QWidget* window, QPoint to)
{
    const QPoint global = window->mapToGlobal(to);
    const QPoint local = source->viewport()->mapFromGlobal(global);
    source->BeginDrag(true);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(global), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(source->viewport(), &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), QPointF(global), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(source->viewport(), &release);
}

}  // namespace

TEST_F(PageFixture, ADockKindControlDroppedOnADockSiteGetsAPageOfItsOwn)
{
    auto* tool = new TCustomControl(host.get());
    tool->setObjectName("tool");
    tool->SetDragKind(TDragKind::dkDock);
    Show();
    tool->SetBounds(300, 5, 40, 10);
    tool->raise();
    tool->show();

    // Not a dock site: the drop is refused.
    DragTo(tool, host.get(), QPoint(200, 150));
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(tool->parentWidget(), host.get());

    pc->SetDockSite(true);
    // Dropped over a page: the page control takes it, not the page.
    DragTo(tool, host.get(), QPoint(200, 150));
    ASSERT_EQ(pc->PageCount(), 4);
    TExtTabSheet* page = pc->GetPage(3);
    EXPECT_EQ(page->DockedControl(), tool);
    EXPECT_EQ(tool->parentWidget(), page);
    EXPECT_EQ(pc->ActivePage(), page);
    EXPECT_EQ(tool->geometry(), page->rect());
    EXPECT_TRUE(tool->isVisible());

    // Its text names the page up to the first line break; hiding it hides the tab.
    tool->setWindowTitle("Tool box\nsecond line");
    EXPECT_EQ(page->Caption(), "Tool box");
    tool->hide();
    EXPECT_FALSE(page->TabVisible());
    tool->show();
    EXPECT_TRUE(page->TabVisible());

    // Dragging it over its own site again is not taken.
    DragTo(tool, host.get(), QPoint(200, 150));
    EXPECT_EQ(pc->PageCount(), 4);
    EXPECT_EQ(tool->parentWidget(), page);

    // A double click on its tab floats it; the page goes.
    QPointer<TExtTabSheet> gone = page;
    QTest::mouseDClick(pc, Qt::LeftButton, {}, pc->TabRect(page->TabIndex()).center());
    EXPECT_TRUE(tool->isWindow());
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_NE(pc->ActivePage(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    delete tool;
}

TEST_F(PageFixture, APageWhoseDockedControlIsDestroyedIsFreed)
{
    pc->SetDockSite(true);
    auto* tool = new QLineEdit;
    tool->setWindowTitle("Finder");
    QPointer<TExtTabSheet> page = pc->DockControl(tool);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->Caption(), "Finder");
    EXPECT_EQ(pc->ActivePage(), page);
    EXPECT_EQ(pc->DockControl(tool), nullptr) << "docked here already";

    delete tool;
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(page.isNull());

    // A page freed with its docked control does not come back for it.
    auto* other = new QLineEdit;
    page = pc->DockControl(other);
    ASSERT_TRUE(page);
    delete page.data();
    EXPECT_EQ(pc->PageCount(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A control hidden on purpose docks with its tab hidden and its page not shown.
    auto* hidden = new QLineEdit;
    hidden->hide();
    page = pc->DockControl(hidden);
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->TabVisible());
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
}

TEST_F(PageFixture, DraggingADockedControlsTabMovesItToAnotherDockSite)
{
    pc->SetBounds(0, 0, 250, 260);
    auto* other = new TExtPageControl(host.get());
    other->SetBounds(260, 0, 160, 260);
    other->SetDockSite(true);
    pc->SetDockSite(true);
    auto* tool = new TCustomControl;
    tool->SetDragKind(TDragKind::dkDock);
    tool->setWindowTitle("Tool");
    Show();
    TExtTabSheet* page = pc->DockControl(tool);
    ASSERT_NE(page, nullptr);
    const QPoint tab = pc->TabRect(page->TabIndex()).center();

    // A short wiggle on the tab is a click, not a drag.
    QTest::mousePress(pc, Qt::LeftButton, {}, tab);
    MoveMouse(pc, tab + QPoint(1, 0), Qt::LeftButton);
    QTest::mouseRelease(pc, Qt::LeftButton, {}, tab + QPoint(1, 0));
    EXPECT_EQ(tool->parentWidget(), page);

    const QPoint over = pc->mapFromGlobal(other->mapToGlobal(QPoint(80, 150)));
    QTest::mousePress(pc, Qt::LeftButton, {}, tab);
    MoveMouse(pc, tab + QPoint(20, 20), Qt::LeftButton);
    EXPECT_TRUE(tool->Dragging());
    MoveMouse(pc, over, Qt::LeftButton);
    QTest::mouseRelease(pc, Qt::LeftButton, {}, over);
    EXPECT_FALSE(tool->Dragging());
    ASSERT_EQ(other->PageCount(), 1);
    EXPECT_EQ(other->GetPage(0)->DockedControl(), tool);
    EXPECT_EQ(other->GetPage(0)->Caption(), "");
    EXPECT_EQ(pc->PageCount(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(PageFixture, SystemLookDrawsTheImagesTheSheetsOrTheHandlerName)
{
    TImageList images(8, 8);
    QImage strip(16, 8, QImage::Format_ARGB32);
    strip.fill(Qt::red);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            strip.setPixel(x, y, qRgb(0, 0, 255));
    images.Add(strip);
    pc->SetImages(&images);
    pc->SetTabBorder3D(true);
    sheets[0]->SetImageIndex(0);
    Show();
    auto countIn = [&](int page, QRgb colour) {
        const QImage img = Shot(*pc);
        const QRect r = pc->TabRect(sheets[page]->TabIndex());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += At(img, x, y) == colour;
        return n;
    };
    EXPECT_EQ(countIn(0, qRgb(255, 0, 0)), 64);
    EXPECT_EQ(countIn(1, qRgb(255, 0, 0)), 0) << "a sheet without an image shows none";
    pc->OnGetImageIndex = [](TCustomTabControl*, int tab, int& image) {
        if (tab == 1)
            image = 1;
    };
    pc->Invalidate();
    EXPECT_EQ(countIn(1, qRgb(0, 0, 255)), 64);
}

TEST_F(PageFixture, ATabOfADisabledPageIsNotSelectedByAClick)
{
    Show();
    sheets[2]->setEnabled(false);
    ClickTab(2);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    sheets[2]->setEnabled(true);
    ClickTab(2);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
}
