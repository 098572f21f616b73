// The tree's header and columns: widths, positions and the fixed area, the header and column
// streams (whole or not at all), and the mouse on the header strip with QTest on the offscreen
// platform: splitter dragging, clicks that sort, column dragging, and the header's look.
#include "TreeFixture.h"
#include "controls/tree/TreeDragImage.h"
#include "support/GoldenImage.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QTest>

using namespace treetest;

namespace {

// A tree of 300 x 200 pixels with a visible header of three columns, 100 pixels each.
class HeaderTree : public TBaseNodeTree {
public:
    explicit HeaderTree(int columns = 3)
    {
        // Without a frame the header and the client area start at the control's edges.
        SetBorderStyle(bsNone);
        resize(300, 200);
        TTVHeader& h = Header();
        for (int i = 0; i < columns; ++i) {
            TNodeTreeColumn* c = h.Columns().Add();
            c->SetText(QStringLiteral("Column %1").arg(i));
            c->SetWidth(100);
        }
        h.SetOptions(h.Options() | hoVisible);
        OnHeaderClick = [this](TTVHeader*, const TTVHeaderHitInfo& info) { Clicks.push_back(info.Column); };
        OnHeaderDragged = [this](TTVHeader*, TColumnIndex c, int oldPosition) { Dragged.push_back({c, oldPosition}); };
    }
    TNodeTreeColumns& Cols() { return Header().Columns(); }
    std::vector<TColumnIndex> Order() { return Cols().PositionToIndex(); }
    std::vector<int> Widths()
    {
        std::vector<int> w;
        for (int i = 0; i < Cols().Count(); ++i)
            w.push_back(Cols()[i]->Width());
        return w;
    }
    std::vector<TColumnIndex> Clicks;
    std::vector<std::pair<TColumnIndex, int>> Dragged;
};

std::vector<uint8_t> SaveHeader(const TTVHeader& h)
{
    platform::ByteWriter w;
    h.SaveToStream(w);
    return w.Take();
}

// ---------------------------------------------------------------------------------------------
// Columns

TEST(TreeColumns, RemovedColumnsTakeTheirReferencesAlong)
{
    HeaderTree t;
    t.Header().SetMainColumn(0);
    t.Header().SetSortColumn(2);
    t.Cols().Delete(0);
    EXPECT_EQ(t.Header().GetMainColumn(), 0) << "the former column 1 is the main column";
    EXPECT_EQ(t.Header().GetSortColumn(), 1) << "the sort column keeps naming its column";
    EXPECT_EQ(t.Order(), (std::vector<TColumnIndex>{0, 1}));
    t.Cols().Delete(1);
    EXPECT_EQ(t.Header().GetSortColumn(), NoColumn);
    t.Header().SetMainColumn(0);
    t.Cols().Delete(0);
    EXPECT_EQ(t.Header().GetMainColumn(), NoColumn);

    HeaderTree u;
    u.Header().SetMainColumn(2);
    u.Cols().Delete(0);
    EXPECT_EQ(u.Header().GetMainColumn(), 1) << "a main column right of the removed one moves down with its index";
}

TEST(TreeColumns, PositionsWidthsAndTheFixedArea)
{
    HeaderTree t;
    t.Cols()[0]->SetPosition(99);
    EXPECT_EQ(t.Order(), (std::vector<TColumnIndex>{1, 2, 0}));
    EXPECT_EQ(t.Cols()[1]->Left(), 0);
    EXPECT_EQ(t.Cols()[0]->Left(), 200);

    t.Cols()[1]->SetOptions(t.Cols()[1]->Options() | coFixed);
    t.Cols()[0]->SetPosition(0);
    EXPECT_TRUE(t.Cols()[0]->Options() & coFixed) << "a column moved left of a fixed one joins the fixed area";

    t.Cols()[2]->SetMinWidth(10);
    t.Cols()[2]->SetWidth(5);
    EXPECT_EQ(t.Cols()[2]->Width(), 10);

    t.Header().SetAutoSizeIndex(2);
    t.Header().SetOptions(t.Header().Options() | hoAutoResize);
    const int autoWidth = t.Cols()[2]->Width();
    EXPECT_EQ(autoWidth, t.ClientWidth() - 200) << "the auto-size column takes what the others leave";
    t.Cols()[2]->SetWidth(autoWidth + 30);
    EXPECT_EQ(t.Cols()[2]->Width(), autoWidth);
}

TEST(TreeColumns, PointsAndPositionsOutsideTheColumns)
{
    HeaderTree t;
    EXPECT_EQ(t.Cols().ColumnFromPosition(QPoint(-1, 5)), InvalidColumn);
    EXPECT_EQ(t.Cols().ColumnFromPosition(QPoint(150, 5)), 1);
    EXPECT_EQ(t.Cols().ColumnFromPosition(QPoint(300, 5)), InvalidColumn);
    EXPECT_EQ(t.Cols().ColumnFromPosition(TColumnPosition(5)), NoColumn);
    t.Cols()[1]->SetOptions(t.Cols()[1]->Options() & ~coVisible);
    EXPECT_EQ(t.Cols().ColumnFromPosition(QPoint(150, 5)), 2) << "hidden columns take no room";
    EXPECT_EQ(t.Cols().TotalWidth(), 200);
}

TEST(TreeColumns, ResizeColumnsSpreadsTheSparePixels)
{
    HeaderTree t;
    EXPECT_EQ(t.Header().ResizeColumns(10, 0, 2), 10);
    EXPECT_EQ(t.Widths(), (std::vector<int>{104, 103, 103}));
    EXPECT_EQ(t.Header().ResizeColumns(10, 0, 2), 10);
    EXPECT_EQ(t.Widths(), (std::vector<int>{107, 107, 106})) << "the spare pixel goes to a column without one";
    t.Cols()[0]->SetMaxWidth(108);
    EXPECT_EQ(t.Header().ResizeColumns(30, 0, 2), 30) << "what one column cannot take goes to the others";
    EXPECT_EQ(t.Cols()[0]->Width(), 108);
}

TEST(TreeHeader, HeightKeepsItsLimits)
{
    HeaderTree t;
    t.resize(300, 100);
    TTVHeader& h = t.Header();
    ASSERT_EQ(t.ClientHeight() + h.Height(), 100);
    h.SetHeight(5);
    EXPECT_EQ(h.Height(), 10) << "the minimum height";
    h.SetHeight(19);
    h.FixedAreaConstraints().SetMaxHeightPercent(20);
    h.SetHeight(50);
    EXPECT_EQ(h.Height(), 20) << "a fifth of the tree";
    h.SetMaxHeight(15);
    EXPECT_EQ(h.Height(), 15);
}

// ---------------------------------------------------------------------------------------------
// Streams

TEST(HeaderStream, RoundTripRestoresTheLayout)
{
    HeaderTree a;
    TTVHeader& h = a.Header();
    a.Cols()[0]->SetText(QStringLiteral("Zähler ✓"));
    a.Cols()[1]->SetHint(QStringLiteral("hint"));
    a.Cols()[2]->SetCaptionAlignment(taCenter);
    a.Cols()[2]->SetPosition(0);
    a.Cols()[1]->SetWidth(77);
    h.SetMinHeight(12);
    h.SetHeight(24);
    h.SetSortColumn(1);
    h.SetSortDirection(sdDescending);
    h.SetMainColumn(2);
    h.SetStyle(hsPlates);
    platform::TFont font = h.Font();
    font.SetName(QStringLiteral("Fönt Ünïcode"));
    font.setBold(true);
    h.SetFont(font);
    h.FixedAreaConstraints().SetMaxWidthPercent(60);
    const std::vector<uint8_t> bytes = SaveHeader(h);

    HeaderTree b(1);
    platform::ByteReader r(bytes);
    b.Header().LoadFromStream(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(b.Cols().Equals(a.Cols()));
    EXPECT_EQ(b.Cols()[0]->Text(), QStringLiteral("Zähler ✓"));
    EXPECT_EQ(b.Header().Height(), 24);
    EXPECT_EQ(b.Header().MinHeight(), 12);
    EXPECT_EQ(b.Header().GetSortColumn(), 1);
    EXPECT_EQ(b.Header().GetSortDirection(), sdDescending);
    EXPECT_EQ(b.Header().GetMainColumn(), 2);
    EXPECT_EQ(b.Header().Style(), hsPlates);
    EXPECT_EQ(b.Header().Font().Name(), QStringLiteral("Fönt Ünïcode"));
    EXPECT_TRUE(b.Header().Font().bold());
    EXPECT_EQ(b.Header().FixedAreaConstraints().MaxWidthPercent(), 60);
    EXPECT_EQ(SaveHeader(b.Header()), bytes);
}

// Offsets of a version-6 header stream of three columns without hints, each caption "Column n".
struct HeaderStreamLayout {
    static constexpr size_t Count = 8;
    static constexpr size_t FirstRecord = 12;
    static constexpr size_t Record = 4 + 16 + 4 + 13 * 4;  // caption, hint length, twelve fields, colour
    static constexpr size_t Positions = FirstRecord + 3 * Record;
    static constexpr size_t AfterColumns = Positions + 3 * 4 + 4;
};

void PutAt(std::vector<uint8_t>& b, size_t at, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
}

TEST(HeaderStream, ShortOrHostileStreamsLeaveTheLayoutAsItWas)
{
    HeaderTree source;
    const std::vector<uint8_t> good = SaveHeader(source.Header());
    using L = HeaderStreamLayout;
    const size_t styleOfColumn0 = L::FirstRecord + 4 + 16 + 4 + 3 * 4;
    const size_t optionsOfColumn0 = L::FirstRecord + 4 + 16 + 4 + 9 * 4;
    const size_t headerStyle = L::AfterColumns + 4 * 4;
    const size_t fontNameLength = L::AfterColumns + 7 * 4;
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> spoil;
    };
    const Case cases[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"cut inside a column", [](auto& b) { b.resize(L::FirstRecord + 30); }},
        {"cut inside the positions", [](auto& b) { b.resize(L::Positions + 6); }},
        {"cut before the constraints", [](auto& b) { b.resize(b.size() - 4); }},
        {"unknown version", [](auto& b) { PutAt(b, 4, 7); }},
        {"negative column count", [](auto& b) { PutAt(b, L::Count, -3); }},
        {"column count beyond the bytes", [](auto& b) { PutAt(b, L::Count, 1 << 28); }},
        {"caption longer than the stream", [](auto& b) { PutAt(b, L::FirstRecord, 0x40000000); }},
        {"positions repeat a column", [](auto& b) { PutAt(b, L::Positions + 4, 0); }},
        {"position out of range", [](auto& b) { PutAt(b, L::Positions + 8, 3); }},
        {"column style out of range", [&](auto& b) { PutAt(b, styleOfColumn0, 9); }},
        {"column options beyond sixteen bits", [&](auto& b) { PutAt(b, optionsOfColumn0, 0x1FFFF); }},
        {"header style out of range", [&](auto& b) { PutAt(b, headerStyle, -1); }},
        {"font name longer than the stream", [&](auto& b) { PutAt(b, fontNameLength, 1 << 30); }},
        {"percentage above 100", [](auto& b) { PutAt(b, b.size() - 4, 101); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeaderTree t(2);
        t.Cols()[1]->SetPosition(0);
        t.Header().SetHeight(30);
        t.Header().SetSortColumn(1);
        const std::vector<uint8_t> before = SaveHeader(t.Header());
        std::vector<uint8_t> bytes = good;
        c.spoil(bytes);
        platform::ByteReader r(bytes);
        EXPECT_THROW(t.Header().LoadFromStream(r), ENodeTreeError);
        EXPECT_EQ(SaveHeader(t.Header()), before);
        EXPECT_EQ(t.Header().States(), 0u);
    }
}

// A header stream of an older version with one column, written field by field.
std::vector<uint8_t> OldHeaderStream(int version, uint32_t columnOptions)
{
    platform::ByteWriter w;
    auto i32 = [&](int32_t v) { w.U32LE(uint32_t(v)); };
    if (version >= 0) {
        i32(-1);
        i32(version);
    }
    i32(1);  // one column
    i32(1);
    w.U16LE('A');
    i32(0);  // no hint
    for (int32_t v : {80, 10, 10000, 0, -1, 0, 4, 3, 0})
        i32(v);
    i32(int32_t(columnOptions));
    if (version > 0) {
        i32(7);  // tag
        i32(taRightJustify);
    }
    if (version > 1)
        i32(0x123456);
    i32(0);  // positions
    if (version > 4)
        i32(50);
    for (int32_t v : std::initializer_list<int32_t>{0, int32_t(platform::clBtnFace), 25, int32_t(DefaultHeaderOptions | hoVisible), hsFlatButtons, 0, -11})
        i32(v);
    i32(0);  // empty font name
    i32(0);
    i32(0);
    if (version > 0)
        for (int32_t v : std::initializer_list<int32_t>{0, 0, sdDescending})
            i32(v);
    return w.Take();
}

TEST(HeaderStream, OldStreamsReadTheirOwnFields)
{
    HeaderTree t(2);
    const std::vector<uint8_t> v1 = OldHeaderStream(1, 0x7F);
    platform::ByteReader r(v1);
    t.Header().LoadFromStream(r);
    EXPECT_TRUE(r.AtEnd());
    ASSERT_EQ(t.Cols().Count(), 1);
    EXPECT_EQ(t.Cols()[0]->Options(), 0xEF) << "bits 4 to 6 move up by one";
    EXPECT_EQ(t.Cols()[0]->Width(), 80);
    EXPECT_EQ(t.Cols()[0]->Alignment(), taRightJustify);
    EXPECT_EQ(t.Header().Height(), 25);
    EXPECT_EQ(t.Header().Style(), hsFlatButtons);
    EXPECT_EQ(t.Header().GetSortDirection(), sdDescending);

    // Without marker and version the stream is read from its first byte as version -1: no tag,
    // alignment, sort or main column.
    HeaderTree u(2);
    u.Header().SetSortColumn(1);
    const std::vector<uint8_t> unversioned = OldHeaderStream(-1, 0xFF);
    platform::ByteReader r2(unversioned);
    u.Header().LoadFromStream(r2);
    EXPECT_TRUE(r2.AtEnd());
    ASSERT_EQ(u.Cols().Count(), 1);
    EXPECT_EQ(u.Cols()[0]->Alignment(), taLeftJustify);
    EXPECT_EQ(u.Header().GetSortColumn(), NoColumn);
    EXPECT_EQ(u.Header().GetSortDirection(), sdAscending);
}

// ---------------------------------------------------------------------------------------------
// Mouse on the header strip

class HeaderMouseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.show();
        QApplication::processEvents();
        strip = t.NonClientStrip();
        ASSERT_NE(strip, nullptr);
        ASSERT_EQ(strip->height(), t.Header().Height());
    }
    // A point of the strip from client coordinates of the header (Y from minus the height).
    QPoint S(int x, int y = -8) const { return QPoint(x, y + t.Header().Height()); }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(strip, Qt::LeftButton, {}, from);
        QTest::mouseMove(strip, from + QPoint(1, 0));
        QTest::mouseMove(strip, to);
        QTest::mouseMove(strip, to + QPoint(0, 1));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, to);
    }
    HeaderTree t;
    QWidget* strip = nullptr;
};

