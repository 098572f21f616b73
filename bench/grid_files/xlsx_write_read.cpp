// A grid of 100,000 rows × 20 columns written to ".xlsx" against libxlsxwriter alone writing the
// same values (numbers as numbers, texts as texts, in its constant-memory mode, which the grid's
// writer uses too), then the file read back into a grid. Prints the best of the runs of each and
// the ratio of the grid's write to the floor; exits with 1 when the ratio is above 1.3.
//   xlsx_write_read <folder for the files> [runs, 3 by default]
#include <QApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <xlsxwriter.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridOffice.h"

namespace {

constexpr int Rows = 100'000, Cols = 20;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Meter-list-like values: names, whole numbers, decimals and short codes.
QString Value(int r, int c)
{
    switch (c % 4) {
    case 0: return QStringLiteral("Meter %1 column %2").arg(r).arg(c);
    case 1: return QString::number(r * 7 + c);
    case 2: return QString::number(r % 1000) + QStringLiteral(".25");
    default: return QStringLiteral("C%1").arg(r % 97);
    }
}

struct TFloorCell {
    bool Number;
    double Value;
    std::string Text;
};

double WriteFloor(const std::vector<TFloorCell>& cells, const std::string& path)
{
    const auto t0 = Clock::now();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            const TFloorCell& cell = cells[size_t(r) * Cols + size_t(c)];
            if (cell.Number)
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), cell.Value, nullptr);
            else
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.Text.c_str(), nullptr);
        }
    if (workbook_close(book) != LXW_NO_ERROR)
        throw std::runtime_error("libxlsxwriter failed");
    return Seconds(Clock::now() - t0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: xlsx_write_read <folder> [runs]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    try {
        grid::TExtStringGrid g;
        g.SetColCount(Cols);
        g.SetRowCount(Rows);
        std::vector<TFloorCell> floor;
        floor.reserve(size_t(Rows) * Cols);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c) {
                const QString text = Value(r, c);
                g.SetGridCell(c, r, text);
                bool number = c % 4 == 1 || c % 4 == 2;
                floor.push_back({number, text.toDouble(), text.toStdString()});
            }
        const QString gridFile = QDir(folder).filePath(QStringLiteral("grid.xlsx"));
        const std::string floorFile = QDir(folder).filePath(QStringLiteral("floor.xlsx")).toStdString();
        double bestFloor = 1e9, bestGrid = 1e9, bestLoad = 1e9;
        for (int i = 0; i < runs; ++i) {
            bestFloor = std::min(bestFloor, WriteFloor(floor, floorFile));
            const auto t0 = Clock::now();
            grid::dataops::SaveToXLS(g, gridFile, true);
            bestGrid = std::min(bestGrid, Seconds(Clock::now() - t0));
            grid::TExtStringGrid back;
            const auto t1 = Clock::now();
            grid::dataops::LoadFromXLS(back, gridFile);
            bestLoad = std::min(bestLoad, Seconds(Clock::now() - t1));
            if (back.RowCount() != Rows || back.ColCount() != Cols || back.Cells(19, Rows - 1) != Value(Rows - 1, 19))
                throw std::runtime_error("the workbook read back differs");
        }
        const double ratio = bestGrid / bestFloor;
        std::printf("cells %d x %d  libxlsxwriter alone %.3f s  grid write %.3f s  ratio %.2f  grid read %.3f s\n", Rows,
                    Cols, bestFloor, bestGrid, ratio, bestLoad);
        return ratio <= 1.3 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
