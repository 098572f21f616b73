// Drawing helpers: rectangle normalisation, the row blender and colour conversion.
#include "controls/tree/TreeUtils.h"

#include "platform/Exception.h"

#include <QPainter>
#include <QStringList>
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

void ClipCanvas(platform::TCanvas& canvas, const QRect& clipRect, const QRegion& visibleRegion)
{
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    QRegion clip(clipRect);
    if (!visibleRegion.isEmpty())
        clip &= p->deviceTransform().inverted().map(visibleRegion);
    p->setClipRegion(clip);
}

void SetCanvasOrigin(platform::TCanvas& canvas, int x, int y)
{
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const QTransform t = p->transform();
    // Keep any scaling, drop the old origin, then move (x, y) onto the device's (0, 0).
    p->setTransform(QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0));
    const QPointF device = p->transform().map(QPointF(x, y));
    p->setTransform(QTransform(t.m11(), t.m12(), t.m21(), t.m22(), -device.x(), -device.y()));
}

void StretchDrawBitmap(platform::TCanvas& canvas, const QRect& r, const QImage& bitmap)
{
    QPainter* p = canvas.Painter();
    if (!p || bitmap.isNull() || r.isEmpty())
        return;
    const QPainter::CompositionMode mode = p->compositionMode();
    p->setCompositionMode(QPainter::CompositionMode_Source);
    canvas.StretchDraw(r, bitmap);
    p->setCompositionMode(mode);
}

void GetStringDrawRect(platform::TCanvas& canvas, const QString& s, QRect& bounds, unsigned format)
{
    bounds.setWidth(1);
    bounds.setHeight(1);
    canvas.DrawText(s, bounds, format | platform::DT_CALCRECT);
}

QString WrapString(platform::TCanvas& canvas, const QString& s, const QRect& bounds, bool rtl, unsigned format)
{
    const QString text = s.trimmed();
    if (text.isEmpty())
        return QString();
    const int available = bounds.width();
    auto fits = [&](const QString& candidate) {
        QRect r(bounds.topLeft(), QSize(1, 1));
        GetStringDrawRect(canvas, candidate, r, format);
        return r.width() <= available;
    };
    QStringList words = text.split(QLatin1Char(' '));
    if (rtl)
        std::reverse(words.begin(), words.end());
    QString result, line;
    bool lineHasWord = false;
    auto finishLine = [&] {
        result += line;
        result += QLatin1Char('\n');
        line.clear();
        lineHasWord = false;
    };
    for (QString word : words) {
        while (true) {
            const QString candidate = !lineHasWord ? word
                                      : rtl        ? word + QLatin1Char(' ') + line
                                                   : line + QLatin1Char(' ') + word;
            if (fits(candidate)) {
                line = candidate;
                lineHasWord = true;
                break;
            }
            if (lineHasWord) {  // the word starts the next line
                finishLine();
                continue;
            }
            // The line's first word is too wide: cut it, keeping at least one character.
            if (word.isEmpty())
                break;
            qsizetype n = word.size() <= 1 ? word.size() : word.size() - 1;
            while (n > 1 && !fits(rtl ? word.right(n) : word.left(n)))
                --n;
            line = rtl ? word.right(n) : word.left(n);
            word = rtl ? word.left(word.size() - n) : word.mid(n);
            lineHasWord = true;
            finishLine();
            if (word.isEmpty())
                break;
        }
    }
    if (lineHasWord)
        finishLine();
    if (result.endsWith(QLatin1Char('\n')))
        result.chop(1);
    return result;
}

}  // namespace tree
