#include "grid/editing/SpecialEditors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <limits>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"

namespace grid::editing {

namespace {
std::map<int, TSpecialEditors::TMaker>& Makers()
{
    static std::map<int, TSpecialEditors::TMaker> makers;
    return makers;
}

// One widget serves the types that share a control.
int EditorSlot(TEditorType type)
{
    switch (type) {
    case edComboEdit:
    case edComboList:
        return edComboEdit;
    default:
        return type;
    }
}

QWidget* DefaultEditor(TEditorType type, QWidget* parent)
{
    switch (type) {
    case edComboEdit:
    case edComboList:
        return new QComboBox(parent);
    case edCheckBox:
        return new QCheckBox(parent);
    case edSpinEdit:
        return new QSpinBox(parent);
    case edFloatSpinEdit:
        return new QDoubleSpinBox(parent);
    case edButton:
        return new QPushButton(parent);
    default:
        return nullptr;
    }
}

// The start character is typed once into the editor's text field.
void TypeStartChar(QWidget* editor, QChar ch)
{
    if (ch.isNull() || !editor)
        return;
    QWidget* target = editor->focusProxy() ? editor->focusProxy() : editor;
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->lineEdit())
        target = combo->lineEdit();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(editor))
        spin->selectAll();
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &press);
}
}  // namespace

void TSpecialEditors::RegisterEditor(TEditorType type, TMaker maker) { Makers()[type] = std::move(maker); }

TSpecialEditors::TSpecialEditors(TGridEditController& controller) : FController(controller), FGrid(controller.Grid) {}

TSpecialEditors::~TSpecialEditors() = default;

bool TSpecialEditors::Serves(TEditorType type)
{
    switch (type) {
    case edComboEdit: case edComboList: case edCheckBox: case edSpinEdit: case edFloatSpinEdit: case edButton:
        return true;
    default:
        return false;
    }
}

QWidget* TSpecialEditors::Editor(TEditorType type)
{
    if (!Serves(type))
        return nullptr;
    const int slot = EditorSlot(type);
    QPointer<QWidget>& editor = FEditors[slot];
    if (!editor) {
        const auto maker = Makers().find(type);
        editor = maker != Makers().end() ? maker->second(FGrid, FGrid.Client()) : DefaultEditor(type, FGrid.Client());
        if (editor) {
            editor->setParent(FGrid.Client());
            editor->hide();
        }
    }
    return editor;
}

