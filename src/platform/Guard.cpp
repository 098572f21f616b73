#include "platform/Guard.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"

namespace platform {

void Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Exception& e) {
        MessageDlg(e.message(), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    } catch (const std::exception& e) {
        MessageDlg(QString::fromUtf8(e.what()), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    } catch (...) {
        MessageDlg(QStringLiteral("Unknown error"), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    Guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

}  // namespace platform
