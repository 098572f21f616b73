#include "grid/dataops/GridFilterLists.h"
#include "grid/core/GridTextUtils.h"

#include <QKeyEvent>
#include <QStyle>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/dataops/GridFilter.h"
#include "platform/TCanvas.h"

namespace grid::dataops {

TDropList::TDropList(QWidget* parent) : QListWidget(parent)
{
    setWindowFlags(Qt::Popup);
}

void TDropList::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        FChosen = true;
        hide();
        if (OnSelect)
            OnSelect(currentRow());
        return;
    }
    QListWidget::keyPressEvent(e);
}

void TDropList::mouseReleaseEvent(QMouseEvent* e)
{
    QListWidget::mouseReleaseEvent(e);
    FChosen = true;
    hide();
    if (OnSelect)
        OnSelect(currentRow());
}

void TDropList::hideEvent(QHideEvent* e)
{
    QListWidget::hideEvent(e);
    if (!std::exchange(FChosen, false) && OnCancel)
        OnCancel();
}

TDropCheckList::TDropCheckList(QWidget* parent) : QListWidget(parent)
{
    setWindowFlags(Qt::Popup);
    connect(this, &QListWidget::itemChanged, this, [this] {
        if (OnSelect)
            OnSelect(-1);
    });
}

std::vector<int> TDropCheckList::CheckedIndexes() const
{
    std::vector<int> out;
    for (int i = 0; i < count(); ++i)
        if (item(i)->checkState() == Qt::Checked)
            out.push_back(i);
    return out;
}

void TDropCheckList::hideEvent(QHideEvent* e)
{
    QListWidget::hideEvent(e);
    if (OnCancel)
        OnCancel();
}

bool TGridFilterLists::ButtonClick(int x, int y)
{
    TExtStringGrid& g = Grid;
    const TGridCoord at = g.MouseToCell(x, y);
    if (at.X < 0 || at.Y != g.FilterDropDownRow)
        return false;
    const TRect cell = g.CellRect(at.X, at.Y);
    if (x < cell.Right - 16 || x > cell.Right - 3 || y >= cell.Top + 19)
        return false;
    const int col = g.DisplToRealCol(at.X);
    if (!g.GetColumnFilter(col))
        return false;
    Filter.FilterCol = col;

    QStringList names;
    for (const QString& entry : g.FilterList) {
        QString name, condition;
        SplitFilterEntry(entry, name, condition);
        names << name;
    }
    QListWidget* shown = nullptr;
    if (g.FilterDropDownCheck) {
        if (!FCheckList) {
            FCheckList = new TDropCheckList(&g);
            FCheckList->OnSelect = [this](int) { Filter.FilterCheck(FCheckList->CheckedIndexes()); };
            FCheckList->OnCancel = [this] { Filter.FilterCol = -1; };
        }
        const QSignalBlocker quiet(FCheckList.data());
        FCheckList->clear();
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, FCheckList);
            const QString quoted = FilterTextCondition(name);
            bool checked = false;
            for (int i = 0; i < g.Filter.Count() && !checked; ++i)
                checked = g.Filter.Items(i)->Column == col && g.Filter.Items(i)->Condition == quoted;
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        }
        shown = FCheckList;
    } else {
        if (!FList) {
            FList = new TDropList(&g);
            FList->OnSelect = [this](int index) { Filter.FilterSelect(index); };
            FList->OnCancel = [this] { Filter.FilterCol = -1; };
        }
        FList->clear();
        FList->addItems(names);
        FList->setCurrentRow(0);
        shown = FList;
    }
    const TFilterDropDown& look = g.FilterDropDown;
    const platform::TFont font = CanvasFont(look.Font);
    shown->setFont(font);
    QPalette pal = shown->style()->standardPalette();
    if (look.Color != clWindow)
        pal.setColor(QPalette::Base, platform::ToQColor(look.Color));
    pal.setColor(QPalette::Text, platform::ToQColor(font.Color));
    shown->setPalette(pal);
    int width = look.Width, left = cell.Right - 16;
    if (look.ColumnWidth) {
        width = cell.Right - cell.Left;
        left = cell.Left;
    }
    if (look.AutoSize) {
        int widest = 0;
        for (const QString& name : names)
            widest = std::max(widest, shown->fontMetrics().horizontalAdvance(name));
        width = widest + 8 + 24;
    }
    shown->resize(width, look.Height);
    shown->move(g.Client()->mapToGlobal(QPoint(left, cell.Top + 16)));
    shown->show();
    return true;
}

}  // namespace grid::dataops
