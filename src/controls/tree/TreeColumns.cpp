#include "controls/tree/TreeColumns.h"
#include "controls/tree/NodeTrees.h"

#include <QCursor>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tree {

using platform::TShiftState;

// ---------------------------------------------------------------------------------------------
// One column

TNodeTreeColumn::TNodeTreeColumn(TNodeTreeColumns* collection) : FOwner(collection)
{
    FWidth = FLastWidth = collection->FDefaultWidth;
    collection->FItems.emplace_back(this);
    FPosition = TColumnPosition(collection->Count() - 1);
    ParentBiDiModeChanged();
    ParentColorChanged();
}

TNodeTreeColumn::~TNodeTreeColumn() = default;

TColumnIndex TNodeTreeColumn::Index() const
{
    const auto& items = FOwner->FItems;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this)
            return TColumnIndex(i);
    return NoColumn;
}

TBaseNodeTree* TNodeTreeColumn::Tree() const { return FOwner->Tree(); }

void TNodeTreeColumn::Changed() { FOwner->Update(this); }

void TNodeTreeColumn::SetText(const QString& value)
{
    if (FText == value)
        return;
    FText = value;
    FCaptionText.clear();
    Changed();
}

int TNodeTreeColumn::Left() const
{
    if (Visible() && (FOptions & coFixed))
        return FLeft;
    return FLeft - FOwner->EffectiveOffsetX();
}

void TNodeTreeColumn::SetWidth(int value)
{
    TTVHeader* header = FOwner->FHeader;
    TBaseNodeTree* tree = Tree();
    if (!(header->FStates & hsScaling)) {
        if (Visible() && (FOptions & coFixed)) {
            int sumMax = 0, sumMin = 0;
            for (const auto& c : FOwner->FItems)
                if (c->Visible() && (c->FOptions & coFixed)) {
                    sumMax += c->FMaxWidth;
                    sumMin += c->FMinWidth;
                }
            const int cw = tree->ClientWidth();
            const int f = FOwner->GetVisibleFixedWidth();
            const int w = FWidth;
            const int minW = header->FFixedAreaConstraints.MinWidthPercent();
            const int maxW = header->FFixedAreaConstraints.MaxWidthPercent();
            int upper = minW > 0 && sumMax < cw * minW / 100 ? cw * minW / 100 : sumMax;
            upper = std::min(upper + w - f, FMaxWidth);
            int lower = maxW > 0 && cw * maxW / 100 < sumMin ? cw * maxW / 100 : sumMin;
            lower = std::max(lower + w - f, FMinWidth);
            value = std::min(std::max(value, lower), upper);
            if (minW > 0)
                value = std::max(value, cw * minW / 100 + w - f);
            if (maxW > 0)
                value = std::min(value, cw * maxW / 100 + w - f);
        } else {
            value = std::min(std::max(value, FMinWidth), FMaxWidth);
        }
    }
    if (value == FWidth)
        return;
    FLastWidth = FWidth;
    if (!(header->FStates & hsResizing))
        FBonusPixel = false;
    const TColumnIndex index = Index();
    if (!((header->FOptions & hoAutoResize) && index == header->FAutoSizeIndex)) {
        FWidth = value;
        FOwner->UpdateColumnLefts(false);
    }
    if (!header->Loading() && !FOwner->Updating()) {
        if (header->FOptions & hoAutoResize)
            FOwner->FitAutoSizeColumn(false);
        tree->DoColumnResize(index);
    }
}

void TNodeTreeColumn::SetMinWidth(int value)
{
    value = std::min(std::max(value, 0), FMaxWidth);
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    SetWidth(FWidth);
}

void TNodeTreeColumn::SetMaxWidth(int value)
{
    value = std::max(value, FMinWidth);
    if (value == FMaxWidth)
        return;
    FMaxWidth = value;
    SetWidth(FWidth);
}

void TNodeTreeColumn::SetPosition(TColumnPosition value)
{
    TTVHeader* header = FOwner->FHeader;
    if (header->Loading()) {
        FPosition = value;
        return;
    }
    const int count = FOwner->Count();
    if (value >= TColumnPosition(count))
        value = TColumnPosition(count - 1);
    if (value == FPosition)
        return;
    FOwner->SyncPositionArray();
    TBaseNodeTree* tree = Tree();
    tree->DoCancelEdit();
    auto& order = FOwner->FPositionToIndex;
    const TColumnIndex index = Index();
    const auto from = std::find(order.begin(), order.end(), index);
    order.erase(from);
    order.insert(order.begin() + value, index);
    FPosition = value;
    Changed();
    if (!FOwner->Updating()) {
        header->Invalidate(this);
        tree->Invalidate();
    }
    // The fixed columns stay together at the left.
    TColumnIndex neighbour = FOwner->ColumnFromPosition(TColumnPosition(FPosition + 1));
    if ((FOptions & coFixed) && FPosition > 0)
        neighbour = FOwner->ColumnFromPosition(TColumnPosition(FPosition - 1));
    if (neighbour >= 0) {
        const TTVColumnOptions fixed = FOwner->Items(neighbour)->FOptions & coFixed;
        SetOptions(TTVColumnOptions((FOptions & ~coFixed) | fixed));
    }
}

