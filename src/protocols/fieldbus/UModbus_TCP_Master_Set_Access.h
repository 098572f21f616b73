#pragma once
#include "platform/TForm.h"

#include <QString>

// The Modbus TCP master access tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFModbus_TCP_Master_Set_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFModbus_TCP_Master_Set_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access;