TEST_F(HeaderMouseTest, SplitterToleranceAroundAColumnBorder)
{
    const struct {
        int dx;
        bool grabs;
    } cases[] = {{-2, true}, {0, true}, {4, true}, {-3, false}, {5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dx);
        EXPECT_EQ(t.Header().IsColumnSplitterHit(QPoint(100 + c.dx, -5)), c.grabs);
    }
}

TEST_F(HeaderMouseTest, DraggingASplitterResizesTheColumn)
{
    std::vector<TColumnIndex> resized;
    t.OnColumnResize = [&](TTVHeader*, TColumnIndex c) { resized.push_back(c); };
    Drag(S(101), S(151));
    EXPECT_EQ(t.Cols()[0]->Width(), 151) << "the column's right edge follows the mouse";
    EXPECT_EQ(t.Cols()[1]->Left(), 151);
    EXPECT_FALSE(resized.empty());
    EXPECT_EQ(resized.back(), 0);
    EXPECT_EQ(t.Header().States(), 0u);
    EXPECT_TRUE(t.Clicks.empty()) << "a splitter drag is no click";

    Drag(S(151), S(4));
    EXPECT_EQ(t.Cols()[0]->Width(), 10) << "held at the minimum width";
}

TEST_F(HeaderMouseTest, ClicksSortAndFlipTheDirection)
{
    t.Header().SetOptions(t.Header().Options() | hoHeaderClickAutoSort);
    t.Cols()[2]->SetDefaultSortDirection(sdDescending);
    QTest::mouseClick(strip, Qt::LeftButton, {}, S(150));
    EXPECT_EQ(t.Clicks, (std::vector<TColumnIndex>{1}));
    EXPECT_EQ(t.Header().GetSortColumn(), 1);
    EXPECT_EQ(t.Header().GetSortDirection(), sdAscending);
    QTest::mouseClick(strip, Qt::LeftButton, {}, S(150));
    EXPECT_EQ(t.Header().GetSortDirection(), sdDescending);
    QTest::mouseClick(strip, Qt::LeftButton, {}, S(250));
    EXPECT_EQ(t.Header().GetSortColumn(), 2);
    EXPECT_EQ(t.Header().GetSortDirection(), sdDescending) << "a new sort column starts with its own direction";

    t.Cols()[0]->SetOptions(t.Cols()[0]->Options() & ~coAllowClick);
    QTest::mouseClick(strip, Qt::LeftButton, {}, S(50));
    EXPECT_EQ(t.Clicks.size(), 3u) << "a column that takes no clicks reports none";
    EXPECT_EQ(t.Header().GetSortColumn(), 2);
}