void TNodeTreeColumn::SetStyle(TNodeTreeColumnStyle value)
{
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void TNodeTreeColumn::SetImageIndex(int value)
{
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    Changed();
}

void TNodeTreeColumn::SetBiDiMode(TBiDiMode value)
{
    if (FBiDiMode == value && !(FOptions & coParentBidiMode))
        return;
    FBiDiMode = value;
    FOptions &= ~coParentBidiMode;
    Changed();
    Tree()->Invalidate();
}

void TNodeTreeColumn::SetLayout(TTVHeaderColumnLayout value)
{
    if (FLayout == value)
        return;
    FLayout = value;
    Changed();
}

void TNodeTreeColumn::SetMargin(int value)
{
    if (value < 0)
        value = 4;
    if (FMargin == value)
        return;
    FMargin = value;
    Changed();
}

void TNodeTreeColumn::SetSpacing(int value)
{
    if (FSpacing == value)
        return;
    FSpacing = value;
    Changed();
}

void TNodeTreeColumn::SetOptions(TTVColumnOptions value)
{
    if (FOptions == value)
        return;
    const TTVColumnOptions toBeSet = value & ~FOptions;
    const TTVColumnOptions changed = value ^ FOptions;
    FOptions = value;
    if (toBeSet & coParentBidiMode)
        ParentBiDiModeChanged();
    if (toBeSet & coParentColor)
        ParentColorChanged();
    if (toBeSet & coAutoSpring)
        FSpringRest = 0;
    TTVHeader* header = FOwner->FHeader;
    if ((changed & coFixed) && Visible())
        header->ApplyHeaderConstraints();
    Changed();
    if (!header->Loading()) {
        TBaseNodeTree* tree = Tree();
        if (((changed & coVisible) || (toBeSet & coParentColor)) && tree->FUpdateCount == 0) {
            tree->Invalidate();
            if (changed & coVisible)
                tree->DoColumnResize(NoColumn);
        }
    }
}

void TNodeTreeColumn::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    Changed();
    Tree()->Invalidate();
}

TAlignment TNodeTreeColumn::CaptionAlignment() const
{
    return (FOptions & coUseCaptionAlignment) ? FCaptionAlignment : FAlignment;
}

void TNodeTreeColumn::SetCaptionAlignment(TAlignment value)
{
    if (FCaptionAlignment == value && (FOptions & coUseCaptionAlignment))
        return;
    FCaptionAlignment = value;
    FOptions |= coUseCaptionAlignment;
    FOwner->FHeader->Invalidate(this);
}

void TNodeTreeColumn::SetColor(platform::TColor value)
{
    if (FColor == value && !(FOptions & coParentColor))
        return;
    FColor = value;
    FOptions &= ~coParentColor;
    Changed();
    Tree()->Invalidate();
}

void TNodeTreeColumn::SetCheckBox(bool value)
{
    if (FCheckBox == value)
        return;
    FCheckBox = value;
    Changed();
}

void TNodeTreeColumn::SetCheckType(TCheckType value)
{
    if (FCheckType == value)
        return;
    FCheckType = value;
    Changed();
}

void TNodeTreeColumn::SetCheckState(TCheckState value)
{
    if (FCheckState == value)
        return;
    FCheckState = value;
    Changed();
}

QRect TNodeTreeColumn::GetRect() const
{
    const QRect h = FOwner->FHeader->FOwner->HeaderRect();
    return QRect(QPoint(h.left() + FLeft, h.top()), QSize(FWidth, h.height()));
}

