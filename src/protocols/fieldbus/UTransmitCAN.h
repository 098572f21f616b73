#pragma once
#include "platform/TForm.h"

#include <QString>

// The CAN transmit frames, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFTransmitCAN : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTransmitCAN(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFTransmitCAN* FTransmitCAN();
