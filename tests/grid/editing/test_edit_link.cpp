// An application's editor link and the rich-text editor editing cells of a column grid, driven by
// real key and mouse events on a shown grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "grid/editing/EditLink.h"
#include "grid/editing/ExtRichEdit.h"
#include "grid/editing/GridRichText.h"
#include "platform/Exception.h"

#include "EditorGridSuite.h"

using namespace grid;
using namespace grid::editing;
// The grid core names a placeholder alike; this is the editor control.
using RichEditor = grid::editing::TExtRichEdit;

namespace {

// A link editing with a line edit; it records the calls the grid makes.
class LineLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    QPointer<QLineEdit> Edit;
    QStringList Calls;
    QWidget* GetEditControl() override { return Edit; }
    void CreateEditor(QWidget* parent) override
    {
        Calls << QStringLiteral("create");
        if (!Edit || Edit->parentWidget() != parent) {
            delete Edit.data();
            Edit = new QLineEdit(parent);
        }
    }
    void DestroyEditor() override
    {
        Calls << QStringLiteral("destroy");
        delete Edit.data();
    }
    void SetCellProps(TColor, const TFontDesc&) override { Calls << QStringLiteral("cellprops"); }
    void SetProperties() override { Calls << QStringLiteral("props"); }
    QString GetEditorValue() override { return Edit ? Edit->text() : QString(); }
    void SetEditorValue(const QString& value) override
    {
        Calls << QStringLiteral("value ") + value;
        if (Edit)
            Edit->setText(value);
    }
};

enum : int { cNo, cLeft, cLink, cNote, cPopup, cRich, cFlag, cColumns };

struct EditLinkGrid : EditorGridSuite {
    LineLink* link = nullptr;
    LineLink* popup = nullptr;
    std::vector<std::string> events;

    void SetUp() override
    {
        static const EditorColumn columns[] = {{nullptr, edNormal, 80},   {nullptr, edNormal, 80},
                                               {nullptr, edCustom, 80},   {nullptr, edNormal, 80},
                                               {nullptr, edCustom, 80},   {nullptr, edRichEdit, 80},
                                               {nullptr, edCheckBox, 80}};
        static_assert(std::size(columns) == cColumns);
        BuildGrid(columns, 6, {640, 220}, true);
        link = new LineLink(&window);
        popup = new LineLink(&window);
        popup->EditStyle = esPopup;
        popup->AutoPopupWidth = true;
        popup->PopupHeight = 40;
        g().Columns()[cLink]->EditLink = link;
        g().Columns()[cPopup]->EditLink = popup;
        for (int r = 1; r < 6; ++r) {
            g().SetCells(cNo, r, QString::number(r));
            g().SetCells(cLeft, r, QStringLiteral("left%1").arg(r));
            g().SetCells(cLink, r, QStringLiteral("link%1").arg(r));
            g().SetCells(cNote, r, QStringLiteral("note%1").arg(r));
            g().SetCells(cPopup, r, QStringLiteral("pop%1").arg(r));
            g().SetCells(cRich, r, QStringLiteral("{\\rtf1 {\\b Bold} plain}"));
        }
        controller().OnGetEditorProp = [this](TExtStringGrid*, int c, int r, QObject* l) {
            events.push_back("prop " + std::to_string(c) + "," + std::to_string(r) + (l == link ? " link" : ""));
        };
        ShowWindow({680, 260});
    }

    // Nothing of these windows (the link's pop-up form included) stays active for later suites.
    void TearDown() override
    {
        delete popup;
        popup = nullptr;
        window.close();
        QCoreApplication::processEvents();
        EditorGridSuite::TearDown();
    }

    // Each character as a key press carrying it (any character, not only Latin-1).
    static void typeInto(QWidget* target, const QString& text)
    {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &release);
        }
    }
    void type(const QString& text) { typeInto(focused(), text); }
};

