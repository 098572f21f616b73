#include "platform/TImageList.h"

#include <QPainter>
#include <algorithm>

namespace platform {

namespace {
QImage Greyed(const QImage& image)
{
    QImage grey = image.copy();
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb p = line[x];
            const int g = qGray(p);
            line[x] = qRgba(g, g, g, qAlpha(p) / 2);
        }
    }
    return grey;
}
}  // namespace

TImageList::TImageList(int width, int height) : FWidth(std::max(width, 1)), FHeight(std::max(height, 1)) {}

void TImageList::SetSize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == FWidth && height == FHeight)
        return;
    FWidth = width;
    FHeight = height;
    FImages.clear();
}

int TImageList::Add(const QImage& image)
{
    const int first = Count();
    if (image.isNull())
        return -1;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int cells = std::max(1, argb.width() / FWidth);
    for (int i = 0; i < cells; ++i) {
        QImage cell(FWidth, FHeight, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        QPainter p(&cell);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), argb, QRect(i * FWidth, 0, FWidth, FHeight));
        p.end();
        FImages.push_back(std::move(cell));
    }
    return first;
}

int TImageList::AddMasked(const QImage& image, TColor maskColor)
{
    if (image.isNull())
        return -1;
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(maskColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return Add(masked);
}

QImage TImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? FImages[size_t(index)] : QImage();
}

bool TImageList::Draw(QPainter& painter, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return false;
    const QImage& image = FImages[size_t(index)];
    painter.drawImage(QPoint(x, y), enabled ? image : Greyed(image));
    return true;
}

bool TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    QPainter* painter = canvas.Painter();
    return painter && Draw(*painter, x, y, index, enabled);
}

}  // namespace platform
