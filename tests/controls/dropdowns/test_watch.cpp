// The analogue watch: time arithmetic, pointing at the face, keys, hand animation, the live clock
// and the look (marks, numbers, gradients, hands, AM/PM box, presets).
#include "DropDownTestUtil.h"
#include "controls/dropdowns/Watch.h"

#include "platform/Exception.h"
#include "support/FakeClock.h"
#include "support/GoldenImage.h"

#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

using namespace dropdowns;
using namespace platform;

namespace {


QString Hm(TDateTime t)
{
    const TTimeParts p = DecodeTime(t);
    return QStringLiteral("%1:%2:%3")
        .arg(p.Hour, 2, 10, QChar('0'))
        .arg(p.Minute, 2, 10, QChar('0'))
        .arg(p.Second, 2, 10, QChar('0'));
}

QImage Render(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TColor At(const QImage& img, QPoint p) { return FromQColor(img.pixelColor(p)); }

QPoint Polar(QPoint c, double d, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    return QPoint(int(std::lround(c.x() + d * std::sin(a))), int(std::lround(c.y() - d * std::cos(a))));
}

// Pixels of a colour in a square of the given half size around p.
int CountNear(const QImage& img, QPoint p, int half, TColor color)
{
    int n = 0;
    for (int y = p.y() - half; y <= p.y() + half; ++y)
        for (int x = p.x() - half; x <= p.x() + half; ++x)
            if (img.rect().contains(x, y) && At(img, QPoint(x, y)) == color)
                ++n;
    return n;
}

// Pixels of purple text, anti-aliased onto white, in a square around p.
int PurpleNear(const QImage& img, QPoint p, int half)
{
    int n = 0;
    for (int y = p.y() - half; y <= p.y() + half; ++y)
        for (int x = p.x() - half; x <= p.x() + half; ++x) {
            if (!img.rect().contains(x, y))
                continue;
            const QColor c = img.pixelColor(x, y);
            if (c.green() + 40 < c.red() && c.green() + 40 < c.blue())
                ++n;
        }
    return n;
}

class WatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        watch.SetAnimation(false);
        watch.OnChange = [this] { ++changes; };
    }
    void TearDown() override { TExtWatch::SetSystemTimeSource(nullptr); }

    void Click(QPoint p) { QTest::mouseClick(watch.viewport(), Qt::LeftButton, Qt::NoModifier, p); }

    FakeClock clock;
    TExtWatch watch;
    int changes = 0;
};

}  // namespace

TEST(WatchTime, DecodeAndEncodeRoundTripAndRefuseOutOfRange)
{
    struct Case {
        int h, m, s, ms;
        bool valid;
    };
    const Case cases[] = {{0, 0, 0, 0, true},   {23, 59, 59, 999, true}, {12, 30, 15, 500, true},
                          {24, 0, 0, 0, false}, {10, 60, 0, 0, false},   {10, 0, 60, 0, false},
                          {-1, 0, 0, 0, false}, {10, 0, 0, 1000, false}};
    for (const Case& c : cases) {
        TDateTime t = 0.25;
        EXPECT_EQ(TryEncodeTime(c.h, c.m, c.s, c.ms, t), c.valid) << c.h << ":" << c.m << ":" << c.s;
        if (c.valid)
            EXPECT_EQ(DecodeTime(t), (TTimeParts{c.h, c.m, c.s, c.ms}));
        else
            EXPECT_EQ(t, 0.25);
    }
    // Only the fraction of the day counts; a value a hair below midnight is midnight.
    EXPECT_EQ(DecodeTime(5 + T(7, 8, 9)), (TTimeParts{7, 8, 9, 0}));
    EXPECT_EQ(DecodeTime(1.0 - 1e-12), (TTimeParts{0, 0, 0, 0}));
    EXPECT_THROW(EncodeTime(25, 0, 0, 0), Exception);
}

