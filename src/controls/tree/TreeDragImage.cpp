#include "controls/tree/TreeDragImage.h"

#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeUtils.h"
#include "platform/HintWindow.h"

#include <QLabel>
#include <QPainter>
#include <cmath>

namespace tree {

namespace {

// A frameless window above everything shows the image; what lies under it needs no restoring.
class TWindowScreen : public TDragImageScreen {
public:
    QImage Capture(const QRect& r) override { return platform::THintWindow::GrabScreen(r); }
    void Draw(const QImage& image, const QRect& source, QPoint at) override
    {
        // Only a whole picture of the image moves the window; strips of the back image are what
        // the screen shows anyway.
        if (source != image.rect())
            return;
        if (!FWindow) {
            FWindow = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
            FWindow->setAttribute(Qt::WA_TransparentForMouseEvents);
            FWindow->setAttribute(Qt::WA_ShowWithoutActivating);
            // Where the screen could not be read the image stays see-through.
            FWindow->setAttribute(Qt::WA_TranslucentBackground);
        }
        FWindow->setPixmap(QPixmap::fromImage(image));
        FWindow->setGeometry(QRect(at, image.size()));
        FWindow->show();
    }
    ~TWindowScreen() override = default;

private:
    std::unique_ptr<QLabel> FWindow;
};

void CopyRect(const QImage& from, const QRect& source, QImage& to, QPoint at)
{
    QPainter p(&to);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at, from, source);
}

}  // namespace

std::unique_ptr<TDragImageScreen> CreateWindowScreen() { return std::make_unique<TWindowScreen>(); }

TDragRectangles FillDragRectangles(int w, int h, int dx, int dy)
{
    const int ax = std::abs(dx), ay = std::abs(dy);
    TDragRectangles r;
    const auto corners = [](int l, int t, int rr, int b) { return QRect(QPoint(l, t), QPoint(rr - 1, b - 1)); };
    if (dy == 0) {
        if (dx < 0) {
            r.Scroll = corners(ax, 0, w, h);
            r.Draw1 = QRect(0, 0, ax, h);
            r.Samp1 = QRect(w - ax, 0, ax, h);
        } else if (dx > 0) {
            r.Scroll = corners(0, 0, w - ax, h);
            r.Draw1 = QRect(w - ax, 0, ax, h);
            r.Samp1 = QRect(0, 0, ax, h);
        }
    } else if (dx == 0) {
        if (dy > 0) {
            r.Scroll = corners(0, 0, w, h - ay);
            r.Draw2 = QRect(0, h - ay, w, ay);
            r.Samp2 = QRect(0, 0, w, ay);
        } else {
            r.Scroll = corners(0, ay, w, h);
            r.Draw2 = QRect(0, 0, w, ay);
            r.Samp2 = QRect(0, h - ay, w, ay);
        }
    } else if (dx < 0 && dy < 0) {
        r.Scroll = corners(ax, ay, w, h);
        r.Draw1 = QRect(0, 0, ax, h);
        r.Draw2 = QRect(ax, 0, w - ax, ay);
        r.Samp1 = QRect(0, h - ay, w - ax, ay);
        r.Samp2 = QRect(w - ax, 0, ax, h);
    } else if (dx < 0 && dy > 0) {
        r.Scroll = corners(ax, 0, w, h);
        r.Draw1 = QRect(0, 0, ax, h);
        r.Draw2 = QRect(ax, h - ay, w - ax, ay);
        r.Samp1 = QRect(0, 0, w - ax, ay);
        r.Samp2 = QRect(w - ax, 0, ax, h);
    } else if (dx > 0 && dy > 0) {
        r.Scroll = corners(0, 0, w - ax, h - ay);
        r.Draw1 = QRect(0, h - ay, w - ax, ay);
        r.Draw2 = QRect(w - ax, 0, ax, h);
        r.Samp1 = QRect(0, 0, ax, h);
        r.Samp2 = QRect(ax, 0, w - ax, ay);
    } else {
        r.Scroll = corners(0, ay, w - ax, h);
        r.Draw1 = QRect(0, 0, w - ax, ay);
        r.Draw2 = QRect(w - ax, 0, ax, h);
        r.Samp1 = QRect(0, 0, ax, h);
        r.Samp2 = QRect(ax, h - ay, w - ax, ay);
    }
    return r;
}