void TNodeTreeColumn::Assign(const TNodeTreeColumn& source)
{
    const TTVColumnOptions own = FOptions;
    FOptions = 0;
    SetBiDiMode(source.FBiDiMode);
    SetImageIndex(source.FImageIndex);
    SetLayout(source.FLayout);
    SetMargin(source.FMargin);
    SetMaxWidth(source.FMaxWidth);
    SetMinWidth(source.FMinWidth);
    SetPosition(source.FPosition);
    SetSpacing(source.FSpacing);
    SetStyle(source.FStyle);
    SetText(source.FText);
    SetHint(source.FHint);
    SetWidth(source.FWidth);
    SetAlignment(source.FAlignment);
    SetCaptionAlignment(source.CaptionAlignment());
    SetColor(source.FColor);
    SetTag(source.FTag);
    FOptions = own;
    SetOptions(source.FOptions);
    Changed();
}

bool TNodeTreeColumn::Equals(const TNodeTreeColumn& o) const
{
    return FBiDiMode == o.FBiDiMode && FImageIndex == o.FImageIndex && FLayout == o.FLayout &&
           FMargin == o.FMargin && FMaxWidth == o.FMaxWidth && FMinWidth == o.FMinWidth &&
           FPosition == o.FPosition && FSpacing == o.FSpacing && FStyle == o.FStyle && FText == o.FText &&
           FHint == o.FHint && FWidth == o.FWidth && FAlignment == o.FAlignment &&
           CaptionAlignment() == o.CaptionAlignment() && FColor == o.FColor && FTag == o.FTag &&
           FOptions == o.FOptions;
}

void TNodeTreeColumn::RestoreLastWidth() { FOwner->AnimatedResize(Index(), FLastWidth); }

void TNodeTreeColumn::ParentBiDiModeChanged()
{
    // The tree always reads left to right.
    if ((FOptions & coParentBidiMode) && FBiDiMode != bdLeftToRight) {
        FBiDiMode = bdLeftToRight;
        Changed();
    }
}

void TNodeTreeColumn::ParentColorChanged()
{
    if (!(FOptions & coParentColor))
        return;
    const platform::TColor color = Tree()->Color();
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}

QString TNodeTreeColumn::DisplayName() const
{
    for (QChar c : FText)
        if (c.unicode() >= 256)
            return QStringLiteral("Column %1").arg(Index());
    return FText;
}

// ---------------------------------------------------------------------------------------------
// Column stream

namespace {

void PutI32(platform::ByteWriter& s, int32_t v) { s.U32LE(uint32_t(v)); }

void PutText(platform::ByteWriter& s, const QString& text)
{
    PutI32(s, int32_t(text.size()));
    for (QChar c : text)
        s.U16LE(c.unicode());
}

int32_t GetI32(platform::ByteReader& s) { return int32_t(s.U32LE()); }

bool GetText(platform::ByteReader& s, QString& text)
{
    const int32_t length = GetI32(s);
    if (!s.Ok() || length < 0 || size_t(length) > s.Remaining() / 2)
        return false;
    text.resize(length);
    for (int32_t i = 0; i < length; ++i)
        text[i] = QChar(s.U16LE());
    return s.Ok();
}

bool InRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

// Options of streams before version 3 had eight bits; an option was inserted at bit 4 after
// version 1.
uint32_t ConvertOldOptions(uint32_t options, int version)
{
    options &= 0xFF;
    if (version == 2)
        return options;
    return (options & 0x0F) | ((options & 0x70) << 1);
}

}  // namespace

void TNodeTreeColumn::SaveToStream(platform::ByteWriter& s) const
{
    PutText(s, FText);
    PutText(s, FHint);
    PutI32(s, FWidth);
    PutI32(s, FMinWidth);
    PutI32(s, FMaxWidth);
    PutI32(s, FStyle);
    PutI32(s, FImageIndex);
    PutI32(s, FLayout);
    PutI32(s, FMargin);
    PutI32(s, FSpacing);
    PutI32(s, FBiDiMode);
    PutI32(s, FOptions);
    PutI32(s, int32_t(FTag));
    PutI32(s, FAlignment);
    PutI32(s, int32_t(FColor));
    if (FOptions & coUseCaptionAlignment)
        PutI32(s, FCaptionAlignment);
}

