#include "grid/dataops/GridHtmlXml.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <cstdio>
#include <map>
#include <memory>

#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridBinCells.h"
#include "platform/FileFormats.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/TCanvas.h"
#include "platform/XmlDoc.h"

namespace grid::dataops {

namespace {

constexpr TColor NotGiven = 0x7FFFFFFF;

// The characters that HTML and XML text must not hold as they are.
QString EscapeMarkup(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

// XML 1.0 text: markup characters escaped, a CR kept as a reference (a parser would fold it into
// the LF after it), and the control characters that XML 1.0 cannot carry at all replaced.
QString EscapeXmlText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : EscapeMarkup(text)) {
        const char16_t u = c.unicode();
        if (u == '\r')
            out += QLatin1String("&#13;");
        else if ((u < 0x20 && u != '\t' && u != '\n') || u == 0xFFFE || u == 0xFFFF)
            out += QChar(0xFFFD);
        else
            out += c;
    }
    return out;
}

QString CellStyle(TExtStringGrid& grid, int c, int r, bool fixed)
{
    TGridDrawState state = fixed ? gdFixed : 0;
    TColor brush = NotGiven, colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TFontDesc font;
    font.Color = NotGiven;
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    bool wordWrap = false;
    TCellGradientDirection gradient = GradientVertical;
    grid.GetVisualProperties(c, r, state, false, false, true, brush, colorTo, mirror, mirrorTo, font, hAlign, vAlign,
                             wordWrap, gradient);
    if (fixed)
        brush = grid.FixedColor;
    QStringList d;
    const bool save = grid.HTMLSettings.SaveColor;
    if (save && brush != NotGiven && brush != clNone)
        d << QStringLiteral("background-color: #") + ColorToHTMLHex(platform::ColorToRGB(brush));
    if (save && font.Color != NotGiven && font.Color != clNone)
        d << QStringLiteral("color: #") + ColorToHTMLHex(platform::ColorToRGB(font.Color));
    d << QStringLiteral("font-size:%1pt").arg(font.Size);
    if (font.Style & fsItalic)
        d << QStringLiteral("font-style: italic");
    if (font.Style & fsBold)
        d << QStringLiteral("font-weight: bold");
    d << QStringLiteral("font-family: ") + font.Name;
    if (hAlign == taRightJustify)
        d << QStringLiteral("text-align: right");
    else if (hAlign == taCenter)
        d << QStringLiteral("text-align: center");
    d << (vAlign == vtaTop      ? QStringLiteral("vertical-align: top")
          : vAlign == vtaCenter ? QStringLiteral("vertical-align: middle")
                                : QStringLiteral("vertical-align: bottom"));
    return d.join(QLatin1Char(';'));
}

// A link around a text that names one; the address is quoted and escaped.
QString Linked(TExtStringGrid& grid, const QString& text)
{
    if (!grid.URLShow || text.contains(QLatin1String("</")))
        return text;
    auto anchor = [&](const QString& shown) {
        return QStringLiteral("<a href=\"") + EscapeMarkup(text) + QStringLiteral("\">") + shown + QStringLiteral("</a>");
    };
    const qsizetype mail = text.indexOf(QLatin1String("mailto:"));
    if (mail >= 0)
        return anchor(grid.URLFull ? text : text.mid(mail + 7));
    const qsizetype proto = text.indexOf(QLatin1String("://"));
    if (proto >= 0)
        return anchor(grid.URLFull ? text : text.mid(proto + 3).left(255));
    return text;
}

struct THtmlExport {
    TExtStringGrid& Grid;
    QString Dir;
    std::map<QString, int> Classes;
    QStringList ClassOrder;
    int Picture = 0;

    int ClassOf(const QString& style)
    {
        const auto it = Classes.find(style);
        if (it != Classes.end())
            return it->second;
        const int n = int(ClassOrder.size());
        Classes.emplace(style, n);
        ClassOrder << style;
        return n;
    }

