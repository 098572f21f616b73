#include "protocols/fieldbus/UTransmitCAN.h"

#include "shell/ULanguage.h"

TFTransmitCAN* FTransmitCAN = nullptr;

TFTransmitCAN::TFTransmitCAN(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1100, 337);
    Set_Lang();
}

void TFTransmitCAN::Set_Lang()
{
    SetCaption(shell::Lang(2200));
}
