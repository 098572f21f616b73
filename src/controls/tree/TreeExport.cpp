#include "controls/tree/StringTree.h"
#include "controls/tree/TreeColumnsAccess.h"
#include "controls/tree/TreeExport.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <cmath>

namespace tree {

using platform::TCanvas;
using platform::TColor;
using platform::TFont;

QString HtmlEscaped(const QString& text)
{
    // Qt's escaping leaves the apostrophe as it is.
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

QString DelimitedCell(const QString& text, const QString& separator)
{
    const bool quote = (!separator.isEmpty() && text.contains(separator)) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quote)
        return text;
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString LocaleListSeparator()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? QStringLiteral(";") : QStringLiteral(",");
}

namespace {

constexpr TClipFormat CF_TEXT = 1;
constexpr TClipFormat CF_UNICODETEXT = 13;

QString HtmlColour(TColor color)
{
    const TColor c = platform::ColorToRGB(color);
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void AddHtmlStyle(TBufferedString& out, const QString& name, const TFont& font)
{
    if (!name.isEmpty())
        out.Add(QLatin1Char('.') + name + QLatin1Char('{'));
    else
        out.Add(QStringLiteral(" style=\"{"));
    out.Add(QStringLiteral("font-family: '%1'; ").arg(HtmlEscaped(font.Name())));
    if (font.pointSize() < 0)
        out.Add(QStringLiteral("font-size: %1px; ").arg(font.pixelSize()));
    else
        out.Add(QStringLiteral("font-size: %1pt; ").arg(font.pointSize()));
    out.Add(QStringLiteral("font-style: %1; ").arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal")));
    out.Add(QStringLiteral("font-weight: %1; ").arg(font.bold() ? QStringLiteral("bold") : QStringLiteral("normal")));
    out.Add(QStringLiteral("text-decoration: %1; ")
                .arg(font.underline() ? QStringLiteral("underline") : QStringLiteral("none")));
    out.Add(QStringLiteral("color: ") + HtmlColour(font.Color) + QStringLiteral(";}"));
    if (name.isEmpty())
        out.Add(QStringLiteral("\""));
}

TAlignment Mirrored(TAlignment a)
{
    return a == taLeftJustify ? taRightJustify : a == taRightJustify ? taLeftJustify : a;
}

bool SameFont(const TFont& a, const TFont& b) { return a == b && a.Color == b.Color; }

// A signed 16-bit character code as the rich-text unicode escape wants it.
QByteArray RtfChar(char16_t c) { return "\\u" + QByteArray::number(int(int16_t(c))) + "\\'3f"; }

// A font name inside the font table: braces, backslashes and non-ASCII escaped.
QByteArray RtfFontName(const QString& name)
{
    QByteArray result;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}')
            result += '\\', result += char(u);
        else if (u < 0x20 || u == ';' || u > 0x7E)
            result += RtfChar(u);
        else
            result += char(u);
    }
    return result;
}

int ScreenPixelsPerInch()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

// Collects the fonts and colours of a rich-text body and writes their switches.
struct RtfWriter {
    TBufferedRawByteString Body;
    QStringList Fonts;
    std::vector<TColor> Colors;
    int CurrentFont = -1;
    int CurrentColor = -1;
    int CurrentSize = -1;
    int PixelsPerInch = 96;

