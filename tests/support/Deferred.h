#pragma once
#include <QObject>
#include <QWidget>
#include <QString>
#include <functional>

namespace platform {
class TForm;
}

// Test actions that run later from the event loop, such as clicks inside a modal window's loop.
// Each is owned by a context object and dies with it, so an action that never got its chance
// cannot run in a later test and write through references into a test that has ended.

// Runs action at the event loop's next pass, unless context has been destroyed by then.
void Later(QObject* context, std::function<void()> action);

// Runs action once window has been shown, from inside the event loop that shows it (a modal
// window's own loop), unless window is destroyed first. Returns at once.
void WhenShown(QWidget* window, std::function<void()> action);

// Shows form modally, as the main window does, and runs actions from inside its loop with the form
// active; the actions end by closing it. A form they leave open fails the test, naming what
// lastMessage answers, and is cancelled. Returns the form's modal result.
int Run_Modal(platform::TForm* form, std::function<void()> actions, std::function<QString()> lastMessage = {});
