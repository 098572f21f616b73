#pragma once
#include "platform/TForm.h"

#include <QString>

// The MQTT access tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFMQTT_Set_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMQTT_Set_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFMQTT_Set_Access* FMQTT_Set_Access;
