#include "platform/Guard.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"

namespace platform {

QString CurrentErrorMessage()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        MessageDlg(CurrentErrorMessage(), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
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
