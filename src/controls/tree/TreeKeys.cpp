// The tree's keyboard: navigation through the visible nodes and columns, selection with Shift,
// scrolling with Ctrl, expanding and collapsing, the Space check press and the incremental search.
#include "controls/tree/NodeTrees.h"

#include <QApplication>
#include <QMenu>

namespace tree {

using namespace platform;

namespace {

constexpr TShiftState ModifierMask = ssShift | ssCtrl | ssAlt;

bool IsNavigationKey(int key)
{
    switch (key) {
    case VK_BACK:
    case VK_TAB:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: return true;
    default: return false;
    }
}

// The key of the main keyboard that types one of the four keypad signs becomes the keypad key.
int KeypadEquivalent(int key)
{
    switch (key) {
    case 0xBB: return VK_ADD;       // "+"
    case 0xBD: return VK_SUBTRACT;  // "-"
    case 0xBF: return VK_DIVIDE;    // "/"
    default: return key;
    }
}

int KeypadFromCharacter(QChar c)
{
    switch (c.unicode()) {
    case '*': return VK_MULTIPLY;
    case '+': return VK_ADD;
    case '-': return VK_SUBTRACT;
    case '/': return VK_DIVIDE;
    default: return 0;
    }
}

}  // namespace

unsigned TBaseNodeTree::GetDlgCode()
{
    // Arrows and characters always; Tab only when asked for.
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (WantTabs() ? DLGC_WANTTAB : 0u);
}

bool TBaseNodeTree::DoKeyAction(int& key, TShiftState& shift)
{
    bool doDefault = true;
    if (OnKeyAction)
        OnKeyAction(this, key, shift, doDefault);
    return doDefault;
}

void TBaseNodeTree::KeyDown(int& key, TShiftState shift)
{
    HandleKeyDown(key, shift);
    // A key left alone also reaches KeyPress, which then knows its key-down was seen.
    FKeyDownSeen = key != 0;
}

void TBaseNodeTree::HandleKeyDown(int& key, TShiftState shift)
{
    // Escape abandons a column drag or a splitter drag of the header before anything else.
    if (key == VK_ESCAPE) {
        TTVHeaderMessage message;
        message.Kind = THeaderMessageKind::KeyDown;
        message.Key = key;
        if (FHeader.ProcessHeaderMessage(message)) {
            key = 0;
            return;
        }
    }
    TCustomControl::KeyDown(key, shift);
    if (key == 0)
        return;
    shift &= ModifierMask;
    if (!DoKeyAction(key, shift)) {
        key = 0;
        return;
    }
    if (HasState(tsKeyCheckPending) && key != VK_SPACE)
        CancelCheckPress();
    if (IsNavigationKey(key) && FirstOf(FRoot)) {
        if (key == VK_BACK && HasState(tsIncrementalSearching)) {
            // Backspace shortens the search text.
            IncrementalSearch(VK_BACK);
        } else
            KeyNavigate(key, shift);
        key = 0;
        return;
    }
    KeyCommand(key, shift);
}

void TBaseNodeTree::KeyNavigate(int key, TShiftState shift)
{
    const TTVSelectionOptions selOptions = FOptions->SelectionOptions();
    const bool editing = HasState(tsEditing);
    const bool multiSelect = selOptions & toMultiSelect;
    const bool extendSelection = (shift & ssShift) && multiSelect && !editing;
    bool rangeKey = (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME) && extendSelection;
    const bool needInvalidate = rangeKey || FSelection.size() > 1;
    const bool actAsGrid = FOptions->MiscOptions() & toGridExtensions;
    const bool clearSelectionNeeded = shift == 0 || (actAsGrid && !(shift & ssShift)) || !multiSelect ||
                                      key == VK_BACK || key == VK_TAB;
    PTreeNode lastFocused = FFocusedNode;
    if (!lastFocused && shift != 0)
        lastFocused = GetFirstVisible(nullptr, true);
    if (!FRangeAnchor) {
        FRangeAnchor = GetFirstSelected();
        if (!FRangeAnchor)
            FRangeAnchor = GetFirst();
    }
    const int factor = RightToLeft() ? -1 : 1;
    const bool ctrl = shift & ssCtrl;
    const bool useColumns = FHeader.UseColumns();
    TNodeTreeColumns& columns = FHeader.Columns();
    auto focusColumn = [this](TColumnIndex column) { SetFocusedNodeAndColumn(FFocusedNode, column); };

    switch (key) {
    case VK_BACK:
        if (FFocusedNode && ParentOf(FFocusedNode) != FRoot)
            SetFocusedNode(ParentOf(FFocusedNode));
        break;
    case VK_TAB:
        if ((selOptions & toExtendedFocus) && useColumns) {
            const bool back = shift & ssShift;
            // NoColumn stands for the start of a row: its first (last) visible column follows.
            auto step = [&](TColumnIndex c) {
                if (c <= NoColumn)
                    return back ? columns.GetLastVisibleColumn() : columns.GetFirstVisibleColumn();
                return back ? columns.GetPreviousVisibleColumn(c) : columns.GetNextVisibleColumn(c);
            };
            PTreeNode node = FFocusedNode;
            TColumnIndex column = FFocusedColumn;
            while (node) {
                column = step(column);
                if (column <= NoColumn) {
                    node = back ? GetPreviousVisible(node, true) : GetNextVisible(node, true);
                    column = NoColumn;
                    continue;
                }
                if (ColumnAllowsFocus(column) && DoFocusChanging(FFocusedNode, node, FFocusedColumn, column)) {
                    SetFocusedNodeAndColumn(node, column);
                    break;
                }
            }
        }
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        const bool up = key == VK_PRIOR;
        if ((shift & ModifierMask) == (ssShift | ssCtrl)) {
            SetOffsetX(up ? OffsetX() + ClientWidth() : OffsetX() - ClientWidth());
        } else if ((shift & ModifierMask) == (ssShift | ssAlt)) {
            if (!useColumns)
                break;
            if (FFocusedColumn <= NoColumn) {
                focusColumn(columns.GetFirstVisibleColumn());
                break;
            }
            int sum = columns.GetVisibleFixedWidth();
            TColumnIndex column = FFocusedColumn;
            while (true) {
                const TColumnIndex nextColumn =
                    up ? columns.GetPreviousVisibleColumn(column) : columns.GetNextVisibleColumn(column);
                if (nextColumn <= NoColumn || sum + columns[column]->Width() >= ClientWidth() ||
                    (columns[nextColumn]->Options() & coFixed))
                    break;
                sum += columns[column]->Width();
                column = nextColumn;
            }
            focusColumn(column);
        } else if (ctrl) {
            SetOffsetY(up ? OffsetY() + ClientHeight() : OffsetY() - ClientHeight());
        } else if (!FFocusedNode) {
            SetFocusedNode(up ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true));
        } else {
            PTreeNode node = FFocusedNode;
            int64_t sum = 0;
            while (true) {
                PTreeNode step = up ? GetPreviousVisible(node, true) : GetNextVisible(node, true);
                if (!step || sum + int64_t(NodeHeightOf(node)) >= ClientHeight())
                    break;
                sum += NodeHeightOf(node);
                node = step;
            }
            SetFocusedNode(node);
        }
        break;
    }
    case VK_HOME:
    case VK_END: {
        const bool toFirst = (key == VK_HOME) != RightToLeft();
        PTreeNode target = toFirst ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
        TColumnIndex column = NoColumn;
        if (useColumns) {
            column = toFirst ? columns.GetFirstVisibleColumn() : columns.GetLastVisibleColumn();
            while (column > NoColumn && !DoFocusChanging(FFocusedNode, FFocusedNode, FFocusedColumn, column))
                column = toFirst ? columns.GetNextVisibleColumn(column) : columns.GetPreviousVisibleColumn(column);
            if (column <= NoColumn)
                column = InvalidColumn;
        }
        if (column == InvalidColumn)
            break;
        if ((shift & ModifierMask) == ssCtrl && !actAsGrid) {
            ScrollIntoView(target, selOptions & toCenterScrollIntoView,
                           !(FOptions->AutoOptions() & toDisableAutoscrollOnFocus));
            SetOffsetX(key == VK_HOME && !RightToLeft() ? 0 : -2147483647);
        } else {
            if (!actAsGrid || ctrl)
                SetFocusedNode(target);
            if (actAsGrid && !(selOptions & toFullRowSelect))
                focusColumn(column);
        }
        break;
    }
    case VK_LEFT:
    case VK_RIGHT: {
        const bool left = key == VK_LEFT;
        if (ctrl) {
            const int width = columns.GetScrollWidth();
            SetOffsetX(left ? OffsetX() + factor * width : OffsetX() - factor * width);
            break;
        }
        if ((selOptions & toExtendedFocus) && actAsGrid) {
            TColumnIndex column = FFocusedColumn;
            do
                column = left ? columns.GetPreviousVisibleColumn(column) : columns.GetNextVisibleColumn(column);
            while (column > NoColumn && !ColumnAllowsFocus(column));
            if (column > NoColumn)
                focusColumn(column);
            break;
        }
        if (!FFocusedNode) {
            SetFocusedNode(GetFirstVisible(nullptr, true));
            break;
        }
        if (left) {
            if (FFocusedNode->Has(vsExpanded) && HasChildren(FFocusedNode) && shift == 0) {
                ToggleNode(FFocusedNode);
            } else if (ParentOf(FFocusedNode) != FRoot) {
                PTreeNode parent = ParentOf(FFocusedNode);
                if (extendSelection) {
                    if (FFocusedNode->Index > 0)
                        rangeKey = true;
                    else if (CompareNodeOrder(parent, FRangeAnchor, false) > 0)
                        RemoveFromSelection(FFocusedNode);
                }
                SetFocusedNode(parent);
            }
        } else {
            if (!FFocusedNode->Has(vsExpanded) && HasChildren(FFocusedNode) && shift == 0) {
                ToggleNode(FFocusedNode);
            } else if (PTreeNode child = GetFirstVisibleChild(FFocusedNode)) {
                if (extendSelection && CompareNodeOrder(child, FRangeAnchor, false) < 0)
                    RemoveFromSelection(FFocusedNode);
                SetFocusedNode(child);
            }
        }
        break;
    }
    case VK_UP:
    case VK_DOWN: {
        const bool up = key == VK_UP;
        if (ctrl) {
            SetOffsetY(up ? OffsetY() + int(FDefaultNodeHeight) : OffsetY() - int(FDefaultNodeHeight));
            break;
        }
        PTreeNode target;
        if (FFocusedNode)
            target = up ? GetPreviousVisible(FFocusedNode, true) : GetNextVisible(FFocusedNode, true);
        else
            target = up ? GetLastVisible(nullptr, true) : GetFirstVisible(nullptr, true);
        if (!target) {
            InvalidateNode(FFocusedNode);
            break;
        }
        if (editing && !EndEditNode())
            return;
        if (FFocusedNode) {
            // Moving back over the anchor shrinks a Shift selection again.
            const bool keep = extendSelection && lastFocused &&
                              (up ? CompareNodeOrder(lastFocused, FRangeAnchor, false) <= 0
                                  : CompareNodeOrder(lastFocused, FRangeAnchor, false) >= 0);
            if (!keep)
                RemoveFromSelection(FFocusedNode);
        }
        if (FFocusedColumn <= NoColumn)
            FFocusedColumn = FHeader.GetMainColumn();
        SetFocusedNode(target);
        break;
    }
    default: break;
    }

    bool cleared = false;
    if (clearSelectionNeeded && (lastFocused != FFocusedNode || FSelection.size() != 1)) {
        ClearSelection();
        cleared = true;
    }
    if (shift == 0) {
        FRangeAnchor = FFocusedNode;
        FLastSelectionLevel = FFocusedNode ? int(GetNodeLevel(FFocusedNode)) : -1;
    }
    if (FFocusedNode) {
        if (rangeKey && lastFocused)
            ToggleSelection(lastFocused, FFocusedNode);
        if (FFocusedNode != lastFocused || cleared)
            AddToSelection(FFocusedNode);
    }
    if (needInvalidate)
        Invalidate();
}