    void SelectFont(const QString& name)
    {
        int i = int(Fonts.indexOf(name));
        if (i < 0) {
            Fonts << name;
            i = int(Fonts.size()) - 1;
            Body.Add("\\f" + QByteArray::number(i));
        } else if (i != CurrentFont)
            Body.Add("\\f" + QByteArray::number(i));
        CurrentFont = i;
    }
    void SelectColor(TColor color)
    {
        color = platform::ColorToRGB(color);
        auto it = std::find(Colors.begin(), Colors.end(), color);
        int i = int(it - Colors.begin());
        if (it == Colors.end()) {
            Colors.push_back(color);
            Body.Add("\\cf" + QByteArray::number(i + 1));
        } else if (i != CurrentColor)
            Body.Add("\\cf" + QByteArray::number(i + 1));
        CurrentColor = i;
    }
    void Text(const QString& text, const TFont& font)
    {
        if (text.isEmpty())
            return;
        if (font.underline())
            Body.Add("\\ul");
        if (font.italic())
            Body.Add("\\i");
        if (font.bold())
            Body.Add("\\b");
        SelectFont(font.Name());
        SelectColor(font.Color);
        const int size = font.pointSize() >= 0 ? font.pointSize() : font.pixelSize() * 72 / PixelsPerInch;
        if (size != CurrentSize) {
            Body.Add("\\fs" + QByteArray::number(2 * size));
            CurrentSize = size;
        }
        Body.Add(" ");
        for (QChar c : text) {
            if (c == QLatin1Char('\n'))
                Body.Add("{\\par}");
            else if (c != QLatin1Char('\r'))
                Body.Add(RtfChar(c.unicode()));
        }
        if (font.underline())
            Body.Add("\\ul0");
        if (font.italic())
            Body.Add("\\i0");
        if (font.bold())
            Body.Add("\\b0");
    }
    void Alignment(TAlignment a, bool writeLeft)
    {
        if (a == taRightJustify)
            Body.Add("\\qr");
        else if (a == taCenter)
            Body.Add("\\qc");
        else if (writeLeft)
            Body.Add("\\ql");
    }
};

// The export's long operation, ended on every way out.
class ExportOperation {
public:
    ExportOperation(std::function<void()> end) : FEnd(std::move(end)) {}
    ~ExportOperation() { FEnd(); }

private:
    std::function<void()> FEnd;
};

}  // namespace

// ---- sources and filters ----

PTreeNode TCustomNodeStringTree::ExportFirst(TVSTTextSourceType source)
{
    switch (source) {
    case tstInitialized: return GetFirstInitialized(false);
    case tstSelected: return GetFirstSelected(false);
    case tstCutCopySet: return GetFirstCutCopy(false);
    case tstVisible: return GetFirstVisible(nullptr, true);
    case tstChecked: return GetFirstChecked(csCheckedNormal, false);
    default: return GetFirst(false);
    }
}

PTreeNode TCustomNodeStringTree::ExportNext(TVSTTextSourceType source, PTreeNode node)
{
    switch (source) {
    case tstInitialized: return GetNextInitialized(node, false);
    case tstSelected: return GetNextSelected(node, false);
    case tstCutCopySet: return GetNextCutCopy(node, false);
    case tstVisible: return GetNextVisible(node, false);
    case tstChecked: return GetNextChecked(node, csCheckedNormal, false);
    default: return GetNext(node, false);
    }
}

bool TCustomNodeStringTree::PassesExportMode(PTreeNode node)
{
    switch (FOptions->ExportMode()) {
    case emChecked: return node->CheckState() == csCheckedNormal;
    case emUnchecked: return node->CheckState() == csUncheckedNormal;
    case emVisibleDueToExpansion: {
        PTreeNode parent = GetNodeParent(node);
        return !parent || parent->Has(vsExpanded);
    }
    case emSelected: return node->Has(vsSelected);
    default: return true;
    }
}

QString TCustomNodeStringTree::ExportCellText(PTreeNode node, TColumnIndex column, TTVExportType type, bool withStatic)
{
    TVSTGetCellTextEventArgs args{node, column, FDefaultText, QString(), type};
    DoGetText(args);
    if (withStatic && !args.StaticText.isEmpty() && (StringOptions() & toShowStaticText))
        return args.CellText + QLatin1Char(' ') + args.StaticText;
    return args.CellText;
}

bool TCustomNodeStringTree::PrepareExportFont(TCanvas& canvas, PTreeNode node, TColumnIndex column, TVSTTextType type)
{
    const TFont base = Font();
    canvas.Font = base;
    DoPaintText(node, canvas, column, type);
    return !SameFont(canvas.Font, base);
}

std::vector<TColumnIndex> TCustomNodeStringTree::ExportColumns() const
{
    std::vector<TColumnIndex> result;
    if (!ColumnsInUse(*this))
        return result;
    const TNodeTreeColumns& columns = Header().Columns();
    for (TColumnIndex c = columns.GetFirstVisibleColumn(); c > NoColumn; c = columns.GetNextVisibleColumn(c))
        result.push_back(c);
    return result;
}

// ---- HTML ----

QString TCustomNodeStringTree::ContentToHTML(TVSTTextSourceType source, const QString& caption)
{
    StartOperation(okExport);
    ExportOperation end([this] { EndOperation(okExport); });
    TBufferedString out;
    TCanvas canvas;
    const bool columnsInUse = ColumnsInUse(*this);
    const TNodeTreeColumns& columns = Header().Columns();
    const TColumnIndex mainColumn = Header().GetMainColumn();
    const uint32_t paint = FOptions->PaintOptions();
    const QString spacing = QStringLiteral("padding-left: %1px; padding-right: %1px;").arg(Margin());
    const QString line = LineStyle() == lsSolid ? QStringLiteral("solid;") : QStringLiteral("dotted;");

    QString attributes = QStringLiteral(" ");
    if (!caption.isEmpty())
        attributes += QStringLiteral("caption=\"") + HtmlEscaped(caption) + QStringLiteral("\"");
    if (BorderStyle() != bsNone)
        attributes += QStringLiteral(" border=\"%1\" frame=box").arg(BorderWidth() + 1);

    uint32_t maxLevel = 0;
    for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n))
        if (PassesExportMode(n))
            maxLevel = std::max(maxLevel, GetNodeLevel(n));

    out.Add(QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"));
    out.Add(QStringLiteral("<style type=\"text/css\">"));
    out.AddNewLine();
    AddHtmlStyle(out, QStringLiteral("default"), Font());
    out.AddNewLine();
    AddHtmlStyle(out, QStringLiteral("header"), Header().Font());
    out.AddNewLine();
    if (paint & toShowHorzGridLines) {
        out.Add(QStringLiteral(".noborder{"));
        out.Add(QStringLiteral(" border-bottom:1px; border-left: 0px; border-right: 0px; border-top: 1px;"));
        out.Add(QStringLiteral("border-style:") + line);
    } else
        out.Add(QStringLiteral(".noborder{border-style: none;"));
    out.Add(spacing + QStringLiteral("}"));
    out.AddNewLine();
    out.Add(QStringLiteral(".normalborder {vertical-align: top; "));
    out.Add(paint & toShowVertGridLines ? QStringLiteral("border-right: 1px; border-left: 1px; ")
                                        : QStringLiteral("border-right: none; border-left:none; "));
    out.Add(paint & toShowHorzGridLines ? QStringLiteral("border-top: 1px; border-bottom: 1px; ")
                                        : QStringLiteral("border-top:none; border-bottom: none;"));
    out.Add(QStringLiteral("border-width: thin; border-style: "));
    out.Add(line + spacing + QStringLiteral("}") + QStringLiteral("</style>"));
    out.AddNewLine();
    out.Add(QStringLiteral("<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor="));
    out.Add(HtmlColour(Color()) + attributes);
    out.Add(QStringLiteral(" cellspacing=\"0\">"));
    out.AddNewLine();

    const std::vector<TColumnIndex> visible = ExportColumns();
    if (columnsInUse) {
        if (OnBeforeHeaderExport)
            OnBeforeHeaderExport(this, etHTML);
        out.Add(QStringLiteral("<tr class=\"header\" style=\"") + spacing + QStringLiteral("\">"));
        out.AddNewLine();
        for (TColumnIndex c : visible) {
            if (OnBeforeColumnExport)
                OnBeforeColumnExport(this, etHTML, c);
            const TNodeTreeColumn& column = *columns[c];
            out.Add(QStringLiteral("<th height=\"%1px\"").arg(Header().Height()));
            TAlignment a = column.CaptionAlignment();
            if (column.UseRightToLeftReading()) {
                out.Add(QStringLiteral(" dir=\"rtl\""));
                a = Mirrored(a);
            }
            out.Add(a == taRightJustify ? QStringLiteral(" align=right")
                    : a == taCenter     ? QStringLiteral(" align=center")
                                        : QStringLiteral(" align=left"));
            if (c == mainColumn && maxLevel > 0)
                out.Add(QStringLiteral(" colspan=\"%1\"").arg(maxLevel + 1));
            out.Add(QStringLiteral(" bgcolor=") + HtmlColour(platform::clBtnFace));
            out.Add(QStringLiteral(" width=\"%1px\">").arg(column.Width()));
            out.Add(HtmlEscaped(column.Text()));
            out.Add(QStringLiteral("</th>"));
            if (OnAfterColumnExport)
                OnAfterColumnExport(this, etHTML, c);
        }
        out.Add(QStringLiteral("</tr>"));
        out.AddNewLine();
        if (OnAfterHeaderExport)
            OnAfterHeaderExport(this, etHTML);
    }

    const std::vector<TColumnIndex> cells = columnsInUse ? visible : std::vector<TColumnIndex>{NoColumn};
    for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n)) {
        if (!PassesExportMode(n) || (OnBeforeNodeExport && !OnBeforeNodeExport(this, etHTML, n)))
            continue;
        const uint32_t level = GetNodeLevel(n);
        const uint32_t height = NodeHeightOf(n);
        out.Add(QStringLiteral(" <tr class=\"default\">"));
        out.AddNewLine();
        for (TColumnIndex c : cells) {
            const TNodeTreeColumn* column = c > NoColumn ? columns[c] : nullptr;
            const bool fontChanged = PrepareExportFont(canvas, n, c, ttNormal);
            const bool parentColor = !column || (column->Options() & coParentColor);
            if (c == mainColumn && level > 0) {
                for (uint32_t i = 0; i < level; ++i) {
                    if (parentColor) {
                        if (i == 0)
                            out.Add(QStringLiteral(" <td height=\"%1px\" class=\"normalborder\">&nbsp;</td>").arg(height));
                        else
                            out.Add(QStringLiteral(" <td>&nbsp;</td>"));
                    } else
                        out.Add(QStringLiteral("<td class=\"noborder\" width=\"%1\" height=\"%2px\" bgcolor=%3>&nbsp;</td>")
                                    .arg(Indent())
                                    .arg(height)
                                    .arg(HtmlColour(column->Color())));
                }
            }
            if (fontChanged) {
                out.Add(QStringLiteral(" <td class=\"normalborder\" "));
                AddHtmlStyle(out, QString(), canvas.Font);
                out.Add(QStringLiteral(" height=\""));
            } else
                out.Add(QStringLiteral(" <td class=\"normalborder\"  height=\""));
            out.Add(QStringLiteral("%1px\"").arg(height));
            TAlignment a = column ? column->Alignment() : Alignment();
            if (column ? column->UseRightToLeftReading() : RightToLeft()) {
                out.Add(QStringLiteral(" dir=\"rtl\""));
                a = Mirrored(a);
            }
            out.Add(a == taRightJustify ? QStringLiteral(" align=right")
                    : a == taCenter     ? QStringLiteral(" align=center")
                                        : QStringLiteral(" align=left"));
            if (c == mainColumn && maxLevel > 0 && level < maxLevel)
                out.Add(QStringLiteral(" colspan=\"%1\"").arg(maxLevel - level + 1));
            if (columnsInUse && !parentColor)
                out.Add(QStringLiteral(" bgcolor=") + HtmlColour(column->Color()));
            out.Add(QStringLiteral(">"));
            out.Add(HtmlEscaped(ExportCellText(n, c, etHTML, true)));
            out.Add(QStringLiteral("</td>"));
        }
        if (OnAfterNodeExport)
            OnAfterNodeExport(this, etHTML, n);
        out.Add(QStringLiteral(" </tr>"));
        out.AddNewLine();
    }
    out.Add(QStringLiteral("</table>"));
    return out.AsString();
}

