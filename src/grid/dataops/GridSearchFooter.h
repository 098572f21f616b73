#pragma once
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>
#include <functional>

#include "grid/core/GridTypes.h"
#include "grid/dataops/GridFind.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::dataops {

// The search edit: Enter and Ctrl+Enter are reported, never typed.
class TRetEdit : public QLineEdit {
public:
    explicit TRetEdit(QWidget* parent) : QLineEdit(parent) {}
    std::function<void()> OnReturn, OnCtrlReturn;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// The search footer's window: a strip at the grid's foot with the search edit, find next, find
// previous, close and highlight buttons and a match-case box.
class TSearchPanelWindow : public QWidget {
public:
    explicit TSearchPanelWindow(TExtStringGrid& grid);
    TExtStringGrid& Grid;
    TRetEdit* EditControl;
    QToolButton *ForwardButton, *BackwardButton, *ExitButton, *HiliteButton;
    QCheckBox* MatchCase;
    TColor ColorTo = clNone;

    std::function<void()> OnEditChange, OnForwardClick, OnBackwardClick, OnExitClick, OnHighlightClick;

    // Captions, hints, colours and shown controls from the grid's search footer settings, then
    // docks at the grid's foot as its search panel says.
    void UpdateFromSettings();
    // The edit's background: red when the last incremental search found nothing.
    void SetEditColor(TColor color);
    TColor EditColor() const { return FEditColor; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void EditChanged();
    TColor FEditColor;
};

// The search footer of one grid: what typing, the buttons and the close button do.
class TGridSearchFooter {
public:
    TGridSearchFooter(TExtStringGrid& grid, TGridFind& find) : Grid(grid), Find(find) {}
    TExtStringGrid& Grid;
    TGridFind& Find;

    // The panel's window, made on first need.
    TSearchPanelWindow* Panel();
    bool HasPanel() const { return FPanel; }
    // The grid's search panel settings changed (shown, hidden, captions) or the grid was sized.
    void Update();
    // Ctrl+F: the search edit takes the focus while the footer shows.
    void FocusEdit();

    void SearchPanelEditChange();
    void SearchPanelForwardClick();
    void SearchPanelBackwardClick();
    void SearchPanelHighlightClick();
    // Toggles the highlight button, then acts on its new state.
    void HighlightAccelerator();
    void SearchPanelExitClick();

    std::function<void(TExtStringGrid*, const QString& value, bool& defaultSearch)> OnSearchEditChange;
    std::function<void(TExtStringGrid*, const QString& value, int col, int row, TSearchAction action)>
        OnSearchFooterAction;
    std::function<void(TExtStringGrid*)> OnSearchFooterClose;

private:
    TFindParams BaseFlags() const;
    bool HighlightDown() const;
    void Highlight(const QString& text);
    void UnHighlight();
    void ScrollAfterStep(int footerRows, int step);
    // The panel's text for a find step, noted as the last search.
    QString StepText();
    QPointer<TSearchPanelWindow> FPanel;
};

}  // namespace grid::dataops
