#pragma once
#include "platform/TForm.h"

#include <QString>

// The DeviceNet offsets. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFDefOffset : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDefOffset(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFDefOffset* FDefOffset;