TEST_F(HeaderMouseTest, DraggingAColumnMovesItBeforeOrAfterTheTarget)
{
    const struct {
        int dropX;
        std::vector<TColumnIndex> order;
    } cases[] = {
        {215, {1, 0, 2}},  // left half of column 2: before it
        {285, {1, 2, 0}},  // right half: after it
        {25, {0, 1, 2}},   // onto itself: nothing moves
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dropX);
        t.Cols().ResetColumnOrder(false);
        t.Dragged.clear();
        Drag(S(50), S(c.dropX));
        EXPECT_EQ(t.Order(), c.order);
        EXPECT_EQ(t.Dragged.size(), c.order[0] == 0 ? 0u : 1u);
        EXPECT_EQ(t.Header().States(), 0u);
        EXPECT_FALSE(t.Header().DragImage().States() & disInDrag);
        EXPECT_TRUE(t.Clicks.empty()) << "a column drag is no click";
    }
}

TEST_F(HeaderMouseTest, AColumnDragMovesTheHeadersTranslucentImage)
{
    // A white screen that records each picture of the image put on it.
    struct WhiteScreen : TDragImageScreen {
        QImage Capture(const QRect& r) override
        {
            QImage white(r.size(), QImage::Format_ARGB32);
            white.fill(Qt::white);
            return white;
        }
        void Draw(const QImage& image, const QRect& source, QPoint at) override
        {
            if (source == image.rect())
                Shown.push_back({at, image});
        }
        std::vector<std::pair<QPoint, QImage>> Shown;
    };
    for (bool restrict : {false, true}) {
        SCOPED_TRACE(restrict ? "restricted" : "free");
        auto* screen = new WhiteScreen;
        TTVDragImage& image = t.Header().DragImage();
        image.SetScreen(std::unique_ptr<TDragImageScreen>(screen));
        t.Header().SetOptions(restrict ? t.Header().Options() | hoRestrictDrag : t.Header().Options() & ~hoRestrictDrag);
        EXPECT_EQ(image.Transparency(), 140);
        EXPECT_EQ(image.PreBlendBias(), -50);
        EXPECT_EQ(image.PostBlendBias(), 0);
        EXPECT_FALSE(image.Fade());
        const int begin = 50 + QApplication::startDragDistance() + 1;
        QTest::mousePress(strip, Qt::LeftButton, {}, S(50));
        QTest::mouseMove(strip, S(begin));
        ASSERT_TRUE(t.Header().States() & hsDragging);
        ASSERT_TRUE(image.Visible());
        const QPoint start = t.viewport()->mapToGlobal(QPoint(0, -t.Header().Height()));
        EXPECT_EQ(image.GetDragImageRect(), QRect(start, QSize(100, t.Header().Height())));
        QTest::mouseMove(strip, S(begin + 99, -4));
        // The image follows the mouse, sideways only when restricted.
        EXPECT_EQ(image.GetDragImageRect().topLeft(), start + QPoint(99, restrict ? 0 : 4));
        ASSERT_FALSE(screen->Shown.empty());
        // Blended onto the white screen at 140 of 255: the darkened column shows, and even its
        // black text lets the white through.
        const QImage& last = screen->Shown.back().second;
        EXPECT_EQ(screen->Shown.back().first, image.GetDragImageRect().topLeft());
        int darkest = 255;
        for (int y = 0; y < last.height(); ++y)
            for (int x = 0; x < last.width(); ++x)
                darkest = std::min(darkest, qGray(last.pixel(x, y)));
        EXPECT_LT(darkest, 200);
        EXPECT_GE(darkest, 255 - 141);
        QTest::mouseRelease(strip, Qt::LeftButton, {}, S(150));
        EXPECT_FALSE(image.Visible());
        EXPECT_FALSE(image.States() & disInDrag);
        t.Cols().ResetColumnOrder(false);
    }
}