void TSpecialEditors::ShowSpecialEditor(int c, int r)
{
    TGridEditController& ctl = FController;
    const TEditorType type = ctl.EditControl();
    QWidget* editor = Editor(type);
    if (!editor)
        return;
    const int rc = FGrid.DisplToRealCol(c);
    const TRect m = FGrid.MirrorRect(FGrid.CellRect(c, r));
    const QRect R(m.Left, m.Top, m.Width(), m.Height());
    const int W = std::max(1, R.width() - 1), H = std::max(1, R.height() - 1);
    const QString text = FGrid.GetCellEx(rc, r);
    ctl.FSpecialEditor = true;
    ctl.FEditActive = true;
    ctl.FEditing = true;
    FComboTouched = false;
    if (ctl.OnGetEditorProp)
        ctl.OnGetEditorProp(&FGrid, rc, r, nullptr);

    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(ctl.ComboItems);
        combo->setMaxVisibleItems(std::max(1, ctl.DropDownCount));
        if (type == edComboEdit) {
            combo->setEditable(true);
            const int idx = combo->findText(text);
            combo->setCurrentIndex(idx);
            if (idx < 0 && ctl.FComboIdx >= 0 && ctl.FComboIdx < combo->count())
                combo->setCurrentIndex(ctl.FComboIdx);
            else
                combo->setEditText(text);
        } else {
            combo->setEditable(false);
            int idx = combo->findText(text);
            if (idx < 0 && ctl.FComboIdx >= 0 && ctl.FComboIdx < combo->count())
                idx = ctl.FComboIdx;
            // A value not in the list stays as it is: nothing is selected until the user picks.
            combo->setCurrentIndex(idx);
        }
        QObject::connect(combo, &QComboBox::activated, combo, [this](int) { FComboTouched = true; },
                         Qt::UniqueConnection);
        combo->setGeometry(R.left(), R.top(), W, H);
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        auto* cols = dynamic_cast<TExtColumnGrid*>(&FGrid);
        const bool ranged = cols && cols->SpinMaxValue > cols->SpinMinValue;
        spin->setRange(ranged ? cols->SpinMinValue : std::numeric_limits<int>::min(),
                       ranged ? cols->SpinMaxValue : std::numeric_limits<int>::max());
        spin->setSingleStep(cols ? std::max(1, cols->SpinIncrement) : 1);
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        spin->setValue(ok ? v : 0);
        spin->setGeometry(R.left(), R.top(), W, H);
    } else if (auto* fspin = qobject_cast<QDoubleSpinBox*>(editor)) {
        fspin->setRange(-std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
        bool ok = false;
        const double v = QLocale().toDouble(text.trimmed(), &ok);
        fspin->setValue(ok ? v : text.trimmed().toDouble());
        fspin->setGeometry(R.left(), R.top(), W, H);
    } else if (auto* button = qobject_cast<QAbstractButton*>(editor)) {
        if (type == edCheckBox) {
            button->setCheckable(true);
            button->setChecked(text == FGrid.CheckTrueOf(rc, r));
        } else {
            button->setText(text);
        }
        button->setGeometry(R.left(), R.top(), W, H);
    }
    editor->setEnabled(true);
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    if (auto* combo = qobject_cast<QComboBox*>(editor);
        combo && (FGrid.MouseActions.DirectComboDrop || FGrid.ControlLook.DropDownAlwaysVisible))
        combo->showPopup();
    // The check box and the push button take no typed start.
    const QChar start = std::exchange(ctl.FStartEditChar, QChar());
    if (type != edCheckBox && type != edButton)
        TypeStartChar(editor, start);
    ctl.FEditCtrl = type == edCheckBox ? nullptr : editor;
}

void TSpecialEditors::HideSpecialEditor(int c, int r)
{
    if (FGrid.Destroying)
        return;
    TGridEditController& ctl = FController;
    ctl.FSpecialEditor = false;
    const bool oldBlock = std::exchange(ctl.FBlockKill, true);
    const int rc = FGrid.DisplToRealCol(c);
    ctl.FStartEditChar = QChar();
    const TEditorType type = ctl.EditControl();
    QWidget* editor = FEditors.count(EditorSlot(type)) ? FEditors[EditorSlot(type)].data() : nullptr;
    auto close = [&] {
        ctl.FEditModeOn = false;
        if (editor) {
            const bool hadFocus = editor->isAncestorOf(QApplication::focusWidget()) || editor->hasFocus();
            editor->hide();
            if (hadFocus)
                FGrid.SetFocus();
        }
    };
    if (editor && r >= 0 && r < FGrid.RowCount()) {
        if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
            FGrid.SetInts(rc, r, spin->value());
            close();
        } else if (auto* fspin = qobject_cast<QDoubleSpinBox*>(editor)) {
            FGrid.SetFloats(rc, r, fspin->value());
            close();
        } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (ctl.FEditModeOn) {
                // A list whose value was not in it writes only what the user picked.
                if (type == edComboEdit || combo->currentIndex() >= 0)
                    ctl.SetEditCell(rc, r, combo->currentText());
                close();
            }
        } else {
            close();
        }
    } else {
        close();
    }
    if (type != edNormal && ctl.FEditActive)
        ctl.NotifyEditingDone(rc, r);
    ctl.FBlockKill = oldBlock;
    ctl.FEditActive = false;
}

}  // namespace grid::editing
