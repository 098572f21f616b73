#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <utility>

namespace platform {
namespace {
MessageResponder& responder()
{
    static MessageResponder r;
    return r;
}
FileDialogResponder& fileResponder()
{
    static FileDialogResponder r;
    return r;
}

QMessageBox::Icon iconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return QStringLiteral("Warning");
    case TMsgDlgType::mtError: return QStringLiteral("Error");
    case TMsgDlgType::mtInformation: return QStringLiteral("Information");
    case TMsgDlgType::mtConfirmation: return QStringLiteral("Confirm");
    }
    return {};
}
}  // namespace

MessageResponder SetMessageResponder(MessageResponder r) { return std::exchange(responder(), std::move(r)); }
FileDialogResponder SetFileDialogResponder(FileDialogResponder r)
{
    return std::exchange(fileResponder(), std::move(r));
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    // A copy: the responder may replace itself while it answers.
    if (const MessageResponder r = responder())
        return r(MessageRecord{type, buttons, text});

    QMessageBox box(iconOf(type), titleOf(type), text, QMessageBox::NoButton, QApplication::activeWindow());
    // Messages carry names and file values: never read as mark-up.
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case TMsgDlgButtons::mbOK: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgDlgButtons::mbOKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgDlgButtons::mbYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgDlgButtons::mbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return mrCancel;
    }
}

QString PromptForFileName(const FileDialogRequest& request)
{
    if (const FileDialogResponder r = fileResponder())
        return r(request);
    QString filter = request.Filter;
    // "Text (*.x)|*.x" -> "Text (*.x)": Qt takes the patterns from the description.
    const int bar = filter.indexOf(QLatin1Char('|'));
    if (bar >= 0)
        filter = filter.left(bar);
    QFileDialog dialog(QApplication::activeWindow(), request.Title, request.InitialFolder, filter);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!request.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(QString(request.DefaultExt).remove(QStringLiteral("*.")));
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace platform
