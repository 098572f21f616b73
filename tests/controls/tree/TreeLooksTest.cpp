// The rubber band, the blended selection, the explorer look and the window frame: drawn with real
// mouse input where the mouse makes them, checked by pixel where the rule is arithmetic and
// against golden pictures where the look is the point.
#include "ScannerTreeFixture.h"

#include "support/GoldenImage.h"

#include <QTest>

using namespace treetest;
using platform::ToQColor;

namespace {

QImage GrabClient(ScannerTree& s)
{
    ScannerTree::Settle();
    return s.Tree->Client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void ShowFocused(ScannerTree& s)
{
    s.Window.show();
    QApplication::setActiveWindow(&s.Window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.Window));
    s.Tree->SetFocus();
}

bool Between(int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); }

// Whether a colour lies strictly between two others on every channel where they differ.
bool IsMixOf(QColor mix, QColor a, QColor b)
{
    return mix != a && mix != b && Between(mix.red(), a.red(), b.red()) && Between(mix.green(), a.green(), b.green()) &&
           Between(mix.blue(), a.blue(), b.blue());
}

}  // namespace

TEST(RubberBand, DraggingFromEmptySpaceShowsTheBandUntilTheRelease)
{
    struct Case {
        const char* Name;
        bool Themed;
        TTVDrawSelectionMode Mode;
        bool Blended;
    };
    const Case cases[] = {
        {"themes blend it", true, smDottedRectangle, true},
        {"blended mode without themes", false, smBlendedRectangle, true},
        {"dotted without themes", false, smDottedRectangle, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScannerTree s;
        if (!c.Themed)
            s.Tree->TreeOptions().SetPaintOptions(s.Tree->TreeOptions().PaintOptions() & ~toThemeAware);
        ASSERT_EQ(s.Tree->HasState(tsUseThemes), c.Themed);
        s.Tree->SetDrawSelectionMode(c.Mode);
        ShowFocused(s);
        const QColor background = ToQColor(s.Tree->Colors().BackGroundColor());
        const QColor border = ToQColor(s.Tree->Colors().Get(TTVColors::SelectionRectangleBorderColor));
        const int rowsBottom = int(s.Tree->RootNodeCount()) * int(s.Tree->DefaultNodeHeight());
        ASSERT_LT(rowsBottom, 70);

        // From the empty space below the rows up and left across two rows.
        QWidget* client = s.Tree->Client();
        QTest::mousePress(client, Qt::LeftButton, {}, QPoint(150, 100));
        QTest::mouseMove(client, QPoint(120, 80));
        QTest::mouseMove(client, QPoint(40, 20));
        ASSERT_TRUE(s.Tree->HasState(tsDrawSelecting));
        QImage image = GrabClient(s);
        if (c.Blended) {
            // Framed in the border colour over the rows and below them, washed inside.
            EXPECT_EQ(QColor(image.pixel(40, 30)), border) << "left edge over a row";
            EXPECT_EQ(QColor(image.pixel(40, 90)), border) << "left edge below the rows";
            EXPECT_EQ(QColor(image.pixel(100, 20)), border) << "top edge";
            EXPECT_TRUE(IsMixOf(QColor(image.pixel(100, 85)), background, border)) << "inside";
            EXPECT_EQ(QColor(image.pixel(30, 85)), background) << "outside";
            if (c.Themed)
                EXPECT_TRUE(testsupport::MatchesGolden(image, QStringLiteral(TEST_DATA_DIR "/golden/tree_rubber_band.png")));
        } else {
            // A dotted line: every other pixel of the left edge is inverted, the inside untouched.
            int dots = 0;
            for (int y = 80; y < 90; ++y)
                dots += QColor(image.pixel(40, y)) != background;
            EXPECT_EQ(dots, 5);
            EXPECT_EQ(QColor(image.pixel(100, 85)), background);
        }
        QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(40, 20));
        EXPECT_FALSE(s.Tree->HasState(tsDrawSelecting));
        image = GrabClient(s);
        EXPECT_EQ(QColor(image.pixel(40, 90)), background) << "the band goes with the release";
        EXPECT_EQ(QColor(image.pixel(100, 85)), background);
    }
}

TEST(RubberBand, APressOnANodeDrawsNoBand)
{
    ScannerTree s;
    ShowFocused(s);
    const QRect label = s.Tree->GetDisplayRect(s.Meter(0), NoColumn, true);
    QTest::mousePress(s.Tree->Client(), Qt::LeftButton, {}, label.center());
    QTest::mouseMove(s.Tree->Client(), label.center() + QPoint(20, 60));
    EXPECT_FALSE(s.Tree->HasState(tsDrawSelecting));
    const QImage image = GrabClient(s);
    const QColor background = ToQColor(s.Tree->Colors().BackGroundColor());
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(QColor(image.pixel(x, 100)), background) << x;
    QTest::mouseRelease(s.Tree->Client(), Qt::LeftButton, {}, label.center() + QPoint(20, 60));
}

