// Form controls inside mark-up cells, operated with real mouse and key events on a shown grid: the
// cell text they write back, the events they raise, the boxes they open, and how they look.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/CellFormControls.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "support/GoldenImage.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

QString Control(const char* type, const char* id, const char* value, int width = 0, const char* extra = "")
{
    QString tag = QStringLiteral("<CONTROL TYPE=\"%1\" ID=\"%2\" VALUE=\"%3\"").arg(QLatin1String(type), QLatin1String(id),
                                                                                 QLatin1String(value));
    if (width > 0)
        tag += QStringLiteral(" WIDTH=\"%1\"").arg(width);
    return tag + QLatin1String(extra) + QLatin1Char('>');
}

QString ValueOf(const QString& html, const char* id)
{
    QString v;
    return controls::HTMLGetControlValue(html, QLatin1String(id), v) ? v : QStringLiteral("<none>");
}

// One grid of two columns: 0 fixed, 1 the form cells; rows 1 to 3.
struct FormCells : WithGridInput {
    std::unique_ptr<TExtStringGrid> grid;
    TExtStringGrid& g() { return *grid; }
    std::vector<std::string> events;

    void SetUp() override
    {
        grid = std::make_unique<TExtStringGrid>();
        grid->SetLayers(InputLayers());
        g().SetColCount(2);
        g().SetRowCount(4);
        g().SetColWidths(0, 20);
        g().SetColWidths(1, 330);
        for (int r = 1; r < 4; ++r)
            g().SetRowHeights(r, 30);
        g().Options |= goEditing;
        g().resize(380, 150);
        forms().OnControlClick = [this](TExtStringGrid*, int r, int c, const QString& id, const QString& type,
                                        const QString& v) { events.push_back(Event("click", r, c, id, type, v)); };
        forms().OnControlEditDone = [this](TExtStringGrid*, int r, int c, const QString& id, const QString& type,
                                           const QString& v) { events.push_back(Event("done", r, c, id, type, v)); };
        g().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&g()));
        g().SetFocus();
    }

    static std::string Event(const char* what, int r, int c, const QString& id, const QString& type, const QString& v)
    {
        return std::string(what) + " " + std::to_string(c) + "," + std::to_string(r) + " " + id.toStdString() + " " +
               type.toStdString() + " " + v.toStdString();
    }
    TGridInputHandler& input() { return dynamic_cast<TGridInputHandler&>(*EditController(g())->Input()); }
    TCellFormControls& forms() { return input().CellForms(); }
    QWidget* client() { return g().viewport(); }
    QRect rectOf(int r, const char* id)
    {
        controls::THTMLRenderResult out;
        g().HTMLHitAt(1, r, -1, -1, QLatin1String(id), out);
        return out.ControlRect;
    }
    void click(int r, const char* id)
    {
        const QRect at = rectOf(r, id);
        ASSERT_FALSE(at.isEmpty()) << id;
        QTest::mouseClick(client(), Qt::LeftButton, {}, at.center());
    }
    TControlEdit& edit() { return *g().ControlEdit; }
    TControlCombo& combo() { return *g().ControlCombo; }
};

