#pragma once
#include "platform/TForm.h"

#include <QString>

// The second MQTT access window, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFMQTT_SetAccess_Eth : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMQTT_SetAccess_Eth(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth();
