#include "protocols/fieldbus/UTransmitNMEA.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFTransmitNMEA* FTransmitNMEA() { return shell::Window<TFTransmitNMEA>(); }

TFTransmitNMEA::TFTransmitNMEA(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(810, 337);
    Set_Lang();
}

void TFTransmitNMEA::Set_Lang()
{
    SetCaption(shell::Lang(3600));
}
