#pragma once
#include "platform/TForm.h"

#include <QString>

// The per-meter Modbus start address dialog. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFModbusStartAdd_SD : public platform::TForm {
    Q_OBJECT
public:
    explicit TFModbusStartAdd_SD(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFModbusStartAdd_SD* FModbusStartAdd_SD;
