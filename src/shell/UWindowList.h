#pragma once
#include "grid/core/GridLayers.h"
#include "platform/TForm.h"

#include <QMetaObject>
#include <memory>
#include <type_traits>
#include <typeindex>
#include <vector>

// The program's windows, one of each kind, each created the first time something asks for it (its
// creation step, texts included, runs then). They are destroyed in reverse order of creation. A
// window that goes away by other means is forgotten, so the list never points at a dead window.
namespace shell {

class TWindow_List {
public:
    TWindow_List() = default;
    TWindow_List(const TWindow_List&) = delete;
    TWindow_List& operator=(const TWindow_List&) = delete;
    ~TWindow_List() { Clear(); }

    // The layers of the grids of the windows this list creates (editing, data operations ...);
    // the program fills them at start. A window whose grids take layers gets them when created.
    grid::TGridLayers Grid_Layers;

    // The window of kind T, created now when there is none yet.
    template <typename T>
    T* Get()
    {
        if (platform::TForm* w = Find(typeid(T)))
            return static_cast<T*>(w);
        std::unique_ptr<T> window;
        if constexpr (std::is_constructible_v<T, const grid::TGridLayers&>)
            window = std::make_unique<T>(Grid_Layers);
        else
            window = std::make_unique<T>();
        T* result = window.get();
        Add(typeid(T), result, std::move(window));
        return result;
    }

    // The window of kind T when it exists; nothing is created.
    template <typename T>
    T* Find() const
    {
        return static_cast<T*>(Find(typeid(T)));
    }
    platform::TForm* Find(std::type_index type) const;

    // Puts a window that the caller owns in the place of kind T (tests use their own windows). T is
    // named by the caller, so that a window of a derived test class takes the place of its base.
    template <typename T>
    void Put(std::type_identity_t<T>* window)
    {
        Remove(typeid(T));
        if (window)
            Add(typeid(T), window, nullptr);
    }

    // Destroys the windows of the list, the last created first, and empties it.
    void Clear();

    // The windows in order of creation.
    std::vector<platform::TForm*> Windows() const;

private:
    struct Entry {
        std::type_index Type;
        platform::TForm* Window;
        std::unique_ptr<platform::TForm> Owned;  // empty for a window put in place
        QMetaObject::Connection Watch;
    };

    void Add(std::type_index type, platform::TForm* window, std::unique_ptr<platform::TForm> owned);
    void Remove(std::type_index type);
    void Forget(const QObject* window);

    std::vector<Entry> Entries;
};

// The one list of the program.
TWindow_List& Window_List();

// The window of kind T, created when first asked for.
template <typename T>
T* Window()
{
    return Window_List().Get<T>();
}

}  // namespace shell
