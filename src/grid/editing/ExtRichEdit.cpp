#include "grid/editing/ExtRichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QTextCursor>
#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridRichText.h"
#include "grid/editing/SpecialEditors.h"
#include "platform/Exception.h"
#include "platform/Guard.h"

namespace grid::editing {

using namespace platform;

namespace {
TExtStringGrid* OwnerGrid(QObject* owner)
{
    auto* grid = dynamic_cast<TExtStringGrid*>(owner);
    if (!grid)
        throw Exception(QStringLiteral("The owner of a rich-text editor must be a grid"));
    return grid;
}
}  // namespace

TExtRichEdit::TExtRichEdit(QObject* owner, QWidget* parent) : QTextEdit(parent), FGrid(OwnerGrid(owner))
{
    setAcceptRichText(true);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this](const QSizeF& size) { SizeRequested(size); });
    // The hidden work control is never painted: its layout is asked for at each change.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (WorkControl)
            SizeRequested(document()->size());
    });
}

TExtStringGrid* TExtRichEdit::Grid() const { return FGrid; }

void TExtRichEdit::SetSelOffset(int twips)
{
    QTextCharFormat f;
    SetCharOffset(f, twips);
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(f);
    mergeCurrentCharFormat(f);
}

int TExtRichEdit::SelOffset() const { return CharOffset(currentCharFormat()); }

void TExtRichEdit::SelNormal() { SetSelOffset(0); }
void TExtRichEdit::SelSubscript() { SetSelOffset(-40); }
void TExtRichEdit::SelSuperscript() { SetSelOffset(40); }
bool TExtRichEdit::IsSelNormal() const { return SelOffset() == 0; }
bool TExtRichEdit::IsSelSubscript() const { return SelOffset() == -40; }
bool TExtRichEdit::IsSelSuperscript() const { return SelOffset() == 40; }

void TExtRichEdit::ReCreate()
{
    const bool blocked = blockSignals(true);
    clear();
    setCurrentCharFormat(QTextCharFormat());
    document()->clearUndoRedoStacks();
    blockSignals(blocked);
}

void TExtRichEdit::SizeRequested(const QSizeF& size)
{
    const int w = int(std::ceil(size.width())), h = int(std::ceil(size.height()));
    if (WorkControl) {
        FReqWidth = w;
        FReqHeight = h;
        return;
    }
    FReqWidth = w;
    FReqHeight = h;
    if (!FGrid || FLocked || !isVisible() || !FGrid->SizeWhileTyping.Height)
        return;
    TExtStringGrid& g = *FGrid;
    const int row = g.Row();
    const TRect cell = g.CellRect(g.Col(), row);
    if (g.RowHeights(row) < h + 5 && cell.Top + h + 5 < g.Client()->height()) {
        resize(width(), h + 9);
        g.SetRowHeights(row, h + 10);
        if (g.OnEndRowSize)
            g.OnEndRowSize(&g, row);
    }
}

void TExtRichEdit::keyPressEvent(QKeyEvent* event)
{
    if (!FGrid || WorkControl) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    TExtStringGrid& g = *FGrid;
    TGridEditController* ctl = EditController(g);
    const int key = event->key();
    const bool plainMods = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (ctl && key == Qt::Key_Escape) {
        event->accept();
        Guarded([&] { ctl->Specials().CancelRichEdit(); });
        return;
    }
    if (ctl && plainMods && (key == Qt::Key_Tab || key == Qt::Key_Backtab) && (g.Options & goTabs)) {
        event->accept();
        Guarded([&] {
            g.SetFocus();
            ctl->HideInplaceEdit();
            int vk = VK_TAB;
            TShiftState shift = ShiftStateFromQt(event->modifiers());
            if (key == Qt::Key_Backtab)
                shift |= ssShift;
            if (!ctl->KeyDown(vk, shift))
                g.DefaultKeyDown(vk, shift);
            ctl->ShowInplaceEdit();
        });
        return;
    }
    if (ctl && plainMods && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        bool wrap = false;
        g.GetCellWordWrap(g.Col(), g.Row(), wrap);
        if (!wrap && !g.Multilinecells) {
            event->accept();
            Guarded([&] {
                g.SetFocus();
                ctl->HideInplaceEdit();
                int vk = key == Qt::Key_Up ? VK_UP : VK_DOWN;
                const TShiftState shift = ShiftStateFromQt(event->modifiers());
                if (!ctl->KeyDown(vk, shift))
                    g.DefaultKeyDown(vk, shift);
            });
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void TExtRichEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    if (!FGrid || WorkControl || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::ActiveWindowFocusReason)
        return;
    TGridEditController* ctl = EditController(*FGrid);
    if (!ctl || ctl->BlockKill() || ctl->Specials().InvokedFocusChange || ctl->Specials().OpenEditor() != this)
        return;
    Guarded([&] { ctl->HideInplaceEdit(); });
}

}  // namespace grid::editing