// ---- rich text ----

QByteArray TCustomNodeStringTree::ContentToRTF(TVSTTextSourceType source)
{
    StartOperation(okExport);
    ExportOperation end([this] { EndOperation(okExport); });
    RtfWriter rtf;
    rtf.PixelsPerInch = ScreenPixelsPerInch();
    TCanvas canvas;
    const bool columnsInUse = ColumnsInUse(*this);
    const TNodeTreeColumns& columns = Header().Columns();
    const TColumnIndex mainColumn = Header().GetMainColumn();
    const std::vector<TColumnIndex> visible = ExportColumns();
    auto twips = [&](int pixels) {
        return QByteArray::number(qint64(std::nearbyint(double(pixels) * 1440.0 / rtf.PixelsPerInch)));
    };

    rtf.Body.Add("\\uc1\\trowd\\trgaph70");
    if (columnsInUse) {
        int sum = 0;
        for (TColumnIndex c : visible) {
            sum += columns[c]->Width();
            rtf.Body.Add("\\cellx" + twips(sum));
        }
        if (OnBeforeHeaderExport)
            OnBeforeHeaderExport(this, etRTF);
        rtf.Body.Add("\\pard\\intbl");
        for (TColumnIndex c : visible) {
            if (OnBeforeColumnExport)
                OnBeforeColumnExport(this, etRTF, c);
            const TNodeTreeColumn& column = *columns[c];
            const TAlignment a = column.CaptionAlignment();
            rtf.Alignment(column.UseRightToLeftReading() ? Mirrored(a) : a, true);
            rtf.Text(column.Text(), Header().Font());
            rtf.Body.Add("\\cell");
            if (OnAfterColumnExport)
                OnAfterColumnExport(this, etRTF, c);
        }
        rtf.Body.Add("\\row");
        if (OnAfterHeaderExport)
            OnAfterHeaderExport(this, etRTF);
    } else
        rtf.Body.Add("\\cellx" + twips(ClientWidth()));

    const std::vector<TColumnIndex> cells = columnsInUse ? visible : std::vector<TColumnIndex>{NoColumn};
    for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n)) {
        if (!PassesExportMode(n) || (OnBeforeNodeExport && !OnBeforeNodeExport(this, etRTF, n)))
            continue;
        const uint32_t level = GetNodeLevel(n);
        for (TColumnIndex c : cells) {
            TVSTGetCellTextEventArgs args{n, c, FDefaultText, QString(), etRTF};
            DoGetText(args);
            rtf.Body.Add("\\pard\\intbl");
            const TNodeTreeColumn* column = c > NoColumn ? columns[c] : nullptr;
            const TAlignment a = column ? column->Alignment() : Alignment();
            rtf.Alignment((column ? column->UseRightToLeftReading() : RightToLeft()) ? Mirrored(a) : a, false);
            PrepareExportFont(canvas, n, c, ttNormal);
            if (c == mainColumn && level >= 1) {
                for (uint32_t i = 0; i < level; ++i)
                    rtf.Body.Add("\\tab");
                rtf.Body.Add(" ");
            }
            rtf.Text(args.CellText, canvas.Font);
            if (!args.StaticText.isEmpty() && (StringOptions() & toShowStaticText)) {
                PrepareExportFont(canvas, n, c, ttStatic);
                rtf.Text(QLatin1Char(' ') + args.StaticText, canvas.Font);
            }
            rtf.Body.Add("\\cell");
        }
        rtf.Body.Add("\\row");
        rtf.Body.AddNewLine();
        if (OnAfterNodeExport)
            OnAfterNodeExport(this, etRTF, n);
    }
    rtf.Body.Add("\\pard\\par");

    // Every character of the body is an escape, so the declared code page only covers ASCII.
    TBufferedRawByteString doc;
    doc.Add("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl");
    for (int i = 0; i < rtf.Fonts.size(); ++i)
        doc.Add("{\\f" + QByteArray::number(i) + ' ' + RtfFontName(rtf.Fonts[i]) + ";}");
    doc.Add("}{\\colortbl;");
    for (TColor c : rtf.Colors)
        doc.Add("\\red" + QByteArray::number(c & 0xFF) + "\\green" + QByteArray::number((c >> 8) & 0xFF) + "\\blue" +
                QByteArray::number((c >> 16) & 0xFF) + ';');
    doc.Add("}");
    doc.Add(QLocale().measurementSystem() == QLocale::MetricSystem ? "\\paperw16840\\paperh11907"
                                                                   : "\\paperw15840\\paperh12240");
    doc.Add("\\margl720\\margr720\\margt720\\margb720");
    doc.Add(rtf.Body.AsString());
    doc.Add("}");
    return doc.AsString();
}

