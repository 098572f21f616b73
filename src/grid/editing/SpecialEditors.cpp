#include "grid/editing/SpecialEditors.h"
#include "platform/OwnedObject.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QLocale>

#include "grid/core/CellGraphic.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextUtils.h"
#include "grid/editing/EditLink.h"
#include "grid/editing/ExtRichEdit.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridRichText.h"
#include "grid/editing/InplaceEdit.h"
#include "grid/editing/editors/GridButton.h"
#include "grid/editing/editors/GridCheckBox.h"
#include "grid/editing/editors/GridCombo.h"
#include "grid/editing/editors/GridDatePickers.h"
#include "grid/editing/editors/GridDropDownEditors.h"
#include "grid/editing/editors/GridEditBtn.h"
#include "grid/editing/editors/GridSpin.h"
#include "platform/TCanvas.h"

namespace grid::editing {

using editors::TGridButton;
using editors::TGridCheckBox;
using editors::TGridCombo;
using editors::TGridEditBtn;
using editors::TGridUnitEditBtn;
using editors::TGridEditorHost;
using editors::TGridSpin;

namespace {
bool IsSpinType(TEditorType type)
{
    return type == edSpinEdit || type == edFloatSpinEdit || type == edTimeSpinEdit || type == edDateSpinEdit;
}

bool IsComboType(TEditorType type) { return type == edComboEdit || type == edComboList; }

bool IsDateType(TEditorType type)
{
    return type == edDateEdit || type == edDateEditUpDown || type == edTimeEdit || type == edDateTimeEdit;
}

void SendKey(QWidget* editor, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor, &press);
}

bool IsEditBtnType(TEditorType type)
{
    return type == edEditBtn || type == edNumericEditBtn || type == edFloatEditBtn || type == edMaskEditBtn;
}

bool IsUnitType(TEditorType type)
{
    return type == edUnitEditBtn || type == edNumericUnitEditBtn || type == edFloatUnitEditBtn;
}

// The drop-down editor types follow each other in the kinds' order.
bool IsDropDownType(TEditorType type) { return type >= edTrackbarDropDown && type <= edExtGridDropDown; }
TGridDropDownKind DropDownKind(TEditorType type) { return TGridDropDownKind(type - edTrackbarDropDown); }

// The looks whose combo editor is drawn flat and etched.
bool FlatLook(TGridLook look)
{
    switch (look) {
    case glSoft: case glVUR: case glXP: case glListView: case glVista: case glWin7: case glOffice2007:
        return true;
    default:
        return false;
    }
}

QDate ParseDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDate d = QLocale().toDate(t, QLocale::ShortFormat);
    if (!d.isValid())
        d = QLocale().toDate(t, QLocale::LongFormat);
    if (!d.isValid())
        d = QDate::fromString(t, Qt::ISODate);
    return d;
}

template <class W>
void Dispose(QPointer<W>& widget)
{
    if (!widget)
        return;
    widget->Host = {};
    widget->disconnect();
    platform::Destroy_Now(widget);
}
}  // namespace

TSpecialEditors::TSpecialEditors(TGridEditController& controller) : FController(controller), FGrid(controller.Grid) {}

// The controls outlive nothing that their handlers reach: they go before this object does.
TSpecialEditors::~TSpecialEditors()
{
    Dispose(FCombo);
    Dispose(FSpin);
    Dispose(FCheck);
    Dispose(FButton);
    Dispose(FDatePicker);
    Dispose(FDateTimePicker);
    Dispose(FEditBtn);
    Dispose(FUnitEditBtn);
    platform::Destroy_Now(FInplaceRich);
    platform::Destroy_Now(FWorkRich);
    for (QPointer<QWidget>& dropDown : FDropDowns) {
        if (!dropDown)
            continue;
        if (editors::TGridEditorHost* host = editors::GridDropDownHost(dropDown))
            *host = {};
        editors::SetGridDropDownEvents(dropDown, nullptr, nullptr);
        platform::Destroy_Now(dropDown);
    }
}

bool TSpecialEditors::Serves(TEditorType type)
{
    return IsComboType(type) || IsSpinType(type) || type == edCheckBox || type == edButton || IsDropDownType(type)
           || IsDateType(type) || IsEditBtnType(type) || IsUnitType(type) || type == edCustom || type == edRichEdit;
}

void TSpecialEditors::SetSpinClick(bool up, bool down)
{
    FSpinUpClick = up;
    FSpinDnClick = down;
}

void TSpecialEditors::ApplyLooks()
{
    const TExtStringGrid::TEditorLooks& looks = FGrid.EditorLooks();
    // Without the grid's tones the colours stay as the application set them (by default none).
    if (FCombo) {
        TGridCombo& combo = *FCombo;
        if (looks.Tones) {
            combo.ButtonColor = looks.ButtonColor;
            combo.ButtonColorHot = looks.HotColor;
            combo.ButtonColorDown = looks.DownColor;
            combo.ButtonBorderColor = looks.BorderColor;
            combo.BorderColor = looks.ComboBorderColor;
        }
        const bool flat = FlatLook(FGrid.Look());
        combo.SetFlat(flat || looks.ComboFlat);
        combo.SetEtched(flat);
        combo.update();
    }
    if (looks.Tones) {
        for (editors::TEsgEditBtn* edit : {static_cast<editors::TEsgEditBtn*>(FEditBtn.data()),
                                            static_cast<editors::TEsgEditBtn*>(FUnitEditBtn.data())}) {
            if (!edit)
                continue;
            editors::TEsgEditButton& button = *edit->Button();
            button.ButtonColor = looks.ButtonColor;
            button.ButtonColorHot = looks.HotColor;
            button.ButtonColorDown = looks.DownColor;
            button.ButtonBorderColor = looks.BorderColor;
            button.SpeedButton()->update();
        }
    }
    if (FSpin && looks.Tones) {
        TGridSpin& spin = *FSpin;
        spin.ButtonColor = looks.ButtonColor;
        spin.ButtonColorHot = looks.HotColor;
        spin.ButtonColorDown = looks.DownColor;
        spin.ButtonBorderColor = looks.BorderColor;
        spin.UpdateButtons();
    }
}

