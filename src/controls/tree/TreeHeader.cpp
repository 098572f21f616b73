#include "controls/tree/TreeHeader.h"
#include "controls/tree/TreeDragImage.h"
#include "controls/tree/NodeTrees.h"

#include <QApplication>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace tree {

using platform::TShiftState;

// ---------------------------------------------------------------------------------------------
// Fixed-area constraints

void TTVFixedAreaConstraints::SetMaxHeightPercent(uint8_t value)
{
    value = std::min<uint8_t>(value, 100);
    if (value == FMaxHeightPercent)
        return;
    FMaxHeightPercent = value;
    if (value > 0 && value < FMinHeightPercent)
        FMinHeightPercent = value;
    Change();
}

void TTVFixedAreaConstraints::SetMaxWidthPercent(uint8_t value)
{
    value = std::min<uint8_t>(value, 100);
    if (value == FMaxWidthPercent)
        return;
    FMaxWidthPercent = value;
    if (value > 0 && value < FMinWidthPercent)
        FMinWidthPercent = value;
    Change();
}

void TTVFixedAreaConstraints::SetMinHeightPercent(uint8_t value)
{
    value = std::min<uint8_t>(value, 100);
    if (value == FMinHeightPercent)
        return;
    FMinHeightPercent = value;
    if (FMaxHeightPercent > 0 && value > FMaxHeightPercent)
        FMaxHeightPercent = value;
    Change();
}

void TTVFixedAreaConstraints::SetMinWidthPercent(uint8_t value)
{
    value = std::min<uint8_t>(value, 100);
    if (value == FMinWidthPercent)
        return;
    FMinWidthPercent = value;
    if (FMaxWidthPercent > 0 && value > FMaxWidthPercent)
        FMaxWidthPercent = value;
    Change();
}

void TTVFixedAreaConstraints::Assign(const TTVFixedAreaConstraints& source)
{
    FMaxHeightPercent = source.FMaxHeightPercent;
    FMaxWidthPercent = source.FMaxWidthPercent;
    FMinHeightPercent = source.FMinHeightPercent;
    FMinWidthPercent = source.FMinWidthPercent;
    Change();
}

// ---------------------------------------------------------------------------------------------
// The header

TTVHeader::TTVHeader(TBaseNodeTree* owner)
    : FOwner(owner), FColumns(std::make_unique<TNodeTreeColumns>(this)), FFont(owner->Font()),
      FDragImage(std::make_unique<TTVDragImage>(owner))
{
    // A dragged column shows darkened and more see-through than dragged nodes, without fading.
    FDragImage->SetFade(false);
    FDragImage->SetPostBlendBias(0);
    FDragImage->SetPreBlendBias(-50);
    FDragImage->SetTransparency(140);
    FFixedAreaConstraints.OnChange = [this] {
        if (Window())
            ApplyHeaderConstraints();
        else
            FStates |= hsNeedScaling;
    };
}

TTVHeader::~TTVHeader()
{
    FDragImage.reset();
    FColumns.reset();
}

platform::TCustomControl* TTVHeader::Window() const { return FOwner->FDestroying ? nullptr : FOwner; }

bool TTVHeader::Loading() const { return (FStates & hsLoading) != 0; }

TShiftState TTVHeader::KeyboardShift() const
{
    return platform::ShiftStateFromQt(QApplication::keyboardModifiers());
}

void TTVHeader::SetHeight(int value)
{
    if (!Window()) {
        FHeight = value;
        FStates |= hsNeedScaling;
        return;
    }
    const int total = FOwner->ClientHeight() + FHeight;
    const TTVFixedAreaConstraints& c = FFixedAreaConstraints;
    int lower = FMinHeight;
    if (c.FMaxHeightPercent > 0)
        lower = std::min(total * c.FMaxHeightPercent / 100, FMinHeight);
    int upper = FMaxHeight;
    if (c.FMinHeightPercent > 0)
        upper = std::max(total * c.FMinHeightPercent / 100, FMaxHeight);
    value = std::min(std::max(value, lower), upper);
    if (c.FMinHeightPercent > 0)
        value = std::max(value, total * c.FMinHeightPercent / 100);
    if (c.FMaxHeightPercent > 0)
        value = std::min(value, total * c.FMaxHeightPercent / 100);
    if (value == FHeight)
        return;
    FHeight = value;
    if (!Loading() && !(FStates & hsScaling))
        RecomputeHeaderArea();
    FOwner->Invalidate();
    Invalidate(nullptr);
}