TEST_F(HeaderMouseTest, AMoveWithinTheDragThresholdStaysAClick)
{
    const int threshold = QApplication::startDragDistance();
    QTest::mousePress(strip, Qt::LeftButton, {}, S(50));
    QTest::mouseMove(strip, S(50 + threshold));
    EXPECT_TRUE(t.Header().States() & hsDragPending);
    QTest::mouseMove(strip, S(50 + threshold + 1));
    EXPECT_TRUE(t.Header().States() & hsDragging);
    TTVHeaderMessage escape;
    escape.Kind = THeaderMessageKind::KeyDown;
    escape.Key = platform::VK_ESCAPE;
    EXPECT_TRUE(t.Header().ProcessHeaderMessage(escape));
    EXPECT_FALSE(t.Header().States() & hsDragging) << "Escape abandons the drag";
    QTest::mouseRelease(strip, Qt::LeftButton, {}, S(250));
    EXPECT_EQ(t.Order(), (std::vector<TColumnIndex>{0, 1, 2}));
}

TEST_F(HeaderMouseTest, EscapeOnTheTreeAbandonsAColumnOrSplitterDrag)
{
    const struct {
        const char* what;
        int fromX, toX;
        THeaderStates during;
        std::vector<int> widths;
    } cases[] = {
        {"column drag", 50, 250, hsDragging, {100, 100, 100}},
        // A width already applied while tracking stays.
        {"splitter drag", 101, 151, hsColumnWidthTracking, {151, 100, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTest::mousePress(strip, Qt::LeftButton, {}, S(c.fromX));
        QTest::mouseMove(strip, S(c.fromX + 10));
        QTest::mouseMove(strip, S(c.toX));
        ASSERT_TRUE(t.Header().States() & c.during);
        QTest::keyClick(&t, Qt::Key_Escape);
        EXPECT_EQ(t.Header().States() & HeaderMouseStates, 0u);
        EXPECT_FALSE(t.Header().DragImage().States() & disInDrag);
        QTest::mouseMove(strip, S(c.toX + 20));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, S(c.toX + 20));
        EXPECT_EQ(t.Order(), (std::vector<TColumnIndex>{0, 1, 2}));
        EXPECT_TRUE(t.Dragged.empty());
        EXPECT_EQ(t.Widths(), c.widths) << "the mouse no longer moves anything after Escape";
        t.Cols()[0]->SetWidth(100);
    }
}

TEST_F(HeaderMouseTest, RightToLeftSplittersAreTheLeftBorders)
{
    t.setLayoutDirection(Qt::RightToLeft);
    // Columns narrower than the client keep to its right edge.
    const int e = std::max(t.ClientWidth() - 300, 0);
    const struct {
        int dx;
        bool grabs;
    } cases[] = {{-4, true}, {0, true}, {2, true}, {-5, false}, {3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dx);
        EXPECT_EQ(t.Header().IsColumnSplitterHit(QPoint(e + 100 + c.dx, -5)), c.grabs);
    }
    Drag(S(e + 100), S(e + 60));
    EXPECT_EQ(t.Widths(), (std::vector<int>{100, 140, 100})) << "dragging the left border outwards widens the column";
}

TEST_F(HeaderMouseTest, HeightDragAndDoubleClickOnTheBottomEdge)
{
    TTVHeader& h = t.Header();
    h.SetOptions(h.Options() | hoHeightResize | hoHeightDblClickResize);
    h.SetMinHeight(12);
    Drag(S(50, -1), S(50, 9));
    EXPECT_EQ(h.Height(), 29);
    EXPECT_EQ(strip->height(), 29) << "the client area gives the header its room";
    QTest::mouseDClick(strip, Qt::LeftButton, {}, QPoint(50, h.Height() - 1));
    EXPECT_EQ(h.Height(), 12) << "a double click sets the minimum height, not the default";
}

TEST_F(HeaderMouseTest, AHeaderCheckBoxTogglesWithoutSorting)
{
    t.Header().SetOptions(t.Header().Options() | hoShowImages | hoHeaderClickAutoSort);
    t.Cols()[1]->SetCheckBox(true);
    std::vector<TTVHeaderHitPositions> hits;
    t.OnHeaderClick = [&](TTVHeader*, const TTVHeaderHitInfo& info) { hits.push_back(info.HitPosition); };
    strip->grab();  // lays the cell out
    ASSERT_TRUE(t.Cols()[1]->HasImage());
    const QRect box = t.Cols()[1]->ImageRect();
    EXPECT_GE(box.left(), 100);
    EXPECT_LT(box.right(), 200);
    const QPoint inBox = S(t.Cols()[1]->Left() + box.center().x() - t.Cols()[1]->GetRect().left(), box.center().y() - t.Header().Height());
    QTest::mouseClick(strip, Qt::LeftButton, {}, inBox);
    EXPECT_EQ(t.Cols()[1]->CheckState(), csCheckedNormal);
    QTest::mouseClick(strip, Qt::LeftButton, {}, inBox);
    EXPECT_EQ(t.Cols()[1]->CheckState(), csUncheckedNormal);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0], hhiOnColumn | hhiOnIcon | hhiOnCheckbox);
    EXPECT_EQ(t.Header().GetSortColumn(), NoColumn) << "a check box click does not sort";
    QTest::mouseClick(strip, Qt::LeftButton, {}, S(190));
    EXPECT_EQ(t.Cols()[1]->CheckState(), csUncheckedNormal);
    EXPECT_EQ(t.Header().GetSortColumn(), 1);
}