// F2 on a link cell: the column's link gets the grid and the cell, builds its control over the
// cell and is filled in the documented order; typing, Enter writes back and moves nothing;
// Escape puts the old text back.
TEST_F(EditLinkGrid, InPlaceLinkOpensTypesWritesBackAndEscapes)
{
    open(cLink, 2);
    ASSERT_TRUE(link->Edit);
    EXPECT_EQ(specials().OpenLink(), link);
    EXPECT_EQ(link->Grid(), &g());
    EXPECT_EQ(link->EditCell, (TPoint{cLink, 2}));
    EXPECT_EQ(g().EditLink, link);
    EXPECT_EQ(link->Calls, (QStringList{"create", "cellprops", "props", "value link2"}));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "prop 2,2 link");
    EXPECT_TRUE(link->Edit->isVisible());
    EXPECT_TRUE(link->Edit->hasFocus());
    EXPECT_EQ(link->Edit->parentWidget(), client());
    const TRect rc = g().CellRect(cLink, 2);
    EXPECT_EQ(link->Edit->geometry(), QRect(rc.Left, rc.Top, rc.Right - rc.Left - 1, rc.Bottom - rc.Top - 1));
    EXPECT_EQ(controller().EditCtrl(), link->Edit);

    link->Edit->selectAll();
    type(QStringLiteral("Grüße"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cLink, 2), QStringLiteral("Grüße"));
    EXPECT_FALSE(link->Edit->isVisible());
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(specials().OpenLink(), nullptr);
    EXPECT_TRUE(g().hasFocus());
    EXPECT_EQ(current(), QPoint(cLink, 2));

    open(cLink, 3);
    type(QStringLiteral("xyz"));
    EXPECT_TRUE(link->Edit->text().endsWith(QStringLiteral("xyz")));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cLink, 3), QStringLiteral("link3"));
    EXPECT_FALSE(link->Edit->isVisible());
    EXPECT_TRUE(g().hasFocus());
}

// A character typed on a link cell opens the link and reaches its control.
TEST_F(EditLinkGrid, TypedCharacterReachesTheLinksControl)
{
    select(cLink, 4);
    QTest::keyClick(&g(), Qt::Key_Q, {}, -1);
    ASSERT_TRUE(link->Edit);
    ASSERT_TRUE(link->Edit->isVisible());
    EXPECT_TRUE(link->Edit->text().endsWith(QLatin1Char('q')));
}

// The Want... settings keep their keys in the control; the others leave it and the arrows move.
TEST_F(EditLinkGrid, WantedKeysStayAndLeavingKeysMove)
{
    link->WantKeyUpDown = true;
    const struct {
        Qt::Key Key;
        bool Stays;
        QPoint After;
    } cases[] = {
        {Qt::Key_Up, true, {cLink, 3}},
        {Qt::Key_Down, true, {cLink, 3}},
        {Qt::Key_Left, false, {cLeft, 3}},
        {Qt::Key_Right, false, {cNote, 3}},
        {Qt::Key_PageDown, false, {cLink, 3}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Key);
        open(cLink, 3);
        ASSERT_TRUE(link->Edit && link->Edit->isVisible());
        key(tc.Key);
        EXPECT_EQ(link->Edit->isVisible(), tc.Stays);
        EXPECT_EQ(controller().EditMode(), tc.Stays);
        EXPECT_EQ(current(), tc.After);
        if (tc.Stays)
            key(Qt::Key_Escape);
    }
}