bool TSpecialEditors::IsOpen(const QWidget* editor) const
{
    return editor && FOpen == editor && FController.FSpecialEditor && !FController.FBlockKill && editor->isVisible();
}

void TSpecialEditors::Attach(TGridEditorHost& host, QWidget* editor)
{
    TGridEditController& ctl = FController;
    host.Validate = [this](const QString& text) {
        FGrid.SetCurrentCell(text);
        return FController.ValidateCell(text);
    };
    host.ValidatedText = [&ctl] { return ctl.NewCellText(); };
    host.DoneEdit = [this, editor](int key, Qt::KeyboardModifiers mods) {
        if (!IsOpen(editor))
            return;
        platform::TShiftState shift = platform::ShiftStateFromQt(mods);
        if (key == Qt::Key_Backtab)
            shift |= platform::ssShift;
        FController.DoneInplaceEdit(key ? platform::VirtualKeyFromQt(key, mods) : 0, shift);
    };
    host.AdvanceShow = [this] {
        if (FGrid.Navigation.AdvanceOnEnter && FGrid.Navigation.AdvanceAutoEdit && !FController.EditMode())
            FController.ShowInplaceEdit();
    };
    host.HideEditor = [this, editor] {
        if (IsOpen(editor))
            FController.HideInplaceEdit();
    };
    host.WantsTab = [&ctl] { return ctl.WantsTabInEditor(); };
    host.GoTabs = [this] { return (FGrid.Options & goTabs) != 0; };
    host.TabStep = [this, editor](bool backward) {
        if (!IsOpen(editor))
            return;
        FController.HideInplaceEdit();
        FGrid.SetFocus();
        FController.TabToNextCell(backward);
    };
    host.CellCache = [&ctl] { return ctl.CellCache(); };
    host.CurrentCellText = [this] { return FGrid.GetCurrentCell(); };
    host.SetCurrentCell = [this](const QString& text) { FGrid.SetCurrentCell(text); };
    host.EllipsClick = [this](const QString& text) { return FGrid.EllipsClick(text); };
    host.CursorWalk = [this, editor](bool right) {
        if (!IsOpen(editor))
            return;
        TExtStringGrid& g = FGrid;
        const int col = g.Col(), row = g.Row();
        const int neighbour = right ? col + g.CellSpan(g.RealCol(), row).X + 1 : col - 1;
        const bool inside = right ? col < g.ColCount() - 1 - g.FixedRightCols : col > g.FixedCols();
        if (inside && g.IsCheckOrButtonCell(g.DisplToRealCol(neighbour), row)) {
            // No editor opens on a check box or button cell: the value is taken and the cell left.
            const QString value = EditorValue(editor);
            g.SetCurrentCell(value);
            if (FController.ValidateCell(value)) {
                FController.HideInplaceEdit();
                g.SetFocus();
                g.MoveColRow(neighbour, row);
            }
            return;
        }
        g.SetFocus();
        const TAdvanceDirection direction = g.Navigation.AdvanceDirection();
        g.Navigation.SetAdvanceDirection(adLeftRight);
        FController.AdvanceEdit(col, row, true, true, right, false, false);
        g.Navigation.SetAdvanceDirection(direction);
        if (g.Navigation.CursorWalkAlwaysEdit && !FController.EditMode())
            FController.ShowInplaceEdit();
    };
    host.GridKey = [this](int key, Qt::KeyboardModifiers mods) {
        if (FGrid.Destroying)
            return;
        FGrid.SetFocus();
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(&FGrid, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(&FGrid, &release);
    };
}

void TSpecialEditors::DblClickCell(int row, int col)
{
    if (FGrid.OnDblClickCell)
        FGrid.OnDblClickCell(&FGrid, row, col);
}

TGridCombo* TSpecialEditors::Combo()
{
    if (!FCombo) {
        auto* combo = new TGridCombo(FGrid, FGrid.Client());
        combo->hide();
        combo->setEnabled(false);
        Attach(combo->Host, combo);
        combo->OnComboChange = [this](int c, int r, int index, const QString& text) {
            if (FController.OnComboChange)
                FController.OnComboChange(&FGrid, c, r, index, text);
        };
        combo->OnComboObjectChange = [this](int c, int r, int index, const QString& text, const QVariant& object) {
            if (FGrid.OnComboObjectChange)
                FGrid.OnComboObjectChange(&FGrid, c, r, index, text, object);
        };
        combo->OnEditChange = [this, combo](int c, int r, const QString& text) {
            if (!FEditStart && IsOpen(combo) && FGrid.OnEditChange)
                FGrid.OnEditChange(&FGrid, c, r, text);
        };
        combo->OnKeyPress = [this](QChar& key) {
            if (FGrid.OnKeyPress)
                FGrid.OnKeyPress(key);
        };
        combo->OnDblClickCell = [this](int r, int c) { DblClickCell(r, c); };
        // What the user does to the list or the text from the opening on.
        auto touched = [this, combo] {
            if (!FEditStart && IsOpen(combo))
                FComboTouched = true;
        };
        combo->OnDropDown = [this] { FGrid.ComboDropDown(FGrid.Row(), FGrid.Col()); };
        combo->OnDropUp = [this, combo] {
            FGrid.ComboCloseUp(FGrid.Row(), FGrid.Col());
            // With DirectComboClose closing the list closes the editor, once the list is gone.
            if (FGrid.MouseActions.DirectComboClose && IsOpen(combo)) {
                QPointer<TGridCombo> guard(combo);
                QMetaObject::invokeMethod(
                    combo,
                    [this, guard] {
                        if (guard && IsOpen(guard))
                            FController.HideInplaceEdit();
                    },
                    Qt::QueuedConnection);
            }
        };
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo, touched);
        QObject::connect(combo, &QComboBox::editTextChanged, combo, touched);
        FCombo = combo;
    }
    return FCombo;
}