void TTVHeader::SetMinHeight(int value)
{
    value = std::min(std::max(value, 0), FMaxHeight);
    FMinHeight = value;
    SetHeight(FHeight);
}

void TTVHeader::SetMaxHeight(int value)
{
    FMaxHeight = std::max(value, FMinHeight);
    SetHeight(FHeight);
}

void TTVHeader::SetDefaultHeight(int value)
{
    value = std::min(std::max(value, FMinHeight), FMaxHeight);
    const bool follow = FHeight == FDefaultHeight;
    FDefaultHeight = value;
    if (follow)
        SetHeight(value);
}

void TTVHeader::SetFont(const platform::TFont& value)
{
    FFont = value;
    FParentFont = false;
    FontChanged();
}

void TTVHeader::SetParentFont(bool value)
{
    FParentFont = value;
    if (value)
        ParentFontChanged();
}

void TTVHeader::ParentFontChanged()
{
    if (FParentFont) {
        FFont = FOwner->Font();
        FontChanged();
    }
}

void TTVHeader::ParentBiDiModeChanged()
{
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->Items(i)->ParentBiDiModeChanged();
}

void TTVHeader::FontChanged()
{
    if (FOwner->TreeOptions().AutoOptions() & toAutoChangeScale) {
        int spacing = 0;
        for (int i = 0; i < FColumns->Count(); ++i)
            spacing = std::max(spacing, FColumns->Items(i)->Spacing());
        const int h = QFontMetrics(FFont).height();
        SetHeight(std::max(FHeight, h + spacing + spacing / 2));
    }
    Invalidate(nullptr);
}

void TTVHeader::SetOptions(TTVHeaderOptions value)
{
    if (value == FOptions)
        return;
    const TTVHeaderOptions old = FOptions;
    FOptions = value;
    if (((old ^ value) & hoAutoResize) && FColumns->Count() > 0) {
        FColumns->FitAutoSizeColumn(false);
        if (Window()) {
            FOwner->UpdateHorizontalScrollBar(false);
            if (value & hoAutoResize)
                FOwner->Invalidate();
        }
    }
    if (!Loading() && Window()) {
        if ((old ^ value) & hoVisible)
            RecomputeHeaderArea();
        Invalidate(nullptr);
        FOwner->Invalidate();
    }
}

void TTVHeader::SetStyle(TTVHeaderStyle value)
{
    FStyle = value;
    if (!Loading())
        Invalidate(nullptr);
}

void TTVHeader::SetBackground(platform::TColor value)
{
    if (FBackgroundColor == value)
        return;
    FBackgroundColor = value;
    Invalidate(nullptr);
}

void TTVHeader::SetAutoSizeIndex(TColumnIndex value)
{
    if (FAutoSizeIndex == value)
        return;
    FAutoSizeIndex = value;
    if (FOptions & hoAutoResize)
        FColumns->FitAutoSizeColumn(false);
}

void TTVHeader::SetImages(platform::TImageList* images)
{
    if (FImages == images)
        return;
    FImages = images;
    if (!Loading())
        Invalidate(nullptr);
}

void TTVHeader::SetMainColumn(TColumnIndex value)
{
    if (Loading()) {
        MainColumn = value;
        return;
    }
    const int count = FColumns->Count();
    value = count == 0 ? NoColumn : std::min(std::max(value, 0), count - 1);
    if (value == MainColumn)
        return;
    MainColumn = value;
    FOwner->MainColumnChanged();
    if (!(FOwner->TreeOptions().SelectionOptions() & toExtendedFocus))
        FOwner->FFocusedColumn = value;
    FOwner->Invalidate();
}

void TTVHeader::SetSortColumn(TColumnIndex value)
{
    if (Loading())
        SortColumn = value;
    else
        ApplySortColumn(value);
}

void TTVHeader::ApplySortColumn(TColumnIndex value)
{
    if (TakeSortColumn(value))
        SortIfAuto();
}

bool TTVHeader::TakeSortColumn(TColumnIndex value)
{
    value = std::min(std::max(value, NoColumn), FColumns->Count() - 1);
    if (value == SortColumn)
        return false;
    if (FColumns->IsValidColumn(SortColumn))
        Invalidate(FColumns->Items(SortColumn));
    SortColumn = value;
    if (FColumns->IsValidColumn(SortColumn))
        Invalidate(FColumns->Items(SortColumn));
    return true;
}

void TTVHeader::SetSortDirection(TSortDirection value)
{
    if (value == SortDirection)
        return;
    SortDirection = value;
    Invalidate(nullptr);
    SortIfAuto();
}