TTVDragImage::TTVDragImage(TBaseNodeTree* owner) : FOwner(owner) {}

TTVDragImage::~TTVDragImage() { EndDrag(); }

TDragImageScreen& TTVDragImage::Screen()
{
    if (!FScreen)
        FScreen = CreateWindowScreen();
    return *FScreen;
}

void TTVDragImage::PrepareDrag(const QImage& dragImage, QPoint imagePosition, QPoint hotSpot,
                               const TDataObjectPtr& dataObject)
{
    if (dragImage.isNull())
        return;
    QImage source = dragImage.convertToFormat(QImage::Format_ARGB32);
    if (FPreBlendBias != 0) {
        QImage biased = source;
        AlphaBlendRect(&source, &biased, source.rect(), QPoint(0, 0), bmConstantAlpha, 255, FPreBlendBias);
        source = biased;
    }
    MakeAlphaChannel(dragImage.convertToFormat(QImage::Format_ARGB32), source);
    FDragImage = source;
    FImagePosition = imagePosition;
    FLastPosition = hotSpot;
    // With a data object Qt's drag carries the image itself; this object only keeps it.
    if (dataObject) {
        FStates = disSystemSupport;
        return;
    }
    FAlphaImage = QImage(source.size(), QImage::Format_ARGB32);
    FBackImage = QImage(source.size(), QImage::Format_ARGB32);
    FBackImage.fill(Qt::transparent);
    FStates = disHidden | disInDrag | disPrepared;
}

void TTVDragImage::MakeAlphaChannel(const QImage& source, QImage& target) const
{
    const int w = target.width(), h = target.height();
    const double m = std::max(w, h);
    const bool keyed = FColorKey != platform::clNone;
    const QRgb key = keyed ? platform::ToQColor(FColorKey).rgb() & 0xFFFFFF : 0;
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int alpha;
            if (keyed && (src[x] & 0xFFFFFF) == key)
                alpha = 0;
            else {
                const double dx = (x - w / 2) / m, dy = (y - h / 2) / m;
                alpha = int(std::lround(255.0 * std::exp(-8.0 * std::sqrt(dx * dx + dy * dy))));
            }
            dst[x] = (dst[x] & 0x00FFFFFF) | (uint32_t(alpha) << 24);
        }
    }
}

void TTVDragImage::CaptureInto(const QRect& part, QPoint screenAt)
{
    const QImage shot = Screen().Capture(QRect(screenAt, part.size()));
    if (shot.isNull())
        return;
    CopyRect(shot.convertToFormat(QImage::Format_ARGB32), QRect(QPoint(0, 0), part.size()), FBackImage, part.topLeft());
}

void TTVDragImage::InternalShowDragImage()
{
    FAlphaImage = FBackImage.copy();
    const bool perPixel = FFade || FColorKey != platform::clNone;
    AlphaBlendRect(&FDragImage, &FAlphaImage, FDragImage.rect(), QPoint(0, 0),
                   perPixel ? bmMasterAlpha : bmConstantAlpha, FTransparency, FPostBlendBias);
    Screen().Draw(FAlphaImage, FAlphaImage.rect(), FImagePosition);
}

void TTVDragImage::ShowDragImage()
{
    if (FStates != (disHidden | disInDrag | disPrepared))
        return;
    FStates &= uint8_t(~disHidden);
    CaptureInto(FBackImage.rect(), FImagePosition);
    InternalShowDragImage();
}

void TTVDragImage::HideDragImage()
{
    if (!Visible())
        return;
    FStates |= disHidden;
    Screen().Draw(FBackImage, FBackImage.rect(), FImagePosition);
}