TEST(TreeLooks, BlendedSelectionWashesTheBackgroundByTheBlendFactor)
{
    ScannerTree s;
    s.Tree->TreeOptions().SetPaintOptions(s.Tree->TreeOptions().PaintOptions() | toUseBlendedSelection);
    PTreeNode meter = s.Meter(1);
    s.Tree->SetSelected(meter, true);
    ShowFocused(s);
    const QImage image = GrabClient(s);
    const QRect text = s.Tree->GetDisplayRect(meter, NoColumn, true);
    const QColor background = ToQColor(s.Tree->Colors().BackGroundColor());
    const QColor selection = ToQColor(s.Tree->Colors().Get(TTVColors::FocusedSelectionColor));
    const int a = s.Tree->SelectionBlendFactor();
    auto mix = [a](int c, int d) { return (a * c + (256 - a) * d) >> 8; };
    const QColor actual(image.pixel(text.left() + 1, text.center().y()));
    EXPECT_EQ(actual.red(), mix(selection.red(), background.red()));
    EXPECT_EQ(actual.green(), mix(selection.green(), background.green()));
    EXPECT_EQ(actual.blue(), mix(selection.blue(), background.blue()));
}

TEST(TreeLooks, ExplorerLookMatchesPicture)
{
    ScannerTree s;
    TCustomNodeTreeOptions& options = s.Tree->TreeOptions();
    options.SetPaintOptions(options.PaintOptions() | toUseExplorerTheme | toHotTrack);
    ASSERT_TRUE(s.Tree->HasState(tsUseExplorerTheme));
    s.Tree->SetExpanded(s.Meter(0), true);
    s.Tree->SetSelected(s.Value(0, 0), true);
    s.Tree->SetSelected(s.Value(0, 2), true);
    s.Tree->SetFocusedNode(s.Value(0, 2));
    ShowFocused(s);
    // The mouse rests on another value: it is the hot node.
    const QRect hot = s.Tree->GetDisplayRect(s.Value(0, 3), NoColumn, true);
    QTest::mouseMove(s.Tree->Client(), hot.center());
    ASSERT_EQ(s.Tree->HotNode(), s.Value(0, 3));
    EXPECT_TRUE(testsupport::MatchesGolden(GrabClient(s), QStringLiteral(TEST_DATA_DIR "/golden/tree_explorer.png")));
}

