#include "controls/dropdowns/ItemSelector.h"

#include "controls/common/GradientButton.h"
#include "controls/dropdowns/DropDownDraw.h"
#include "platform/Exception.h"
#include "platform/TImageList.h"

#include <QRegularExpression>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

namespace dropdowns {

using namespace platform;

namespace {

struct TAppearancePreset {
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo, BorderColorTop, BorderColorBottom, BorderColor,
        EdgeColor, ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
};

// Indexed by TSelectionColorStyle - 1.
constexpr TAppearancePreset AppearancePresets[] = {
    {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
     0x68E3F9},
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
    {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
};

QSize GraphicSize(const TExtCustomItemSelector& owner, const TSelectorItem& item)
{
    if (owner.SelectorType() == stColor)
        return QSize(owner.ColorBoxWidth(), owner.ColorBoxHeight());
    if (!item.Image.isNull())
        return item.Image.size();
    if (owner.Images() && item.ImageIndex() >= 0)
        return QSize(owner.Images()->Width(), owner.Images()->Height());
    return QSize(0, 0);
}

}  // namespace

// Appearance

TItemAppearance::TItemAppearance(void* owner) : FOwner(owner)
{
    Font.SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle value)
{
    if (value == FColorStyle)
        return;
    FColorStyle = value;
    if (value == scCustom)
        return;
    const TAppearancePreset& p = AppearancePresets[value - 1];
    ColorHot = p.ColorHot;
    ColorHotTo = p.ColorHotTo;
    ColorMirrorHot = p.ColorMirrorHot;
    ColorMirrorHotTo = p.ColorMirrorHotTo;
    BorderColorTop = p.BorderColorTop;
    BorderColorBottom = p.BorderColorBottom;
    BorderColor = p.BorderColor;
    EdgeColor = p.EdgeColor;
    ColorSelected = p.ColorSelected;
    ColorSelectedTo = p.ColorSelectedTo;
    ColorMirrorSelected = p.ColorMirrorSelected;
    ColorMirrorSelectedTo = p.ColorMirrorSelectedTo;
}

void TItemAppearance::Assign(const TItemAppearance& source)
{
    if (&source == this)
        return;
    ColorHot = source.ColorHot;
    ColorHotTo = source.ColorHotTo;
    ColorMirrorHot = source.ColorMirrorHot;
    ColorMirrorHotTo = source.ColorMirrorHotTo;
    BorderColorTop = source.BorderColorTop;
    BorderColorBottom = source.BorderColorBottom;
    BorderColor = source.BorderColor;
    EdgeColor = source.EdgeColor;
    ColorSelected = source.ColorSelected;
    ColorSelectedTo = source.ColorSelectedTo;
    ColorMirrorSelected = source.ColorMirrorSelected;
    ColorMirrorSelectedTo = source.ColorMirrorSelectedTo;
    Font = source.Font;
    // A different style reloads its preset over the colours just copied.
    SetColorStyle(source.FColorStyle);
    ColorSelectedText = source.ColorSelectedText;
    ColorHotText = source.ColorHotText;
    BorderColorHot = source.BorderColorHot;
    BorderColorSelected = source.BorderColorSelected;
}

// Items

void TSelectorItem::Changed()
{
    if (FCollection)
        FCollection->Changed();
}

void TSelectorItem::SetCaption(const QString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    Changed();
}

void TSelectorItem::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Changed();
}

void TSelectorItem::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TSelectorItem::Assign(const TSelectorItem& source)
{
    if (&source == this)
        return;
    SetCaption(source.FCaption);
    SetColor(source.FColor);
    SetImageIndex(source.FImageIndex);
    Image = source.Image;
    Enabled = source.Enabled;
    Hint = source.Hint;
}

TSelectorItem* TSelectorItems::Insert(int index)
{
    if (index < 0 || index > Count())
        index = Count();
    auto item = std::make_unique<TSelectorItem>(this);
    TSelectorItem* raw = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    Changed();
    return raw;
}

TSelectorItem* TSelectorItems::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

void TSelectorItems::SetItems(int index, const TSelectorItem& value)
{
    if (TSelectorItem* item = Items(index))
        item->Assign(value);
}

void TSelectorItems::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TSelectorItems::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

void TSelectorItems::Assign(const TSelectorItems& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    FItems.clear();
    for (const auto& item : source.FItems)
        Add()->Assign(*item);
    EndUpdate();
}

void TSelectorItems::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        Changed();
}