void TTVHeader::SetSort(TColumnIndex column, TSortDirection direction)
{
    if (Loading()) {
        SortColumn = column;
        SortDirection = direction;
        return;
    }
    bool changed = TakeSortColumn(column);
    if (direction != SortDirection) {
        SortDirection = direction;
        Invalidate(nullptr);
        changed = true;
    }
    if (changed)
        SortIfAuto();
}

void TTVHeader::SortIfAuto()
{
    const bool autoSort = (FOwner->TreeOptions().AutoOptions() & toAutoSort) || (FOptions & hoHeaderClickAutoSort);
    if (autoSort && FOwner->FUpdateCount == 0)
        FOwner->SortTree(SortColumn, SortDirection, true);
}

bool TTVHeader::AllowFocus(TColumnIndex column) const
{
    return FColumns->IsValidColumn(column) && (FColumns->Items(column)->Options() & coAllowFocus);
}

void TTVHeader::Assign(const TTVHeader& source)
{
    if (&source == this)
        return;
    SetAutoSizeIndex(source.FAutoSizeIndex);
    SetBackground(source.FBackgroundColor);
    SetColumns(*source.FColumns);
    SetFont(source.FFont);
    SetFixedAreaConstraints(source.FFixedAreaConstraints);
    SetHeight(source.FHeight);
    SetImages(source.FImages);
    SetMainColumn(source.MainColumn);
    SetOptions(source.FOptions);
    SetParentFont(source.FParentFont);
    SetPopupMenu(source.FPopupMenu);
    SetSort(source.SortColumn, source.SortDirection);
    SetStyle(source.FStyle);
    ApplyHeaderConstraints();
}

// ---------------------------------------------------------------------------------------------
// Geometry

bool TTVHeader::InHeader(QPoint p) const { return FOwner->HeaderRect().contains(p); }

bool TTVHeader::InHeaderSplitterArea(QPoint p) const
{
    if (p.y() < -2 || p.y() > 2 || !(FOptions & hoVisible))
        return false;
    const QRect r = FOwner->HeaderRect().adjusted(0, 0, 0, 2);
    return r.contains(p);
}

void TTVHeader::Invalidate(TNodeTreeColumn* column, bool expandToBorder)
{
    if (!(FOptions & hoVisible) || !Window())
        return;
    const QRect header = FOwner->HeaderRect();
    if (!column) {
        FOwner->InvalidateNonClient(header);
        return;
    }
    QRect r = column->GetRect();
    if (!(column->Visible() && (column->Options() & coFixed)))
        r.translate(-FOwner->EffectiveOffsetX(), 0);
    r.translate(FColumns->RightToLeftOffset(), 0);
    if (expandToBorder) {
        if (FOptions & hoFullRepaintOnResize) {
            r.setLeft(header.left());
            r.setRight(header.right());
        } else if (FOwner->RightToLeft()) {
            r.setLeft(header.left());
        } else {
            r.setRight(header.right());
        }
    }
    FOwner->InvalidateNonClient(r);
}

void TTVHeader::RecomputeHeaderArea()
{
    if (Window())
        FOwner->UpdateHeaderRect();
}

void TTVHeader::ChangeScale(int m, int d)
{
    if (d == 0)
        return;
    SetHeight(int(int64_t(FHeight) * m / d));
    if (!FParentFont) {
        QFont f = FFont;
        if (f.pixelSize() > 0)
            f.setPixelSize(int(int64_t(f.pixelSize()) * m / d));
        FFont = platform::TFont(f, FFont.Color);
    }
    for (int i = 0; i < FColumns->Count(); ++i) {
        TNodeTreeColumn* c = FColumns->Items(i);
        c->SetWidth(int(int64_t(c->Width()) * m / d));
    }
}

void TTVHeader::ApplyHeaderConstraints()
{
    if (Loading() || !Window())
        return;
    FStates |= hsScaling;
    SetHeight(FHeight);
    RecomputeHeaderArea();
    const TTVFixedAreaConstraints& c = FFixedAreaConstraints;
    if (c.FMinHeightPercent > 0 || c.FMaxHeightPercent > 0) {
        for (int i = 0; i < FColumns->Count(); ++i) {
            TNodeTreeColumn* col = FColumns->Items(i);
            if (col->Visible() && (col->Options() & coFixed) && col->FWidth < col->FMinWidth)
                col->FWidth = col->FMinWidth;
        }
        const int f = FColumns->GetVisibleFixedWidth();
        const int cw = FOwner->ClientWidth();
        const int minF = cw * c.FMinWidthPercent / 100;
        const int maxF = cw * c.FMaxWidthPercent / 100;
        if (c.FMaxWidthPercent > 0 && f > maxF)
            ResizeColumns(maxF - f, 0, FColumns->Count() - 1, coVisible | coFixed);
        else if (c.FMinWidthPercent > 0 && f < minF)
            ResizeColumns(minF - f, 0, FColumns->Count() - 1, coVisible | coFixed);
        FColumns->UpdateColumnLefts(false);
    }
    FStates &= ~(hsScaling | hsNeedScaling);
}

