#include "mqtt_image/UTopicTemplate.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFTopicTemplate* FTopicTemplate() { return shell::Window<TFTopicTemplate>(); }

TFTopicTemplate::TFTopicTemplate(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(635, 396);
    Set_Lang();
}

void TFTopicTemplate::Set_Lang()
{
    SetCaption(shell::Lang(1700));
}
