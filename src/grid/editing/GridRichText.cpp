#include "grid/editing/GridRichText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <vector>

#include "grid/core/ExtStringGrid.h"

namespace grid::editing {

namespace {

void AppendEscaped(QString& out, const QString& text)
{
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (ch == QLatin1Char('\\') || ch == QLatin1Char('{') || ch == QLatin1Char('}')) {
            out += QLatin1Char('\\');
            out += ch;
        } else if (u == '\t') {
            out += QStringLiteral("\\tab ");
        } else if (u == 0x2028 || u == '\n') {
            out += QStringLiteral("\\line ");
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            out += ch;
        } else {
            // Signed 16-bit, with "?" for readers that do not know \u.
            out += QStringLiteral("\\u%1?").arg(int(int16_t(u)));
        }
    }
}

}  // namespace

QString DocumentToRtf(const QTextDocument& document)
{
    QString out = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 ");
    AppendEscaped(out, document.defaultFont().family());
    out += QStringLiteral(";}}\\uc1\\pard ");
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!first)
            out += QStringLiteral("\\par\n");
        first = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat f = fragment.charFormat();
            const bool bold = f.fontWeight() >= QFont::Bold, italic = f.fontItalic(), under = f.fontUnderline();
            out += QLatin1Char('{');
            if (bold)
                out += QStringLiteral("\\b");
            if (italic)
                out += QStringLiteral("\\i");
            if (under)
                out += QStringLiteral("\\ul");
            if (bold || italic || under)
                out += QLatin1Char(' ');
            AppendEscaped(out, fragment.text());
            out += QLatin1Char('}');
        }
    }
    out += QStringLiteral("}");
    return out;
}

void RtfToDocument(const QString& rtf, QTextDocument& document)
{
    document.clear();
    QTextCursor cursor(&document);
    if (!rtf.startsWith(QStringLiteral("{\\rtf"))) {
        cursor.insertText(rtf);
        return;
    }
    struct TState {
        bool Bold = false, Italic = false, Under = false, Skip = false;
        int Uc = 1;
    };
    std::vector<TState> stack{TState{}};
    int skipChars = 0;  // replacement characters after a \u still to drop
    auto put = [&](const QString& text) {
        if (stack.back().Skip || text.isEmpty())
            return;
        QTextCharFormat f;
        f.setFontWeight(stack.back().Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(stack.back().Italic);
        f.setFontUnderline(stack.back().Under);
        cursor.insertText(text, f);
    };
    const int n = int(rtf.size());
    for (int i = 0; i < n; ++i) {
        const QChar ch = rtf.at(i);
        if (ch == QLatin1Char('{')) {
            stack.push_back(stack.back());
            continue;
        }
        if (ch == QLatin1Char('}')) {
            if (stack.size() > 1)
                stack.pop_back();
            continue;
        }
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
            continue;
        if (ch != QLatin1Char('\\')) {
            if (skipChars > 0)
                --skipChars;
            else
                put(QString(ch));
            continue;
        }
        if (++i >= n)
            break;
        const QChar c = rtf.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            if (skipChars > 0)
                --skipChars;
            else
                put(QString(c));
            continue;
        }
        if (c == QLatin1Char('\'')) {
            const int code = rtf.mid(i + 1, 2).toInt(nullptr, 16);
            i += 2;
            if (skipChars > 0)
                --skipChars;
            else
                put(QString(QChar(code)));
            continue;
        }
        if (c == QLatin1Char('*')) {
            stack.back().Skip = true;
            continue;
        }
        if (!c.isLetter()) {
            if (c == QLatin1Char('~'))
                put(QString(QChar(0xA0)));
            continue;
        }
        int j = i;
        while (j < n && rtf.at(j).isLetter())
            ++j;
        const QString word = rtf.mid(i, j - i);
        int k = j;
        if (k < n && (rtf.at(k) == QLatin1Char('-') || rtf.at(k).isDigit()))
            ++k;
        while (k < n && rtf.at(k).isDigit())
            ++k;
        const bool hasParam = k > j;
        const int param = hasParam ? rtf.mid(j, k - j).toInt() : 1;
        i = k - 1;
        if (k < n && rtf.at(k) == QLatin1Char(' '))
            i = k;
        TState& s = stack.back();
        if (word == QLatin1String("par") || word == QLatin1String("line")) {
            if (!s.Skip)
                cursor.insertBlock();
        } else if (word == QLatin1String("tab")) {
            put(QStringLiteral("\t"));
        } else if (word == QLatin1String("b")) {
            s.Bold = param != 0;
        } else if (word == QLatin1String("i")) {
            s.Italic = param != 0;
        } else if (word == QLatin1String("ul")) {
            s.Under = param != 0;
        } else if (word == QLatin1String("ulnone")) {
            s.Under = false;
        } else if (word == QLatin1String("plain")) {
            s.Bold = s.Italic = s.Under = false;
        } else if (word == QLatin1String("uc")) {
            s.Uc = std::max(0, param);
        } else if (word == QLatin1String("u")) {
            put(QString(QChar(ushort(param < 0 ? param + 65536 : param))));
            skipChars = s.Uc;
        } else if (word == QLatin1String("fonttbl") || word == QLatin1String("colortbl") ||
                   word == QLatin1String("stylesheet") || word == QLatin1String("info") ||
                   word == QLatin1String("pict")) {
            s.Skip = true;
        }
    }
}

void CellToRich(TExtStringGrid& grid, int col, int row, QTextEdit& editor)
{
    const QString text = grid.Cells(col, row);
    if (text.isEmpty()) {
        editor.clear();
        return;
    }
    RtfToDocument(text, *editor.document());
}

QString RichToString(TExtStringGrid& grid, const QTextEdit& editor)
{
    if (grid.Destroying)
        return QString();
    return DocumentToRtf(*editor.document());
}

void RichToCell(TExtStringGrid& grid, int col, int row, const QTextEdit& editor)
{
    grid.SetCellEx(col, row, RichToString(grid, editor));
}

}  // namespace grid::editing