// Tab with TabToNextAtEnd writes back, moves on and starts editing there, but not on a
// check-box cell; without it Tab only ends the edit.
TEST_F(EditLinkGrid, TabMovesOnAndEditsTheNextCell)
{
    g().Navigation.TabToNextAtEnd = true;
    open(cLink, 2);
    type(QStringLiteral("!"));
    key(Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(cLink, 2), QStringLiteral("link2!"));
    EXPECT_EQ(current(), QPoint(cNote, 2));
    EXPECT_TRUE(controller().EditMode());
    key(Qt::Key_Escape);

    g().Columns()[cRich]->SetEditor(edCustom);
    g().Columns()[cRich]->EditLink = link;
    open(cRich, 2);
    key(Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(current(), QPoint(cFlag, 2));
    EXPECT_EQ(specials().OpenLink(), nullptr);
    EXPECT_FALSE(link->Edit->isVisible());

    g().Navigation.TabToNextAtEnd = false;
    open(cLink, 3);
    key(Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(current(), QPoint(cLink, 3));
    EXPECT_FALSE(controller().EditMode());
    EXPECT_FALSE(link->Edit->isVisible());
}

// A value the validation refuses keeps the link's editor open on its cell.
TEST_F(EditLinkGrid, RefusedValueKeepsEditing)
{
    controller().OnCellValidate = [](TExtStringGrid*, int, int, QString& value, bool& valid) {
        valid = !value.contains(QLatin1Char('#'));
    };
    open(cLink, 2);
    type(QStringLiteral("#"));
    key(Qt::Key_Return);
    EXPECT_TRUE(controller().EditMode());
    EXPECT_TRUE(link->Edit->isVisible());
    EXPECT_EQ(link->Edit->text(), QStringLiteral("link2#"));
    EXPECT_EQ(current(), QPoint(cLink, 2));
    EXPECT_EQ(cell(cLink, 2), QStringLiteral("link2"));
    key(Qt::Key_Backspace);
    key(Qt::Key_Return);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(cell(cLink, 2), QStringLiteral("link2"));
}

// The focus going elsewhere ends the edit with the value written back.
TEST_F(EditLinkGrid, LosingTheFocusWritesBack)
{
    open(cLink, 5);
    type(QStringLiteral("+"));
    other->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(cLink, 5), QStringLiteral("link5+"));
    EXPECT_FALSE(link->Edit->isVisible());
    EXPECT_FALSE(controller().EditMode());
}

// In pop-up style the control sits in the link's own borderless form over the cell; leaving
// destroys the control and hides the form. A window of the application that happens to carry
// the form's name is left alone, and the form goes with the link.
TEST_F(EditLinkGrid, PopupLinkOwnsItsForm)
{
    QWidget stranger;
    stranger.setObjectName(QStringLiteral("gridform"));
    QPointer<QWidget> strangerAlive(&stranger);

    open(cPopup, 2);
    QWidget* form = popup->PopupForm();
    ASSERT_TRUE(form);
    ASSERT_TRUE(popup->Edit);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isWindow());
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(popup->Edit->window(), form);
    const TRect rc = g().CellRect(cPopup, 2);
    EXPECT_EQ(popup->PopupWidth, rc.Right - rc.Left);
    EXPECT_EQ(form->size(), QSize(popup->PopupWidth, 40));
    EXPECT_EQ(form->pos(), client()->mapToGlobal(QPoint(rc.Left, rc.Top)));
    EXPECT_EQ(popup->Edit->text(), QStringLiteral("pop2"));

    typeInto(popup->Edit, QStringLiteral("!"));
    QTest::keyClick(popup->Edit, Qt::Key_Return);
    EXPECT_EQ(cell(cPopup, 2), QStringLiteral("pop2!"));
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(popup->Calls.contains(QStringLiteral("destroy")));
    EXPECT_FALSE(popup->Edit);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_TRUE(strangerAlive);

    // A second opening uses the same form.
    QApplication::setActiveWindow(&window);
    open(cPopup, 3);
    EXPECT_EQ(popup->PopupForm(), form);
    ASSERT_TRUE(popup->Edit);
    QPointer<QWidget> formAlive(form);
    typeInto(popup->Edit, QStringLiteral("zz"));
    QTest::keyClick(popup->Edit, Qt::Key_Escape);
    EXPECT_EQ(cell(cPopup, 3), QStringLiteral("pop3"));
    delete popup;
    popup = nullptr;
    EXPECT_FALSE(formAlive);
    EXPECT_TRUE(strangerAlive);
}

// A link that goes is forgotten by the grid and its columns: the cell then opens nothing.
TEST_F(EditLinkGrid, DeletedLinkIsForgotten)
{
    open(cLink, 2);
    key(Qt::Key_Escape);
    ASSERT_EQ(g().EditLink, link);
    delete link;
    link = nullptr;
    EXPECT_EQ(g().EditLink, nullptr);
    EXPECT_EQ(g().Columns()[cLink]->EditLink, nullptr);
    open(cLink, 2);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(specials().OpenLink(), nullptr);
}

// The rich-text editor opens over the cell with the cell's rich text, and writes back 7-bit RTF
// that reads back as what was typed, non-ASCII included; Escape leaves the cell byte for byte.
TEST_F(EditLinkGrid, RichEditorEditsAndWritesBackRichText)
{
    std::vector<int> selectionChanges;
    g().OnRichEditSelectionChange = [&](TExtStringGrid*) { selectionChanges.push_back(1); };
    open(cRich, 2);
    RichEditor* rich = specials().InplaceRichEdit();
    ASSERT_EQ(specials().OpenEditor(), rich);
    EXPECT_TRUE(rich->isVisible());
    EXPECT_TRUE(rich->hasFocus());
    EXPECT_EQ(rich->toPlainText(), QStringLiteral("Bold plain"));
    EXPECT_TRUE(rich->textCursor().hasSelection());  // EditSelectAll
    QTextCursor at(rich->document());
    at.setPosition(2);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(selectionChanges.empty());

    key(Qt::Key_End, Qt::ControlModifier);
    type(QStringLiteral(" Ωmega €"));
    select(cNote, 4);
    const QString rtf = cell(cRich, 2);
    for (const QChar ch : rtf)
        ASSERT_LT(ch.unicode(), 128) << rtf.toStdString();
    QTextDocument back;
    RtfToDocument(rtf, back);
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Bold plain Ωmega €"));
    EXPECT_FALSE(rich->isVisible());
    EXPECT_FALSE(controller().EditMode());

    // Escape: the cell keeps the RTF it held, even written by another program.
    const QString foreign = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9}");
    g().SetCells(cRich, 3, foreign);
    open(cRich, 3);
    EXPECT_EQ(rich->toPlainText(), QStringLiteral("café"));
    type(QStringLiteral("zzz"));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cRich, 3), foreign);
    EXPECT_FALSE(rich->isVisible());
    EXPECT_TRUE(g().hasFocus());
}

