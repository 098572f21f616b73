#pragma once
#include "controls/dropdowns/DropDownHeaderFooter.h"

#include <QString>

#include <memory>
#include <vector>

// The item collections of the list-like drop-downs: owned items in order, an owner reference and
// an OnChange that fires when an item is added, removed or changes a notifying field.
namespace dropdowns {

template <typename TItem>
class TItemCollection {
public:
    explicit TItemCollection(void* owner = nullptr) : FOwner(owner) {}
    TItemCollection(const TItemCollection&) = delete;
    TItemCollection& operator=(const TItemCollection&) = delete;

    void* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TItem* Add() { return Insert(Count()); }
    // An index outside 0..Count appends.
    TItem* Insert(int index)
    {
        if (index < 0 || index > Count())
            index = Count();
        auto item = std::make_unique<TItem>(this);
        TItem* raw = item.get();
        FItems.insert(FItems.begin() + index, std::move(item));
        Changed();
        return raw;
    }
    // Null outside the collection.
    TItem* Items(int index) const { return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr; }
    void SetItems(int index, const TItem& value)
    {
        if (TItem* item = Items(index))
            item->Assign(value);
    }
    void Delete(int index)
    {
        if (index < 0 || index >= Count())
            return;
        FItems.erase(FItems.begin() + index);
        Changed();
    }
    void Clear()
    {
        if (FItems.empty())
            return;
        FItems.clear();
        Changed();
    }
    void Assign(const TItemCollection& source)
    {
        if (&source == this)
            return;
        FItems.clear();
        for (const auto& item : source.FItems)
            Add()->Assign(*item);
        Changed();
    }
    void Changed()
    {
        if (OnChange)
            OnChange();
    }

    TNotifyEvent OnChange;

private:
    void* FOwner;
    std::vector<std::unique_ptr<TItem>> FItems;
};

// What the items of these collections share: a caption and an enabled flag, and a setter for the
// fields whose change the collection reports through its OnChange.
template <typename TItem>
class TCollectionItem {
public:
    explicit TCollectionItem(TItemCollection<TItem>* collection) : FCollection(collection) {}

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value) { SetNotifying(FCaption, value); }
    bool Enabled = true;

protected:
    template <typename T>
    void SetNotifying(T& field, const T& value)
    {
        if (value == field)
            return;
        field = value;
        if (FCollection)
            FCollection->Changed();
    }

private:
    TItemCollection<TItem>* FCollection;
    QString FCaption;
};

}  // namespace dropdowns
