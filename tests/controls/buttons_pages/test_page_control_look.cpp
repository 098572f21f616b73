// The look of the tabbed page control: the meter window's left-hand tabs and the other tab
// positions and styles, as golden images, with the rules that the pictures must keep checked
// pixel by pixel.
#include "ButtonTestUtil.h"
#include "controls/buttons_pages/ExtPageControl.h"
#include "platform/TImageList.h"
#include "support/GoldenImage.h"

#include <QPainter>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

constexpr TColor Meter_Face = 0x00EDF7F8;
constexpr TColor Host_Colour = 0x00D8E4E8;

// A host window of a known colour holding a page control.
struct Scene {
    Scene(QSize size)
    {
        host = std::make_unique<QWidget>();
        QPalette pal = host->palette();
        pal.setColor(QPalette::Window, ToQColor(Host_Colour));
        host->setPalette(pal);
        host->setAutoFillBackground(true);
        host->resize(size);
        pc = new TExtPageControl(host.get());
        pc->SetBounds(0, 0, size.width(), size.height());
    }
    TExtTabSheet* AddPage(const QString& name, const QString& caption)
    {
        auto* sheet = new TExtTabSheet(pc);
        sheet->setObjectName(name);
        sheet->SetCaption(caption);
        sheet->SetExtPageControl(pc);
        return sheet;
    }
    QImage Grab()
    {
        host->show();
        return Shot(*pc);
    }
    std::unique_ptr<QWidget> host;
    TExtPageControl* pc;
};

TFont Verdana13()
{
    TFont f;
    f.SetName("Verdana");
    f.SetHeight(-13);
    return f;
}

// The meter window's page control: node and variable editors on two pages, tabs on the left.
void MeterSetup(Scene& s)
{
    TExtPageControl& pc = *s.pc;
    pc.SetTabPosition(tpLeft);
    pc.SetTabStyle(tsDotNet);
    pc.SetMultiLine(true);
    pc.SetFont(Verdana13());
    pc.SetActiveFont(Verdana13());
    pc.SetDefaultTabColor(Meter_Face);
    pc.SetTabBackGroundColor(Meter_Face);
    pc.SetActiveColor(clSkyBlue);
    pc.TabMargin().SetTopMargin(10);
    pc.TabMargin().SetRightMargin(20);
    pc.SetTabOverlap(0);
    for (const auto& [name, caption] : {std::pair{"TS_Nodes", "Nodes     "}, std::pair{"TS_Variables", "Variables     "}}) {
        TExtTabSheet* sheet = s.AddPage(name, caption);
        sheet->SetColor(Meter_Face);
        sheet->SetTabColor(Meter_Face);
        sheet->SetColorTo(clNone);
        sheet->SetTabColorTo(clNone);
    }
    pc.Loaded();
}

QImage SquareStrip()
{
    QImage strip(32, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.fillRect(2, 2, 12, 12, QColor(200, 30, 30));
    p.fillRect(18, 2, 12, 12, QColor(30, 120, 30));
    return strip;
}

// A tab picture: a dark frame with rounded top corners on a magenta ground, which is transparent
// as the picture's bottom-left pixel says.
QImage TabPicture(QColor fill)
{
    QImage pic(20, 22, QImage::Format_RGB32);
    pic.fill(QColor(255, 0, 255));
    QPainter p(&pic);
    p.setPen(QColor(60, 60, 90));
    p.setBrush(fill);
    p.drawRoundedRect(QRect(0, 0, 19, 24), 5, 5);
    p.end();
    pic.setPixel(0, pic.height() - 1, qRgb(255, 0, 255));
    return pic;
}

struct LookCase {
    const char* Name;
    QSize Size;
    std::function<void(Scene&)> Setup;
};

const LookCase Look_Cases[] = {
    {"meter_left_dotnet", {320, 230}, MeterSetup},
    {"meter_variables_active", {320, 230},
     [](Scene& s) {
         MeterSetup(s);
         s.pc->SetActivePageIndex(1);
     }},
    {"top_classic_gradients_close", {340, 160},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetActiveColor(clWhite);
         pc.SetActiveColorTo(clSkyBlue);
         pc.SetTabSheetBorderColor(clNavy);
         pc.SetTabBorderColor(clNavy);
         TExtTabSheet* a = s.AddPage("TS_A", "Alpha  ");
         TExtTabSheet* b = s.AddPage("TS_B", "Beta  ");
         TExtTabSheet* c = s.AddPage("TS_C", "Gamma  ");
         a->SetTabColor(clMoneyGreen);
         a->SetTabColorTo(clWhite);
         c->SetTabColor(clCream);
         c->SetTabColorTo(clMedGray);
         c->SetTabGradientDirection(gdHorizontal);
         c->SetTabEnable(false);
         b->SetShowClose(true);
         b->SetColor(clCream);
         b->SetColorTo(clSkyBlue);
         pc.SetActivePage(b);
     }},
    {"top_dotnet_round_edges", {300, 120},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabStyle(tsDotNet);
         pc.SetRoundEdges(true);
         pc.SetActiveColor(clYellow);
         s.AddPage("TS_1", "One  ");
         s.AddPage("TS_2", "Two  ");
         s.AddPage("TS_3", "Three  ");
         s.AddPage("TS_4", "Four  ");
         pc.SetActivePageIndex(2);
     }},
    {"bottom_classic_images", {300, 140},
     [](Scene& s) {
         static TImageList images(16, 16);
         images.Clear();
         images.Add(SquareStrip());
         TExtPageControl& pc = *s.pc;
         pc.SetTabPosition(tpBottom);
         pc.SetImages(&images);
         pc.SetTabSplitLine(true);
         TExtTabSheet* a = s.AddPage("TS_A", "Red  ");
         TExtTabSheet* b = s.AddPage("TS_B", "Green  ");
         s.AddPage("TS_C", "None  ");
         a->SetImageIndex(0);
         b->SetImageIndex(1);
         b->SetTextColor(clBlue);
         TFont active = pc.ActiveFont();
         active.setBold(true);
         pc.SetActiveFont(active);
     }},
    {"right_dotnet_close_margins", {260, 200},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabPosition(tpRight);
         pc.SetTabStyle(tsDotNet);
         pc.SetActiveColor(clSkyBlue);
         pc.TabMargin().SetTopMargin(4);
         TExtTabSheet* a = s.AddPage("TS_A", "First  ");
         s.AddPage("TS_B", "Second  ");
         a->SetShowClose(true);
     }},
    {"top_pictures", {300, 120},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabBackGround(TabPicture(QColor(220, 220, 240)));
         pc.SetTabBackGroundActive(TabPicture(QColor(250, 240, 180)));
         pc.SetTabOverlap(4);
         pc.SetTabHeight(19);
         s.AddPage("TS_A", "First  ");
         s.AddPage("TS_B", "Second  ");
         pc.SetActivePageIndex(1);
     }},
    {"system_look", {300, 120},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabBorder3D(true);
         s.AddPage("TS_A", "Whole caption  ");
         s.AddPage("TS_B", "Other  ")->SetHighlighted(true);
     }},
};

