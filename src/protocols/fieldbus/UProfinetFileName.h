#pragma once
#include "platform/TForm.h"

#include <QString>

// The PROFINET GSDML file name dialog, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFProfinetFileName : public platform::TForm {
    Q_OBJECT
public:
    explicit TFProfinetFileName(QWidget* parent = nullptr);
    void Set_Lang() override;
    QString Name_File_XML;
};

TFProfinetFileName* FProfinetFileName();