void TTVHeader::DistributeSpringWidth()
{
    const int width = FOwner->HeaderRect().width();
    if ((FOptions & hoAutoSpring) && FLastWidth != 0) {
        const float d = float(width - FLastWidth);
        if (d != 0) {
            const int sign = d >= 0 ? 1 : -1;
            float change = std::fabs(d);
            int n = 0;
            for (int i = 0; i < FColumns->Count(); ++i) {
                const TTVColumnOptions o = FColumns->Items(i)->Options();
                if ((o & coVisible) && (o & coAutoSpring))
                    ++n;
            }
            if (n > 0) {
                const float part = change / float(n);
                for (int i = 0; i < FColumns->Count() && change >= 0; ++i) {
                    TNodeTreeColumn* col = FColumns->Items(i);
                    const TTVColumnOptions o = col->Options();
                    if (!((o & coVisible) && (o & coAutoSpring)))
                        continue;
                    const float acc = col->FSpringRest + part;
                    if (acc >= 1)
                        col->SetWidth(col->Width() + sign * int(std::trunc(acc)));
                    col->FSpringRest = acc - std::trunc(acc);
                    change -= part;
                }
            }
        }
    }
    FLastWidth = width;
}

int TTVHeader::ResizeColumns(int changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol, TTVColumnOptions options)
{
    if (changeBy == 0 || FColumns->Count() == 0)
        return 0;
    rangeStartCol = std::max(rangeStartCol, 0);
    rangeEndCol = std::min(rangeEndCol, FColumns->Count() - 1);
    if (rangeStartCol > rangeEndCol)
        return 0;
    const bool growing = changeBy > 0;
    const int sign = growing ? 1 : -1;
    const int n = rangeEndCol - rangeStartCol + 1;
    const size_t size = static_cast<size_t>(n);
    std::vector<int> widths(size), limits(size);
    std::vector<bool> takes(size), bonus(size);
    for (int i = 0; i < n; ++i) {
        const TNodeTreeColumn* c = FColumns->Items(rangeStartCol + i);
        widths[size_t(i)] = c->FWidth;
        limits[size_t(i)] = growing ? c->FMaxWidth : c->FMinWidth;
        takes[size_t(i)] = (c->FOptions & options) == options;
        bonus[size_t(i)] = c->FBonusPixel;
    }
    auto movable = [&](int i) { return takes[size_t(i)] && (growing ? widths[size_t(i)] < limits[size_t(i)] : widths[size_t(i)] > limits[size_t(i)]); };
    auto clampTo = [&](int i, int w) { return growing ? std::min(w, limits[size_t(i)]) : std::max(w, limits[size_t(i)]); };
    int remaining = std::abs(changeBy);
    int walk = growing ? 0 : n - 1;
    while (remaining > 0) {
        int room = 0, count = 0;
        for (;;) {
            room = count = 0;
            for (int i = 0; i < n; ++i)
                if (movable(i)) {
                    room += std::abs(limits[size_t(i)] - widths[size_t(i)]);
                    ++count;
                }
            if ((FStates & hsScaling) && !growing && room < remaining) {
                int widest = -1;
                for (int i = 0; i < n; ++i)
                    if (takes[size_t(i)] && (widest < 0 || widths[size_t(i)] > widths[size_t(widest)]))
                        widest = i;
                if (widest >= 0 && limits[size_t(widest)] > 10) {
                    limits[size_t(widest)] -= limits[size_t(widest)] / 10;
                    continue;
                }
            }
            break;
        }
        if (count == 0)
            break;
        remaining = std::min(remaining, room);
        const int share = remaining / count;
        const int spare = remaining % count;
        for (int i = 0; i < n; ++i)
            if (movable(i)) {
                const int w = clampTo(i, widths[size_t(i)] + sign * share);
                remaining -= std::abs(w - widths[size_t(i)]);
                widths[size_t(i)] = w;
            }
        // Single pixels go to the columns that did not get one the last time.
        for (int handed = 0, steps = 0; handed < spare && remaining > 0 && steps < 4 * n; ++steps) {
            if (movable(walk) && bonus[size_t(walk)] != growing) {
                const int w = clampTo(walk, widths[size_t(walk)] + sign);
                remaining -= std::abs(w - widths[size_t(walk)]);
                widths[size_t(walk)] = w;
                bonus[size_t(walk)] = growing;
                ++handed;
            }
            walk += sign;
            if (walk < 0 || walk >= n) {
                for (int i = 0; i < n; ++i)
                    if (takes[size_t(i)])
                        bonus[size_t(i)] = !bonus[size_t(i)];
                walk = growing ? 0 : n - 1;
            }
        }
    }
    FStates |= hsResizing;
    int result = 0;
    for (int i = 0; i < n; ++i) {
        if (!takes[size_t(i)])
            continue;
        TNodeTreeColumn* c = FColumns->Items(rangeStartCol + i);
        c->FBonusPixel = bonus[size_t(i)];
        const int old = c->FWidth;
        c->SetWidth(widths[size_t(i)]);
        result += c->FWidth - old;
    }
    FStates &= ~hsResizing;
    return result;
}

