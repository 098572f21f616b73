// A set-up table window with a full table: the CAN receive window and 512 frames of eight data
// bytes each. Opening it (creation, then the show that clears the table and reads the file, and
// the first paint) should take less than 150 ms of CPU, and OK on it (checks and writing the file)
// less than 100 ms.
#include "platform/Dialogs.h"
#include "protocols/fieldbus/UReceiveCAN.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_fieldbus";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

// A project folder whose CAN_Rec_Frames.xml holds 512 enabled frames.
struct TFull_Project {
    QTemporaryDir Dir;
    QByteArray File;

    TFull_Project()
    {
        EnsureApplication();
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.path();
        shell::Set_Files();
        File = "<Receive_Frames>";
        for (int r = 0; r < 512; ++r) {
            File += "<row Enable=\"Y\" COBID=\"0x" + QByteArray::number(0x100 + r, 16) +
                    "\" CAN_Type=\"2.0A (11 bits)\" Dim=\"8\" TimeOut=\"1000\"";
            for (int k = 1; k <= 8; ++k)
                File += " Byte" + QByteArray::number(k) + "=\"" + QByteArray::number((r * 8 + k) % 1440) + "\"";
            File += " Mnemonic=\"Frame " + QByteArray::number(r) + " of the plant\"/>";
        }
        File += "</Receive_Frames><!--SW_VERSION = 1.000-->";
        Restore();
    }
    void Restore() const
    {
        QFile f(shell::App_State.File_CAN_Rec_Frames);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(File);
    }
};

TFull_Project& Project()
{
    static TFull_Project project;
    return project;
}

// Creation, the show's loading and the first paint of the whole window.
void BM_OpenFullWindow(benchmark::State& state)
{
    Project();
    for (auto _ : state) {
        TFReceiveCAN window;
        window.Load_File();
        const QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
}

// A later show of the same window: clearing, reading and the paint.
void BM_ShowFullWindowAgain(benchmark::State& state)
{
    Project();
    TFReceiveCAN window;
    window.Load_File();
    for (auto _ : state) {
        window.Load_File();
        const QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
}

// OK: the checks of the 512 rows and the file written whole.
void BM_OkOnFullWindow(benchmark::State& state)
{
    Project();
    TFReceiveCAN window;
    window.Load_File();
    for (auto _ : state) {
        window.Btn_OKClick();
        if (window.ModalResult() != platform::mrOk)
            state.SkipWithError("OK refused the table");
    }
    QFile f(shell::App_State.File_CAN_Rec_Frames);
    f.open(QIODevice::ReadOnly);
    if (f.readAll() != Project().File)
        state.SkipWithError("the written file differs from the one read");
}

}  // namespace

BENCHMARK(BM_OpenFullWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowFullWindowAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkOnFullWindow)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