// A click on a CHECK flips it in the cell's text and reports the value it had; a RADIO goes on and
// takes the cell's other radios off.
TEST_F(FormCells, CheckAndRadioClicksWriteTheCellAndReportTheValueTheyHad)
{
    const struct {
        const char* Name;
        QString Text;
        const char* Clicked;
        std::vector<std::pair<const char*, const char*>> After;  // id, value
        const char* Reported;
    } cases[] = {
        {"check on goes off", Control("CHECK", "c", "TRUE"), "c", {{"c", "FALSE"}}, "TRUE"},
        {"check off goes on", Control("CHECK", "c", "false"), "c", {{"c", "TRUE"}}, "false"},
        {"second radio", Control("RADIO", "r1", "TRUE") + QStringLiteral(" one ") + Control("RADIO", "r2", "FALSE"),
         "r2", {{"r1", "FALSE"}, {"r2", "TRUE"}}, "FALSE"},
        {"radio already on", Control("RADIO", "r1", "TRUE") + Control("RADIO", "r2", "FALSE"), "r1",
         {{"r1", "TRUE"}, {"r2", "FALSE"}}, "TRUE"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        events.clear();
        g().SetCells(1, 2, QStringLiteral("pick ") + k.Text);
        click(2, k.Clicked);
        for (const auto& [id, value] : k.After)
            EXPECT_EQ(ValueOf(g().Cells(1, 2), id), QLatin1String(value)) << id;
        const QString type = k.Text.startsWith(QLatin1String("<CONTROL TYPE=\"CHECK")) ? QStringLiteral("CHECK")
                                                                                       : QStringLiteral("RADIO");
        EXPECT_EQ(events, std::vector<std::string>{Event("click", 2, 1, QLatin1String(k.Clicked), type,
                                                         QLatin1String(k.Reported))});
        EXPECT_TRUE(g().Cells(1, 2).startsWith(QLatin1String("pick "))) << "the text around the control stays";
        EXPECT_FALSE(edit().isVisible() || combo().isVisible());
    }
}

// Editing off, a read-only cell or OnCanEditCell refusing: the controls do not change.
TEST_F(FormCells, CellThatMayNotBeEditedKeepsItsControls)
{
    const QString text = Control("CHECK", "c", "FALSE") + Control("EDIT", "e", "x", 80);
    const struct {
        const char* Name;
        std::function<void()> Lock, Unlock;
    } cases[] = {
        {"editing off", [this] { g().Options &= ~goEditing; }, [this] { g().Options |= goEditing; }},
        {"read-only cell", [this] { g().SetReadOnly(1, 1, true); }, [this] { g().SetReadOnly(1, 1, false); }},
        {"refused", [this] { g().OnCanEditCell = [](TExtStringGrid*, int, int c, bool& can) { can = c != 1; }; },
         [this] { g().OnCanEditCell = nullptr; }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        g().SetCells(1, 1, text);
        events.clear();
        k.Lock();
        click(1, "c");
        click(1, "e");
        EXPECT_EQ(g().Cells(1, 1), text);
        EXPECT_TRUE(events.empty());
        EXPECT_FALSE(edit().isVisible());
        k.Unlock();
        click(1, "c");
        EXPECT_EQ(ValueOf(g().Cells(1, 1), "c"), QStringLiteral("TRUE")) << "allowed again, the click works";
    }
}

// A click on an EDIT opens the grid's edit box over it with the value; what is typed goes back into
// the cell at Enter, Tab or when the box loses the focus, once, with OnControlEditDone.
TEST_F(FormCells, EditBoxWritesTheTypedValueBackWhenItIsLeft)
{
    const struct {
        const char* Name;
        std::function<void(FormCells&)> Leave;
    } cases[] = {
        {"enter", [](FormCells& t) { QTest::keyClick(&t.edit(), Qt::Key_Return); }},
        {"focus back to the grid", [](FormCells& t) { t.g().SetFocus(); }},
        {"click elsewhere", [](FormCells& t) { QTest::mouseClick(t.client(), Qt::LeftButton, {}, QPoint(100, 100)); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        g().SetCells(1, 1, QStringLiteral("Name: ") + Control("EDIT", "name", "old &amp; tired", 120));
        events.clear();
        click(1, "name");
        ASSERT_TRUE(edit().isVisible());
        EXPECT_TRUE(edit().hasFocus());
        EXPECT_EQ(edit().text(), QStringLiteral("old & tired"));
        EXPECT_TRUE(rectOf(1, "name").adjusted(-1, 0, 1, 0).contains(edit().geometry())) << "over the control";
        EXPECT_EQ(events, std::vector<std::string>{Event("click", 1, 1, "name", "EDIT", "old & tired")});
        edit().selectAll();
        QTest::keyClicks(&edit(), QStringLiteral("new <one>"));
        k.Leave(*this);
        EXPECT_FALSE(edit().isVisible());
        EXPECT_EQ(ValueOf(g().Cells(1, 1), "name"), QStringLiteral("new <one>"));
        EXPECT_TRUE(g().Cells(1, 1).contains(QLatin1String("VALUE=\"new &lt;one&gt;\""))) << "stored escaped";
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[1], Event("done", 1, 1, "name", "EDIT", "new <one>"));
    }
}

// Tab in a box moves to the cell's next control that takes text (check boxes and buttons are
// passed over); after the last one the grid has the focus again.
TEST_F(FormCells, TabMovesFromControlToControlAndEndsAtTheGrid)
{
    g().SetCells(1, 1, Control("EDIT", "a", "1", 60) + Control("CHECK", "skip", "FALSE") +
                           Control("BUTTON", "go", "Go", 40) + Control("PASSWORD", "b", "2", 60));
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(5, 5));  // a header press leaves cell (1, 1)
    g().MoveColRow(1, 1);
    g().SetFocus();
    QTest::keyClick(&g(), Qt::Key_F2);
    ASSERT_TRUE(edit().isVisible());
    EXPECT_EQ(edit().ControlID, QStringLiteral("a"));
    QTest::keyClicks(&edit(), QStringLiteral("5"));
    QTest::keyClick(&edit(), Qt::Key_Tab);
    ASSERT_TRUE(edit().isVisible());
    EXPECT_EQ(edit().ControlID, QStringLiteral("b"));
    EXPECT_EQ(edit().echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit().geometry().left(), rectOf(1, "b").left() + 1);
    QTest::keyClick(&edit(), Qt::Key_Tab);
    EXPECT_FALSE(edit().isVisible());
    EXPECT_TRUE(g().hasFocus());
    EXPECT_EQ(ValueOf(g().Cells(1, 1), "a"), QStringLiteral("15"));
    EXPECT_EQ(ValueOf(g().Cells(1, 1), "b"), QStringLiteral("2"));
    EXPECT_EQ(events, (std::vector<std::string>{Event("done", 1, 1, "a", "EDIT", "15"),
                                                Event("done", 1, 1, "b", "PASSWORD", "2")}));
}

// Enter opens the first control that takes text; characters typed on the grid never reach the text,
// and a cell whose controls take no text keeps the focus on the grid.
TEST_F(FormCells, KeysOnTheGridOpenOnlyControlsThatTakeText)
{
    const QString checks = Control("CHECK", "c", "FALSE") + Control("BUTTON", "b", "B", 40);
    g().SetCells(1, 1, checks);
    g().SetCells(1, 2, Control("CHECK", "c", "FALSE") + Control("EDIT", "e", "v", 60));
    g().MoveColRow(1, 1);
    g().SetFocus();
    QTest::keyClick(&g(), 'x');
    QTest::keyClick(&g(), Qt::Key_Return);
    EXPECT_EQ(g().Cells(1, 1), checks);
    EXPECT_FALSE(edit().isVisible());
    EXPECT_FALSE(EditController(g())->EditMode()) << "no text editor over a form cell";
    EXPECT_TRUE(g().hasFocus());
    g().MoveColRow(1, 2);
    QTest::keyClick(&g(), Qt::Key_Return);
    ASSERT_TRUE(edit().isVisible());
    EXPECT_EQ(edit().ControlID, QStringLiteral("e"));
    EXPECT_EQ(edit().text(), QStringLiteral("v"));
}

// The boxes take the control's settings: a mask from PROP, the length from MAXLEN (none: no limit).
TEST_F(FormCells, EditBoxTakesMaskAndMaximumLengthFromTheControl)
{
    const struct {
        const char* Name;
        QString Text;
        const char* Typed;
        const char* Written;
    } cases[] = {
        {"at most three", Control("EDIT", "e", "", 100, " MAXLEN=\"3\""), "abcdef", "abc"},
        {"no limit", Control("EDIT", "e", "", 100), "abcdefghij", "abcdefghij"},
        {"digits mask", Control("MASK", "e", "", 100, " PROP=\"00-00;1;_\""), "12a34", "12-34"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        g().SetCells(1, 1, k.Text);
        events.clear();
        click(1, "e");
        ASSERT_TRUE(edit().isVisible());
        edit().home(false);
        QTest::keyClicks(&edit(), QLatin1String(k.Typed));
        QTest::keyClick(&edit(), Qt::Key_Return);
        EXPECT_EQ(ValueOf(g().Cells(1, 1), "e"), QLatin1String(k.Written));
    }
}

// A COMBO opens the grid's combo box with the list OnControlComboList gives; a pick is reported
// with OnControlComboSelect, and the chosen text goes back into the cell when the box is left.
TEST_F(FormCells, ComboListComesFromTheEventAndThePickGoesBackIntoTheCell)
{
    g().SetCells(1, 3, QStringLiteral("Colour ") + Control("COMBO", "col", "green", 120));
    std::vector<std::string> picks;
    forms().OnControlComboList = [](TExtStringGrid*, int r, int c, const QString& id, const QString& type,
                                    const QString& v, QStringList& values, bool& editable, int& dropCount) {
        EXPECT_EQ(r, 3);
        EXPECT_EQ(c, 1);
        EXPECT_EQ(id, QStringLiteral("col"));
        EXPECT_EQ(type, QStringLiteral("COMBO"));
        EXPECT_EQ(v, QStringLiteral("green"));
        EXPECT_TRUE(editable);
        EXPECT_EQ(dropCount, 8);
        values = {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
        editable = false;
        dropCount = 2;
    };
    forms().OnControlComboSelect = [&](TExtStringGrid*, int r, int c, int index, const QString& id,
                                       const QString& v) {
        picks.push_back(std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(index) + " " +
                        id.toStdString() + " " + v.toStdString());
    };
    const QPoint at = rectOf(3, "col").center();
    QTest::mousePress(client(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(client(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(combo().isVisible());
    EXPECT_FALSE(combo().isEditable()) << "the event asked for a pick-only list";
    EXPECT_EQ(combo().count(), 3);
    EXPECT_EQ(combo().currentText(), QStringLiteral("green"));
    EXPECT_EQ(combo().maxVisibleItems(), 2);
    EXPECT_TRUE(combo().view()->isVisible()) << "the list drops down at once";
    EXPECT_TRUE(forms().CtrlEditing()) << "the list's own focus does not end the box";
    QAbstractItemView* list = combo().view();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(picks, std::vector<std::string>{"1,3 2 col blue"});
    EXPECT_EQ(ValueOf(g().Cells(1, 3), "col"), QStringLiteral("green")) << "written when the box is left";
    QTest::keyClick(&combo(), Qt::Key_Return);
    EXPECT_FALSE(combo().isVisible());
    EXPECT_EQ(ValueOf(g().Cells(1, 3), "col"), QStringLiteral("blue"));
    EXPECT_EQ(events.back(), Event("done", 3, 1, "col", "COMBO", "blue"));
}

// A BUTTON is held down from the press to the release (drawn pressed meanwhile) and reports its
// click; its text does not change.
TEST_F(FormCells, ButtonIsHeldDownUntilTheRelease)
{
    const QString text = Control("BUTTON", "ok", "OK", 60);
    g().SetCells(1, 2, text);
    const QPoint at = rectOf(2, "ok").center();
    QTest::mousePress(client(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(forms().CtrlDown());
    EXPECT_EQ(g().CellControlDown(), (TGridCoord{1, 2}));
    EXPECT_EQ(events, std::vector<std::string>{Event("click", 2, 1, "ok", "BUTTON", "OK")});
    QTest::mouseRelease(client(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(forms().CtrlDown());
    EXPECT_EQ(g().CellControlDown(), (TGridCoord{-1, -1}));
    EXPECT_EQ(g().Cells(1, 2), text);
}

// Every kind of control as a cell draws it: ticked and unticked boxes and radios, an edit, a
// password, a mask, a combo, a button up and a button held down.
TEST_F(FormCells, EveryKindOfControlDrawnInItsCell)
{
    TExtStringGrid shot;
    shot.SetColCount(2);
    shot.SetRowCount(5);
    shot.SetFixedRows(0);
    shot.SetColWidths(0, 10);
    shot.SetColWidths(1, 330);
    shot.SetDefaultRowHeight(30);
    shot.SetGridScrollBars(platform::ssNone);
    shot.ShowSelection = false;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    shot.setFont(font);
    shot.SetCells(1, 0, QStringLiteral("on ") + Control("CHECK", "c1", "TRUE") + QStringLiteral(" off ") +
                            Control("CHECK", "c2", "FALSE") + QStringLiteral(" on ") + Control("RADIO", "r1", "TRUE") +
                            QStringLiteral(" off ") + Control("RADIO", "r2", "FALSE"));
    shot.SetCells(1, 1, Control("EDIT", "e", "text", 90) + QStringLiteral(" ") + Control("PASSWORD", "p", "secret", 90) +
                            QStringLiteral(" ") + Control("MASK", "m", "12-34", 90));
    shot.SetCells(1, 2, Control("COMBO", "cb", "green", 120));
    shot.SetCells(1, 3, Control("BUTTON", "b1", "Up", 70));
    shot.SetCells(1, 4, Control("BUTTON", "b2", "Down", 70));
    shot.resize(344, 154);
    controls::THTMLRenderResult down;
    shot.HTMLHitAt(1, 4, -1, -1, QStringLiteral("b2"), down);
    shot.SetCellControlDown({1, 4}, down.ControlRect.center());
    QImage image(shot.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    shot.render(&image);
    EXPECT_TRUE(testsupport::MatchesGolden(image, QStringLiteral(TEST_DATA_DIR "/golden/cell_form_controls.png")));
}

}  // namespace