void TBaseNodeTree::KeyCommand(int& key, TShiftState shift)
{
    key = KeypadEquivalent(key);
    const bool ctrl = shift & ssCtrl;
    const bool searching = HasState(tsIncrementalSearching);
    auto toSearch = [this] { DoStateChange(TS(tsIncrementalSearchPending)); };
    switch (key) {
    case VK_ESCAPE:
        if (TreeStates() & TS(tsDrawSelecting, tsDrawSelPending)) {
            DoStateChange(0, TS(tsDrawSelecting, tsDrawSelPending));
            Invalidate();
            key = 0;
        } else if (HasState(tsEditing)) {
            DoCancelEdit();
            key = 0;
        }
        return;
    case VK_F2:
        if (shift == 0 && FFocusedNode && CanEdit(FFocusedNode, FFocusedColumn)) {
            FEditColumn = FFocusedColumn;
            DoEdit();
            key = 0;
        }
        return;
    case VK_SPACE:
        if ((FOptions->MiscOptions() & toCheckSupport) && FFocusedNode && FFocusedNode->CheckType() != ctNone) {
            StartKeyCheckPress();
            key = 0;
        } else
            toSearch();
        return;
    case 'A':
        if (ctrl) {
            SelectAll(true);
            key = 0;
        } else
            toSearch();
        return;
    case VK_APPS: {
        QPoint position(-1, -1);
        if (FFocusedNode) {
            const QRect r = GetDisplayRect(FFocusedNode, FFocusedColumn, true);
            int width = DoGetNodeWidth(FFocusedNode, FFocusedColumn);
            const int limit = FHeader.Columns().IsValidColumn(FFocusedColumn)
                                  ? FHeader.Columns()[FFocusedColumn]->Width()
                                  : ClientWidth();
            width = std::min(width, limit);
            position = QPoint(r.left() + width / 2, r.top() + r.height() / 2);
        }
        DoPopupMenu(FFocusedNode, FFocusedColumn, position);
        key = 0;
        return;
    }
    case VK_MULTIPLY:
    case VK_ADD:
    case VK_SUBTRACT:
    case VK_DIVIDE:
        // During a search the keypad signs are search characters.
        if (searching) {
            toSearch();
            return;
        }
        break;
    default: break;
    }

    const bool reverse = bool(FOptions->MiscOptions() & toReverseFullExpandHotKey) != bool(shift & ssShift);
    switch (key) {
    case VK_MULTIPLY:
        if (FFocusedNode)
            FullExpand(FFocusedNode);
        key = 0;
        break;
    case VK_ADD:
        if (ctrl) {
            if (reverse)
                FullExpand();
            else
                FHeader.AutoFitColumns(true, smaUseColumnOption, -1, -1);
        } else if (FFocusedNode && !FFocusedNode->Has(vsExpanded))
            ToggleNode(FFocusedNode);
        key = 0;
        break;
    case VK_SUBTRACT:
        if (ctrl) {
            if (reverse)
                FullCollapse();
            else
                FHeader.RestoreColumns();
        } else if (FFocusedNode && FFocusedNode->Has(vsExpanded))
            ToggleNode(FFocusedNode);
        key = 0;
        break;
    case VK_DIVIDE:
        if (FFocusedNode)
            FullCollapse(FFocusedNode);
        key = 0;
        break;
    case VK_F1:
        if (OnGetHelpContext) {
            int context = 0;
            for (PTreeNode node = FFocusedNode; node && node != FRoot && context == 0; node = ParentOf(node))
                OnGetHelpContext(this, node, FFocusedColumn > NoColumn ? FFocusedColumn : 0, context);
            // Then the tree's own help context and those of the controls around it.
            for (QWidget* w = this; w && context == 0; w = w->parentWidget())
                context = w->property("HelpContext").toInt();
            if (context != 0 && ShowHelpContext)
                ShowHelpContext(context);
            key = 0;
        }
        break;
    default:
        if (key >= 32 && bool(shift & ssCtrl) == bool(shift & ssAlt))
            toSearch();
        break;
    }
}

