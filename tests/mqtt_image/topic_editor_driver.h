#pragma once
// Drives the topic and template editor that a table window opens modally.
#include "mqtt_image/UTopicTemplate.h"
#include "support/Deferred.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

// The editor's actions run inside its own modal loop, opened by what the caller does next; an
// editor they leave open fails the test and is cancelled.
inline void When_Topic_Editor_Shown(std::function<void(TFTopicTemplate*)> actions)
{
    TFTopicTemplate* editor = FTopicTemplate();
    WhenShown(editor, [editor, actions] {
        QApplication::setActiveWindow(editor);
        actions(editor);
        if (editor->isVisible()) {
            ADD_FAILURE() << "the editor stayed open";
            editor->SetModalResult(platform::mrCancel);
        }
    });
}
