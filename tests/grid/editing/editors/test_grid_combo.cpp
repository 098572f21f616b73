#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/editors/GridCombo.h"

using namespace grid;
using namespace grid::editors;

namespace {

using grid::editors::TGridCombo;  // not the core's placeholder of the same name

struct PlaceCase {
    TLabelPosition position;
    QPoint expected;
};

TEST(ComboLabel, PlacedAroundTheControlAtEachPosition)
{
    // Control at (50, 100) 80 x 15; label 30 x 20 with a caption 26 wide; margin 4.
    const QRect control(50, 100, 80, 15);
    const QSize label(30, 20);
    const PlaceCase cases[] = {
        {lpLeftTop, {20, 100}},        {lpLeftCenter, {20, 98}},      {lpLeftBottom, {20, 95}},
        {lpTopLeft, {50, 76}},         {lpBottomLeft, {50, 119}},     {lpLeftTopLeft, {46, 100}},
        {lpLeftCenterLeft, {46, 98}},  {lpLeftBottomLeft, {46, 95}},  {lpTopCenter, {75, 76}},
        {lpBottomCenter, {75, 119}},   {lpRightTop, {134, 100}},      {lpRightCenter, {134, 98}},
        {lpRighBottom, {134, 95}},
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(LabelPlace(c.position, control, label, 26, 4), c.expected) << int(c.position);
}

TEST(ComboLabel, FollowsTheComboAndItsVisibility)
{
    QWidget form;
    form.resize(300, 200);
    auto* combo = new TEsgCustomCombo(&form);
    combo->setGeometry(150, 50, 100, 22);
    combo->SetLabelCaption(QStringLiteral("<b>Name</b>"));
    form.show();
    QLabel* label = combo->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_TRUE(label->isVisible());
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
    EXPECT_EQ(label->pos(), QPoint(150 - textWidth - 4, 50));
    combo->move(160, 60);
    EXPECT_EQ(label->pos(), QPoint(160 - textWidth - 4, 60));
    combo->SetLabelPosition(lpBottomLeft);
    EXPECT_EQ(label->pos(), QPoint(160, 60 + 22 + 4));
    combo->hide();
    EXPECT_FALSE(label->isVisible());
    combo->setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    combo->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(label->isEnabled());
}

TEST(ComboButton, WidthOutsideItsRangeIsIgnored)
{
    TEsgCustomCombo combo;
    combo.SetButtonWidth(20);
    for (int refused : {13, 33, 0})
        combo.SetButtonWidth(refused);
    EXPECT_EQ(combo.ButtonWidth(), 20);
    combo.SetButtonWidth(14);
    combo.SetButtonWidth(32);
    EXPECT_EQ(combo.ButtonWidth(), 32);
}

struct DropCase {
    int items;
    int widest;
    int expected;
};

TEST(ComboDropWidth, GrowsToTheWidestItemWithRoomForTheScrollBar)
{
    const DropCase cases[] = {
        {3, 95, 100}, {3, 96, 104},    // no scroll bar: 5 pixels threshold, 8 margin
        {10, 75, 100}, {10, 76, 101},  // scroll bar: 25 pixels
        {0, 0, 100},
    };
    for (const DropCase& c : cases) {
        std::vector<int> widths(size_t(c.items), 10);
        if (c.items > 0)
            widths[1] = c.widest;
        EXPECT_EQ(ComboDropWidth(100, widths, 8), c.expected) << c.items << " items, widest " << c.widest;
    }
}

struct CompleteCase {
    const char* text;
    int caret;
    bool caseSensitive;
    bool found;
    const char* completed;
    int index;
};

TEST(ComboCompletion, TheFirstItemStartingWithTheTypedPartCompletesIt)
{
    const QStringList items{QStringLiteral("Alpha"), QStringLiteral("abacus"), QStringLiteral("Beta")};
    const CompleteCase cases[] = {
        {"a", 1, false, true, "alpha", 0},
        {"ab", 2, false, true, "abacus", 1},
        {"AL", 2, false, true, "ALpha", 0},   // the typed part keeps its case
        {"al", 2, true, false, "", -1},
        {"Al", 2, true, true, "Alpha", 0},
        {"abx", 2, false, true, "abacus", 1},  // only the part before the caret counts
        {"", 0, false, false, "", -1},
        {"z", 1, false, false, "", -1},
    };
    for (const CompleteCase& c : cases) {
        const TCompletion r = CompleteText(QString::fromUtf8(c.text), c.caret, items, c.caseSensitive);
        EXPECT_EQ(r.Found, c.found) << c.text;
        if (!c.found)
            continue;
        EXPECT_EQ(r.Text, QString::fromUtf8(c.completed)) << c.text;
        EXPECT_EQ(r.Index, c.index) << c.text;
        EXPECT_EQ(r.SelStart, c.caret) << c.text;
        EXPECT_EQ(r.SelLength, r.Text.size() - c.caret) << c.text;
    }
}

TEST(ComboCompletion, AppendsAtMost255CharactersOfTheTail)
{
    const QString item = QStringLiteral("x") + QString(300, QChar('y'));
    const TCompletion r = CompleteText(QStringLiteral("x"), 1, {item}, false);
    EXPECT_EQ(r.Text.size(), 256);
    EXPECT_EQ(r.SelLength, 255);
}

// A grid with the cursor on (2, 1), a combo editor over it in a shown window, and a record of
// what the editor asked of the editing cycle.
class ComboEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.SetColCount(4);
        Grid.SetRowCount(4);
        Grid.SetCells(2, 1, QStringLiteral("Beta"));
        Grid.GotoCell(2, 1);
        Form.resize(300, 200);
        Combo = new TGridCombo(Grid, &Form);
        Combo->setGeometry(10, 10, 120, 24);
        Combo->addItems({QStringLiteral("Alpha"), QStringLiteral("abacus"), QStringLiteral("Beta")});
        Combo->Host.Validate = [this](const QString& text) {
            Validated << text;
            if (!Accept)
                return false;
            Grid.SetCells(2, 1, text);
            return true;
        };
        Combo->Host.ValidatedText = [] { return QStringLiteral("x"); };
        Combo->Host.DoneEdit = [this](int key, Qt::KeyboardModifiers) { Done << key; };
        Combo->Host.HideEditor = [this] { ++Hidden; };
        Form.show();
        QApplication::setActiveWindow(&Form);
        Combo->setFocus();
    }
    void Editable(const QString& text)
    {
        Combo->SetPickOnly(false);
        Combo->setEditText(text);
        Combo->lineEdit()->end(false);
    }
    void Wheel(int delta)
    {
        const QPointF at(20, 20);
        QWheelEvent wheel(at, Combo->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Combo, &wheel);
    }