TEST(WatchGeometry, MinuteAndHourFromPoint)
{
    const QPoint c(100, 100);
    struct Case {
        QPoint p;
        int minute, hourAM, hourPM;
    };
    const Case cases[] = {
        {{180, 100}, 15, 3, 15},  // 3 o'clock
        {{100, 180}, 30, 6, 18},  // straight down
        {{20, 100}, 45, 9, 21},   // 9 o'clock
        {{100, 20}, 0, 0, 12},    // straight up
        {{97, 40}, 0, 0, 12},     // just left of 12: 45 + 15 = 60 is not a minute
        {{103, 40}, 0, 0, 12},    // just right of 12
        {{160, 50}, 8, 2, 14},    // between 12 and 3: 15 - round(39.8 / 6)
        {{40, 150}, 38, 8, 20},   // between 6 and 9: 45 - round(39.8 / 6)
    };
    for (const Case& k : cases) {
        EXPECT_EQ(MinuteFromPoint(c, k.p), k.minute) << k.p.x() << "," << k.p.y();
        EXPECT_EQ(HourFromPoint(c, k.p, true), k.hourAM) << k.p.x() << "," << k.p.y();
        EXPECT_EQ(HourFromPoint(c, k.p, false), k.hourPM) << k.p.x() << "," << k.p.y();
    }
}

TEST_F(WatchTest, WatchRectFitsTheControlOrTheSizeWithinIt)
{
    EXPECT_EQ(watch.GetWatchRect(), QRect(10, 10, 160, 160));
    EXPECT_EQ(watch.GetCenter(), QPoint(90, 90));
    EXPECT_EQ(watch.GetRadius(), 80);
    watch.Appearance().SetSize(300);
    EXPECT_EQ(watch.GetWatchRect(), QRect(0, 0, 180, 180));
    watch.Appearance().SetSize(61);
    EXPECT_EQ(watch.GetWatchRect(), QRect(59, 59, 61, 61));
    EXPECT_EQ(watch.GetCenter(), QPoint(89, 89));

    // The AM/PM box sits under the hub, a third of the way to the rim; none without ShowAMPM.
    watch.Appearance().SetSize(0);
    const QRect box = watch.GetAMPMRect();
    EXPECT_EQ(box.left() + box.width() / 2, 90);
    EXPECT_GT(box.top(), 90);
    EXPECT_LT(box.bottom(), 170);
    watch.SetShowAMPM(false);
    EXPECT_EQ(watch.GetAMPMRect(), QRect(QPoint(-1, -1), QSize(0, 0)));
}

TEST_F(WatchTest, KeysChangeTheTime)
{
    struct Case {
        TDateTime start;
        int key;
        const char* expected;
        int changes;
    };
    const Case cases[] = {
        {T(10, 20), VK_RIGHT, "10:21:00", 1},
        {T(10, 59), VK_RIGHT, "11:00:00", 1},  // past 12 o'clock forwards: next hour
        {T(23, 59), VK_RIGHT, "00:00:00", 1},
        {T(10, 20), VK_LEFT, "10:19:00", 1},
        {T(10, 0), VK_LEFT, "09:59:00", 0},  // back over the hour: no notification
        {T(0, 0), VK_LEFT, "23:59:00", 0},
        {T(10, 20), VK_PRIOR, "11:20:00", 1},
        {T(23, 20), VK_PRIOR, "00:20:00", 1},
        {T(10, 20), VK_NEXT, "09:20:00", 1},
        {T(0, 20), VK_NEXT, "23:20:00", 1},
        {T(10, 20), VK_HOME, "12:20:00", 1},
        {T(10, 20), VK_END, "10:00:00", 1},
        {T(10, 45), VK_END, "11:00:00", 1},  // the minute hand passes 12 forwards
        {T(15, 20), 'A', "03:20:00", 1},
        {T(3, 20), 'A', "03:20:00", 0},
        {T(3, 20), 'P', "15:20:00", 1},
        {T(15, 20), 'P', "15:20:00", 0},
        {T(10, 20), VK_UP, "10:20:00", 0},
    };
    for (const Case& c : cases) {
        watch.SetTime(c.start);
        changes = 0;
        watch.HandleKey(c.key);
        EXPECT_EQ(Hm(watch.Time()), c.expected) << Hm(c.start).toStdString() << " key " << c.key;
        EXPECT_EQ(changes, c.changes) << Hm(c.start).toStdString() << " key " << c.key;
    }
}

