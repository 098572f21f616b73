#pragma once
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include "grid/core/GridTypes.h"
#include "platform/TCustomControl.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editing {

class TSpecialEditors;

enum TEditStyle : uint8_t { esInplace, esPopup };

// The link through which an application edits cells of type edCustom with a control of its own.
// A descendant builds the control in CreateEditor, frees it in DestroyEditor and moves the value
// in GetEditorValue / SetEditorValue; the link does the rest: while the control has the focus
// its keys pass EditKeyDown first (the leaving keys end the edit as the grid's own editors do),
// its value goes back into the cell, and losing the focus ends the edit. In pop-up style the
// control sits in a borderless stay-on-top form that the link owns and frees.
class TEditLink : public QObject, public TObject {
public:
    explicit TEditLink(QObject* owner = nullptr);
    ~TEditLink() override;
    TEditLink(const TEditLink&) = delete;
    TEditLink& operator=(const TEditLink&) = delete;

    TEditStyle EditStyle = esInplace;
    int PopupWidth = 0, PopupHeight = 0;
    bool AutoPopupWidth = false;
    int PopupLeft = -1, PopupTop = -1;  // screen position; -1: the cell's top-left corner
    bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false;
    bool WantKeyReturn = false, WantKeyEscape = false;
    bool WantTabs = false, WantReturns = false;
    int Tag = 0;

    TExtStringGrid* Grid() const;
    TPoint EditCell{-1, -1};  // real column, row
    // The pop-up form while the link is in pop-up style and has made one.
    QWidget* PopupForm() const { return FPopup; }

    // The control's key-down; Key becomes 0 when the key was used here.
    virtual void EditKeyDown(QObject* sender, int& key, platform::TShiftState shift);
    virtual QWidget* GetEditControl() { return nullptr; }
    virtual void CreateEditor(QWidget* /*parent*/) {}
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool value);
    virtual void SetRect(QRect r);
    virtual void SetVisible(bool value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor /*color*/, const TFontDesc& /*font*/) {}
    virtual QString GetEditorValue() { return {}; }
    virtual void SetEditorValue(const QString& /*value*/) {}

    QString GetCellValue() const;
    void SetCellValue(const QString& value);
    void HideEditor();
    void EditExit();
    void FormExit();
    QWidget* GetParent() const;
    void RestoreWinProc();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TSpecialEditors;
    // The grid's side of opening (called by the grid's special editors).
    void Open(TExtStringGrid& grid, TPoint cell, const QRect& cellRect, TColor color, const TFontDesc& font,
              const QString& text, QChar startChar);
    QWidget* MakePopup(const QPoint& at);
    bool LeavesEditor(int key, platform::TShiftState shift) const;

    QPointer<TExtStringGrid> FGrid;
    QPointer<QWidget> FPopup;
    QPointer<QWidget> FHooked;  // the control whose events pass the link first
    bool FForcedExit = false;
    bool FSubclassed = false;
};

}  // namespace grid::editing
