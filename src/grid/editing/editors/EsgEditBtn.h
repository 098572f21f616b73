#pragma once
#include <QAbstractButton>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <functional>

class QMenu;

namespace grid::editors {

class TEsgEditButton;

// The speed button inside an edit's button control: painted in the control's colours when it
// has them, else themed (IsWinXP), flat or as a push button; caption in black, centred.
class TExtSpeedButton : public QAbstractButton {
public:
    explicit TExtSpeedButton(TEsgEditButton* owner);

    bool IsWinXP = false;
    bool Flat = false;
    bool Hot() const { return FHot; }
    QPixmap Glyph;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TEsgEditButton* FOwner;
    bool FHot = false;
};

// The small control that holds the speed button; a press fires OnClick and hands the focus to
// FocusControl (the edit it belongs to).
class TEsgEditButton : public QWidget {
public:
    explicit TEsgEditButton(QWidget* parent = nullptr);

    static constexpr uint32_t ColorNone = 0x1FFFFFFF;
    uint32_t ButtonColor = ColorNone, ButtonColorHot = ColorNone, ButtonColorDown = ColorNone;
    uint32_t ButtonBorderColor = ColorNone, ButtonTextColor = ColorNone, ButtonTextColorHot = ColorNone;
    uint32_t ButtonTextColorDown = ColorNone;

    TExtSpeedButton* SpeedButton() const { return FButton; }
    QString ButtonCaption() const { return FButton->text(); }
    void SetButtonCaption(const QString& caption) { FButton->setText(caption); }
    bool Flat() const { return FButton->Flat; }
    void SetFlat(bool flat);
    QPointer<QWidget> FocusControl;
    std::function<void()> OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Press();
    TExtSpeedButton* FButton;
};

// An edit box with a button at its right end. The button (or F4) runs the button-click step;
// with RightAlign the text stands at the right; UnitSpace pixels between text and button are
// left for a unit text.
class TEsgEditBtn : public QLineEdit {
public:
    explicit TEsgEditBtn(QWidget* parent = nullptr);

    TEsgEditButton* Button() const { return FButton; }
    int ButtonWidth() const { return FButton->width(); }
    void SetButtonWidth(int width);
    QString ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const QString& caption) { FButton->SetButtonCaption(caption); }
    bool IsWinXP() const { return FButton->SpeedButton()->IsWinXP; }
    void SetIsWinXP(bool value);
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool value);
    // Typing, paste and cut are allowed.
    bool EditorEnabled = true;
    bool AutoSelect = true;
    // The button was pressed or F4 typed.
    std::function<void()> OnClickBtn;
    // The button-click step.
    virtual void ButtonClick();
    // The least height that shows the control's font.
    int MinimumHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The space kept free for the unit text.
    int FUnitSize = 0;
    void LayoutButton();
    // Paste and cut from the keyboard; they run only with EditorEnabled and not read-only.
    virtual void Paste() { paste(); }

private:
    TEsgEditButton* FButton;
    bool FRightAlign = false;
};

// The edit box with a unit shown between the text and the button; the button opens a menu of
// the units.
class TEsgUnitEditBtn : public TEsgEditBtn {
public:
    explicit TEsgUnitEditBtn(QWidget* parent = nullptr);

    QString UnitID() const { return FUnitID; }
    void SetUnitID(const QString& unit);
    QStringList Units;
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int value);
    // The text followed by the unit.
    QString TextAndUnit() const { return text() + FUnitID; }
    // Splits a value at the first unit that ends it; a value that no unit ends becomes the text
    // with no unit, so that writing it back gives the value unchanged.
    void SetTextAndUnit(const QString& value);
    // A unit picked from the menu; a new one fires OnUnitChanged.
    void PickUnit(int index);
    std::function<void(const QString& newUnit)> OnUnitChanged;
    // The button-click step: OnClickBtn, then the unit menu.
    void ButtonClick() override;
    // The unit menu while it is open, else null.
    QMenu* UnitMenu() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString FUnitID;
    QPointer<QMenu> FMenu;
};

// The unit that ends value: the first unit of the list whose first occurrence in the value is at
// its end. False when none does.
bool SplitUnit(const QString& value, const QStringList& units, QString& text, QString& unit);

// What a character filter does with a typed character.
enum class TCharVerdict { Pass, Drop, Beep };
// Integer editors: digits pass, "-" only as the first and only sign; the rest beeps.
TCharVerdict NumericCharVerdict(QChar ch, const QString& text, int selStart);
// Decimal editors: digits, one decimal separator, "-" in front; the thousand separator and a
// second decimal separator are dropped silently, a misplaced "-" beeps, anything else is dropped.
TCharVerdict FloatCharVerdict(QChar ch, const QString& text, int selStart, int selLength, QChar decimal,
                              QChar thousand);

// An edit mask of the form "mask;keep literals;blank" as a line edit's input mask.
QString InputMaskFromEditMask(const QString& editMask);

}  // namespace grid::editors