bool TNodeTreeColumn::ReadRecord(platform::ByteReader& s, int version, TColumnRecord& r)
{
    if (!GetText(s, r.Text) || !GetText(s, r.Hint))
        return false;
    r.Width = GetI32(s);
    r.MinWidth = GetI32(s);
    r.MaxWidth = GetI32(s);
    r.Style = GetI32(s);
    r.ImageIndex = GetI32(s);
    r.Layout = GetI32(s);
    r.Margin = GetI32(s);
    r.Spacing = GetI32(s);
    r.BiDiMode = GetI32(s);
    r.Options = uint32_t(GetI32(s));
    if (version < 3)
        r.Options = ConvertOldOptions(r.Options, version);
    if (version > 0) {
        r.Tag = GetI32(s);
        r.Alignment = GetI32(s);
    }
    if (version > 1) {
        r.Color = uint32_t(GetI32(s));
        r.HasColor = true;
    }
    r.HasCaptionAlignment = version > 5 && (r.Options & coUseCaptionAlignment);
    if (r.HasCaptionAlignment)
        r.CaptionAlignment = GetI32(s);
    return s.Ok() && r.Options <= 0xFFFF && InRange(r.Style, vsText, vsOwnerDraw) &&
           InRange(r.Layout, blGlyphLeft, blGlyphBottom) && InRange(r.BiDiMode, bdLeftToRight, bdRightToLeftReadingOnly) &&
           InRange(r.Alignment, taLeftJustify, taCenter) && InRange(r.CaptionAlignment, taLeftJustify, taCenter) &&
           r.MinWidth >= 0 && r.MaxWidth >= r.MinWidth;
}

void TNodeTreeColumn::ApplyRecord(const TColumnRecord& r, int /*version*/)
{
    SetText(r.Text);
    FHint = r.Hint;
    SetWidth(r.Width);
    SetMinWidth(r.MinWidth);
    SetMaxWidth(r.MaxWidth);
    SetStyle(TNodeTreeColumnStyle(r.Style));
    SetImageIndex(r.ImageIndex);
    SetLayout(TTVHeaderColumnLayout(r.Layout));
    SetMargin(r.Margin);
    SetSpacing(r.Spacing);
    SetBiDiMode(TBiDiMode(r.BiDiMode));
    SetTag(r.Tag);
    SetAlignment(TAlignment(r.Alignment));
    if (r.HasColor)
        SetColor(platform::TColor(r.Color));
    if (r.HasCaptionAlignment)
        SetCaptionAlignment(TAlignment(r.CaptionAlignment));
    // Last: the colour and alignment setters clear the options that say the column follows the tree.
    SetOptions(TTVColumnOptions(r.Options));
}

// ---------------------------------------------------------------------------------------------
// The collection

TNodeTreeColumns::TNodeTreeColumns(TTVHeader* owner) : FHeader(owner) {}

TNodeTreeColumns::~TNodeTreeColumns()
{
    FClearing = true;
    FItems.clear();
}

TBaseNodeTree* TNodeTreeColumns::Tree() const { return FHeader->FOwner; }

int TNodeTreeColumns::EffectiveOffsetX() const { return Tree()->EffectiveOffsetX(); }

TNodeTreeColumn* TNodeTreeColumns::Add()
{
    auto* column = new TNodeTreeColumn(this);  // joins FItems, which owns it
    Update(nullptr);
    return column;
}

TNodeTreeColumn* TNodeTreeColumns::Items(TColumnIndex index) const
{
    if (!IsValidColumn(index))
        RaiseAssertion(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FItems[size_t(index)].get();
}

void TNodeTreeColumns::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Update(nullptr);
}

void TNodeTreeColumns::Delete(TColumnIndex index)
{
    Items(index);
    Tree()->DoCancelEdit();
    FItems.erase(FItems.begin() + index);
    ItemRemoved(index);
    Update(nullptr);
}

void TNodeTreeColumns::ItemRemoved(TColumnIndex index)
{
    auto& order = FPositionToIndex;
    order.erase(std::remove(order.begin(), order.end(), index), order.end());
    for (TColumnIndex& i : order)
        if (i > index)
            --i;
    for (TColumnPosition p = 0; p < order.size(); ++p)
        if (size_t(order[p]) < FItems.size())
            FItems[size_t(order[p])]->FPosition = p;
    auto follow = [index](TColumnIndex& i) {
        if (i == index)
            i = NoColumn;
        else if (i > index)
            --i;
    };
    follow(FHoverIndex);
    follow(FDownIndex);
    follow(FTrackIndex);
    follow(FClickIndex);
    follow(FHeader->FAutoSizeIndex);
    follow(FHeader->SortColumn);
    // The main column follows its column; when it was the removed one the first column takes over.
    TColumnIndex& main = FHeader->MainColumn;
    if (main == index)
        main = FItems.empty() ? NoColumn : 0;
    else if (main > index)
        --main;
    TBaseNodeTree* tree = Tree();
    if (tree->FFocusedColumn == index)
        tree->FFocusedColumn = NoColumn;
    else if (tree->FFocusedColumn > index)
        --tree->FFocusedColumn;
}

