#pragma once
#include "platform/Dialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

// What counts as scripted, for message boxes and file dialogs alike:
// - Outside a ScriptedMessages / ScriptedFileDialogs, any box or file dialog fails the running test
//   (the default responder that the test program installs) and is answered at once with
//   SafeAnswer / an empty file name, so nothing waits for a user.
// - While a ScriptedMessages lives, every box is recorded. A box takes the next queued answer; with
//   none queued, a box with the single button OK is answered OK (it only informs), while a box that
//   asks a question fails the test and gets SafeAnswer. A queued answer that is not one of the
//   box's buttons fails the test, and so do answers still queued when the script ends.
// - While a ScriptedFileDialogs lives, every file dialog is recorded and takes the next queued file
//   name (an empty one cancels); a dialog with none queued fails the test and is cancelled.
// Scripts nest: each one restores the responder it replaced.

// The answer that changes least: Cancel where there is one, No on Yes/No boxes, OK on OK boxes.
int SafeAnswer(platform::TMsgDlgButtons buttons);
// Whether an answer is one of the box's buttons.
bool IsButtonOf(int modalResult, platform::TMsgDlgButtons buttons);
// Installs the responders that fail the test on any box or file dialog it did not script.
void InstallUnscriptedDialogFailures();

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
    int Answer(const platform::MessageRecord& record);

    std::deque<int> Answers;
    std::vector<platform::MessageRecord> Records;
    platform::MessageResponder Previous;
};

class ScriptedFileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs();
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    // The file name the next dialog returns; an empty one cancels it.
    void QueueAnswer(const QString& fileName) { Answers.push_back(fileName); }
    const std::vector<platform::FileDialogRequest>& Shown() const { return Records; }

private:
    QString Answer(const platform::FileDialogRequest& request);

    std::deque<QString> Answers;
    std::vector<platform::FileDialogRequest> Records;
    platform::FileDialogResponder Previous;
};
