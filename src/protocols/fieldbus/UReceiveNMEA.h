#pragma once
#include "platform/TForm.h"

#include <QString>

// The NMEA 2000 receive frames, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFReceiveNMEA : public platform::TForm {
    Q_OBJECT
public:
    explicit TFReceiveNMEA(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFReceiveNMEA* FReceiveNMEA();