void TTVHeader::AutoFitColumns(bool animated, TSmartAutoFitType smartAutoFitType, int rangeStartCol, int rangeEndCol)
{
    const int count = FColumns->Count();
    if (rangeStartCol < 0)
        rangeStartCol = 0;
    if (rangeEndCol < 0 || rangeEndCol >= count)
        rangeEndCol = count - 1;
    if (rangeStartCol > rangeEndCol)
        return;
    FOwner->StartOperation(okAutoFitColumns);
    struct End {
        TBaseNodeTree* Tree;
        ~End() { Tree->EndOperation(okAutoFitColumns); }
    } end{FOwner};
    if (FOwner->OnBeforeAutoFitColumns)
        FOwner->OnBeforeAutoFitColumns(this, smartAutoFitType);
    for (int p = rangeStartCol; p <= rangeEndCol; ++p) {
        const TColumnIndex index = FColumns->ColumnFromPosition(TColumnPosition(p));
        if (!FColumns->IsValidColumn(index))
            continue;
        TNodeTreeColumn* c = FColumns->Items(index);
        if (!c->Visible() || !(c->Options() & coResizable))
            continue;
        TSmartAutoFitType type = smartAutoFitType;
        if (!DoBeforeAutoFitColumn(index, type) || FOwner->FOperationCanceled)
            continue;
        const bool smart = type == smaAllColumns || (type == smaUseColumnOption && (c->Options() & coSmartResize));
        const int width = FOwner->GetMaxColumnWidth(index, smart);
        if (animated)
            FColumns->AnimatedResize(index, width);
        else
            c->SetWidth(width);
        DoAfterAutoFitColumn(index);
    }
    if (FOwner->OnAfterAutoFitColumns)
        FOwner->OnAfterAutoFitColumns(this);
}

void TTVHeader::RestoreColumns()
{
    for (int p = FColumns->Count() - 1; p >= 0; --p) {
        const TColumnIndex index = FColumns->ColumnFromPosition(TColumnPosition(p));
        if (!FColumns->IsValidColumn(index))
            continue;
        TNodeTreeColumn* c = FColumns->Items(index);
        if (c->Visible() && (c->Options() & coResizable))
            c->RestoreLastWidth();
    }
}

// ---------------------------------------------------------------------------------------------
// Events the header fires

void TTVHeader::DoAfterAutoFitColumn(TColumnIndex column)
{
    if (FOwner->OnAfterAutoFitColumn)
        FOwner->OnAfterAutoFitColumn(this, column);
}

void TTVHeader::DoAfterColumnWidthTracking(TColumnIndex column)
{
    if (FOwner->OnAfterColumnWidthTracking)
        FOwner->OnAfterColumnWidthTracking(this, column);
}

void TTVHeader::DoAfterHeaderHeightTracking()
{
    if (FOwner->OnAfterHeaderHeightTracking)
        FOwner->OnAfterHeaderHeightTracking(this);
}

bool TTVHeader::DoBeforeAutoFitColumn(TColumnIndex column, TSmartAutoFitType& type)
{
    bool allowed = true;
    if (FOwner->OnBeforeAutoFitColumn)
        FOwner->OnBeforeAutoFitColumn(this, column, type, allowed);
    return allowed;
}

void TTVHeader::DoBeforeColumnWidthTracking(TColumnIndex column, TShiftState shift)
{
    if (FOwner->OnBeforeColumnWidthTracking)
        FOwner->OnBeforeColumnWidthTracking(this, column, shift);
}

