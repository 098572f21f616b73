#include "mqtt_image/UMQTT_Set_Topic.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFMQTT_Set_Topic* FMQTT_Set_Topic() { return shell::Window<TFMQTT_Set_Topic>(); }

TFMQTT_Set_Topic::TFMQTT_Set_Topic(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1100, 337);
    Set_Lang();
}

void TFMQTT_Set_Topic::Set_Lang()
{
    SetCaption(shell::Lang(700));
}
