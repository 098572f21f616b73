#pragma once
#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

// A vertical group of collapsible category panels: each panel has a header that opens and closes it
// and a body whose controls stand at fixed positions. The group stacks its visible panels from the
// top in their order and scrolls when they are taller than its view.
namespace comm_params {

class TCategoryPanelGroup;
class TCategoryPanelHeader;

class TCategoryPanel : public QWidget {
    Q_OBJECT
public:
    TCategoryPanel(TCategoryPanelGroup* group, const QString& name);

    // Parent of the panel's controls; its origin is the top left corner below the header.
    QWidget* Body() const { return FBody; }

    void SetCaption(const QString& caption);
    QString Caption() const { return FCaption; }

    // Height of the open panel, header included.
    void SetPanelHeight(int height);
    int PanelHeight() const { return FPanelHeight; }

    bool Expanded() const { return !FCollapsed; }
    void Expand();
    void Collapse();

    // A disabled panel keeps its controls but cannot be opened from its header.
    void SetPanelEnabled(bool enabled);
    bool PanelEnabled() const { return FPanelEnabled; }

    // Stacking position within the group; lower comes first.
    void SetOrder(int order);
    int Order() const { return FOrder; }

    // Shows or hides the whole panel in the group.
    void SetShown(bool shown);
    bool Shown() const { return FShown; }

    // Clicks the header as the user would.
    void ClickHeader();

    // Runs after the panel was opened from its header.
    std::function<void()> OnExpand;

    int HeaderHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TCategoryPanelHeader;
    void Apply_Geometry();

    TCategoryPanelGroup* FGroup;
    TCategoryPanelHeader* FHeader;
    QWidget* FBody;
    QString FCaption;
    int FPanelHeight = 0;
    int FOrder = 0;
    bool FCollapsed = false;
    bool FPanelEnabled = true;
    bool FShown = true;
};

class TCategoryPanelGroup : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int Header_Height = 30;

    explicit TCategoryPanelGroup(QWidget* parent);

    TCategoryPanel* AddPanel(const QString& name);
    const std::vector<TCategoryPanel*>& Panels() const { return FPanels; }
    // The shown panels in stacking order.
    std::vector<TCategoryPanel*> Stacked() const;

    // Places the shown panels one under the other.
    void Restack();

    // One line of vertical scrolling, up or down.
    void ScrollLine(bool up);

protected:
    bool viewportEvent(QEvent* event) override;

private:
    QWidget* FContent;
    std::vector<TCategoryPanel*> FPanels;
};

}  // namespace comm_params