// In a single-line grid Up and Down leave the rich editor and move; with goTabs Tab moves on and
// opens the next cell's editor.
TEST_F(EditLinkGrid, RichEditorHandsArrowsAndTabToTheGrid)
{
    open(cRich, 3);
    key(Qt::Key_Down);
    EXPECT_EQ(current(), QPoint(cRich, 4));
    EXPECT_FALSE(controller().EditMode());

    g().Options |= goTabs;
    open(cRich, 2);
    key(Qt::Key_Tab);
    EXPECT_EQ(current(), QPoint(cFlag, 2));
    g().Options &= ~goTabs;

    // Enter stays in the editor: it starts a new paragraph.
    open(cRich, 5);
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Return);
    EXPECT_TRUE(controller().EditMode());
    EXPECT_EQ(specials().InplaceRichEdit()->document()->blockCount(), 2);
}

// With SizeWhileTyping.Height the row grows as the text does, and says so.
TEST_F(EditLinkGrid, RichEditorGrowsItsRow)
{
    g().SizeWhileTyping.Height = true;
    std::vector<int> sized;
    g().OnEndRowSize = [&](TExtStringGrid*, int r) { sized.push_back(r); };
    const int before = g().RowHeights(2);
    open(cRich, 2);
    RichEditor* rich = specials().InplaceRichEdit();
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Return);
    type(QStringLiteral("two"));
    key(Qt::Key_Return);
    type(QStringLiteral("three"));
    EXPECT_GT(g().RowHeights(2), before);
    EXPECT_EQ(g().RowHeights(2), rich->ReqHeight() + 10);
    EXPECT_EQ(rich->height(), rich->ReqHeight() + 9);
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back(), 2);
}

// The rich-text control: its owner must be a grid; offsets of the selection; the hidden work
// control keeps the size its content asks for.
TEST_F(EditLinkGrid, RichControlOffsetsAndWorkControl)
{
    QWidget notAGrid;
    EXPECT_THROW(RichEditor(&notAGrid, nullptr), platform::Exception);

    RichEditor* rich = specials().InplaceRichEdit();
    rich->setPlainText(QStringLiteral("x2"));
    QTextCursor c = rich->textCursor();
    c.setPosition(1);
    c.setPosition(2, QTextCursor::KeepAnchor);
    rich->setTextCursor(c);
    EXPECT_TRUE(rich->IsSelNormal());
    rich->SelSuperscript();
    EXPECT_TRUE(rich->IsSelSuperscript());
    EXPECT_FALSE(rich->IsSelNormal());
    rich->SelSubscript();
    EXPECT_TRUE(rich->IsSelSubscript());
    rich->SelNormal();
    EXPECT_TRUE(rich->IsSelNormal());

    RichEditor* work = specials().RichEdit();
    EXPECT_NE(work, rich);
    EXPECT_FALSE(work->isVisible());
    EXPECT_EQ(work->geometry(), QRect(0, 0, 0, 0));
    work->setPlainText(QStringLiteral("one\ntwo\nthree"));
    EXPECT_GT(work->ReqHeight(), 0);
    EXPECT_GT(work->ReqWidth(), 0);
}

// The unit editor's new unit is told with the grid's current cell.
TEST_F(EditLinkGrid, UnitChangeIsRelayed)
{
    select(cNote, 3);
    std::vector<std::string> told;
    g().OnUnitChanged = [&](TExtStringGrid*, int c, int r, const QString& unit) {
        told.push_back(std::to_string(c) + "," + std::to_string(r) + " " + unit.toStdString());
    };
    g().UnitChanged(QStringLiteral("mV"));
    EXPECT_EQ(told, (std::vector<std::string>{"3,3 mV"}));
}

}  // namespace