TEST_F(HeaderMouseTest, TheColumnMenuNeverHidesTheLastVisibleColumn)
{
    t.Header().SetOptions(t.Header().Options() | hoAutoColumnPopupMenu);
    std::vector<std::pair<TColumnIndex, bool>> changes;
    t.OnColumnVisibilityChanged = [&](TBaseNodeTree*, TColumnIndex c, bool visible) { changes.push_back({c, visible}); };
    auto openMenu = [&] {
        QTest::mouseClick(strip, Qt::RightButton, {}, S(50));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        EXPECT_NE(menu, nullptr);
        return menu;
    };
    for (TColumnIndex hide : {0, 2}) {
        QMenu* menu = openMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 3);
        menu->actions()[hide]->trigger();
        menu->close();
    }
    EXPECT_EQ(changes, (std::vector<std::pair<TColumnIndex, bool>>{{0, false}, {2, false}}));
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    EXPECT_FALSE(menu->actions()[1]->isEnabled()) << "the one visible column stays";
    EXPECT_TRUE(menu->actions()[1]->isChecked());
    menu->close();
}

TEST_F(HeaderMouseTest, SpringColumnsShareAChangeOfTheTreeWidth)
{
    t.Header().SetOptions(t.Header().Options() | hoAutoSpring);
    for (int i : {0, 2})
        t.Cols()[i]->SetOptions(t.Cols()[i]->Options() | coAutoSpring);
    t.resize(340, 200);
    QApplication::processEvents();
    EXPECT_EQ(t.Widths(), (std::vector<int>{120, 100, 120}));
    t.resize(330, 200);
    QApplication::processEvents();
    EXPECT_EQ(t.Widths(), (std::vector<int>{115, 100, 115}));
}