    QString Img(const QImage& image)
    {
        if (image.isNull())
            return {};
        const QString folder = Dir + QStringLiteral("images");
        if (!QDir().mkpath(folder))
            throw EExtGridError(QStringLiteral("Cannot create ") + folder);
        const QString file = folder + QStringLiteral("/img%1.jpg").arg(++Picture);
        QByteArray jpeg;
        if (!platform::FileFormats().EncodeJpeg(image, jpeg))
            throw EExtGridError(QStringLiteral("Cannot write picture ") + file);
        try {
            platform::WriteFileAtomic(file, jpeg);
        } catch (const platform::Exception& e) {
            throw EExtGridError(e.message());
        }
        return QStringLiteral("<img src= \"") + EscapeMarkup(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString()) +
               QStringLiteral("\">");
    }

    QString Content(int realCol, int r, const QString& text)
    {
        if (!Grid.HTMLSettings.ExportImages)
            return text;
        const TCellGraphic* g = Grid.GetCellGraphic(realCol, r);
        if (!g)
            return text;
        const auto* list = dynamic_cast<const TGridImageList*>(Grid.GridImages);
        auto listImage = [&](int i) {
            return list && i >= 0 && i < list->List.Count() ? Img(list->List.Image(i)) : QString();
        };
        switch (g->CellType) {
        case ctBitmap:
        case ctPicture:
        case ctInterface: {
            const auto* bitmap = dynamic_cast<const TGridBitmap*>(g->CellBitmap);
            return bitmap ? text + Img(bitmap->Image) : text;
        }
        case ctImageList: return list ? listImage(g->CellIndex) + text : text;
        case ctDataImage: {
            bool ok = false;
            const int i = Grid.GetCellEx(realCol, r).trimmed().toInt(&ok);
            return ok ? listImage(i) : QString();
        }
        case ctImages: {
            if (!list)
                return text;
            QString out;
            if (TIntList* images = const_cast<TCellGraphic*>(g)->Images())
                for (int i : images->Values())
                    out += listImage(i);
            return out + text;
        }
        case ctNode: return QStringLiteral("+") + text;
        default: return text;
        }
    }

    QString CellLine(int c, int r, bool fixed, const QString& content, const QString& width)
    {
        const int realCol = Grid.DisplToRealCol(c);
        const TPoint span = Grid.CellSpan(realCol, r);
        QString line = QStringLiteral("<TD class=\"c%1\"").arg(ClassOf(CellStyle(Grid, c, r, fixed)));
        if (span.X > 0)
            line += QStringLiteral(" COLSPAN=\"%1\"").arg(span.X + 1);
        if (span.Y > 0)
            line += QStringLiteral(" ROWSPAN=\"%1\"").arg(span.Y + 1);
        const TCellProperties* p = Grid.CellProps(realCol, r);
        if (!(p ? p->WordWrap() : Grid.WordWrap))
            line += QStringLiteral(" nowrap");
        return line + width + QLatin1Char('>') + content + QStringLiteral("</td>");
    }

    bool IsBase(int c, int r)
    {
        const int realCol = Grid.DisplToRealCol(c);
        const TPoint b = Grid.BaseCell(realCol, r);
        return b.X == realCol && b.Y == r;
    }

    QString SaveText(int c, int r)
    {
        const int realCol = Grid.DisplToRealCol(c);
        QString text = Grid.GetCellEx(realCol, r);
        Grid.SaveCell(realCol, r, text);
        return text;
    }
};

}  // namespace