void TSelectorItems::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange();
}

// Panel

TCustomItemSelector::TCustomItemSelector(QWidget* owner)
    : TCustomControl(nullptr), FExtItemSelector(qobject_cast<TExtCustomItemSelector*>(owner))
{
    if (!FExtItemSelector)
        throw Exception(QStringLiteral("Invalid parent"));
    setParent(FExtItemSelector->viewport());
    SetShowHint(true);
}

TSelectorItems& TCustomItemSelector::Items() const { return FExtItemSelector->Items(); }

bool TCustomItemSelector::InRange(int index) const { return index >= 0 && index < Items().Count(); }

bool TCustomItemSelector::IsDisabled(int index) const { return InRange(index) && !Items().Items(index)->Enabled; }

void TCustomItemSelector::SetItemIndex(int value)
{
    // An index past the items selects nothing that exists, so it is refused like a disabled one.
    if (IsDisabled(value) || value >= Items().Count())
        return;
    value = std::max(-1, value);
    if (FItemIndex >= 0 && value != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = value;
    if (value >= 0) {
        InvalidateItem(value);
        if (OnItemSelect)
            OnItemSelect();
    }
}

void TCustomItemSelector::SetItemHot(int index)
{
    if (index == FItemHot || IsDisabled(index))
        return;
    if (FItemHot >= 0) {
        const int old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = index;
    if (index >= 0)
        InvalidateItem(index);
}

void TCustomItemSelector::SelectFirst()
{
    if (Items().Count() > 0)
        SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    if (Items().Count() > 0)
        SetItemIndex(Items().Count() - 1);
}

void TCustomItemSelector::SelectNext()
{
    if (Items().Count() == 0)
        return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < Items().Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious()
{
    if (Items().Count() == 0)
        return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext()
{
    if (Items().Count() == 0)
        return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot + 1 < Items().Count())
        SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious()
{
    if (Items().Count() == 0)
        return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot - 1 >= 0)
        SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const QString& s)
{
    for (int i = 0; i < Items().Count(); ++i) {
        const QString text = MatchCaseText(HTMLToPlainText(Items().Items(i)->Caption()).trimmed(), false);
        if (text.startsWith(s)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

QRect TCustomItemSelector::GetItemRect(int index) const
{
    if (!InRange(index))
        return Rect(-1, -1, -1, -1);
    return Items().Items(index)->Rect;
}

int TCustomItemSelector::ItemAtPos(int x, int y) const
{
    for (int i = 0; i < Items().Count(); ++i)
        if (Items().Items(i)->Rect.contains(x, y))
            return i;
    return -1;
}

QRect TCustomItemSelector::GetItemArea() const
{
    return ClientRect().adjusted(OffSetX, OffSetY, -OffSetX, -OffSetY);
}

void TCustomItemSelector::InvalidateItem(int index)
{
    if (InRange(index))
        InvalidateRect(Items().Items(index)->Rect);
}

QSize TCustomItemSelector::GetItemSize()
{
    TExtCustomItemSelector& owner = *FExtItemSelector;
    if (owner.OnItemSize) {
        QSize size(0, 0);
        owner.OnItemSize(this, size);
        return size;
    }
    int w0 = 0, h0 = 0;
    if (owner.SelectorType() == stColor) {
        w0 = owner.ColorBoxWidth();
        h0 = owner.ColorBoxHeight();
    }
    TCanvas& canvas = Canvas();
    canvas.Font = owner.ItemAppearance().Font;
    int cw = 0, ch = 0;
    for (int i = 0; i < Items().Count(); ++i) {
        const TSelectorItem& item = *Items().Items(i);
        if (owner.SelectorType() == stImage) {
            if (!item.Image.isNull()) {
                w0 = std::max(w0, item.Image.width());
                h0 = std::max(h0, item.Image.height());
            } else if (owner.Images() && item.ImageIndex() >= 0) {
                w0 = std::max(w0, owner.Images()->Width());
                h0 = std::max(h0, owner.Images()->Height());
            }
        }
        QSize size;
        DrawHTMLText(canvas, item.Caption(), QRect(0, 0, 1000, 500), owner.Images(), false, QString(), size);
        cw = std::max(cw, size.width());
        ch = std::max(ch, size.height());
    }
    if (cw > 0)
        cw += 4;
    int w = 0, h = 0;
    switch (owner.ItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
        w = w0 > 0 ? w0 + 2 * ItemOffSetX : 2 * ItemOffSetX;
        if (cw > 0)
            w += (w0 > 0 ? CaptionGap : 0) + cw;
        h = std::max(ch, h0) + 2 * ItemOffSetY;
        break;
    case ilCaptionTop:
    case ilCaptionBottom:
        w = std::max(cw, w0) + 2 * ItemOffSetX;
        h = h0 > 0 ? h0 + 2 * ItemOffSetY : 2 * ItemOffSetY;
        if (ch >= 1)
            h += (h0 > 0 ? CaptionGap : 0) + ch;
        break;
    }
    return QSize(w, h);
}

void TCustomItemSelector::UpdateLayout()
{
    if (Items().Count() == 0) {
        resize(100, 50);
        FExtItemSelector->UpdateScrollRange();
        return;
    }
    FItemHot = -1;
    const QSize size = GetItemSize();
    const int w = size.width(), h = size.height();
    const QRect area = GetItemArea();
    int x = area.left(), y = area.top(), maxX = 0, column = 0;
    const int count = Items().Count();
    for (int i = 0; i < count; ++i) {
        Items().Items(i)->Rect = QRect(x, y, w, h);
        ++column;
        if (i == count - 1)
            break;
        if (column < FExtItemSelector->Columns()) {
            x += w;
        } else {
            maxX = std::max(maxX, x);
            y += h;
            x = area.left();
            column = 0;
        }
    }
    resize(std::max(maxX, x) + w + area.left(), y + h + area.top());
    FExtItemSelector->UpdateScrollRange();
    Invalidate();
}

void TCustomItemSelector::DrawItem(int index, TCanvas& canvas)
{
    if (!InRange(index))
        return;
    TExtCustomItemSelector& owner = *FExtItemSelector;
    const TSelectorItem& item = *Items().Items(index);
    const QRect cell = item.Rect;
    if (cell.left() < 0 && cell.right() < 0)
        return;
    const TItemAppearance& look = owner.ItemAppearance();
    TColor border = look.BorderColor, topLine = look.BorderColorTop, bottomLine = look.BorderColorBottom,
           edge = look.EdgeColor;
    TColor face = clNone, faceTo = clNone, mirror = clNone, mirrorTo = clNone;
    const bool selected = index == FItemIndex, hot = index == FItemHot;
    if (selected) {
        face = look.ColorSelected;
        faceTo = look.ColorSelectedTo;
        mirror = look.ColorMirrorSelected;
        mirrorTo = look.ColorMirrorSelectedTo;
        if (look.BorderColorSelected != clNone) {
            border = look.BorderColorSelected;
            topLine = bottomLine = edge = clNone;
        }
    } else if (hot) {
        face = look.ColorHot;
        faceTo = look.ColorHotTo;
        mirror = look.ColorMirrorHot;
        mirrorTo = look.ColorMirrorHotTo;
        if (look.BorderColorHot != clNone) {
            border = look.BorderColorHot;
            topLine = bottomLine = edge = clNone;
        }
    }
    if (!selected && !hot) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = owner.Color();
        canvas.FillRect(cell);
    } else if (topLine == clNone) {
        DrawGradientRect(&canvas, cell, face, faceTo, border, 1, gdVertical);
    } else {
        controls::DrawGradientButton(canvas, face, faceTo, mirror, mirrorTo, topLine, bottomLine, border, edge, owner.Color(), cell);
    }
    if (owner.OnDrawItem) {
        owner.OnDrawItem(this, canvas, cell, index);
        return;
    }
    const QSize graphic = GraphicSize(owner, item);
    const int w = graphic.width(), h = graphic.height();
    QRect c = cell.adjusted(ItemOffSetX, ItemOffSetY, -ItemOffSetX, -ItemOffSetY);
    QRect g = c;
    canvas.Font = look.Font;
    if (selected)
        canvas.Font.Color = look.ColorSelectedText;
    else if (hot)
        canvas.Font.Color = look.ColorHotText;
    canvas.Brush.Style = TBrushStyle::bsClear;

    const QString caption = item.Caption();
    auto drawCaption = [&](QRect r, bool centred) {
        if (caption.isEmpty())
            return;
        QSize size;
        if (centred) {
            DrawHTMLText(canvas, caption, r, owner.Images(), false, QString(), size);
            if (size.height() < r.height())
                r.setTop(r.top() + (r.height() - size.height()) / 2);
        }
        DrawHTMLText(canvas, caption, r, owner.Images(), true, QString(), size);
    };
    auto captionSize = [&](const QRect& r) {
        QSize size;
        DrawHTMLText(canvas, caption, r, owner.Images(), false, QString(), size);
        return size;
    };
    // Draws the graphic with its left edge at x and its top at y (or centred in g when y < 0);
    // answers its height, 0 when nothing was drawn.
    auto drawGraphic = [&](int x, int y, bool centredVertically) -> int {
        if (centredVertically)
            y = g.top() + (g.height() - h) / 2;
        if (owner.SelectorType() == stColor) {
            canvas.Brush.Style = TBrushStyle::bsSolid;
            canvas.Brush.Color = item.Color();
            canvas.Pen.Style = TPenStyle::psSolid;
            canvas.Pen.Width = 1;
            canvas.Pen.Color = clBlack;
            canvas.Rectangle(x, y, x + w, y + h);
            canvas.Brush.Style = TBrushStyle::bsClear;
            return h;
        }
        if (!item.Image.isNull()) {
            canvas.Draw(x, y, item.Image);
            return item.Image.height();
        }
        if (owner.Images() && item.ImageIndex() >= 0) {
            owner.Images()->Draw(canvas, x, y, item.ImageIndex(), item.Enabled);
            return owner.Images()->Height();
        }
        return 0;
    };

    switch (owner.ItemLayout()) {
    case ilCaptionLeft:
        if (!caption.isEmpty()) {
            c.setRight(c.right() - w);
            const int captionWidth = captionSize(c).width();
            drawCaption(c, true);
            g.setLeft(c.left() + captionWidth + CaptionGap);
        }
        if (owner.SelectorType() == stColor)
            drawGraphic(g.left(), g.top(), false);
        else
            drawGraphic(g.left(), 0, true);
        break;
    case ilCaptionRight:
        if (owner.SelectorType() == stColor)
            drawGraphic(g.left(), g.top(), false);
        else
            drawGraphic(g.left(), 0, true);
        if (w > 0)
            c.setLeft(g.left() + w + CaptionGap);
        drawCaption(c, true);
        break;
    case ilCaptionTop:
        if (!caption.isEmpty()) {
            c.setBottom(c.bottom() - h);
            const int captionHeight = captionSize(c).height();
            drawCaption(c, false);
            g.setTop(c.top() + captionHeight + CaptionGap);
        } else {
            g.setTop(g.top() + (g.height() - h) / 2);
        }
        g.setLeft(g.left() + (g.width() - w) / 2);
        drawGraphic(g.left(), g.top(), false);
        break;
    case ilCaptionBottom: {
        if (caption.isEmpty())
            g.setTop(g.top() + (g.height() - h) / 2);
        g.setLeft(g.left() + (g.width() - w) / 2);
        const int drawn = drawGraphic(g.left(), g.top(), false);
        if (drawn > 0)
            c.setTop(g.top() + drawn + CaptionGap);
        drawCaption(c, false);
        break;
    }
    }
}

void TCustomItemSelector::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = FExtItemSelector->Color();
    canvas.FillRect(ClientRect());
    for (int i = 0; i < Items().Count(); ++i)
        DrawItem(i, canvas);
}

void TCustomItemSelector::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    const int index = ItemAtPos(x, y);
    if (index >= 0 && Items().Items(index)->Enabled)
        SetItemIndex(index);
}

void TCustomItemSelector::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    const int index = ItemAtPos(x, y);
    if (index < 0) {
        SetItemHot(-1);
        return;
    }
    if (index == FItemHot)
        return;
    SetItemHot(Items().Items(index)->Enabled ? index : -1);
    SetHint(Items().Items(index)->Hint);
    QToolTip::hideText();
}

void TCustomItemSelector::MouseLeave()
{
    SetItemHot(-1);
}

THintInfo TCustomItemSelector::HintAt(const QPoint& pos)
{
    const int index = ItemAtPos(pos.x(), pos.y());
    if (!FExtItemSelector->ShowHint() || index < 0)
        return THintInfo{};
    return THintInfo{Items().Items(index)->Hint, Items().Items(index)->Rect};
}

// Container

TExtCustomItemSelector::TExtCustomItemSelector(QWidget* parent)
    : TCustomControl(parent), FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this))
{
    SetScrollBars(ssBoth);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    FItemAppearance->OnChange = [] {};
    FPanel = new TCustomItemSelector(this);
    FPanel->OnItemSelect = [this] {
        if (OnItemSelect)
            OnItemSelect();
    };
    FItems->OnChange = [this] { UpdateSelectorPanel(); };
    FPanel->UpdateLayout();
}