void TTVHeader::DoBeforeHeaderHeightTracking(TShiftState shift)
{
    if (FOwner->OnBeforeHeaderHeightTracking)
        FOwner->OnBeforeHeaderHeightTracking(this, shift);
}

bool TTVHeader::DoCanSplitterResizeHeader(QPoint p, bool allowed)
{
    if (FOwner->OnCanSplitterResizeHeader)
        FOwner->OnCanSplitterResizeHeader(this, p, allowed);
    return allowed;
}

bool TTVHeader::DoColumnWidthDblClickResize(TColumnIndex column, QPoint p, TShiftState shift)
{
    bool allowed = true;
    if (FOwner->OnColumnWidthDblClickResize)
        FOwner->OnColumnWidthDblClickResize(this, column, shift, p, allowed);
    return allowed;
}

bool TTVHeader::DoColumnWidthTracking(TColumnIndex column, TShiftState shift, QPoint& trackPoint, QPoint p)
{
    bool allowed = true;
    if (FOwner->OnColumnWidthTracking)
        FOwner->OnColumnWidthTracking(this, column, shift, trackPoint, p, allowed);
    return allowed;
}

QMenu* TTVHeader::DoGetPopupMenu(TColumnIndex column, QPoint position)
{
    QMenu* menu = nullptr;
    bool askParent = true;
    if (FOwner->OnGetPopupMenu)
        FOwner->OnGetPopupMenu(FOwner, nullptr, column, position, askParent, menu);
    return menu;
}

bool TTVHeader::DoHeaderHeightTracking(QPoint& p, TShiftState shift)
{
    bool allowed = true;
    if (FOwner->OnHeaderHeightTracking)
        FOwner->OnHeaderHeightTracking(this, p, shift, allowed);
    return allowed;
}

bool TTVHeader::DoHeaderHeightDblClickResize(QPoint& p, TShiftState shift)
{
    bool allowed = true;
    if (FOwner->OnHeaderHeightDblClickResize)
        FOwner->OnHeaderHeightDblClickResize(this, p, shift, allowed);
    return allowed;
}

// ---------------------------------------------------------------------------------------------
// Automatic column menu

void TTVHeader::ShowAutoColumnMenu(QPoint p)
{
    FColumnPopupMenu = std::make_unique<QMenu>();
    QMenu* menu = FColumnPopupMenu.get();
    if ((FOptions & hoDblClickResize) && FOwner->RootNodeCount() > 0) {
        QAction* fit = menu->addAction(QStringLiteral("&Resize All Columns To Fit"));
        fit->setObjectName(QStringLiteral("TV_ResizeToFitMenuItem"));
        menu->addSeparator();
    }
    QAction* lastVisible = nullptr;
    int visibleCount = 0;
    for (TColumnPosition pos = 0; pos < FColumns->FPositionToIndex.size(); ++pos) {
        const TColumnIndex index = FColumns->FPositionToIndex[pos];
        TNodeTreeColumn* c = FColumns->Items(index);
        QAction* item = menu->addAction(c->Text());
        item->setData(index);
        item->setToolTip(c->Hint());
        item->setCheckable(true);
        item->setChecked(c->Visible());
        if (c->Visible()) {
            ++visibleCount;
            lastVisible = item;
        }
    }
    if (visibleCount == 1 && lastVisible)
        lastVisible->setEnabled(false);
    QObject::connect(menu, &QMenu::triggered, menu, [this](QAction* a) { AutoColumnMenuTriggered(a); });
    menu->popup(FOwner->viewport()->mapToGlobal(QPoint(p.x(), p.y() + FHeight)));
}

void TTVHeader::AutoColumnMenuTriggered(QAction* action)
{
    if (action->objectName() == QLatin1String("TV_ResizeToFitMenuItem")) {
        AutoFitColumns(true, smaUseColumnOption, -1, -1);
        return;
    }
    const TColumnIndex index = action->data().toInt();
    if (!FColumns->IsValidColumn(index))
        return;
    TNodeTreeColumn* c = FColumns->Items(index);
    const bool visible = !c->Visible();
    c->SetOptions(TTVColumnOptions(visible ? c->Options() | coVisible : c->Options() & ~coVisible));
    if (FOwner->OnColumnVisibilityChanged)
        FOwner->OnColumnVisibilityChanged(FOwner, index, visible);
}

// ---------------------------------------------------------------------------------------------
// Header stream

