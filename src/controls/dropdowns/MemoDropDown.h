#pragma once
#include "controls/dropdowns/DropDownEdit.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>
#include <functional>

// A multi-line text edited in a drop-down memo; the edit shows its first line (or, when the edit
// is editable, the whole text).
namespace dropdowns {

class TExtMemoDropDown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TExtMemoDropDown(QWidget* parent = nullptr);
    ~TExtMemoDropDown() override;

    // The value, one string per line.
    const QStringList& MemoText() const { return FMemoText; }
    // Copies the lines (the edit then shows them) and hands them to the memo when it exists.
    void SetMemoText(const QStringList& value);
    QMenu* MemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(QMenu* value) { FMemoPopup = value; }
    platform::TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
    void SetMemoScrollBars(platform::TScrollStyle value) { FMemoScrollBars = value; }
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool value);
    // Open the drop-down when the edit is entered.
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool value) { FAutoDrop = value; }
    QPlainTextEdit* Memo() const { return FMemo; }

    std::function<void()> OnMemoChange;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool cancelChanges) override;
    void DropDownHidden() override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void ControlKeyUp(int& key, TShiftState shift) override;
    void ControlKeyPress(QChar& key) override;

    // Writes the edit's summary of MemoText.
    void UpdateEditText();

protected:
    // After every change of the edit text that MemoText did not cause: the text becomes MemoText.
    void Change();
    void MemoChange();
    void focusInEvent(QFocusEvent* event) override;

private:
    // MemoText's change notification.
    void MemoTextChanged();
    void ApplyMemoLimit();

    QPointer<QMenu> FMemoPopup;
    QStringList FMemoText;
    bool FMemoTextNotify = true;
    QPointer<QPlainTextEdit> FMemo;
    platform::TScrollStyle FMemoScrollBars = platform::ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    bool FAutoDrop = false;
};

// The lines of a text as a string list keeps them: split at every line break, without an empty
// last line for a text that ends in one.
QStringList SplitLines(const QString& text);

}  // namespace dropdowns
