#include "app/UForms.h"
#include "platform/Guard.h"

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    Application_Forms forms;
    Show_Main_Form();
    return app.exec();
}
