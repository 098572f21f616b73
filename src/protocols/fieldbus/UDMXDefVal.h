#pragma once
#include "platform/TForm.h"

#include <QString>

// The DMX default values. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFDMXDefVal : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDMXDefVal(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFDMXDefVal* FDMXDefVal;
