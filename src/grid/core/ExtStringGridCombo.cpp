// The combo editor's list as the grid keeps it, the preselection, and the small cell services the
// special editors ask of the grid.
#include "grid/core/ExtStringGrid.h"

namespace grid {

namespace {
int IndexOf(const QStringList& items, const QString& s)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
}  // namespace

void TExtStringGrid::ClearComboString()
{
    ComboStrings.clear();
    ComboObjects.clear();
}

void TExtStringGrid::AddComboString(const QString& s) { AddComboStringObject(s, QVariant()); }

void TExtStringGrid::AddComboStringObject(const QString& s, const QVariant& object)
{
    // A list assigned whole has no objects: they stay aligned with their items.
    while (ComboObjects.size() < ComboStrings.size())
        ComboObjects.append(QVariant());
    ComboStrings.append(s);
    ComboObjects.append(object);
}

bool TExtStringGrid::RemoveComboString(const QString& s)
{
    const int i = IndexOf(ComboStrings, s);
    if (i < 0)
        return false;
    ComboStrings.removeAt(i);
    if (i < ComboObjects.size())
        ComboObjects.removeAt(i);
    return true;
}

bool TExtStringGrid::SetComboSelectionString(const QString& s)
{
    const int i = IndexOf(ComboStrings, s);
    if (i < 0)
        return false;
    FComboIdx = i;
    return true;
}

int TExtStringGrid::GetComboIndex(int c, int r)
{
    if (TGridEditLayer* layer = EditLayer())
        layer->GetEditorProp(c, r);
    return IndexOf(ComboStrings, GetCellEx(c, r));
}

void TExtStringGrid::SetComboIndex(int c, int r, int index)
{
    if (TGridEditLayer* layer = EditLayer())
        layer->GetEditorProp(c, r);
    SetCellEx(c, r, index >= 0 && index < ComboStrings.size() ? ComboStrings[index] : QString());
}

bool TExtStringGrid::CellIsPassword(int c, int r)
{
    bool password = false;
    IsPasswordCell(c, r, password);
    return password;
}

QString TExtStringGrid::EllipsClick(const QString& s)
{
    QString result = s;
    if (OnEllipsClick)
        OnEllipsClick(this, RealCol(), Row(), result);
    return result;
}

}  // namespace grid
