#include "grid/editing/CellFormControls.h"

#include <QAbstractItemView>
#include <QLineEdit>

#include "controls/common/EsgHTMLE.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/editing/editors/EsgEditBtn.h"

namespace grid::editing {

namespace {

bool IsEditType(const QString& type)
{
    return type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK");
}

// Where a rectangle of grid coordinates stands on the grid's client area.
QRect ClientRect(TExtStringGrid& grid, const QRect& r)
{
    return ToQRect(grid.MirrorRect(TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}));
}

// A maximum length of 0 (none given) leaves the box unlimited instead of refusing every character.
int BoxMaxLength(int maxLen) { return maxLen > 0 ? maxLen : 32767; }

}  // namespace

TCellFormControls::TCellFormControls(TExtStringGrid& grid) : Grid(grid)
{
    QObject::connect(Grid.ControlCombo.get(), &QComboBox::activated, &FContext,
                     [this](int index) { CellControlComboSelect(index); });
}

TCellFormControls::~TCellFormControls()
{
    Grid.ControlEdit->OnExit = nullptr;
    Grid.ControlCombo->OnExit = nullptr;
}

bool TCellFormControls::CanEdit(int realCol, int r)
{
    bool can = (Grid.Options & goEditing) || Grid.EditDisabled;
    if (can && Grid.GetReadOnly(realCol, r))
        can = false;
    Grid.CanEditCell(realCol, r, can);
    return can;
}

bool TCellFormControls::MouseDown(int c, int r, int x, int y)
{
    controls::THTMLRenderResult hit;
    if (!Grid.HTMLHitAt(c, r, x, y, QString(), hit) || hit.Anchor != QLatin1String("ctrl"))
        return false;
    const int realCol = Grid.DisplToRealCol(c);
    if (!CanEdit(realCol, r))
        return false;
    // An open box is finished first: its value is in the text read below.
    CellControlExit();
    if (!(Grid.Col() == c && Grid.Row() == r))
        Grid.MoveColRow(c, r);
    QString text = Grid.Cells(realCol, r);
    const QString type = hit.ControlType;
    if (type == QLatin1String("BUTTON")) {
        FCtrlXY = {realCol, r};
        FCtrlDown = true;
        Grid.SetCellControlDown({c, r}, QPoint(x, y));
    } else if (type == QLatin1String("CHECK")) {
        const bool on = hit.ControlValue.toUpper() == QLatin1String("TRUE");
        controls::HTMLSetControlValue(text, hit.ControlID, on ? QStringLiteral("FALSE") : QStringLiteral("TRUE"));
        Grid.SetCells(realCol, r, text);
    } else if (type == QLatin1String("RADIO")) {
        text = controls::HTMLClearRadios(text);
        controls::HTMLSetControlValue(text, hit.ControlID, QStringLiteral("TRUE"));
        Grid.SetCells(realCol, r, text);
    }
    if (OnControlClick)
        OnControlClick(&Grid, r, c, hit.ControlID, type, hit.ControlValue);
    ShowCellControl(text, type, r, c, c, hit.ControlRect, hit.ControlValue, hit.ControlID);
    return true;
}

void TCellFormControls::MouseUp()
{
    if (!std::exchange(FCtrlDown, false))
        return;
    Grid.SetCellControlDown({-1, -1}, QPoint());
}

bool TCellFormControls::FocusNextCellControl(int c, int r, const QString& afterID)
{
    if (c < 0 || r < 0 || c >= Grid.ColCount() || r >= Grid.RowCount())
        return false;
    const QString text = Grid.Cells(Grid.DisplToRealCol(c), r);
    const QString id = controls::HTMLNextControlID(text, afterID);
    if (id.isEmpty())
        return false;
    controls::THTMLRenderResult found;
    if (!Grid.HTMLHitAt(c, r, -1, -1, id, found) || found.ControlRect.isEmpty())
        return false;
    ShowCellControl(text, found.ControlType, r, c, c, found.ControlRect, found.ControlValue, id);
    return true;
}

