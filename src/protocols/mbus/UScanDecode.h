#pragma once
#include "platform/TForm.h"

#include <QString>

// The M-Bus scan and decode window. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFScanDecode : public platform::TForm {
    Q_OBJECT
public:
    explicit TFScanDecode(QWidget* parent = nullptr);
    void Set_Lang() override;
    int XML_Code_Dev = 0;
    QString FileName_MBus;
    int Form_Type = 0;
};

extern TFScanDecode* FScanDecode;
