#pragma once
#include "platform/TForm.h"

#include <QString>

// The start Modbus register dialog. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFScanModbusStart : public platform::TForm {
    Q_OBJECT
public:
    explicit TFScanModbusStart(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFScanModbusStart* FScanModbusStart;
