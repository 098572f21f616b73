// Drag and drop: cells dragged between two shown grids through real Qt drag events, text, files
// and columns dropped, and the data a drag carries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTest>
#include <QUrl>

#include "grid/core/GridHelperControls.h"
#include "grid/editing/GridDragDrop.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/GridUndoRedo.h"
#include "support/ScriptedMessages.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Sends the enter, move and drop events of a drag over a client point to a grid's client area,
// as the platform's drag loop does; answers the drop's effect (IgnoreAction when refused).
Qt::DropAction DropOn(TExtStringGrid& g, const QMimeData& data, QPoint at, Qt::KeyboardModifiers keys = {},
                      Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction)
{
    QWidget* client = g.viewport();
    QDragEnterEvent enter(at, possible, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(client, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(at, possible, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(client, &move);
    QDropEvent drop(QPointF(at), possible, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(client, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// Two shown grids, 4 columns by 6 rows each (row 0 and column 0 fixed); the source holds "s<c><r>".
struct DragDrop : WithGridInput {
    std::unique_ptr<TExtStringGrid> source, target;
    int drags = 0;

    void SetUp() override { makeGrids(); }
    void makeGrids()
    {
        for (auto* slot : {&source, &target}) {
            *slot = std::make_unique<TExtStringGrid>();
            TExtStringGrid& g = **slot;
            g.SetLayers(InputLayers());
            g.SetColCount(4);
            g.SetRowCount(6);
            g.resize(300, 200);
            g.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        }
        for (int r = 1; r < 6; ++r)
            for (int c = 1; c < 4; ++c)
                source->SetCells(c, r, QStringLiteral("s%1%2").arg(c).arg(r));
        dd(*target).SetOleDropTarget(true);
    }
    static TGridInputHandler& input(TExtStringGrid& g)
    {
        return dynamic_cast<TGridInputHandler&>(*EditController(g)->Input());
    }
    static TGridDragDrop& dd(TExtStringGrid& g) { return input(g).DragDrop(); }
    static QPoint centre(TExtStringGrid& g, int c, int r)
    {
        const TRect rc = g.CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    // The platform's drag loop of the source's drags stands in: the drag ends over the target's
    // cell with the keys held.
    void dropEveryDragOn(TExtStringGrid& g, int c, int r, Qt::KeyboardModifiers keys)
    {
        dd(*source).DragRunner = [this, &g, c, r, keys](QDrag& drag, Qt::DropActions allowed, Qt::DropAction) {
            ++drags;
            return DropOn(g, *drag.mimeData(), centre(g, c, r), keys, allowed);
        };
    }
    // A press on a cell of the selection, a move of some pixels with the button held, the release.
    void dragFrom(TExtStringGrid& g, int c, int r)
    {
        const QPoint at = centre(g, c, r);
        QTest::mousePress(g.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseMove(g.viewport(), at + QPoint(8, 6));
        QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, at + QPoint(8, 6));
    }
    static QString block(TExtStringGrid& g, int c1, int r1, int c2, int r2)
    {
        QStringList cells;
        for (int r = r1; r <= r2; ++r)
            for (int c = c1; c <= c2; ++c)
                cells << g.Cells(c, r);
        return cells.join(QLatin1Char(' '));
    }
};

// A move empties the dragged cells unless the user held Ctrl (copy) or the source copies always.
TEST_F(DragDrop, CellsMovedOrCopiedToAnotherGrid)
{
    const struct {
        const char* Name;
        Qt::KeyboardModifiers Keys;
        bool CopyAlways;
        Qt::DropAction Effect;
        bool SourceKept;
    } cases[] = {
        {"move", {}, false, Qt::MoveAction, false},
        {"copy with Ctrl", Qt::ControlModifier, false, Qt::CopyAction, true},
        {"move, source copies always", {}, true, Qt::MoveAction, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        makeGrids();
        drags = 0;
        dd(*source).Settings.OleDropSource = true;
        dd(*source).Settings.OleCopyAlways = k.CopyAlways;
        std::vector<Qt::DropAction> stops;
        dd(*source).OnOleDragStop = [&](TExtStringGrid*, Qt::DropAction e) { stops.push_back(e); };
        source->SetSelection({1, 2, 2, 3});
        dropEveryDragOn(*target, 2, 1, k.Keys);
        dragFrom(*source, 2, 3);
        EXPECT_EQ(drags, 1);
        EXPECT_EQ(stops, std::vector<Qt::DropAction>{k.Effect});
        EXPECT_EQ(block(*target, 2, 1, 3, 2), "s12 s22 s13 s23");
        EXPECT_EQ(target->Selection(), (TGridRect{2, 1, 3, 2}));
        EXPECT_EQ(block(*source, 1, 2, 2, 3), k.SourceKept ? "s12 s22 s13 s23" : "   ");
        EXPECT_EQ(source->Cells(3, 2), "s32");
    }
}

// Whole rows of a row-select grid: inserted in the target before the drop row, removed from the
// source after the move.
TEST_F(DragDrop, RowsMovedBetweenGrids)
{
    for (auto* g : {source.get(), target.get()})
        g->Options |= goRowSelect;
    dd(*source).Settings.OleDropSource = true;
    dd(*source).Settings.OleRemoveRows = true;
    dd(*target).Settings.OleInsertRows = true;
    for (int r = 1; r < 6; ++r)
        target->SetCells(1, r, QStringLiteral("t%1").arg(r));
    source->SetSelection({1, 2, 3, 3});
    dropEveryDragOn(*target, 2, 2, {});
    dragFrom(*source, 2, 2);
    ASSERT_EQ(target->RowCount(), 8);
    EXPECT_EQ(block(*target, 1, 1, 1, 5), "t1 s12 s13 t2 t3");
    EXPECT_EQ(block(*target, 2, 2, 3, 3), "s22 s32 s23 s33");
    ASSERT_EQ(source->RowCount(), 4);
    EXPECT_EQ(block(*source, 1, 1, 1, 3), "s11 s14 s15");
}

// With the binary cell format the block travels as cells, also a text holding tabs and line breaks.
TEST_F(DragDrop, CellFormatCarriesAwkwardTextsWhole)
{
    source->SetCells(1, 1, QStringLiteral("a\tb\r\nc \"q\""));
    source->Navigation.AllowFmtClipboard = true;
    dd(*source).Settings.OleDropSource = true;
    source->SetSelection({1, 1, 2, 1});
    dropEveryDragOn(*target, 1, 4, Qt::ControlModifier);
    dragFrom(*source, 1, 1);
    EXPECT_EQ(target->Cells(1, 4), source->Cells(1, 1));
    EXPECT_EQ(target->Cells(2, 4), "s21");
}

// A press that armed a drag but never moved selects the pressed cell; a refused drag runs nothing.
TEST_F(DragDrop, ArmedPressWithoutMoveAndRefusedDrag)
{
    dd(*source).Settings.OleDropSource = true;
    dropEveryDragOn(*target, 1, 1, {});
    source->SetSelection({1, 1, 3, 3});
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, centre(*source, 2, 2));
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(source->Selection(), (TGridRect{2, 2, 2, 2}));

    source->SetSelection({1, 1, 3, 3});
    dd(*source).OnOleDrag = [](TExtStringGrid*, int, int, const QString&, bool& allow) { allow = false; };
    dragFrom(*source, 2, 2);
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(target->Cells(1, 1), "");
}

TEST_F(DragDrop, TextDroppedBelowTheLastRowIsAppended)
{
    dd(*target).Settings.OleEntireRows = true;
    dd(*target).Settings.OleAppendRows = true;
    dd(*target).Settings.OleInsertRows = true;
    target->SetRowCount(3);
    target->SetCells(1, 2, QStringLiteral("last"));
    QMimeData data;
    data.setText(QStringLiteral("x\ty\r\nz\tw\r\n"));
    const TRect last = target->CellRect(1, 2);
    ASSERT_NE(DropOn(*target, data, QPoint(last.Left + 5, last.Bottom + 20)), Qt::IgnoreAction);
    ASSERT_EQ(target->RowCount(), 5);
    EXPECT_EQ(target->Cells(1, 2), "last");
    EXPECT_EQ(block(*target, 1, 3, 2, 4), "x y z w");
}

// Drops are refused over the header and where the application says no.
TEST_F(DragDrop, HeaderAndRefusingEventsTakeNothing)
{
    QMimeData data;
    data.setText(QStringLiteral("t"));
    EXPECT_EQ(DropOn(*target, data, centre(*target, 1, 0)), Qt::IgnoreAction);
    EXPECT_EQ(target->Cells(1, 0), "");

    dd(*target).OnOleDrop = [](TExtStringGrid*, int, int, const QString&, bool& allow) { allow = false; };
    DropOn(*target, data, centre(*target, 1, 1));
    EXPECT_EQ(target->Cells(1, 1), "");

    dd(*target).OnOleDrop = {};
    dd(*target).OnOleDragOver = [](TExtStringGrid*, int, int, bool& allow) { allow = false; };
    EXPECT_EQ(DropOn(*target, data, centre(*target, 1, 1)), Qt::IgnoreAction);
}

// A dropped file is loaded only when it is the only one and its suffix names a known format; a
// ".CSV" file is refused with a message while no loader is there.
TEST_F(DragDrop, DroppedFiles)
{
    std::vector<QString> loaded;
    const struct {
        const char* Name;
        QStringList Files;
        bool Loader;
        bool Message;
        std::vector<QString> Loaded;
    } cases[] = {
        {"one csv, no loader", {"/data/table.csv"}, false, true, {}},
        {"one csv", {"/data/table.CSV"}, true, false, {"/data/table.CSV"}},
        {"two files", {"/data/a.csv", "/data/b.csv"}, true, false, {}},
        {"csv only inside the name", {"/data/table.csv.txt"}, true, false, {}},
        {"csv only in the folder", {"/data.csv/table"}, true, false, {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        loaded.clear();
        dd(*target).CsvLoader = k.Loader ? TGridDragDrop::TFileLoader([&](TExtStringGrid&, const QString& n) {
            loaded.push_back(n);
        })
                                              : TGridDragDrop::TFileLoader();
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& f : k.Files)
            urls << QUrl::fromLocalFile(f);
        data.setUrls(urls);
        ScriptedMessages messages;
        EXPECT_NE(DropOn(*target, data, centre(*target, 1, 1)), Qt::IgnoreAction);
        EXPECT_EQ(loaded, k.Loaded);
        ASSERT_EQ(messages.Shown().size(), k.Message ? 1u : 0u);
        if (k.Message)
            EXPECT_TRUE(messages.LastText().contains(QStringLiteral("table.csv")));
    }

    // The application may refuse the file, and then nothing loads.
    dd(*target).CsvLoader = [&](TExtStringGrid&, const QString& n) { loaded.push_back(n); };
    dd(*target).OnOleDropFile = [](TExtStringGrid*, int, int, const QString&, bool& allow) { allow = false; };
    loaded.clear();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/t.csv"))});
    DropOn(*target, data, centre(*target, 1, 1));
    EXPECT_TRUE(loaded.empty());
}

// The grid's layers give its drag and drop the file readers and the drag loop; the target, given
// none, refuses such a file with a message.
TEST_F(DragDrop, TheGridsLayersGiveTheFileReadersAndTheDragLoop)
{
    std::vector<std::string> seen;
    TGridLayers layers = InputLayers();
    layers.CsvLoader = [&](TExtStringGrid&, const QString& n) { seen.push_back("csv " + n.toStdString()); };
    layers.XlsLoader = [&](TExtStringGrid&, const QString& n) { seen.push_back("xls " + n.toStdString()); };
    layers.DragRunner = [&](QDrag&, Qt::DropActions, Qt::DropAction) {
        seen.push_back("drag");
        return Qt::IgnoreAction;
    };
    source->SetLayers(layers);
    dd(*source).SetOleDropTarget(true);
    dd(*source).Settings.OleDropSource = true;
    for (const char* file : {"/data/a.xls", "/data/b.CSV"}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromLatin1(file))});
        DropOn(*source, data, centre(*source, 1, 1));
    }
    source->SetSelection({1, 1, 2, 2});
    dragFrom(*source, 1, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"xls /data/a.xls", "csv /data/b.CSV", "drag"}));

    ScriptedMessages messages;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/a.xls"))});
    DropOn(*target, data, centre(*target, 1, 1));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_TRUE(messages.LastText().contains(QStringLiteral("a.xls")));
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DragDrop, TextAndFilesTogetherDropTheTextThenTheFile)
{
    std::vector<std::string> seen;
    dd(*target).OnOleDrop = [&](TExtStringGrid*, int r, int c, const QString& d, bool&) {
        seen.push_back("drop " + std::to_string(c) + "," + std::to_string(r) + " " + d.toStdString());
    };
    dd(*target).OnOleDropFile = [&](TExtStringGrid*, int, int, const QString& name, bool& allow) {
        seen.push_back("file " + name.toStdString());
        allow = false;
    };
    QMimeData data;
    data.setText(QStringLiteral("words"));
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/x.txt"))});
    DropOn(*target, data, centre(*target, 2, 3));
    EXPECT_EQ(seen, (std::vector<std::string>{"drop 2,3 words", "file /data/x.txt"}));
    EXPECT_EQ(target->Cells(2, 3), "words");
}

// A file manager or another program's window drags files with their addresses as plain text too:
// that text names the files and writes no cell; the file alone is read. Text of its own still
// drops as text.
TEST_F(DragDrop, TheAddressTextOfDraggedFilesWritesNoCell)
{
    const QString file = QStringLiteral("/data/meters.CSV");
    const QString address = QUrl::fromLocalFile(file).toString();
    const struct {
        const char* Name;
        QString Text;
        QString Cell;
    } cases[] = {
        {"the address", address, QStringLiteral("kept")},
        {"the address and a line end", address + QStringLiteral("\r\n"), QStringLiteral("kept")},
        {"the path", file, QStringLiteral("kept")},
        {"other text", QStringLiteral("meters"), QStringLiteral("meters")},
        {"the address over another line", address + QStringLiteral("\nmeters"), address},
    };
    std::vector<QString> loaded;
    dd(*target).CsvLoader = [&](TExtStringGrid&, const QString& n) { loaded.push_back(n); };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        loaded.clear();
        target->SetCells(2, 3, QStringLiteral("kept"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        data.setText(k.Text);
        DropOn(*target, data, centre(*target, 2, 3));
        EXPECT_EQ(loaded, std::vector<QString>{file});
        EXPECT_EQ(target->Cells(2, 3), k.Cell);
    }

    // A web link dragged with its address as text lands in the cell once, as a link.
    std::vector<std::string> seen;
    dd(*target).OnOleDrop = [&](TExtStringGrid*, int, int, const QString& d, bool&) { seen.push_back("text " + d.toStdString()); };
    dd(*target).OnOleDropURL = [&](TExtStringGrid*, int, int, const QString& d, bool&) { seen.push_back("url " + d.toStdString()); };
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.com/a"))});
    link.setText(QStringLiteral("https://example.com/a"));
    DropOn(*target, link, centre(*target, 1, 2));
    EXPECT_EQ(seen, std::vector<std::string>{"url https://example.com/a"});
    EXPECT_EQ(target->Cells(1, 2), QStringLiteral("https://example.com/a"));
}

// A header dragged within its grid lands where it is dropped, right of the last column at the end.
TEST_F(DragDrop, ColumnDraggedWithinItsGrid)
{
    TGridDragDrop& d = dd(*target);
    d.Settings.OleDropSource = true;
    d.Settings.OleColumnDragDrop = true;
    d.Settings.OleColumnReorder = true;
    d.AcceptCols = true;
    for (int c = 1; c < 4; ++c)
        target->SetCells(c, 0, QStringLiteral("h%1").arg(c));
    std::vector<int> dropped;
    d.OnOleDropCol = [&](TExtStringGrid*, int, int dropCol, int col) {
        dropped.push_back(dropCol * 10 + col);
    };
    d.Settings.ShowCells = false;  // the moving button stands for the column
    const TRect last = target->CellRect(3, 0);
    bool buttonShown = false;
    d.DragRunner = [&](QDrag& drag, Qt::DropActions allowed, Qt::DropAction) {
        ++drags;
        const THeaderDragButton& button = *target->HeaderDragButton;
        buttonShown = button.isVisible() && button.isWindow() && button.Caption() == "h1";
        return DropOn(*target, *drag.mimeData(), QPoint(last.Right + 10, (last.Top + last.Bottom) / 2), {}, allowed);
    };
    dragFrom(*target, 1, 0);
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(block(*target, 1, 0, 3, 0), "h2 h3 h1");
    EXPECT_EQ(dropped, std::vector<int>{31});
    EXPECT_TRUE(buttonShown);
    EXPECT_FALSE(target->HeaderDragButton->isVisible());
}

TEST(DragData, FormatsOfAnOutgoingDrag)
{
    auto textOnly = MakeSourceData(QStringLiteral("t"), QStringLiteral("{\\rtf1 t}"), -1, nullptr);
    EXPECT_TRUE(textOnly->hasText());
    EXPECT_FALSE(textOnly->hasFormat(QString::fromLatin1(MimeGridColumn)));
    EXPECT_FALSE(textOnly->hasFormat(QString::fromLatin1(MimeGridCells)));

    const std::vector<uint8_t> cells{1, 2, 3};
    auto all = MakeSourceData(QStringLiteral("t"), {}, 7, &cells);
    const TEnumFormats f(all.get());
    EXPECT_EQ(f.Formats(), dfText | dfCol | dfGridCells);
    EXPECT_EQ(f.Col(), 7);
    EXPECT_EQ(f.Stream(), cells);
}

TEST(DragData, CellBlocksThatLieAboutTheirSizeLoadNothing)
{
    TExtStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetCells(1, 1, QStringLiteral("keep"));

    // The cells format's length is larger than its body.
    QMimeData data;
    data.setData(QString::fromLatin1(MimeGridCells), QByteArray::fromHex("ff000000000000000102"));
    EXPECT_FALSE(TEnumFormats(&data).Stream().has_value());

    const std::vector<std::vector<uint8_t>> hostile = {
        {},
        {1, 0, 0, 0},                                          // counts cut short
        {0xff, 0xff, 0, 0, 0xff, 0xff, 0, 0},                  // more cells than any grid holds
        {1, 0, 0, 0, 1, 0, 0, 0, 0xff, 0xff, 0xff, 0x7f},      // a text longer than the stream
        {1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 'x', 0},          // the second cell missing
    };
    for (const auto& bytes : hostile) {
        EXPECT_FALSE(LoadAtPointFromBinStream(g, 1, 1, bytes));
        EXPECT_EQ(g.Cells(1, 1), "keep");
    }
    // A block reaching past the grid keeps what fits.
    TExtStringGrid from;
    from.SetColCount(4);
    from.SetRowCount(4);
    from.SetCells(2, 2, QStringLiteral("a"));
    from.SetCells(3, 3, QStringLiteral("b"));
    EXPECT_TRUE(LoadAtPointFromBinStream(g, 1, 1, SaveRectToBinStream(from, {2, 2, 3, 3})));
    EXPECT_EQ(g.Cells(1, 1), "a");
    EXPECT_EQ(g.Cells(2, 2), "b");
}

}  // namespace
