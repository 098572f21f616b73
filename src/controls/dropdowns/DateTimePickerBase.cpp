#include "controls/dropdowns/DateTimePickerBase.h"

#include <QApplication>
#include <algorithm>
#include <QCalendarWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

#include "controls/common/ExtXPVS.h"
#include "platform/FrameControl.h"
#include "platform/Guard.h"

namespace dropdowns {

using namespace platform;

namespace {
constexpr TColor ThemedFrameColor = 0x00B99D7F;

bool MouseButtonHeld() { return (QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton)) != 0; }

bool IsThemedSystem() { return controls::ComCtl32MajorVersion() >= 6; }

void Frame(TCanvas& canvas, const QRect& r, TColor color)
{
    canvas.Brush.Color = color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FrameRect(r);
}
}  // namespace

QEvent::Type DTPShiftFocusEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QString PickerTimeFormat()
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    // A time-zone field is no field of a time of day.
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

TDateTimePickerBase::TDateTimePickerBase(QWidget* parent) : QDateTimeEdit(parent)
{
    FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
    setWrapping(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setDateTime(QDateTime::currentDateTime());
    ApplyFormat();
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime&) {
        if (OnChange)
            Guarded([this] { OnChange(); });
    });
}

TDateTimePickerBase::~TDateTimePickerBase() = default;

QString TDateTimePickerBase::EffectiveFormat() const
{
    if (!FFormat.isEmpty())
        return FFormat;
    return FKind == dtkTime ? PickerTimeFormat() : QLocale().dateFormat(QLocale::ShortFormat);
}

void TDateTimePickerBase::ApplyFormat()
{
    const QString format = EffectiveFormat();
    if (displayFormat() != format)
        setDisplayFormat(format);
}

void TDateTimePickerBase::SetKind(TDateTimeKind value)
{
    if (FKind == value)
        return;
    FKind = value;
    ApplyFormat();
    AdjustEditField();
    update();
}

void TDateTimePickerBase::SetDateMode(TDTDateMode value)
{
    FDateMode = value;
    setButtonSymbols(value == dmUpDown ? QAbstractSpinBox::UpDownArrows : QAbstractSpinBox::NoButtons);
    AdjustEditField();
    update();
}

void TDateTimePickerBase::SetFormat(const QString& value)
{
    FFormat = value;
    ApplyFormat();
}

// The value is brought inside the limits; the fields' wrapping must not turn it around.
void TDateTimePickerBase::SetDate(const QDate& value)
{
    if (!value.isValid())
        return;
    setDate(std::clamp(value, minimumDate(), maximumDate()));
    SetValueChecked();
}

void TDateTimePickerBase::SetTime(const QTime& value)
{
    if (!value.isValid())
        return;
    setTime(value);
    SetValueChecked();
}

void TDateTimePickerBase::SetValueChecked()
{
    if (!FChecked)
        SetChecked(true);
}

void TDateTimePickerBase::SetDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return;
    SetValueChecked();
    if (value.date() < minimumDate())
        setDateTime(QDateTime(minimumDate(), value.time()));
    else if (value.date() > maximumDate())
        setDateTime(QDateTime(maximumDate(), value.time()));
    else
        setDateTime(value);
}

void TDateTimePickerBase::SetMinDate(const QDate& value)
{
    FMinDate = value;
    setMinimumDate(value.isValid() ? value : QDate(100, 1, 1));
}

void TDateTimePickerBase::SetMaxDate(const QDate& value)
{
    FMaxDate = value;
    setMaximumDate(value.isValid() ? value : QDate(9999, 12, 31));
}

void TDateTimePickerBase::SetShowCheckbox(bool value)
{
    FShowCheckbox = value;
    AdjustEditField();
    update();
}

void TDateTimePickerBase::SetChecked(bool value)
{
    FChecked = value;
    // The fields of a picker without a value are shown grayed.
    if (QLineEdit* edit = lineEdit()) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Text, value ? this->palette().color(QPalette::Text)
                                               : this->palette().color(QPalette::Disabled, QPalette::Text));
        edit->setPalette(palette);
    }
    CheckChanged();
    update();
}

QRect TDateTimePickerBase::CheckboxRect() const
{
    const int size = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    return QRect(3, (height() - size) / 2, size, size);
}

bool TDateTimePickerBase::DroppedDown() const { return FCalendarWindow && FCalendarWindow->isVisible(); }

