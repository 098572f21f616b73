#include "protocols/mbus/UMeter_Bus.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFMeter_Bus* FMeter_Bus() { return shell::Window<TFMeter_Bus>(); }

TFMeter_Bus::TFMeter_Bus(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(834, 662);
    Set_Lang();
}

void TFMeter_Bus::Set_Lang()
{
    SetCaption(shell::Lang(800));
}
