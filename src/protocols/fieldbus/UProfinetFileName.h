#pragma once
#include "platform/TForm.h"

#include <QString>

// The PROFINET GSDML file name dialog. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFProfinetFileName : public platform::TForm {
    Q_OBJECT
public:
    explicit TFProfinetFileName(QWidget* parent = nullptr);
    void Set_Lang() override;
    QString Name_File_XML;
};

extern TFProfinetFileName* FProfinetFileName;
