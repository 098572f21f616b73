#pragma once
#include "controls/buttons_pages/CustomTabControl.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace platform {
class TImageList;
}

// The tabbed page control: pages (TExtTabSheet) shown one at a time beside a strip of tabs that
// the control paints itself in two styles, with per-page colours and gradients, an active-tab
// colour and font, hover colours, a close box on the active tab, a list of closed tabs that can be
// opened again, tab images, margins around the tab text and rotated text for tabs at the sides.
namespace controls {

enum TTabStyle { tsClassic, tsDotNet };
enum TGradientDirection { gdVertical, gdHorizontal };

class TExtPageControl;

// Room around the tab text. A change of a value first tells OnMarginChange (new, old, index:
// 0 left, 1 top, 2 right), then stores it.
class TTabMargin {
public:
    int LeftMargin() const { return FLeftMargin; }
    int TopMargin() const { return FTopMargin; }
    int RightMargin() const { return FRightMargin; }
    void SetLeftMargin(int v) { Set(FLeftMargin, v, 0); }
    void SetTopMargin(int v) { Set(FTopMargin, v, 1); }
    void SetRightMargin(int v) { Set(FRightMargin, v, 2); }
    void Assign(const TTabMargin& other);

    std::function<void(TTabMargin* sender, int newValue, int oldValue, int index)> OnMarginChange;

private:
    friend class TExtPageControl;
    void Set(int& field, int value, int index);
    // The owning control's hook, after the value is stored.
    std::function<void()> FChanged;
    int FLeftMargin = 0;
    int FTopMargin = 0;
    int FRightMargin = 0;
};

// Fills the rectangle with Steps bands from one colour to the other, left to right (horizontal) or
// top to bottom.
void DrawGradient(platform::TCanvas& canvas, TColor fromColor, TColor toColor, bool horizontal, const QRect& r,
                  int steps);

class TExtTabSheet : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtTabSheet(QWidget* parent = nullptr);
    ~TExtTabSheet() override;

    // Leaves the old control and is appended to the new one; null takes the page off.
    void SetExtPageControl(TExtPageControl* control);
    TExtPageControl* ExtPageControl() const { return FExtPageControl; }

    // Reads back exactly as written. The tab is sized for the caption less its last two characters
    // (the captions end in blanks), or the caption and one blank when the tab has a close box.
    void SetCaption(const QString& caption);
    QString Caption() const { return FCaption; }
    // The text the tab is sized for.
    QString TabCaption() const { return FTabCaption; }

    int PageIndex() const;
    // An index outside the pages raises the page index error.
    void SetPageIndex(int index);
    // The position among the pages whose tabs show, -1 when the tab does not show.
    int TabIndex() const;

    void SetTabVisible(bool on);
    bool TabVisible() const { return FTabVisible; }
    bool TabShowing() const { return FTabShowing; }
    // Raises "Can not disable active tab." for a change on the active page of a control.
    void SetTabEnable(bool on);
    bool TabEnable() const { return FTabEnable; }
    void SetHighlighted(bool on);
    bool Highlighted() const { return FHighlighted; }
    void SetShowClose(bool on);
    bool ShowClose() const { return FShowClose; }
    void SetImageIndex(int index);
    int ImageIndex() const { return FImageIndex; }
    int ImageIndexDummy() const { return FImageIndexDummy; }

    void SetTextColor(TColor c);
    TColor TextColor() const { return FTextColor; }
    void SetTabColor(TColor c);
    TColor TabColor() const { return FTabColor; }
    void SetTabColorTo(TColor c);
    TColor TabColorTo() const { return FTabColorTo; }
    // The page's colour and its gradient end; the control's page frame shows them too.
    void SetColor(TColor c);
    TColor Color() const { return TCustomControl::Color(); }
    void SetColorTo(TColor c);
    TColor ColorTo() const { return FColorTo; }
    void SetTabGradientDirection(TGradientDirection d);
    TGradientDirection TabGradientDirection() const { return FTabGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection d) { FHoverGradientDirection = d; }
    TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }

    std::function<void()> OnShow;
    std::function<void()> OnHide;
    std::function<void()> OnClose;
    std::function<void(TExtTabSheet* sender, bool& canClose)> OnCanClose;

    // The control docked into this sheet by a drop on a dock site; null when none.
    QWidget* DockedControl() const { return FDockedControl; }

