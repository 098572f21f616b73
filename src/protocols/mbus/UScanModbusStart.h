#pragma once
#include "platform/TForm.h"

#include <QString>

// The start Modbus register dialog, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFScanModbusStart : public platform::TForm {
    Q_OBJECT
public:
    explicit TFScanModbusStart(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFScanModbusStart* FScanModbusStart();