void TNodeTreeColumns::Clear()
{
    FClearing = true;
    struct Reset {
        bool& Flag;
        ~Reset() { Flag = false; }
    } reset{FClearing};
    TBaseNodeTree* tree = Tree();
    tree->DoCancelEdit();
    FHoverIndex = FDownIndex = FTrackIndex = FClickIndex = NoColumn;
    FCheckBoxHit = false;
    if (!FHeader->Loading()) {
        FHeader->FAutoSizeIndex = NoColumn;
        FHeader->MainColumn = NoColumn;
        FHeader->SortColumn = NoColumn;
    }
    tree->FFocusedColumn = NoColumn;
    FItems.clear();
    FPositionToIndex.clear();
    Update(nullptr);
}

void TNodeTreeColumns::Assign(const TNodeTreeColumns& source)
{
    BeginUpdate();
    Clear();
    for (const auto& c : source.FItems) {
        TNodeTreeColumn* column = Add();
        column->Assign(*c);
    }
    FPositionToIndex = source.FPositionToIndex;
    for (TColumnPosition p = 0; p < FPositionToIndex.size(); ++p)
        FItems[size_t(FPositionToIndex[p])]->FPosition = p;
    FNeedPositionsFix = false;
    FUpdateCount = 0;
    UpdateColumnLefts(true);
    Update(nullptr);
}

bool TNodeTreeColumns::Equals(const TNodeTreeColumns& other) const
{
    if (Count() != other.Count() || FPositionToIndex != other.FPositionToIndex)
        return false;
    for (int i = 0; i < Count(); ++i)
        if (!FItems[size_t(i)]->Equals(*other.FItems[size_t(i)]))
            return false;
    return true;
}

void TNodeTreeColumns::SyncPositionArray()
{
    const size_t count = FItems.size();
    if (FPositionToIndex.size() < count) {
        const size_t old = FPositionToIndex.size();
        FPositionToIndex.resize(count);
        for (size_t p = old; p < count; ++p)
            FPositionToIndex[p] = TColumnIndex(p);
    } else if (FPositionToIndex.size() > count) {
        FPositionToIndex.resize(count);
        for (bool changed = true; changed;) {
            changed = false;
            for (TColumnIndex& i : FPositionToIndex)
                if (i >= TColumnIndex(count)) {
                    --i;
                    changed = true;
                }
        }
    }
}

void TNodeTreeColumns::UpdateColumnLefts(bool force)
{
    TBaseNodeTree* tree = Tree();
    if (tree->FDestroying || FNeedPositionsFix || (!force && Updating()))
        return;
    int left = 0;
    for (TColumnPosition p = 0; p < FPositionToIndex.size(); ++p) {
        const TColumnIndex i = FPositionToIndex[p];
        if (!IsValidColumn(i))
            continue;
        TNodeTreeColumn* c = FItems[size_t(i)].get();
        c->FPosition = p;
        c->FLeft = left;
        if (c->Visible())
            left += c->FWidth;
    }
    tree->UpdateHorizontalScrollBar(false);
}

void TNodeTreeColumns::RebuildPositions()
{
    FPositionToIndex.assign(FItems.size(), NoColumn);
    for (size_t i = 0; i < FItems.size(); ++i) {
        const TColumnPosition p = FItems[i]->FPosition;
        if (p < FPositionToIndex.size())
            FPositionToIndex[p] = TColumnIndex(i);
    }
    FNeedPositionsFix = false;
    UpdateColumnLefts(true);
}

void TNodeTreeColumns::ResetColumnOrder(bool rightToLeft)
{
    const int count = Count();
    FPositionToIndex.resize(size_t(count));
    for (int p = 0; p < count; ++p)
        FPositionToIndex[size_t(p)] = rightToLeft ? count - 1 - p : p;
    UpdateColumnLefts(true);
}

void TNodeTreeColumns::Update(TNodeTreeColumn* item)
{
    if (FClearing && !FItems.empty())
        return;
    SyncPositionArray();
    if (FHeader->Loading())
        FNeedPositionsFix = true;
    else
        UpdateColumnLefts(false);
    if (!FItems.empty() && FHeader->MainColumn == NoColumn)
        FHeader->MainColumn = 0;
    if (FHeader->Loading() || Updating())
        return;
    if (FHeader->FOptions & hoAutoResize)
        FitAutoSizeColumn(false);
    if (item) {
        FHeader->Invalidate(item);
    } else {
        Tree()->UpdateHorizontalScrollBar(false);
        FHeader->Invalidate(nullptr);
        Tree()->Invalidate();
    }
}