protected:
    void Paint() override;
    void Resize() override;
    bool event(QEvent* event) override;
    // A control dragged to dock over the page goes to the dock site holding it.
    void DragMessage(TDragMessageRec& message) override;

private:
    friend class TExtPageControl;
    void ApplyCaption();
    void UpdateTabShowing();
    void SetTabShowing(bool on);
    void InvalidateControl();

    QString FCaption;
    QString FTabCaption;
    TColor FTextColor = 0;
    TColor FTabColor = platform::clNone;
    TColor FTabColorTo = platform::clNone;
    bool FShowClose = false;
    TGradientDirection FTabGradientDirection = gdVertical;
    TGradientDirection FHoverGradientDirection = gdVertical;
    int FImageIndex = -1;
    int FImageIndexDummy = 0;
    TExtPageControl* FExtPageControl = nullptr;
    bool FTabVisible = true;
    bool FTabShowing = false;
    bool FHighlighted = false;
    bool FTabEnable = true;
    TColor FColorTo = platform::clNone;
    QPointer<QWidget> FDockedControl;
    QMetaObject::Connection FDockedGone;
};

class TExtPageControl : public TCustomTabControl {
    Q_OBJECT
public:
    explicit TExtPageControl(QWidget* parent = nullptr);
    ~TExtPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TExtTabSheet* GetPage(int index) const;
    // The pages in page order.
    const std::vector<TExtTabSheet*>& Pages() const { return FPages; }

    TExtTabSheet* ActivePage() const { return FActivePage; }
    // A sheet of another control is ignored; null leaves no page active.
    void SetActivePage(TExtTabSheet* page);
    int ActivePageIndex() const;
    // An index outside the pages activates no page.
    void SetActivePageIndex(int index);

    // The next page from CurPage, after the last the first (or back, before the first the last),
    // whose tab is visible (any page without the check); CurPage itself is looked at last.
    TExtTabSheet* FindNextPage(TExtTabSheet* curPage, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward);

    // The closed sheets by component name (objectName), in closing order.
    QStringList ClosedTabNames() const;
    // Puts the closed sheet of that name back after the pages; false when there is none.
    bool OpenClosedTab(const QString& tabName);
    void OpenAllClosedTabs();
    // Closes the active tab as its close box does: asks OnCanClose, then OnClose, activates the
    // next page and frees or keeps the sheet. Answers whether it closed.
    bool CloseActiveTab();

    // The steps after the control was set up: highlights re-applied, properties marked loaded.
    void Loaded();
    bool PropertiesLoaded() const { return FPropertiesLoaded; }

    TTabMargin& TabMargin() { return FTabMargin; }
    platform::TImageList* Images() const { return FImages; }
    void SetImages(platform::TImageList* images);
    void SetTabPosition(TTabPosition position) override;

    TTabStyle TabStyle() const { return FTabStyle; }
    void SetTabStyle(TTabStyle style);
    // Raises "TabSplitLine must be false when TabStyle is tsDotNet" for True under tsDotNet.
    void SetTabSplitLine(bool on);
    bool TabSplitLine() const { return FTabSplitLine; }
    void SetTabBorder3D(bool on);
    bool TabBorder3D() const { return FTabBorder3D; }

    platform::TFont ActiveFont() const { return FActiveFont; }
    void SetActiveFont(const platform::TFont& font);
    QImage CloseGlyph() const { return FCloseGlyph; }
    void SetCloseGlyph(const QImage& glyph);
    QImage TabBackGround() const { return FTabBackGround; }
    void SetTabBackGround(const QImage& picture);
    QImage TabBackGroundActive() const { return FTabBackGroundActive; }
    void SetTabBackGroundActive(const QImage& picture);