TEST_F(WatchTest, MinuteBeyondRangeIsRefusedAndTimeKept)
{
    watch.SetTime(T(8, 15));
    try {
        watch.SetMinute(60);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "Invalid time");
    }
    EXPECT_THROW(watch.SetHour(24), Exception);
    EXPECT_EQ(Hm(watch.Time()), "08:15:00");
    EXPECT_EQ(changes, 0);
    // The same value again changes nothing and tells nobody.
    watch.SetMinute(15);
    watch.SetHour(8);
    EXPECT_EQ(changes, 0);
}

TEST_F(WatchTest, ClicksSetMinuteOutsideHourInsideAndHalfOnTheBox)
{
    watch.show();
    struct Case {
        TDateTime start;
        QPoint p;
        const char* expected;
    };
    const QPoint c = watch.GetCenter();
    const Case cases[] = {
        {T(10, 20), {175, 90}, "10:15:00"},                 // right, outside the circle
        {T(10, 20), {90, 178}, "10:30:00"},                 // below, outside
        {T(10, 20), {3, 90}, "10:45:00"},                   // left, outside
        {T(10, 45), {90, 2}, "11:00:00"},                   // top, outside: from 45 the hour moves on
        {T(10, 10), {90, 2}, "10:00:00"},                   // from 10 it does not
        {T(10, 20), Polar(c, 50, 90), "03:20:00"},          // 3 o'clock inside, AM
        {T(15, 20), Polar(c, 50, 270), "21:20:00"},         // 9 o'clock inside, PM
        {T(10, 20), c + QPoint(-2, -50), "00:20:00"},       // 12 inside, AM, either side
        {T(10, 20), c + QPoint(2, -50), "00:20:00"},
        {T(15, 20), c + QPoint(-2, -50), "12:20:00"},       // 12 inside, PM
        {T(15, 20), c + QPoint(2, -50), "12:20:00"},
        {T(10, 20), watch.GetAMPMRect().center(), "22:20:00"},  // the box: other half
        {T(22, 20), watch.GetAMPMRect().center(), "10:20:00"},
    };
    for (const Case& k : cases) {
        watch.SetTime(k.start);
        changes = 0;
        Click(k.p);
        EXPECT_EQ(Hm(watch.Time()), k.expected) << Hm(k.start).toStdString() << " at " << k.p.x() << "," << k.p.y();
        EXPECT_EQ(changes, 1) << Hm(k.start).toStdString() << " at " << k.p.x() << "," << k.p.y();
        EXPECT_EQ(watch.AM(), DecodeTime(watch.Time()).Hour < 12);
    }
}

