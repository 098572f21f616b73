// Starts the program the way its own entry does and quits as soon as the main window has been
// painted once: the start-up cost measured against startup_empty.
#include "QuitWhenPainted.h"

#include "app/UForms.h"
#include "app/UDidudiredadFirmWare.h"
#include "platform/Guard.h"


int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    Application_Forms forms;
    QuitWhenPainted quit;
    TFDidudiredadFirmWare* main = Show_Main_Form();
    main->installEventFilter(&quit);
    return app.exec();
}
