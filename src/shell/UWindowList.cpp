#include "shell/UWindowList.h"

#include <algorithm>

namespace shell {

platform::TForm* TWindow_List::Find(std::type_index type) const
{
    for (const Entry& e : Entries)
        if (e.Type == type)
            return e.Window;
    return nullptr;
}

void TWindow_List::Add(std::type_index type, platform::TForm* window, std::unique_ptr<platform::TForm> owned)
{
    const QObject* object = window;
    QMetaObject::Connection watch =
        QObject::connect(window, &QObject::destroyed, [this, object] { Forget(object); });
    Entries.push_back({type, window, std::move(owned), watch});
}

void TWindow_List::Remove(std::type_index type)
{
    const auto it = std::find_if(Entries.begin(), Entries.end(), [&](const Entry& e) { return e.Type == type; });
    if (it == Entries.end())
        return;
    // Out of the list before it dies, so that its destruction finds nothing to forget.
    Entry gone = std::move(*it);
    Entries.erase(it);
    QObject::disconnect(gone.Watch);
}

void TWindow_List::Forget(const QObject* window)
{
    const auto it = std::find_if(Entries.begin(), Entries.end(),
                                 [&](const Entry& e) { return static_cast<const QObject*>(e.Window) == window; });
    if (it == Entries.end())
        return;
    // Someone else destroyed it: it is already on its way out and must not be deleted again.
    (void)it->Owned.release();
    Entries.erase(it);
}

void TWindow_List::Clear()
{
    while (!Entries.empty()) {
        Entry last = std::move(Entries.back());
        Entries.pop_back();
        QObject::disconnect(last.Watch);
    }
}

std::vector<platform::TForm*> TWindow_List::Windows() const
{
    std::vector<platform::TForm*> result;
    result.reserve(Entries.size());
    for (const Entry& e : Entries)
        result.push_back(e.Window);
    return result;
}

TWindow_List& Window_List()
{
    static TWindow_List list;
    return list;
}

}  // namespace shell
