#pragma once
#include "platform/TForm.h"

#include <QString>

// The DALI tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFDALI_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDALI_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFDALI_Access* FDALI_Access();
