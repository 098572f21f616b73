#include "controls/buttons_pages/ExtPageControl.h"
#include "platform/OwnedObject.h"

#include "platform/Exception.h"
#include "platform/Guard.h"
#include "platform/TImageList.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace platform;

namespace controls {

namespace {

constexpr TColor Disabled_Text = 0x808080;
constexpr int Close_Width = 12;
constexpr int Close_Height = 11;
constexpr int Frame_Band = 4;

enum TSide : unsigned { sLeft = 1, sTop = 2, sRight = 4, sBottom = 8 };

// One-pixel lines over inclusive coordinates.
void HLine(TCanvas& c, int x1, int x2, int y, TColor color)
{
    c.Brush = TBrush{color, TBrushStyle::bsSolid};
    c.FillRect(Rect(std::min(x1, x2), y, std::max(x1, x2) + 1, y + 1));
}

void VLine(TCanvas& c, int x, int y1, int y2, TColor color)
{
    c.Brush = TBrush{color, TBrushStyle::bsSolid};
    c.FillRect(Rect(x, std::min(y1, y2), x + 1, std::max(y1, y2) + 1));
}

// The sides of the inclusive box l..r, t..b.
void Sides(TCanvas& c, int l, int t, int r, int b, unsigned sides, TColor color)
{
    if (sides & sLeft)
        VLine(c, l, t, b, color);
    if (sides & sTop)
        HLine(c, l, r, t, color);
    if (sides & sRight)
        VLine(c, r, t, b, color);
    if (sides & sBottom)
        HLine(c, l, r, b, color);
}

unsigned PageSide(TTabPosition p)
{
    switch (p) {
    case tpTop: return sBottom;
    case tpBottom: return sTop;
    case tpLeft: return sRight;
    case tpRight: return sLeft;
    }
    return sBottom;
}

int ChannelStep(int from, int to, int n, int steps)
{
    return from + int(std::nearbyint(double(n) * (to - from) / steps));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Margins and gradient

void TTabMargin::Set(int& field, int value, int index)
{
    if (field == value)
        return;
    if (OnMarginChange)
        OnMarginChange(this, value, field, index);
    field = value;
    if (FChanged)
        FChanged();
}

void TTabMargin::Assign(const TTabMargin& other)
{
    FLeftMargin = other.FLeftMargin;
    FTopMargin = other.FTopMargin;
    FRightMargin = other.FRightMargin;
    if (FChanged)
        FChanged();
}

void DrawGradient(TCanvas& canvas, TColor fromColor, TColor toColor, bool horizontal, const QRect& r, int steps)
{
    if (steps <= 0)
        steps = 1;
    const TColor from = ColorToRGB(fromColor);
    const TColor to = ColorToRGB(toColor);
    const double d = double(horizontal ? r.width() : r.height()) / steps;
    const int left = r.left(), top = r.top(), right = r.left() + r.width(), bottom = r.top() + r.height();
    const bool hadClip = canvas.HasClip();
    const QRect oldClip = hadClip ? canvas.ClipRect() : QRect();
    canvas.IntersectClipRect(r);
    for (int n = 0; n < steps; ++n) {
        const TColor band = RGBToColor(ChannelStep(GetRValue(from), GetRValue(to), n, steps),
                                       ChannelStep(GetGValue(from), GetGValue(to), n, steps),
                                       ChannelStep(GetBValue(from), GetBValue(to), n, steps));
        canvas.Pen = TPen{band};
        canvas.Brush = TBrush{band, TBrushStyle::bsSolid};
        const int start = int(std::nearbyint(n * d));
        const int size = int(std::nearbyint(d)) + 1;
        if (horizontal)
            canvas.Rectangle(left + start, top, left + start + size, bottom);
        else
            canvas.Rectangle(left, top + start, right, top + start + size);
    }
    if (hadClip)
        canvas.SetClipRect(oldClip);
    else
        canvas.ClearClip();
}

// ---------------------------------------------------------------------------------------------
// Sheet

TExtTabSheet::TExtTabSheet(QWidget* parent) : TCustomControl(parent)
{
    hide();
}

TExtTabSheet::~TExtTabSheet()
{
    OnShow = nullptr;
    OnHide = nullptr;
    // The docked control goes with the sheet; the control must not hear of it as an undocking.
    QObject::disconnect(FDockedGone);
    FDockedControl = nullptr;
    if (FExtPageControl && !FExtPageControl->FDestroying)
        FExtPageControl->RemovePage(this);
}

void TExtTabSheet::SetExtPageControl(TExtPageControl* control)
{
    if (FExtPageControl == control)
        return;
    if (FExtPageControl)
        FExtPageControl->RemovePage(this);
    if (control)
        control->InsertPage(this);
}

void TExtTabSheet::SetCaption(const QString& caption)
{
    FCaption = caption;
    ApplyCaption();
}

void TExtTabSheet::ApplyCaption()
{
    FTabCaption = FShowClose ? FCaption + QLatin1Char(' ') : FCaption.left(std::max<qsizetype>(0, FCaption.size() - 2));
    if (FExtPageControl)
        FExtPageControl->UpdateTab(this);
    InvalidateControl();
}

int TExtTabSheet::PageIndex() const
{
    if (!FExtPageControl)
        return -1;
    const auto& pages = FExtPageControl->FPages;
    const auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : int(it - pages.begin());
}

void TExtTabSheet::SetPageIndex(int index)
{
    if (!FExtPageControl)
        return;
    const int last = FExtPageControl->PageCount() - 1;
    if (index < 0 || index > last)
        throw Exception(QStringLiteral("%1 is an invalid PageIndex value.  PageIndex must be between 0 and %2")
                            .arg(index)
                            .arg(last));
    FExtPageControl->MovePage(this, index);
}

int TExtTabSheet::TabIndex() const
{
    if (!FTabShowing || !FExtPageControl)
        return -1;
    int index = 0;
    for (TExtTabSheet* page : FExtPageControl->FPages) {
        if (page == this)
            return index;
        if (page->FTabShowing)
            ++index;
    }
    return -1;
}

void TExtTabSheet::SetTabVisible(bool on)
{
    FTabVisible = on;
    UpdateTabShowing();
}

void TExtTabSheet::UpdateTabShowing() { SetTabShowing(FExtPageControl && FTabVisible); }

void TExtTabSheet::SetTabShowing(bool on)
{
    if (FTabShowing == on)
        return;
    if (on) {
        FTabShowing = true;
        FExtPageControl->ShowTab(this);
    } else {
        FExtPageControl->HideTab(this);
    }
}

void TExtTabSheet::SetTabEnable(bool on)
{
    if (FTabEnable == on)
        return;
    if (FExtPageControl && FExtPageControl->FActivePage == this)
        throw Exception(QStringLiteral("Can not disable active tab."));
    FTabEnable = on;
    InvalidateControl();
}

void TExtTabSheet::SetHighlighted(bool on)
{
    FHighlighted = on;
    if (FExtPageControl && FTabShowing)
        FExtPageControl->SetTabHighlighted(TabIndex(), on);
}

void TExtTabSheet::SetShowClose(bool on)
{
    if (FShowClose == on)
        return;
    FShowClose = on;
    ApplyCaption();
}

void TExtTabSheet::SetImageIndex(int index)
{
    FImageIndex = index;
    FImageIndexDummy = index < 0 ? 0 : index;
    ApplyCaption();
}

void TExtTabSheet::SetTextColor(TColor c)
{
    FTextColor = c;
    InvalidateControl();
}

void TExtTabSheet::SetTabColor(TColor c)
{
    FTabColor = c;
    InvalidateControl();
}

void TExtTabSheet::SetTabColorTo(TColor c)
{
    FTabColorTo = c;
    InvalidateControl();
}

void TExtTabSheet::SetColor(TColor c)
{
    TCustomControl::SetColor(c);
    Invalidate();
    InvalidateControl();
}

void TExtTabSheet::SetColorTo(TColor c)
{
    FColorTo = c;
    Invalidate();
    InvalidateControl();
}

void TExtTabSheet::SetTabGradientDirection(TGradientDirection d)
{
    if (FTabGradientDirection == d)
        return;
    FTabGradientDirection = d;
    InvalidateControl();
}

void TExtTabSheet::InvalidateControl()
{
    if (FExtPageControl)
        FExtPageControl->Invalidate();
}

void TExtTabSheet::Paint()
{
    TCanvas& c = Canvas();
    c.Brush = TBrush{Color(), TBrushStyle::bsSolid};
    c.FillRect(ClientRect());
    if (FColorTo != clNone)
        DrawGradient(c, Color(), FColorTo, false, ClientRect(), 64);
}

void TExtTabSheet::Resize()
{
    TCustomControl::Resize();
    if (FDockedControl)
        FDockedControl->setGeometry(ClientRect());
}

void TExtTabSheet::DragMessage(TDragMessageRec& m)
{
    if (m.Message == TDragMessage::dmFindTarget && FExtPageControl && FExtPageControl->FDockSite && m.Source &&
        m.Source->DragKind() == TDragKind::dkDock) {
        m.Target = FExtPageControl;
        return;
    }
    TCustomControl::DragMessage(m);
}

bool TExtTabSheet::event(QEvent* event)
{
    if (event->type() == QEvent::Show && OnShow)
        Guarded(OnShow);
    else if (event->type() == QEvent::Hide && OnHide)
        Guarded(OnHide);
    return TCustomControl::event(event);
}

// ---------------------------------------------------------------------------------------------
// Page control: pages and tabs

TExtPageControl::TExtPageControl(QWidget* parent) : TCustomTabControl(parent)
{
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    setFont(f);
    FActiveFont = TFont(f, clWindowText);
    SetOwnerDraw(true);
    FTabMargin.FChanged = [this] { UpdateSpacer(); };
}

TExtPageControl::~TExtPageControl()
{
    FDestroying = true;
    for (TExtTabSheet* page : FPages) {
        page->FExtPageControl = nullptr;
        page->FTabShowing = false;
    }
    FPages.clear();
    FActivePage = nullptr;
}

TExtTabSheet* TExtPageControl::GetPage(int index) const
{
    return index >= 0 && index < PageCount() ? FPages[index] : nullptr;
}

void TExtPageControl::InsertPage(TExtTabSheet* page)
{
    if (page->parentWidget() != viewport())
        page->setParent(viewport());
    page->hide();
    FPages.push_back(page);
    page->FExtPageControl = this;
    if (page->FTextColor == 0)
        page->FTextColor = FDefaultTextColor;
    if (page->FTabColor == clNone)
        page->FTabColor = FDefaultTabColor;
    if (page->FTabColorTo == clNone)
        page->FTabColorTo = FDefaultTabColorTo;
    AlignPage(page);
    page->UpdateTabShowing();
    Invalidate();
}

void TExtPageControl::RemovePage(TExtTabSheet* page)
{
    TExtTabSheet* next = FindNextPage(page, true, true);
    if (next == page)
        next = nullptr;
    page->SetTabShowing(false);
    page->FExtPageControl = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FActivePage == page) {
        FActivePage = nullptr;
        page->hide();
    }
    if (FHoverTab >= PageCount())
        FHoverTab = -1;
    SetActivePage(next);
    Invalidate();
}

void TExtPageControl::MovePage(TExtTabSheet* page, int index)
{
    const int oldTab = page->TabIndex();
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    FPages.insert(FPages.begin() + index, page);
    if (page->FTabShowing)
        MoveTab(oldTab, page->TabIndex());
    Invalidate();
}

void TExtPageControl::ShowTab(TExtTabSheet* page)
{
    InsertTab(page->TabIndex(), page->FTabCaption, page);
    UpdateTab(page);
    SetTabHighlighted(page->TabIndex(), page->FHighlighted);
    UpdateActivePage();
}

void TExtPageControl::HideTab(TExtTabSheet* page)
{
    int index = page->TabIndex();
    page->FTabShowing = false;
    DeleteTab(index);
    if (page == FActivePage) {
        if (index >= TabCount())
            index = TabCount() - 1;
        SetTabIndex(index);
    }
    UpdateActivePage();
}

void TExtPageControl::UpdateTab(TExtTabSheet* page)
{
    if (!page->FTabShowing || page->FExtPageControl != this)
        return;
    QString text = FTabBorder3D ? page->FCaption : page->FTabCaption;
    if (!FTabBorder3D && page == FActivePage && (FActiveFont.bold() || FActiveFont.italic())) {
        const QFontMetrics plain(font());
        const int missing = QFontMetrics(FActiveFont).horizontalAdvance(page->FTabCaption) -
                            plain.horizontalAdvance(page->FTabCaption);
        QString blanks;
        while (plain.horizontalAdvance(blanks) < missing)
            blanks += QLatin1Char(' ');
        text += blanks;
    }
    SetTabText(page->TabIndex(), text);
}

TExtTabSheet* TExtPageControl::PageOfTab(int tabIndex) const
{
    return qobject_cast<TExtTabSheet*>(TabObject(tabIndex));
}

int TExtPageControl::PageIndexOfTab(int tabIndex) const
{
    TExtTabSheet* page = PageOfTab(tabIndex);
    return page ? page->PageIndex() : -1;
}

QRect TExtPageControl::TabRectOfPage(int pageIndex) const
{
    const TExtTabSheet* page = GetPage(pageIndex);
    return page && page->FTabShowing ? TabRect(page->TabIndex()) : QRect();
}

void TExtPageControl::InvalidatePageTab(int pageIndex)
{
    const QRect r = TabRectOfPage(pageIndex);
    if (!r.isEmpty())
        InvalidateRect(r.adjusted(-2, -2, 2, 2));
}

void TExtPageControl::AlignPage(TExtTabSheet* page) { page->setGeometry(DisplayRect()); }

void TExtPageControl::LayoutChanged()
{
    for (TExtTabSheet* page : FPages)
        AlignPage(page);
}

void TExtPageControl::SetActivePage(TExtTabSheet* page)
{
    if (page && page->FExtPageControl != this)
        return;
    if (page && page != FActivePage && !page->FTabEnable)
        return;
    ChangeActivePage(page);
    if (!page)
        SetTabIndex(-1);
    else if (page == FActivePage)
        SetTabIndex(page->TabIndex());
}

int TExtPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TExtPageControl::SetActivePageIndex(int index) { SetActivePage(GetPage(index)); }

void TExtPageControl::ChangeActivePage(TExtTabSheet* page)
{
    if (FActivePage == page)
        return;
    QWidget* form = window();
    TExtTabSheet* old = FActivePage;
    if (old) {
        QWidget* focus = form->focusWidget();
        if (focus && focus != old && old->isAncestorOf(focus)) {
            old->setFocus(Qt::OtherFocusReason);
            if (form->focusWidget() != old) {
                SetTabIndex(old->TabIndex());
                return;
            }
        }
    }
    const bool focusOnOld = old && form->focusWidget() == old;
    if (page) {
        page->raise();
        page->show();
        if (focusOnOld) {
            if (page->isVisible() && page->isEnabled())
                page->setFocus(Qt::OtherFocusReason);
            else
                setFocus(Qt::OtherFocusReason);
        }
    }
    if (old)
        old->hide();
    FActivePage = page;
    if (old)
        UpdateTab(old);
    if (page)
        UpdateTab(page);
    if (page && form->focusWidget() == page) {
        // The page's first control that takes the focus by Tab.
        for (QWidget* w = page->nextInFocusChain(); w != page && page->isAncestorOf(w); w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(page) && w->isEnabled()) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
    }
    Invalidate();
}

void TExtPageControl::UpdateActivePage()
{
    ChangeActivePage(TabIndex() < 0 ? nullptr : PageOfTab(TabIndex()));
    // A change that did not happen leaves the selection on the shown page.
    if (FActivePage && FActivePage->FTabShowing && FActivePage->TabIndex() != TabIndex())
        SetTabIndex(FActivePage->TabIndex());
}

TExtTabSheet* TExtPageControl::FindNextPage(TExtTabSheet* curPage, bool goForward, bool checkTabVisible) const
{
    const int n = PageCount();
    if (n == 0)
        return nullptr;
    const auto it = std::find(FPages.begin(), FPages.end(), curPage);
    int i = it != FPages.end() ? int(it - FPages.begin()) : (goForward ? n - 1 : 0);
    for (int k = 0; k < n; ++k) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        if (!checkTabVisible || FPages[i]->FTabVisible)
            return FPages[i];
    }
    return nullptr;
}

void TExtPageControl::SelectNextPage(bool goForward)
{
    // Pages whose tabs are disabled are passed over, so the keys never get stuck on one.
    TExtTabSheet* page = FActivePage;
    for (int k = 0; k < PageCount(); ++k) {
        page = FindNextPage(page, goForward, true);
        if (!page || page == FActivePage)
            return;
        if (page->FTabShowing && page->FTabEnable && page->isEnabled())
            break;
    }
    if (page && page != FActivePage && page->FTabShowing)
        UserSelect(page->TabIndex());
}

bool TExtPageControl::CanChange(int toTab)
{
    TExtTabSheet* to = PageOfTab(toTab);
    // A disabled tab is never selected, so the selected tab always belongs to the shown page.
    if (to && !to->FTabEnable)
        return false;
    bool allow = true;
    if (OnCanChange)
        OnCanChange(this, ActivePageIndex(), to ? to->PageIndex() : -1, allow);
    if (!allow)
        return false;
    return TCustomTabControl::CanChange(toTab);
}

void TExtPageControl::Change()
{
    UpdateActivePage();
    TCustomTabControl::Change();
    Invalidate();
}

bool TExtPageControl::CanShowTab(int index)
{
    TExtTabSheet* page = PageOfTab(index);
    return page && page->isEnabled();
}

int TExtPageControl::GetImageIndex(int tabIndex)
{
    TExtTabSheet* page = PageOfTab(tabIndex);
    int image = page ? page->FImageIndex : -1;
    if (OnGetImageIndex)
        OnGetImageIndex(this, tabIndex, image);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Closed tabs

QStringList TExtPageControl::ClosedTabNames() const
{
    QStringList names;
    for (const auto& [name, sheet] : FClosedTabList)
        if (sheet)
            names << name;
    return names;
}

bool TExtPageControl::OpenClosedTab(const QString& tabName)
{
    for (const auto& [name, sheet] : FClosedTabList)
        if (sheet && name == tabName) {
            if (sheet->FExtPageControl != this)
                sheet->SetExtPageControl(this);
            return true;
        }
    return false;
}

void TExtPageControl::OpenAllClosedTabs()
{
    const auto entries = FClosedTabList;
    for (const auto& [name, sheet] : entries)
        if (sheet && sheet->FExtPageControl != this)
            sheet->SetExtPageControl(this);
}

bool TExtPageControl::CloseActiveTab()
{
    QPointer<TExtTabSheet> page = FActivePage;
    if (!page)
        return false;
    QPointer<TExtTabSheet> next = FindNextPage(page, true, true);
    bool canClose = true;
    if (page->OnCanClose)
        page->OnCanClose(page, canClose);
    if (!canClose || !page)
        return false;
    if (page->OnClose)
        page->OnClose();
    if (!page || page->FExtPageControl != this)
        return true;
    if (next && next->FExtPageControl == this)
        SetActivePage(next);
    if (FFreeOnClose) {
        platform::Destroy_Now(page);
    } else {
        FClosedTabList.emplace_back(page->objectName(), page);
        TakeOff(page);
    }
    Invalidate();
    return true;
}

void TExtPageControl::TakeOff(TExtTabSheet* page)
{
    // The sheet stays a hidden child, so it lives as long as the control unless opened elsewhere.
    page->SetExtPageControl(nullptr);
    page->hide();
}

// ---------------------------------------------------------------------------------------------
// Docking

namespace {

QString FirstLine(const QString& text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

}  // namespace

bool TExtPageControl::DockedHere(const QWidget* control) const
{
    return control && std::any_of(FPages.begin(), FPages.end(),
                                  [control](const TExtTabSheet* p) { return p->FDockedControl == control; });
}

TExtTabSheet* TExtPageControl::DockControl(QWidget* control)
{
    if (!control || control == this || control->isAncestorOf(this) || DockedHere(control))
        return nullptr;
    // Visible unless hidden on purpose: a window never shown yet counts as visible.
    const bool visible = !(control->testAttribute(Qt::WA_WState_ExplicitShowHide) && control->isHidden());
    // The new sheet is this control's child once it holds the control; a failure on the way ends it.
    auto owned = std::make_unique<TExtTabSheet>(this);
    TExtTabSheet* sheet = owned.get();
    FNewDockSheet = sheet;
    try {
        sheet->SetCaption(control->isWindow() ? FirstLine(control->windowTitle()) : QString());
        sheet->SetTabVisible(visible);
        sheet->SetExtPageControl(this);
        control->setParent(sheet);
        control->setGeometry(sheet->ClientRect());
        sheet->FDockedControl = control;
        sheet->FDockedGone = connect(control, &QObject::destroyed, this, [this, sheet] { DockedControlGone(sheet); });
        control->installEventFilter(this);
        if (visible) {
            control->show();
            SetActivePage(sheet);
        }
    } catch (...) {
        FNewDockSheet = nullptr;
        throw;
    }
    FNewDockSheet = nullptr;
    return owned.release();  // the control's child from now on
}

void TExtPageControl::DockedControlGone(TExtTabSheet* page)
{
    FUndockingPage = page;
    QObject::disconnect(page->FDockedGone);
    if (page->FDockedControl)
        page->FDockedControl->removeEventFilter(this);
    page->FDockedControl = nullptr;
    if (page == FActivePage) {
        TExtTabSheet* next = FindNextPage(page, true, true);
        SetActivePage(next != page ? next : nullptr);
    }
    page->SetExtPageControl(nullptr);
    page->hide();
    FUndockingPage = nullptr;
    // Deferred: the control may be in the middle of being destroyed as the sheet's child.
    page->deleteLater();
}

void TExtPageControl::UndockPage(TExtTabSheet* page)
{
    if (!page || page->FExtPageControl != this || !page->FDockedControl)
        return;
    QWidget* control = page->FDockedControl;
    const QPoint at = control->mapToGlobal(QPoint(0, 0));
    control->setParent(nullptr);
    control->move(at);
    control->show();
}

void TExtPageControl::DragMessage(TDragMessageRec& m)
{
    const bool dock = FDockSite && m.Source && m.Source->DragKind() == TDragKind::dkDock;
    if (!dock) {
        TCustomTabControl::DragMessage(m);
        return;
    }
    switch (m.Message) {
    case TDragMessage::dmFindTarget: m.Target = this; break;
    case TDragMessage::dmDragEnter:
    case TDragMessage::dmDragMove: m.Accept = !DockedHere(m.Source) && m.Source != this; break;
    case TDragMessage::dmDragDrop:
        if (!DockedHere(m.Source))
            DockControl(m.Source);
        break;
    default: break;
    }
}

bool TExtPageControl::eventFilter(QObject* watched, QEvent* event)
{
    TExtTabSheet* page = nullptr;
    for (TExtTabSheet* p : FPages)
        if (p->FDockedControl == watched)
            page = p;
    if (!page)
        return TCustomTabControl::eventFilter(watched, event);
    auto* control = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::WindowTitleChange: page->SetCaption(FirstLine(control->windowTitle())); break;
    case QEvent::ShowToParent: page->SetTabVisible(true); break;
    case QEvent::HideToParent:
        // Hidden with its page it stays docked and wanted.
        if (control->parentWidget() == page)
            page->SetTabVisible(false);
        break;
    case QEvent::ParentChange:
        if (control->parentWidget() != page)
            DockedControlGone(page);
        break;
    default: break;
    }
    return TCustomTabControl::eventFilter(watched, event);
}

void TExtPageControl::DblClick()
{
    TCustomTabControl::DblClick();
    if (TExtTabSheet* page = PageOfTab(FPressedTab); page && page->FDockedControl)
        UndockPage(page);
}

// ---------------------------------------------------------------------------------------------
// Properties

void TExtPageControl::Loaded()
{
    for (TExtTabSheet* page : FPages)
        if (page->FTabShowing)
            SetTabHighlighted(page->TabIndex(), page->FHighlighted);
    UpdateSpacer();
    FPropertiesLoaded = true;
}

void TExtPageControl::UpdateSpacer()
{
    const int w = FImages ? FImages->Width() : 0;
    const int h = FImages ? FImages->Height() : 0;
    SetTabImages(FImages);
    if (FTabBorder3D) {
        SetImageRoom(QSize(w, h));
        return;
    }
    if (Vertical())
        SetImageRoom(QSize(w, h + FTabMargin.TopMargin() + FTabMargin.RightMargin()));
    else
        SetImageRoom(QSize(w + FTabMargin.LeftMargin() + FTabMargin.RightMargin(), h));
}

void TExtPageControl::SetImages(TImageList* images)
{
    FImages = images;
    UpdateSpacer();
    Invalidate();
}

void TExtPageControl::SetTabPosition(TTabPosition position)
{
    TCustomTabControl::SetTabPosition(position);
    UpdateSpacer();
}

void TExtPageControl::SetTabStyle(TTabStyle style) { StoreIfChanged(FTabStyle, style); }

void TExtPageControl::SetTabSplitLine(bool on)
{
    if (on && FTabStyle == tsDotNet)
        throw Exception(QStringLiteral("TabSplitLine must be false when TabStyle is tsDotNet"));
    StoreIfChanged(FTabSplitLine, on);
}

void TExtPageControl::SetTabBorder3D(bool on)
{
    if (FTabBorder3D == on)
        return;
    FTabBorder3D = on;
    SetOwnerDraw(!on);
    UpdateSpacer();
    for (TExtTabSheet* page : FPages)
        UpdateTab(page);
    Invalidate();
}

void TExtPageControl::SetActiveFont(const TFont& font)
{
    FActiveFont = font;
    if (FActivePage)
        UpdateTab(FActivePage);
    Invalidate();
}

void TExtPageControl::SetCloseGlyph(const QImage& glyph) { Store(FCloseGlyph, glyph); }
void TExtPageControl::SetTabBackGround(const QImage& picture) { Store(FTabBackGround, picture); }
void TExtPageControl::SetTabBackGroundActive(const QImage& picture) { Store(FTabBackGroundActive, picture); }

void TExtPageControl::SetDefaultTextColor(TColor c)
{
    for (TExtTabSheet* page : FPages)
        if (page->FTextColor == FDefaultTextColor)
            page->FTextColor = c;
    Store(FDefaultTextColor, c);
}

void TExtPageControl::SetDefaultTabColor(TColor c)
{
    for (TExtTabSheet* page : FPages)
        if (page->FTabColor == FDefaultTabColor)
            page->FTabColor = c;
    Store(FDefaultTabColor, c);
}

void TExtPageControl::SetDefaultTabColorTo(TColor c)
{
    for (TExtTabSheet* page : FPages)
        if (page->FTabColorTo == FDefaultTabColorTo)
            page->FTabColorTo = c;
    Store(FDefaultTabColorTo, c);
}

void TExtPageControl::SetTabOverlap(int v) { Store(FTabOverlap, std::clamp(v, 0, 15)); }

// ---------------------------------------------------------------------------------------------
// Mouse and keys

QRect TExtPageControl::CloseBoxRect(int pageIndex, bool forMouse) const
{
    const QRect r = TabRectOfPage(pageIndex);
    if (r.isEmpty())
        return QRect();
    const bool active = GetPage(pageIndex) == FActivePage;
    const int lower = active && !forMouse ? FLowerActive : 0;
    const bool activePicture = !FTabBackGroundActive.isNull();
    const int lm = FTabMargin.LeftMargin(), tm = FTabMargin.TopMargin();
    const int l = r.left(), t = r.top(), b = r.top() + r.height();
    QPoint at;
    switch (TabPosition()) {
    case tpTop:
    case tpBottom: at = QPoint(l + lm + 2, t + tm + 2 + lower); break;
    case tpRight: at = QPoint(l + lm + 4 - lower, t + tm + 2); break;
    case tpLeft:
        at = QPoint(l + lm + 2 + lower + (forMouse && activePicture ? 2 : 0),
                    b - tm - 13 + (activePicture ? FTabOverlap : 0));
        break;
    }
    return QRect(at, QSize(Close_Width, Close_Height));
}

QRect TExtPageControl::CloseButtonRect() const
{
    if (!FActivePage || !FActivePage->FShowClose || FTabBorder3D)
        return QRect();
    return CloseBoxRect(ActivePageIndex(), true);
}

void TExtPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FPressedTab = IndexOfTabAt(x, y);
    if (button == mbLeft && CloseButtonRect().contains(x, y)) {
        TCustomControl::MouseDown(button, shift, x, y);
        FClosePressed = true;
        InvalidateRect(CloseBoxRect(ActivePageIndex(), false));
        return;
    }
    TCustomTabControl::MouseDown(button, shift, x, y);
    // A press on the tab of a docked control that docks by dragging may drag it out.
    FTabDragSource = nullptr;
    if (button == mbLeft && !(shift & ssDouble))
        if (TExtTabSheet* page = PageOfTab(FPressedTab))
            if (auto* control = qobject_cast<TCustomControl*>(page->FDockedControl.data());
                control && control->DragKind() == TDragKind::dkDock) {
                FTabDragSource = control;
                FTabDragStart = QPoint(x, y);
            }
}

void TExtPageControl::ForwardTabDrag(QEvent::Type type, int x, int y)
{
    TCustomControl* source = FTabDragSource;
    if (!source)
        return;
    const QPoint global = viewport()->mapToGlobal(QPoint(x, y));
    const QPoint local = source->viewport()->mapFromGlobal(global);
    const bool release = type == QEvent::MouseButtonRelease;
    QMouseEvent e(type, QPointF(local), QPointF(global), release ? Qt::LeftButton : Qt::NoButton,
                  release ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(source->viewport(), &e);
}

void TExtPageControl::MouseMove(TShiftState shift, int x, int y)
{
    TCustomTabControl::MouseMove(shift, x, y);
    if (FTabDragSource && (shift & ssLeft)) {
        if (!FTabDragSource->Dragging() &&
            (QPoint(x, y) - FTabDragStart).manhattanLength() >= QApplication::startDragDistance())
            FTabDragSource->BeginDrag(true);
        if (FTabDragSource && FTabDragSource->Dragging())
            ForwardTabDrag(QEvent::MouseMove, x, y);
        return;
    }
    if (FTabHoverColor != clNone) {
        const bool over = CloseButtonRect().contains(x, y);
        if (over != FHoverClosedButton) {
            FHoverClosedButton = over;
            InvalidateRect(CloseBoxRect(ActivePageIndex(), false));
        }
    }
    if (FTabHoverColor != clNone && FTabBackGround.isNull() && !FTabBorder3D) {
        const int page = PageIndexOfTab(IndexOfTabAt(x, y));
        if (page != FHoverTab) {
            InvalidatePageTab(FHoverTab);
            InvalidatePageTab(page);
            FHoverTab = page;
        }
    }
}

void TExtPageControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomTabControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && FTabDragSource) {
        // The drag ends where the button is let go, as if the control itself had been held.
        if (FTabDragSource->Dragging())
            ForwardTabDrag(QEvent::MouseButtonRelease, x, y);
        FTabDragSource = nullptr;
    }
    if (button != mbLeft || !FClosePressed)
        return;
    FClosePressed = false;
    const QRect box = CloseButtonRect();
    if (!box.isEmpty())
        InvalidateRect(CloseBoxRect(ActivePageIndex(), false));
    // Only a press and release both on the box closes, as with a button.
    if (box.contains(x, y))
        CloseActiveTab();
}

