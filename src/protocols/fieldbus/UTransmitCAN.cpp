#include "protocols/fieldbus/UTransmitCAN.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFTransmitCAN* FTransmitCAN() { return shell::Window<TFTransmitCAN>(); }

TFTransmitCAN::TFTransmitCAN(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1100, 337);
    Set_Lang();
}

void TFTransmitCAN::Set_Lang()
{
    SetCaption(shell::Lang(2200));
}
