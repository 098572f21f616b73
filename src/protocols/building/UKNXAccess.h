#pragma once
#include "platform/TForm.h"

#include <QString>

// The KNX tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFKNXAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFKNXAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFKNXAccess* FKNXAccess;
