#include "controls/dropdowns/TrackBarDropDown.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace dropdowns {

namespace {
constexpr int kTrackBarHeight = 40;
}

TExtTrackBarDropDown::TExtTrackBarDropDown(QWidget* parent) : TExtCustomDropDown(parent)
{
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
    SetForceShadow(true);
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
    // The base constructor reaches only its own part.
    CreateDropDownForm();
}

TExtTrackBarDropDown::~TExtTrackBarDropDown() = default;

void TExtTrackBarDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!FTrackBar && DropDownForm()) {
        FTrackBar = new QSlider(Qt::Horizontal, DropDownForm());
        FTrackBar->setTickPosition(QSlider::TicksBelow);
        FTrackBar->setGeometry(0, 0, FTrackBar->width(), kTrackBarHeight);
        FTrackBar->setMinimum(FMin);
        FTrackBar->setMaximum(FMax);
        FTrackBar->setValue(FPosition);
        FTrackBar->setPageStep(FPageSize);
        FTrackBar->setTickInterval(FFrequency);
        connect(FTrackBar, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
    }
}

void TExtTrackBarDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    if (FTrackBar) {
        FTrackBar->setMinimum(FMin);
        FTrackBar->setMaximum(FMax);
        FTrackBar->setValue(FPosition);
        FTrackBar->setPageStep(FPageSize);
        FTrackBar->setTickInterval(FFrequency);
        // Laid out into a form that had no size yet, the track bar lost its own height.
        FTrackBar->resize(width(), kTrackBarHeight);
        SetControl(FTrackBar);
    }
}

void TExtTrackBarDropDown::TrackBarChange()
{
    if (!FTrackBar)
        return;
    FPosition = FTrackBar->value();
    SetTextDirect(QString::number(FPosition));
    if (OnTrackChange)
        OnTrackChange();
}

void TExtTrackBarDropDown::TakeBackFromTrackBar()
{
    FMin = FTrackBar->minimum();
    FMax = FTrackBar->maximum();
    FPosition = FTrackBar->value();
}

void TExtTrackBarDropDown::SetMin(int value)
{
    FMin = value;
    if (FTrackBar) {
        FTrackBar->setMinimum(value);
        TakeBackFromTrackBar();
    }
}

void TExtTrackBarDropDown::SetMax(int value)
{
    FMax = value;
    if (FTrackBar) {
        FTrackBar->setMaximum(value);
        TakeBackFromTrackBar();
    }
}

void TExtTrackBarDropDown::SetPosition(int value)
{
    FPosition = value;
    if (FTrackBar) {
        FTrackBar->setValue(value);
        TakeBackFromTrackBar();
    }
}

void TExtTrackBarDropDown::SetPageSize(int value)
{
    // Dragging divides by the page size.
    FPageSize = std::max(1, value);
    if (FTrackBar)
        FTrackBar->setPageStep(FPageSize);
}

void TExtTrackBarDropDown::SetFrequency(int value)
{
    FFrequency = std::max(1, value);
    if (FTrackBar)
        FTrackBar->setTickInterval(FFrequency);
}

void TExtTrackBarDropDown::Change()
{
    // A partial entry ("", "-") in an editable edit keeps the position it had.
    bool ok = false;
    const int value = GetText().trimmed().toInt(&ok, 10);
    if (ok)
        SetPosition(value);
}

void TExtTrackBarDropDown::keyPressEvent(QKeyEvent* event)
{
    TExtCustomDropDown::keyPressEvent(event);
    if (EditorEnabled() || (event->modifiers() & Qt::AltModifier))
        return;
    // Up lowers and Down raises the value, within the range.
    if (event->key() == Qt::Key_Up) {
        if (qint64(FPosition) - FFrequency >= FMin)
            SetPosition(FPosition - FFrequency);
    } else if (event->key() == Qt::Key_Down) {
        if (qint64(FPosition) + FFrequency <= FMax)
            SetPosition(FPosition + FFrequency);
    }
}

void TExtTrackBarDropDown::mousePressEvent(QMouseEvent* event)
{
    TExtCustomDropDown::mousePressEvent(event);
    if (DropDownEnabled() && !EditorEnabled()) {
        FMouseX = event->position().toPoint().x();
        FMouseDraging = true;
    }
}

void TExtTrackBarDropDown::mouseMoveEvent(QMouseEvent* event)
{
    TExtCustomDropDown::mouseMoveEvent(event);
    if (!FMouseDraging)
        return;
    const int x = event->position().toPoint().x();
    const int d = x - FMouseX;
    FMouseX = x;
    // Towards zero: a movement smaller than the page size is lost.
    const int steps = d / FPageSize;
    if (steps != 0)
        SetPosition(FPosition + steps);
}

void TExtTrackBarDropDown::mouseReleaseEvent(QMouseEvent* event)
{
    TExtCustomDropDown::mouseReleaseEvent(event);
    FMouseDraging = false;
}

}  // namespace dropdowns
