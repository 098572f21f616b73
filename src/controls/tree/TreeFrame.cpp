// The tree's window frame: the border of its style, the bevel and the BorderWidth ring.
#include "controls/tree/NodeTrees.h"

#include "platform/FrameControl.h"

#include <QPainter>
#include <QRegion>

namespace tree {

using platform::TCanvas;

namespace {

// The width one bevel takes: BevelWidth for each of the inner and outer cut that is not none.
int BevelSpan(const TBaseNodeTree& tree)
{
    if (tree.BevelKind() == bkNone)
        return 0;
    return tree.BevelWidth() * ((tree.BevelInner() != bvNone ? 1 : 0) + (tree.BevelOuter() != bvNone ? 1 : 0));
}

unsigned InnerEdge(TBevelCut cut) { return cut == bvLowered ? platform::BDR_SUNKENINNER : cut == bvRaised ? platform::BDR_RAISEDINNER : 0; }
unsigned OuterEdge(TBevelCut cut) { return cut == bvLowered ? platform::BDR_SUNKENOUTER : cut == bvRaised ? platform::BDR_RAISEDOUTER : 0; }

unsigned KindFlag(TBevelKind kind) { return kind == bkSoft ? platform::BF_SOFT : kind == bkFlat ? platform::BF_FLAT : 0; }

}  // namespace

QSize TBaseNodeTree::GetBorderDimensions() const
{
    if (FBorderStyle == bsNone)
        return QSize(0, 0);
    // A 3-D single border is the two-pixel client edge, a flat one the one-pixel line.
    return FCtl3D ? QSize(-2, -2) : QSize(-1, -1);
}

QMargins TBaseNodeTree::FrameMargins() const
{
    const QSize border = GetBorderDimensions();
    const int bevel = BevelSpan(*this);
    auto side = [&](int borderPart, unsigned edge) {
        return -borderPart + ((FBevelEdges & edge) ? bevel : 0) + FBorderWidth;
    };
    return QMargins(side(border.width(), beLeft), side(border.height(), beTop), side(border.width(), beRight),
                    side(border.height(), beBottom));
}

void TBaseNodeTree::PaintFrame(TCanvas& canvas, QSize windowSize)
{
    QRect r(QPoint(0, 0), windowSize);
    if (r.isEmpty())
        return;
    if (FBorderStyle == bsSingle) {
        // A 3-D border is the sunken two-pixel client edge (flat when themed), else a line in the
        // frame colour.
        unsigned edge = platform::EDGE_SUNKEN, flags = platform::BF_RECT;
        if (!FCtl3D) {
            edge = platform::BDR_SUNKENOUTER;
            flags |= platform::BF_MONO;
        } else if (HasState(tsUseThemes)) {
            flags |= platform::BF_FLAT;
        }
        QRect box = r;
        platform::DrawEdge(canvas, box, edge, flags);
    }
    PaintNonClientBorder(canvas, r);
}

void TBaseNodeTree::PaintWindowFrame(QPainter& painter)
{
    TCanvas canvas;
    canvas.Attach(&painter);
    PaintFrame(canvas, size());
    canvas.Detach();
}

void TBaseNodeTree::PaintNonClientBorder(TCanvas& canvas, const QRect& window)
{
    if (FBevelKind == bkNone && FBorderWidth == 0)
        return;
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const QSize border = GetBorderDimensions();
    QRect r = window.adjusted(-border.width(), -border.height(), border.width(), border.height());
    if (FBevelKind != bkNone) {
        const int bevel = BevelSpan(*this);
        QRect inside = r.adjusted((FBevelEdges & beLeft) ? bevel : 0, (FBevelEdges & beTop) ? bevel : 0,
                                  (FBevelEdges & beRight) ? -bevel : 0, (FBevelEdges & beBottom) ? -bevel : 0);
        // Wider bevels leave room beside the edge lines; it shows the face colour.
        const QRegion band = QRegion(r).subtracted(QRegion(inside));
        for (const QRect& part : band)
            p->fillRect(part, platform::ToQColor(platform::clBtnFace));
        QRect edge = r;
        unsigned flags = FBevelEdges | KindFlag(FBevelKind);
        if (!FCtl3D)
            flags |= platform::BF_MONO;
        platform::DrawEdge(canvas, edge, InnerEdge(FBevelInner) | OuterEdge(FBevelOuter), flags);
        r = inside;
    }
    if (FBorderWidth > 0 && !r.isEmpty()) {
        const QRegion ring = QRegion(r).subtracted(QRegion(r.adjusted(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth)));
        for (const QRect& part : ring)
            p->fillRect(part, platform::ToQColor(FColors.Get(TTVColors::BorderColor)));
    }
}

}  // namespace tree
