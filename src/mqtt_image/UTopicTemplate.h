#pragma once
#include "platform/TForm.h"

#include <QString>

// The topic and template editor, opened from the topic tables: a window of its size and caption,
// with no editor in it.
class TFTopicTemplate : public platform::TForm {
    Q_OBJECT
public:
    explicit TFTopicTemplate(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFTopicTemplate* FTopicTemplate();
