#pragma once
#include "platform/TForm.h"

#include <QString>

// The NMEA 2000 transmit frames. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFTransmitNMEA : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTransmitNMEA(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFTransmitNMEA* FTransmitNMEA;
