// The frames the grid draws around its cells: the control border of the gradient looks, the
// frame of the cell under an open editor and the translucent focus frame window.
#include <QPainter>
#include <QRegion>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridHelperControls.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridUnit.h"
#include "platform/EditorHost.h"

namespace grid {

namespace {

constexpr TColor FocusFrameColor = 0xFDD397;
constexpr uint8_t FocusFrameOpacity = 230;
constexpr int FocusFrameMargin = 4;

}  // namespace

bool TExtStringGrid::HasBorderFrame() const
{
    const TGridLook look = Look();
    const bool gradientLook = look == glSoft || (look >= glVUR && look <= glOffice2007);
    return gradientLook && SingleBorder && BorderColor != clNone && !Flat;
}

void TExtStringGrid::DrawBorder(platform::TCanvas& canvas)
{
    if (!HasBorderFrame() || LockUpdate() || !canvas.Painting())
        return;
    // Our control has no window border of its own: the frame takes the client area's outer pixels.
    const QRect outer = ClientRect();
    const platform::TBrush keep = canvas.Brush;
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;
    if (FitCellsInGrid) {
        canvas.Brush.Color = BorderColor;
        canvas.FrameRect(outer.adjusted(1, 1, -1, -1));
        if (const QWidget* parent = parentWidget()) {
            canvas.Brush.Color = platform::FromQColor(parent->palette().color(parent->backgroundRole()));
            canvas.FrameRect(outer);
        }
    } else {
        canvas.Brush.Color = BorderColor;
        canvas.FrameRect(outer);
    }
    canvas.Brush = keep;
}

bool TExtStringGrid::InplaceEditorShown()
{
    if (TGridEditLayer* layer = EditLayer())
        return layer->InplaceEditorShown();
    return EditorHost().Editing();
}

QImage TExtStringGrid::FocusFrameImage(int cellWidth, int cellHeight)
{
    const int w = cellWidth + 2 * FocusFrameMargin + 1, h = cellHeight + 2 * FocusFrameMargin + 1;
    if (cellWidth <= 0 || cellHeight <= 0)
        return {};
    QImage mask;
    helpers::DrawBlurredRoundRectMask(mask, w, h, 4, 5, 3);
    QImage colour(w, h, QImage::Format_RGB888);
    colour.fill(platform::ToQColor(FocusFrameColor));
    helpers::TGridAlphaMask alpha;
    alpha.MergeMask(mask, colour, FocusFrameColor);
    return alpha.Bitmap;
}

void TExtStringGrid::ShowFocusWindow(const TRect& r)
{
    if (!FFocusFrame)
        FFocusFrame = new helpers::TGridFocusWindow(this);
    FFocusFrame->hide();
    FocusWindow->Visible = false;
    const QImage image = FocusFrameImage(r.Width(), r.Height());
    if (image.isNull())
        return;
    GridUnit().FocusGrid = this;
    const QPoint origin = viewport()->mapToGlobal(QPoint(0, 0));
    ScreenOrigin = {origin.x(), origin.y()};
    const QPoint at = origin + QPoint(r.Left - FocusFrameMargin, r.Top - FocusFrameMargin);
    DynUpdateLayeredWindow(FFocusFrame, at, image, FocusFrameOpacity);
    // Only the ring belongs to the window: the cell inside stays the grid's.
    const QRect outer(QPoint(0, 0), image.size());
    FFocusFrame->setMask(QRegion(outer) -
                         QRegion(QRect(FocusFrameMargin, FocusFrameMargin, r.Width(), r.Height())));
    FocusWindow->Bounds = {at.x(), at.y(), at.x() + image.width(), at.y() + image.height()};
    FocusWindow->Visible = true;
    FFocusFrame->show();
}

void TExtStringGrid::MoveFocusWindow()
{
    if (!FFocusFrame || !FocusWindow->Visible)
        return;
    const TPoint base = BaseCell(Col(), Row());
    const TRect cell = CellRect(base.X, base.Y);
    if (cell.IsEmpty()) {
        HideFocusWindow();
        return;
    }
    ShowFocusWindow(cell);
}

void TExtStringGrid::HideFocusWindow()
{
    if (GridUnit().FocusGrid == this)
        GridUnit().FocusGrid = nullptr;
    FocusWindow->Visible = false;
    if (FFocusFrame)
        FFocusFrame->hide();
}

}  // namespace grid
