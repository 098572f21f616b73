// The string tree: where texts come from, how they are shortened and measured, paths, CSV lines
// and captions in the node stream.
#include "ScannerTreeFixture.h"

#include "support/TempDir.h"

#include "platform/FileUtil.h"

#include <gtest/gtest.h>

using namespace treetest;

namespace {

TEST(StringTree, TextComesFromTheEventsOrTheDefault)
{
    TNodeStringTree t;
    PTreeNode n = t.AddChild(nullptr);
    EXPECT_EQ(t.Text(n, NoColumn), QStringLiteral("Node"));
    t.SetDefaultText(QString());
    EXPECT_EQ(t.Text(n, NoColumn), QString());
    int plainCalls = 0;
    t.OnGetText = [&](TBaseNodeTree*, PTreeNode, TColumnIndex, TVSTTextType type, QString& text) {
        ++plainCalls;
        text = type == ttNormal ? QStringLiteral("plain") : QStringLiteral("static");
    };
    EXPECT_EQ(t.Text(n, 0), QStringLiteral("plain"));
    EXPECT_EQ(t.StaticText(n, 0), QStringLiteral("static"));
    t.OnGetCellText = [](TBaseNodeTree*, TVSTGetCellTextEventArgs& args) { args.CellText = QStringLiteral("cell"); };
    plainCalls = 0;
    EXPECT_EQ(t.Text(n, 0), QStringLiteral("cell"));
    EXPECT_EQ(plainCalls, 0) << "the cell-text event alone is asked";
    EXPECT_THROW(t.Text(nullptr, 0), EAssertionFailed);
}

TEST(StringTree, ShortenKeepsTheLongestPrefixThatFitsWithTheEllipsis)
{
    platform::TCanvas canvas;
    const QString text = QStringLiteral("Meter 12345678");
    const int ellipsis = canvas.TextWidth(QStringLiteral("..."));
    const int full = canvas.TextWidth(text);
    struct Case {
        int Width;
        QString Expected;
    };
    const Case cases[] = {
        {full + ellipsis, text},
        {full + 20 + ellipsis, text},
        {ellipsis + canvas.TextWidth(QStringLiteral("Meter")), QStringLiteral("Meter...")},
        {ellipsis + canvas.TextWidth(QStringLiteral("Meter")) - 1, QStringLiteral("Mete...")},
        {ellipsis + 1, QStringLiteral("...")},
        {ellipsis, QString()},
        {0, QString()},
        {-5, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCustomNodeStringTree::ShortenString(canvas, text, c.Width, 0), c.Expected) << c.Width;
    EXPECT_EQ(TCustomNodeStringTree::ShortenString(canvas, QString(), 100, 0), QString());
}

TEST(StringTree, PathRunsFromTheTopLevelDown)
{
    ScannerTree s;
    PTreeNode value = s.Value(1, 2);
    EXPECT_EQ(s.Tree->Path(value, NoColumn, QLatin1Char('/')), QStringLiteral("Meter 2 (0x11)/Value 3: 375 kWh/"));
    EXPECT_EQ(s.Tree->Path(nullptr, NoColumn, QLatin1Char('/')), QStringLiteral("/"));
}

TEST(StringTree, CsvHoldsTopLevelNodesQuoted)
{
    TempDir dir;
    TNodeStringTree t;
    t.OnGetText = [](TBaseNodeTree* tree, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
        text = node->Index == 1 ? QString() : QStringLiteral("say \"%1\"").arg(tree->GetNodeLevel(node));
    };
    PTreeNode a = t.AddChild(nullptr);
    t.AddChild(a);
    t.AddChild(nullptr);
    const QString file = dir.File(QStringLiteral("list.csv"));
    EXPECT_FALSE(t.SaveToCSVFile(QString(), false));
    ASSERT_TRUE(t.SaveToCSVFile(file, false));
    EXPECT_EQ(QString::fromUtf8(platform::ReadWholeFile(file)), QStringLiteral("\"say \"\"0\"\"\"\r\n\" \"\r\n"));
}

TEST(StringTree, NodeWidthIsCachedUntilTheTextOrFontChanges)
{
    ScannerTree s;
    int asked = 0;
    QString text = QStringLiteral("short");
    s.Tree->OnGetText = [&](TBaseNodeTree*, PTreeNode, TColumnIndex, TVSTTextType type, QString& t) {
        if (type == ttNormal)
            ++asked;
        t = text;
    };
    PTreeNode n = s.Meter(0);
    s.Tree->InvalidateNode(n);
    const int first = s.Tree->DoGetNodeWidth(n, NoColumn);
    EXPECT_EQ(first, 2 * s.Tree->TextMargin() + s.Tree->Canvas().TextWidth(text));
    asked = 0;
    EXPECT_EQ(s.Tree->DoGetNodeWidth(n, NoColumn), first);
    EXPECT_EQ(asked, 0);
    text = QStringLiteral("a longer text");
    s.Tree->InvalidateNode(n);
    EXPECT_GT(s.Tree->DoGetNodeWidth(n, NoColumn), first);
    asked = 0;
    QFont big = s.Tree->font();
    big.setPixelSize(30);
    s.Tree->setFont(big);
    s.Tree->DoGetNodeWidth(n, NoColumn);
    EXPECT_EQ(asked, 1) << "a new font measures again";
}

TEST(StringTree, StaticTextCountsOnlyWhenShownAndNotCentred)
{
    ScannerTree s;
    s.Tree->OnGetText = [](TBaseNodeTree*, PTreeNode, TColumnIndex, TVSTTextType type, QString& t) {
        t = type == ttNormal ? QStringLiteral("text") : QStringLiteral("(static)");
    };
    PTreeNode n = s.Meter(0);
    EXPECT_EQ(s.Tree->DoGetNodeExtraWidth(n, NoColumn), 0);
    s.Tree->TreeOptions().SetStringOptions(s.Tree->TreeOptions().StringOptions() | toShowStaticText);
    EXPECT_EQ(s.Tree->DoGetNodeExtraWidth(n, NoColumn), s.Tree->TextMargin() + s.Tree->Canvas().TextWidth(QStringLiteral("(static)")));
    s.Tree->SetAlignment(taCenter);
    EXPECT_EQ(s.Tree->DoGetNodeExtraWidth(n, NoColumn), 0);
}

TEST(StringTree, CaptionsTravelInTheNodeStream)
{
    ScannerTree source;
    source.Tree->SetExpanded(source.Meter(0), true);
    const std::vector<uint8_t> bytes = source.Tree->SaveToBytes();
    TNodeStringTree target;
    std::vector<QString> received;
    target.OnNewText = [&](TBaseNodeTree*, PTreeNode, TColumnIndex, const QString& text) { received.push_back(text); };
    target.LoadFromStream(bytes);
    EXPECT_NE(std::find(received.begin(), received.end(), QStringLiteral("Meter 1 (0x10)")), received.end());
    EXPECT_NE(std::find(received.begin(), received.end(), QStringLiteral("Value 4: 500 kWh")), received.end());
    // Without the caption option no caption chunk is written.
    source.Tree->TreeOptions().SetStringOptions(source.Tree->TreeOptions().StringOptions() & ~toSaveCaptions);
    EXPECT_LT(source.Tree->SaveToBytes().size(), bytes.size());
}

TEST(StringTree, OpaqueTextFlagFillsTheTextBackgroundOfThatNodeOnly)
{
    const QColor lime(0, 255, 0);
    auto limeIn = [&](const QImage& image, const QRect& r) {
        int count = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                count += QColor(image.pixel(x, y)) == lime ? 1 : 0;
        return count;
    };
    for (const bool opaque : {false, true}) {
        ScannerTree s;
        // Every text asks for a lime background; only the first meter's sets the opaque flag, so a
        // flag left over from it would show on the next row.
        s.Tree->OnPaintText = [&](TBaseNodeTree*, platform::TCanvas& canvas, PTreeNode node, TColumnIndex, TVSTTextType) {
            canvas.Brush.Color = platform::clLime;
            if (opaque && node == s.Meter(0))
                canvas.TextFlags |= platform::ETO_OPAQUE;
        };
        const QImage image = s.Tree->RenderClient().convertToFormat(QImage::Format_RGB32);
        const QRect first = s.Tree->GetDisplayRect(s.Meter(0), NoColumn, true);
        const QRect second = s.Tree->GetDisplayRect(s.Meter(1), NoColumn, true);
        EXPECT_EQ(limeIn(image, second), 0) << opaque;
        if (!opaque) {
            EXPECT_EQ(limeIn(image, first), 0);
            continue;
        }
        // The text's extent is filled (the glyphs drawn over it), not the whole row.
        EXPECT_GT(limeIn(image, first), first.width() * first.height() / 3);
        const int textHeight = QFontMetrics(s.Tree->Font()).height();
        EXPECT_EQ(limeIn(image, QRect(0, first.top(), image.width(), first.height())),
                  limeIn(image, first));
        EXPECT_LE(limeIn(image, QRect(first.left(), first.top(), 1, first.height())), textHeight);
    }
}

}  // namespace