bool TTVDragImage::DragTo(QPoint p, bool forceRepaint)
{
    int dx = FLastPosition.x() - p.x(), dy = FLastPosition.y() - p.y();
    if (FRestriction == dmrVerticalOnly)
        dx = 0;
    if (FRestriction == dmrHorizontalOnly)
        dy = 0;
    const bool result = dx != 0 || dy != 0 || forceRepaint;
    if (result && Visible()) {
        const int w = FDragImage.width(), h = FDragImage.height();
        if (std::abs(dx) >= w || std::abs(dy) >= h || forceRepaint) {
            Screen().Draw(FBackImage, FBackImage.rect(), FImagePosition);
            if (forceRepaint && FOwner)
                FOwner->repaint();
            FImagePosition -= QPoint(dx, dy);
            CaptureInto(FBackImage.rect(), FImagePosition);
        } else {
            const TDragRectangles r = FillDragRectangles(w, h, dx, dy);
            for (const QRect& d : {r.Draw1, r.Draw2})
                if (!d.isEmpty())
                    Screen().Draw(FBackImage, d, FImagePosition + d.topLeft());
            // The back image scrolls by the delta inside the scroll rectangle.
            const QImage old = FBackImage.copy();
            QImage scrolled = FBackImage;
            {
                QPainter painter(&scrolled);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.setClipRect(r.Scroll.translated(dx, dy).intersected(QRect(0, 0, w, h)));
                painter.drawImage(QPoint(dx, dy), old);
            }
            FBackImage = scrolled;
            FImagePosition -= QPoint(dx, dy);
            for (const QRect& s : {r.Samp1, r.Samp2})
                if (!s.isEmpty())
                    CaptureInto(s, FImagePosition + s.topLeft());
        }
        InternalShowDragImage();
    }
    FLastPosition = p;
    return result;
}

bool TTVDragImage::WillMove(QPoint p) const
{
    if (!Visible())
        return false;
    switch (FRestriction) {
    case dmrHorizontalOnly: return p.x() != FLastPosition.x();
    case dmrVerticalOnly: return p.y() != FLastPosition.y();
    default: return p != FLastPosition;
    }
}

void TTVDragImage::EndDrag()
{
    HideDragImage();
    FStates &= uint8_t(~(disInDrag | disPrepared | disSystemSupport));
    FBackImage = FAlphaImage = FDragImage = QImage();
}

QRect TTVDragImage::GetDragImageRect() const
{
    return Visible() ? QRect(FImagePosition, FDragImage.size()) : QRect();
}

void TTVDragImage::RecaptureBackground(TBaseNodeTree* tree, const QRect& r, const QRegion& visibleRegion,
                                       bool captureNCArea, bool reshowDragImage)
{
    if (!tree || !Visible())
        return;
    const QRect imageRect(FImagePosition, FDragImage.size());
    if (captureNCArea) {
        // The tree's own parts around its client area (frame, header strip, bars) as it shows them.
        const QRect window(tree->mapToGlobal(QPoint(0, 0)), tree->size());
        const QRect client(tree->viewport()->mapToGlobal(QPoint(0, 0)), tree->viewport()->size());
        const QRegion around = QRegion(window.intersected(imageRect)) - QRegion(client);
        if (!around.isEmpty()) {
            const QRect bounds = around.boundingRect();
            QImage printed(bounds.size(), QImage::Format_ARGB32);
            printed.fill(Qt::transparent);
            tree->render(&printed, QPoint(0, 0), QRegion(QRect(tree->mapFromGlobal(bounds.topLeft()), bounds.size())),
                         QWidget::DrawWindowBackground | QWidget::DrawChildren);
            QPainter painter(&FBackImage);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.setClipRegion(around.translated(-FImagePosition));
            painter.drawImage(bounds.topLeft() - FImagePosition, printed);
        }
    }
    const QRect screenR(tree->viewport()->mapToGlobal(r.topLeft()), r.size());
    const QRect part = screenR.intersected(imageRect);
    if (part.isEmpty()) {
        if (captureNCArea && reshowDragImage)
            InternalShowDragImage();
        return;
    }
    const QRect inImage = part.translated(-FImagePosition);
    const QPoint clientAt = tree->viewport()->mapFromGlobal(part.topLeft());
    QImage painted(part.size(), QImage::Format_ARGB32);
    painted.fill(platform::ToQColor(tree->Colors().BackGroundColor()));
    {
        platform::TCanvas canvas;
        QPainter painter(&painted);
        if (!visibleRegion.isEmpty())
            painter.setClipRegion(visibleRegion.translated(-clientAt));
        canvas.Attach(&painter);
        tree->PaintTree(canvas, QRect(clientAt - QPoint(tree->EffectiveOffsetX(), tree->OffsetY()), part.size()),
                        QPoint(0, 0),
                        poBackground | poColumnColor | poDrawFocusRect | poDrawSelection | poDrawDropMark | poGridLines);
        canvas.Detach();
    }
    CopyRect(painted, painted.rect(), FBackImage, inImage.topLeft());
    if (reshowDragImage)
        InternalShowDragImage();
}

}  // namespace tree
