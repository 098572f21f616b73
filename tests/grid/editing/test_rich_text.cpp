// Rich text between cells and a rich-text editor.
#include <gtest/gtest.h>

#include <QTextBlock>
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
        // Code page 1252 between 0x80 and 0x9F; a broken escape or a \u out of range is no text.
        {QStringLiteral("{\\rtf1 \\'80\\'93q\\'94 \\'zzx}"), QStringLiteral("\u20ac\u201cq\u201d zzx")},
        {QStringLiteral("{\\rtf1 a\\u99999?b}"), QStringLiteral("ab")},
        // A replacement character stops skipping at the end of its group.
        {QStringLiteral("{\\rtf1\\uc3{\\u8364 a}bcd}"), QStringLiteral("\u20acbcd")},
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

// Texts beyond ASCII, beyond the basic plane, line breaks inside a paragraph and raised or
// lowered characters come back from a cell as they went in, from 7-bit RTF.
TEST(GridRichText, RoundTripsKeepEveryCharacterAndOffset)
{
    const QString texts[] = {
        QStringLiteral("Grüße, naïve café"),
        QStringLiteral("日本語のテキスト"),
        QStringLiteral("emoji \U0001F600 and \U00010348"),
        QStringLiteral("first\u2028second"),
        QStringLiteral("\u00ff\u0100\u7fff\u8000\uffef"),
    };
    TExtStringGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        QTextEdit editor;
        QTextCursor cursor(editor.document());
        cursor.insertText(text);
        RichToCell(grid, 1, 1, editor);
        const QString rtf = grid.Cells(1, 1);
        for (const QChar ch : rtf)
            ASSERT_LT(ch.unicode(), 128) << rtf.toStdString();
        QTextEdit back;
        CellToRich(grid, 1, 1, back);
        EXPECT_EQ(back.toPlainText(), editor.toPlainText());
        EXPECT_EQ(back.document()->blockCount(), 1);
    }

    QTextEdit editor;
    QTextCursor cursor(editor.document());
    QTextCharFormat up, down;
    SetCharOffset(up, 40);
    SetCharOffset(down, -40);
    cursor.insertText(QStringLiteral("x"), QTextCharFormat());
    cursor.insertText(QStringLiteral("2"), up);
    cursor.insertText(QStringLiteral("H"), QTextCharFormat());
    cursor.insertText(QStringLiteral("2"), down);
    RichToCell(grid, 1, 1, editor);
    EXPECT_TRUE(grid.Cells(1, 1).contains(QStringLiteral("\\up4")));
    EXPECT_TRUE(grid.Cells(1, 1).contains(QStringLiteral("\\dn4")));
    QTextEdit back;
    CellToRich(grid, 1, 1, back);
    const int offsets[] = {0, 40, 0, -40};
    for (int i = 0; i < 4; ++i) {
        QTextCursor at(back.document());
        at.setPosition(i + 1);
        EXPECT_EQ(CharOffset(at.charFormat()), offsets[i]) << i;
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
