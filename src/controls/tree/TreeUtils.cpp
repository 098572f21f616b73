// Drawing helpers: rectangle normalisation, the row blender and colour conversion.
#include "controls/tree/TreeUtils.h"

#include "platform/Exception.h"

#include <QPainter>
#include <algorithm>

namespace tree {

QRect NormalizedRect(int left, int top, int right, int bottom)
{
    return platform::Rect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
}

uint32_t GetRGBColor(platform::TColor value)
{
    if (value == platform::clNone)
        return 0xFFFFFFFFu;
    if (value == platform::clDefault)
        return 0xFF000000u;
    return platform::ColorToRGB(value);
}

namespace {

uint8_t Saturate(int value) { return uint8_t(std::clamp(value, 0, 255)); }

void CheckBitmap(const QImage* image)
{
    if (!image || image->isNull())
        throw platform::Exception(QStringLiteral("Alpha blending DC error: no bitmap available."));
    if (image->depth() != 32)
        throw platform::Exception(QStringLiteral("Alpha blending error: bitmap must use 32 bpp."));
}

// Qt's opaque 32-bit format must keep its fourth byte at 255.
bool KeepsOpaque(const QImage& image) { return !image.hasAlphaChannel(); }

}  // namespace

void AlphaBlendRect(const QImage* source, QImage* destination, QRect r, QPoint target, TBlendMode mode,
                    int constantAlpha, int bias)
{
    if (r.isEmpty())
        return;
    CheckBitmap(destination);
    const bool colorMode = mode == bmConstantAlphaAndColor;
    if (colorMode) {
        source = nullptr;
        target = r.topLeft();
    } else {
        CheckBitmap(source);
        // Only the part that lies on the source, moved along with it on the destination.
        const QRect onSource = r.intersected(source->rect());
        target += onSource.topLeft() - r.topLeft();
        r = onSource;
    }
    // Only the part that lands on the destination.
    const QRect landing = QRect(target, r.size()).intersected(destination->rect());
    if (landing.isEmpty())
        return;
    r = QRect(r.topLeft() + (landing.topLeft() - target), landing.size());
    target = landing.topLeft();

    const bool opaque = KeepsOpaque(*destination);
    // Pixel bytes in memory order: blue, green, red, alpha. The colour's fourth channel is 0.
    const uint32_t rgb = uint32_t(bias);
    const int color[4] = {int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF), 0};
    const int a = std::clamp(constantAlpha, 0, 256);
    for (int y = 0; y < r.height(); ++y) {
        uchar* d = destination->scanLine(target.y() + y) + target.x() * 4;
        const uchar* s = source ? source->constScanLine(r.top() + y) + r.left() * 4 : nullptr;
        for (int x = 0; x < r.width(); ++x, d += 4) {
            for (int c = 0; c < 4; ++c) {
                if (c == 3 && opaque)
                    continue;
                const int dv = d[c];
                if (colorMode) {
                    d[c] = Saturate((a * color[c] + (256 - a) * dv) >> 8);
                    continue;
                }
                const int sv = s[x * 4 + c];
                int alpha = a;
                if (mode == bmPerPixelAlpha)
                    alpha = s[x * 4 + 3];
                else if (mode == bmMasterAlpha)
                    alpha = (a * s[x * 4 + 3]) >> 8;
                d[c] = Saturate(((256 * dv + alpha * (sv - dv)) >> 8) + bias);
            }
        }
    }
}

void BlendRectWithColor(QPainter& painter, const QRect& r, platform::TColor color, int alpha)
{
    if (r.isEmpty())
        return;
    const QTransform& t = painter.deviceTransform();
    auto* image = dynamic_cast<QImage*>(painter.device());
    if (image && image->depth() == 32 && t.type() <= QTransform::TxTranslate) {
        QRect area = t.mapRect(r);
        if (painter.hasClipping())
            area &= painter.deviceTransform().mapRect(painter.clipBoundingRect()).toAlignedRect();
        AlphaBlendRect(nullptr, image, area, area.topLeft(), bmConstantAlphaAndColor, alpha,
                       int(platform::ColorToRGB(color)));
        return;
    }
    QColor c = platform::ToQColor(color);
    c.setAlpha(std::clamp(alpha, 0, 255));
    painter.fillRect(r, c);
}

}  // namespace tree