TExtCustomItemSelector::~TExtCustomItemSelector()
{
    FItems->OnChange = nullptr;
}

void TExtCustomItemSelector::SetSelectorType(TSelectorType value)
{
    if (value == FSelectorType)
        return;
    FSelectorType = value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColumns(int value)
{
    if (value <= 0 || value == FColumns)
        return;
    FColumns = value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxWidth(int value)
{
    if (value == FColorBoxWidth)
        return;
    FColorBoxWidth = value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxHeight(int value)
{
    if (value == FColorBoxHeight)
        return;
    FColorBoxHeight = value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetImages(const TImageList* value)
{
    if (value == FImages)
        return;
    FImages = value;
    UpdateSelectorPanel();
}

int TExtCustomItemSelector::ItemIndex() const { return FPanel ? FPanel->ItemIndex() : -1; }

void TExtCustomItemSelector::SetItemIndex(int value)
{
    if (!FPanel)
        return;
    FPanel->SetItemIndex(value);
    ScrollItemInView(FPanel->ItemIndex());
}

int TExtCustomItemSelector::ItemHot() const { return FPanel ? FPanel->ItemHot() : -1; }

void TExtCustomItemSelector::UpdateSelectorPanel()
{
    if (FPanel) {
        FPanel->SetColor(Color());
        FPanel->UpdateLayout();
    }
}

void TExtCustomItemSelector::SelectFirst()
{
    if (!FPanel)
        return;
    FPanel->SelectFirst();
    ScrollItemInView(FPanel->ItemIndex());
}

void TExtCustomItemSelector::SelectLast()
{
    if (!FPanel)
        return;
    FPanel->SelectLast();
    ScrollItemInView(FPanel->ItemIndex());
}

void TExtCustomItemSelector::SelectNext()
{
    if (!FPanel)
        return;
    FPanel->SelectNext();
    ScrollItemInView(FPanel->ItemIndex());
}

void TExtCustomItemSelector::SelectPrevious()
{
    if (!FPanel)
        return;
    FPanel->SelectPrevious();
    ScrollItemInView(FPanel->ItemIndex());
}

void TExtCustomItemSelector::HotNext()
{
    if (!FPanel)
        return;
    FPanel->HotNext();
    ScrollItemInView(FPanel->ItemHot());
}

void TExtCustomItemSelector::HotPrevious()
{
    if (!FPanel)
        return;
    FPanel->HotPrevious();
    ScrollItemInView(FPanel->ItemHot());
}

bool TExtCustomItemSelector::LookupItem(const QString& s)
{
    if (!FPanel || FItems->Count() == 0)
        return false;
    const bool found = FPanel->LookupItem(s);
    if (found)
        ScrollItemInView(FPanel->ItemIndex());
    return found;
}

void TExtCustomItemSelector::ScrollItemInView(int index)
{
    if (!FPanel || index < 0 || index >= FItems->Count() || !ScrollBarShown(sbVertical))
        return;
    // The cell in the container's client coordinates.
    QRect r = FPanel->GetItemRect(index).translated(FPanel->pos());
    const int clientHeight = ClientHeight();
    int delta = 0;
    if (r.top() < 0) {
        delta = r.top();
    } else if (r.top() + r.height() > clientHeight) {
        if (r.height() > clientHeight)
            r.setHeight(clientHeight);
        delta = r.top() + r.height() - clientHeight;
    }
    if (delta != 0) {
        SetScrollPos(sbVertical, ScrollPos(sbVertical) + delta);
        PlacePanel();
    }
}

int TExtCustomItemSelector::GetVisibleItemCount() const
{
    if (!FPanel || FItems->Count() == 0)
        return 0;
    const int cellHeight = FItems->Items(0)->Rect.height();
    if (cellHeight <= 0)
        return 0;
    int h = height();
    if (ScrollBarShown(sbHorizontal))
        h -= 20;
    return h / cellHeight * FColumns;
}

QSize TExtCustomItemSelector::GetSelectorPanelSize() const
{
    return FPanel ? FPanel->size() : QSize(100, 50);
}

void TExtCustomItemSelector::UpdateScrollRange()
{
    if (!FPanel)
        return;
    const QSize panel = FPanel->size();
    // Which bars the panel needs is decided from the whole size, so that bars shown for an
    // earlier, smaller size go away again.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    bool needH = panel.width() > width(), needV = panel.height() > height();
    if (needH && !needV)
        needV = panel.height() > height() - extent;
    if (needV && !needH)
        needH = panel.width() > width() - extent;
    const int pageV = std::max(1, height() - (needH ? extent : 0));
    const int pageH = std::max(1, width() - (needV ? extent : 0));
    SetScrollInfo(sbVertical, 0, panel.height() - 1, pageV, ScrollPos(sbVertical));
    SetScrollInfo(sbHorizontal, 0, panel.width() - 1, pageH, ScrollPos(sbHorizontal));
    PlacePanel();
}

void TExtCustomItemSelector::PlacePanel()
{
    if (FPanel)
        FPanel->move(-ScrollPos(sbHorizontal), -ScrollPos(sbVertical));
}

void TExtCustomItemSelector::Resize()
{
    TCustomControl::Resize();
    UpdateScrollRange();
}

void TExtCustomItemSelector::Scroll(TScrollBarKind bar, int code, int pos)
{
    const TScrollInfo& info = GetScrollInfo(bar);
    const int line = 8;
    switch (code) {
    case SB_LINEUP: SetScrollPos(bar, info.Pos - line); break;
    case SB_LINEDOWN: SetScrollPos(bar, info.Pos + line); break;
    case SB_PAGEUP: SetScrollPos(bar, info.Pos - std::max(1, info.Page)); break;
    case SB_PAGEDOWN: SetScrollPos(bar, info.Pos + std::max(1, info.Page)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetScrollPos(bar, pos); break;
    case SB_TOP: SetScrollPos(bar, info.Min); break;
    case SB_BOTTOM: SetScrollPos(bar, MaxScrollPos(bar)); break;
    default: break;
    }
    PlacePanel();
}

bool TExtCustomItemSelector::MouseWheel(TShiftState shift, int wheelDelta, int x, int y)
{
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (!ScrollBarShown(sbVertical))
        return false;
    Scroll(sbVertical, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return true;
}

unsigned TExtCustomItemSelector::GetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TExtCustomItemSelector::KeyDown(int& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key != VK_TAB)
        key = 0;
}

void TExtCustomItemSelector::KeyUp(int& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (key != VK_TAB)
        key = 0;
}

QString HTMLToPlainText(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("<(BR|HR)\\s*/?>"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString s = text;
    s.replace(lineBreak, QStringLiteral("\n"));
    s.remove(tag);
    return s;
}

}  // namespace dropdowns
