#pragma once
#include "controls/tree/StringTree.h"

#include <QLineEdit>
#include <QPointer>
#include <memory>

// In-place editing of the string tree's cells: the edit link that the tree drives and its edit
// control.
namespace tree {

class TStringEditLink;

// A single-line edit placed over the cell; it keeps its link alive while it exists.
class TTVEdit : public QLineEdit {
    Q_OBJECT
public:
    TTVEdit(TStringEditLink* link);
    ~TTVEdit() override;

    // Drops both references to the link; the link may go after this.
    void Unlink();
    // Fits the control to its text (single-line nodes without grid extensions).
    void AutoAdjustSize();
    // Frees the control once the current event has been handled.
    void Release() { deleteLater(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class TStringEditLink;
    std::shared_ptr<ITVEditLink> FRefLink;
    TStringEditLink* FLink = nullptr;
};

class TStringEditLink : public ITVEditLink, public std::enable_shared_from_this<TStringEditLink> {
public:
    TStringEditLink();
    ~TStringEditLink() override;

    bool BeginEdit() override;
    bool CancelEdit() override;
    bool EndEdit() override;
    bool PrepareEdit(TBaseNodeTree* tree, PTreeNode node, TColumnIndex column) override;
    QRect GetBounds() override;
    void ProcessMessage(QEvent* event) override;
    void SetBounds(QRect r) override;

    TTVEdit* Edit() const { return FEdit; }
    // Frees the previous edit control.
    void SetEdit(TTVEdit* edit);
    TCustomNodeStringTree* Tree() const { return FTree; }
    PTreeNode Node() const { return FNode; }
    TColumnIndex Column() const { return FColumn; }
    bool Stopping() const { return FStopping; }
    TAlignment EditAlignment() const { return FAlignment; }

private:
    QPointer<TTVEdit> FEdit;
    TCustomNodeStringTree* FTree = nullptr;
    PTreeNode FNode = nullptr;
    TColumnIndex FColumn = NoColumn;
    TAlignment FAlignment = taLeftJustify;
    QRect FTextBounds;
    bool FStopping = false;
};

}  // namespace tree