void TBaseNodeTree::KeyUp(int& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (key == VK_TAB)
        EnsureNodeFocused();
    else if (key == VK_SPACE && HasState(tsKeyCheckPending))
        FinishKeyCheckPress();
}

void TBaseNodeTree::KeyPress(QChar& key)
{
    const bool sawKeyDown = FKeyDownSeen;
    FKeyDownSeen = false;
    if (!sawKeyDown) {
        // A character without a key of its own (a sign of the main keyboard, a letter of another
        // alphabet) takes the key-down road first.
        int code = KeypadFromCharacter(key);
        if (!code && key.unicode() >= 32)
            code = key.unicode();
        if (code) {
            const bool searching = HasState(tsIncrementalSearching);
            if (code >= VK_MULTIPLY && code <= VK_DIVIDE && !searching) {
                KeyCommand(code, 0);
                if (code == 0) {
                    key = QChar();
                    return;
                }
            }
            DoStateChange(TS(tsIncrementalSearchPending));
        }
    }
    if (HasState(tsIncrementalSearchPending)) {
        DoStateChange(0, TS(tsIncrementalSearchPending));
        IncrementalSearch(key.unicode());
        key = QChar();
    }
    TCustomControl::KeyPress(key);
}

// ---- incremental search ----

void TBaseNodeTree::SetIncrementalSearch(TTVIncrementalSearch value)
{
    if (FIncrementalSearch == value)
        return;
    FIncrementalSearch = value;
    if (value == isNone)
        ResetIncrementalSearch();
}