void TDateTimePickerBase::DropDown()
{
    if (DroppedDown() || FKind == dtkTime || FDateMode != dmComboBox)
        return;
    if (!FCalendarWindow) {
        auto* window = new TPopupWindow(this);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(1, 1, 1, 1);
        FCalendar = new QCalendarWidget(window);
        FCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        layout->addWidget(FCalendar);
        auto pick = [this](const QDate& day) {
            if (!DroppedDown())
                return;
            SetDate(day);
            CloseUp(false);
        };
        connect(FCalendar, &QCalendarWidget::clicked, this, pick);
        connect(FCalendar, &QCalendarWidget::activated, this, pick);
        window->OnClose = [this](bool) {
            setFocus(Qt::PopupFocusReason);
            if (OnCloseUp)
                Guarded([this] { OnCloseUp(); });
        };
        FCalendarWindow = window;
    }
    FDroppedFrom = date();
    FCalendar->setDateRange(minimumDate(), maximumDate());
    FCalendar->setSelectedDate(date());
    if (OnDropDown)
        OnDropDown();
    FCalendarWindow->resize(FCalendarWindow->sizeHint().expandedTo(FCalendarWindow->size()));
    FCalendarWindow->Popup(QRect(mapToGlobal(QPoint(0, 0)), size()), ppBelow);
    FCalendar->setFocus(Qt::PopupFocusReason);
    update();
}

void TDateTimePickerBase::ToggleDropDown()
{
    if (DroppedDown())
        CloseUp(false);
    else
        DropDown();
}

void TDateTimePickerBase::CloseUp(bool cancelled)
{
    if (!DroppedDown())
        return;
    if (cancelled && date() != FDroppedFrom)
        SetDate(FDroppedFrom);
    FCalendarWindow->ClosePopup(cancelled);
    update();
}

void TDateTimePickerBase::MoveField(int delta)
{
    // A field half typed is taken before the caret leaves it.
    interpretText();
    const int index = std::clamp(currentSectionIndex() + delta, 0, std::max(0, sectionCount() - 1));
    setCurrentSectionIndex(index);
    setSelectedSection(sectionAt(index));
}

void TDateTimePickerBase::TypeDigit(QKeyEvent* event)
{
    const int index = currentSectionIndex();
    QDateTimeEdit::keyPressEvent(event);
    // The field stays current when its digits are complete: moving on is the auto-tab's.
    if (currentSectionIndex() != index) {
        setCurrentSectionIndex(index);
        setSelectedSection(sectionAt(index));
    }
}

bool TDateTimePickerBase::event(QEvent* event)
{
    if (event->type() == DTPShiftFocusEvent()) {
        Guarded([this] { ShiftFocus(); });
        return true;
    }
    return QDateTimeEdit::event(event);
}

void TDateTimePickerBase::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool combo = FDateMode == dmComboBox && FKind == dtkDate;
    if (combo && (key == Qt::Key_F4 || ((key == Qt::Key_Down || key == Qt::Key_Up) && mods == Qt::AltModifier))) {
        ToggleDropDown();
        event->accept();
        return;
    }
    if (key == Qt::Key_Space && FShowCheckbox && mods == Qt::NoModifier) {
        ToggleCheck();
        event->accept();
        return;
    }
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && mods == Qt::NoModifier) {
        MoveField(key == Qt::Key_Right ? 1 : -1);
        event->accept();
        return;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        TypeDigit(event);
        return;
    }
    QDateTimeEdit::keyPressEvent(event);
}

QRect TDateTimePickerBase::ButtonRect() const
{
    return QRect(QPoint(width() - FButtonWidth + 2, 1), QPoint(width() - 2, height() - 2));
}

void TDateTimePickerBase::AdjustEditField()
{
    QLineEdit* edit = lineEdit();
    if (!edit)
        return;
    QRect r = edit->geometry();
    const int right = width() - FButtonWidth;
    if (FDateMode == dmComboBox && r.right() >= right)
        r.setRight(right - 1);
    const int left = CheckboxRect().right() + 3;
    if (FShowCheckbox && r.left() < left)
        r.setLeft(left);
    edit->setGeometry(r);
}

void TDateTimePickerBase::resizeEvent(QResizeEvent* event)
{
    QDateTimeEdit::resizeEvent(event);
    AdjustEditField();
}

void TDateTimePickerBase::showEvent(QShowEvent* event)
{
    QDateTimeEdit::showEvent(event);
    AdjustEditField();
}

void TDateTimePickerBase::changeEvent(QEvent* event)
{
    QDateTimeEdit::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        AdjustEditField();
}

