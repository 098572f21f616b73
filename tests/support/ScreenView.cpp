#include "support/ScreenView.h"

#include <QApplication>
#include <QBackingStore>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace testsupport {

ScreenView::ScreenView(QWidget* w) : Target(w)
{
    QWidget* top = w->window();
    top->show();
    top->activateWindow();
    // The first paint fills the whole backing store; later ones only what was invalidated.
    top->repaint();
    Settle();
}

void ScreenView::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

QImage ScreenView::Image(QWidget* w) const
{
    Settle();
    QWidget* widget = w ? w : Target;
    QWidget* top = widget->window();
    QBackingStore* store = top->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) {
        ADD_FAILURE() << "the window keeps no image of its pixels";
        return {};
    }
    const QImage& kept = *static_cast<QImage*>(device);
    const qreal ratio = kept.devicePixelRatio();
    const QRect area(widget->mapTo(top, QPoint(0, 0)) * ratio, widget->size() * ratio);
    return kept.copy(area).convertToFormat(QImage::Format_RGB32);
}

QRgb ScreenView::Pixel(QPoint p, QWidget* w) const
{
    const QImage image = Image(w);
    if (!image.rect().contains(p)) {
        ADD_FAILURE() << "pixel (" << p.x() << ", " << p.y() << ") lies outside the widget";
        return 0;
    }
    return image.pixel(p) & 0xFFFFFF;
}

void ScreenView::Key(int key, Qt::KeyboardModifiers mods) const
{
    QWindow* window = Target->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key(key), mods);
    Settle();
}

void ScreenView::Type(const QString& text) const
{
    QWindow* window = Target->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    for (const QChar ch : text) {
        const char ascii = ch.unicode() < 128 ? char(ch.unicode()) : 0;
        const Qt::Key code = ascii ? QTest::asciiToKey(ascii) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, window, code, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, window, code, QString(ch), Qt::NoModifier);
    }
    Settle();
}

}  // namespace testsupport
