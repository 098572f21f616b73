#pragma once
#include "platform/TForm.h"

#include <QString>

// The per-meter Modbus start address dialog, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFModbusStartAdd_SD : public platform::TForm {
    Q_OBJECT
public:
    explicit TFModbusStartAdd_SD(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFModbusStartAdd_SD* FModbusStartAdd_SD();
