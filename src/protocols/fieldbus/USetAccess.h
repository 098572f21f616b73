#pragma once
#include "platform/TForm.h"

#include <QString>

// The Modbus master access tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFSetAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSetAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFSetAccess* FSetAccess;
