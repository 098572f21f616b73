#include "platform/Guard.h"
#include "app/UForms.h"

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    auto forms = Create_Application_Forms();
    Show_Main_Form(forms);
    return app.exec();
}