void TBaseNodeTree::ResetIncrementalSearch()
{
    DoStateChange(0, TS(tsIncrementalSearching));
    StopTimer(TTreeTimer::Search);
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
}

int TBaseNodeTree::DoIncrementalSearch(PTreeNode node, const QString& text)
{
    int result = 0;
    if (OnIncrementalSearch)
        OnIncrementalSearch(this, node, text, result);
    return result;
}

PTreeNode TBaseNodeTree::SearchStep(PTreeNode node, bool forward, bool wrap)
{
    PTreeNode next = nullptr;
    switch (FIncrementalSearch) {
    case isInitializedOnly:
        if (node)
            next = forward ? GetNextNoInit(node) : GetPreviousNoInit(node);
        if (!next && (wrap || !node))
            next = forward ? GetFirstNoInit() : GetLastNoInit();
        break;
    case isVisibleOnly:
        if (node)
            next = forward ? GetNextVisible(node, true) : GetPreviousVisible(node, true);
        if (!next && (wrap || !node))
            next = forward ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
        break;
    default:
        if (node)
            next = forward ? GetNext(node) : GetPrevious(node);
        if (!next && (wrap || !node))
            next = forward ? GetFirst() : GetLast();
        break;
    }
    return next;
}

void TBaseNodeTree::IncrementalSearch(int charCode)
{
    StopTimer(TTreeTimer::Search);
    if (FIncrementalSearch == isNone)
        return;
    auto restartTimer = [this] { StartTimer(TTreeTimer::Search, int(FSearchTimeout)); };
    if (charCode == 0) {
        restartTimer();
        return;
    }
    DoStateChange(TS(tsIncrementalSearching));
    const bool backspace = charCode == VK_BACK;
    if (backspace && FSearchBuffer.isEmpty()) {
        restartTimer();
        return;
    }

    PTreeNode start = nullptr;
    switch (FSearchStart) {
    case ssAlwaysStartOver: break;
    case ssLastHit: start = FLastSearchNode; break;
    case ssFocusedNode: start = FFocusedNode; break;
    }
    if (start && FIncrementalSearch == isInitializedOnly && !start->Has(vsInitialized))
        start = nullptr;
    if (start && FIncrementalSearch == isVisibleOnly && (!GetFullyVisible(start) || IsEffectivelyFiltered(start)))
        start = nullptr;

    const bool forward = (FSearchDirection == sdForward) != backspace;
    const QChar ch = QChar(char16_t(charCode));
    const bool repeat = FSearchBuffer.size() == 1 && !backspace && FSearchBuffer.at(0) == ch && start &&
                        DoIncrementalSearch(start, FSearchBuffer + ch) != 0;

    PTreeNode node = start;
    if (FSearchBuffer.isEmpty() || !start || repeat || backspace)
        node = SearchStep(start, forward, true);

    QString text = FSearchBuffer;
    if (backspace)
        text.chop(1);
    else if (!repeat)
        text += ch;

    // Walk from the node, around the end, back to where the walk began.
    PTreeNode found = nullptr;
    PTreeNode stop = node;
    PTreeNode last = node;
    while (node) {
        last = node;
        if (DoIncrementalSearch(node, text) == 0) {
            found = node;
            break;
        }
        node = SearchStep(node, forward, start != nullptr);
        if (node == stop)
            break;
    }

    if (found) {
        ClearSelection();
        FSearchBuffer = text;
        FLastSearchNode = found;
        SetFocusedNode(found);
        SetSelected(found, true);
    } else if (!last || DoIncrementalSearch(last, text) != 0) {
        QApplication::beep();
    }
    restartTimer();
}