TGridSpin* TSpecialEditors::Spin()
{
    if (!FSpin) {
        auto* spin = new TGridSpin(FGrid, FGrid.Client());
        spin->hide();
        spin->setEnabled(false);
        Attach(spin->Host, spin);
        auto report = [this](auto& event) {
            return [this, &event](auto value, bool up) {
                if (event)
                    event(&FGrid, FGrid.Col(), FGrid.Row(), value, up);
            };
        };
        spin->OnSpinClick = report(FGrid.OnSpinClick);
        spin->OnFloatSpinClick = report(FGrid.OnFloatSpinClick);
        spin->OnDateSpinClick = [this](double value, bool up) {
            if (FGrid.OnDateSpinClick)
                FGrid.OnDateSpinClick(&FGrid, FGrid.Col(), FGrid.Row(), editors::FromDayNumber(value), up);
        };
        spin->OnTimeSpinClick = [this](double value, bool up) {
            if (FGrid.OnTimeSpinClick)
                FGrid.OnTimeSpinClick(&FGrid, FGrid.Col(), FGrid.Row(), editors::FromDayNumber(value), up);
        };
        QObject::connect(spin, &QLineEdit::textChanged, spin, [this, spin](const QString& text) { TextChanged(spin, text); });
        FSpin = spin;
    }
    return FSpin;
}

TGridCheckBox* TSpecialEditors::CheckBox()
{
    if (!FCheck) {
        auto* check = new TGridCheckBox(FGrid, FGrid.Client());
        check->hide();
        check->setEnabled(false);
        Attach(check->Host, check);
        FCheck = check;
    }
    return FCheck;
}

TGridButton* TSpecialEditors::Button()
{
    if (!FButton) {
        auto* button = new TGridButton(FGrid, FGrid.Client());
        button->hide();
        button->setEnabled(false);
        Attach(button->Host, button);
        FButton = button;
    }
    return FButton;
}

QString TSpecialEditors::EditorValue(const QWidget* editor) const
{
    if (editor && editor == FEditBtn)
        return FEditBtn->text();
    if (editor && editor == FUnitEditBtn)
        return FUnitEditBtn->TextAndUnit();
    return FCombo ? FCombo->EditValue() : QString();
}

TGridEditBtn* TSpecialEditors::EditBtn()
{
    if (!FEditBtn) {
        auto* edit = new TGridEditBtn(FGrid, FGrid.Client());
        edit->hide();
        edit->setEnabled(false);
        Attach(edit->Host, edit);
        edit->OnKeyPress = [this](QChar& key) {
            if (FGrid.OnKeyPress)
                FGrid.OnKeyPress(key);
        };
        edit->OnDblClickCell = [this](int r, int c) { DblClickCell(r, c); };
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this, edit](const QString& text) { TextChanged(edit, text); });
        FEditBtn = edit;
    }
    return FEditBtn;
}

TGridUnitEditBtn* TSpecialEditors::UnitEditBtn()
{
    if (!FUnitEditBtn) {
        auto* edit = new TGridUnitEditBtn(FGrid, FGrid.Client());
        edit->hide();
        edit->setEnabled(false);
        Attach(edit->Host, edit);
        edit->OnUnitChanged = [this](const QString& unit) { FGrid.UnitChanged(unit); };
        FUnitEditBtn = edit;
    }
    return FUnitEditBtn;
}

QWidget* TSpecialEditors::DropDown(TGridDropDownKind kind)
{
    QPointer<QWidget>& slot = FDropDowns[kind];
    if (!slot) {
        QWidget* editor = editors::CreateGridDropDown(kind, FGrid, FGrid.Client());
        if (editors::TGridEditorHost* host = editors::GridDropDownHost(editor))
            Attach(*host, editor);
        editors::SetGridDropDownEvents(
            editor,
            [this, editor](const QString& text) {
                if (!FEditStart && IsOpen(editor) && FGrid.OnEditChange)
                    FGrid.OnEditChange(&FGrid, FOpenCol, FOpenRow, text);
            },
            [this](QChar& key) {
                if (FGrid.OnKeyPress)
                    FGrid.OnKeyPress(key);
            });
        if (auto* memo = dynamic_cast<editors::TGridMemoDropDown*>(editor)) {
            QObject::connect(memo, &QLineEdit::textChanged, memo, [this, memo] { MemoDropDownChange(memo, false); });
            memo->OnMemoChange = [this, memo] { MemoDropDownChange(memo, true); };
        }
        if (auto* e = dynamic_cast<editors::TGridColorDropDown*>(editor)) {
            e->OnSelect = [this, e] {
                if (OnColorSelect)
                    OnColorSelect(&FGrid, FGrid.Col(), FGrid.Row(), e->SelectedColor(), e->SelectedColorText());
            };
        } else if (auto* e = dynamic_cast<editors::TGridImageDropDown*>(editor)) {
            e->OnSelect = [this, e] {
                if (OnImageSelect)
                    OnImageSelect(&FGrid, FGrid.Col(), FGrid.Row(), e->ItemIndex());
            };
        }
        slot = editor;
    }
    return slot;
}

// Live edit text of the memo: the cell follows every change of its edit or of its open memo.
void TSpecialEditors::MemoDropDownChange(QWidget* editor, bool fromMemo)
{
    if (FEditStart || !IsOpen(editor) || !FController.FEditModeOn || FOpenRow >= FGrid.RowCount())
        return;
    auto* memo = static_cast<editors::TGridMemoDropDown*>(editor);
    const QStringList lines =
        fromMemo && memo->Memo() ? dropdowns::SplitLines(memo->Memo()->toPlainText()) : memo->MemoText();
    const TPoint base = FGrid.BaseCell(FGrid.DisplToRealCol(FOpenCol), FOpenRow);
    FController.SetEditCell(base.X, base.Y, lines.join(QLatin1Char('\n')));
}