void TNodeTreeColumns::FitAutoSizeColumn(bool force)
{
    if (FItems.empty())
        return;
    TColumnIndex index = FHeader->FAutoSizeIndex;
    if (!IsValidColumn(index))
        index = Count() - 1;
    TNodeTreeColumn* column = FItems[size_t(index)].get();
    int available = Tree()->ClientWidth();
    for (size_t i = 0; i < FItems.size(); ++i)
        if (TColumnIndex(i) != index && FItems[i]->Visible())
            available -= FItems[i]->FWidth;
    const int width = std::max(std::min(column->FMaxWidth, available), column->FMinWidth);
    if (force || width != column->FWidth) {
        column->FWidth = width;
        UpdateColumnLefts(false);
        Tree()->DoColumnResize(index);
    }
}

void TNodeTreeColumns::AnimatedResize(TColumnIndex column, int newWidth)
{
    // The width jumps: painting the steps would block the GUI thread for every step.
    if (!IsValidColumn(column))
        return;
    TNodeTreeColumn* c = FItems[size_t(column)].get();
    newWidth = std::min(std::max(newWidth, c->FMinWidth), c->FMaxWidth);
    if (newWidth == c->FWidth)
        return;
    c->SetWidth(newWidth);
}

// ---------------------------------------------------------------------------------------------
// Hit testing and navigation

TColumnIndex TNodeTreeColumns::ColumnFromPosition(QPoint p, bool relative) const
{
    int left = 0, right = 0;
    return ColumnAndBoundsAt(p, left, right, relative);
}

TColumnIndex TNodeTreeColumns::ColumnAndBoundsAt(QPoint p, int& left, int& right, bool relative) const
{
    if (p.x() < 0 || p.y() < 0 || p.y() > Tree()->Height())
        return InvalidColumn;
    int sum = 0;
    if (relative && p.x() >= GetVisibleFixedWidth())
        sum = -EffectiveOffsetX();
    sum += RightToLeftOffset();
    // Right-to-left columns can leave room on the left; a point there is in no column.
    if (p.x() < sum)
        return InvalidColumn;
    for (TColumnIndex i : FPositionToIndex) {
        if (!IsValidColumn(i))
            continue;
        const TNodeTreeColumn* c = FItems[size_t(i)].get();
        if (!c->Visible())
            continue;
        const int start = sum;
        sum += c->FWidth;
        if (p.x() < sum) {
            left = start;
            right = sum;
            return i;
        }
    }
    return InvalidColumn;
}

TColumnIndex TNodeTreeColumns::ColumnFromPosition(TColumnPosition positionIndex) const
{
    return positionIndex < FPositionToIndex.size() ? FPositionToIndex[positionIndex] : NoColumn;
}

void TNodeTreeColumns::GetColumnBounds(TColumnIndex column, int& left, int& right) const
{
    if (column < 0) {
        left = 0;
        right = Tree()->ClientWidth();
        return;
    }
    const TNodeTreeColumn* c = Items(column);
    left = c->Left() + RightToLeftOffset();
    right = left + c->FWidth;
}

int TNodeTreeColumns::RightToLeftOffset() const
{
    const TBaseNodeTree* tree = Tree();
    return tree->RightToLeft() ? tree->ComputeRTLOffset(true) : 0;
}

TColumnIndex TNodeTreeColumns::GetFirstColumn() const
{
    return FPositionToIndex.empty() ? InvalidColumn : FPositionToIndex[0];
}

TColumnIndex TNodeTreeColumns::GetNextColumn(TColumnIndex column) const
{
    if (!IsValidColumn(column))
        return InvalidColumn;
    const TColumnPosition p = FItems[size_t(column)]->FPosition + 1;
    return p < FPositionToIndex.size() ? FPositionToIndex[p] : InvalidColumn;
}

TColumnIndex TNodeTreeColumns::GetPreviousColumn(TColumnIndex column) const
{
    if (!IsValidColumn(column))
        return InvalidColumn;
    const TColumnPosition p = FItems[size_t(column)]->FPosition;
    return p > 0 && p - 1 < FPositionToIndex.size() ? FPositionToIndex[p - 1] : InvalidColumn;
}

namespace {
bool Takes(const TNodeTreeColumn* c, bool considerAllowFocus)
{
    return c->Visible() && (!considerAllowFocus || (c->Options() & coAllowFocus));
}
}  // namespace

TColumnIndex TNodeTreeColumns::GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus) const
{
    for (TColumnIndex c = GetNextColumn(column); c != InvalidColumn; c = GetNextColumn(c))
        if (Takes(FItems[size_t(c)].get(), considerAllowFocus))
            return c;
    return InvalidColumn;
}

