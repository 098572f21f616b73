#pragma once
#include <functional>
#include <QComboBox>
#include <QFont>
#include <QPointer>

#include <QLabel>

namespace grid::editors {

// Positions of a combo box's caption label, in their stored order.
enum TLabelPosition : uint8_t {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

// Where a label of the given size goes beside a control's rectangle; `textWidth` is the caption's
// measured width, `margin` the gap. Halves are truncated towards zero.
QPoint LabelPlace(TLabelPosition position, const QRect& control, const QSize& label, int textWidth, int margin);

// A combo box with a flat look, colours for its border and button, and a caption label placed at
// one of thirteen positions around it.
class TEsgCustomCombo : public QComboBox {
public:
    static constexpr uint32_t ColorNone = 0x1FFFFFFF;

    explicit TEsgCustomCombo(QWidget* parent = nullptr);
    ~TEsgCustomCombo() override;

    // Selects the item equal to the text; nothing happens when there is none.
    void SelectItem(const QString& text);

    int ButtonWidth() const { return FButtonWidth; }
    // Accepts 14 to 32 only.
    void SetButtonWidth(int value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    // Width of the opened list; 0 = the control's width.
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int value);
    // Width the opened list gets; never below the control's own.
    int DroppedWidth() const { return FDroppedWidth; }
    void SetDroppedWidth(int value);

    QString LabelCaption() const;
    void SetLabelCaption(const QString& caption);
    QLabel* ComboLabel() const { return FLabel; }
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    bool FocusLabel = false;
    void UpdateLabel();

    bool AutoFocus = false;
    bool FocusBorder = false;
    bool FlatParentColor = true;
    bool DisabledBorder = true;
    bool IsWinXP = false, IsVista = false;
    uint32_t FocusColor = ColorNone, FocusBorderColor = ColorNone, BorderColor = ColorNone;
    uint32_t FlatLineColor = ColorNone;
    uint32_t ButtonColor = ColorNone, ButtonColorHot = ColorNone, ButtonColorDown = ColorNone;
    uint32_t ButtonBorderColor = ColorNone, ButtonTextColor = ColorNone, ButtonTextColorHot = ColorNone;
    uint32_t ButtonTextColorDown = ColorNone;
    // The button's fill for its state (pressed or list open, under the mouse, normal), each
    // falling back to ButtonColor; ColorNone when the style draws the button.
    uint32_t ButtonFill() const;
    bool HasFocus() const { return FHasFocus; }

    // The list opened and closed.
    std::function<void()> OnDropDown, OnDropUp;
    void showPopup() override;
    void hidePopup() override;

protected:
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetLabelBold(bool bold);

    bool FFlat = false, FEtched = false, FHasFocus = false, FPressed = false;
    int FButtonWidth;
    int FDropWidth = 0, FDroppedWidth = 0;
    bool FLabelAlwaysEnabled = false;
    int FLabelMargin = 4;
    TLabelPosition FLabelPosition = lpLeftTop;
    QPointer<QLabel> FLabel;
};

}  // namespace grid::editors
