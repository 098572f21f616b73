#pragma once
#include "platform/TForm.h"

#include <QString>

// The J1939 transmit frames, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFTransmitJ1939 : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTransmitJ1939(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFTransmitJ1939* FTransmitJ1939();