void TCellFormControls::ShowCellControl(const QString& cellText, const QString& ctrlType, int r, int c, int eventCol,
                                        const QRect& ctrlRect, const QString& ctrlValue, const QString& ctrlID)
{
    const bool edit = IsEditType(ctrlType);
    if (!edit && ctrlType != QLatin1String("COMBO"))
        return;
    FCtrlXY = {Grid.DisplToRealCol(c), r};
    FEventCol = eventCol;
    FCtrlID = ctrlID;
    FCtrlType = ctrlType;
    FCtrlEditing = true;
    const int maxLen = BoxMaxLength(controls::HTMLGetControlMaxLen(cellText, ctrlID));
    QWidget* client = Grid.Client();
    if (edit) {
        TControlEdit& box = *Grid.ControlEdit;
        if (box.parentWidget() != client)
            box.setParent(client);
        const bool password = ctrlType == QLatin1String("PASSWORD");
        box.setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
        box.setStyleSheet(password ? QStringLiteral("QLineEdit { lineedit-password-character: 42; }") : QString());
        box.setInputMask(ctrlType == QLatin1String("MASK")
                             ? editors::InputMaskFromEditMask(controls::HTMLGetControlProp(cellText, ctrlID))
                             : QString());
        box.ControlID = ctrlID;
        box.OnExit = [this] { CellControlExit(); };
        box.setMaxLength(maxLen);
        box.setText(ctrlValue);
        box.setFrame(false);
        const QRect at = ClientRect(Grid, ctrlRect);
        box.setGeometry(at.left() + 1, at.top() + 8, std::max(0, at.width() - 4), 14);
        box.show();
        box.raise();
        box.setFocus();
        return;
    }
    TControlCombo& box = *Grid.ControlCombo;
    if (box.parentWidget() != client)
        box.setParent(client);
    box.ControlID = ctrlID;
    box.setFrame(true);
    QStringList values;
    bool editable = true;
    int dropCount = 8;
    if (OnControlComboList)
        OnControlComboList(&Grid, r, eventCol, ctrlID, ctrlType, ctrlValue, values, editable, dropCount);
    {
        const QSignalBlocker quiet(&box);
        box.clear();
        box.setEditable(editable);
        box.addItems(values);
        box.setCurrentIndex(int(values.indexOf(ctrlValue)));
        if (editable)
            box.setEditText(ctrlValue);
    }
    box.setMaxVisibleItems(std::max(1, dropCount));
    if (QLineEdit* line = box.lineEdit())
        line->setMaxLength(maxLen);
    box.OnExit = [this] { CellControlExit(); };
    const QRect at = ClientRect(Grid, ctrlRect);
    box.setGeometry(at.left() - 1, at.top() + 4, at.width(), std::max(0, at.height() - 4));
    box.show();
    box.raise();
    box.setFocus();
    box.showPopup();
}

void TCellFormControls::CellControlExit()
{
    if (!std::exchange(FCtrlEditing, false))
        return;
    const bool combo = FCtrlType == QLatin1String("COMBO");
    QString value;
    if (combo) {
        value = Grid.ControlCombo->currentText();
        Grid.ControlCombo->hidePopup();
        Grid.ControlCombo->hide();
    } else {
        value = Grid.ControlEdit->text();
        Grid.ControlEdit->hide();
    }
    const TGridCoord cell = FCtrlXY;
    if (cell.X >= 0 && cell.Y >= 0 && cell.Y < Grid.RowCount()) {
        QString text = Grid.Cells(cell.X, cell.Y);
        if (controls::HTMLSetControlValue(text, FCtrlID, value))
            Grid.SetCells(cell.X, cell.Y, text);
    }
    if (OnControlEditDone)
        OnControlEditDone(&Grid, cell.Y, FEventCol, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
}

void TCellFormControls::CellControlComboSelect(int index)
{
    if (!OnControlComboSelect || !FCtrlEditing)
        return;
    OnControlComboSelect(&Grid, FCtrlXY.Y, FEventCol, index, FCtrlID, Grid.ControlCombo->itemText(index));
}

}  // namespace grid::editing