namespace {

void PutI32(platform::ByteWriter& s, int32_t v) { s.U32LE(uint32_t(v)); }
int32_t GetI32(platform::ByteReader& s) { return int32_t(s.U32LE()); }

constexpr int HeaderStreamVersion = 6;
constexpr int32_t MaxFontNameBytes = 1024;

}  // namespace

void TTVHeader::SaveToStream(platform::ByteWriter& s) const
{
    PutI32(s, -1);
    PutI32(s, HeaderStreamVersion);
    FColumns->SaveToStream(s);
    PutI32(s, FAutoSizeIndex);
    PutI32(s, int32_t(FBackgroundColor));
    PutI32(s, FHeight);
    PutI32(s, int32_t(FOptions));
    PutI32(s, FStyle);
    PutI32(s, int32_t(FFont.Color));
    PutI32(s, FFont.Height());
    const QByteArray name = FFont.Name().toUtf8();
    PutI32(s, int32_t(name.size()));
    s.Bytes(std::string_view(name.constData(), size_t(name.size())));
    PutI32(s, FFont.fixedPitch() ? 2 : 0);
    PutI32(s, (FFont.bold() ? 1 : 0) | (FFont.italic() ? 2 : 0) | (FFont.underline() ? 4 : 0) |
                  (FFont.strikeOut() ? 8 : 0));
    PutI32(s, MainColumn);
    PutI32(s, SortColumn);
    PutI32(s, SortDirection);
    PutI32(s, FParentFont ? 1 : 0);
    PutI32(s, FMaxHeight);
    PutI32(s, FMinHeight);
    PutI32(s, FDefaultHeight);
    PutI32(s, FFixedAreaConstraints.FMaxHeightPercent);
    PutI32(s, FFixedAreaConstraints.FMaxWidthPercent);
    PutI32(s, FFixedAreaConstraints.FMinHeightPercent);
    PutI32(s, FFixedAreaConstraints.FMinWidthPercent);
}

bool TTVHeader::ReadRecord(platform::ByteReader& s, THeaderRecord& r)
{
    const size_t start = s.Position();
    const int32_t first = GetI32(s);
    if (!s.Ok())
        return false;
    if (first >= 0) {
        s.Seek(start);
        r.Version = -1;
    } else {
        r.Version = GetI32(s);
        if (!s.Ok() || r.Version < 0 || r.Version > HeaderStreamVersion)
            return false;
    }
    if (!TNodeTreeColumns::ReadRecord(s, r.Version, r.Columns))
        return false;
    r.AutoSizeIndex = GetI32(s);
    r.Background = uint32_t(GetI32(s));
    r.Height = GetI32(s);
    r.Options = uint32_t(GetI32(s));
    r.Style = GetI32(s);
    r.FontColor = uint32_t(GetI32(s));
    r.FontHeight = GetI32(s);
    const int32_t nameLength = GetI32(s);
    if (!s.Ok() || nameLength < 0 || nameLength > MaxFontNameBytes || size_t(nameLength) > s.Remaining())
        return false;
    const auto name = s.Bytes(size_t(nameLength));
    r.FontName = QString::fromUtf8(reinterpret_cast<const char*>(name.data()), qsizetype(name.size()));
    r.FontPitch = GetI32(s);
    r.FontStyle = uint32_t(GetI32(s));
    if (r.Version > 0) {
        r.MainColumn = GetI32(s);
        r.SortColumn = GetI32(s);
        r.SortDirection = GetI32(s);
    }
    if (r.Version > 4) {
        const int32_t parentFont = GetI32(s);
        r.ParentFont = parentFont != 0;
        r.MaxHeight = GetI32(s);
        r.MinHeight = GetI32(s);
        r.DefaultHeight = GetI32(s);
        for (uint8_t& percent : r.Percent) {
            const int32_t v = GetI32(s);
            if (v < 0 || v > 100)
                return false;
            percent = uint8_t(v);
        }
        if (parentFont != 0 && parentFont != 1)
            return false;
        if (r.MinHeight < 0 || r.MaxHeight < r.MinHeight || r.DefaultHeight < r.MinHeight || r.DefaultHeight > r.MaxHeight)
            return false;
    }
    return s.Ok() && (r.Options & ~AllHeaderOptions) == 0 && r.Style >= hsThickButtons && r.Style <= hsPlates &&
           r.FontPitch >= 0 && r.FontPitch <= 2 && r.FontStyle <= 15 && r.SortDirection >= sdAscending &&
           r.SortDirection <= sdDescending;
}

