#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "grid/core/GridTypes.h"
#include "platform/TCanvas.h"

// The columns and items of the drop-downs that show their items in a table with a header row.
namespace grid::editors {

enum TColumnType { ctText, ctImage };

class TDropDownColumn {
public:
    bool Wordwrap = false;
    int Width = 80;
    bool AutoSize = false;
    QString Header;
    TAlignment Alignment = taLeftJustify;
    platform::TColor Color = platform::clWhite;
    TColumnType ColumnType = ctText;
    platform::TFont Font;
    bool Ellipsis = false;

    void Assign(const TDropDownColumn& source) { *this = source; }
};

class TDropDownItem {
public:
    int ImageIndex = -1;
    // Entry i is the text of column i; an item may have fewer entries than there are columns.
    QStringList Text;

    bool HasText(int column) const { return column >= 0 && column < Text.size(); }
    // A missing entry reads as empty.
    QString TextOf(int column) const { return HasText(column) ? Text[column] : QString(); }
    void Assign(const TDropDownItem& source)
    {
        ImageIndex = source.ImageIndex;
        Text = source.Text;
    }
};

// An owned, ordered collection; Assign copies every item by value.
template <class T>
class TDropDownCollection {
public:
    TDropDownCollection() = default;
    TDropDownCollection(const TDropDownCollection&) = delete;
    TDropDownCollection& operator=(const TDropDownCollection&) = delete;

    int Count() const { return int(FItems.size()); }
    T* Items(int index) const
    {
        return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
    }
    T* Add() { return Insert(Count()); }
    T* Insert(int index)
    {
        index = std::clamp(index, 0, Count());
        auto it = FItems.insert(FItems.begin() + index, std::make_unique<T>());
        Changed();
        return it->get();
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
        FItems.clear();
        Changed();
    }
    void Assign(const TDropDownCollection& source)
    {
        if (&source == this)
            return;
        FItems.clear();
        for (const auto& item : source.FItems) {
            FItems.push_back(std::make_unique<T>());
            FItems.back()->Assign(*item);
        }
        Changed();
    }
    std::function<void()> OnChange;

private:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
    std::vector<std::unique_ptr<T>> FItems;
};

class TDropDownColumns : public TDropDownCollection<TDropDownColumn> {};

class TDropDownItems : public TDropDownCollection<TDropDownItem> {
public:
    // The first item whose text for the column equals the value exactly; items without that
    // text are skipped; -1 when none.
    int IndexInColumn(int column, const QString& value) const
    {
        for (int i = 0; i < Count(); ++i)
            if (Items(i)->HasText(column) && Items(i)->Text[column] == value)
                return i;
        return -1;
    }
};

// Column widths that spread the form's width over the columns in proportion to their set
// widths; the rounding remainders are carried so that the widths add up.
std::vector<int> ProportionalColumnWidths(const std::vector<int>& widths, int columnCount, int available);

// Height of the drop-down form snapped to whole rows below the header row; extra is added at
// the end (the grid drop-down keeps 4 more pixels).
int SnapDropDownHeight(int height, int stripsHeight, int headerHeight, int rowHeight, int extra);

}  // namespace grid::editors
