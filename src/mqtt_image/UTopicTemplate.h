#pragma once
#include "platform/TForm.h"

#include <QString>

// The topic and template editor. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFTopicTemplate : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTopicTemplate(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFTopicTemplate* FTopicTemplate;