// ---- delimited text ----

QString TCustomNodeStringTree::ContentToText(TVSTTextSourceType source, const QString& separator)
{
    StartOperation(okExport);
    ExportOperation end([this] { EndOperation(okExport); });
    TBufferedString out;
    uint32_t maxLevel = 0;
    for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n))
        maxLevel = std::max(maxLevel, GetNodeLevel(n));
    auto repeated = [&](uint32_t count) { return separator.repeated(int(count)); };

    if (ColumnsInUse(*this)) {
        const TNodeTreeColumns& columns = Header().Columns();
        const TColumnIndex mainColumn = Header().GetMainColumn();
        const std::vector<TColumnIndex> visible = ExportColumns();
        for (size_t i = 0; i < visible.size(); ++i) {
            out.Add(DelimitedCell(columns[visible[i]]->Text(), separator));
            if (i + 1 < visible.size()) {
                if (visible[i] == mainColumn)
                    out.Add(repeated(maxLevel));
                out.Add(separator);
            }
        }
        out.AddNewLine();
        for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n)) {
            const uint32_t level = GetNodeLevel(n);
            for (size_t i = 0; i < visible.size(); ++i) {
                const TColumnIndex c = visible[i];
                const QString text = DelimitedCell(ExportCellText(n, c, etText, true), separator);
                if (c == mainColumn)
                    out.Add(repeated(level) + text + repeated(maxLevel - level));
                else
                    out.Add(text);
                if (i + 1 < visible.size())
                    out.Add(separator);
            }
            out.AddNewLine();
        }
    } else {
        for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n)) {
            out.Add(repeated(GetNodeLevel(n)) + DelimitedCell(ExportCellText(n, NoColumn, etText, false), separator));
            out.AddNewLine();
        }
    }
    return out.AsString();
}

