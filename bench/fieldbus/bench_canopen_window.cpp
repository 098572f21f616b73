// The largest CANopen window full: the SDO server tables with 500 read and 500 write objects of
// four bytes each. Opening it should take less than 150 ms of CPU and OK on it less than 100 ms.
#include "platform/Dialogs.h"
#include "protocols/fieldbus/USet_SDO_Server_Access.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct TFull_Server {
    QTemporaryDir Dir;
    QByteArray File;

    TFull_Server()
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "bench_fieldbus";
            static char* argv[] = {name, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static QApplication app(argc, argv);
        }
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.path();
        shell::Set_Files();
        File = "<SDO_Server_CANopen>";
        for (const char* table : {"SDO_Read", "SDO_Write"}) {
            File += QByteArray("<") + table + ">";
            for (int r = 0; r < 500; ++r) {
                const int object = (table[4] == 'R' ? 0 : 500) + r;
                File += "<row Index=\"0x" + QByteArray::number(0x2000 + object / 256, 16).toUpper() + "\" SubIndex=\"" +
                        QByteArray::number(object % 256) + "\" NByte=\"4\"";
                for (int k = 1; k <= 4; ++k)
                    File += " Address_B" + QByteArray::number(k) + "=\"" + QByteArray::number((r * 4 + k) % 1440) + "\"";
                File += " Mnemonic=\"Object " + QByteArray::number(object) + "\"/>";
            }
            File += QByteArray("</") + table + ">";
        }
        File += "</SDO_Server_CANopen><!--SW_VERSION = 1.000-->";
        QFile f(shell::App_State.File_SDO_Server_CANopen);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(File);
    }
};

TFull_Server& Server()
{
    static TFull_Server server;
    return server;
}

void BM_OpenFullSDOServer(benchmark::State& state)
{
    Server();
    for (auto _ : state) {
        TFSet_SDO_Server_Access window;
        window.Load_File();
        const QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
}

void BM_OkOnFullSDOServer(benchmark::State& state)
{
    Server();
    TFSet_SDO_Server_Access window;
    window.Load_File();
    for (auto _ : state) {
        window.Btn_OKClick();
        if (window.ModalResult() != platform::mrOk)
            state.SkipWithError("OK refused the tables");
    }
    QFile f(shell::App_State.File_SDO_Server_CANopen);
    f.open(QIODevice::ReadOnly);
    if (f.readAll() != Server().File)
        state.SkipWithError("the written file differs from the one read");
}

}  // namespace

BENCHMARK(BM_OpenFullSDOServer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkOnFullSDOServer)->Unit(benchmark::kMillisecond);
