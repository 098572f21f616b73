#pragma once
#include <QString>
#include <QTextCharFormat>

class QTextEdit;
class QTextDocument;

namespace grid {
class TExtStringGrid;
}

namespace grid::editing {

// Rich text between a cell and a rich-text editor. The cell holds RTF written in 7-bit characters:
// characters beyond ASCII travel as \u escapes, so no code page is needed to read them back. The
// reader knows the paragraph, line, tab, bold, italic, underline and raised or lowered text
// controls, \u, \uc and \'hh escapes (code page 1252), and skips the tables and destinations it
// does not show.

// The vertical offset of characters in twips (raised above 0, lowered below), kept in the
// character format; it shows as superscript or subscript.
int CharOffset(const QTextCharFormat& format);
void SetCharOffset(QTextCharFormat& format, int twips);

// The document as RTF.
QString DocumentToRtf(const QTextDocument& document);
// Fills the document from RTF; a text that is not RTF becomes plain text.
void RtfToDocument(const QString& rtf, QTextDocument& document);

// The cell (real column) into the editor: an empty cell clears it.
void CellToRich(TExtStringGrid& grid, int col, int row, QTextEdit& editor);
// The editor's content as RTF; nothing while the grid is being destroyed.
QString RichToString(TExtStringGrid& grid, const QTextEdit& editor);
void RichToCell(TExtStringGrid& grid, int col, int row, const QTextEdit& editor);

}  // namespace grid::editing
