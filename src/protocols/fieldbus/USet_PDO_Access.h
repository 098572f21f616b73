#pragma once
#include "platform/TForm.h"

#include <QString>

// The CANopen PDO tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFSet_PDO_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSet_PDO_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFSet_PDO_Access* FSet_PDO_Access;