TEST(TreeFrame, MarginsFollowBorderBevelAndBorderWidth)
{
    struct Case {
        const char* Name;
        std::function<void(TBaseNodeTree&)> Setup;
        QMargins Expected;
    };
    const Case cases[] = {
        {"default client edge", [](TBaseNodeTree&) {}, QMargins(2, 2, 2, 2)},
        {"flat single border", [](TBaseNodeTree& t) { t.SetCtl3D(false); }, QMargins(1, 1, 1, 1)},
        {"no border", [](TBaseNodeTree& t) { t.SetBorderStyle(bsNone); }, QMargins(0, 0, 0, 0)},
        {"both cuts of width 2 on left and top",
         [](TBaseNodeTree& t) {
             t.SetBorderStyle(bsNone);
             t.SetBevelKind(bkTile);
             t.SetBevelWidth(2);
             t.SetBevelEdges(beLeft | beTop);
         },
         QMargins(4, 4, 0, 0)},
        {"one cut, border width 3",
         [](TBaseNodeTree& t) {
             t.SetBevelKind(bkSoft);
             t.SetBevelInner(bvNone);
             t.SetBorderWidth(3);
         },
         QMargins(6, 6, 6, 6)},
        {"cuts without a bevel kind take nothing",
         [](TBaseNodeTree& t) {
             t.SetBorderStyle(bsNone);
             t.SetBevelWidth(5);
         },
         QMargins(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScannerTree s(1, 0);
        s.Tree->SetBorderStyle(bsSingle);
        c.Setup(*s.Tree);
        EXPECT_EQ(s.Tree->FrameMargins(), c.Expected);
    }
}

TEST(TreeFrame, AssignCopiesTheFrame)
{
    ScannerTree source(1, 0), target(1, 0);
    source.Tree->SetBorderStyle(bsSingle);
    source.Tree->SetCtl3D(false);
    source.Tree->SetBevelKind(bkFlat);
    source.Tree->SetBevelOuter(bvNone);
    source.Tree->SetBevelWidth(3);
    source.Tree->SetBevelEdges(beTop);
    source.Tree->SetBorderWidth(2);
    target.Tree->Assign(*source.Tree);
    EXPECT_EQ(target.Tree->Ctl3D(), false);
    EXPECT_EQ(target.Tree->BevelKind(), bkFlat);
    EXPECT_EQ(target.Tree->BevelOuter(), bvNone);
    EXPECT_EQ(target.Tree->FrameMargins(), QMargins(3, 6, 3, 3));
}

TEST(TreeFrame, BorderAndBevelKindsMatchPicture)
{
    struct Case {
        const char* Name;
        std::function<void(TBaseNodeTree&)> Setup;
    };
    const Case cases[] = {
        {"client edge", [](TBaseNodeTree& t) {
             t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() & ~toThemeAware);
         }},
        {"themed client edge", [](TBaseNodeTree&) {}},
        {"flat single", [](TBaseNodeTree& t) { t.SetCtl3D(false); }},
        {"raised tile, width 2",
         [](TBaseNodeTree& t) {
             t.SetBorderStyle(bsNone);
             t.SetBevelKind(bkTile);
             t.SetBevelInner(bvRaised);
             t.SetBevelOuter(bvRaised);
             t.SetBevelWidth(2);
         }},
        {"lowered soft",
         [](TBaseNodeTree& t) {
             t.SetBorderStyle(bsNone);
             t.SetBevelKind(bkSoft);
             t.SetBevelInner(bvLowered);
             t.SetBevelOuter(bvLowered);
         }},
        {"flat kind", [](TBaseNodeTree& t) {
             t.SetBorderStyle(bsNone);
             t.SetBevelKind(bkFlat);
         }},
        {"mono without 3-D", [](TBaseNodeTree& t) {
             t.SetBorderStyle(bsNone);
             t.SetCtl3D(false);
             t.SetBevelKind(bkTile);
         }},
        {"left and bottom edges with border width",
         [](TBaseNodeTree& t) {
             t.SetBevelKind(bkTile);
             t.SetBevelEdges(beLeft | beBottom);
             t.SetBorderWidth(3);
             t.Colors().Set(TTVColors::BorderColor, 0x0000C0);
         }},
    };
    const QSize cell(48, 32);
    QImage sheet(cell.width() * 4 + 5 * 4, cell.height() * 2 + 3 * 4, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScannerTree s(1, 0);
        s.Tree->SetBorderStyle(bsSingle);
        c.Setup(*s.Tree);
        QImage frame(cell, QImage::Format_RGB32);
        frame.fill(QColor(0xE0, 0xF0, 0xFF));
        {
            platform::TCanvas canvas(&frame);
            s.Tree->PaintFrame(canvas, cell);
        }
        // Everything inside the margins stays as it was.
        const QRect inside = QRect(QPoint(0, 0), cell).marginsRemoved(s.Tree->FrameMargins());
        EXPECT_EQ(frame.pixel(inside.topLeft()), QColor(0xE0, 0xF0, 0xFF).rgb());
        EXPECT_EQ(frame.pixel(inside.bottomRight()), QColor(0xE0, 0xF0, 0xFF).rgb());
        QPainter p(&sheet);
        p.drawImage(QPoint(4 + (i % 4) * (cell.width() + 4), 4 + (i / 4) * (cell.height() + 4)), frame);
        ++i;
    }
    EXPECT_TRUE(testsupport::MatchesGolden(sheet, QStringLiteral(TEST_DATA_DIR "/golden/tree_frames.png")));
}

// The frame sits around the control: the header and the client area move inside it, and the
// control's own pixels show the frame PaintFrame draws.
TEST(TreeFrame, TheControlKeepsItsFrameAroundHeaderAndClient)
{
    ScannerTree s(3, 0);
    TNodeStringTree& t = *s.Tree;
    t.SetBorderStyle(bsSingle);
    t.SetBevelKind(bkTile);
    t.SetBevelEdges(beLeft | beTop);
    t.Header().Columns().Add()->SetWidth(120);
    t.Header().SetOptions(t.Header().Options() | hoVisible);
    s.Window.show();
    ScannerTree::Settle();
    const QMargins m = t.FrameMargins();
    ASSERT_EQ(m, QMargins(4, 4, 2, 2));
    EXPECT_EQ(t.FrameWidths(), m);
    const int headerHeight = t.Header().Height();
    EXPECT_EQ(t.Client()->geometry(), QRect(m.left(), m.top() + headerHeight, t.ClientWidth(), t.ClientHeight()));
    EXPECT_EQ(t.ClientWidth(), t.width() - m.left() - m.right());
    EXPECT_EQ(t.ClientHeight(), t.height() - m.top() - m.bottom() - headerHeight);

    const QImage shown = t.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage painted(t.size(), QImage::Format_RGB32);
    painted.fill(Qt::magenta);
    {
        platform::TCanvas canvas(&painted);
        t.PaintFrame(canvas, t.size());
    }
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 20), QPoint(3, 30), QPoint(50, 3), QPoint(t.width() - 1, 40),
                           QPoint(60, t.height() - 2)})
        EXPECT_EQ(shown.pixel(p), painted.pixel(p)) << p.x() << "," << p.y();

    // Taking the frame away gives its room back to the client area.
    t.SetBorderStyle(bsNone);
    t.SetBevelKind(bkNone);
    EXPECT_EQ(t.ClientWidth(), t.width());
    EXPECT_EQ(t.Client()->geometry().topLeft(), QPoint(0, headerHeight));
}

TEST(TreeFrame, NothingIsPaintedWithoutBorderBevelOrWidth)
{
    ScannerTree s(1, 0);
    s.Tree->SetBorderStyle(bsNone);
    QImage frame(QSize(20, 20), QImage::Format_RGB32);
    frame.fill(Qt::green);
    {
        platform::TCanvas canvas(&frame);
        s.Tree->PaintFrame(canvas, frame.size());
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(frame.pixel(x, y), QColor(Qt::green).rgb());
}
