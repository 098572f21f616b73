// The scanner's kind of list drawn: each state of the tree against its golden picture, and the
// painting rules that a picture would hide.
#include "ScannerTreeFixture.h"

#include "support/GoldenImage.h"

#include <QTest>
#include <functional>

using namespace treetest;

namespace {

struct PaintCase {
    const char* Name;
    std::function<void(ScannerTree&)> Setup;
};

void ExpandAll(ScannerTree& s) { s.Tree->FullExpand(); }

const PaintCase PaintCases[] = {
    {"scanner_collapsed", [](ScannerTree&) {}},
    {"scanner_expanded", [](ScannerTree& s) { s.Tree->SetExpanded(s.Meter(0), true); }},
    {"scanner_checked",
     [](ScannerTree& s) {
         s.Tree->SetExpanded(s.Meter(0), true);
         s.Tree->SetCheckState(s.Meter(0), csCheckedNormal);
         for (int i = 0; i < 4; ++i)
             s.Tree->SetCheckState(s.Value(0, i), csCheckedNormal);
     }},
    {"scanner_mixed",
     [](ScannerTree& s) {
         s.Tree->SetExpanded(s.Meter(0), true);
         s.Tree->SetCheckState(s.Value(0, 0), csCheckedNormal);
         s.Tree->SetCheckState(s.Value(0, 2), csCheckedNormal);
         s.Tree->SetCheckState(s.Meter(0), csMixedNormal);
     }},
    {"scanner_selected",
     [](ScannerTree& s) {
         s.Tree->SetExpanded(s.Meter(0), true);
         s.Tree->SetSelected(s.Value(0, 1), true);
         s.Tree->SetSelected(s.Value(0, 3), true);
     }},
    {"scanner_focused",
     [](ScannerTree& s) {
         s.Tree->SetExpanded(s.Meter(0), true);
         s.Tree->SetSelected(s.Value(0, 1), true);
         s.Tree->SetFocusedNode(s.Value(0, 1));
         s.Window.show();
         QApplication::setActiveWindow(&s.Window);
         s.Tree->SetFocus();
     }},
    {"scanner_scrolled_middle",
     [](ScannerTree& s) {
         ExpandAll(s);
         s.Tree->UpdateScrollBars(true);
         s.Tree->ScrollIntoView(s.Value(1, 1), true);
     }},
};

class TreePaintGolden : public ::testing::TestWithParam<PaintCase> {};

TEST_P(TreePaintGolden, MatchesPicture)
{
    ScannerTree s;
    GetParam().Setup(s);
    if (std::string(GetParam().Name) == "scanner_focused") {
        ASSERT_TRUE(s.Tree->hasFocus());
    }
    const QImage image = s.Grab();
    EXPECT_TRUE(testsupport::MatchesGolden(image, QStringLiteral(TEST_DATA_DIR "/golden/") + GetParam().Name +
                                                      QStringLiteral(".png")));
}

INSTANTIATE_TEST_SUITE_P(Scanner, TreePaintGolden, ::testing::ValuesIn(PaintCases),
                         [](const ::testing::TestParamInfo<PaintCase>& info) { return std::string(info.param.Name); });

// The colour of the pixel at the middle of a node's text rectangle row, left of the text.
QRgb RowPixel(const QImage& image, const QRect& r, int x) { return image.pixel(x, r.center().y()); }

TEST(TreePaint, HiddenSelectionAndEmptyListFollowTheOptions)
{
    struct Case {
        const char* Name;
        TTVPaintOptions Add;
        bool Focus;
        bool Highlighted;
    };
    const Case cases[] = {
        {"plain", 0, false, true},
        {"hide selection without focus", toHideSelection, false, false},
        {"hide selection with focus", toHideSelection, true, true},
        {"always hide selection", toAlwaysHideSelection, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScannerTree s;
        s.Tree->TreeOptions().SetPaintOptions(s.Tree->TreeOptions().PaintOptions() | c.Add);
        PTreeNode meter = s.Meter(1);
        s.Tree->SetSelected(meter, true);
        if (c.Focus) {
            s.Window.show();
            QApplication::setActiveWindow(&s.Window);
            s.Tree->SetFocus();
            ASSERT_TRUE(s.Tree->hasFocus());
        }
        const QImage image = s.Grab();
        const QRect text = s.Tree->GetDisplayRect(meter, NoColumn, true);
        const QColor background = platform::ToQColor(s.Tree->Colors().BackGroundColor());
        const bool highlighted = QColor(RowPixel(image, text, text.left() + 1)) != background;
        EXPECT_EQ(highlighted, c.Highlighted);
    }
}

TEST(TreePaint, EmptyTreeShowsTheMessageOnlyWhenSet)
{
    for (const QString& message : {QString(), QStringLiteral("No meters found")}) {
        ScannerTree s(0, 0);
        s.Tree->SetEmptyListMessage(message);
        const QImage image = s.Grab();
        const QColor background = platform::ToQColor(s.Tree->Colors().BackGroundColor());
        bool drawn = false;
        for (int y = 0; y < 20 && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = QColor(image.pixel(x, y)) != background;
        EXPECT_EQ(drawn, !message.isEmpty()) << message.toStdString();
    }
}

TEST(TreePaint, CheckImagesFollowTypeStateAndEnabled)
{
    struct Case {
        TCheckType Type;
        TCheckState State;
        bool Enabled;
        int Index;
    };
    const Case cases[] = {
        {ctCheckBox, csUncheckedNormal, true, 9},       {ctCheckBox, csUncheckedPressed, true, 11},
        {ctCheckBox, csCheckedNormal, false, 16},       {ctTriStateCheckBox, csMixedNormal, true, 17},
        {ctTriStateCheckBox, csMixedDisabled, true, 20}, {ctRadioButton, csCheckedNormal, true, 5},
        {ctRadioButton, csUncheckedDisabled, true, 4},  {ctRadioButton, csMixedPressed, true, 19},
        {ctButton, csCheckedPressed, true, 23},         {ctButton, csUncheckedNormal, false, 24},
        {ctNone, csCheckedNormal, true, -1},
    };
    ScannerTree s;
    for (const Case& c : cases)
        EXPECT_EQ(s.Tree->GetCheckImage(nullptr, c.Type, c.State, c.Enabled), c.Index)
            << int(c.Type) << "/" << int(c.State) << "/" << c.Enabled;
    // A node's own type and state count, and a disabled node shows the disabled look.
    PTreeNode node = s.Meter(0);
    s.Tree->SetCheckState(node, csCheckedNormal);
    EXPECT_EQ(s.Tree->GetCheckImage(node), 13);
    s.Tree->SetDisabled(node, true);
    EXPECT_EQ(s.Tree->GetCheckImage(node), 16);
}

}  // namespace
