#include "support/ScriptedMessages.h"

ScriptedMessages::ScriptedMessages()
{
    platform::SetMessageResponder([this](const platform::MessageRecord& record) {
        Records.push_back(record);
        if (!Answers.empty()) {
            const int answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return record.Buttons == platform::TMsgDlgButtons::mbOK || record.Buttons == platform::TMsgDlgButtons::mbOKCancel
                   ? int(platform::mrOk)
                   : int(platform::mrYes);
    });
}

ScriptedMessages::~ScriptedMessages() { platform::SetMessageResponder(nullptr); }
