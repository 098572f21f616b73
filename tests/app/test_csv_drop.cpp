// The program's grids read a ".CSV" file dropped on them.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include "app/UForms.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridDragDrop.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

namespace {

void DropFile(grid::TExtStringGrid& g, const QString& file)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint at(g.viewport()->width() / 2, g.viewport()->height() / 2);
    QWidget* client = g.viewport();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(client, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(client, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(client, &drop);
}

TEST(CsvDrop, ADroppedCsvFileIsReadIntoTheTable)
{
    TempDir dir;
    dir.Write(QStringLiteral("meters.CSV"), "\xEF\xBB\xBFname;value\r\n\"Z\xC3\xA4hler; 1\";42\r\n");
    grid::TExtStringGrid g;
    g.SetLayers(Default_Grid_Layers());
    g.resize(300, 200);
    g.show();
    auto& input = dynamic_cast<grid::editing::TGridInputHandler&>(*grid::editing::EditController(g)->Input());
    input.DragDrop().SetOleDropTarget(true);
    ScriptedMessages messages;
    DropFile(g, dir.File(QStringLiteral("meters.CSV")));
    EXPECT_TRUE(messages.Shown().empty());
    // With SaveFixedCells (the default) the file fills the grid from its first cell.
    EXPECT_EQ(g.GetGridCell(0, 0), "name");
    EXPECT_EQ(g.GetGridCell(0, 1), "Zähler; 1");
    EXPECT_EQ(g.GetGridCell(1, 1), "42");
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_TRUE(g.Delimiter.isNull());

    // A file the reader refuses is named in an error box, and the table keeps what it had.
    dir.Write(QStringLiteral("wide.csv"), "a,b\r\n" + QByteArray(20000, ',') + "x\r\n");
    DropFile(g, dir.File(QStringLiteral("wide.csv")));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_TRUE(messages.LastText().contains(QStringLiteral("columns"))) << messages.LastText().toStdString();
    EXPECT_EQ(g.GetGridCell(0, 1), "Zähler; 1");
    EXPECT_EQ(g.RowCount(), 2);
}

}  // namespace
