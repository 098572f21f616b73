#pragma once
#include "platform/TForm.h"

#include <QString>

// The NMEA 2000 transmit frames, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFTransmitNMEA : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTransmitNMEA(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFTransmitNMEA* FTransmitNMEA();
