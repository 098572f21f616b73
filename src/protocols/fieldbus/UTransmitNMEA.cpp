#include "protocols/fieldbus/UTransmitNMEA.h"

#include "shell/ULanguage.h"

TFTransmitNMEA* FTransmitNMEA = nullptr;

TFTransmitNMEA::TFTransmitNMEA(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(810, 337);
    Set_Lang();
}

void TFTransmitNMEA::Set_Lang()
{
    SetCaption(shell::Lang(3600));
}
