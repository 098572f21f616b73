#pragma once
#include "platform/TForm.h"

#include <QString>

// The CAN transmit frames. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFTransmitCAN : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTransmitCAN(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFTransmitCAN* FTransmitCAN;
