#pragma once
#include "platform/TForm.h"

#include <QString>

// The DeviceNet network. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFDNet : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDNet(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFDNet* FDNet;