    void SetDefaultTextColor(TColor c);
    TColor DefaultTextColor() const { return FDefaultTextColor; }
    void SetDefaultTabColor(TColor c);
    TColor DefaultTabColor() const { return FDefaultTabColor; }
    void SetDefaultTabColorTo(TColor c);
    TColor DefaultTabColorTo() const { return FDefaultTabColorTo; }
    void SetActiveColor(TColor c) { Store(FActiveColor, c); }
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColorTo(TColor c) { Store(FActiveColorTo, c); }
    TColor ActiveColorTo() const { return FActiveColorTo; }
    void SetTabBorderColor(TColor c) { Store(FTabBorderColor, c); }
    TColor TabBorderColor() const { return FTabBorderColor; }
    void SetTabHoverColor(TColor c) { Store(FTabHoverColor, c); }
    TColor TabHoverColor() const { return FTabHoverColor; }
    void SetTabHoverColorTo(TColor c) { Store(FTabHoverColorTo, c); }
    TColor TabHoverColorTo() const { return FTabHoverColorTo; }
    void SetTabHoverBorder(TColor c) { Store(FTabHoverBorder, c); }
    TColor TabHoverBorder() const { return FTabHoverBorder; }
    void SetTabSheet3D(bool on) { StoreIfChanged(FTabSheet3D, on); }
    bool TabSheet3D() const { return FTabSheet3D; }
    void SetTabSheetBorderColor(TColor c) { StoreIfChanged(FTabSheetBorderColor, c); }
    TColor TabSheetBorderColor() const { return FTabSheetBorderColor; }
    void SetTabBackGroundColor(TColor c) { StoreIfChanged(FTabBackGroundColor, c); }
    TColor TabBackGroundColor() const { return FTabBackGroundColor; }
    void SetRoundEdges(bool on) { StoreIfChanged(FRoundEdges, on); }
    bool RoundEdges() const { return FRoundEdges; }
    void SetLowerActive(int v) { StoreIfChanged(FLowerActive, v); }
    int LowerActive() const { return FLowerActive; }
    // 0..15.
    void SetTabOverlap(int v);
    int TabOverlap() const { return FTabOverlap; }
    void SetShowFocus(bool on) { Store(FShowFocus, on); }
    bool ShowFocus() const { return FShowFocus; }
    // A control dragged here with the dock kind gets a new page of its own.
    void SetDockSite(bool on) { FDockSite = on; }
    bool DockSite() const { return FDockSite; }
    // Docks the control into a new page, as a drop does; answers the page.
    TExtTabSheet* DockControl(QWidget* control);
    // Takes the page's docked control out into a window of its own; the page goes.
    void UndockPage(TExtTabSheet* page);
    void SetFreeOnClose(bool on) { FFreeOnClose = on; }
    bool FreeOnClose() const { return FFreeOnClose; }
    QString Version() const { return QStringLiteral("1.4.0.0"); }
    void SetVersion(const QString&) {}

    // The page index of the hovered tab, -1 when none; whether the pointer is on the close box.
    int HoverTab() const { return FHoverTab; }
    bool HoverClosedButton() const { return FHoverClosedButton; }
    // The close box of the active tab as it reacts to the mouse; empty when it has none.
    QRect CloseButtonRect() const;
    // Where a tab's content starts and the close box is drawn.
    QPoint TabContentOrigin(int pageIndex) const;
    QRect CloseBoxRect(int pageIndex, bool forMouse) const;