void TExtPageControl::MouseLeave()
{
    TCustomTabControl::MouseLeave();
    if (FTabBackGround.isNull())
        InvalidatePageTab(FHoverTab);
    FHoverTab = -1;
    if (FHoverClosedButton) {
        FHoverClosedButton = false;
        Invalidate();
    }
}

void TExtPageControl::KeyDown(int& key, TShiftState shift)
{
    if (key == VK_TAB && (shift & ssCtrl)) {
        SelectNextPage(!(shift & ssShift));
        key = 0;
        return;
    }
    TCustomTabControl::KeyDown(key, shift);
}

bool TExtPageControl::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
        if (tab && (ke->modifiers() & Qt::ControlModifier)) {
            Guarded([&] {
                SelectNextPage(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier));
            });
            ke->accept();
            return true;
        }
        // Other keys from a control on a page are not the tabs' business.
        if (window()->focusWidget() != this) {
            ke->ignore();
            return false;
        }
    }
    return TCustomTabControl::event(event);
}

void TExtPageControl::DoEnter()
{
    TCustomTabControl::DoEnter();
    Invalidate();
}

void TExtPageControl::DoExit()
{
    TCustomTabControl::DoExit();
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Painting

QPoint TExtPageControl::TabContentOrigin(int pageIndex) const
{
    const TExtTabSheet* page = GetPage(pageIndex);
    const QRect r = TabRectOfPage(pageIndex);
    if (!page || r.isEmpty())
        return QPoint();
    const bool active = page == FActivePage;
    const bool close = page->FShowClose;
    const bool picture = !FTabBackGround.isNull();
    const bool activePicture = active && picture && !FTabBackGroundActive.isNull();
    const int l = r.left(), t = r.top(), rt = r.left() + r.width(), b = r.top() + r.height();
    int x = 0, y = 0;
    switch (TabPosition()) {
    case tpLeft:
        x = l + 1 + (active ? FLowerActive : 0);
        y = b - (close ? 17 : 4);
        break;
    case tpRight:
        x = rt - 1 - (active ? FLowerActive : 0);
        y = t + (close ? 17 : 4);
        break;
    case tpTop:
        x = l + (close ? 18 : 4);
        y = t + 1 + (active ? FLowerActive : 0);
        break;
    case tpBottom:
        x = l + (close ? 18 : 4);
        y = t + (active ? 1 + FLowerActive : 0);
        break;
    }
    if (picture) {
        x -= 2;
        y -= 3;
    }
    x += FTabMargin.LeftMargin();
    if (TabPosition() == tpLeft) {
        y -= FTabMargin.TopMargin();
        if (activePicture)
            y += FTabOverlap + 3;
    } else {
        y += FTabMargin.TopMargin();
    }
    return QPoint(x, y);
}

void TExtPageControl::Paint()
{
    TCustomTabControl::Paint();
    if (FTabBorder3D)
        return;
    TCanvas& c = Canvas();
    const int w = ClientWidth(), h = ClientHeight();
    const TTabPosition pos = TabPosition();
    const QRect strip = StripRect();
    const int sl = strip.left(), st = strip.top(), sr = strip.left() + strip.width(),
              sb = strip.top() + strip.height();

    // The system's tabs give way to the strip's own colours.
    for (int i = 0; i < TabCount(); ++i) {
        const QRect r = TabRect(i);
        if (r.isEmpty())
            continue;
        QRect wide = r;
        switch (pos) {
        case tpTop: wide.adjust(-2, -2, 2, 0); break;
        case tpBottom: wide.adjust(-2, 0, 2, 2); break;
        case tpLeft: wide.adjust(-2, -2, 0, 2); break;
        case tpRight: wide.adjust(0, -2, 2, 2); break;
        }
        c.Brush = TBrush{ParentColor(), TBrushStyle::bsSolid};
        c.FillRect(wide);
    }
    if (!MultiLine() && !Vertical() && TabCount() > 0) {
        c.Brush = TBrush{Color(), TBrushStyle::bsSolid};
        c.FillRect(Rect(w - 35, st, w, sb));
        const int from = std::max(w - 35, sr);
        if (pos == tpTop)
            HLine(c, from, w - 1, sb, clWhite);
        else
            HLine(c, from, w - 1, st - 1, cl3DDkShadow);
    }
    c.Brush = TBrush{FTabBackGroundColor, TBrushStyle::bsSolid};
    c.FillRect(pos == tpLeft ? Rect(0, 0, sr, h) : strip);

    // Page frame in the page's colours.
    const QRect page = PageRect();
    bool framePainted = false;
    if (FActivePage && (FActivePage->FColorTo != clNone ||
                        ColorToRGB(FActivePage->Color()) != ColorToRGB(Color()))) {
        framePainted = true;
        const QRect inner = page.adjusted(FTabSheet3D ? 1 : 0, FTabSheet3D ? 1 : 0, 0, 0);
        if (FActivePage->FColorTo != clNone) {
            DrawGradient(c, FActivePage->Color(), FActivePage->FColorTo, false, inner, 16);
            c.Brush = TBrush{FActivePage->Color(), TBrushStyle::bsSolid};
            c.FillRect(QRect(inner.left(), inner.top(), inner.width(), Frame_Band));
        } else {
            c.Brush = TBrush{FActivePage->Color(), TBrushStyle::bsSolid};
            c.FillRect(inner);
        }
    }

    // Page border.
    const int pl = page.left(), pt = page.top(), pr = page.left() + page.width(), pb = page.top() + page.height();
    if (!FTabSheet3D) {
        const QRect border = Rect(pl, pt, pr - 1, pb - 1);
        const int bl = border.left(), bt = border.top(), br = border.right(), bb = border.bottom();
        Sides(c, bl, bt, br, bb, sLeft | sTop | sRight | sBottom, FTabSheetBorderColor);
        VLine(c, pr - 1, pt, pb - 1, Color());
        HLine(c, pl, pr - 1, pb - 1, Color());
        if (!framePainted)
            Sides(c, bl + 1, bt + 1, br - 1, bb - 1, sLeft | sTop | sRight | sBottom, Color());
        if (FRoundEdges && TabCount() > 0) {
            // A bevelled corner of the page beside the first tab.
            const QRect first = TabRect(0);
            switch (pos) {
            case tpTop:
                c.SetPixel(first.left(), bt, FTabBackGroundColor);
                c.SetPixel(first.left() + 1, bt + 1, FTabSheetBorderColor);
                break;
            case tpBottom:
                c.SetPixel(first.left(), bb, FTabBackGroundColor);
                c.SetPixel(first.left() + 1, bb - 1, FTabSheetBorderColor);
                break;
            case tpLeft:
                c.SetPixel(bl, first.top(), FTabBackGroundColor);
                c.SetPixel(bl + 1, first.top() + 1, FTabSheetBorderColor);
                break;
            case tpRight:
                c.SetPixel(br, first.top(), FTabBackGroundColor);
                c.SetPixel(br - 1, first.top() + 1, FTabSheetBorderColor);
                break;
            }
        }
    }

    // The split line opens the page border toward the tabs; the tabs draw their own edges on it.
    if (!FTabSplitLine && TabCount() > 0) {
        TColor color = Color();
        if (framePainted)
            color = pos == tpBottom && FActivePage->FColorTo != clNone ? FActivePage->FColorTo : FActivePage->Color();
        const int extra = FTabOverlap + (FTabStyle == tsClassic && !FTabBackGround.isNull() ? 2 : 0);
        switch (pos) {
        case tpTop: HLine(c, 2, sr + extra - 1, pt, color); break;
        case tpBottom: HLine(c, 2, sr + extra - 1, pb - 2, color); break;
        case tpLeft: VLine(c, pl, 2, sb + extra - 1, color); break;
        case tpRight: VLine(c, pr - 2, 2, sb + extra - 1, color); break;
        }
    }
    (void)sl;

    PaintTabs(strip, framePainted);
}

void TExtPageControl::PaintTabs(const QRect& strip, bool /*framePainted*/)
{
    const bool pictures = !FTabBackGround.isNull();
    const bool deferActive = pictures && !FTabBackGroundActive.isNull();
    for (int i = PageCount() - 1; i >= 0; --i) {
        TExtTabSheet* page = FPages[i];
        if (!page->FTabShowing)
            continue;
        const bool active = page == FActivePage;
        if (active && deferActive)
            continue;
        TExtTabSheet* next = nullptr;
        for (int j = i + 1; j < PageCount() && !next; ++j)
            if (FPages[j]->FTabShowing)
                next = FPages[j];
        PaintTab(page, TabRect(page->TabIndex()), active, strip, next && next == FActivePage);
    }
    if (deferActive && FActivePage && FActivePage->FTabShowing)
        PaintTab(FActivePage, TabRect(FActivePage->TabIndex()), true, strip, false);

    TCanvas& c = Canvas();
    if (FShowFocus && hasFocus() && FActivePage && FActivePage->FTabShowing) {
        QRect fr = TabRect(FActivePage->TabIndex()).adjusted(5, 3, -5, -3);
        if (deferActive) {
            if (Vertical())
                fr.setBottom(fr.bottom() - FTabOverlap);
            else
                fr.setRight(fr.right() - FTabOverlap);
        }
        c.DrawFocusRect(fr);
    }
    if (FTabHoverBorder != clNone && FHoverTab >= 0 && GetPage(FHoverTab) != FActivePage) {
        const QRect r = TabRectOfPage(FHoverTab);
        if (!r.isEmpty())
            Sides(c, r.left(), r.top(), r.right(), r.bottom(), (sLeft | sTop | sRight | sBottom) & ~PageSide(TabPosition()),
                  FTabHoverBorder);
    }
}

void TExtPageControl::PaintPicture(const QImage& picture, const QRect& r)
{
    const bool vertical = Vertical();
    const int length = (vertical ? r.height() : r.width()) + FTabOverlap;
    const int pl = vertical ? picture.height() : picture.width();
    const int half = pl / 2;
    const QSize size = vertical ? QSize(picture.width(), length) : QSize(length, picture.height());
    QImage strip(size, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    {
        QPainter p(&strip);
        if (vertical) {
            p.drawImage(QPoint(0, 0), picture.copy(0, 0, picture.width(), half));
            p.drawImage(QRect(0, half, picture.width(), std::max(0, length - 2 * half)),
                        picture.copy(0, std::max(0, half - 1), picture.width(), 2));
            p.drawImage(QPoint(0, length - half), picture.copy(0, pl - half, picture.width(), half));
        } else {
            p.drawImage(QPoint(0, 0), picture.copy(0, 0, half, picture.height()));
            p.drawImage(QRect(half, 0, std::max(0, length - 2 * half), picture.height()),
                        picture.copy(std::max(0, half - 1), 0, 2, picture.height()));
            p.drawImage(QPoint(length - half, 0), picture.copy(pl - half, 0, half, picture.height()));
        }
    }
    // Transparent where the picture has its bottom-left colour.
    const QRgb key = picture.pixel(0, picture.height() - 1);
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            if ((strip.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF) && qAlpha(strip.pixel(x, y)) != 0)
                strip.setPixel(x, y, 0);
    Canvas().Draw(r.left(), r.top(), strip);
}

void TExtPageControl::PaintTab(TExtTabSheet* page, const QRect& r, bool active, const QRect& strip, bool nextIsActive)
{
    if (r.isEmpty())
        return;
    TCanvas& c = Canvas();
    const int pageIndex = page->PageIndex();
    const bool hovered = !active && pageIndex == FHoverTab;
    TColor from = page->FTabColor, to = page->FTabColorTo;
    TGradientDirection direction = page->FTabGradientDirection;
    if (active && FActiveColor != clNone) {
        from = FActiveColor;
        to = FActiveColorTo;
    } else if (hovered && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
        from = FTabHoverColor;
        to = FTabHoverColorTo;
        direction = page->FHoverGradientDirection;
    }
    const bool fromPicture = !FTabBackGround.isNull();
    if (fromPicture) {
        PaintPicture(active && !FTabBackGroundActive.isNull() ? FTabBackGroundActive : FTabBackGround, r);
    } else {
        if (to == clNone || from == clNone) {
            if (from != clNone) {
                c.Brush = TBrush{from, TBrushStyle::bsSolid};
                c.FillRect(r);
            }
        } else {
            DrawGradient(c, from, to, direction == gdHorizontal, r, 16);
        }

        const TTabPosition pos = TabPosition();
        const unsigned toward = PageSide(pos);
        const unsigned away = (sLeft | sTop | sRight | sBottom) & ~toward;
        const bool split = !FTabSplitLine;
        // The box of the tab, reaching one pixel into the page border when the split line opened it.
        int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
        auto reach = [&](int& l2, int& t2, int& r2, int& b2) {
            switch (pos) {
            case tpTop: ++b2; break;
            case tpBottom: --t2; break;
            case tpLeft: ++r2; break;
            case tpRight: --l2; break;
            }
        };
        if (active) {
            int l2 = l, t2 = t, r2 = rr, b2 = b;
            if (split)
                reach(l2, t2, r2, b2);
            Sides(c, l2, t2, r2, b2, away, FTabBorderColor);
        } else if (FTabStyle == tsDotNet) {
            int l2 = l, t2 = t, r2 = rr, b2 = b;
            reach(l2, t2, r2, b2);
            Sides(c, l2, t2, r2, b2, toward, FTabBorderColor);
            const int end = Vertical() ? r.top() + r.height() : r.left() + r.width();
            const int stripEnd = Vertical() ? strip.top() + strip.height() : strip.left() + strip.width();
            if (!nextIsActive && stripEnd - end >= 3) {
                for (int k = end - 3; k <= end - 2; ++k) {
                    if (Vertical())
                        HLine(c, l + 2, rr - 2, k, FActiveColor);
                    else
                        VLine(c, k, t + 2, b - 2, FActiveColor);
                }
            }
        } else {
            int l2 = l, t2 = t, r2 = rr, b2 = b;
            if (split)
                reach(l2, t2, r2, b2);
            Sides(c, l2, t2, r2, b2, sLeft | sTop | sRight | sBottom, FTabBorderColor);
        }
    }
    PaintTabContent(page, r, active, fromPicture);
}

void TExtPageControl::PaintCloseBox(int pageIndex)
{
    TCanvas& c = Canvas();
    const QRect box = CloseBoxRect(pageIndex, false);
    if (box.isEmpty())
        return;
    if (!FCloseGlyph.isNull()) {
        c.IntersectClipRect(box);
        c.DrawTransparent(box.left(), box.top(), FCloseGlyph);
        c.ClearClip();
        return;
    }
    const bool active = GetPage(pageIndex) == FActivePage;
    const bool pressed = active && FClosePressed && (FTabHoverColor == clNone || FHoverClosedButton);
    const bool hot = active && !pressed && FHoverClosedButton;
    TColor fill = clWhite, frame = clGray, cross = clBlack;
    if (pressed) {
        fill = clSilver;
        frame = clBlack;
    } else if (hot) {
        frame = clBlack;
        cross = clGray;
    }
    c.Pen = TPen{frame};
    c.Brush = TBrush{fill, TBrushStyle::bsSolid};
    c.Rectangle(box);
    c.Pen = TPen{cross};
    const int x = box.left(), y = box.top();
    const int lines[4][4] = {{3, 7, 9, 2}, {4, 7, 8, 2}, {3, 3, 9, 8}, {4, 3, 8, 8}};
    for (const auto& l : lines) {
        c.MoveTo(x + l[0], y + l[1]);
        c.LineTo(x + l[2], y + l[3]);
    }
}

void TExtPageControl::PaintTabContent(TExtTabSheet* page, const QRect& r, bool active, bool fromPicture)
{
    TCanvas& c = Canvas();
    const int pageIndex = page->PageIndex();
    QPoint at = TabContentOrigin(pageIndex);
    int x = at.x(), y = at.y();
    if (page->FShowClose)
        PaintCloseBox(pageIndex);
    const TTabPosition pos = TabPosition();
    if (FImages && page->FImageIndex >= 0) {
        switch (pos) {
        case tpLeft:
            FImages->Draw(c, x, y - 14, page->FImageIndex);
            y -= FImages->Height();
            break;
        case tpRight:
            FImages->Draw(c, x - 14, y, page->FImageIndex);
            y += FImages->Height();
            break;
        default:
            FImages->Draw(c, x - 2, y, page->FImageIndex);
            x += FImages->Width();
            break;
        }
    }
    TFont f;
    switch (pos) {
    case tpLeft:
    case tpRight:
        f = active ? FActiveFont : Font();
        f.Color = page->FTextColor;
        break;
    case tpTop:
        if (active) {
            f = FActiveFont;
        } else {
            f = Font();
            f.Color = page->FTextColor;
        }
        break;
    case tpBottom: f = FActiveFont; break;
    }
    if (!page->FTabEnable)
        f.Color = Disabled_Text;
    c.Font = f;
    c.Brush.Style = TBrushStyle::bsClear;
    if (pos == tpLeft || pos == tpRight) {
        QPainter* p = c.Painter();
        p->save();
        p->translate(x, y);
        p->rotate(pos == tpLeft ? -90 : 90);
        c.TextOut(0, 0, page->FCaption);
        p->restore();
    } else {
        if (pos == tpBottom && active && fromPicture && !FTabBackGroundActive.isNull())
            y -= 2;
        c.TextOut(x, y, page->FCaption);
    }
    (void)r;
}

}  // namespace controls
