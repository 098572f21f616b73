#include <QPainter>
#include <algorithm>

#include "grid/core/ExtStringGrid.h"
#include "platform/PanGlyph.h"

namespace grid {

// The wheel-pan mark

QImage TExtStringGrid::IntelliPanGlyph(TIntelliPan pan)
{
    const QColor key(255, 0, 255);
    const QPoint north(0, -1), south(0, 1), west(-1, 0), east(1, 0);
    switch (pan) {
    case ipVertical: return platform::PanningGlyph({north, south}, key).convertToFormat(QImage::Format_RGB32);
    case ipHorizontal: return platform::PanningGlyph({west, east}, key).convertToFormat(QImage::Format_RGB32);
    case ipBoth: return platform::PanningGlyph({north, south, west, east}, key).convertToFormat(QImage::Format_RGB32);
    default: return {};
    }
}

namespace {
// Shows the pan mark over the cells, letting the mouse through and leaving out the pixels of the
// mark's top-left colour.
class TPanGlyphWindow : public QWidget {
public:
    explicit TPanGlyphWindow(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        resize(32, 32);
    }
    void SetGlyph(const QImage& glyph)
    {
        FGlyph = glyph.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = FGlyph.pixel(0, 0);
        for (int y = 0; y < FGlyph.height(); ++y)
            for (int x = 0; x < FGlyph.width(); ++x)
                if (FGlyph.pixel(x, y) == key)
                    FGlyph.setPixel(x, y, 0);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, FGlyph);
    }

private:
    QImage FGlyph;
};
}  // namespace

void TExtStringGrid::DrawIntelliPanGlyph()
{
    const QImage glyph = IntelliPanGlyph(IntelliPan);
    if (glyph.isNull())
        return;
    if (!FPanGlyph)
        FPanGlyph = new TPanGlyphWindow(Client());
    auto* w = static_cast<TPanGlyphWindow*>(FPanGlyph);
    w->SetGlyph(glyph);
    w->move(WheelPanPos);
    w->raise();
    w->show();
}

void TExtStringGrid::InvalidateIntelliPanGlyph()
{
    if (FPanGlyph)
        FPanGlyph->hide();
    InvalidateRect(QRect(WheelPanPos, QSize(32, 32)));
}

bool TExtStringGrid::IntelliPanGlyphShown() const { return FPanGlyph && !FPanGlyph->isHidden(); }

// The drag snapshot of a selection

TSelectionForm::TSelectionForm(const QImage& image)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      FImage(image)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowOpacity(192 / 255.0);
    setFixedSize(image.size());
}

void TSelectionForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, FImage);
}

std::unique_ptr<TSelectionForm> TExtStringGrid::SelectionToForm(const TGridRect& range)
{
    const QImage shot = Client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int l = std::clamp(range.Left, 0, std::max(0, ColCount() - 1));
    const int t = std::clamp(range.Top, 0, std::max(0, RowCount() - 1));
    const int r = std::clamp(range.Right, 0, std::max(0, ColCount() - 1));
    const int b = std::clamp(range.Bottom, 0, std::max(0, RowCount() - 1));
    TRect first = AbsCellRect(l, t), second = AbsCellRect(r, b);
    if (first.Left > second.Left)
        std::swap(first.Left, second.Left), std::swap(first.Right, second.Right);
    if (first.Top > second.Top)
        std::swap(first.Top, second.Top), std::swap(first.Bottom, second.Bottom);
    const QSize size(std::max(1, second.Right - first.Left + 1), std::max(1, second.Bottom - first.Top + 1));
    // Parts out of view stay blank.
    QImage image(size, QImage::Format_RGB32);
    image.fill(platform::ToQColor(Color));
    {
        QPainter p(&image);
        p.drawImage(QPoint(0, 0), shot, QRect(QPoint(first.Left + 1, first.Top + 1), size));
        p.setPen(platform::ToQColor(GridFixedLineColor));
        if (range.Left == 0 && FixedCols() > 0 && (Options & goFixedHorzLine))
            p.drawLine(0, 0, 0, size.height() - 1);
        if (range.Top == 0 && FixedRows() > 0 && (Options & goFixedVertLine))
            p.drawLine(0, 0, size.width() - 1, 0);
    }
    return std::make_unique<TSelectionForm>(image);
}

}  // namespace grid
