#include "controls/tree/StringTree.h"
#include "controls/tree/TreeColumnsAccess.h"

#include "platform/FileUtil.h"

#include <QEvent>
#include <QPainter>

namespace tree {

using platform::TCanvas;

namespace {

constexpr int ChunkCaption = 3;
const QString Ellipsis = QStringLiteral("...");

unsigned AlignmentFlag(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return platform::DT_RIGHT;
    case taCenter: return platform::DT_CENTER;
    default: return platform::DT_LEFT;
    }
}

void PutU32LE(std::vector<uint8_t>& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(uint8_t(v >> (8 * i)));
}

QString CsvQuoted(QString text)
{
    if (text.isEmpty())
        text = QStringLiteral(" ");
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

TCustomNodeStringTree::TCustomNodeStringTree(QWidget* parent) : TBaseNodeTree(parent, CustomNodeStringTreeClass)
{
    FOptions = std::make_unique<TStringTreeOptions>(this);
    FInternalDataOffset = AllocateInternalDataArea(4);
    FontMetricsChanged();
}

TCustomNodeStringTree::~TCustomNodeStringTree() = default;

uint32_t TCustomNodeStringTree::StringOptions() const
{
    return static_cast<const TStringTreeOptions&>(*FOptions).StringOptions();
}

void TCustomNodeStringTree::SetDefaultText(const QString& value)
{
    if (value == FDefaultText)
        return;
    FDefaultText = value;
    Invalidate();
}

// ---- texts ----

void TCustomNodeStringTree::DoGetText(TVSTGetCellTextEventArgs& args)
{
    if (!args.Node->Has(vsInitialized))
        InitNode(args.Node);
    if (OnGetCellText) {
        OnGetCellText(this, args);
    } else if (OnGetText) {
        OnGetText(this, args.Node, args.Column, ttNormal, args.CellText);
        OnGetText(this, args.Node, args.Column, ttStatic, args.StaticText);
    }
}

QString TCustomNodeStringTree::GetText(PTreeNode node, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TVSTGetCellTextEventArgs args{node, column, FDefaultText, QString(), etNone};
    DoGetText(args);
    return args.CellText;
}

QString TCustomNodeStringTree::GetStaticText(PTreeNode node, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TVSTGetCellTextEventArgs args{node, column, FDefaultText, QString(), etNone};
    DoGetText(args);
    return args.StaticText;
}

QString TCustomNodeStringTree::GetImageText(PTreeNode node, TTVImageKind kind, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (!node->Has(vsInitialized))
        InitNode(node);
    QString text;
    DoGetImageText(node, kind, column, text);
    return text;
}

void TCustomNodeStringTree::DoNewText(PTreeNode node, TColumnIndex column, const QString& text)
{
    if (OnNewText)
        OnNewText(this, node, column, text);
    if (UpdateCount() == 0)
        UpdateHorizontalScrollBar(true);
}

void TCustomNodeStringTree::SetText(PTreeNode node, TColumnIndex column, const QString& value)
{
    DoNewText(node, column, value);
    InvalidateNode(node);
}

QString TCustomNodeStringTree::Path(PTreeNode node, TColumnIndex column, QChar delimiter)
{
    if (!node || node == RootNode())
        return QString(delimiter);
    QString result;
    for (PTreeNode n = node; n && n != RootNode(); n = GetNodeParent(n) ? GetNodeParent(n) : RootNode())
        result = GetText(n, column) + delimiter + result;
    return result;
}

bool TCustomNodeStringTree::SaveToCSVFile(const QString& fileName, bool includeHeading)
{
    if (fileName.isEmpty())
        return false;
    QStringList lines;
    const TNodeTreeColumns& columns = Header().Columns();
    const int count = columns.Count();
    // Columns in display order; without columns the one text column.
    std::vector<TColumnIndex> order;
    for (TColumnIndex c : columns.PositionToIndex())
        order.push_back(c);
    if (order.empty())
        order.push_back(count > 0 ? 0 : NoColumn);
    if (includeHeading && count > 0) {
        QStringList cells;
        for (TColumnIndex c : order)
            cells << CsvQuoted(columns[c]->Text());
        lines << cells.join(QLatin1Char(','));
    }
    for (PTreeNode n = GetFirstChild(nullptr); n; n = GetNextSibling(n)) {
        QStringList cells;
        for (TColumnIndex c : order)
            cells << CsvQuoted(GetText(n, c));
        lines << cells.join(QLatin1Char(','));
    }
    platform::WriteFileAtomic(fileName, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    return true;
}

// ---- measuring ----

QSize TCustomNodeStringTree::DoMeasureText(TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text)
{
    QSize size(canvas.TextWidth(text), canvas.TextHeight(text));
    if (node->Has(vsMultiline)) {
        QRect r(0, 0, size.width(), 0);
        unsigned flags = AlignmentFlag(Alignment()) | platform::DT_CALCRECT | platform::DT_WORDBREAK |
                         platform::DT_NOPREFIX | platform::DT_EDITCONTROL | platform::DT_END_ELLIPSIS;
        canvas.DrawText(text, r, flags);
        size.setWidth(r.width());
    }
    int width = size.width(), height = size.height();
    if (OnMeasureTextWidth)
        OnMeasureTextWidth(this, canvas, node, column, text, width);
    if (OnMeasureTextHeight)
        OnMeasureTextHeight(this, canvas, node, column, text, height);
    return QSize(width, height);
}

void TCustomNodeStringTree::DoPaintText(PTreeNode node, TCanvas& canvas, TColumnIndex column, TVSTTextType textType)
{
    if (OnPaintText)
        OnPaintText(this, canvas, node, column, textType);
}

int TCustomNodeStringTree::DoGetNormalTextWidth(TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text)
{
    int result = 2 * TextMargin();
    if (!text.isEmpty()) {
        canvas.Font = Font();
        DoPaintText(node, canvas, column, ttNormal);
        result += DoMeasureText(canvas, node, column, text).width();
    }
    return result;
}

int TCustomNodeStringTree::DoGetStaticTextWidth(TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text)
{
    if (text.isEmpty() || Alignment() == taCenter || node->Has(vsMultiline))
        return 0;
    canvas.Font = Font();
    DoPaintText(node, canvas, column, ttStatic);
    return TextMargin() + DoMeasureText(canvas, node, column, text).width();
}

int TCustomNodeStringTree::DoGetNodeWidth(PTreeNode node, TColumnIndex column, TCanvas* canvas)
{
    if (!canvas)
        canvas = &Canvas();
    if (node->Has(vsMultiline) && column > NoColumn && ColumnIsValid(*this, column))
        return ColumnWidth(*this, column);
    const bool mainColumn = column == NoColumn || column == Header().GetMainColumn();
    if (!mainColumn)
        return DoGetNormalTextWidth(*canvas, node, column, GetText(node, column));
    int32_t& cached = CachedWidth(node);
    if (cached == 0) {
        // Measuring may change the canvas font; the caller's canvas keeps its own.
        const platform::TFont saved = canvas->Font;
        cached = DoGetNormalTextWidth(*canvas, node, column, GetText(node, column));
        canvas->Font = saved;
    }
    return cached;
}

int TCustomNodeStringTree::DoGetNodeExtraWidth(PTreeNode node, TColumnIndex column, TCanvas* canvas)
{
    if (!(StringOptions() & toShowStaticText))
        return 0;
    if (!canvas)
        canvas = &Canvas();
    const platform::TFont saved = canvas->Font;
    const int width = DoGetStaticTextWidth(*canvas, node, column, GetStaticText(node, column));
    canvas->Font = saved;
    return width;
}

int TCustomNodeStringTree::ComputeNodeHeight(TCanvas& canvas, PTreeNode node, TColumnIndex column, QString text)
{
    if (text.isEmpty())
        text = GetText(node, column);
    const bool useColumn = column > NoColumn && ColumnIsValid(*this, column);
    const bool rtl = useColumn ? ColumnRightToLeft(*this, column) : layoutDirection() == Qt::RightToLeft;
    unsigned flags = node->Has(vsMultiline) ? (platform::DT_EDITCONTROL | platform::DT_NOPREFIX | platform::DT_WORDBREAK)
                                            : (platform::DT_NOPREFIX | platform::DT_SINGLELINE | platform::DT_VCENTER);
    flags |= platform::DT_CALCRECT;
    if (rtl)
        flags |= platform::DT_RIGHT;
    QRect r;
    if (!useColumn) {
        r = MakeRect(0, 0, ClientWidth(), 0);
    } else {
        int left = TextMargin() + Margin();
        if (column == Header().GetMainColumn()) {
            const int levels = (TreeOptions().PaintOptions() & toFixedIndent)
                                   ? 1
                                   : int(GetNodeLevel(node)) + ((TreeOptions().PaintOptions() & toShowRoot) ? 1 : 0);
            left += int(Indent()) * levels;
        }
        r = MakeRect(left, 0, ColumnWidth(*this, column) - TextMargin(), 0);
        // The text may run on over the empty cells to its right, as it is painted.
        if (!rtl)
            r.setRight(r.right() + AutoSpanWidth(node, column));
    }
    canvas.DrawText(text, r, flags);
    return r.height();
}

QString TCustomNodeStringTree::ShortenString(TCanvas& canvas, const QString& text, int width, int ellipsisWidth)
{
    if (text.isEmpty() || width <= 0)
        return QString();
    if (ellipsisWidth == 0)
        ellipsisWidth = canvas.TextWidth(Ellipsis);
    int low = 0, high = int(text.size());
    while (high > low) {
        const int n = (low + high + 1) / 2;
        if (ellipsisWidth + canvas.TextWidth(text.left(n)) <= width)
            low = n;
        else
            high = n - 1;
    }
    if (low == int(text.size()))
        return text;
    if (ellipsisWidth < width)
        return text.left(low) + Ellipsis;
    return QString();
}

QString TCustomNodeStringTree::DoShortenString(TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text,
                                               int width, int ellipsisWidth)
{
    QString result;
    bool done = false;
    if (OnShortenString)
        OnShortenString(this, canvas, node, column, text, width, result, done);
    if (done)
        return result;
    return ShortenString(canvas, text, width, ellipsisWidth);
}

// ---- painting ----

namespace {
// The text's background is filled in the brush colour only when a text painting handler asked
// for it with ETO_OPAQUE; the brush is solid again afterwards.
class TextBackground {
public:
    explicit TextBackground(TCanvas& canvas) : FCanvas(canvas)
    {
        canvas.Brush.Style = (canvas.TextFlags & platform::ETO_OPAQUE) ? platform::TBrushStyle::bsSolid
                                                                       : platform::TBrushStyle::bsClear;
    }
    ~TextBackground() { FCanvas.Brush.Style = platform::TBrushStyle::bsSolid; }
    TextBackground(const TextBackground&) = delete;
    TextBackground& operator=(const TextBackground&) = delete;

private:
    TCanvas& FCanvas;
};
}  // namespace

void TCustomNodeStringTree::DoDrawText(TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text,
                                       QRect cellRect, unsigned drawFormat)
{
    bool defaultDraw = true;
    if (OnDrawText)
        OnDrawText(this, canvas, node, column, text, cellRect, defaultDraw);
    if (defaultDraw)
        canvas.DrawText(text, cellRect, drawFormat);
}

void TCustomNodeStringTree::DoPaintNode(TTVPaintInfo& info)
{
    TVSTGetCellTextEventArgs args{info.Node, info.Column, FDefaultText, QString(), etNone};
    DoGetText(args);
    if (!args.CellText.isEmpty())
        PaintNormalText(info, args.CellText);
    if (Alignment() != taCenter && !info.Node->Has(vsMultiline) && (StringOptions() & toShowStaticText) &&
        !args.StaticText.isEmpty())
        PaintStaticText(info, args.StaticText);
}

void TCustomNodeStringTree::PaintNormalText(TTVPaintInfo& info, const QString& text)
{
    TCanvas& canvas = *info.Canvas;
    PTreeNode node = info.Node;
    const TTVPaintOptions paint = TreeOptions().PaintOptions();
    const TTVSelectionOptions selection = TreeOptions().SelectionOptions();
    canvas.Font = Font();
    canvas.Font.Color = isEnabled() ? Colors().NodeFontColor() : Colors().Get(TTVColors::DisabledColor);
    if ((paint & toHotTrack) && node == HotNode() && !HasState(tsUseExplorerTheme)) {
        canvas.Font.setUnderline(true);
        canvas.Font.Color = Colors().Get(TTVColors::HotColor);
    }
    if ((info.PaintOptions & poDrawSelection) && (info.Column == FocusedColumn() || (selection & toFullRowSelect)) &&
        !HasState(tsUseExplorerTheme)) {
        const bool dropTarget = node == DropTargetNode();
        if ((dropTarget && (LastDropMode() == dmOnNode || node->Has(vsSelected))) ||
            (!dropTarget && node->Has(vsSelected) && PaintsFocused()))
            canvas.Font.Color = Colors().Get(TTVColors::SelectionTextColor);
    }
    QRect r = info.ContentRect;
    r.setLeft(r.left() + TextMargin());
    r.setRight(r.right() - TextMargin());
    canvas.TextFlags = 0;
    const bool disabled = node->Has(vsDisabled) || !isEnabled();
    unsigned flags;
    QString shown = text;
    if (node->Has(vsMultiline)) {
        DoPaintText(node, canvas, info.Column, ttNormal);
        const int height = ComputeNodeHeight(canvas, node, info.Column);
        if (disabled)
            canvas.Font.Color = Colors().Get(TTVColors::DisabledColor);
        flags = AlignmentFlag(info.Alignment) | platform::DT_NOPREFIX | platform::DT_WORDBREAK | platform::DT_END_ELLIPSIS |
                platform::DT_EDITCONTROL;
        if (height < r.height()) {
            const int shrink = (r.height() - height) / 2;
            r.adjust(0, shrink, 0, -shrink);
        }
    } else {
        const platform::TFont before = canvas.Font;
        int ellipsisWidth = FEllipsisWidth;
        DoPaintText(node, canvas, info.Column, ttNormal);
        if (QFont(canvas.Font) != QFont(before)) {
            ellipsisWidth = 0;
            info.NodeWidth = 2 * TextMargin() + canvas.TextWidth(text);
        }
        if (disabled)
            canvas.Font.Color = Colors().Get(TTVColors::DisabledColor);
        flags = platform::DT_NOPREFIX | platform::DT_VCENTER | platform::DT_SINGLELINE;
        if (info.Column < 0) {
            flags |= AlignmentFlag(info.Alignment);
        } else if (r.width() < info.NodeWidth - 2 * TextMargin()) {
            shown = DoShortenString(canvas, node, info.Column, text, r.width(), ellipsisWidth);
            if (info.Alignment == taRightJustify)
                flags |= platform::DT_RIGHT;
        } else {
            flags |= AlignmentFlag(info.Alignment);
        }
    }
    const TextBackground background(canvas);
    DoDrawText(canvas, node, info.Column, shown, r, flags);
}

void TCustomNodeStringTree::PaintStaticText(TTVPaintInfo& info, const QString& text)
{
    TCanvas& canvas = *info.Canvas;
    PTreeNode node = info.Node;
    canvas.Font = Font();
    if (TreeOptions().SelectionOptions() & toFullRowSelect) {
        const bool dropTarget = node == DropTargetNode();
        if (dropTarget)
            canvas.Font.Color = (LastDropMode() == dmOnNode || node->Has(vsSelected))
                                    ? Colors().Get(TTVColors::SelectionTextColor)
                                    : Colors().NodeFontColor();
        else if (node->Has(vsSelected))
            canvas.Font.Color = PaintsFocused() ? Colors().Get(TTVColors::SelectionTextColor) : Colors().NodeFontColor();
    }
    canvas.TextFlags = 0;
    DoPaintText(node, canvas, info.Column, ttStatic);
    if (node->Has(vsDisabled) || !isEnabled())
        canvas.Font.Color = Colors().Get(TTVColors::DisabledColor);
    QRect r = info.ContentRect;
    if (info.Alignment == taRightJustify)
        r.setRight(r.right() - info.NodeWidth - TextMargin());
    else
        r.setLeft(r.left() + info.NodeWidth + TextMargin());
    const TextBackground background(canvas);
    canvas.DrawText(text, r, platform::DT_SINGLELINE | platform::DT_NOPREFIX | platform::DT_VCENTER);
}

bool TCustomNodeStringTree::ColumnIsEmpty(PTreeNode node, TColumnIndex column)
{
    if (!GetText(node, column).isEmpty())
        return false;
    return TBaseNodeTree::ColumnIsEmpty(node, column);
}

TColumnIndex TCustomNodeStringTree::SpanColumns(PTreeNode node, TColumnIndex column, int& extraWidth)
{
    const TNodeTreeColumns& columns = Header().Columns();
    extraWidth = 0;
    TColumnIndex next = column;
    while (true) {
        next = columns.GetNextVisibleColumn(next);
        if (next <= NoColumn || !ColumnIsEmpty(node, next) || columns[next]->UseRightToLeftReading())
            return next;
        extraWidth += columns[next]->Width();
    }
}

int TCustomNodeStringTree::AutoSpanWidth(PTreeNode node, TColumnIndex column)
{
    if (!(TreeOptions().AutoOptions() & toAutoSpanColumns) || !ColumnsInUse(*this) || column <= NoColumn)
        return 0;
    int extra = 0;
    SpanColumns(node, column, extra);
    return extra;
}

void TCustomNodeStringTree::AdjustPaintCellRect(TTVPaintInfo& info, TColumnIndex& nextNonEmpty)
{
    if (!(TreeOptions().AutoOptions() & toAutoSpanColumns) || !ColumnsInUse(*this) || info.RightToLeft) {
        TBaseNodeTree::AdjustPaintCellRect(info, nextNonEmpty);
        return;
    }
    int extra = 0;
    nextNonEmpty = SpanColumns(info.Node, info.Column, extra);
    info.CellRect.setRight(info.CellRect.right() + extra);
}

// ---- cached widths ----

QRect TCustomNodeStringTree::InvalidateNode(PTreeNode node)
{
    if (node && node != RootNode()) {
        CachedWidth(node) = 0;
        node->Exclude(vsHeightMeasured);
    }
    return TBaseNodeTree::InvalidateNode(node);
}

void TCustomNodeStringTree::ReinitNode(PTreeNode node, bool recursive)
{
    TBaseNodeTree::ReinitNode(node, recursive);
    if (node && node != RootNode())
        CachedWidth(node) = 0;
}

void TCustomNodeStringTree::SetChildCount(PTreeNode node, uint32_t newChildCount)
{
    TBaseNodeTree::SetChildCount(node, newChildCount);
    if (node && node != RootNode())
        CachedWidth(node) = 0;
}

void TCustomNodeStringTree::FontMetricsChanged()
{
    TCanvas measure;
    measure.Font = Font();
    FTextHeight = measure.TextHeight(QStringLiteral("Wg"));
    FEllipsisWidth = measure.TextWidth(Ellipsis);
    for (PTreeNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        CachedWidth(n) = 0;
}

void TCustomNodeStringTree::changeEvent(QEvent* event)
{
    TBaseNodeTree::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FontMetricsChanged();
}

// ---- node stream captions ----

void TCustomNodeStringTree::WriteChunks(std::vector<uint8_t>& stream, PTreeNode node)
{
    TBaseNodeTree::WriteChunks(stream, node);
    if (!(StringOptions() & toSaveCaptions) || node == RootNode() || !node->Has(vsInitialized))
        return;
    const QString text = GetText(node, Header().GetMainColumn());
    if (text.isEmpty())
        return;
    PutU32LE(stream, ChunkCaption);
    PutU32LE(stream, uint32_t(2 * text.size()));
    for (QChar c : text) {
        stream.push_back(uint8_t(c.unicode() & 0xFF));
        stream.push_back(uint8_t(c.unicode() >> 8));
    }
}

bool TCustomNodeStringTree::ReadChunk(platform::ByteReader& stream, int version, PTreeNode node, int chunkType, int depth)
{
    if (chunkType != ChunkCaption)
        return TBaseNodeTree::ReadChunk(stream, version, node, chunkType, depth);
    QString text;
    const size_t chars = stream.Remaining() / 2;
    text.reserve(qsizetype(chars));
    for (size_t i = 0; i < chars; ++i)
        text.append(QChar(stream.U16LE()));
    SetText(node, Header().GetMainColumn(), text);
    return true;
}

// ---- the published tree ----

TNodeStringTree::TNodeStringTree(QWidget* parent) : TCustomNodeStringTree(parent) {}

namespace {

bool LessIgnoringCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace

bool TCustomNodeStringTree::RestoresSelection() const
{
    return (FOptions->SelectionOptions() & toRestoreSelection) && OnGetText;
}

void TCustomNodeStringTree::AddToSelection(PTreeNode node)
{
    TBaseNodeTree::AddToSelection(node);
    if (RestoresSelection() && node->Has(vsSelected) && !HasState(tsPreviouslySelectedLocked)) {
        if (!FPreviouslySelected)
            FPreviouslySelected = std::make_unique<std::set<QString, bool (*)(const QString&, const QString&)>>(
                LessIgnoringCase);
        if (SelectedCount() == 1)
            FPreviouslySelected->clear();
        FPreviouslySelected->insert(GetText(node, 0));
    }
    UpdateNextNodeToSelect(node);
}

void TCustomNodeStringTree::RemoveFromSelection(PTreeNode node)
{
    TBaseNodeTree::RemoveFromSelection(node);
    if (!FPreviouslySelected || node->Has(vsSelected))
        return;
    if (SelectedCount() > 0)
        FPreviouslySelected->erase(GetText(node, 0));
    else
        FPreviouslySelected->clear();
}

PTreeNode TCustomNodeStringTree::AddChild(PTreeNode parent, void* userData)
{
    PTreeNode node = TBaseNodeTree::AddChild(parent, userData);
    if (!node || !FPreviouslySelected || !OnGetText)
        return node;
    if (FPreviouslySelected->count(GetText(node, 0))) {
        DoStateChange(TS(tsPreviouslySelectedLocked));
        SetSelected(node, true);
        DoStateChange(0, TS(tsPreviouslySelectedLocked));
        if (UpdateCount() == 0)
            ScrollIntoView(GetFirstSelected(), true, false);
    }
    return node;
}

}  // namespace tree
