#pragma once
#include <QApplication>

// Widgets need an application; the program's main is the benchmark library's.
inline void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_grid";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}
