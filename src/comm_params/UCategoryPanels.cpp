#include "comm_params/UCategoryPanels.h"

#include "platform/TCustomControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <algorithm>

namespace comm_params {

namespace {
const QColor kHeaderColour(0xE7, 0xD8, 0xD8);
const QColor kCaptionColour(0x80, 0x80, 0x80);
const QColor kChevronHot(0xE0, 0x20, 0x20);
constexpr int kScrollLine = 20;
}  // namespace

// The clickable strip at the top of a panel.
class TCategoryPanelHeader : public platform::TCustomControl {
public:
    explicit TCategoryPanelHeader(TCategoryPanel* panel) : TCustomControl(panel), FPanel(panel)
    {
        SetCursor(Qt::PointingHandCursor);
    }

protected:
    void Paint() override
    {
        using namespace platform;
        TCanvas& c = Canvas();
        const int w = Width(), h = Height();
        c.Brush = TBrush{FromQColor(kHeaderColour), TBrushStyle::bsSolid};
        c.FillRect(ClientRect());
        c.Pen.Color = RGBToColor(0xC8, 0xB8, 0xB8);
        c.MoveTo(0, h - 1);
        c.LineTo(w + 1, h - 1);

        // Expanded / collapsed mark at the left.
        const bool open = FPanel->Expanded();
        const QColor markColour = FPanel->PanelEnabled() ? kCaptionColour : QColor(0xB8, 0xB8, 0xB8);
        QPainter& p = *c.Painter();
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(markColour);
        QPainterPath mark;
        const qreal cy = h / 2.0;
        if (open) {
            mark.moveTo(8, cy - 3);
            mark.lineTo(18, cy - 3);
            mark.lineTo(13, cy + 3);
        } else {
            mark.moveTo(10, cy - 5);
            mark.lineTo(16, cy);
            mark.lineTo(10, cy + 5);
        }
        mark.closeSubpath();
        p.drawPath(mark);

        TFont font(QFont(QStringLiteral("Verdana")), FromQColor(markColour));
        font.setPixelSize(15);
        font.setBold(true);
        c.Font = font;
        c.Brush.Style = TBrushStyle::bsClear;
        QRect captionRect(26, 0, w - 56, h);
        c.DrawText(FPanel->Caption(), captionRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_NOCLIP);

        // Chevron at the right, red under the mouse.
        const bool hot = MouseInClient() && FPanel->PanelEnabled();
        p.setPen(QPen(hot ? kChevronHot : markColour, 2));
        p.setBrush(Qt::NoBrush);
        const int cx = w - 18;
        const int dir = open ? -1 : 1;
        for (int k = 0; k < 2; ++k) {
            const qreal y = cy - 4 * dir + k * 5 * dir;
            p.drawLine(QPointF(cx - 5, y - 2.5 * dir), QPointF(cx, y + 2.5 * dir));
            p.drawLine(QPointF(cx, y + 2.5 * dir), QPointF(cx + 5, y - 2.5 * dir));
        }
        p.restore();
    }

    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override
    {
        TCustomControl::MouseUp(button, shift, x, y);
        if (button == platform::mbLeft && ClientRect().contains(x, y))
            FPanel->ClickHeader();
    }

    void MouseEnter() override { Invalidate(); }
    void MouseLeave() override { Invalidate(); }

private:
    TCategoryPanel* FPanel;
};

TCategoryPanel::TCategoryPanel(TCategoryPanelGroup* group, const QString& name)
    : QWidget(group->widget()), FGroup(group)
{
    setObjectName(name);
    FHeader = new TCategoryPanelHeader(this);
    FBody = new QWidget(this);
    FBody->setObjectName(name + QStringLiteral("_Body"));
    FPanelHeight = HeaderHeight();
    Apply_Geometry();
}

int TCategoryPanel::HeaderHeight() const { return TCategoryPanelGroup::Header_Height; }

void TCategoryPanel::SetCaption(const QString& caption)
{
    FCaption = caption;
    FHeader->Invalidate();
}

void TCategoryPanel::SetPanelHeight(int height)
{
    height = std::max(height, HeaderHeight());
    if (height == FPanelHeight)
        return;
    FPanelHeight = height;
    Apply_Geometry();
    FGroup->Restack();
}

void TCategoryPanel::Expand()
{
    if (!FCollapsed)
        return;
    FCollapsed = false;
    Apply_Geometry();
    FGroup->Restack();
}

void TCategoryPanel::Collapse()
{
    if (FCollapsed)
        return;
    FCollapsed = true;
    Apply_Geometry();
    FGroup->Restack();
}

void TCategoryPanel::SetPanelEnabled(bool enabled)
{
    FPanelEnabled = enabled;
    FHeader->SetCursor(enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
    FHeader->Invalidate();
}

void TCategoryPanel::SetOrder(int order)
{
    FOrder = order;
    FGroup->Restack();
}

void TCategoryPanel::SetShown(bool shown)
{
    FShown = shown;
    setVisible(shown);
    FGroup->Restack();
}

void TCategoryPanel::ClickHeader()
{
    if (!FPanelEnabled)
        return;
    if (FCollapsed) {
        Expand();
        if (OnExpand)
            OnExpand();
    } else {
        Collapse();
    }
}

void TCategoryPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FHeader->setGeometry(0, 0, width(), HeaderHeight());
    FBody->setGeometry(0, HeaderHeight(), width(), std::max(0, FPanelHeight - HeaderHeight()));
}

void TCategoryPanel::Apply_Geometry()
{
    FBody->setVisible(!FCollapsed);
    FHeader->setGeometry(0, 0, width(), HeaderHeight());
    FBody->setGeometry(0, HeaderHeight(), width(), std::max(0, FPanelHeight - HeaderHeight()));
    resize(width(), FCollapsed ? HeaderHeight() : FPanelHeight);
    FHeader->Invalidate();
}

TCategoryPanelGroup::TCategoryPanelGroup(QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    FContent = new QWidget;
    FContent->setObjectName(QStringLiteral("CPG_Content"));
    setWidget(FContent);
    verticalScrollBar()->setSingleStep(kScrollLine);
    verticalScrollBar()->setTracking(true);
}

TCategoryPanel* TCategoryPanelGroup::AddPanel(const QString& name)
{
    auto* panel = new TCategoryPanel(this, name);
    panel->SetOrder(static_cast<int>(FPanels.size()));
    FPanels.push_back(panel);
    Restack();
    return panel;
}

std::vector<TCategoryPanel*> TCategoryPanelGroup::Stacked() const
{
    std::vector<TCategoryPanel*> shown;
    for (TCategoryPanel* p : FPanels)
        if (p->Shown())
            shown.push_back(p);
    std::stable_sort(shown.begin(), shown.end(),
                     [](const TCategoryPanel* a, const TCategoryPanel* b) { return a->Order() < b->Order(); });
    return shown;
}

void TCategoryPanelGroup::Restack()
{
    const int width = viewport()->width();
    int top = 0;
    for (TCategoryPanel* p : Stacked()) {
        p->setGeometry(0, top, width, p->Expanded() ? p->PanelHeight() : p->HeaderHeight());
        top += p->height();
    }
    FContent->resize(width, std::max(top, 1));
}

void TCategoryPanelGroup::ScrollLine(bool up)
{
    verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                          : QAbstractSlider::SliderSingleStepAdd);
}

bool TCategoryPanelGroup::viewportEvent(QEvent* event)
{
    // The view narrows when the scroll bar appears: the panels follow its width.
    const bool result = QScrollArea::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        Restack();
    return result;
}

}  // namespace comm_params