TExtRichEdit* TSpecialEditors::InplaceRichEdit()
{
    if (!FInplaceRich) {
        auto* rich = new TExtRichEdit(&FGrid, FGrid.Client());
        rich->hide();
        rich->setEnabled(false);
        rich->setFrameShape(QFrame::NoFrame);
        QObject::connect(rich, &QTextEdit::selectionChanged, rich, [this] {
            if (FGrid.OnRichEditSelectionChange)
                FGrid.OnRichEditSelectionChange(&FGrid);
        });
        FInplaceRich = rich;
    }
    return FInplaceRich;
}

TExtRichEdit* TSpecialEditors::RichEdit()
{
    if (!FWorkRich) {
        auto* rich = new TExtRichEdit(&FGrid, FGrid.Client());
        rich->WorkControl = true;
        rich->setLineWrapMode(QTextEdit::NoWrap);
        rich->hide();
        rich->setGeometry(0, 0, 0, 0);
        rich->setFrameShape(QFrame::NoFrame);
        rich->setAttribute(Qt::WA_TranslucentBackground);
        rich->setFocusPolicy(Qt::NoFocus);
        FWorkRich = rich;
    }
    return FWorkRich;
}

TEditLink* TSpecialEditors::OpenLink() const { return FOpenLink; }

void TSpecialEditors::LinkGone(const TEditLink* link)
{
    if (FOpenLink == link)
        FOpenLink = nullptr;
}

void TSpecialEditors::CancelRichEdit()
{
    if (FOpenType != edRichEdit || !FController.EditMode())
        return;
    FRichCancel = true;
    FController.HideInplaceEdit();
    FRichCancel = false;
    FGrid.SetFocus();
}

void TSpecialEditors::CellLook(int c, int r, TColor& color, TFontDesc& font)
{
    TGridDrawState state = 0;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    bool wordWrap = false;
    TCellGradientDirection gradient{};
    color = clNone;
    FGrid.GetVisualProperties(c, r, state, false, false, true, color, colorTo, mirror, mirrorTo, font, hAlign, vAlign,
                              wordWrap, gradient);
}

void TSpecialEditors::ShowLink(int c, int r)
{
    TGridEditController& ctl = FController;
    auto* link = dynamic_cast<TEditLink*>(FGrid.EditLink);
    if (!link) {
        // Without a link an edCustom cell opens nothing.
        ctl.FEditModeOn = false;
        return;
    }
    if (FOpen) {
        const bool oldBlock = std::exchange(ctl.FBlockKill, true);
        FOpen->hide();
        ctl.FBlockKill = oldBlock;
        FOpen = nullptr;
    }
    const int rc = FGrid.DisplToRealCol(c);
    const TPoint base = FGrid.BaseCell(rc, r);
    const QString text = FGrid.GetCellEx(base.X, base.Y);
    ctl.FSpecialEditor = true;
    ctl.FEditActive = true;
    ctl.FEditing = true;
    FOpenLink = link;
    FOpenType = edCustom;
    FOpenCol = c;
    FOpenRow = r;
    TColor color = clNone;
    TFontDesc font;
    CellLook(c, r, color, font);
    const QChar start = std::exchange(ctl.FStartEditChar, QChar());
    link->Open(FGrid, TPoint{rc, r}, ToQRect(FGrid.MirrorRect(FGrid.CellRect(c, r))), color, font, text, start);
    ctl.FEditCtrl = FOpenLink ? FOpenLink->GetEditControl() : nullptr;
}

void TSpecialEditors::ShowRich(int c, int r)
{
    TGridEditController& ctl = FController;
    TExtRichEdit* rich = InplaceRichEdit();
    const int rc = FGrid.DisplToRealCol(c);
    const TPoint base = FGrid.BaseCell(rc, r);
    rich->ReCreate();
    rich->setFrameShape(QFrame::NoFrame);
    rich->setGeometry(EditorRect(FGrid, c, r));
    ctl.GetEditorProp(rc, r, nullptr);
    rich->LockSize();
    CellToRich(FGrid, base.X, base.Y, *rich);
    if (FGrid.Navigation.EditSelectAll)
        rich->selectAll();
    else
        rich->moveCursor(QTextCursor::End);
    rich->document()->setDocumentMargin(2);
}

QWidget* TSpecialEditors::Editor(TEditorType type)
{
    if (IsDropDownType(type))
        return DropDown(DropDownKind(type));
    if (IsComboType(type))
        return Combo();
    if (IsSpinType(type))
        return Spin();
    if (type == edCheckBox)
        return CheckBox();
    if (type == edButton)
        return Button();
    if (type == edDateTimeEdit)
        return DateAndTimePicker();
    if (IsDateType(type))
        return DatePicker();
    if (IsEditBtnType(type))
        return EditBtn();
    if (IsUnitType(type))
        return UnitEditBtn();
    if (type == edRichEdit)
        return InplaceRichEdit();
    return nullptr;
}

// Live edit text: the cell follows the spin editor while the user types.
void TSpecialEditors::TextChanged(const QWidget* editor, const QString& text)
{
    if (FEditStart || !IsOpen(editor))
        return;
    TGridEditController& ctl = FController;
    if (ctl.FShowEditProcess && ctl.FEditModeOn && FOpenRow < FGrid.RowCount())
        ctl.SetEditCell(FGrid.DisplToRealCol(FOpenCol), FOpenRow, text);
    if (FGrid.OnEditChange)
        FGrid.OnEditChange(&FGrid, FOpenCol, FOpenRow, text);
}