// ---- custom ----

void TCustomNodeStringTree::ContentToCustom(TVSTTextSourceType source)
{
    StartOperation(okExport);
    ExportOperation end([this] { EndOperation(okExport); });
    if (OnBeforeTreeExport)
        OnBeforeTreeExport(this, etCustom);
    if (ColumnsInUse(*this) && (Header().Options() & hoVisible)) {
        if (OnBeforeHeaderExport)
            OnBeforeHeaderExport(this, etCustom);
        for (TColumnIndex c : ExportColumns()) {
            if (OnBeforeColumnExport)
                OnBeforeColumnExport(this, etCustom, c);
            if (OnColumnExport)
                OnColumnExport(this, etCustom, c);
            if (OnAfterColumnExport)
                OnAfterColumnExport(this, etCustom, c);
        }
        if (OnAfterHeaderExport)
            OnAfterHeaderExport(this, etCustom);
    }
    for (PTreeNode n = ExportFirst(source); n && !OperationCanceled(); n = ExportNext(source, n)) {
        if (!PassesExportMode(n))
            continue;
        if (OnBeforeNodeExport)
            OnBeforeNodeExport(this, etCustom, n);
        if (OnNodeExport)
            OnNodeExport(this, etCustom, n);
        if (OnAfterNodeExport)
            OnAfterNodeExport(this, etCustom, n);
    }
    if (OnAfterTreeExport)
        OnAfterTreeExport(this, etCustom);
}

