#include "support/Deferred.h"

#include "platform/Dialogs.h"
#include "platform/TForm.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Watches one window for its Show event; a child of the window, so it goes with it.
class ShowWatcher : public QObject {
public:
    ShowWatcher(QWidget* window, std::function<void()> action) : QObject(window), Action(std::move(action))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            watched->removeEventFilter(this);
            // Not from inside the Show event: the window's loop has yet to start.
            Later(watched, std::move(Action));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> Action;
};
}  // namespace

void Later(QObject* context, std::function<void()> action)
{
    Q_ASSERT(context);
    QTimer::singleShot(0, context, std::move(action));
}

void WhenShown(QWidget* window, std::function<void()> action)
{
    if (window->isVisible()) {
        Later(window, std::move(action));
        return;
    }
    new ShowWatcher(window, std::move(action));
}

int Run_Modal(platform::TForm* form, std::function<void()> actions, std::function<QString()> lastMessage)
{
    WhenShown(form, [form, actions = std::move(actions), lastMessage = std::move(lastMessage)] {
        QApplication::setActiveWindow(form);
        actions();
        if (form->isVisible()) {
            ADD_FAILURE() << "the window stayed open; last message: "
                          << (lastMessage ? lastMessage().toStdString() : std::string());
            form->SetModalResult(platform::mrCancel);
        }
    });
    return form->ShowModal();
}