QString SaveToHTMLString(TExtStringGrid& grid, const QString& dir)
{
    const THTMLSettings& hs = grid.HTMLSettings;
    THtmlExport ex{grid, dir, {}, {}, 0};
    const int startCol = grid.SaveFixedCells || grid.SaveFixedCols ? 0 : grid.FixedCols();
    int startRow = grid.SaveFixedCells || grid.SaveFixedRows ? 0 : grid.FixedRows();
    QStringList head, lines;
    if (hs.XHTML) {
        head << QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>")
             << QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"")
             << QStringLiteral("\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">")
             << QStringLiteral("<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">");
    }
    if (!hs.PrefixTag.isEmpty())
        lines << hs.PrefixTag;
    QString table = QStringLiteral("<TABLE BORDER=\"%1\" CELLSPACING=\"%2\" CELLPADDING=\"%3\" ")
                        .arg(hs.BorderSize)
                        .arg(hs.CellSpacing)
                        .arg(hs.CellPadding);
    if (!hs.Summary.isEmpty())
        table += QStringLiteral("SUMMARY=\"") + EscapeMarkup(hs.Summary) + QStringLiteral("\" ");
    if (!hs.TableStyle.isEmpty())
        table += QLatin1Char(' ') + hs.TableStyle + QLatin1Char(' ');
    table += QStringLiteral(" WIDTH=\"%1%\">").arg(hs.Width);
    lines << table;
    const bool header = grid.FixedRows() > 0 && (grid.SaveFixedCells || grid.SaveFixedRows);
    if (header) {
        lines << QStringLiteral("<TR>");
        for (int c = startCol; c < grid.ColCount(); ++c) {
            if (!ex.IsBase(c, 0))
                continue;
            QString text = Linked(grid, CRToHTMLBreak(ex.SaveText(c, 0)));
            if (text.isEmpty())
                text = QStringLiteral("&nbsp;");
            const QString width =
                c < hs.ColWidths.Count() ? QStringLiteral(" WIDTH=%1").arg(hs.ColWidths.GetInteger(c)) : QString();
            lines << ex.CellLine(c, 0, true, ex.Content(grid.DisplToRealCol(c), 0, text), width);
        }
        lines << QStringLiteral("</TR>");
        startRow = 1;
    }
    grid.ExportNotification(esExportStart, startRow);
    for (int r = startRow; r < grid.RowCount(); ++r) {
        grid.ExportNotification(esExportNextRow, r);
        lines << QStringLiteral("<TR>");
        for (int c = startCol; c < grid.ColCount(); ++c) {
            if (!ex.IsBase(c, r))
                continue;
            QString text = ex.SaveText(c, r);
            if (hs.ConvertSpecialChars)
                text = EscapeMarkup(text);
            if (hs.NonBreakingText)
                text.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
            text = Linked(grid, CRToHTMLBreak(text));
            if (text.trimmed().isEmpty())
                text = QStringLiteral("&nbsp;");
            const int k = c - startCol;
            const QString width = !header && k < hs.ColWidths.Count()
                                      ? QStringLiteral(" width=%1").arg(hs.ColWidths.GetInteger(k))
                                      : QString();
            const bool fixed = c < grid.FixedCols() || r < grid.FixedRows();
            lines << ex.CellLine(c, r, fixed, ex.Content(grid.DisplToRealCol(c), r, text), width);
        }
        lines << QStringLiteral("</TR>");
    }
    grid.ExportNotification(esExportDone, -1);
    lines << QStringLiteral("</TABLE>");
    if (!hs.SuffixTag.isEmpty())
        lines << hs.SuffixTag;
    if (hs.XHTML)
        lines << QStringLiteral("</HTML>");
    QString out;
    for (const QString& l : head)
        out += l + QStringLiteral("\r\n");
    out += QStringLiteral("<style>\r\n");
    for (int i = 0; i < ex.ClassOrder.size(); ++i)
        out += QStringLiteral(".c%1 {%2}\r\n").arg(i).arg(ex.ClassOrder[i]);
    out += QStringLiteral("</style>\r\n");
    for (const QString& l : lines)
        out += l + QStringLiteral("\r\n");
    return out;
}

namespace {

QString ReadTextFile(const QString& fileName)
{
    const QByteArray bytes = platform::ReadWholeFile(fileName);
    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder(bytes);
}

void WriteHTML(TExtStringGrid& grid, const QString& fileName, bool show, bool unicode, const QString& before)
{
    const THTMLSettings& hs = grid.HTMLSettings;
    QString page = before;
    if (!hs.HeaderFile.isEmpty())
        page += ReadTextFile(hs.HeaderFile);
    QString dir = QFileInfo(fileName).absolutePath();
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    page += SaveToHTMLString(grid, dir);
    if (!hs.FooterFile.isEmpty())
        page += ReadTextFile(hs.FooterFile);
    QStringEncoder encoder(unicode ? QStringConverter::Utf16LE : QStringConverter::Utf8,
                           QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder(page);
    try {
        platform::WriteFileAtomic(fileName, bytes);
    } catch (const platform::Exception& e) {
        throw EExtGridError(e.message());
    }
    if (show || hs.AutoPreview)
        platform::OpenLink(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()).toString());
}

}  // namespace

void SaveToHTML(TExtStringGrid& grid, const QString& fileName, bool show, bool unicode)
{
    WriteHTML(grid, fileName, show, unicode, QString());
}

void AppendToHTML(TExtStringGrid& grid, const QString& fileName, bool show, bool unicode)
{
    QString before;
    try {
        if (QFileInfo::exists(fileName))
            before = ReadTextFile(fileName);
    } catch (const platform::Exception&) {
        before.clear();
    }
    WriteHTML(grid, fileName, show, unicode, before);
}

// ---- XML ----

namespace {
// An element name that XML accepts (the ASCII part of its name rule); anything else would make
// the file unreadable.
void CheckElementName(const QString& name)
{
    static const QRegularExpression rule(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    if (!rule.match(name).hasMatch())
        throw EExtGridError(QStringLiteral("\"%1\" is no valid XML element name").arg(name));
}
}  // namespace

void SaveToXML(TExtStringGrid& grid, const QString& fileName, const QString& listDescr, const QString& recordDescr,
               const QStringList* fieldDescr, bool exportEmptyCells)
{
    CheckElementName(listDescr);
    CheckElementName(recordDescr);
    if (fieldDescr)
        for (const QString& name : *fieldDescr)
            CheckElementName(name);
    const int hidden = grid.SaveHiddenCells ? grid.NumHiddenColumns() : 0;
    const int c0 = grid.SaveStartCol(), c1 = grid.SaveEndCol() + hidden;
    const int r0 = grid.SaveStartRow(), r1 = grid.SaveEndRow();
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<") + listDescr + QStringLiteral(">\r\n");
    grid.ExportNotification(esExportStart, r0);
    for (int r = r0; r <= r1; ++r) {
        grid.ExportNotification(esExportNextRow, r);
        out += QLatin1Char('<') + recordDescr + QStringLiteral(">\r\n");
        for (int c = c0; c <= c1; ++c) {
            const int realCol = grid.DisplToRealCol(c);
            const TPoint b = grid.BaseCell(realCol, r);
            if (b.X != realCol || b.Y != r)
                continue;
            QString text = grid.GetCellEx(realCol, r);
            grid.SaveCell(realCol, r, text);
            if (text.isEmpty()) {
                if (!exportEmptyCells)
                    continue;
                if (grid.QuoteEmptyCells)
                    text = QStringLiteral("\"\"");
            }
            const int k = c - c0;
            const QString tag = fieldDescr && k < fieldDescr->size() ? fieldDescr->at(k) : QStringLiteral("FIELD%1").arg(k);
            out += QLatin1Char('<') + tag + QLatin1Char('>') + EscapeXmlText(text) + QStringLiteral("</") + tag +
                   QStringLiteral(">\r\n");
        }
        out += QStringLiteral("</") + recordDescr + QStringLiteral(">\r\n");
    }
    grid.ExportNotification(esExportDone, -1);
    out += QStringLiteral("</") + listDescr + QStringLiteral(">\r\n");
    try {
        platform::WriteFileAtomic(fileName, out.toUtf8());
    } catch (const platform::Exception&) {
        throw EExtGridError(QStringLiteral("Cannot Create file ") + fileName);
    }
}

namespace {

constexpr int MaxXmlDepth = 64;

struct TXmlLoad {
    TExtStringGrid& Grid;
    bool LevelToRow, LoadFieldDescr, Legacy, HeaderRow;
    int C = 0, R = 0, ColOff = 0, RowOff = 0, MaxCol = 0, MaxRow = 0, Depth = 1;
    struct TCellText {
        int Col, Row;
        QString Text;
    };
    std::vector<TCellText> Cells{};
    std::map<int, QString> Header{};

    QString Unescape(QString text) const
    {
        if (Legacy)
            text.replace(QLatin1String("$amp;"), QLatin1String("&"));
        return text;
    }
    void Place(const QString& name, const QString& text, bool header)
    {
        const int col = C + ColOff, row = R + RowOff;
        if (col < 0 || row < 0 || col >= MaxXmlCols || row >= MaxXmlRows)
            throw EExtGridError(QStringLiteral("XML file too large: cell (%1, %2) lies beyond %3 columns or %4 rows")
                                    .arg(col)
                                    .arg(row)
                                    .arg(MaxXmlCols)
                                    .arg(MaxXmlRows));
        if (header && HeaderRow && !Header.count(col) && (col >= Grid.ColCount() || Grid.Cells(col, 0).isEmpty()))
            Header[col] = name;
        Cells.push_back({col, row, text});
        MaxCol = std::max(MaxCol, col);
        MaxRow = std::max(MaxRow, row);
        ++ColOff;
    }
    void Load(const platform::XmlNode& node, int level)
    {
        if (level > MaxXmlDepth)
            throw EExtGridError(QStringLiteral("XML file nested too deeply"));
        int attributes = 0;
        node.ForEachAttributeUtf8([&](std::string_view name, std::string_view value) {
            ++attributes;
            Place(QString::fromUtf8(name.data(), qsizetype(name.size())),
                  Unescape(QString::fromUtf8(value.data(), qsizetype(value.size()))), true);
        });
        bool started = false;
        if (LevelToRow && attributes > 0) {
            ++RowOff;
            ColOff = Depth;
            started = true;
        }
        const std::vector<platform::XmlNode> children = node.ChildNodes();
        if (!children.empty()) {
            if (LevelToRow && !started) {
                ++RowOff;
                ColOff = 0;
            }
            ++Depth;
            for (const platform::XmlNode& child : children)
                Load(child, level + 1);
            return;
        }
        QString text = Unescape(node.Text());
        if (Grid.QuoteEmptyCells && text == QLatin1String("\"\""))
            text.clear();
        Place(node.NodeName(), text, LoadFieldDescr && !node.Text().isEmpty());
    }
};

// An older file declares an 8-bit encoding and holds Windows-1252 bytes: they become UTF-8 under a
// matching declaration. Answers whether the file is such an older one.
bool ToUtf8(QByteArray& bytes)
{
    static const QRegularExpression decl(QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const QString start = QString::fromLatin1(bytes.left(200));
    const QRegularExpressionMatch m = decl.match(start);
    if (!m.hasMatch())
        return false;
    const QString enc = m.captured(1).toLower();
    if (enc == QLatin1String("utf-8") || enc == QLatin1String("utf8"))
        return false;
    QStringDecoder decoder("windows-1252");
    QString text = decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
    text.replace(m.capturedStart(1), m.capturedLength(1), QStringLiteral("UTF-8"));
    bytes = text.toUtf8();
    return true;
}

}  // namespace

void LoadFromXML(TExtStringGrid& grid, const QString& fileName, bool levelToRow, bool loadFieldDescr)
{
    if (!QFileInfo::exists(fileName))
        throw EExtGridError(QStringLiteral("XML file not found"));
    QByteArray bytes;
    try {
        bytes = platform::ReadWholeFile(fileName);
    } catch (const platform::Exception& e) {
        throw EExtGridError(e.message());
    }
    const bool legacy = ToUtf8(bytes);
    platform::XmlDocument doc;
    try {
        doc.LoadFromBytes(bytes, fileName);
    } catch (const platform::Exception& e) {
        throw EExtGridError(QStringLiteral("XMLDOM Parsing error: ") + e.message());
    }
    const bool headerSaved = grid.SaveFixedCells || grid.SaveFixedRows;
    TXmlLoad load{grid, levelToRow, loadFieldDescr, legacy, headerSaved};
    load.C = grid.SaveStartCol();
    load.R = headerSaved && !loadFieldDescr ? 0 : grid.FixedRows();
    load.MaxCol = load.C;
    load.MaxRow = load.R;
    const std::vector<platform::XmlNode> records = doc.DocumentElement().ChildNodes();
    for (size_t i = 0; i < records.size(); ++i) {
        load.ColOff = 0;
        load.Depth = 1;
        if (levelToRow && i == 0) {
            int attributes = 0;
            records[i].ForEachAttributeUtf8([&](std::string_view, std::string_view) { ++attributes; });
            if (attributes < 1)
                load.RowOff = -1;
        }
        load.Load(records[i], 1);
        if (!levelToRow)
            ++load.RowOff;
    }
    // The whole file was read: now the grid changes.
    grid.SetColCount(std::max(load.MaxCol + 1, grid.FixedCols() + 1));
    grid.SetRowCount(std::max(load.MaxRow + 1, grid.FixedRows() + 1));
    for (const auto& [col, name] : load.Header)
        grid.LoadCell(col, 0, name);
    for (const TXmlLoad::TCellText& cell : load.Cells)
        grid.LoadCell(cell.Col, cell.Row, cell.Text);
    grid.CalcAllFooters();
}

}  // namespace grid::dataops