void TSpecialEditors::ShowCombo(int c, int r, const QString& text)
{
    TGridEditController& ctl = FController;
    TGridCombo* combo = Combo();
    const TEditorType type = ctl.EditControl();
    const int rc = FGrid.DisplToRealCol(c);
    const QSignalBlocker block(combo);
    combo->setMaxVisibleItems(std::max(1, FGrid.ControlLook.DropDownCount));
    ctl.GetEditorProp(rc, r, nullptr);
    combo->hidePopup();
    combo->SetPickOnly(type == edComboList);
    combo->clear();
    for (int i = 0; i < FGrid.ComboStrings.size(); ++i)
        combo->addItem(FGrid.ComboStrings[i], i < FGrid.ComboObjects.size() ? FGrid.ComboObjects[i] : QVariant());
    const int preselect = FGrid.FComboIdx >= 0 && FGrid.FComboIdx < combo->count() ? FGrid.FComboIdx : -1;
    if (type == edComboEdit) {
        const int index = combo->findText(text, Qt::MatchFixedString);
        combo->setCurrentIndex(index >= 0 ? index : preselect);
        if (index >= 0 || preselect < 0)
            combo->setEditText(text);
        combo->lineEdit()->setMaxLength(FGrid.MaxComboLength > 0 ? FGrid.MaxComboLength : 32767);
    } else {
        int index = combo->findText(FGrid.GetCellEx(rc, r), Qt::MatchFixedString);
        if (index < 0)
            index = combo->findText(text, Qt::MatchFixedString);
        // A stored value that is not in the list stays as it is: nothing is picked (or only the
        // application's preselection is shown) until the user picks.
        combo->setCurrentIndex(index >= 0 ? index : preselect);
    }
    ApplyLooks();
    if (FGrid.Navigation.AutoComboDropSize)
        combo->SizeDropDownWidth();
    else if (combo->DropWidth() > 0)
        combo->SetDroppedWidth(combo->DropWidth());
}

void TSpecialEditors::ShowSpin(int c, int r, const QString& text)
{
    TGridEditController& ctl = FController;
    TGridSpin* spin = Spin();
    const int rc = FGrid.DisplToRealCol(c);
    spin->ExcelStyleDecimalSeparator = ctl.ExcelStyleDecimalSeparator;
    if (auto* columns = dynamic_cast<TExtColumnGrid*>(&FGrid)) {
        spin->MinValue = columns->SpinMinValue;
        spin->MaxValue = columns->SpinMaxValue;
        spin->Increment = columns->SpinIncrement;
    }
    ApplyLooks();
    ctl.GetEditorProp(rc, r, nullptr);
    switch (ctl.EditControl()) {
    case edFloatSpinEdit: {
        spin->SetSpinType(editors::sptFloat);
        bool ok = false;
        const double value = CleanNumberText(text.trimmed()).toDouble(&ok);
        // A text that is no number is shown as it stands, never as a limit.
        if (ok)
            spin->SetFloatValue(value);
        else
            spin->setText(text);
        break;
    }
    case edTimeSpinEdit:
        spin->setText(text);
        spin->SetSpinType(editors::sptTime);
        break;
    case edDateSpinEdit: {
        spin->SetSpinType(editors::sptDate);
        const QDate date = ParseDate(text);
        spin->SetDateValue(editors::ToDayNumber(date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime::currentDateTime()));
        break;
    }
    default:
        spin->SetSpinType(editors::sptNormal);
        spin->SetValue(editors::TextToInt(text));
        break;
    }
}

void TSpecialEditors::ShowEditBtn(int c, int r, const QString& text)
{
    TGridEditBtn* edit = EditBtn();
    ApplyLooks();
    const TEditorType type = FController.EditControl();
    edit->EditType = type;
    // The mask goes first: setting it later would reformat the text.
    QString mask;
    if (type == edMaskEditBtn)
        if (auto* columns = dynamic_cast<TExtColumnGrid*>(&FGrid))
            mask = editors::InputMaskFromEditMask(columns->GetEditMask(c, r));
    edit->setInputMask(mask);
    edit->setText(text);
    edit->setMaxLength(EditLimit());
    // The grid's lookup, as the text editor has it.
    const TExtInplaceEdit* normal = FController.NormalEdit();
    edit->Lookup = normal->Lookup;
    edit->LookupCaseSensitive = normal->LookupCaseSensitive;
    edit->LookupItems = normal->LookupItems;
    edit->WorkMode = true;
}

void TSpecialEditors::ShowUnitEditBtn(int c, int r, const QString& text)
{
    TGridUnitEditBtn* edit = UnitEditBtn();
    ApplyLooks();
    edit->EditType = FController.EditControl();
    edit->setMaxLength(EditLimit());
    edit->SetUnitID(QString());
    edit->clear();
    // The application may set this cell's units here, so the value is split after.
    FController.GetEditorProp(FGrid.DisplToRealCol(c), r, nullptr);
    edit->SetTextAndUnit(text);
}

int TSpecialEditors::EditLimit() const
{
    if (auto* columns = dynamic_cast<const TExtColumnGrid*>(&FGrid); columns && columns->GetEditLimit() > 0)
        return columns->GetEditLimit();
    return FGrid.MaxEditLength() > 0 ? FGrid.MaxEditLength() : 32767;
}