TEST_F(HeaderMouseTest, HeaderLooksRight)
{
    t.Header().SetSortColumn(1);
    t.Header().SetSortDirection(sdDescending);
    t.Cols()[2]->SetOptions(t.Cols()[2]->Options() & ~coEnabled);
    t.Cols()[0]->SetText(QStringLiteral("A caption far too wide for its column"));
    t.Cols()[1]->SetAlignment(taCenter);
    QApplication::processEvents();
    const QImage image = strip->grab().toImage();
    EXPECT_TRUE(testsupport::MatchesGolden(image, TEST_DATA_DIR "/golden/tree_header.png"));
}

}  // namespace

namespace {

// The strip with the mouse over the first cell, above the same strip with the second cell pressed.
QImage HoveredAndPressed(HeaderTree& t)
{
    QWidget* strip = t.NonClientStrip();
    const int y = t.Header().Height() / 2;
    // From elsewhere first: the last tree may have left the mouse at the same point.
    QTest::mouseMove(strip, QPoint(250, y));
    QTest::mouseMove(strip, QPoint(50, y));
    QApplication::processEvents();
    const QImage hovered = strip->grab().toImage();
    QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(150, y));
    QApplication::processEvents();
    const QImage pressed = strip->grab().toImage();
    QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(150, y));
    QImage both(hovered.width(), hovered.height() + pressed.height(), QImage::Format_ARGB32);
    QPainter p(&both);
    p.drawImage(0, 0, hovered);
    p.drawImage(0, hovered.height(), pressed);
    return both;
}

}  // namespace

