#include "mqtt_image/UTopicTemplate.h"

#include "shell/ULanguage.h"

TFTopicTemplate* FTopicTemplate = nullptr;

TFTopicTemplate::TFTopicTemplate(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(635, 396);
    Set_Lang();
}

void TFTopicTemplate::Set_Lang()
{
    SetCaption(shell::Lang(1700));
}
