#pragma once
#include "platform/Dialogs.h"

#include <QString>
#include <deque>
#include <vector>

// Answers message boxes instead of showing them and records each one. Unscripted boxes get the
// default answer (OK, or Yes for question boxes). Restores real boxes when destroyed.
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void QueueAnswer(int modalResult) { Answers.push_back(modalResult); }
    const std::vector<platform::MessageRecord>& Shown() const { return Records; }
    QString LastText() const { return Records.empty() ? QString() : Records.back().Text; }
    void Clear() { Records.clear(); }

private:
    std::deque<int> Answers;
    std::vector<platform::MessageRecord> Records;
};
