#include "controls/buttons_pages/CustomTabControl.h"

#include "platform/TImageList.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

using namespace platform;

namespace controls {

namespace {

// Room between the tab's edges and its text, and between an image and the text.
constexpr int Text_Padding = 6;
constexpr int Image_Gap = 3;
constexpr int Across_Padding = 6;
// The strip starts this far from the control's edge.
constexpr int Strip_Inset = 2;

}  // namespace

TCustomTabControl::TCustomTabControl(QWidget* parent) : TCustomControl(parent)
{
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::InsertTab(int index, const QString& text, QObject* object)
{
    index = std::clamp(index, 0, TabCount());
    FTabs.insert(FTabs.begin() + index, TTab{text, object, false});
    if (FTabIndex < 0 && TabCount() == 1)
        FTabIndex = 0;
    else if (FTabIndex >= index && FTabIndex >= 0 && TabCount() > 1)
        ++FTabIndex;
    InvalidateLayout();
}

void TCustomTabControl::DeleteTab(int index)
{
    if (index < 0 || index >= TabCount())
        return;
    FTabs.erase(FTabs.begin() + index);
    if (FTabIndex == index)
        FTabIndex = -1;
    else if (FTabIndex > index)
        --FTabIndex;
    FFirstShown = std::clamp(FFirstShown, 0, std::max(0, TabCount() - 1));
    InvalidateLayout();
}

void TCustomTabControl::MoveTab(int from, int to)
{
    if (from < 0 || from >= TabCount() || to < 0 || to >= TabCount() || from == to)
        return;
    TTab tab = FTabs[from];
    FTabs.erase(FTabs.begin() + from);
    FTabs.insert(FTabs.begin() + to, tab);
    if (FTabIndex == from)
        FTabIndex = to;
    else if (from < FTabIndex && to >= FTabIndex)
        --FTabIndex;
    else if (from > FTabIndex && to <= FTabIndex && FTabIndex >= 0)
        ++FTabIndex;
    InvalidateLayout();
}

QString TCustomTabControl::TabText(int index) const
{
    return index >= 0 && index < TabCount() ? FTabs[index].Text : QString();
}

void TCustomTabControl::SetTabText(int index, const QString& text)
{
    if (index < 0 || index >= TabCount() || FTabs[index].Text == text)
        return;
    FTabs[index].Text = text;
    InvalidateLayout();
}

QObject* TCustomTabControl::TabObject(int index) const
{
    return index >= 0 && index < TabCount() ? FTabs[index].Object.data() : nullptr;
}

bool TCustomTabControl::TabHighlighted(int index) const
{
    return index >= 0 && index < TabCount() && FTabs[index].Highlighted;
}

void TCustomTabControl::SetTabHighlighted(int index, bool on)
{
    if (index < 0 || index >= TabCount() || FTabs[index].Highlighted == on)
        return;
    FTabs[index].Highlighted = on;
    Invalidate();
}

void TCustomTabControl::SetTabIndex(int index)
{
    if (index < 0 || index >= TabCount())
        index = -1;
    if (index == FTabIndex)
        return;
    FTabIndex = index;
    ScrollToSelection();
    InvalidateLayout();
}

void TCustomTabControl::SetTabPosition(TTabPosition position)
{
    if (FTabPosition == position)
        return;
    FTabPosition = position;
    InvalidateLayout();
}

void TCustomTabControl::SetMultiLine(bool on)
{
    if (FMultiLine == on)
        return;
    FMultiLine = on;
    FFirstShown = 0;
    InvalidateLayout();
}

void TCustomTabControl::SetRaggedRight(bool on)
{
    if (FRaggedRight == on)
        return;
    FRaggedRight = on;
    InvalidateLayout();
}

void TCustomTabControl::SetScrollOpposite(bool on)
{
    if (FScrollOpposite == on)
        return;
    FScrollOpposite = on;
    InvalidateLayout();
}

void TCustomTabControl::SetHotTrack(bool on) { FHotTrack = on; }

void TCustomTabControl::SetTabHeight(int h)
{
    h = std::max(0, h);
    if (FTabHeight == h)
        return;
    FTabHeight = h;
    InvalidateLayout();
}

void TCustomTabControl::SetTabWidth(int w)
{
    w = std::max(0, w);
    if (FTabWidth == w)
        return;
    FTabWidth = w;
    InvalidateLayout();
}

void TCustomTabControl::SetOwnerDraw(bool on)
{
    if (FOwnerDraw == on)
        return;
    FOwnerDraw = on;
    Invalidate();
}

void TCustomTabControl::SetImageRoom(QSize room)
{
    room = room.expandedTo(QSize(0, 0));
    if (FImageRoom == room)
        return;
    FImageRoom = room;
    InvalidateLayout();
}

void TCustomTabControl::SetTabImages(TImageList* images)
{
    FTabImages = images;
    Invalidate();
}

void TCustomTabControl::InvalidateLayout()
{
    FLayoutValid = false;
    LayoutChanged();
    Invalidate();
}

int TCustomTabControl::TabThickness() const
{
    if (FTabHeight > 0)
        return FTabHeight;
    const int image = Vertical() ? FImageRoom.width() : FImageRoom.height();
    return std::max(QFontMetrics(font()).height(), image) + Across_Padding;
}

int TCustomTabControl::TabLength(int index) const
{
    if (FTabWidth > 0)
        return FTabWidth;
    const int image = Vertical() ? FImageRoom.height() : FImageRoom.width();
    return QFontMetrics(font()).horizontalAdvance(FTabs[index].Text) + 2 * Text_Padding +
           (image > 0 ? image + Image_Gap : 0);
}

void TCustomTabControl::ScrollToSelection()
{
    if (FMultiLine || FTabIndex < 0)
        return;
    if (FTabIndex < FFirstShown) {
        FFirstShown = FTabIndex;
        return;
    }
    const int avail = std::max(1, (Vertical() ? ClientHeight() : ClientWidth()) - 2 * Strip_Inset);
    auto end = [&] {
        int sum = 0;
        for (int i = FFirstShown; i <= FTabIndex; ++i)
            sum += TabLength(i);
        return sum;
    };
    while (FFirstShown < FTabIndex && end() > avail)
        ++FFirstShown;
}

void TCustomTabControl::EnsureLayout() const
{
    if (FLayoutValid)
        return;
    FLayoutValid = true;
    const int w = ClientWidth();
    const int h = ClientHeight();
    const int n = TabCount();
    FRects.assign(n, QRect());
    const int thick = TabThickness();
    const int avail = std::max(1, (Vertical() ? h : w) - 2 * Strip_Inset);

    std::vector<int> length(n);
    for (int i = 0; i < n; ++i)
        length[i] = TabLength(i);
    std::vector<std::vector<int>> rows;
    const int first = FMultiLine ? 0 : std::clamp(FFirstShown, 0, std::max(0, n - 1));
    int used = 0;
    for (int i = first; i < n; ++i) {
        if (rows.empty() || (FMultiLine && !rows.back().empty() && used + length[i] > avail)) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += length[i];
    }
    const int rowCount = std::max<int>(1, int(rows.size()));
    FRows = rowCount;
    const int stripDepth = n == 0 ? 0 : rowCount * thick;
    switch (FTabPosition) {
    case tpTop: FPageEdge = Strip_Inset + stripDepth; break;
    case tpLeft: FPageEdge = Strip_Inset + stripDepth; break;
    case tpBottom: FPageEdge = h - Strip_Inset - stripDepth; break;
    case tpRight: FPageEdge = w - Strip_Inset - stripDepth; break;
    }
    if (n == 0)
        return;

    int selectedRow = 0;
    for (int r = 0; r < int(rows.size()); ++r)
        if (std::find(rows[r].begin(), rows[r].end(), FTabIndex) != rows[r].end())
            selectedRow = r;
    for (int r = 0; r < int(rows.size()); ++r) {
        // Depth 0 lies against the page: the selected tab's row.
        int depth = (selectedRow - r + rowCount) % rowCount;
        if (FScrollOpposite && r != selectedRow)
            depth = r < selectedRow ? rowCount - 1 - r : r;
        const std::vector<int>& row = rows[r];
        int sum = 0;
        for (int i : row)
            sum += length[i];
        const int extra = (FMultiLine && rowCount > 1 && !FRaggedRight && sum < avail) ? avail - sum : 0;
        int along = Strip_Inset;
        for (size_t k = 0; k < row.size(); ++k) {
            int len = length[row[k]];
            if (extra > 0)
                len += extra / int(row.size()) + (k + 1 == row.size() ? extra % int(row.size()) : 0);
            int across = 0;
            switch (FTabPosition) {
            case tpTop:
            case tpLeft: across = FPageEdge - (depth + 1) * thick; break;
            case tpBottom:
            case tpRight: across = FPageEdge + depth * thick; break;
            }
            FRects[row[k]] = Vertical() ? QRect(across, along, thick, len) : QRect(along, across, len, thick);
            along += len;
        }
    }
}

QRect TCustomTabControl::TabRect(int index) const
{
    EnsureLayout();
    return index >= 0 && index < int(FRects.size()) ? FRects[index] : QRect();
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const
{
    EnsureLayout();
    for (int i = 0; i < int(FRects.size()); ++i)
        if (FRects[i].contains(x, y))
            return i;
    return -1;
}

int TCustomTabControl::RowCount() const
{
    EnsureLayout();
    return FRows;
}

QRect TCustomTabControl::StripRect() const
{
    EnsureLayout();
    QRect box;
    for (const QRect& r : FRects)
        if (!r.isEmpty())
            box |= r;
    if (!box.isEmpty())
        return box;
    const int w = ClientWidth();
    const int h = ClientHeight();
    switch (FTabPosition) {
    case tpTop: return QRect(0, 0, w, Strip_Inset);
    case tpBottom: return QRect(0, h - Strip_Inset, w, Strip_Inset);
    case tpLeft: return QRect(0, 0, Strip_Inset, h);
    case tpRight: return QRect(w - Strip_Inset, 0, Strip_Inset, h);
    }
    return box;
}

QRect TCustomTabControl::PageRect() const
{
    EnsureLayout();
    const int w = ClientWidth();
    const int h = ClientHeight();
    switch (FTabPosition) {
    case tpTop: return Rect(0, FPageEdge, w, h);
    case tpBottom: return Rect(0, 0, w, FPageEdge);
    case tpLeft: return Rect(FPageEdge, 0, w, h);
    case tpRight: return Rect(0, 0, FPageEdge, h);
    }
    return QRect();
}

QRect TCustomTabControl::DisplayRect() const { return PageRect().adjusted(4, 4, -4, -4); }

bool TCustomTabControl::CanChange(int /*toTab*/)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange)
        OnChange();
}

void TCustomTabControl::DrawTab(int index, const QRect& rect, bool active)
{
    if (OnDrawTab)
        OnDrawTab(this, index, rect, active);
}

int TCustomTabControl::GetImageIndex(int tabIndex)
{
    int image = -1;
    if (OnGetImageIndex)
        OnGetImageIndex(this, tabIndex, image);
    return image;
}

bool TCustomTabControl::UserSelect(int index)
{
    if (index < 0 || index >= TabCount() || index == FTabIndex || !CanShowTab(index))
        return false;
    if (!CanChange(index))
        return false;
    SetTabIndex(index);
    Change();
    return true;
}

TColor TCustomTabControl::ParentColor() const
{
    QWidget* parent = parentWidget();
    if (!parent)
        return clBtnFace;
    if (auto* control = qobject_cast<TCustomControl*>(parent))
        return control->Color();
    return FromQColor(parent->palette().color(parent->backgroundRole()));
}

void TCustomTabControl::Paint()
{
    TCanvas& c = Canvas();
    c.Brush = TBrush{ParentColor(), TBrushStyle::bsSolid};
    c.FillRect(ClientRect());
    const QRect page = PageRect();
    c.Brush = TBrush{Color(), TBrushStyle::bsSolid};
    c.FillRect(page);
    // A raised frame around the page.
    const int l = page.left(), t = page.top(), r = page.left() + page.width() - 1,
              b = page.top() + page.height() - 1;
    c.Pen = TPen{clBtnHighlight};
    c.MoveTo(l, b);
    c.LineTo(l, t);
    c.LineTo(r, t);
    c.Pen = TPen{cl3DDkShadow};
    c.LineTo(r, b);
    c.LineTo(l - 1, b);
    for (int i = TabCount() - 1; i >= 0; --i) {
        if (i == FTabIndex)
            continue;
        const QRect tr = TabRect(i);
        if (tr.isEmpty())
            continue;
        if (FOwnerDraw)
            DrawTab(i, tr, false);
        else
            PaintPlainTab(i, tr, false);
    }
    const QRect sel = TabRect(FTabIndex);
    if (!sel.isEmpty()) {
        if (FOwnerDraw)
            DrawTab(FTabIndex, sel, true);
        else
            PaintPlainTab(FTabIndex, sel, true);
    }
}

void TCustomTabControl::PaintPlainTab(int index, const QRect& r, bool active)
{
    TCanvas& c = Canvas();
    c.Brush = TBrush{FTabs[index].Highlighted ? clHighlight : Color(), TBrushStyle::bsSolid};
    c.FillRect(r);
    const int l = r.left(), t = r.top(), rt = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
    // Light on the sides facing up and left, dark on the others; open toward the page.
    switch (FTabPosition) {
    case tpTop:
        c.Pen = TPen{clBtnHighlight};
        c.MoveTo(l, b + 1);
        c.LineTo(l, t);
        c.LineTo(rt, t);
        c.Pen = TPen{cl3DDkShadow};
        c.LineTo(rt, b + 1);
        break;
    case tpBottom:
        c.Pen = TPen{clBtnHighlight};
        c.MoveTo(l, t - 1);
        c.LineTo(l, b);
        c.Pen = TPen{cl3DDkShadow};
        c.LineTo(rt, b);
        c.LineTo(rt, t - 2);
        break;
    case tpLeft:
        c.Pen = TPen{clBtnHighlight};
        c.MoveTo(rt + 1, t);
        c.LineTo(l, t);
        c.LineTo(l, b);
        c.Pen = TPen{cl3DDkShadow};
        c.LineTo(rt + 1, b);
        break;
    case tpRight:
        c.Pen = TPen{clBtnHighlight};
        c.MoveTo(l - 1, t);
        c.LineTo(rt, t);
        c.Pen = TPen{cl3DDkShadow};
        c.LineTo(rt, b);
        c.LineTo(l - 2, b);
        break;
    }
    int along = Text_Padding;
    const int image = GetImageIndex(index);
    if (FTabImages && image >= 0 && image < FTabImages->Count()) {
        if (Vertical())
            FTabImages->Draw(c, r.left() + (r.width() - FTabImages->Width()) / 2,
                             FTabPosition == tpLeft ? r.bottom() - along - FTabImages->Height() + 1 : r.top() + along,
                             image);
        else
            FTabImages->Draw(c, r.left() + along, r.top() + (r.height() - FTabImages->Height()) / 2, image);
        along += (Vertical() ? FTabImages->Height() : FTabImages->Width()) + Image_Gap;
    }
    c.Font = Font();
    if (!isEnabled())
        c.Font.Color = clGrayText;
    c.Brush.Style = TBrushStyle::bsClear;
    const int textHeight = c.TextHeight(FTabs[index].Text);
    const int lower = active ? 0 : 1;
    if (!Vertical()) {
        c.TextOut(r.left() + along, r.top() + (r.height() - textHeight) / 2 + lower, FTabs[index].Text);
        return;
    }
    QPainter* p = c.Painter();
    p->save();
    if (FTabPosition == tpLeft) {
        p->translate(r.left() + (r.width() - textHeight) / 2, r.bottom() + 1 - along);
        p->rotate(-90);
    } else {
        p->translate(r.right() + 1 - (r.width() - textHeight) / 2, r.top() + along);
        p->rotate(90);
    }
    c.TextOut(0, 0, FTabs[index].Text);
    p->restore();
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    const int index = IndexOfTabAt(x, y);
    if (index >= 0 && index != FTabIndex)
        UserSelect(index);
}

void TCustomTabControl::KeyDown(int& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (shift & (ssCtrl | ssAlt))
        return;
    int step = 0;
    if (key == VK_LEFT || key == VK_UP)
        step = -1;
    else if (key == VK_RIGHT || key == VK_DOWN)
        step = 1;
    if (step == 0 || FTabIndex < 0)
        return;
    key = 0;
    UserSelect(FTabIndex + step);
}

void TCustomTabControl::Resize()
{
    TCustomControl::Resize();
    ScrollToSelection();
    InvalidateLayout();
}

void TCustomTabControl::changeEvent(QEvent* event)
{
    TCustomControl::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        InvalidateLayout();
}

}  // namespace controls