TEST_F(WatchTest, HandCursorOverTheBoxOnly)
{
    watch.show();
    QTest::mouseMove(watch.viewport(), watch.GetAMPMRect().center());
    EXPECT_EQ(watch.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(watch.viewport(), watch.GetCenter() + QPoint(0, -40));
    EXPECT_NE(watch.viewport()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(WatchTest, LiveClockShowsSystemTimePlusOffsetAndIgnoresInput)
{
    TDateTime now = T(9, 41, 7);
    TExtWatch::SetSystemTimeSource([&now] { return now; });
    watch.Settings().SetTimeOffset(60);
    watch.Settings().SetAuto(true);
    EXPECT_EQ(Hm(watch.GetDisplayTime()), "10:41:07");
    EXPECT_EQ(Hm(watch.Time()), "09:41:07");  // the stored time takes the system time without offset
    watch.show();
    watch.HandleKey(VK_PRIOR);
    Click(watch.GetCenter() + QPoint(0, -50));
    EXPECT_EQ(Hm(watch.GetDisplayTime()), "10:41:07");
    EXPECT_EQ(changes, 0);

    // The 100 ms tick keeps the hands moving with the system time; switching Auto off stops it.
    EXPECT_EQ(clock.Advance(1000), 10);
    watch.Settings().SetAuto(false);
    EXPECT_EQ(clock.Advance(1000), 0);
    EXPECT_EQ(Hm(watch.GetDisplayTime()), "09:41:07");
}

TEST_F(WatchTest, SettingsAssignCopiesAndNotifiesOnlyOnChange)
{
    int notified = 0;
    TWatchSettings a, b;
    a.OnChange = [&] { ++notified; };
    a.SetSecond(true);  // the default: no notification
    EXPECT_EQ(notified, 0);
    b.SetAuto(true);
    b.SetSecond(false);
    b.SetTimeOffset(-30);
    a.Assign(b);
    EXPECT_TRUE(a.Auto());
    EXPECT_FALSE(a.Second());
    EXPECT_EQ(a.TimeOffset(), -30);
    EXPECT_EQ(notified, 1);  // Auto's setter alone notifies
}

class WatchAnimationTest : public WatchTest {
protected:
    void SetUp() override
    {
        WatchTest::SetUp();
        watch.SetAnimation(true);
    }
    // The minutes (or hours) shown after each tick until the animation stops.
    std::vector<int> Run(bool hours)
    {
        std::vector<int> seen;
        for (int i = 0; i < 200 && watch.Animating(); ++i) {
            clock.Advance(1);
            const TTimeParts p = DecodeTime(watch.Time());
            seen.push_back(hours ? p.Hour : p.Minute);
        }
        return seen;
    }
};

TEST_F(WatchAnimationTest, MinuteEasesToTargetInShrinkingStepsAndNotifiesOnceAtTheEnd)
{
    watch.SetTime(T(4, 0));
    watch.SetMinute(30);
    EXPECT_EQ(DecodeTime(watch.Time()).Minute, 0);  // nothing moves before the first tick
    const std::vector<int> seen = Run(false);
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(seen.front(), 3);  // Round(30 / 10)
    EXPECT_EQ(seen.back(), 30);
    for (size_t i = 1; i < seen.size(); ++i) {
        const int before = i >= 2 ? seen[i - 1] - seen[i - 2] : seen[0];
        EXPECT_LE(seen[i] - seen[i - 1], before) << i;
    }
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(watch.Animating());
}

TEST_F(WatchAnimationTest, MinuteToZeroFromAboveHalfRunsForwardAndAdvancesTheHour)
{
    watch.SetTime(T(4, 45));
    watch.SetMinute(0);
    const std::vector<int> seen = Run(false);
    const auto zero = std::find(seen.begin(), seen.end(), 0);
    ASSERT_NE(zero, seen.end());
    EXPECT_GT(seen.front(), 45);
    EXPECT_TRUE(std::is_sorted(seen.begin(), zero)) << "forwards through 59";
    EXPECT_EQ(Hm(watch.Time()), "05:00:00");
    EXPECT_EQ(changes, 1);

    watch.SetTime(T(4, 10));
    watch.SetMinute(0);
    Run(false);
    EXPECT_EQ(Hm(watch.Time()), "04:00:00");
}

TEST_F(WatchAnimationTest, HourAnimatesAndANewTargetReplacesTheRunningOne)
{
    watch.SetTime(T(1, 0));
    watch.SetHour(21);
    clock.Advance(2);
    const int midway = DecodeTime(watch.Time()).Hour;
    EXPECT_GT(midway, 1);
    EXPECT_LT(midway, 21);
    watch.SetMinute(20);  // switches to a minute animation; the hour stays where it got to
    Run(false);
    EXPECT_EQ(DecodeTime(watch.Time()).Hour, midway);
    EXPECT_EQ(DecodeTime(watch.Time()).Minute, 20);
    EXPECT_EQ(changes, 1);
}

TEST_F(WatchAnimationTest, FactorBelowOneIsOneAndMovesInOneStep)
{
    for (int factor : {0, -5}) {
        watch.SetAnimationFactor(factor);
        EXPECT_EQ(watch.AnimationFactor(), 1);
        watch.SetTime(T(6, 0));
        watch.SetMinute(40);
        clock.Advance(1);
        EXPECT_EQ(DecodeTime(watch.Time()).Minute, 40);
        Run(false);
    }
}

TEST_F(WatchAnimationTest, BoxRollsOnePixelPer10msOnlyWhenItHasAFillAndTheUserSwitches)
{
    watch.show();
    watch.SetTime(T(9, 0));
    const QRect box = watch.GetAMPMRect();
    const int ih = box.height() - 2;
    // Frames seen while the roll runs, through the sleeps it makes between them.
    std::vector<QImage> frames;
    clock.OnSleep = [&](int) { frames.push_back(Render(watch)); };
    watch.SetAM(false);
    EXPECT_EQ(clock.Sleeps(), std::vector<int>(size_t(ih), 10));
    ASSERT_EQ(int(frames.size()), ih);
    // The box's inside scrolls up one pixel per frame: "AM" leaves through the top, "PM" follows.
    const QRect inner = box.adjusted(1, 1, -1, -1);
    auto row = [&](const QImage& img, int y) {
        std::vector<TColor> pixels;
        for (int x = inner.left(); x <= inner.right(); ++x)
            pixels.push_back(At(img, QPoint(x, inner.top() + y)));
        return pixels;
    };
    for (int k : {1, ih / 2, ih - 1})
        for (int y = 0; y + k < ih; ++y)
            EXPECT_EQ(row(frames[size_t(k)], y), row(frames[0], y + k)) << "frame " << k << " row " << y;
    EXPECT_NE(row(frames[0], ih / 2), row(frames[1], ih / 2));
    EXPECT_FALSE(watch.AM());

    // No fill: no roll. A change of the time switches the half without a roll either.
    watch.Appearance().SetAMPMColor(clNone);
    watch.SetAM(true);
    watch.Appearance().SetAMPMColor(clWhite);
    watch.SetTime(T(15, 0));
    EXPECT_EQ(int(clock.Sleeps().size()), ih);
    EXPECT_FALSE(watch.AM());
}

// The look.

namespace {

// A plain face in distinctive colours, no shadows, no hub, so that every part can be found.
void PlainLook(TExtWatch& w)
{
    TWatchAppearance& a = w.Appearance();
    a.SetBorderColor(clNone);
    a.SetHourPointerShadow(clNone);
    a.SetMinutePointerShadow(clNone);
    a.SetCenterPointSize(0);
    a.SetHourPointer(clRed);
    a.SetMinutePointer(clBlue);
    a.SetHourColor(clGreen);
    a.SetMinuteColor(clMaroon);
    w.SetShowAMPM(false);
}

}  // namespace

TEST_F(WatchTest, HandsPointAtTheirAngles)
{
    PlainLook(watch);
    watch.SetTime(T(3, 30));
    const QImage img = Render(watch);
    const QPoint c = watch.GetCenter();
    const int r = watch.GetRadius();
    // Hour at 105 degrees, half-way between 3 and 4; minute straight down.
    EXPECT_EQ(At(img, Polar(c, 0.4 * r, 105)), clRed);
    EXPECT_NE(At(img, Polar(c, 0.4 * r, 90)), clRed);
    EXPECT_NE(At(img, Polar(c, 0.4 * r, 120)), clRed);
    EXPECT_EQ(At(img, Polar(c, 0.6 * r, 180)), clBlue);
    EXPECT_NE(At(img, Polar(c, 0.6 * r, 170)), clBlue);
    // The tails reach 0.1 R behind the hub; the tips stop at 0.5 R and 0.7 R.
    EXPECT_EQ(At(img, Polar(c, 0.07 * r, 0)), clBlue);
    EXPECT_NE(At(img, Polar(c, 0.6 * r, 105)), clRed);
    EXPECT_NE(At(img, Polar(c, 0.8 * r, 180)), clBlue);
}

TEST_F(WatchTest, SecondHandOnlyOnALiveClockWithSeconds)
{
    PlainLook(watch);
    watch.Appearance().SetSecondPointer(clFuchsia);
    TExtWatch::SetSystemTimeSource([] { return T(6, 0, 15); });
    const QPoint probe = Polar(watch.GetCenter(), 0.8 * watch.GetRadius(), 90);
    EXPECT_NE(At(Render(watch), probe), clFuchsia);
    watch.Settings().SetAuto(true);
    EXPECT_EQ(At(Render(watch), probe), clFuchsia);
    watch.Settings().SetSecond(false);
    EXPECT_NE(At(Render(watch), probe), clFuchsia);
}

TEST_F(WatchTest, TickMarksAndNumbersFollowTickMarksAndShowNumbers)
{
    PlainLook(watch);
    TFont f = watch.Appearance().HourFont();
    f.Color = clPurple;
    watch.Appearance().SetHourFont(f);
    watch.SetTime(T(0, 0));
    watch.Appearance().SetHourPointer(clNone);
    watch.Appearance().SetMinutePointer(clNone);
    const QPoint c = watch.GetCenter();
    const double outer = watch.GetRadius() - watch.Appearance().BorderWidth() / 2;
    // Mark pixels sit just inside the rim; number text a little further in.
    auto hourMark = [&](const QImage& img, int hour) {
        return CountNear(img, Polar(c, outer * 0.95, hour * 30.0), 2, clGreen) > 0;
    };
    auto minuteMark = [&](const QImage& img) { return CountNear(img, Polar(c, outer * 0.97, 12.0), 2, clMaroon) > 0; };
    const int b = int(std::nearbyint(outer - outer * 0.9)) + 2;
    auto number = [&](const QImage& img, int hour) {
        return PurpleNear(img, Polar(c, outer - 2 * b - 2 + b / 2, hour * 30.0), 6) > 0;
    };
    struct Case {
        TTickMarks marks;
        bool quarterMarks, hourMarks, minuteMarks, quarterNumbers, otherNumbers;
    };
    const Case cases[] = {
        {tmAll, true, true, true, true, true},
        {tmHours, true, true, false, false, false},
        {tmQuartHours, true, false, false, true, false},
        {tmNone, false, false, false, false, false},
    };
    for (const Case& k : cases) {
        watch.Appearance().SetTickMarks(k.marks);
        const QImage img = Render(watch);
        for (int h : {3, 6, 9, 12}) {
            EXPECT_EQ(hourMark(img, h), k.quarterMarks) << k.marks << " mark " << h;
            EXPECT_EQ(number(img, h), k.quarterNumbers) << k.marks << " number " << h;
        }
        for (int h : {1, 5, 10}) {
            EXPECT_EQ(hourMark(img, h), k.hourMarks) << k.marks << " mark " << h;
            EXPECT_EQ(number(img, h), k.otherNumbers) << k.marks << " number " << h;
        }
        EXPECT_EQ(minuteMark(img), k.minuteMarks) << k.marks;
    }
    watch.Appearance().SetTickMarks(tmAll);
    watch.SetShowNumbers(false);
    EXPECT_FALSE(number(Render(watch), 3));
}

TEST_F(WatchTest, GradientRunsLeftToRightOnlyForRadial)
{
    PlainLook(watch);
    watch.SetShowNumbers(false);
    watch.Appearance().SetTickMarks(tmNone);
    watch.Appearance().SetShape(wsRect);
    watch.Appearance().SetHourPointer(clNone);
    watch.Appearance().SetMinutePointer(clNone);
    watch.Appearance().SetBackgroundColor(clBlack);
    watch.Appearance().SetBackgroundColorTo(clWhite);
    for (TWatchGradient g : {wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward}) {
        watch.Appearance().SetBackgroundGradient(g);
        const QImage img = Render(watch);
        const int left = GetRValue(At(img, {5, 90})), right = GetRValue(At(img, {174, 90}));
        const int top = GetRValue(At(img, {90, 5})), bottom = GetRValue(At(img, {90, 174}));
        if (g == wgRadial) {
            EXPECT_LT(left, 30);
            EXPECT_GT(right, 225);
            EXPECT_EQ(top, bottom);
        } else {
            EXPECT_LT(top, 30) << g;
            EXPECT_GT(bottom, 225) << g;
            EXPECT_EQ(left, right) << g;
        }
    }
}

TEST_F(WatchTest, CircleIsClippedRectFillsTheControl)
{
    PlainLook(watch);
    watch.Appearance().SetBackgroundColor(clYellow);
    watch.SetColor(clSilver);
    EXPECT_EQ(At(Render(watch), {3, 3}), ColorToRGB(clSilver));
    EXPECT_EQ(At(Render(watch), {120, 100}), clYellow);
    watch.Appearance().SetShape(wsRect);
    EXPECT_EQ(At(Render(watch), {3, 3}), clYellow);
    watch.Appearance().SetBackgroundColor(clNone);
    EXPECT_EQ(At(Render(watch), {120, 100}), ColorToRGB(clSilver));
}

TEST_F(WatchTest, PictureDrawsAtItsOwnSizeWithItsWhiteLeftOut)
{
    PlainLook(watch);
    watch.Appearance().SetShape(wsRect);
    watch.Appearance().SetBackgroundColor(clYellow);
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            picture.setPixelColor(x, y, Qt::blue);
    watch.Appearance().SetPicture(picture);
    const QImage img = Render(watch);
    EXPECT_EQ(At(img, {10, 10}), clBlue);
    EXPECT_EQ(At(img, {30, 30}), clYellow);  // the picture's white is transparent
    EXPECT_EQ(At(img, {60, 10}), clYellow);  // not stretched over the control
}

// A face of negative size (the control is smaller than the margins) must not fail.
TEST_F(WatchTest, ControlsTooSmallForTheFacePaintAndTakeClicks)
{
    for (QSize size : {QSize(0, 0), QSize(12, 12), QSize(25, 8)}) {
        watch.resize(size);
        for (TWatchStyle style : {wsTower, wsFluorescent, wsSports, wsClassic}) {
            watch.SetStyle(style);
            watch.SetTime(T(4, 50));
            if (!size.isEmpty())
                EXPECT_EQ(Render(watch).size(), size);
        }
        watch.show();
        Click(QPoint(size.width() / 2, size.height() / 2));
        watch.hide();
    }
}

TEST_F(WatchTest, AppearanceAssignCopiesAndNotifies)
{
    TWatchAppearance source;
    source.SetBackgroundColor(clAqua);
    source.SetTickMarks(tmHours);
    source.SetAMPMColor(clLime);
    source.SetCenterPointSize(9);
    int notified = 0;
    TWatchAppearance target;
    target.OnChange = [&] { ++notified; };
    target.Assign(source);
    EXPECT_EQ(target.BackgroundColor(), clAqua);
    EXPECT_EQ(target.TickMarks(), tmHours);
    EXPECT_EQ(target.AMPMColor(), clLime);
    EXPECT_EQ(target.CenterPointSize(), 9);
    EXPECT_GE(notified, 1);
    // The box colours are plain fields.
    notified = 0;
    target.SetAMPMColor(clRed);
    target.SetAMPMBorderColor(clRed);
    EXPECT_EQ(notified, 0);
    target.SetBorderWidth(target.BorderWidth());
    EXPECT_EQ(notified, 0);
    target.SetBorderWidth(2);
    EXPECT_EQ(notified, 1);
}

TEST_F(WatchTest, StylePresetsResetTheLookOnlyWhenTheStyleChanges)
{
    watch.Appearance().SetBackgroundColor(clAqua);
    watch.SetStyle(wsClassic);  // the style it already has: nothing resets
    EXPECT_EQ(watch.Appearance().BackgroundColor(), clAqua);

    watch.SetStyle(wsTower);
    const TWatchAppearance& a = watch.Appearance();
    EXPECT_EQ(a.BackgroundColor(), 0xB1F0FEu);
    EXPECT_EQ(a.AMPMColor(), 0xB1F0FEu);  // taken from the background after it was set
    EXPECT_EQ(a.Shape(), wsRect);
    EXPECT_EQ(a.PointerStyle(), psPointer);
    EXPECT_EQ(a.TickMarks(), tmHours);
    EXPECT_TRUE(a.HourFont().bold());
    EXPECT_FALSE(watch.ShowNumbers());

    watch.SetStyle(wsEmerald);
    EXPECT_EQ(a.HourColor(), 0x3AE800u);
    EXPECT_EQ(a.HourFont().Color, 0x3AE800u);
    EXPECT_EQ(a.AMPMColor(), clNone);
    EXPECT_EQ(a.Shape(), wsRect);
    EXPECT_EQ(a.TickMarks(), tmHours);

    watch.SetStyle(wsSuperNova);  // sizes from the 180-pixel control
    EXPECT_EQ(a.HourMarkLength(), 40);
    EXPECT_EQ(a.MinuteMarkLength(), 60);
    EXPECT_EQ(a.BackgroundColor(), clWhite);  // a default again
    EXPECT_EQ(a.Shape(), wsCircle);
    EXPECT_FALSE(watch.ShowAMPM());

    watch.SetStyle(wsSports);
    EXPECT_EQ(a.CenterPointSize(), 50);
    watch.SetStyle(wsClassic);
    EXPECT_EQ(a.HourMarkLength(), 8);
    EXPECT_TRUE(watch.ShowAMPM());
    EXPECT_TRUE(watch.ShowNumbers());
}

TEST(WatchComponentStyle, AppliesTheStyleColoursAfterTheCommonStep)
{
    using namespace controls;
    struct Case {
        TSuiteStyle style;
        TColor background, backgroundTo, centerBorder, centerFill, hands, shadow, fontColor;
    };
    const Case cases[] = {
        {tsOffice2003Blue, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, clWhite, clBlack},
        {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, clWhite, clBlack},
        {tsOffice2007Silver, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0x74706F, 0x74706F, clWhite, clBlack},
        {tsOffice2007Obsidian, 0x5C534C, 0x5C534C, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, clWhite, 0xF2F1F0},
        {tsOffice2010Silver, clWhite, clWhite, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, clBlack},
    };
    for (const Case& c : cases) {
        TWatchAppearance a;
        ApplyComponentStyle(a, c.style);
        EXPECT_EQ(a.BackgroundColor(), c.background) << c.style;
        EXPECT_EQ(a.BackgroundColorTo(), c.backgroundTo) << c.style;
        EXPECT_EQ(a.CenterPointBorderColor(), c.centerBorder) << c.style;
        EXPECT_EQ(a.CenterPointColor(), c.centerFill) << c.style;
        for (TColor hand : {a.HourColor(), a.MinuteColor(), a.HourPointer(), a.MinutePointer()})
            EXPECT_EQ(hand, c.hands) << c.style;
        EXPECT_EQ(a.HourPointerShadow(), c.shadow) << c.style;
        EXPECT_EQ(a.MinutePointerShadow(), c.shadow) << c.style;
        EXPECT_EQ(a.HourFont().Color, c.fontColor) << c.style;
        EXPECT_EQ(a.AMPMFont().Color, c.fontColor) << c.style;
        EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack) << c.style;
    }
    // tsCustom: only the common step.
    TWatchAppearance a;
    ApplyComponentStyle(a, tsCustom);
    EXPECT_EQ(a.BackgroundColor(), clWhite);
    EXPECT_EQ(a.HourFont().Color, clBlack);
    EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack);
}

TEST_F(WatchTest, DefaultLookAtTenPastTen)
{
    watch.SetTime(T(10, 10));
    const QImage img = Render(watch);
    EXPECT_TRUE(testsupport::MatchesGolden(img, TEST_DATA_DIR "/watch_default.png"));
    // Line hands in black on the white face: the hour hand at 305 degrees (10 h + 10 min), the
    // minute hand at 60; no second hand outside the live clock.
    const QPoint c = watch.GetCenter();
    const int r = watch.GetRadius();
    EXPECT_EQ(At(img, Polar(c, 0.3 * r, 305)), clBlack);
    EXPECT_EQ(At(img, Polar(c, 0.5 * r, 60)), clBlack);
    EXPECT_EQ(At(img, Polar(c, 0.45 * r, 120)), clWhite);
    EXPECT_NE(At(img, Polar(c, 0.8 * r, 0)), clRed);
}
