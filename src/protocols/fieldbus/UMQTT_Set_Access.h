#pragma once
#include "platform/TForm.h"

#include <QString>

// The MQTT access tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFMQTT_Set_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMQTT_Set_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFMQTT_Set_Access* FMQTT_Set_Access();
