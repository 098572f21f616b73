#pragma once
#include "platform/TForm.h"

#include <QString>

// The CANopen SDO client tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFSet_SDO_Client_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSet_SDO_Client_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFSet_SDO_Client_Access* FSet_SDO_Client_Access;