QMenu* TBaseNodeTree::DoGetPopupMenu(PTreeNode node, TColumnIndex column, QPoint position)
{
    QMenu* menu = nullptr;
    if (!OnGetPopupMenu)
        return menu;
    bool askParent = true;
    if (!node || node == FRoot) {
        OnGetPopupMenu(this, nullptr, NoColumn, position, askParent, menu);
        return menu;
    }
    // Nodes without a menu of their own may borrow their parent's.
    for (PTreeNode run = node; run && run != FRoot && !menu && askParent; run = GetNodeParent(run)) {
        OnGetPopupMenu(this, run, column, position, askParent, menu);
    }
    return menu;
}

bool TBaseNodeTree::HasPopupMenu(PTreeNode node, TColumnIndex column, QPoint position)
{
    return PopupMenu() || DoGetPopupMenu(node, column, position);
}

void TBaseNodeTree::DoPopupMenu(PTreeNode node, TColumnIndex column, QPoint position)
{
    QMenu* menu = DoGetPopupMenu(node, column, position);
    if (!menu)
        return;
    DoStateChange(TS(tsPopupMenuShown));
    StopTimer(TTreeTimer::Edit);  // the edit timer: a menu shown must not start an edit behind it
    menu->setProperty("popupComponent", QVariant::fromValue(static_cast<QObject*>(this)));
    menu->popup(viewport()->mapToGlobal(position));
}

}  // namespace tree
