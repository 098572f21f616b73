#include "protocols/fieldbus/UMQTT_SetAccess_Eth.h"
#include "shell/UWindowList.h"

TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth() { return shell::Window<TFMQTT_SetAccess_Eth>(); }

TFMQTT_SetAccess_Eth::TFMQTT_SetAccess_Eth(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(760, 337);
    Set_Lang();
}

void TFMQTT_SetAccess_Eth::Set_Lang()
{
    SetCaption(QStringLiteral("MQTT Set Access"));
}
