#pragma once
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

// Ends the event loop once the watched window has been painted for the first time.
class QuitWhenPainted : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};
