#include "controls/tree/TreeEdit.h"
#include "controls/tree/TreeColumnsAccess.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QThread>

namespace tree {

namespace {
constexpr int MinEditWidth = 30;
}  // namespace

// ---- the tree's side ----

bool TBaseNodeTree::EditNode(PTreeNode node, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(column >= NoColumn && column < TColumnIndex(FHeader.Columns().Count()),
               "Column must be a valid column index (-1 if no header is shown).");
    if (HasState(tsEditing) || (FOptions->MiscOptions() & toReadOnly))
        return HasState(tsEditing);
    SetFocusedNode(node);
    if (FFocusedNode != node || !CanEdit(node, column))
        return false;
    FEditColumn = column;
    if (!node->Has(vsInitialized))
        InitNode(node);
    DoEdit();
    return HasState(tsEditing);
}

bool TBaseNodeTree::EndEditNode()
{
    if (TreeStates() & TS(tsEditing, tsEditPending))
        return DoEndEdit();
    return true;
}

bool TBaseNodeTree::CancelEditNode()
{
    if (TreeStates() & TS(tsEditing, tsEditPending))
        return DoCancelEdit();
    return true;
}

bool TBaseNodeTree::CanEdit(PTreeNode node, TColumnIndex column)
{
    const TTVMiscOptions misc = FOptions->MiscOptions();
    bool allowed = (misc & toEditable) && isEnabled() && !(misc & toReadOnly) &&
                   (column < 0 || (FHeader.Columns().IsValidColumn(column) &&
                                   (FHeader.Columns()[column]->Options() & coEditable)));
    DoCanEdit(node, column, allowed);
    return allowed;
}

void TBaseNodeTree::DoCanEdit(PTreeNode node, TColumnIndex column, bool& allowed)
{
    if (OnEditing)
        OnEditing(this, node, column, allowed);
}

std::shared_ptr<ITVEditLink> TBaseNodeTree::DoCreateEditor(PTreeNode node, TColumnIndex column)
{
    std::shared_ptr<ITVEditLink> link;
    if (OnCreateEditor)
        OnCreateEditor(this, node, column, link);
    return link;
}

void TBaseNodeTree::DoEdit()
{
    CancelHint();
    StopTimer(TTreeTimer::Scroll);
    StopTimer(TTreeTimer::Edit);
    DoStateChange(0, TS(tsEditPending));
    if (FFocusedNode && !FFocusedNode->Has(vsDisabled) && !(FOptions->MiscOptions() & toReadOnly) && !FEditLink)
        FEditLink = DoCreateEditor(FFocusedNode, FEditColumn);
    if (FEditLink) {
        // Keep the link for the whole call: the editor may end the edit while it starts.
        std::shared_ptr<ITVEditLink> link = FEditLink;
        FEditNode = FFocusedNode;
        DoStateChange(TS(tsEditing), TS(tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsDrawSelecting,
                                        tsMouseCheckPending, tsOLEDragging, tsOLEDragPending, tsScrolling,
                                        tsScrollPending));
        ScrollIntoView(FFocusedNode, FOptions->SelectionOptions() & toCenterScrollIntoView,
                       !(FOptions->AutoOptions() & toDisableAutoscrollOnEdit));
        if (link->PrepareEdit(this, FFocusedNode, FEditColumn)) {
            UpdateEditBounds();
            InvalidateNode(FFocusedNode);
            if (!link->BeginEdit())
                DoStateChange(0, TS(tsEditing));
        } else
            DoStateChange(0, TS(tsEditing));
        if (!HasState(tsEditing)) {
            FEditLink.reset();
            FEditNode = nullptr;
        }
    }
}

bool TBaseNodeTree::DoEndEdit()
{
    StopTimer(TTreeTimer::Edit);
    bool result = false;
    if (HasState(tsEditing) && FEditLink) {
        std::shared_ptr<ITVEditLink> link = FEditLink;
        result = link->EndEdit();
        if (result) {
            DoStateChange(0, TS(tsEditing));
            FEditLink.reset();
            FEditNode = nullptr;
            if (OnEdited)
                OnEdited(this, FFocusedNode, FEditColumn);
        }
    }
    DoStateChange(0, TS(tsEditPending));
    return result;
}

bool TBaseNodeTree::DoCancelEdit()
{
    StopTimer(TTreeTimer::Edit);
    DoStateChange(0, TS(tsEditPending));
    bool result = false;
    if (HasState(tsEditing) && FEditLink) {
        std::shared_ptr<ITVEditLink> link = FEditLink;
        result = link->CancelEdit();
        if (result) {
            DoStateChange(0, TS(tsEditing));
            FEditNode = nullptr;
            if (OnEditCancelled)
                OnEditCancelled(this, FEditColumn);
            FEditLink.reset();
        }
    } else if (HasState(tsEditing)) {
        DoStateChange(0, TS(tsEditing));
        FEditNode = nullptr;
    }
    return result;
}

void TBaseNodeTree::UpdateEditBounds()
{
    if (!HasState(tsEditing) || !FFocusedNode || !FEditLink || QThread::currentThread() != thread())
        return;
    const TNodeTreeColumns& columns = FHeader.Columns();
    if (FEditColumn >= TColumnIndex(columns.Count()))
        return;
    QRect r = GetDisplayRect(FFocusedNode, FEditColumn, true, !FFocusedNode->Has(vsMultiline));
    if (FOptions->MiscOptions() & toGridExtensions) {
        TAlignment alignment = columns.IsValidColumn(FEditColumn) ? columns[FEditColumn]->Alignment() : Alignment();
        const bool rtl = columns.IsValidColumn(FEditColumn) ? columns[FEditColumn]->UseRightToLeftReading() : RightToLeft();
        if (rtl)
            alignment = alignment == taLeftJustify ? taRightJustify : alignment == taRightJustify ? taLeftJustify : alignment;
        const QRect cell = GetDisplayRect(FFocusedNode, FEditColumn, false, true);
        if (alignment == taLeftJustify)
            r.setRight(cell.right());
        else
            r.setLeft(cell.left());
    }
    if (FOptions->PaintOptions() & toShowHorzGridLines)
        r.setBottom(r.bottom() - 1);
    r.setHeight(std::max(r.height(), FEditLink->GetBounds().height()));
    FEditLink->SetBounds(r);
}

// ---- the string tree's editor ----

std::shared_ptr<ITVEditLink> TCustomNodeStringTree::DoCreateEditor(PTreeNode node, TColumnIndex column)
{
    std::shared_ptr<ITVEditLink> link = TBaseNodeTree::DoCreateEditor(node, column);
    if (!link)
        link = std::make_shared<TStringEditLink>();
    return link;
}

TStringEditLink::TStringEditLink() = default;

TStringEditLink::~TStringEditLink()
{
    if (FEdit)
        FEdit->Release();
}

void TStringEditLink::SetEdit(TTVEdit* edit)
{
    if (FEdit && FEdit != edit)
        FEdit->Release();
    FEdit = edit;
}

bool TStringEditLink::PrepareEdit(TBaseNodeTree* tree, PTreeNode node, TColumnIndex column)
{
    auto* stringTree = qobject_cast<TCustomNodeStringTree*>(tree);
    if (!stringTree)
        return false;
    FTree = stringTree;
    FNode = node;
    FColumn = column;
    if (!FEdit) {
        SetEdit(new TTVEdit(this));
        FEdit->FRefLink = shared_from_this();
    }
    FEdit->setParent(stringTree->viewport());
    FEdit->hide();
    platform::TFont font = stringTree->Font();
    QString text;
    stringTree->GetTextInfo(node, column, font, FTextBounds, text);
    QPalette palette = FEdit->palette();
    palette.setColor(QPalette::Text, QApplication::palette().color(QPalette::WindowText));
    FEdit->setPalette(palette);
    FEdit->setFont(font);
    FEdit->SetMultiline(stringTree->GetMultiline(node));
    // A themed tree gets a sunken edge, a plain one a flat border.
    FEdit->setFrameStyle(stringTree->HasState(tsUseThemes) ? QFrame::StyledPanel | QFrame::Sunken
                                                           : QFrame::Box | QFrame::Plain);
    FEdit->setText(text);
    FEdit->setModified(false);
    const TNodeTreeColumns& columns = stringTree->Header().Columns();
    const bool useColumn = column > NoColumn && columns.IsValidColumn(column);
    const bool rtl = useColumn ? columns[column]->UseRightToLeftReading() : stringTree->RightToLeft();
    FAlignment = useColumn ? columns[column]->Alignment() : stringTree->Alignment();
    if (rtl)
        FAlignment = FAlignment == taLeftJustify ? taRightJustify : FAlignment == taRightJustify ? taLeftJustify : FAlignment;
    FEdit->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    const Qt::Alignment horizontal = FAlignment == taRightJustify ? Qt::AlignRight
                                     : FAlignment == taCenter     ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
    // The alignment is already mirrored, so it is given in absolute terms.
    FEdit->setAlignment(horizontal | Qt::AlignAbsolute);
    return true;
}

bool TStringEditLink::BeginEdit()
{
    if (!FStopping && FEdit) {
        FEdit->show();
        FEdit->selectAll();
        FEdit->setFocus(Qt::OtherFocusReason);
        FEdit->AutoAdjustSize();
    }
    return !FStopping;
}

bool TStringEditLink::EndEdit()
{
    if (FStopping)
        return false;
    FStopping = true;
    if (FEdit) {
        if (FEdit->isModified() && FTree && FNode) {
            try {
                FTree->SetText(FNode, FColumn, FEdit->text());
            } catch (...) {
                // The edit can still be ended or cancelled once the text can be stored.
                FStopping = false;
                throw;
            }
        }
        FEdit->hide();
        FEdit->Unlink();
    }
    return true;
}

bool TStringEditLink::CancelEdit()
{
    if (FStopping)
        return false;
    FStopping = true;
    if (FEdit)
        FEdit->hide();
    if (FTree)
        FTree->CancelEditNode();
    if (FEdit)
        FEdit->Unlink();
    return true;
}

QRect TStringEditLink::GetBounds() { return FEdit ? FEdit->geometry() : QRect(); }

void TStringEditLink::ProcessMessage(QEvent* event)
{
    if (FEdit)
        QApplication::sendEvent(FEdit, event);
}

void TStringEditLink::SetBounds(QRect r)
{
    if (FStopping || !FEdit || !FTree)
        return;
    r.moveLeft(std::max(r.left(), 0));
    if (r.width() < MinEditWidth) {
        if (FAlignment == taRightJustify)
            r.setLeft(r.right() + 1 - MinEditWidth);
        else
            r.setWidth(MinEditWidth);
    }
    if (r.right() >= FTree->ClientWidth())
        r.setRight(FTree->ClientWidth() - 1);
    FEdit->setGeometry(r);
    // The text keeps to the client area, narrowed by the tree's text margin less the offset and
    // widened by the offset vertically; a single line sits at the height the tree draws it.
    const bool singleLine = !FEdit->Multiline();
    const int offset = (singleLine ? 2 : 0) + (FTree->HasState(tsUseThemes) ? 1 : 0);
    const QRect client(QPoint(0, 0), FEdit->contentsRect().size());
    QRect format = client.adjusted(FTree->TextMargin() - offset, -offset, offset - FTree->TextMargin(), offset);
    if (singleLine)
        format.translate(0, FTextBounds.top() - r.top());
    if (format.top() < -1)
        format.setTop(-1);
    if (format.left() < -1)
        format.setLeft(-1);
    FEdit->SetFormattingRect(format);
}

// ---- the edit control ----

TTVEdit::TTVEdit(TStringEditLink* link) : FLink(link)
{
    setAttribute(Qt::WA_AlwaysShowToolTips, false);
    // The formatting rectangle alone places the text.
    document()->setDocumentMargin(0);
    setTabChangesFocus(false);
    SetMultiline(false);
    // The text-change notification of a single-line node fits the control to its text.
    connect(this, &QPlainTextEdit::textChanged, this, [this] { AutoAdjustSize(); });
    hide();
    // The cell gives the control its size; a window's default size would outgrow any row.
    resize(0, 0);
}

TTVEdit::~TTVEdit()
{
    if (FLink && !FLink->Stopping() && FLink->Tree() && FLink->Node() &&
        (FLink->Tree()->StringOptions() & toAutoAcceptEditChange) && isModified())
        FLink->Tree()->SetText(FLink->Node(), FLink->Column(), text());
    FLink = nullptr;
    FRefLink.reset();
}

void TTVEdit::Unlink()
{
    FLink = nullptr;
    // The last reference may be this one: release it last.
    std::shared_ptr<ITVEditLink> keep = std::move(FRefLink);
}

void TTVEdit::SetMultiline(bool multiline)
{
    FMultiline = multiline;
    // A multi-line node wraps at the control's width and scrolls vertically; a single line
    // scrolls sideways and shows no bars.
    setLineWrapMode(multiline ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(multiline ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TTVEdit::setText(const QString& text) { setPlainText(text); }

QString TTVEdit::selectedText() const
{
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QChar('\n'));
    selected.replace(QChar::LineSeparator, QChar('\n'));
    return selected;
}

void TTVEdit::setAlignment(Qt::Alignment alignment)
{
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

void TTVEdit::SetFormattingRect(const QRect& r)
{
    FFormattingRect = r;
    ApplyFormattingRect();
}

void TTVEdit::ApplyFormattingRect()
{
    if (FFormattingRect.isNull())
        return;
    // Only the part inside the frame can be shown; margins cannot be negative.
    const QSize client = contentsRect().size();
    const QMargins margins(std::max(0, FFormattingRect.left()), std::max(0, FFormattingRect.top()),
                           std::max(0, client.width() - FFormattingRect.right() - 1),
                           std::max(0, client.height() - FFormattingRect.bottom() - 1));
    if (viewportMargins() != margins)
        setViewportMargins(margins);
}

void TTVEdit::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    ApplyFormattingRect();
}

void TTVEdit::insertFromMimeData(const QMimeData* source)
{
    if (FMultiline || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Pasted line breaks would hide text in a single line; they become spaces.
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QChar('\r'), QChar(' '));
    text.replace(QChar('\n'), QChar(' '));
    insertPlainText(text);
}

bool TTVEdit::event(QEvent* event)
{
    // Tab belongs to the editor, not to the focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void TTVEdit::keyPressEvent(QKeyEvent* event)
{
    TCustomNodeStringTree* tree = FLink ? FLink->Tree() : nullptr;
    const bool singleLine = FLink && FLink->Node() && !FLink->Node()->Has(vsMultiline);
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (tree && tree->IsEditing()) {
            PTreeNode node = tree->FocusedNode();
            tree->InvalidateNode(node);
            PTreeNode next = tree->GetNextVisible(node, true);
            tree->EndEditNode();
            if (next) {
                tree->SetFocusedNode(next);
                if (tree->FocusedNode() == next && tree->CanEdit(next, tree->FocusedColumn()))
                    tree->DoEdit();
            }
        }
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (tree && (singleLine || (event->modifiers() & Qt::ControlModifier))) {
            tree->InvalidateNode(tree->FocusedNode());
            tree->DoEndEdit();
            tree->setFocus(Qt::OtherFocusReason);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (tree) {
            tree->CancelEditNode();
            tree->setFocus(Qt::OtherFocusReason);
        }
        event->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (singleLine) {
            QKeyEvent moved(event->type(), event->key() == Qt::Key_Up ? Qt::Key_Left : Qt::Key_Right,
                            event->modifiers(), event->text());
            QPlainTextEdit::keyPressEvent(&moved);
            return;
        }
        break;
    case Qt::Key_A:
        if (tree && tree->IsEditing() && event->modifiers() == Qt::ControlModifier) {
            selectAll();
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TTVEdit::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // The edit's own context menu takes the focus for a while.
    if (event->reason() == Qt::PopupFocusReason || !FLink || FLink->Stopping() || !FLink->Tree())
        return;
    TCustomNodeStringTree* tree = FLink->Tree();
    if (tree->StringOptions() & toAutoAcceptEditChange)
        tree->DoEndEdit();
    else
        tree->DoCancelEdit();
}

void TTVEdit::AutoAdjustSize()
{
    if (!FLink || !FLink->Tree() || !FLink->Node() || FLink->Node()->Has(vsMultiline) ||
        (FLink->Tree()->FOptions->MiscOptions() & toGridExtensions))
        return;
    const QFontMetrics metrics(font());
    const int margin = FLink->Tree()->TextMargin();
    const QString sample = text() + QStringLiteral("yG");
    // Room for the frame as well as the text.
    const int frame = 2 * (frameWidth() + 1);
    const int width = metrics.horizontalAdvance(sample) + 2 * margin + frame;
    const int height = metrics.height() + 2 * margin;
    QRect r = geometry();
    if (r.height() < height)
        r.setHeight(height);
    if (width < r.width())
        FLink->Tree()->Invalidate();
    if (FLink->EditAlignment() == taRightJustify)
        r.setLeft(r.right() + 1 - width);
    else
        r.setWidth(width);
    FLink->SetBounds(r);
}

}  // namespace tree
