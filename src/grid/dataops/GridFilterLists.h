#pragma once
#include <QListWidget>
#include <QPointer>
#include <functional>

namespace grid {
class TExtStringGrid;
}

namespace grid::dataops {

class TGridFilter;

// The single-choice value list: Enter or a release on an entry closes it and reports the entry.
class TDropList : public QListWidget {
public:
    explicit TDropList(QWidget* parent);
    std::function<void(int itemIndex)> OnSelect;
    std::function<void()> OnCancel;  // closed by a click elsewhere

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool FChosen = false;
};

// The check list: it stays open; every change of a check box is reported (index -1).
class TDropCheckList : public QListWidget {
public:
    explicit TDropCheckList(QWidget* parent);
    std::function<void(int itemIndex)> OnSelect;
    std::function<void()> OnCancel;
    std::vector<int> CheckedIndexes() const;

protected:
    void hideEvent(QHideEvent* e) override;
};

// The value lists of a grid's filter row.
class TGridFilterLists {
public:
    TGridFilterLists(TExtStringGrid& grid, TGridFilter& filter) : Grid(grid), Filter(filter) {}
    TExtStringGrid& Grid;
    TGridFilter& Filter;
    // A left button released at client point (x, y): on a filter button of the filter row with
    // values to offer, opens the column's list under it and answers true.
    bool ButtonClick(int x, int y);
    TDropList* List() const { return FList; }
    TDropCheckList* CheckList() const { return FCheckList; }

private:
    QPointer<TDropList> FList;
    QPointer<TDropCheckList> FCheckList;
};

}  // namespace grid::dataops