TEST(HeaderLooks, EachStyleDrawsNormalHotPressedAndSortedCells)
{
    const struct {
        const char* golden;
        TTVHeaderStyle style;
        TTVPaintOptions theme;
    } cases[] = {
        {"header_thick_buttons", hsThickButtons, 0},
        {"header_flat_buttons", hsFlatButtons, 0},
        {"header_plates", hsPlates, 0},
        {"header_themed", hsThickButtons, toThemeAware},
        {"header_explorer", hsThickButtons, toThemeAware | toUseExplorerTheme},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        HeaderTree t;
        TTVHeader& h = t.Header();
        h.SetStyle(c.style);
        h.SetOptions(h.Options() | hoHotTrack);
        for (int i = 0; i < 3; ++i)
            h.Columns()[i]->SetOptions(h.Columns()[i]->Options() | coAllowClick);
        h.SetSortColumn(2);
        t.TreeOptions().SetPaintOptions((t.TreeOptions().PaintOptions() & ~(toThemeAware | toUseExplorerTheme)) | c.theme);
        t.show();
        QApplication::processEvents();
        const QImage image = HoveredAndPressed(t);
        EXPECT_TRUE(testsupport::MatchesGolden(
            image, QStringLiteral(TEST_DATA_DIR "/golden/%1.png").arg(QString::fromLatin1(c.golden))));
    }
}