void TDateTimePickerBase::SetCtl3D(bool value)
{
    FCtl3D = value;
    setFrame(value || FBorderStyle == bsSingle);
    AdjustEditField();
    update();
}

void TDateTimePickerBase::SetBorderStyle(TPickerBorderStyle value)
{
    FBorderStyle = value;
    setFrame(FCtl3D || value == bsSingle);
    AdjustEditField();
    update();
}

void TDateTimePickerBase::SetBorderColor(TColor value)
{
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    update();
}

void TDateTimePickerBase::SetMetroStyle(bool value)
{
    if (FMetroStyle == value)
        return;
    FMetroStyle = value;
    update();
}

void TDateTimePickerBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && FShowCheckbox
        && CheckboxRect().adjusted(-2, -2, 2, 2).contains(event->position().toPoint())) {
        setFocus(Qt::MouseFocusReason);
        ToggleCheck();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && FDateMode == dmComboBox && FKind == dtkDate
        && ButtonRect().contains(event->position().toPoint())) {
        setFocus(Qt::MouseFocusReason);
        ToggleDropDown();
        event->accept();
        return;
    }
    QDateTimeEdit::mousePressEvent(event);
}

void TDateTimePickerBase::mouseMoveEvent(QMouseEvent* event)
{
    const bool hover = event->position().x() >= width() - FButtonWidth;
    if (hover != FButtonHover) {
        FButtonHover = hover;
        update();
    }
    QDateTimeEdit::mouseMoveEvent(event);
}

void TDateTimePickerBase::enterEvent(QEnterEvent* event)
{
    if (isEnabled())
        FMouseInControl = true;
    update();
    QDateTimeEdit::enterEvent(event);
}

void TDateTimePickerBase::leaveEvent(QEvent* event)
{
    FMouseInControl = false;
    FButtonHover = false;
    update();
    QDateTimeEdit::leaveEvent(event);
}

void TDateTimePickerBase::focusInEvent(QFocusEvent* event)
{
    FHasFocus = true;
    update();
    QDateTimeEdit::focusInEvent(event);
}

void TDateTimePickerBase::focusOutEvent(QFocusEvent* event)
{
    FHasFocus = false;
    update();
    QDateTimeEdit::focusOutEvent(event);
}

void TDateTimePickerBase::ToggleCheck()
{
    SetChecked(!FChecked);
    if (OnCheckChange)
        Guarded(OnCheckChange);
}

void TDateTimePickerBase::paintEvent(QPaintEvent* event)
{
    QDateTimeEdit::paintEvent(event);
    TCanvas canvas(this);
    if (FShowCheckbox && canvas.Painter()) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = CheckboxRect();
        option.state |= FChecked ? QStyle::State_On : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, canvas.Painter(), this);
    }
    if (FMetroStyle && DrawsFrame() && FKind != dtkTime && IsThemedSystem()) {
        // The system's edge left of the button gives way to the field colour.
        canvas.Brush.Color = ControlColor();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        if (controls::IsThemeActive())
            canvas.FillRect(QRect(QPoint(width() - FButtonWidth - MetroFillLead(), 0), QPoint(width() - 1, height() - 1)));
        else
            canvas.FillRect(QRect(QPoint(width() - FButtonWidth - 2, 4), QPoint(width() - 3, height() - 5)));
    }
    if (FDateMode == dmComboBox && FKind == dtkDate)
        DrawButton(canvas);
    // The flat edge's top and left come back over what the button and fill painted.
    if (!FCtl3D && RedrawsEdgeLines()) {
        DrawEdgeLines(canvas, true);
        if (!controls::IsThemeActive()) {
            canvas.Pen.Color = EdgeColor();
            canvas.MoveTo(1, height() - 1);
            canvas.LineTo(1, 1);
            canvas.LineTo(width() - 2, 1);
        }
    }
    DrawFrame(canvas);
}

