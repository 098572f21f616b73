#pragma once
#include "platform/TForm.h"

#include <QString>

// The DALI tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFDALI_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDALI_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFDALI_Access* FDALI_Access;