void TTVHeader::LoadFromStream(platform::ByteReader& stream)
{
    THeaderRecord record;
    platform::ByteReader probe = stream;
    if (!ReadRecord(probe, record)) {
        const bool shortStream = !probe.Ok();
        RaiseTreeError(TreeErrors::Message(shortStream ? TreeErrors::NotEnoughData : TreeErrors::WrongFormat),
                       shortStream ? TreeErrors::NotEnoughData : TreeErrors::WrongFormat);
    }
    stream = probe;
    ApplyRecord(record);
}

void TTVHeader::ApplyRecord(const THeaderRecord& r)
{
    FStates |= hsLoading;
    const TTVHeaderOptions oldOptions = FOptions;
    FOptions = 0;
    struct Finish {
        TTVHeader* H;
        ~Finish()
        {
            H->FStates &= ~hsLoading;
            H->RecomputeHeaderArea();
            H->FOwner->DoColumnResize(NoColumn);
        }
    } finish{this};
    FColumns->ApplyRecord(r.Columns, r.Version);
    // Columns loaded without these settings must not leave them naming columns that are gone.
    const int count = FColumns->Count();
    if (SortColumn >= count)
        SortColumn = NoColumn;
    if (MainColumn >= count)
        MainColumn = count > 0 ? 0 : NoColumn;
    SetAutoSizeIndex(r.AutoSizeIndex);
    SetBackground(platform::TColor(r.Background));
    SetHeight(r.Height);
    FOptions = oldOptions;
    SetOptions(r.Options);
    SetStyle(TTVHeaderStyle(r.Style));
    QFont font = FFont;
    if (!r.FontName.isEmpty())
        font.setFamily(r.FontName);
    font.setBold(r.FontStyle & 1);
    font.setItalic(r.FontStyle & 2);
    font.setUnderline(r.FontStyle & 4);
    font.setStrikeOut(r.FontStyle & 8);
    font.setFixedPitch(r.FontPitch == 2);
    platform::TFont f(font, platform::TColor(r.FontColor));
    if (r.FontHeight != 0)
        f.SetHeight(r.FontHeight);
    FFont = f;
    if (r.Version > 0) {
        FStates &= ~hsLoading;
        SetMainColumn(r.MainColumn);
        SetSort(r.SortColumn, TSortDirection(r.SortDirection));
        FStates |= hsLoading;
    }
    if (r.Version > 4) {
        SetParentFont(r.ParentFont);
        FMaxHeight = r.MaxHeight;
        FMinHeight = r.MinHeight;
        FDefaultHeight = r.DefaultHeight;
        FFixedAreaConstraints.FMaxHeightPercent = r.Percent[0];
        FFixedAreaConstraints.FMaxWidthPercent = r.Percent[1];
        FFixedAreaConstraints.FMinHeightPercent = r.Percent[2];
        FFixedAreaConstraints.FMinWidthPercent = r.Percent[3];
    }
}

// ---------------------------------------------------------------------------------------------
// The tree's side of the header

QRect TBaseNodeTree::HeaderRect() const
{
    if (!(FHeader.FOptions & hoVisible))
        return QRect(0, 0, ClientWidth(), 0);
    return QRect(0, -FHeader.FHeight, ClientWidth(), FHeader.FHeight);
}

void TBaseNodeTree::UpdateHeaderRect()
{
    SetNonClientTop((FHeader.FOptions & hoVisible) ? FHeader.FHeight : 0);
}

void TBaseNodeTree::DoColumnResize(TColumnIndex column)
{
    if (FDestroying || FHeader.Loading())
        return;
    if (FOptions->MiscOptions() & toVariableNodeHeight)
        for (PTreeNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
            if (n->Has(vsInitialized) && n->Has(vsMultiline))
                n->Exclude(vsHeightMeasured);
    UpdateHorizontalScrollBar(true);
    TNodeTreeColumns& columns = FHeader.Columns();
    if (columns.IsValidColumn(column)) {
        if (FOptions->AutoOptions() & toAutoSpanColumns) {
            Invalidate();
        } else {
            const int left = columns.Items(column)->Left();
            InvalidateRect(QRect(left, 0, std::max(ClientWidth() - left, 0), ClientHeight()));
        }
        FHeader.Invalidate(columns.Items(column), true);
    }
    if (!(FHeader.FStates & hsResizing) && OnColumnResize)
        OnColumnResize(&FHeader, column);
    if (HasState(tsEditing))
        UpdateEditBounds();
}

void TBaseNodeTree::MainColumnChanged() { DoCancelEdit(); }

}  // namespace tree