class PageControlGolden : public ::testing::TestWithParam<LookCase> {};

}  // namespace

TEST_P(PageControlGolden, MatchesPicture)
{
    Scene s(GetParam().Size);
    GetParam().Setup(s);
    const QImage image = s.Grab();
    EXPECT_TRUE(testsupport::MatchesGolden(image, QStringLiteral(TEST_DATA_DIR "/golden/page_") + GetParam().Name +
                                                      QStringLiteral(".png")));
}

INSTANTIATE_TEST_SUITE_P(Looks, PageControlGolden, ::testing::ValuesIn(Look_Cases),
                         [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.Name); });

TEST(PageControlLook, MeterTabsAtTheLeftOpenTowardTheActivePage)
{
    Scene s({320, 230});
    MeterSetup(s);
    const QImage img = s.Grab();
    TExtPageControl& pc = *s.pc;
    const QRect nodes = pc.TabRect(0), variables = pc.TabRect(1);
    ASSERT_FALSE(nodes.isEmpty());
    const int pageEdge = pc.PageRect().left();
    EXPECT_EQ(nodes.right() + 1, pageEdge);

    // Active tab: sky blue with gray edges on its three outer sides and none toward the page.
    EXPECT_EQ(At(img, nodes.left() + 3, nodes.bottom() - 2), Rgb(clSkyBlue));
    EXPECT_EQ(At(img, nodes.left(), nodes.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, nodes.center().x(), nodes.top()), Rgb(clGray));
    EXPECT_EQ(At(img, pageEdge, nodes.center().y()), Rgb(Meter_Face)) << "split line opens the border";
    // Inactive tab: only its side toward the page, in the border colour; the strip's colour elsewhere.
    EXPECT_EQ(At(img, pageEdge, variables.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, variables.left(), variables.bottom() - 1), Rgb(Meter_Face));
    // Below the tabs the strip keeps its colour down to the bottom and the page border runs on.
    EXPECT_EQ(At(img, 3, pc.height() - 4), Rgb(Meter_Face));
    EXPECT_EQ(At(img, pageEdge, pc.height() - 6), Rgb(clGray));

    // The text reads upward: its ink is taller than wide, starts above the bottom by the
    // margin and ends inside the tab.
    const QRect ink = InkBox(img, Rgb(clSkyBlue), nodes.adjusted(2, 2, -2, -2));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.bottom(), nodes.bottom() + 1 - 4 - 10);
    EXPECT_GE(ink.top(), nodes.top());
    // The tab is long enough for the whole caption though sized for the caption less two blanks.
    EXPECT_GE(nodes.height(), QFontMetrics(pc.font()).horizontalAdvance("Nodes   ") + 30);
}

TEST(PageControlLook, DisabledTabTextIsGray)
{
    Scene s({300, 120});
    s.AddPage("TS_A", "Alpha  ");
    TExtTabSheet* b = s.AddPage("TS_B", "WWWW  ");
    b->SetTabColor(clWhite);
    b->SetTextColor(clBlue);
    QImage img = s.Grab();
    const QRect tab = s.pc->TabRect(1).adjusted(2, 2, -2, -2);
    auto hasColour = [&](const QImage& image, QRgb colour) {
        for (int y = tab.top(); y <= tab.bottom(); ++y)
            for (int x = tab.left(); x <= tab.right(); ++x)
                if (At(image, x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasColour(img, Rgb(clBlue)));
    b->SetTabEnable(false);
    img = Shot(*s.pc);
    EXPECT_FALSE(hasColour(img, Rgb(clBlue)));
    EXPECT_TRUE(hasColour(img, Rgb(clGray)));
}