    // Asked before the user changes pages (FromPage and ToPage are page indexes).
    std::function<void(TExtPageControl* sender, int fromPage, int toPage, bool& allowChange)> OnCanChange;

protected:
    bool CanChange(int toTab) override;
    void Change() override;
    bool CanShowTab(int index) override;
    int GetImageIndex(int tabIndex) override;
    void LayoutChanged() override;

    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void KeyDown(int& key, platform::TShiftState shift) override;
    void DblClick() override;
    void DragMessage(TDragMessageRec& message) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void DoEnter() override;
    void DoExit() override;
    bool event(QEvent* event) override;

private:
    friend class TExtTabSheet;
    void InsertPage(TExtTabSheet* page);
    void RemovePage(TExtTabSheet* page);
    void MovePage(TExtTabSheet* page, int index);
    void ChangeActivePage(TExtTabSheet* page);
    void UpdateActivePage();
    void ShowTab(TExtTabSheet* page);
    void HideTab(TExtTabSheet* page);
    void UpdateTab(TExtTabSheet* page);
    void UpdateSpacer();
    void AlignPage(TExtTabSheet* page);
    TExtTabSheet* PageOfTab(int tabIndex) const;
    int PageIndexOfTab(int tabIndex) const;
    QRect TabRectOfPage(int pageIndex) const;
    void InvalidatePageTab(int pageIndex);
    void TakeOff(TExtTabSheet* page);
    bool DockedHere(const QWidget* control) const;
    // Hands the held mouse to the control dragged from its tab.
    void ForwardTabDrag(QEvent::Type type, int x, int y);
    void DockedControlGone(TExtTabSheet* page);

    void PaintTabs(const QRect& strip, bool framePainted);
    void PaintTab(TExtTabSheet* page, const QRect& r, bool active, const QRect& strip, bool nextIsActive);
    void PaintTabContent(TExtTabSheet* page, const QRect& r, bool active, bool fromPicture);
    void PaintCloseBox(int pageIndex);
    void PaintPicture(const QImage& picture, const QRect& r);

    template <class T> void Store(T& field, const T& value)
    {
        field = value;
        Invalidate();
    }
    template <class T> void StoreIfChanged(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }

    std::vector<TExtTabSheet*> FPages;
    TExtTabSheet* FActivePage = nullptr;
    TTabMargin FTabMargin;
    // Component name and sheet of each closed tab; the sheets stay children of the control.
    std::vector<std::pair<QString, QPointer<TExtTabSheet>>> FClosedTabList;
    platform::TImageList* FImages = nullptr;
    TColor FDefaultTextColor = 0;
    TColor FDefaultTabColor = platform::clBtnFace;
    TColor FDefaultTabColorTo = platform::clNone;
    TColor FActiveColor = platform::clBtnFace;
    TColor FActiveColorTo = platform::clNone;
    bool FTabBorder3D = false;
    TColor FTabBorderColor = platform::clGray;
    TColor FTabHoverColor = platform::clNone;
    TColor FTabHoverColorTo = platform::clNone;
    TColor FTabHoverBorder = platform::clNone;
    bool FShowFocus = false;
    bool FHoverClosedButton = false;
    int FTabOverlap = 0;
    bool FTabSheet3D = false;
    TColor FTabSheetBorderColor = platform::clGray;
    TColor FTabBackGroundColor = platform::clBtnFace;
    bool FTabSplitLine = false;
    bool FRoundEdges = false;
    int FHoverTab = -1;
    QImage FTabBackGround;
    QImage FTabBackGroundActive;
    TTabStyle FTabStyle = tsClassic;
    int FLowerActive = 2;
    bool FPropertiesLoaded = false;
    bool FFreeOnClose = false;
    platform::TFont FActiveFont;
    QImage FCloseGlyph;
    // The left button went down on the active tab's close box and is still held.
    bool FClosePressed = false;
    bool FDestroying = false;
    bool FDockSite = false;
    TExtTabSheet* FNewDockSheet = nullptr;
    TExtTabSheet* FUndockingPage = nullptr;
    // The tab a double click went to: the press that began it.
    int FPressedTab = -1;
    // The docked control a press on its tab may drag, and where the press was.
    QPointer<platform::TCustomControl> FTabDragSource;
    QPoint FTabDragStart;
};

}  // namespace controls
