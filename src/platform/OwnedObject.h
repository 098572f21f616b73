#pragma once
#include <QObject>
#include <QPointer>
#include <memory>

// Qt objects that a Qt parent holds but that their owner ends at a moment of its own (a part that
// is no longer wanted, an editor replaced, a form that goes with its control). The owner takes the
// object back from the parent as a unique_ptr and lets it go: the object leaves its parent's
// children at once, unlike deleteLater, which ends it only at the next turn of the event loop.
namespace platform {

template <class T>
void Destroy_Now(QPointer<T>& object)
{
    std::unique_ptr<T> owned(object.data());
    object.clear();
}

template <class T>
void Destroy_Now(T*& object)
{
    std::unique_ptr<T> owned(object);
    object = nullptr;
}

}  // namespace platform