void TDateTimePickerBase::DrawButton(TCanvas& canvas)
{
    const QRect r = ButtonRect();
    const bool held = MouseButtonHeld();
    if (ButtonColor != clNone) {
        TColor fill = ButtonColor;
        if (FButtonHover)
            fill = held && ButtonColorDown != clNone ? ButtonColorDown
                                                       : (ButtonColorHot != clNone ? ButtonColorHot : ButtonColor);
        canvas.Brush.Color = fill;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(r);
        if (ButtonBorderColor != clNone) {
            canvas.Pen.Color = ButtonBorderColor;
            canvas.MoveTo(r.left(), r.top());
            canvas.LineTo(r.left(), r.bottom() + 1);
        }
        const TColor text = held && ButtonTextColorDown != clNone ? ButtonTextColorDown : ButtonTextColor;
        canvas.Pen.Color = text != clNone ? text : clBtnText;
        canvas.Brush.Color = canvas.Pen.Color;
        const int left = r.left() + (r.width() - 12) / 2, top = r.top() + (r.height() - 16) / 2;
        canvas.Polygon(QPolygon({QPoint(left + 5, top + 7), QPoint(left + 11, top + 7), QPoint(left + 8, top + 10)}));
        return;
    }
    if (controls::IsThemeActive()) {
        controls::HTHEME theme = controls::OpenThemeData(this, QStringLiteral("combobox"));
        int state = controls::CBXS_HOT;
        if (!isEnabled())
            state = controls::CBXS_DISABLED;
        else if (held && DroppedDown())
            state = controls::CBXS_PRESSED;
        else if (held || !FButtonHover || DroppedDown())
            state = controls::CBXS_NORMAL;
        const bool drawn = controls::DrawThemeBackground(theme, canvas, controls::CP_DROPDOWNBUTTON, state, r);
        controls::CloseThemeData(theme);
        if (drawn)
            return;
    }
    canvas.Brush.Color = clBtnFace;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(r);
    QStyleOption option;
    option.initFrom(this);
    option.rect = r.adjusted(2, 2, -2, -2);
    if (canvas.Painter())
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, canvas.Painter(), this);
}

TColor TDateTimePickerBase::ParentColor() const
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return clBtnFace;
    // A picker holding this one (the time part's) shows its field colour.
    const bool picker = qobject_cast<const QAbstractSpinBox*>(parent) != nullptr;
    return FromQColor(parent->palette().color(picker ? QPalette::Base : QPalette::Window));
}

TColor TDateTimePickerBase::ControlColor() const { return FromQColor(palette().color(QPalette::Base)); }

TColor TDateTimePickerBase::EdgeColor() const
{
    if (FBorderStyle == bsNone && parentWidget())
        return ParentColor();
    if (IsThemedSystem())
        return ThemedFrameColor;
    return FBorderColor;
}

void TDateTimePickerBase::DrawEdgeLines(TCanvas& canvas, bool topAndLeftOnly)
{
    const int w = width(), h = height();
    const TColor pen = EdgeColor();
    if (pen == clNone)
        return;
    canvas.Pen.Color = pen;
    canvas.Brush.Style = TBrushStyle::bsClear;
    if (topAndLeftOnly) {
        canvas.MoveTo(0, h);
        canvas.LineTo(0, 0);
        canvas.LineTo(w - 1, 0);
    } else {
        canvas.Rectangle(QRect(0, 0, w, h));
    }
    // The inner line hides the system's sunken edge inside the flat one.
    if (parentWidget()) {
        canvas.Pen.Color = ParentColor();
        canvas.MoveTo(1, h - 2);
        canvas.LineTo(1, 1);
        canvas.LineTo(w - 1, 1);
    }
}

void TDateTimePickerBase::DrawFrame(TCanvas& canvas)
{
    const int w = width(), h = height();
    // The flat edge of a picker without the 3-D look.
    if (!FCtl3D && DrawsEdge())
        DrawEdgeLines(canvas, false);
    if (!FMetroStyle || !DrawsFrame())
        return;
    if (isEnabled() && FBorderColor == clNone && FocusBorderColor == clNone)
        return;
    const QRect outer(0, 0, w, h);
    if (!isEnabled() && IsThemedSystem() && controls::IsThemeActive() && !DisabledBorder) {
        Frame(canvas, outer, ThemedFrameColor);
    } else if (FBorderColor == clNone && FocusBorderColor == clNone) {
        const bool effect = FocusBorder && (FMouseInControl || FHasFocus);
        const TColor outerColor = effect ? TColor(clBtnFace) : ParentColor();
        QRect r = outer;
        if (effect)
            DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        Frame(canvas, r, outerColor);
        Frame(canvas, r.adjusted(1, 1, -1, -1), ControlColor());
        // Without the effect the text area keeps a ring of the outer colour, short of the button.
        if (!effect)
            Frame(canvas, QRect(QPoint(2, 2), QPoint(w - FButtonWidth - 1, h - 3)), outerColor);
    } else if (FocusBorderColor != clNone && FHasFocus) {
        Frame(canvas, outer, FocusBorderColor);
    } else if (FBorderColor != clNone) {
        Frame(canvas, outer, FBorderColor);
    }
}

}  // namespace dropdowns
