#include "protocols/fieldbus/UMQTT_Set_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFMQTT_Set_Access* FMQTT_Set_Access() { return shell::Window<TFMQTT_Set_Access>(); }

TFMQTT_Set_Access::TFMQTT_Set_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(760, 337);
    Set_Lang();
}

void TFMQTT_Set_Access::Set_Lang()
{
    SetCaption(shell::Lang(1400));
}
