// An empty window of the main window's size, shown and quit the same way as startup_main: the
// floor that the program's start-up is measured against.
#include <QApplication>
#include <QWidget>

#include "QuitWhenPainted.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(694, 396);
    QuitWhenPainted quit;
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
}
