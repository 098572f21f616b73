// Rich text between cells and a rich-text editor.
#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridRichText.h"

using namespace grid;
using namespace grid::editing;

namespace {

// The written RTF is 7-bit: a formatted text with non-ASCII characters, braces and backslashes
// goes into a cell and comes back the same, formats included.
TEST(GridRichText, RoundTripThroughACell)
{
    TExtStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    QTextEdit editor;
    QTextCursor cursor(editor.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Temp {°C} \\ "), QTextCharFormat());
    cursor.insertText(QStringLiteral("Ωmega 漢"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second\tline"));

    RichToCell(grid, 1, 1, editor);
    const QString rtf = grid.Cells(1, 1);
    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1")));
    for (const QChar ch : rtf)
        ASSERT_LT(ch.unicode(), 128) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u937?")));

    QTextEdit back;
    CellToRich(grid, 1, 1, back);
    EXPECT_EQ(back.toPlainText(), editor.toPlainText());
    QTextCursor at(back.document());
    at.setPosition(QStringLiteral("Temp {°C} \\ Ω").size());
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    at.setPosition(3);
    EXPECT_NE(at.charFormat().fontWeight(), QFont::Bold);

    // Again through the cell: the same RTF.
    RichToCell(grid, 2, 2, back);
    EXPECT_EQ(grid.Cells(2, 2), rtf);
}

// The reader: escapes, skipped tables and destinations, \uc, and plain text that is no RTF.
TEST(GridRichText, Reader)
{
    const struct {
        QString Rtf;
        QString Plain;
    } cases[] = {
        {QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}a\\'e9b\\par c}"),
         QStringLiteral("a\u00e9b\nc")},
        {QStringLiteral("{\\rtf1{\\*\\generator Writer;}x\\uc2\\u8364 XYz}"), QStringLiteral("x\u20acz")},
        {QStringLiteral("{\\rtf1 \\{br\\}\\\\ \\tab t}"), QStringLiteral("{br}\\ \tt")},
        {QStringLiteral("{\\rtf1 \\u-3913?}"), QString(QChar(ushort(65536 - 3913)))},
        {QStringLiteral("just text"), QStringLiteral("just text")},
        {QStringLiteral("{\\rtf1 unclosed {\\b group"), QStringLiteral("unclosed group")},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Rtf.toStdString());
        QTextDocument doc;
        RtfToDocument(tc.Rtf, doc);
        EXPECT_EQ(doc.toPlainText(), tc.Plain);
    }
}

// An empty cell clears the editor.
TEST(GridRichText, EmptyCellClearsTheEditor)
{
    TExtStringGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("old"));
    CellToRich(grid, 1, 1, editor);
    EXPECT_TRUE(editor.toPlainText().isEmpty());
}

}  // namespace
