#pragma once
#include "platform/TForm.h"

#include <QString>

// The M-Bus network editor. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFMeter_Bus : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMeter_Bus(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFMeter_Bus* FMeter_Bus;