    TExtStringGrid Grid;
    QWidget Form;
    TGridCombo* Combo = nullptr;
    QStringList Validated;
    QList<int> Done;
    int Hidden = 0;
    bool Accept = true;
};

TEST_F(ComboEditor, TypingCompletesAndBackspaceDoesNotCompleteAgain)
{
    Editable(QString());
    Combo->Lookup = true;
    QTest::keyClick(Combo, Qt::Key_A);
    EXPECT_EQ(Combo->currentText(), QStringLiteral("alpha"));
    EXPECT_EQ(Combo->lineEdit()->selectedText(), QStringLiteral("lpha"));
    EXPECT_EQ(Combo->currentIndex(), 0);
    QTest::keyClick(Combo, Qt::Key_B);
    EXPECT_EQ(Combo->currentText(), QStringLiteral("abacus"));
    EXPECT_EQ(Combo->lineEdit()->selectedText(), QStringLiteral("acus"));
    EXPECT_EQ(Combo->currentIndex(), 1);
    QTest::keyClick(Combo, Qt::Key_Backspace);
    EXPECT_EQ(Combo->currentText(), QStringLiteral("ab"));
}

TEST_F(ComboEditor, LookupItemsCompleteWhenTheListHasNoMatch)
{
    Editable(QString());
    Combo->Lookup = true;
    Combo->LookupItems = {QStringLiteral("Zulu")};
    const int before = Combo->currentIndex();
    QTest::keyClick(Combo, Qt::Key_Z);
    EXPECT_EQ(Combo->currentText(), QStringLiteral("zulu"));
    EXPECT_EQ(Combo->currentIndex(), before);
}

TEST_F(ComboEditor, AVetoedKeyTypesNothing)
{
    Editable(QString());
    Combo->OnKeyPress = [](QChar& key) {
        if (key == QChar('q'))
            key = QChar();
    };
    QTest::keyClicks(Combo, QStringLiteral("aqb"));
    EXPECT_EQ(Combo->currentText(), QStringLiteral("ab"));
}

