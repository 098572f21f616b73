#pragma once
#include <QApplication>
#include <QString>
#include <functional>

namespace platform {

// Runs one event handler; an error that escapes it is shown in an error box and the program goes on.
void Guarded(const std::function<void()>& handler);

// Inside a catch block: the message of the error being handled.
QString CurrentErrorMessage();

// The application object: every event Qt delivers passes through the guard.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
