#include "grid/editing/GridRichText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <algorithm>
#include <vector>

#include "grid/core/ExtStringGrid.h"
#include "platform/Windows1252.h"

namespace grid::editing {

namespace {

constexpr int OffsetProperty = QTextFormat::UserProperty + 0x0E51;

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
        } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter) {
            continue;
        } else if (u < 0x80) {
            out += ch;
        } else {
            // Signed 16-bit, with "?" for readers that do not know \u; a character beyond the
            // basic plane goes as its two UTF-16 units.
            out += QStringLiteral("\\u%1?").arg(int(int16_t(u)));
        }
    }
}

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

bool IsSkippedDestination(const QString& word)
{
    static const char* const names[] = {"fonttbl",    "colortbl", "stylesheet", "info",       "pict",
                                        "header",     "footer",   "footnote",   "fldinst",    "object",
                                        "listtable",  "listoverridetable",      "rsidtbl",    "generator",
                                        "themedata",  "datastore", "latentstyles", "xmlnstbl", "headerl",
                                        "headerr",    "footerl",  "footerr"};
    for (const char* name : names)
        if (word == QLatin1String(name))
            return true;
    return false;
}

}  // namespace

int CharOffset(const QTextCharFormat& format) { return format.intProperty(OffsetProperty); }

void SetCharOffset(QTextCharFormat& format, int twips)
{
    format.setProperty(OffsetProperty, twips);
    format.setVerticalAlignment(twips > 0   ? QTextCharFormat::AlignSuperScript
                                : twips < 0 ? QTextCharFormat::AlignSubScript
                                            : QTextCharFormat::AlignNormal);
}

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
            const int offset = CharOffset(f);
            QString controls;
            if (bold)
                controls += QStringLiteral("\\b");
            if (italic)
                controls += QStringLiteral("\\i");
            if (under)
                controls += QStringLiteral("\\ul");
            // Half points: 40 twips are \up4.
            if (offset > 0)
                controls += QStringLiteral("\\up%1").arg(std::max(1, offset / 10));
            else if (offset < 0)
                controls += QStringLiteral("\\dn%1").arg(std::max(1, -offset / 10));
            out += QLatin1Char('{');
            if (!controls.isEmpty())
                out += controls + QLatin1Char(' ');
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
        int Offset = 0;  // twips
        int Uc = 1;
    };
    std::vector<TState> stack{TState{}};
    int skipChars = 0;  // replacement characters after a \u still to drop
    // Text is gathered while its format stays the same and inserted in one piece, so that a
    // character beyond the basic plane arrives whole.
    QString pending;
    QTextCharFormat pendingFormat;
    auto flush = [&] {
        if (!pending.isEmpty())
            cursor.insertText(pending, pendingFormat);
        pending.clear();
    };
    auto put = [&](const QString& text) {
        const TState& s = stack.back();
        if (s.Skip || text.isEmpty())
            return;
        QTextCharFormat f;
        f.setFontWeight(s.Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.Italic);
        f.setFontUnderline(s.Under);
        SetCharOffset(f, s.Offset);
        if (!pending.isEmpty() && f != pendingFormat)
            flush();
        pendingFormat = f;
        pending += text;
    };
    // One character of text, or its drop when it stands in for a \u before it.
    auto character = [&](const QString& text) {
        if (skipChars > 0)
            --skipChars;
        else
            put(text);
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
            skipChars = 0;
            continue;
        }
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
            continue;
        if (ch != QLatin1Char('\\')) {
            character(QString(ch));
            continue;
        }
        if (++i >= n)
            break;
        const QChar c = rtf.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            character(QString(c));
            continue;
        }
        if (c == QLatin1Char('\'')) {
            const int hi = i + 1 < n ? HexDigit(rtf.at(i + 1)) : -1;
            const int lo = i + 2 < n ? HexDigit(rtf.at(i + 2)) : -1;
            if (hi < 0 || lo < 0)
                continue;  // a broken escape stands for nothing
            i += 2;
            character(QString(platform::From_Windows_1252(static_cast<unsigned char>(hi * 16 + lo))));
            continue;
        }
        if (c == QLatin1Char('*')) {
            stack.back().Skip = true;
            continue;
        }
        if (!c.isLetter()) {
            if (c == QLatin1Char('~'))
                character(QString(QChar(0xA0)));
            continue;
        }
        int j = i;
        while (j < n && rtf.at(j).isLetter() && rtf.at(j).unicode() < 0x80)
            ++j;
        const QString word = rtf.mid(i, j - i);
        int k = j;
        if (k < n && (rtf.at(k) == QLatin1Char('-') || rtf.at(k).isDigit()))
            ++k;
        while (k < n && rtf.at(k).isDigit() && k - j < 10)
            ++k;
        const bool hasParam = k > j && rtf.at(k - 1).isDigit();
        bool ok = false;
        const long long value = hasParam ? rtf.mid(j, k - j).toLongLong(&ok) : 1;
        const int param = ok ? int(std::clamp<long long>(value, -100000, 100000)) : 1;
        i = k - 1;
        if (k < n && rtf.at(k) == QLatin1Char(' '))
            i = k;
        TState& s = stack.back();
        if (word == QLatin1String("par")) {
            if (!s.Skip) {
                flush();
                cursor.insertBlock();
            }
        } else if (word == QLatin1String("line")) {
            put(QString(QChar(QChar::LineSeparator)));
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
        } else if (word == QLatin1String("up")) {
            s.Offset = (hasParam ? param : 6) * 10;
        } else if (word == QLatin1String("dn")) {
            s.Offset = -(hasParam ? param : 6) * 10;
        } else if (word == QLatin1String("super")) {
            s.Offset = 40;
        } else if (word == QLatin1String("sub")) {
            s.Offset = -40;
        } else if (word == QLatin1String("nosupersub")) {
            s.Offset = 0;
        } else if (word == QLatin1String("plain")) {
            s.Bold = s.Italic = s.Under = false;
            s.Offset = 0;
        } else if (word == QLatin1String("uc")) {
            s.Uc = std::max(0, param);
        } else if (word == QLatin1String("u")) {
            // A signed 16-bit unit; anything outside that range is no character.
            if (hasParam && param >= -32768 && param <= 65535) {
                if (!s.Skip)
                    put(QString(QChar(ushort(param < 0 ? param + 65536 : param))));
            }
            skipChars = s.Uc;
        } else if (IsSkippedDestination(word)) {
            s.Skip = true;
        }
    }
    flush();
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
