// The scanner's kind of list drawn: each state of the tree against its golden picture, and the
// painting rules that a picture would hide.
#include "ScannerTreeFixture.h"

#include "support/GoldenImage.h"

#include <QProxyStyle>
#include <QStyleOption>
#include <QTest>
#include <functional>
#include <vector>

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
    // What the picture must show whoever wrote it: rows of the default node height (18) from the
    // top, the window colour below the last row, and the selection in its colour pair (the
    // highlight with the focus, the button face without).
    const std::string name = GetParam().Name;
    const int rowHeight = 18;
    const QColor window = platform::ToQColor(platform::clWindow);
    if (name == "scanner_collapsed") {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(s.Tree->GetDisplayRect(s.Meter(i), NoColumn, false).top(), i * rowHeight) << i;
        for (int x : {1, 60, image.width() - 2})
            EXPECT_EQ(QColor(image.pixel(x, 3 * rowHeight + 4)), window) << x;
    }
    if (name == "scanner_expanded")  // the next meter stands below the four values
        EXPECT_EQ(s.Tree->GetDisplayRect(s.Meter(1), NoColumn, false).top(), 5 * rowHeight);
    if (name == "scanner_selected" || name == "scanner_focused") {
        const QColor selection =
            platform::ToQColor(name == "scanner_focused" ? platform::clHighlight : platform::clBtnFace);
        for (int i = 1; i <= 3; ++i) {
            const bool selected = i == 1 || (i == 3 && name == "scanner_selected");
            const QRect text = s.Tree->GetDisplayRect(s.Value(0, i), NoColumn, true);
            EXPECT_EQ(text.top(), (i + 1) * rowHeight) << i;
            EXPECT_EQ(text.height(), rowHeight) << i;
            // Inside the text rectangle, clear of the focus rectangle on its edge.
            EXPECT_EQ(QColor(image.pixel(text.left() + 2, text.top() + 2)), selected ? selection : window) << i;
        }
    }
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

// Records the check box, radio button and push button primitives the style is asked to draw.
class RecordingStyle : public QProxyStyle {
public:
    struct Call {
        PrimitiveElement Element;
        State Flags;
        QRect Rect;
    };
    mutable std::vector<Call> Calls;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton || element == PE_PanelButtonCommand)
            Calls.push_back({element, option->state, option->rect});
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

// Opens the check image painting to the test.
class CheckPaintTree : public TNodeStringTree {
public:
    using TNodeStringTree::PaintCheckImage;
};

TEST(TreePaint, SystemDefaultCheckImagesAreDrawnByTheStyleInTheirState)
{
    using S = QStyle;
    struct Case {
        int Index;
        S::PrimitiveElement Element;
        S::State Want;  // of Enabled, MouseOver, Sunken, On, Off, NoChange
    };
    const Case cases[] = {
        {1, S::PE_IndicatorRadioButton, S::State_Enabled | S::State_Off},
        {6, S::PE_IndicatorRadioButton, S::State_Enabled | S::State_MouseOver | S::State_On},
        {8, S::PE_IndicatorRadioButton, S::State_On},
        {9, S::PE_IndicatorCheckBox, S::State_Enabled | S::State_Off},
        {11, S::PE_IndicatorCheckBox, S::State_Enabled | S::State_Sunken | S::State_Off},
        {13, S::PE_IndicatorCheckBox, S::State_Enabled | S::State_On},
        {16, S::PE_IndicatorCheckBox, S::State_On},
        {18, S::PE_IndicatorCheckBox, S::State_Enabled | S::State_MouseOver | S::State_NoChange},
        {20, S::PE_IndicatorCheckBox, S::State_NoChange},
        {23, S::PE_PanelButtonCommand, S::State_Enabled | S::State_Sunken},
        {24, S::PE_PanelButtonCommand, S::State_Raised},
    };
    const S::State looked = S::State_Enabled | S::State_MouseOver | S::State_Sunken | S::State_On | S::State_Off |
                            S::State_NoChange | S::State_Raised;
    RecordingStyle style;
    CheckPaintTree tree;
    tree.setStyle(&style);
    ASSERT_EQ(tree.CheckImageKind(), ckSystemDefault);
    ASSERT_TRUE(tree.HasState(tsUseThemes));
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    for (const Case& c : cases) {
        style.Calls.clear();
        image.fill(Qt::white);
        platform::TCanvas canvas(&image);
        tree.PaintCheckImage(canvas, TTVImageInfo{c.Index, 7, 5, false, tree.CheckImages()}, false);
        ASSERT_EQ(style.Calls.size(), 1u) << c.Index;
        EXPECT_EQ(style.Calls[0].Element, c.Element) << c.Index;
        EXPECT_EQ(style.Calls[0].Flags & looked, c.Want) << c.Index;
        EXPECT_EQ(style.Calls[0].Rect.topLeft(), QPoint(7, 5)) << c.Index;
    }
    // The empty image and indices past the list draw nothing.
    for (int index : {0, 25}) {
        style.Calls.clear();
        platform::TCanvas canvas(&image);
        tree.PaintCheckImage(canvas, TTVImageInfo{index, 0, 0, false, tree.CheckImages()}, false);
        EXPECT_TRUE(style.Calls.empty()) << index;
    }
}

TEST(TreePaint, OnlyThemedSystemDefaultCheckImagesGoThroughTheStyle)
{
    struct Case {
        TCheckImageKind Kind;
        bool Themed;
        bool ThroughStyle;
    };
    const Case cases[] = {
        {ckSystemDefault, true, true},  {ckSystemDefault, false, false}, {ckSystemFlat, true, false},
        {ckDarkCheck, true, false},     {ckXP, true, false},
    };
    for (const Case& c : cases) {
        ScannerTree s;
        RecordingStyle style;
        s.Tree->setStyle(&style);
        s.Tree->SetCheckImageKind(c.Kind);
        const TTVPaintOptions paint = s.Tree->TreeOptions().PaintOptions();
        s.Tree->TreeOptions().SetPaintOptions(c.Themed ? paint | toThemeAware : paint & ~toThemeAware);
        s.Tree->SetCheckState(s.Meter(0), csCheckedNormal);
        s.Tree->SetCheckState(s.Meter(1), csMixedNormal);
        const QImage image = s.Tree->RenderClient();
        int checked = 0, mixed = 0, unchecked = 0;
        for (const RecordingStyle::Call& call : style.Calls) {
            EXPECT_EQ(call.Element, QStyle::PE_IndicatorCheckBox);
            checked += (call.Flags & QStyle::State_On) ? 1 : 0;
            mixed += (call.Flags & QStyle::State_NoChange) ? 1 : 0;
            unchecked += (call.Flags & QStyle::State_Off) ? 1 : 0;
        }
        if (c.ThroughStyle) {
            EXPECT_EQ(checked, 1) << int(c.Kind);
            EXPECT_EQ(mixed, 1) << int(c.Kind);
            EXPECT_EQ(unchecked, 1) << int(c.Kind);
        } else {
            EXPECT_TRUE(style.Calls.empty()) << int(c.Kind) << "/" << c.Themed;
            // The list's own images are drawn instead, and they show the state.
            s.Tree->SetCheckState(s.Meter(0), csUncheckedNormal);
            EXPECT_NE(s.Tree->RenderClient(), image) << int(c.Kind);
        }
    }
}

}  // namespace
