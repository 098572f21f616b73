#pragma once
#include "controls/tree/StringTree.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <memory>

// In-place editing of the string tree's cells: the edit link that the tree drives and its edit
// control.
namespace tree {

class TStringEditLink;

// The edit control placed over the cell. It is a plain-text multi-line edit for every node, so
// that its text keeps to a formatting rectangle: a multi-line node's text wraps and takes line
// breaks from Enter, a single-line node's text stays on one line and scrolls sideways.
class TTVEdit : public QPlainTextEdit {
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

    // Sets the control up for a single-line or a multi-line node.
    void SetMultiline(bool multiline);
    bool Multiline() const { return FMultiline; }
    QString text() const { return toPlainText(); }
    void setText(const QString& text);
    bool isModified() const { return document()->isModified(); }
    void setModified(bool modified) { document()->setModified(modified); }
    // Line breaks of a selection read as "\n".
    QString selectedText() const;
    void setAlignment(Qt::Alignment alignment);
    // The area the text keeps to, in the coordinates of the area inside the frame; parts of it
    // outside that area are not shown.
    void SetFormattingRect(const QRect& r);
    QRect FormattingRect() const { return FFormattingRect; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    friend class TStringEditLink;
    void ApplyFormattingRect();
    std::shared_ptr<ITVEditLink> FRefLink;
    TStringEditLink* FLink = nullptr;
    bool FMultiline = false;
    QRect FFormattingRect;
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
