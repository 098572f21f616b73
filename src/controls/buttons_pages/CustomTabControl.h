#pragma once
#include "platform/TCustomControl.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

namespace platform {
class TImageList;
}

// The tab strip the page control stands on: a list of tabs (text, object, image, highlight) laid
// out in one or more rows on one side of the control, one selected tab, and the page area beside
// the strip. A click or an arrow key selects another tab after asking CanChange and announces it
// with Change; setting TabIndex in code selects silently. Without owner drawing it paints a plain
// raised look of its own; with it, it paints the background and hands each tab to DrawTab.
namespace controls {

using platform::TColor;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TCustomTabControl : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TCustomTabControl(QWidget* parent = nullptr);
    ~TCustomTabControl() override;

    int TabCount() const { return int(FTabs.size()); }
    // Inserting into an empty strip selects the new tab; indexes at or after the selection shift it.
    void InsertTab(int index, const QString& text, QObject* object);
    // Deleting the selected tab leaves no tab selected.
    void DeleteTab(int index);
    void MoveTab(int from, int to);
    QString TabText(int index) const;
    void SetTabText(int index, const QString& text);
    QObject* TabObject(int index) const;
    bool TabHighlighted(int index) const;
    void SetTabHighlighted(int index, bool on);

    // -1 when no tab is selected; an index outside the tabs selects none. No events.
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int index);

    // The tab's rectangle in client coordinates; empty outside the tabs or scrolled out of view.
    QRect TabRect(int index) const;
    // The tab under a client point, -1 when none.
    int IndexOfTabAt(int x, int y) const;
    // The bounding box of the tab rectangles; a 2-pixel band on the strip's side when there are none.
    QRect StripRect() const;
    // Beside the strip: the page area with its border.
    QRect PageRect() const;
    // Inside the page border: where the pages go.
    QRect DisplayRect() const;
    // The number of rows of tabs (at least one).
    int RowCount() const;

    TTabPosition TabPosition() const { return FTabPosition; }
    virtual void SetTabPosition(TTabPosition position);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool on);
    // Rows of a multi-line strip keep their natural length instead of filling the strip.
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool on);
    // Rows not holding the selected tab go to the far side of the page.
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool on);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool on);
    // The tabs' thickness and length; 0 sizes them from their text.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int h);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int w);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool on);

    // The room every tab keeps for an image (along the tab for its length, across for its thickness).
    QSize ImageRoom() const { return FImageRoom; }
    void SetImageRoom(QSize room);
    // The pictures drawn on the tabs by the plain look.
    platform::TImageList* TabImages() const { return FTabImages; }
    void SetTabImages(platform::TImageList* images);

    std::function<void()> OnChange;
    std::function<void(bool& allowChange)> OnChanging;
    std::function<void(TCustomTabControl* control, int tabIndex, const QRect& rect, bool active)> OnDrawTab;
    std::function<void(TCustomTabControl* control, int tabIndex, int& imageIndex)> OnGetImageIndex;

protected:
    // Asked before a click or key selects another tab: fires OnChanging.
    virtual bool CanChange(int toTab);
    // After a click or key selected another tab: fires OnChange.
    virtual void Change();
    // Whether a click or key may select the tab.
    virtual bool CanShowTab(int /*index*/) { return true; }
    // Owner drawing of one tab: fires OnDrawTab.
    virtual void DrawTab(int index, const QRect& rect, bool active);
    // The image the plain look draws on a tab: -1 (none) unless OnGetImageIndex answers.
    virtual int GetImageIndex(int tabIndex);
    // The layout changed (tabs, size, position): pages follow the display area.
    virtual void LayoutChanged() {}
    // The colour behind the control: the parent's.
    TColor ParentColor() const;
    // Selects the tab as the user would: asks CanChange, selects, announces.
    bool UserSelect(int index);

    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void KeyDown(int& key, platform::TShiftState shift) override;
    void Resize() override;
    void changeEvent(QEvent* event) override;

    bool Vertical() const { return FTabPosition == tpLeft || FTabPosition == tpRight; }
    void InvalidateLayout();

private:
    struct TTab {
        QString Text;
        QPointer<QObject> Object;
        bool Highlighted = false;
    };
    void EnsureLayout() const;
    int TabLength(int index) const;
    int TabThickness() const;
    void ScrollToSelection();
    void PaintPlainTab(int index, const QRect& r, bool active);

    std::vector<TTab> FTabs;
    int FTabIndex = -1;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
    bool FHotTrack = false;
    int FTabHeight = 0;
    int FTabWidth = 0;
    bool FOwnerDraw = false;
    QSize FImageRoom{0, 0};
    platform::TImageList* FTabImages = nullptr;
    // First tab shown by a single-line strip too short for all tabs.
    int FFirstShown = 0;

    mutable bool FLayoutValid = false;
    mutable std::vector<QRect> FRects;
    mutable int FRows = 1;
    mutable int FPageEdge = 2;
};

}  // namespace controls
