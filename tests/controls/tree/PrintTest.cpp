#include "controls/tree/StringTree.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using namespace tree;

// Pages of a PDF file: its page objects.
int PdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at + 11, 1) != "s")
            ++pages;
    return pages;
}

// A PDF printer at screen resolution, so that one tree pixel is one printer pixel.
struct PdfPrinter {
    explicit PdfPrinter(QSizeF paperPoints = QSizeF())
    {
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(Path);
        Printer.setResolution(96);
        if (paperPoints.isValid())
            Printer.setPageSize(QPageSize(paperPoints, QPageSize::Point, QString(), QPageSize::ExactMatch));
        else
            Printer.setPageSize(QPageSize(QPageSize::A4));
        Printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        Printer.setFullPage(true);
    }
    QTemporaryDir Dir;
    QString Path = Dir.filePath(QStringLiteral("tree.pdf"));
    QPrinter Printer{QPrinter::ScreenResolution};
};

struct PrintTree {
    explicit PrintTree(uint32_t count, int width = 200, int height = 150)
    {
        Tree.resize(width, height);
        Tree.SetBorderStyle(bsNone);
        Tree.OnGetText = [](TBaseNodeTree*, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
            text = QStringLiteral("Meter %1").arg(node->Index);
        };
        Tree.SetRootNodeCount(count);
    }
    TNodeStringTree Tree;
};

TEST(Printing, TenThousandNodesFillTheirPages)
{
    PrintTree t(10000);
    PdfPrinter p;
    const QRect treeRect = t.Tree.GetTreeRect();
    ASSERT_EQ(treeRect.height(), 10000 * 18);
    t.Tree.Print(&p.Printer, false);
    const int pageHeight = p.Printer.height();
    ASSERT_GT(pageHeight, 1000);
    EXPECT_EQ(PdfPages(p.Path), (treeRect.height() + pageHeight - 1) / pageHeight);
}

TEST(Printing, AnExactFitTakesOnePageAndOnePixelMoreAnotherRow)
{
    // 150 x 270 points at 96 dpi: 200 x 360 pixels; the nodes are 18 pixels high.
    struct Case {
        uint32_t Nodes;
        int Width;
        int Pages;
    };
    for (const Case& c : {Case{20, 200, 1}, Case{21, 200, 2}, Case{20, 201, 2}, Case{21, 201, 4}}) {
        PrintTree t(c.Nodes, c.Width, 100);
        t.Tree.ScrollBarOptions().ScrollBars = ssNone;
        t.Tree.UpdateScrollBars(false);
        ASSERT_EQ(t.Tree.GetTreeRect().size(), QSize(c.Width, int(c.Nodes) * 18));
        PdfPrinter p(QSizeF(150, 270));
        ASSERT_EQ(p.Printer.width(), 200);
        ASSERT_EQ(p.Printer.height(), 360);
        t.Tree.Print(&p.Printer, false);
        EXPECT_EQ(PdfPages(p.Path), c.Pages) << c.Nodes << " nodes, " << c.Width << " wide";
    }
}

TEST(Printing, TheHeaderTakesItsRowsOnlyWhenPrintedAndShown)
{
    struct Case {
        bool Visible, Printed;
        int Pages;
    };
    for (const Case& c : {Case{true, true, 2}, Case{true, false, 1}, Case{false, true, 1}}) {
        PrintTree t(20);
        TNodeTreeColumn* column = t.Tree.Header().Columns().Add();
        column->SetWidth(200);
        const TTVHeaderOptions options = t.Tree.Header().Options();
        t.Tree.Header().SetOptions(c.Visible ? options | hoVisible : options & ~hoVisible);
        t.Tree.resize(200, 100);
        PdfPrinter p(QSizeF(150, 270));
        t.Tree.Print(&p.Printer, c.Printed);
        EXPECT_EQ(PdfPages(p.Path), c.Pages) << c.Visible << c.Printed;
    }
}

TEST(Printing, LeavesTheTreeAsItWasAndIgnoresANilPrinter)
{
    PrintTree t(30);
    t.Tree.SetColor(platform::RGBToColor(10, 20, 30));
    t.Tree.SetFocusedNode(t.Tree.GetFirst());
    t.Tree.SetSelected(t.Tree.GetFirst(), true);
    t.Tree.Print(nullptr, true);
    PdfPrinter p;
    t.Tree.Print(&p.Printer, true);
    EXPECT_EQ(t.Tree.Color(), platform::RGBToColor(10, 20, 30));
    EXPECT_EQ(t.Tree.UpdateCount(), 0u);
    EXPECT_EQ(PdfPages(p.Path), 1);
}

TEST(Printing, MemoryStaysAtAboutOnePageForAHugeTree)
{
    // 600 nodes of 1,500 pixels: a picture of the whole tree would take 900 megabytes.
    PrintTree t(0, 250);
    t.Tree.SetDefaultNodeHeight(1500);
    t.Tree.SetRootNodeCount(600);
    // Paper of 3 x 100 inches keeps the page count low.
    PdfPrinter p(QSizeF(3 * 72, 100 * 72));
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    t.Tree.Print(&p.Printer, false);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 400L * 1024) << "kilobytes";
    EXPECT_EQ(PdfPages(p.Path), (600 * 1500 + 9599) / 9600);
}

}  // namespace