void TSpecialEditors::ShowSpecialEditor(int c, int r)
{
    TGridEditController& ctl = FController;
    const TEditorType type = ctl.EditControl();
    InvokedFocusChange = false;
    if (type == edCustom) {
        ShowLink(c, r);
        return;
    }
    QWidget* editor = Editor(type);
    if (!editor)
        return;
    if (FOpen && FOpen != editor) {
        const bool oldBlock = std::exchange(ctl.FBlockKill, true);
        FOpen->hide();
        ctl.FBlockKill = oldBlock;
    }
    const int rc = FGrid.DisplToRealCol(c);
    const QRect place = EditorRect(FGrid, c, r);
    const TPoint base = FGrid.BaseCell(rc, r);
    const QString text = FGrid.GetCellEx(base.X, base.Y);
    // A data-image cell holds an image index: any other text is reported and opens no editor,
    // rather than being read as some index and written back over the cell.
    if (type == edImagePickerDropDown && FGrid.GetCellType(base.X, base.Y) == ctDataImage) {
        try {
            FGrid.GetInts(base.X, base.Y);
        } catch (...) {
            ctl.FEditModeOn = false;
            throw;
        }
    }
    ctl.FSpecialEditor = true;
    ctl.FEditActive = true;
    ctl.FEditing = true;
    FOpen = editor;
    FOpenType = type;
    FOpenCol = c;
    FOpenRow = r;
    FEditStart = true;
    FComboTouched = false;

    if (IsComboType(type)) {
        ShowCombo(c, r, text);
        editor->setGeometry(place);
    } else if (IsSpinType(type)) {
        editor->setGeometry(place);
        ShowSpin(c, r, text);
    } else if (IsDropDownType(type)) {
        ShowDropDown(c, r, text, editor);
        editor->setGeometry(place);
    } else if (IsDateType(type)) {
        editor->setGeometry(place);
        ShowDatePicker(c, r, text, type);
    } else if (type == edCheckBox) {
        CheckBox()->setGeometry(place);
        CheckBox()->SetCaption(text);
        // The box shows whether the cell's text is its check-true text.
        const bool state = text == FGrid.CheckTrueOf(base.X, base.Y);
        CheckBox()->setChecked(state);
        CheckBox()->OpenedChecked = state;
    } else if (IsEditBtnType(type)) {
        editor->setGeometry(place);
        ShowEditBtn(c, r, text);
    } else if (IsUnitType(type)) {
        editor->setGeometry(place);
        ShowUnitEditBtn(c, r, text);
    } else if (type == edRichEdit) {
        ShowRich(c, r);
    } else if (type == edButton) {
        // One pixel outside the cell on every side.
        Button()->setGeometry(place.adjusted(-1, -1, 1, 1));
        Button()->SetCaption(text);
    }
    // The cell's background as the painter would use it.
    TColor brush = clNone;
    TFontDesc font;
    CellLook(c, r, brush, font);
    const bool ownColour = type == edColorPickerDropDown || type == edImagePickerDropDown;
    if (brush != clNone && type != edButton && !ownColour) {
        QPalette palette = editor->palette();
        palette.setColor(QPalette::Base, platform::ToQColor(brush));
        palette.setColor(QPalette::Window, platform::ToQColor(brush));
        editor->setPalette(palette);
    }
    editor->setEnabled(true);
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);

    const QChar start = std::exchange(ctl.FStartEditChar, QChar());
    if (auto* combo = dynamic_cast<TGridCombo*>(editor)) {
        if (combo->lineEdit()) {
            if (FGrid.Navigation.EditSelectAll)
                combo->lineEdit()->selectAll();
            else
                combo->lineEdit()->end(false);
        }
        if (FGrid.MouseActions.DirectComboDrop || FGrid.ControlLook.DropDownAlwaysVisible)
            static_cast<QComboBox*>(combo)->showPopup();
        if (FGrid.MouseActions.DirectEdit && FGrid.MouseActions.DirectComboDrop) {
            const TGridRect s = FGrid.Selection();
            FGrid.SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        }
        FEditStart = false;
        combo->TypeStart(start);
    } else if (auto* spin = dynamic_cast<TGridSpin*>(editor)) {
        spin->selectAll();
        FEditStart = false;
        if (!start.isNull()) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(start));
            QApplication::sendEvent(spin, &press);
        }
        // Editing began with a click on the cell's spin indicator: the editor opens one step on.
        if (std::exchange(FSpinUpClick, false))
            spin->UpStep();
        if (std::exchange(FSpinDnClick, false))
            spin->DownStep();
    }
    if (auto* edit = dynamic_cast<TGridEditBtn*>(editor)) {
        FEditStart = false;
        edit->TypeStart(start);
    } else if (auto* unit = dynamic_cast<TGridUnitEditBtn*>(editor)) {
        FEditStart = false;
        unit->TypeStart(start);
    }
    if (type == edRichEdit) {
        FEditStart = false;
        if (!start.isNull()) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(start));
            QApplication::sendEvent(editor, &press);
        }
        FInplaceRich->UnlockSize();
    }
    if (IsDropDownType(type)) {
        FEditStart = false;
        if (!start.isNull()) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(start));
            QApplication::sendEvent(editor, &press);
        }
        // An edit started by a press puts the caret of the text-like drop-downs under the mouse.
        QPoint press;
        const bool caretByPress = type == edTrackbarDropDown || type == edMemoDropDown || type == edCalculatorDropDown;
        if (caretByPress && ctl.NormalEdit()->TakeLButPress(press) && editor->geometry().contains(press)) {
            auto* line = static_cast<QLineEdit*>(static_cast<dropdowns::TExtCustomDropDown*>(editor));
            line->deselect();
            line->setCursorPosition(line->cursorPositionAt(press - editor->pos()));
        }
        if (auto* dd = dynamic_cast<dropdowns::TExtCustomDropDown*>(editor); dd && FGrid.MouseActions.DirectComboDrop)
            dd->ShowDropDown();
        ShownDropDown(editor, text);
    }
    if (IsDateType(type)) {
        FEditStart = false;
        // The caret starts in the first field.
        auto* picker = static_cast<QDateTimeEdit*>(editor);
        picker->setCurrentSectionIndex(0);
        picker->setSelectedSection(picker->sectionAt(0));
        if (type != edDateTimeEdit && FGrid.MouseActions.DirectDateDrop)
            SendKey(editor, Qt::Key_F4, {});
        // The time editor and the date-and-time editor take no start character.
        if (!start.isNull() && (type == edDateEdit || type == edDateEditUpDown))
            SendKey(editor, 0, QString(start));
    }
    FEditStart = false;
    ctl.FEditCtrl = type == edCheckBox || type == edDateTimeEdit ? nullptr : editor;
}

