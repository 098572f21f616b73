#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

using platform::TMsgDlgButtons;

namespace {
const char* buttonsName(TMsgDlgButtons buttons)
{
    switch (buttons) {
    case TMsgDlgButtons::mbOK: return "OK";
    case TMsgDlgButtons::mbOKCancel: return "OK/Cancel";
    case TMsgDlgButtons::mbYesNo: return "Yes/No";
    case TMsgDlgButtons::mbYesNoCancel: return "Yes/No/Cancel";
    }
    return "?";
}
}  // namespace

int SafeAnswer(TMsgDlgButtons buttons)
{
    switch (buttons) {
    case TMsgDlgButtons::mbOK: return platform::mrOk;
    case TMsgDlgButtons::mbYesNo: return platform::mrNo;
    case TMsgDlgButtons::mbOKCancel:
    case TMsgDlgButtons::mbYesNoCancel: return platform::mrCancel;
    }
    return platform::mrCancel;
}

bool IsButtonOf(int modalResult, TMsgDlgButtons buttons)
{
    switch (buttons) {
    case TMsgDlgButtons::mbOK: return modalResult == platform::mrOk;
    case TMsgDlgButtons::mbOKCancel: return modalResult == platform::mrOk || modalResult == platform::mrCancel;
    case TMsgDlgButtons::mbYesNo: return modalResult == platform::mrYes || modalResult == platform::mrNo;
    case TMsgDlgButtons::mbYesNoCancel:
        return modalResult == platform::mrYes || modalResult == platform::mrNo || modalResult == platform::mrCancel;
    }
    return false;
}

void InstallUnscriptedDialogFailures()
{
    platform::SetMessageResponder([](const platform::MessageRecord& record) {
        ADD_FAILURE() << "unscripted " << buttonsName(record.Buttons)
                      << " message box: " << record.Text.toStdString();
        return SafeAnswer(record.Buttons);
    });
    platform::SetFileDialogResponder([](const platform::FileDialogRequest& request) {
        ADD_FAILURE() << "unscripted " << (request.Save ? "save" : "open")
                      << " file dialog: " << request.Title.toStdString();
        return QString();
    });
}

ScriptedMessages::ScriptedMessages()
    : Previous(platform::SetMessageResponder([this](const platform::MessageRecord& r) { return Answer(r); }))
{
}

ScriptedMessages::~ScriptedMessages()
{
    platform::SetMessageResponder(std::move(Previous));
    if (!Answers.empty())
        ADD_FAILURE() << Answers.size() << " scripted message box answer(s) never used; the first is "
                      << Answers.front();
}

int ScriptedMessages::Answer(const platform::MessageRecord& record)
{
    Records.push_back(record);
    if (!Answers.empty()) {
        const int answer = Answers.front();
        Answers.pop_front();
        if (IsButtonOf(answer, record.Buttons))
            return answer;
        ADD_FAILURE() << "scripted answer " << answer << " is no button of the " << buttonsName(record.Buttons)
                      << " message box: " << record.Text.toStdString();
        return SafeAnswer(record.Buttons);
    }
    if (record.Buttons != TMsgDlgButtons::mbOK)
        ADD_FAILURE() << "no answer scripted for the " << buttonsName(record.Buttons)
                      << " message box: " << record.Text.toStdString();
    return SafeAnswer(record.Buttons);
}

ScriptedFileDialogs::ScriptedFileDialogs()
    : Previous(platform::SetFileDialogResponder([this](const platform::FileDialogRequest& r) { return Answer(r); }))
{
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    platform::SetFileDialogResponder(std::move(Previous));
    if (!Answers.empty())
        ADD_FAILURE() << Answers.size() << " scripted file dialog answer(s) never used; the first is \""
                      << Answers.front().toStdString() << '"';
}

QString ScriptedFileDialogs::Answer(const platform::FileDialogRequest& request)
{
    Records.push_back(request);
    if (Answers.empty()) {
        ADD_FAILURE() << "no answer scripted for the " << (request.Save ? "save" : "open")
                      << " file dialog: " << request.Title.toStdString();
        return {};
    }
    QString answer = Answers.front();
    Answers.pop_front();
    return answer;
}
