#pragma once
#include "platform/TForm.h"

#include <QString>

// The J1939 receive frames. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFReceiveJ1939 : public platform::TForm {
    Q_OBJECT
public:
    explicit TFReceiveJ1939(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFReceiveJ1939* FReceiveJ1939;
