#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet EDE import dialog. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFImportEDEFile : public platform::TForm {
    Q_OBJECT
public:
    explicit TFImportEDEFile(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFImportEDEFile* FImportEDEFile;
