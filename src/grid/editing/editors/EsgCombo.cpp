#include "grid/editing/editors/EsgCombo.h"
#include "platform/OwnedObject.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "platform/TCanvas.h"

namespace grid::editors {

QPoint LabelPlace(TLabelPosition position, const QRect& control, const QSize& label, int textWidth, int margin)
{
    const int L = control.left(), T = control.top(), W = control.width(), H = control.height();
    const int LH = label.height(), LW = label.width(), M = margin;
    const int middle = T + (H - LH) / 2;  // C++ division truncates towards zero
    switch (position) {
    case lpLeftTop: return {L - textWidth - M, T};
    case lpLeftCenter: return {L - textWidth - M, middle};
    case lpLeftBottom: return {L - textWidth - M, T + H - LH};
    case lpTopLeft: return {L, T - LH - M};
    case lpBottomLeft: return {L, T + H + M};
    case lpLeftTopLeft: return {L - M, T};
    case lpLeftCenterLeft: return {L - M, middle};
    case lpLeftBottomLeft: return {L - M, T + H - LH};
    case lpTopCenter: return {L + (W - LW) / 2, T - LH - M};
    case lpBottomCenter: return {L + (W - LW) / 2, T + H + M};
    case lpRightTop: return {L + W + M, T};
    case lpRightCenter: return {L + W + M, middle};
    case lpRighBottom: return {L + W + M, T + H - LH};
    }
    return {L, T};
}

TEsgCustomCombo::TEsgCustomCombo(QWidget* parent)
    : QComboBox(parent), FButtonWidth(QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2)
{
}

TEsgCustomCombo::~TEsgCustomCombo() { platform::Destroy_Now(FLabel); }

void TEsgCustomCombo::SelectItem(const QString& text)
{
    const int i = findText(text, Qt::MatchFixedString);
    if (i >= 0)
        setCurrentIndex(i);
}

void TEsgCustomCombo::SetButtonWidth(int value)
{
    if (value < 14 || value > 32)
        return;
    FButtonWidth = value;
    update();
}

void TEsgCustomCombo::SetFlat(bool value)
{
    if (FFlat == value)
        return;
    FFlat = value;
    setFrame(!value);
    update();
}

void TEsgCustomCombo::SetEtched(bool value)
{
    FEtched = value;
    update();
}

void TEsgCustomCombo::SetDropWidth(int value)
{
    FDropWidth = value;
    if (value > 0)
        SetDroppedWidth(value);
}

void TEsgCustomCombo::SetDroppedWidth(int value) { FDroppedWidth = std::max(value, width()); }

void TEsgCustomCombo::showPopup()
{
    if (FDroppedWidth > width())
        view()->setMinimumWidth(FDroppedWidth);
    QComboBox::showPopup();
    if (OnDropDown)
        OnDropDown();
}

void TEsgCustomCombo::hidePopup()
{
    const bool dropped = view() && view()->isVisible();
    QComboBox::hidePopup();
    // The list took the release of the press that opened it.
    FPressed = false;
    update();
    if (dropped && OnDropUp)
        OnDropUp();
}

QString TEsgCustomCombo::LabelCaption() const { return FLabel ? FLabel->text() : QString(); }

void TEsgCustomCombo::SetLabelCaption(const QString& caption)
{
    if (!FLabel) {
        FLabel = new QLabel(parentWidget());
        FLabel->setTextFormat(Qt::PlainText);
        FLabel->setBuddy(this);
    }
    FLabel->setText(caption);
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelPosition(TLabelPosition value)
{
    FLabelPosition = value;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelMargin(int value)
{
    FLabelMargin = value;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelAlwaysEnabled(bool value)
{
    FLabelAlwaysEnabled = value;
    if (FLabel)
        FLabel->setEnabled(value || isEnabled());
    UpdateLabel();
}

void TEsgCustomCombo::UpdateLabel()
{
    if (!FLabel)
        return;
    if (FLabel->parentWidget() != parentWidget())
        FLabel->setParent(parentWidget());
    const int textWidth = FLabel->fontMetrics().horizontalAdvance(FLabel->text());
    FLabel->adjustSize();
    FLabel->move(LabelPlace(FLabelPosition, geometry(), FLabel->size(), textWidth, FLabelMargin));
    FLabel->setVisible(isVisibleTo(parentWidget()) || (parentWidget() == nullptr && isVisible()));
}

void TEsgCustomCombo::SetLabelBold(bool bold)
{
    if (!FocusLabel || !FLabel)
        return;
    QFont f = FLabel->font();
    f.setBold(bold);
    FLabel->setFont(f);
}

void TEsgCustomCombo::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
        UpdateLabel();
    }
}

void TEsgCustomCombo::moveEvent(QMoveEvent* event)
{
    QComboBox::moveEvent(event);
    UpdateLabel();
}

void TEsgCustomCombo::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    UpdateLabel();
}

void TEsgCustomCombo::showEvent(QShowEvent* event)
{
    QComboBox::showEvent(event);
    UpdateLabel();
}

void TEsgCustomCombo::hideEvent(QHideEvent* event)
{
    QComboBox::hideEvent(event);
    if (FLabel)
        FLabel->hide();
}

void TEsgCustomCombo::focusInEvent(QFocusEvent* event)
{
    FHasFocus = true;
    SetLabelBold(true);
    QComboBox::focusInEvent(event);
}

void TEsgCustomCombo::focusOutEvent(QFocusEvent* event)
{
    FHasFocus = false;
    SetLabelBold(false);
    QComboBox::focusOutEvent(event);
}

uint32_t TEsgCustomCombo::ButtonFill() const
{
    auto pick = [this](uint32_t color) { return color != ColorNone ? color : ButtonColor; };
    const bool listOpen = view() && view()->isVisible();
    if (FPressed || listOpen)
        return pick(ButtonColorDown != ColorNone ? ButtonColorDown : ButtonColorHot);
    if (underMouse())
        return pick(ButtonColorHot);
    return ButtonColor;
}

// The style draws the control; the colours set here then cover its button and border.
void TEsgCustomCombo::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    const uint32_t fill = ButtonFill(); 
    if (fill == ColorNone && BorderColor == ColorNone && ButtonBorderColor == ColorNone)
        return;
    QPainter p(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect button = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    if (fill != ColorNone) {
        p.fillRect(button, platform::ToQColor(fill));
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = button;
        const bool down = FPressed || (view() && view()->isVisible());
        const uint32_t text = down && ButtonTextColorDown != ColorNone       ? ButtonTextColorDown
                              : underMouse() && ButtonTextColorHot != ColorNone ? ButtonTextColorHot
                                                                                : ButtonTextColor;
        if (text != ColorNone)
            arrow.palette.setColor(QPalette::ButtonText, platform::ToQColor(text));
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, this);
    }
    p.setBrush(Qt::NoBrush);
    if (ButtonBorderColor != ColorNone) {
        p.setPen(platform::ToQColor(ButtonBorderColor));
        p.drawRect(button.adjusted(0, 0, -1, -1));
    }
    if (BorderColor != ColorNone) {
        p.setPen(platform::ToQColor(BorderColor));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TEsgCustomCombo::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    update();
}

void TEsgCustomCombo::leaveEvent(QEvent* event)
{
    QComboBox::leaveEvent(event);
    update();
}

void TEsgCustomCombo::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    update();
    QComboBox::mousePressEvent(event);
}

void TEsgCustomCombo::mouseReleaseEvent(QMouseEvent* event)
{
    FPressed = false;
    update();
    QComboBox::mouseReleaseEvent(event);
}

}  // namespace grid::editors