TColumnIndex TNodeTreeColumns::GetPreviousVisibleColumn(TColumnIndex column, bool considerAllowFocus) const
{
    for (TColumnIndex c = GetPreviousColumn(column); c != InvalidColumn; c = GetPreviousColumn(c))
        if (Takes(FItems[size_t(c)].get(), considerAllowFocus))
            return c;
    return InvalidColumn;
}

TColumnIndex TNodeTreeColumns::GetFirstVisibleColumn(bool considerAllowFocus) const
{
    for (TColumnIndex i : FPositionToIndex)
        if (IsValidColumn(i) && Takes(FItems[size_t(i)].get(), considerAllowFocus))
            return i;
    return InvalidColumn;
}

TColumnIndex TNodeTreeColumns::GetLastVisibleColumn(bool considerAllowFocus) const
{
    for (auto it = FPositionToIndex.rbegin(); it != FPositionToIndex.rend(); ++it)
        if (IsValidColumn(*it) && Takes(FItems[size_t(*it)].get(), considerAllowFocus))
            return *it;
    return InvalidColumn;
}

std::vector<TNodeTreeColumn*> TNodeTreeColumns::GetVisibleColumns() const
{
    std::vector<TNodeTreeColumn*> result;
    for (TColumnIndex i : FPositionToIndex)
        if (IsValidColumn(i) && FItems[size_t(i)]->Visible())
            result.push_back(FItems[size_t(i)].get());
    return result;
}

int TNodeTreeColumns::GetVisibleFixedWidth() const
{
    int width = 0;
    for (const auto& c : FItems)
        if (c->Visible() && (c->FOptions & coFixed))
            width += c->FWidth;
    return width;
}

int TNodeTreeColumns::GetScrollWidth() const
{
    int sum = 0, count = 0;
    for (const auto& c : FItems)
        if (c->Visible() && !(c->FOptions & coFixed)) {
            sum += c->FWidth;
            ++count;
        }
    if (count == 0)
        return int(Tree()->Indent());
    return int(std::nearbyint(double(sum) / count));  // the default rounding mode: half to even
}

int TNodeTreeColumns::TotalWidth() const
{
    if (FItems.empty())
        return 0;
    const TColumnIndex last = FPositionToIndex.empty() ? InvalidColumn : FPositionToIndex.back();
    TColumnIndex c = IsValidColumn(last) && FItems[size_t(last)]->Visible() ? last : GetPreviousVisibleColumn(last);
    if (!IsValidColumn(c))
        return 0;
    return FItems[size_t(c)]->FLeft + FItems[size_t(c)]->FWidth;
}

// ---------------------------------------------------------------------------------------------
// Hover, press and click

bool TNodeTreeColumns::TrackColumnAt(QPoint p, TColumnIndex& index)
{
    const TColumnIndex column = ColumnFromPosition(p);
    if (column == index)
        return false;
    if (IsValidColumn(index))
        FHeader->Invalidate(FItems[size_t(index)].get());
    if (IsValidColumn(column))
        FHeader->Invalidate(FItems[size_t(column)].get());
    index = column;
    return true;
}

bool TNodeTreeColumns::SetHoverColumnAt(QPoint p) { return TrackColumnAt(p, FHoverIndex); }

TColumnIndex TNodeTreeColumns::SetDownColumnAt(QPoint p)
{
    const TColumnIndex column = ColumnFromPosition(p);
    if (IsValidColumn(column) && column != FDownIndex) {
        TNodeTreeColumn* c = FItems[size_t(column)].get();
        if ((c->FOptions & coAllowClick) && (c->FOptions & coEnabled)) {
            if (IsValidColumn(FDownIndex))
                FHeader->Invalidate(FItems[size_t(FDownIndex)].get());
            FDownIndex = column;
            FCheckBoxHit = c->FHasImage && c->FCheckBox && c->FImageRect.contains(p);
            FHeader->Invalidate(c);
        }
    }
    return column;
}

bool TNodeTreeColumns::ColumnSplitterAllowed(QPoint p, TColumnIndex column)
{
    const TNodeTreeColumn* c = Items(column);
    const bool allowed = c->Visible() && (c->FOptions & coResizable);
    return DoCanSplitterResizeColumn(p, column, allowed);
}

bool TNodeTreeColumns::DoCanSplitterResizeColumn(QPoint p, TColumnIndex column, bool allowed)
{
    TBaseNodeTree* tree = Tree();
    if (tree->OnCanSplitterResizeColumn)
        tree->OnCanSplitterResizeColumn(FHeader, p, column, allowed);
    return allowed;
}

