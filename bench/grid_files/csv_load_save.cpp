// Loads a CSV file into a grid and saves the grid as CSV, timing each step; run_csv.sh runs it as a
// process of its own beside Python's csv module doing the same, and compares time and peak memory.
//   csv_load_save <input.csv> <output.csv>
#include <QApplication>
#include <chrono>
#include <cstdio>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridCsv.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: csv_load_save <input.csv> <output.csv>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    try {
        grid::TExtStringGrid g;
        g.Delimiter = u',';
        const auto t0 = Clock::now();
        grid::dataops::LoadFromCSV(g, QString::fromLocal8Bit(argv[1]));
        const auto t1 = Clock::now();
        g.Delimiter = u',';
        grid::dataops::SaveToCSV(g, QString::fromLocal8Bit(argv[2]), true);
        const auto t2 = Clock::now();
        std::printf("rows %d columns %d load %.3f save %.3f\n", g.RowCount(), g.ColCount(), seconds(t1 - t0),
                    seconds(t2 - t1));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
