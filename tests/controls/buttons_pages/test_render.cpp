// The look of a strip of buttons as the windows set them up: the main window's picture-only
// buttons and a dialog's OK and Cancel.
#include "ButtonTestUtil.h"
#include "controls/buttons_pages/PicButton.h"
#include "controls/buttons_pages/PicGlyphs.h"

#include <QDir>
#include <QEnterEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

TPicButton* MakeButton(QWidget* parent, QRect r, TPicButtonStyle style, TColor hot)
{
    auto* b = new TPicButton(parent);
    b->SetBounds(r.x(), r.y(), r.width(), r.height());
    b->SetColor(Face);
    b->SetLightColor(clGray);
    b->SetStyle(style);
    b->SetColorWhenDown(0x000080FF);
    b->SetHotTrackColor(hot);
    return b;
}

}  // namespace

TEST(ButtonLook, MainWindowPictureButtonsAndDialogButtons)
{
    QWidget window;
    window.resize(420, 120);
    const QPixmap pictures[3] = {Glyph_Info(), Glyph_Options(), Glyph_Close()};
    TPicButton* pictureButtons[3];
    for (int i = 0; i < 3; ++i) {
        pictureButtons[i] = MakeButton(&window, QRect(10 + i * 60, 10, 50, 50), bsNormal, clSkyBlue);
        pictureButtons[i]->SetGlyph(pictures[i], 1);
    }
    TPicButton* ok = MakeButton(&window, QRect(190, 80, 110, 28), bsEncarta, clYellow);
    ok->SetCaption("OK");
    ok->SetGlyph(QPixmap::fromImage(KindGlyph(bkOK).copy(0, 0, 18, 18)), 1);
    TPicButton* cancel = MakeButton(&window, QRect(305, 80, 110, 28), bsEncarta, clYellow);
    cancel->SetCaption("Annulla");
    cancel->SetGlyph(QPixmap::fromImage(KindGlyph(bkCancel).copy(0, 0, 18, 18)), 1);
    window.show();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(cancel, &enter);
    cancel->clearFocus();
    ok->clearFocus();
    for (TPicButton* b : pictureButtons)
        b->clearFocus();

    const QImage shot = Shot(window);

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QRect r = pictureButtons[i]->geometry();
        // Gray edges all round, the face colour inside.
        EXPECT_EQ(At(shot, r.left(), r.top()), Rgb(clGray));
        EXPECT_EQ(At(shot, r.right(), r.bottom()), Rgb(clGray));
        EXPECT_EQ(At(shot, r.left() + 2, r.top() + 2), Rgb(Face));
        // The 32x32 picture sits in the middle, fully inside the face.
        const QRect ink = InkBox(shot, Rgb(Face), r.adjusted(1, 1, -1, -1));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(r.adjusted(8, 8, -8, -8).contains(ink)) << "picture inside its 32x32 room";
        EXPECT_LE(std::abs(ink.center().x() - r.center().x()), 1);
        EXPECT_LE(std::abs(ink.center().y() - r.center().y()), 1);
        EXPECT_GE(ink.width(), 24);
        EXPECT_GE(ink.height(), 24);
    }
    // The pictures differ from each other.
    const QRect a = pictureButtons[0]->geometry(), b = pictureButtons[2]->geometry();
    EXPECT_NE(shot.copy(a.adjusted(9, 9, -9, -9)), shot.copy(b.adjusted(9, 9, -9, -9)));

    // OK: green tick left of the caption, both centred in the button as one block.
    const QRect okRect = ok->geometry();
    QRect tick, text;
    for (int y = okRect.top() + 1; y < okRect.bottom(); ++y)
        for (int x = okRect.left() + 1; x < okRect.right(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (qGreen(p) > qRed(p) + 40 && qGreen(p) > qBlue(p) + 40)
                tick |= QRect(x, y, 1, 1);
            else if (qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100)
                text |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(tick.isEmpty());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LT(tick.right(), text.left());
    const int blockCentre = (tick.left() + text.right()) / 2;
    EXPECT_LE(std::abs(blockCentre - okRect.center().x()), 6);

    // Cancel under the pointer is yellow.
    const QRect c = cancel->geometry();
    EXPECT_EQ(At(shot, c.left() + 3, c.top() + 3), Rgb(clYellow));
    EXPECT_EQ(At(shot, okRect.left() + 3, okRect.top() + 3), Rgb(Face));
}

TEST(ButtonLook, GlyphsKeepTheirTransparentCorner)
{
    for (const QPixmap& p : {Glyph_Info(), Glyph_Options(), Glyph_Close()}) {
        const QImage img = p.toImage();
        EXPECT_EQ(img.size(), QSize(32, 32));
        EXPECT_EQ(qAlpha(img.pixel(0, 31)), 0);
    }
    for (TPicButtonKind k : {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll}) {
        const QImage strip = KindGlyph(k);
        for (int frame = 0; frame < 2; ++frame)
            EXPECT_EQ(qAlpha(strip.pixel(frame * 18, strip.height() - 1)), 0) << k;
    }
    EXPECT_TRUE(KindGlyph(bkCustom).isNull());
}

// Painting the pictures at start-up must not wake Qt's helper threads for blending: starting them
// costs more than the pictures. (Where helper threads already run, the count cannot grow anyway.)
TEST(ButtonLook, MainWindowPicturesStartNoThreads)
{
    const QString tasks = QStringLiteral("/proc/self/task");
    if (!QDir(tasks).exists())
        GTEST_SKIP() << "the threads of the process cannot be counted here";
    // A fresh QDir each time: a QDir keeps the list it read first.
    const auto threads = [&] { return QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
    const qsizetype before = threads();
    for (const QPixmap& p : {Glyph_Info(), Glyph_Options(), Glyph_Close()})
        EXPECT_FALSE(p.isNull());
    EXPECT_LE(threads(), before);
}