void TSpecialEditors::ShowDropDown(int c, int r, const QString& text, QWidget* editor)
{
    using namespace editors;
    auto* dd = dynamic_cast<dropdowns::TExtCustomDropDown*>(editor);
    if (!dd)
        return;
    TGridEditController& ctl = FController;
    const int rc = FGrid.DisplToRealCol(c);
    const TPoint base = FGrid.BaseCell(rc, r);
    dd->SetDropDownHeader(FGrid.ControlLook.DropDownHeader);
    dd->SetDropDownFooter(FGrid.ControlLook.DropDownFooter);
    dd->OnDropDownHeaderButtonClick = [this](QObject*, int index) {
        if (OnDropDownHeaderButtonClick)
            OnDropDownHeaderButtonClick(&FGrid, FGrid.Col(), FGrid.Row(), index);
    };
    dd->OnDropDownFooterButtonClick = [this](QObject*, int index) {
        if (OnDropDownFooterButtonClick)
            OnDropDownFooterButtonClick(&FGrid, FGrid.Col(), FGrid.Row(), index);
    };
    const TExtStringGrid::TEditorLooks& looks = FGrid.EditorLooks();
    dd->SetComponentStyle(looks.DropDownStyleSet ? looks.DropDownStyle : FGrid.ComponentStyle());
    if (looks.Tones)
        dd->SetColorTones(FGrid.ColorTones());
    if (auto* e = dynamic_cast<TGridGridDropDown*>(editor))
        e->SetEditorEnabled(true);
    if (auto* e = dynamic_cast<TGridExtGridDropDown*>(editor)) {
        e->SetEditorEnabled(true);
        if (e->GetGrid())
            e->GetGrid()->FixedRowAlways = true;
    }
    ctl.GetEditorProp(rc, r, nullptr);
    dd->setEnabled(true);
    if (auto* e = dynamic_cast<TGridTrackbarDropDown*>(editor)) {
        e->SetPosition(TextToInt(text));
    } else if (auto* e = dynamic_cast<TGridMemoDropDown*>(editor)) {
        e->SetText(text);
    } else if (auto* e = dynamic_cast<TGridCalculatorDropDown*>(editor)) {
        e->SetText(text);
    } else if (auto* e = dynamic_cast<TGridTimepickerDropDown*>(editor)) {
        e->SetText(text);
        e->SetEditorEnabled(true);
    } else if (auto* e = dynamic_cast<TGridDetailPickerDropDown*>(editor)) {
        e->SetText(text);
        e->SetEditorEnabled(true);
    } else if (auto* e = dynamic_cast<TGridGridDropDown*>(editor)) {
        e->BeginUpdate();
        e->EndUpdate();
        e->SetItemIndex(text.isEmpty() ? 0 : e->GetItemIndex(text));
        e->SetText(text);
    } else if (auto* e = dynamic_cast<TGridColorDropDown*>(editor)) {
        e->SetSelectedColor(FGrid.GetCellType(base.X, base.Y) == ctShape ? FGrid.GetShapeColor(base.X, base.Y)
                                                                          : FGrid.GetColors(base.X, base.Y));
    } else if (auto* e = dynamic_cast<TGridImageDropDown*>(editor)) {
        int index = -1;
        const TCellType kind = FGrid.GetCellType(base.X, base.Y);
        // An image cell's picker offers the grid's images, one item each unless it has its own.
        const auto* images = dynamic_cast<const TGridImageList*>(FGrid.GridImages);
        if (images && (kind == ctDataImage || kind == ctImageList)) {
            e->SetImages(&images->List);
            if (e->Items().Count() == 0)
                e->AddImagesFromImageList();
        }
        if (kind == ctDataImage)
            e->SetImageIndex(FGrid.GetInts(base.X, base.Y));
        else if (FGrid.GetImageIdx(base.X, base.Y, index))
            e->SetImageIndex(index);
        const dropdowns::TImageItem* item = e->Items().Items(e->ItemIndex());
        e->SetText(item ? item->Caption() : QString());
    } else if (auto* e = dynamic_cast<TGridExtGridDropDown*>(editor)) {
        e->BeginUpdate();
        e->EndUpdate();
        if (e->UseItems) {
            QString found;
            int item = -1;
            e->SetItemIndex(text.isEmpty() ? 0 : (e->LookupItem(text, found, item) ? item : -1));
        }
        e->SetText(text);
    }
}

void TSpecialEditors::ShownDropDown(QWidget* editor, const QString& text)
{
    if (auto* e = dynamic_cast<editors::TGridMemoDropDown*>(editor)) {
        e->setCursorPosition(0);
        e->deselect();
    } else if (auto* e = dynamic_cast<editors::TGridDetailPickerDropDown*>(editor)) {
        const int index = e->Items().IndexOf(text);
        if (index >= 0)
            e->SetItemIndex(index);
    }
}

