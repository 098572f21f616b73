#include "grid/core/GridMirror.h"

#include <QPainter>

#include "grid/core/BaseGrid.h"
#include "platform/TCanvas.h"

namespace grid {

QTransform MirrorTransform(int width) { return QTransform(-1, 0, 0, 1, width, 0); }

unsigned MirrorTextFlags(unsigned flags)
{
    if (flags & platform::DT_RIGHT)
        return flags & ~unsigned(platform::DT_RIGHT);
    if (!(flags & platform::DT_CENTER))
        return flags | platform::DT_RIGHT;
    return flags;
}

TReadingOrientation::TReadingOrientation(const TObjStringGrid& grid, platform::TCanvas& canvas)
{
    QPainter* p = canvas.Painter();
    // Only the grid's own mirrored paint, and not twice when one drawing nests in another.
    if (!p || p != grid.MirroredPainter() || p->worldTransform().m11() >= 0)
        return;
    FPainter = p;
    FSaved = p->worldTransform();
    FWidth = grid.ClientWidth();
    QTransform t = MirrorTransform(FWidth) * FSaved;
    // Twice mirrored is a plain shift: said so, text is drawn exactly as it is unmirrored.
    if (t.m11() == 1 && t.m22() == 1 && t.m12() == 0 && t.m21() == 0 && t.m13() == 0 && t.m23() == 0)
        t = QTransform::fromTranslate(t.dx(), t.dy());
    p->setWorldTransform(t);
}

TReadingOrientation::~TReadingOrientation()
{
    if (FPainter)
        FPainter->setWorldTransform(FSaved);
}

TRect TReadingOrientation::Map(const TRect& r) const
{
    if (!Active())
        return r;
    return {FWidth - r.Right, r.Top, FWidth - r.Left, r.Bottom};
}

QRect TReadingOrientation::Map(const QRect& r) const
{
    if (!Active())
        return r;
    return QRect(FWidth - (r.left() + r.width()), r.top(), r.width(), r.height());
}

}  // namespace grid