void TNodeTreeColumns::HandleHeaderClick(QPoint p, platform::TMouseButton button, bool force, bool dblClick)
{
    TBaseNodeTree* tree = Tree();
    TTVHeaderHitInfo info;
    info.Column = ColumnFromPosition(p);
    info.X = p.x();
    info.Y = p.y();
    info.Button = button;
    info.Shift = FHeader->KeyboardShift() | (dblClick ? platform::ssDouble : 0);
    TNodeTreeColumn* hit = IsValidColumn(info.Column) ? FItems[size_t(info.Column)].get() : nullptr;
    if (hit && (hit->FOptions & coAllowClick) && (force || info.Column == FDownIndex)) {
        FClickIndex = info.Column;
        info.HitPosition = hhiOnColumn;
        if (hit->FHasImage && hit->FImageRect.contains(p)) {
            info.HitPosition |= hhiOnIcon;
            if (hit->FCheckBox) {
                if (button == platform::mbLeft)
                    hit->SetCheckState(tree->DetermineNextCheckState(hit->FCheckType, hit->FCheckState));
                info.HitPosition |= hhiOnCheckbox;
            }
        }
    } else {
        FClickIndex = NoColumn;
        info.HitPosition = hhiNoWhere;
        info.Column = NoColumn;
        hit = nullptr;
    }
    if (dblClick) {
        if (tree->OnHeaderDblClick)
            tree->OnHeaderDblClick(FHeader, info);
    } else {
        if ((FHeader->FOptions & hoHeaderClickAutoSort) && button == platform::mbLeft &&
            !(info.HitPosition & hhiOnCheckbox) && hit) {
            if (FHeader->SortColumn == info.Column) {
                FHeader->SetSortDirection(FHeader->SortDirection == sdAscending ? sdDescending : sdAscending);
            } else {
                FHeader->SetSort(info.Column, hit->FDefaultSortDirection);
            }
        }
        if (button == platform::mbRight && (FHeader->FOptions & hoAutoColumnPopupMenu))
            FHeader->ShowAutoColumnMenu(QPoint(p.x(), p.y()));
        if (tree->OnHeaderClick)
            tree->OnHeaderClick(FHeader, info);
    }
    if (hit)
        FHeader->Invalidate(hit);
}

// ---------------------------------------------------------------------------------------------
// Collection stream

void TNodeTreeColumns::SaveToStream(platform::ByteWriter& s) const
{
    PutI32(s, Count());
    for (const auto& c : FItems)
        c->SaveToStream(s);
    if (Count() > 0)
        for (int p = 0; p < Count(); ++p)
            PutI32(s, p < int(FPositionToIndex.size()) ? FPositionToIndex[size_t(p)] : p);
    PutI32(s, FDefaultWidth);
}

bool TNodeTreeColumns::ReadRecord(platform::ByteReader& s, int version, TColumnsRecord& r)
{
    const int32_t count = GetI32(s);
    // Every record holds at least twelve integers: a count beyond the bytes left is a lie.
    if (!s.Ok() || count < 0 || size_t(count) > s.Remaining() / 48)
        return false;
    r.Columns.resize(size_t(count));
    for (TColumnRecord& column : r.Columns)
        if (!TNodeTreeColumn::ReadRecord(s, version, column))
            return false;
    if (count > 0) {
        r.Positions.resize(size_t(count));
        std::vector<bool> seen(size_t(count), false);
        for (int32_t& p : r.Positions) {
            p = GetI32(s);
            if (!s.Ok() || p < 0 || p >= count || seen[size_t(p)])
                return false;
            seen[size_t(p)] = true;
        }
    }
    if (version > 4) {
        r.DefaultWidth = GetI32(s);
        r.HasDefaultWidth = true;
        if (r.DefaultWidth < 0)
            return false;
    }
    return s.Ok();
}

void TNodeTreeColumns::ApplyRecord(const TColumnsRecord& r, int version)
{
    Clear();
    if (!r.Columns.empty()) {
        BeginUpdate();
        for (const TColumnRecord& record : r.Columns)
            Add()->ApplyRecord(record, version);
        FPositionToIndex.assign(r.Positions.begin(), r.Positions.end());
        for (TColumnPosition p = 0; p < FPositionToIndex.size(); ++p)
            FItems[size_t(FPositionToIndex[p])]->FPosition = p;
        FNeedPositionsFix = false;
        UpdateColumnLefts(true);
        FUpdateCount = 0;
    }
    if (r.HasDefaultWidth)
        FDefaultWidth = r.DefaultWidth;
}

}  // namespace tree