void TSpecialEditors::WriteBack(int c, int r)
{
    TGridEditController& ctl = FController;
    const int rc = FGrid.DisplToRealCol(c);
    if (rc < 0 || r < 0 || r >= FGrid.RowCount())
        return;
    const TPoint base = FGrid.BaseCell(rc, r);
    if (IsSpinType(FOpenType) && FSpin) {
        TGridSpin* spin = FSpin;
        // A value outside the limits goes into the cell limited, as the editor shows it on leaving.
        spin->ApplyLimits();
        if (spin->AllowEmptyValue && spin->text().trimmed().isEmpty()) {
            FGrid.SetCellEx(base.X, base.Y, QString());
            return;
        }
        double number = 0;
        if ((FOpenType == edFloatSpinEdit || FOpenType == edSpinEdit) && !spin->ReadNumber(number)) {
            // No number: the text goes in as it stands rather than a made-up limit.
            FGrid.SetCellEx(base.X, base.Y, spin->text());
            return;
        }
        switch (FOpenType) {
        case edFloatSpinEdit: FGrid.SetFloats(base.X, base.Y, number); break;
        case edTimeSpinEdit: FGrid.SetCellEx(base.X, base.Y, spin->text()); break;
        case edDateSpinEdit: FGrid.SetDates(base.X, base.Y, editors::FromDayNumber(spin->DateValue()).date()); break;
        default: FGrid.SetInts(base.X, base.Y, spin->Value()); break;
        }
    } else if (FOpenType == edCheckBox && FCheck) {
        // A changed state is written as the check-true or check-false text; a box left as it
        // opened leaves the cell (and a caption that is neither text) as it is.
        const bool state = FCheck->isChecked();
        if (state == std::exchange(FCheck->OpenedChecked, state))
            return;
        ctl.SetEditCell(base.X, base.Y, state ? FGrid.CheckTrueOf(base.X, base.Y) : FGrid.CheckFalseOf(base.X, base.Y));
    } else if (IsDropDownType(FOpenType) && ctl.FEditModeOn) {
        QWidget* editor = FDropDowns[DropDownKind(FOpenType)];
        if (auto* e = dynamic_cast<editors::TGridMemoDropDown*>(editor)) {
            ctl.SetEditCell(base.X, base.Y, e->MemoText().join(QLatin1Char('\n')));
        } else if (auto* e = dynamic_cast<editors::TGridColorDropDown*>(editor)) {
            TColor color = e->SelectedColor();
            QString value = e->SelectedColorText();
            if (OnColorSelected)
                OnColorSelected(&FGrid, base.X, base.Y, color, value);
            ctl.SetEditCell(base.X, base.Y, value);
            if (FGrid.GetCellType(base.X, base.Y) == ctShape)
                FGrid.SetShapeColor(base.X, base.Y, color);
            else
                FGrid.SetColors(base.X, base.Y, color);
        } else if (auto* e = dynamic_cast<editors::TGridImageDropDown*>(editor)) {
            int index = e->ImageIndex();
            if (OnImageSelected)
                OnImageSelected(&FGrid, base.X, base.Y, index);
            int old = -1;
            if (FGrid.GetCellType(base.X, base.Y) == ctDataImage)
                ctl.SetEditCell(base.X, base.Y, QString::number(index));
            else if (FGrid.GetImageIdx(base.X, base.Y, old))
                FGrid.SetImageIdx(base.X, base.Y, index);
        } else if (auto* e = dynamic_cast<dropdowns::TExtCustomDropDown*>(editor)) {
            ctl.SetEditCell(base.X, base.Y, e->GetText());
        }
    } else if (IsDateType(FOpenType)) {
        WriteBackDate(base.X, base.Y);
    } else if (IsEditBtnType(FOpenType) && FEditBtn && ctl.FEditModeOn) {
        ctl.SetEditCell(base.X, base.Y, FEditBtn->text());
    } else if (IsUnitType(FOpenType) && FUnitEditBtn) {
        ctl.SetEditCell(base.X, base.Y, FUnitEditBtn->TextAndUnit());
    } else if (FOpenType == edRichEdit && FInplaceRich) {
        // Escape leaves the cell's text exactly as it was, whatever RTF it held.
        ctl.SetEditCell(base.X, base.Y, FRichCancel ? ctl.CellCache() : RichToString(FGrid, *FInplaceRich));
    } else if (FOpenType == edCustom) {
        if (FGrid.ControlLook.DropDownAlwaysVisible) {
            TEditorType again = edNormal;
            ctl.GetCellEditorType(base.X, base.Y, again);
        }
        // The value comes from the link that was opened, even when the grid names another now.
        if (TEditLink* link = FOpenLink) {
            ctl.SetEditCell(base.X, base.Y, link->GetEditorValue());
            if (link->EditStyle != esPopup)
                link->SetVisible(false);
            link->RestoreWinProc();
        }
    } else if (IsComboType(FOpenType) && FCombo && ctl.FEditModeOn) {
        // Only a value the user chose is written: an untouched editor leaves the cell as it is.
        TGridCombo* combo = FCombo;
        if (FComboTouched && !(combo->PickOnly() && combo->currentIndex() < 0))
            ctl.SetEditCell(base.X, base.Y, combo->EditValue());
    }
}

void TSpecialEditors::HideSpecialEditor(int c, int r)
{
    if (FGrid.Destroying)
        return;
    TGridEditController& ctl = FController;
    ctl.FSpecialEditor = false;
    const bool oldBlock = std::exchange(ctl.FBlockKill, true);
    ctl.FStartEditChar = QChar();
    // The value goes into the cell the editor was opened for.
    const int col = FOpenCol >= 0 ? FOpenCol : c;
    const int row = FOpenRow >= 0 ? FOpenRow : r;
    const TEditorType type = FOpenType != edNone ? FOpenType : ctl.EditControl();
    QWidget* linkControl = type == edCustom && FOpenLink ? FOpenLink->GetEditControl() : nullptr;
    const bool linkFocus = linkControl && (linkControl->isAncestorOf(QApplication::focusWidget()) ||
                                           linkControl->hasFocus());
    WriteBack(col, row);
    if (linkFocus && FOpenLink && FOpenLink->EditStyle != esPopup)
        FGrid.SetFocus();
    FOpenLink = nullptr;
    ctl.FEditModeOn = false;
    if (QWidget* editor = FOpen) {
        const bool hadFocus = TGridEditController::HoldsFocus(editor);
        if (auto* combo = dynamic_cast<TGridCombo*>(editor))
            combo->hidePopup();
        if (auto* unit = dynamic_cast<TGridUnitEditBtn*>(editor); unit && unit->UnitMenu())
            unit->UnitMenu()->close();
        // An open drop-down form closes with its editor, keeping what was picked.
        if (auto* dd = dynamic_cast<dropdowns::TExtCustomDropDown*>(editor); dd && dd->DroppedDown())
            dd->HideDropDown(false);
        editor->hide();
        editor->setEnabled(false);
        if (hadFocus)
            FGrid.SetFocus();
    }
    FOpen = nullptr;
    FOpenType = edNone;
    FOpenCol = FOpenRow = -1;
    if (type != edNormal && ctl.FEditActive)
        ctl.NotifyEditingDone(FGrid.DisplToRealCol(col), row);
    ctl.FBlockKill = oldBlock;
    ctl.FEditActive = false;
}

}  // namespace grid::editing
