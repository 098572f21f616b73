#pragma once
#include "platform/TForm.h"

#include <QString>

// The NMEA 2000 receive frames. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFReceiveNMEA : public platform::TForm {
    Q_OBJECT
public:
    explicit TFReceiveNMEA(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFReceiveNMEA* FReceiveNMEA;
