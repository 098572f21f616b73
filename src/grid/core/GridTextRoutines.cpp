// CSV, HTML and string routines of the grid's utility unit.
#include <QStringConverter>

#include "grid/core/GridTextUtils.h"

#include "controls/dropdowns/DropDownEdit.h"

namespace grid {

namespace {
constexpr QChar CR(13);
constexpr QChar LF(10);
const QString CRLF = QStringLiteral("\r\n");

int Pos1(qsizetype index) { return index < 0 ? 0 : int(index) + 1; }
}  // namespace

int WidePos(const QString& sub, const QString& text) { return Pos1(text.indexOf(sub)); }

void CSVQuoteLines(QString& text)
{
    text.replace(CRLF, QString(QChar(11)));
    text = QLatin1Char('"') + text + QLatin1Char('"');
}

void TVToCRLF(QString& text)
{
    if (text.contains(QChar(11)))
        text.replace(QChar(11), CRLF);
}

void CRLFToTilde(QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == CR)
            out += QLatin1Char('~');
        else if (c != LF)
            out += c;
    }
    text = out;
}

void TildeToCRLF(QString& text)
{
    text.replace(QLatin1Char('~'), CRLF);
    if (text == QLatin1String("^"))
        text.clear();
}

void CRLFToLF(QString& text) { text.replace(CRLF, QString(LF)); }

QString StripCR(const QString& text)
{
    QString s = text;
    s.remove(CR);
    return s;
}

QString CRToLF(const QString& text)
{
    QString s = text;
    s.replace(CR, LF);
    return s;
}

QString CRToHTMLBreak(const QString& text)
{
    if (!text.contains(CR))
        return text;
    QString s = text;
    s.replace(CR, QStringLiteral("<br>"));
    return s;
}

bool IsURL(const QString& text)
{
    return text.contains(QLatin1String("://")) || text.contains(QLatin1String("mailto:"));
}

void StripURLProtocol(QString& text)
{
    qsizetype p = text.indexOf(QLatin1String("://"));
    if (p >= 0) {
        text.remove(0, p + 3);
        return;
    }
    p = text.indexOf(QLatin1String("mailto:"));
    if (p >= 0)
        text.remove(0, p + 7);
}

namespace {
bool IsLinkChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u > 255)
        return false;
    if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
        return true;
    return QStringView(u"%()-./:@\\_{}").contains(c);
}
}  // namespace

bool LinkURLPrefix(const QString& text, const QString& upperPrefix, QString& out)
{
    if (upperPrefix.isEmpty() || !text.toUpper().contains(upperPrefix))
        return false;
    QString s = text;
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    const qsizetype start = s.toUpper().indexOf(upperPrefix);
    if (start < 0)
        return false;
    qsizetype end = start;
    while (end < s.size() && IsLinkChar(s.at(end)))
        ++end;
    const QString link = s.mid(start, end - start);
    out = s.left(start) + QLatin1String("<a href=\"") + link + QLatin1String("\">") + link +
          QLatin1String("</a>") + s.mid(end);
    return true;
}

QString ColorToHTMLHex(TColor color)
{
    return QString::asprintf("%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void MakeClipboardHTML(QString& fragment)
{
    static const QString doctype =
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    static const QString head = QStringLiteral(
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"></head>"
        "<body><!--StartFragment-->");
    static const QString tail = QStringLiteral("<!--EndFragment--></body></html>");
    const qsizetype n = fragment.size();
    auto label = [](const char* name, qsizetype value) {
        return QString::asprintf("%s%.8lld", name, static_cast<long long>(value)) + CRLF;
    };
    const qsizetype headerSize = 97;
    const qsizetype startFragment = headerSize + doctype.size() + head.size();
    QString out = QStringLiteral("Version:1.0\r\n");
    out += label("StartHTML:", headerSize);
    out += label("EndHTML:", startFragment + n + tail.size());
    out += label("StartFragment:", startFragment);
    out += label("EndFragment:", startFragment + n);
    out += doctype + head + fragment + tail;
    fragment = out;
}

QString UndoubleChar(QChar c, const QString& text)
{
    if (!text.contains(c))
        return text;
    QString s = text;
    s.replace(QString(2, c), QString(c));
    return s;
}

int FindUnpairedChar(QChar c, const QString& text, int& pos)
{
    pos = 0;
    const qsizetype n = text.size();
    qsizetype run = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) != c) {
            run = 0;
            continue;
        }
        ++run;
        const bool runEnds = i + 1 == n || text.at(i + 1) != c;
        if (i + 1 == n || (runEnds && run % 2 == 1)) {
            pos = int(i) + 1;
            return pos;
        }
    }
    return 0;
}

int CountUnpairedChar(QChar c, const QString& text)
{
    int count = 0;
    QString rest = text;
    int pos = 0;
    while (FindUnpairedChar(c, rest, pos) > 0) {
        ++count;
        rest = rest.mid(pos);
    }
    return count;
}

int CharPos(QChar c, const QString& text) { return Pos1(text.indexOf(c)); }

int CharPosAndSet(QChar c, const QString& text, int& pos)
{
    const int p = CharPos(c, text);
    if (p > 0)
        pos = p;
    return p;
}

int PosAndSet(const QString& sub, const QString& text, int& pos)
{
    const int p = Pos1(text.indexOf(sub));
    if (p > 0)
        pos = p;
    return p;
}

int UpperCasePos(const QString& upperSub, const QString& text)
{
    QString upper = text;
    for (QChar& c : upper)
        if (c >= 'a' && c <= 'z')
            c = QChar(c.unicode() - 32);
    return Pos1(upper.indexOf(upperSub));
}

QString JoinStrings(const QStringList& list) { return list.join(QString()); }

QString CapitalizeWords(const QString& text) { return dropdowns::CapitalizeWords(text); }

bool ParseRCCellRef(const QString& text, int& col, int& row)
{
    const QString s = text.toUpper();
    if (s.size() <= 3 || !s.startsWith(QLatin1Char('R')))
        return false;
    const qsizetype cp = s.indexOf(QLatin1Char('C'));
    if (cp < 0)
        return false;
    bool okRow = false, okCol = false;
    const QString rowText = s.mid(1, cp - 1);
    const QString colText = s.mid(cp + 1);
    const int r = rowText.toInt(&okRow, 10);
    const int c = colText.toInt(&okCol, 10);
    if (!okRow || !okCol || rowText.trimmed() != rowText || colText.trimmed() != colText)
        return false;
    row = r;
    col = c;
    return true;
}

namespace {
// One character per byte, so that the converted text keeps its length and can be written out
// byte for byte.
QString Recode(const QString& text, bool toOem)
{
    if (toOem) {
        QStringEncoder enc("IBM850", QStringConverter::Flag::Stateless);
        if (!enc.isValid())
            return text;
        return QString::fromLatin1(QByteArray(enc(text)));
    }
    QStringDecoder dec("IBM850", QStringConverter::Flag::Stateless);
    if (!dec.isValid())
        return text;
    return QString(dec(text.toLatin1()));
}
}  // namespace

void StrToOem(QString& text) { text = Recode(text, true); }
void OemToStr(QString& text) { text = Recode(text, false); }

void FillWithChar(QString& text, QChar c) { text.fill(c); }

}  // namespace grid
