#include "grid/editing/editors/EsgCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStyle>

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

TEsgCustomCombo::~TEsgCustomCombo() { delete FLabel; }

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

}  // namespace grid::editors