TEST_F(ComboEditor, EscapeRestoresTheCellTextAndCloses)
{
    Combo->SetPickOnly(true);
    Combo->setCurrentIndex(0);
    QTest::keyClick(Combo, Qt::Key_Escape);
    EXPECT_EQ(Combo->currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(Hidden, 1);
    EXPECT_EQ(Grid.Cells(2, 1), QStringLiteral("Beta"));
    EXPECT_TRUE(Validated.isEmpty());
}

TEST_F(ComboEditor, EnterValidatesAndLeaves)
{
    Editable(QStringLiteral("new"));
    QTest::keyClick(Combo, Qt::Key_Return);
    EXPECT_EQ(Validated, QStringList{QStringLiteral("new")});
    EXPECT_EQ(Done, QList<int>{Qt::Key_Return});
    EXPECT_EQ(Combo->count(), 3);  // the typed text goes to the cell, not into the list
}

TEST_F(ComboEditor, ARefusedValueStaysOpenWithTheValidatedTextSelected)
{
    Accept = false;
    Editable(QStringLiteral("bad"));
    QTest::keyClick(Combo, Qt::Key_Return);
    EXPECT_TRUE(Done.isEmpty());
    EXPECT_EQ(Combo->currentText(), QStringLiteral("x"));
    EXPECT_EQ(Combo->lineEdit()->selectedText(), QStringLiteral("x"));

    Editable(QStringLiteral("bad"));
    QTest::keyClick(Combo, Qt::Key_Tab);
    EXPECT_TRUE(Done.isEmpty());
    EXPECT_EQ(Combo->lineEdit()->selectedText(), QString());
    EXPECT_EQ(Combo->lineEdit()->cursorPosition(), 1);
}

TEST_F(ComboEditor, SidewaysKeysInAPickListAndPageKeysInAnEditableComboLeave)
{
    Combo->SetPickOnly(true);
    QTest::keyClick(Combo, Qt::Key_Right);
    EXPECT_EQ(Done, QList<int>{Qt::Key_Right});
    EXPECT_TRUE(Validated.isEmpty());

    Done.clear();
    Editable(QStringLiteral("text"));
    QTest::keyClick(Combo, Qt::Key_PageDown);
    EXPECT_EQ(Done, QList<int>{Qt::Key_PageDown});
}

TEST_F(ComboEditor, UpAndDownStepThroughAPickList)
{
    Combo->SetPickOnly(true);
    Combo->setCurrentIndex(0);
    QTest::keyClick(Combo, Qt::Key_Down);
    EXPECT_EQ(Combo->currentIndex(), 1);
    EXPECT_TRUE(Done.isEmpty());
}

TEST_F(ComboEditor, TheWheelStepsAndReportsEvenAtTheEnd)
{
    Combo->SetPickOnly(true);
    Combo->setCurrentIndex(1);
    QList<int> changes;
    Combo->OnComboChange = [&](int, int, int index, const QString&) { changes << index; };
    Wheel(-120);
    EXPECT_EQ(Combo->currentIndex(), 2);
    Wheel(-120);  // already on the last item
    EXPECT_EQ(Combo->currentIndex(), 2);
    Wheel(120);
    EXPECT_EQ(Combo->currentIndex(), 1);
    EXPECT_EQ(changes, (QList<int>{2, 2, 1}));

    Combo->clear();
    changes.clear();
    QString reported = QStringLiteral("unset");
    Combo->OnComboChange = [&](int, int, int index, const QString& text) {
        changes << index;
        reported = text;
    };
    Wheel(-120);
    EXPECT_EQ(changes, QList<int>{-1});
    EXPECT_EQ(reported, QString());
}

TEST_F(ComboEditor, HistoryKeepsANewTextWhenTheFocusLeaves)
{
    auto* other = new QLineEdit(&Form);
    other->show();
    Combo->LookupHistory = true;
    Editable(QStringLiteral("Gamma"));
    other->setFocus();
    EXPECT_EQ(Combo->findText(QStringLiteral("Gamma")), 3);
    EXPECT_EQ(Hidden, 1);

    Combo->setFocus();
    Editable(QString());
    other->setFocus();
    EXPECT_EQ(Combo->count(), 4);  // an empty text is not kept
}

}  // namespace