TEST(HeaderLooks, AFlatLastCellLeavesItsRightBorderToTheBevel)
{
    const struct {
        TTVHeaderStyle style;
        TBevelKind bevel;
        bool border;
    } cases[] = {
        {hsFlatButtons, bkNone, true},
        {hsFlatButtons, bkFlat, false},
        {hsPlates, bkFlat, true},  // a plate is framed all round
        {hsThickButtons, bkFlat, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " bevel " << c.bevel);
        HeaderTree t;
        t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() & ~toThemeAware);
        t.SetBevelKind(c.bevel);
        t.Header().SetStyle(c.style);
        t.Header().SetOptions(t.Header().Options() | hoAutoResize);
        t.show();
        QApplication::processEvents();
        const QImage strip = t.NonClientStrip()->grab().toImage();
        const int right = t.Header().Columns().TotalWidth() - 1;
        const QColor edge = strip.pixelColor(right, strip.height() / 2);
        EXPECT_EQ(edge != platform::ToQColor(t.Header().Background()), c.border) << edge.name().toStdString();
    }
}

// A wrapping column lays its caption out as lines that fit the cell, broken at the spaces.
TEST_F(HeaderMouseTest, AWrappingCaptionIsBrokenIntoLinesThatFit)
{
    TNodeTreeColumn* c = t.Cols()[1];
    c->SetText(QStringLiteral("Primary address of the meter"));
    c->SetOptions(c->Options() | coWrapCaption);
    strip->grab();
    const QStringList lines = c->CaptionText().split(QLatin1Char('\n'));
    ASSERT_GT(lines.size(), 1) << c->CaptionText().toStdString();
    EXPECT_EQ(lines.join(QLatin1Char(' ')), c->Text()) << "no word lost or cut";
    const QFontMetrics fm(t.Header().Font());
    for (const QString& line : lines)
        EXPECT_LE(fm.horizontalAdvance(line), c->Width());

    c->SetOptions(c->Options() & ~coWrapCaption);
    strip->grab();
    EXPECT_EQ(c->CaptionText(), c->Text());
}
