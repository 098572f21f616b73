// One table in a window, as the program's windows build theirs, with the grid's clipboard keys on
// and a dropped ".CSV" file read into it: the grid's clipboard and file drop, shown in a real
// program under a real display.
//
//   grid-files-demo [--subscribe] [--save-to FILE] TABLE
//
// TABLE is a topic table file (".xml": its publish table, or its subscribe table with
// --subscribe, read through the table description the topic window uses) or a CSV file. Ctrl+C,
// Ctrl+X and Ctrl+V copy, cut and paste; a ".CSV" file dropped on the table replaces its cells.
// Ctrl+S, and the end of the program (Ctrl+Q), write the cells to the --save-to file as CSV (UTF-8).
// Once shown, the program prints "cell <column> <row> <x> <y>" for each shown cell (display
// column; the cell's centre in window coordinates) and then "ready", for scripts that drive it.
#include "app/UForms.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/dataops/GridCsv.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "mqtt_image/UMQTT_Topic_File.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "shell/ULanguage.h"
#include "shell/UTableGrid.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

struct Options {
    QString Table, Save_To;
    mqtt_image::TTopic_Side Side = mqtt_image::Topic_Publish;
};

bool Parse(const QStringList& args, Options& o)
{
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--subscribe"))
            o.Side = mqtt_image::Topic_Subscribe;
        else if (args[i] == QLatin1String("--save-to") && i + 1 < args.size())
            o.Save_To = args[++i];
        else if (o.Table.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            o.Table = args[i];
        else
            return false;
    }
    return !o.Table.isEmpty();
}

// The topic table as the topic window shows it: its columns, texts and rows.
void Load_Topic_Table(grid::TExtColumnGrid& grid, const QString& path, mqtt_image::TTopic_Side side)
{
    const shell::Table_Description& table = mqtt_image::MQTT_Set_Topic_Description().Tables[size_t(side)];
    shell::Build_Table_Grid(grid, table);
    QStringList hints;
    shell::Apply_Table_Texts(grid, table, hints);
    shell::Clear_Table_Grid(grid, table);
    mqtt_image::TTopic_Tables tables;
    QStringList problems;
    mqtt_image::Read_Topic_File(path, &tables, &problems);
    for (const QString& p : problems)
        fprintf(stderr, "%s\n", qPrintable(p));
    shell::Fill_Table_Grid(grid, tables[size_t(side)]);
}

void Load_Csv_Table(grid::TExtColumnGrid& grid, const QString& path)
{
    grid.Options |= grid::goEditing;
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    grid::dataops::LoadFromCSV(grid, path);
}

void Print_Cells(grid::TExtColumnGrid& grid, QWidget& window)
{
    // Rows scrolled out of view have empty rectangles.
    const int rows = std::min(grid.RowCount(), grid.TopRow() + grid.VisibleRowCount() + 1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < grid.ColCount(); ++c) {
            const grid::TRect rect = grid.PlatformCellRect(c, r);
            if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
                continue;
            const QPoint centre = grid.Client()->mapTo(&window, QPoint((rect.Left + rect.Right) / 2,
                                                                        (rect.Top + rect.Bottom) / 2));
            if (window.rect().contains(centre))
                printf("cell %d %d %d %d\n", c, r, centre.x(), centre.y());
        }
    }
    printf("ready\n");
    fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    Options options;
    if (!Parse(QCoreApplication::arguments(), options)) {
        fprintf(stderr, "usage: grid-files-demo [--subscribe] [--save-to FILE] TABLE(.xml|.csv)\n");
        return 2;
    }
    shell::Load_Default_Language();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Grid files demo - ") + QFileInfo(options.Table).fileName());
    auto* grid = new grid::TExtColumnGrid;
    grid->setObjectName(QStringLiteral("Table"));
    grid->SetLayers(Default_Grid_Layers());
    window.setCentralWidget(grid);
    try {
        if (options.Table.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
            Load_Topic_Table(*grid, options.Table, options.Side);
        else
            Load_Csv_Table(*grid, options.Table);
    } catch (const platform::Exception& e) {
        fprintf(stderr, "%s: %s\n", qPrintable(options.Table), qPrintable(e.message()));
        return 1;
    }
    // What no product window turns on: the clipboard keys and the table as a drop target.
    grid->Navigation.AllowClipboardShortCuts = true;
    auto& input = dynamic_cast<grid::editing::TGridInputHandler&>(*grid::editing::EditController(*grid)->Input());
    input.DragDrop().SetOleDropTarget(true);

    auto save = [&] {
        if (!options.Save_To.isEmpty())
            platform::Guarded([&] { grid::dataops::SaveToCSV(*grid, options.Save_To, true); });
    };
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* saveAction = file->addAction(QStringLiteral("&Save cells"), save);
    saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAction->setEnabled(!options.Save_To.isEmpty());
    QAction* quit = file->addAction(QStringLiteral("&Quit"), &window, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    window.resize(1000, 560);
    window.show();
    grid->setFocus();
    QTimer::singleShot(0, &window, [&] { Print_Cells(*grid, window); });
    const int result = app.exec();
    save();
    return result;
}
