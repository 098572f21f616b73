#pragma once
#include <QPointer>
#include <QTextEdit>

namespace grid {
class TExtStringGrid;
}

namespace grid::editing {

// The grid's rich-text control: the in-place editor of edRichEdit cells and the hidden work
// control through which the grid converts rich text. Its owner must be a grid. As the in-place
// editor it hands Tab (with goTabs) and, in single-line grids, Up and Down to the grid, puts the
// cell back on Escape and ends the edit when the focus goes elsewhere; with
// SizeWhileTyping.Height its row grows with the text.
class TExtRichEdit : public QTextEdit {
public:
    // Throws when the owner is not a grid.
    TExtRichEdit(QObject* owner, QWidget* parent);

    TExtStringGrid* Grid() const;
    // The size the content last asked for.
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }
    // The grid's hidden work control: its size requests only set ReqWidth and ReqHeight.
    bool WorkControl = false;

    // The selection's vertical offset: 0, -40 or +40 twips.
    void SelNormal();
    void SelSubscript();
    void SelSuperscript();
    bool IsSelNormal() const;
    bool IsSelSubscript() const;
    bool IsSelSuperscript() const;
    // Rebuilds the control's content holder (the window, where one exists).
    void ReCreate();
    void LockSize() { FLocked = true; }
    void UnlockSize() { FLocked = false; }
    bool Locked() const { return FLocked; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SetSelOffset(int twips);
    int SelOffset() const;
    void SizeRequested(const QSizeF& size);

    QPointer<TExtStringGrid> FGrid;
    int FReqWidth = 0, FReqHeight = 0;
    bool FLocked = false;
};

}  // namespace grid::editing
