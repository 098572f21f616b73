#include "support/Deferred.h"

#include <QEvent>
#include <QTimer>

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
