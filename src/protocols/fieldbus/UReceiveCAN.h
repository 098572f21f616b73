#pragma once
#include "platform/TForm.h"

#include <QString>

// The CAN receive frames. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFReceiveCAN : public platform::TForm {
    Q_OBJECT
public:
    explicit TFReceiveCAN(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFReceiveCAN* FReceiveCAN;