// ---- clipboard ----

QByteArray TCustomNodeStringTree::ContentToClipboard(TClipFormat format, TVSTTextSourceType source)
{
    RegisterStandardTreeFormats();
    QByteArray result;
    if (format == CF_TEXT) {
        result = (ContentToText(source, QStringLiteral("\t")) + QChar(0)).toLocal8Bit();
    } else if (format == CF_UNICODETEXT) {
        const QString text = ContentToText(source, QStringLiteral("\t")) + QChar(0);
        result = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    } else if (format == ClipFormatCsv) {
        result = (ContentToText(source, LocaleListSeparator()) + QChar(0)).toLocal8Bit();
    } else if (format == ClipFormatRtf || format == ClipFormatRtfNoObjects) {
        result = ContentToRTF(source) + '\0';
    } else if (format == ClipFormatHtml) {
        const QByteArray table = ContentToHTML(source).toUtf8();
        const qsizetype l = table.size();
        auto number = [](qsizetype v) { return QByteArray::number(qint64(v)).rightJustified(8, '0'); };
        result = "Version:1.0\r\nStartHTML:" + number(97) + "\r\nEndHTML:" + number(l + 301) +
                 "\r\nStartFragment:" + number(269) + "\r\nEndFragment:" + number(l + 269) + "\r\n";
        result += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
        result += "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
                  "<!--StartFragment-->";
        result += table;
        result += "<!--EndFragment--></body></html>";
        result += '\0';
    }
    return result;
}

}  // namespace tree
