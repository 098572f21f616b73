#pragma once
#include "platform/TForm.h"

#include <QString>

// The J1939 transmit frames. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFTransmitJ1939 : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTransmitJ1939(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFTransmitJ1939* FTransmitJ1939;
