#pragma once
#include "platform/TForm.h"

#include <QString>

// The MQTT publish and subscribe topic tables ("MQTT Set Topic"): a window of its size and
// caption, with no tables in it.
class TFMQTT_Set_Topic : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMQTT_Set_Topic(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFMQTT_Set_Topic* FMQTT_Set_Topic();
