#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo, mbYesNoCancel };

// Modal results, with the values the windows compare against.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct MessageRecord {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    QString Text;
};

// Shows a modal message box and returns the button pressed as a modal result.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons);

// Tests install a responder that answers boxes instead of showing them; nullptr restores real boxes.
// Returns the responder it replaces, so that a scoped one can put it back.
using MessageResponder = std::function<int(const MessageRecord&)>;
MessageResponder SetMessageResponder(MessageResponder responder);

struct FileDialogRequest {
    bool Save = false;
    QString Title;
    QString InitialFolder;
    QString Filter;  // "Description (*.ext)|*.ext"
    QString DefaultExt;
    QString FileName;  // the name the dialog proposes
    // The dialog itself asks before an existing file is chosen; off where the caller asks about
    // the file it will really write.
    bool OverwritePrompt = true;
};
// Returns the chosen file, or an empty text when the user cancels.
QString PromptForFileName(const FileDialogRequest& request);
using FileDialogResponder = std::function<QString(const FileDialogRequest&)>;
FileDialogResponder SetFileDialogResponder(FileDialogResponder responder);

}  // namespace platform
