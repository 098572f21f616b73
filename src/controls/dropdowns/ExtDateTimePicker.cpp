#include "controls/dropdowns/ExtDateTimePicker.h"
#include "platform/OwnedObject.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "controls/common/ExtXPVS.h"
#include "platform/Guard.h"

namespace dropdowns {

namespace {
bool IsDigitKey(const QKeyEvent* event)
{
    return event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9
           && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
}  // namespace

TCustomDateTimePicker::TCustomDateTimePicker(QWidget* parent) : TDateTimePickerBase(parent)
{
    SetCtl3D(false);
    SetBorderColor(0);
}

bool TCustomDateTimePicker::event(QEvent* event)
{
    // Tab reaches the hook before the focus chain takes it.
    if (event->type() == QEvent::KeyPress && KeyDownHook) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && KeyDownHook(key)) {
            key->accept();
            return true;
        }
    }
    return TDateTimePickerBase::event(event);
}

void TCustomDateTimePicker::keyPressEvent(QKeyEvent* event)
{
    if (KeyDownHook && KeyDownHook(event)) {
        event->accept();
        return;
    }
    if (FAutoTab && IsDigitKey(event)) {
        FDigitDate = date();
        FDigitTime = time();
        TDateTimePickerBase::keyPressEvent(event);
        QCoreApplication::postEvent(this, new QEvent(DTPShiftFocusEvent()));
        return;
    }
    TDateTimePickerBase::keyPressEvent(event);
}

void TCustomDateTimePicker::ShiftFocus()
{
    if (Kind() == dtkTime && TimeDigitMoves(FDigitTime, time()))
        NextField();
}

TExtDateTimePicker::TExtDateTimePicker(QWidget* parent) : TCustomDateTimePicker(parent)
{
    SetBorderStyle(bsSingle);
    SetCtl3D(true);
    FLabelFont = font();
    SetExtKind(dkDateTime);
}

// The time part is for a set value only.
void TExtDateTimePicker::CheckChanged()
{
    if (FTimePicker)
        FTimePicker->setEnabled(isEnabled() && Checked());
}

TExtDateTimePicker::~TExtDateTimePicker()
{
    if (FLabel) {
        FLabel->removeEventFilter(this);
        platform::Destroy_Now(FLabel);
    }
}

void TExtDateTimePicker::SetExtKind(TExtDateTimeKind value)
{
    if (FKind == value && (value != dkDateTime || FTimePicker))
        return;
    FKind = value;
    SetKind(value == dkTime ? dtkTime : dtkDate);
    if (value == dkDateTime)
        MakeTimePart();
    RefreshTimePart();
}

void TExtDateTimePicker::MakeTimePart()
{
    if (FTimePicker)
        return;
    auto* part = new TCustomDateTimePicker(this);
    part->resize(90, 17);
    part->hide();
    part->setEnabled(isEnabled());
    part->SetKind(dtkTime);
    part->SetAutoTab(AutoTab());
    part->KeyDownHook = [this](QKeyEvent* event) { return PickerKeyDown(event); };
    part->OnChange = [this] {
        if (OnChange)
            OnChange();
        if (OnTimeChange)
            OnTimeChange();
    };
    FTimePicker = part;
}

void TExtDateTimePicker::RefreshTimePart()
{
    if (!FTimePicker)
        return;
    TCustomDateTimePicker& part = *FTimePicker;
    if (FKind != dkDateTime) {
        // Nothing of the time part is left over for the other kinds.
        platform::Destroy_Now(FTimePicker);
        return;
    }
    part.setPalette(palette());
    part.setFont(font());
    part.setEnabled(isEnabled() && Checked());
    part.SetFormat(FTimeFormat);
    const QSignalBlocker quiet(&part);
    part.setDateTime(dateTime());
    const int a = QFontMetrics(font()).horizontalAdvance(part.text()) + 31;
    const int b = 0;
    QRect place;
    if (!controls::IsThemeActive())
        place = QRect(width() - a - b - 23, -2, a, height() - b);
    else if (MetroStyle())
        place = QRect(width() - a - b - 21, 1, a, height() - b - 2);
    else
        place = QRect(width() - a - b - 34, 1, a, height() - b - 2);
    // The time part stays inside the picker.
    place.setTop(std::max(0, place.top()));
    place.setBottom(std::min(height() - 1, place.bottom()));
    part.setGeometry(place);
    part.show();
    part.raise();
}

QDateTime TExtDateTimePicker::GetDateTime()
{
    if (FTimePicker) {
        const QSignalBlocker quiet(this);
        setTime(FTimePicker->time());
    }
    return dateTime();
}

void TExtDateTimePicker::SetDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return;
    const QTime t = value.time();
    const QDateTime whole(value.date(), QTime(t.hour(), t.minute(), t.second()));
    setDateTime(whole);
    SetValueChecked();
    if (FKind == dkDateTime)
        MakeTimePart();
    if (FTimePicker) {
        const QSignalBlocker quiet(FTimePicker.data());
        FTimePicker->setDateTime(whole);
    }
    RefreshTimePart();
}

void TExtDateTimePicker::SetDate(const QDate& value)
{
    const QTime t = Time();
    SetDateTime(QDateTime(value, QTime(t.hour(), t.minute(), t.second())));
}

QTime TExtDateTimePicker::Time() const
{
    if (FKind == dkDateTime && FTimePicker)
        return FTimePicker->time();
    return time();
}

void TExtDateTimePicker::SetTime(const QTime& value)
{
    if (!value.isValid())
        return;
    setTime(value);
    SetValueChecked();
    RefreshTimePart();
}

void TExtDateTimePicker::SetTimeFormat(const QString& value)
{
    FTimeFormat = value;
    if (FTimePicker)
        FTimePicker->SetFormat(value);
    if (FKind == dkTime)
        SetFormat(value);
    RefreshTimePart();
}

void TExtDateTimePicker::SetAutoTab(bool value)
{
    TCustomDateTimePicker::SetAutoTab(value);
    if (FTimePicker)
        FTimePicker->SetAutoTab(value);
}

bool TExtDateTimePicker::PickerKeyDown(QKeyEvent*) { return false; }

void TExtDateTimePicker::keyPressEvent(QKeyEvent* event)
{
    if (PickerKeyDown(event)) {
        event->accept();
        return;
    }
    TCustomDateTimePicker::keyPressEvent(event);
}

bool TExtDateTimePicker::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && PickerKeyDown(key)) {
            key->accept();
            return true;
        }
    }
    return TCustomDateTimePicker::event(event);
}

void TExtDateTimePicker::ShiftFocus()
{
    if (FKind == dkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    switch (DateDigitStep(Format(), FDigitDate, date())) {
    case dsNextField:
        NextField();
        break;
    case dsLastField:
        if (FTimePicker && FTimePicker->isVisible()) {
            FTimePicker->setFocus(Qt::TabFocusReason);
            FTimePicker->setCurrentSectionIndex(0);
            FTimePicker->setSelectedSection(FTimePicker->sectionAt(0));
        }
        break;
    case dsStay:
        break;
    }
}

void TExtDateTimePicker::resizeEvent(QResizeEvent* event)
{
    TCustomDateTimePicker::resizeEvent(event);
    RefreshTimePart();
    PlaceLabel();
}

void TExtDateTimePicker::moveEvent(QMoveEvent* event)
{
    TCustomDateTimePicker::moveEvent(event);
    PlaceLabel();
}

void TExtDateTimePicker::showEvent(QShowEvent* event)
{
    TCustomDateTimePicker::showEvent(event);
    PlaceLabel();
}

void TExtDateTimePicker::hideEvent(QHideEvent* event)
{
    TCustomDateTimePicker::hideEvent(event);
    if (FLabel)
        FLabel->hide();
}

void TExtDateTimePicker::paintEvent(QPaintEvent* event)
{
    if (std::exchange(FFirstRun, false))
        RefreshTimePart();
    TCustomDateTimePicker::paintEvent(event);
}

void TExtDateTimePicker::changeEvent(QEvent* event)
{
    TCustomDateTimePicker::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FTimePicker)
            FTimePicker->setEnabled(isEnabled() && Checked());
        PlaceLabel();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        RefreshTimePart();
        PlaceLabel();
        break;
    case QEvent::ParentChange:
        if (FLabel)
            FLabel->setParent(parentWidget());
        PlaceLabel();
        break;
    default:
        break;
    }
}

void TExtDateTimePicker::focusInEvent(QFocusEvent* event)
{
    TCustomDateTimePicker::focusInEvent(event);
    PlaceLabel();
}

void TExtDateTimePicker::focusOutEvent(QFocusEvent* event)
{
    TCustomDateTimePicker::focusOutEvent(event);
    PlaceLabel();
}

bool TExtDateTimePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FLabel) {
        if (event->type() == QEvent::MouseButtonRelease && OnLabelClick)
            platform::Guarded(OnLabelClick);
        else if (event->type() == QEvent::MouseButtonDblClick && OnLabelDblClick)
            platform::Guarded(OnLabelDblClick);
    }
    return TCustomDateTimePicker::eventFilter(watched, event);
}

void TExtDateTimePicker::SetLabelCaption(const QString& value)
{
    if (!FLabel) {
        auto* label = new QLabel(parentWidget());
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(this);
        label->installEventFilter(this);
        FLabel = label;
    }
    FLabel->setText(value);
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelPosition(TLabelPosition value)
{
    FLabelPosition = value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelMargin(int value)
{
    FLabelMargin = value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelFont(const QFont& value)
{
    FLabelFont = value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelTransparent(bool value)
{
    FLabelTransparent = value;
    PlaceLabel();
}

void TExtDateTimePicker::SetLabelAlwaysEnabled(bool value)
{
    FLabelAlwaysEnabled = value;
    if (FLabel && value)
        FLabel->setEnabled(true);
}

void TExtDateTimePicker::PlaceLabel()
{
    if (!FLabel)
        return;
    QLabel& label = *FLabel;
    if (label.parentWidget() != parentWidget())
        label.setParent(parentWidget());
    label.setAutoFillBackground(!FLabelTransparent);
    QFont f = ParentFont ? font() : FLabelFont;
    if (FocusLabel)
        f.setBold(hasFocus() || (FTimePicker && FTimePicker->hasFocus()));
    label.setFont(f);
    label.adjustSize();
    const int lw = label.width(), lh = label.height();
    const int left = x(), top = y(), bottom = y() + height();
    const int centred = lh < height() ? top + (height() - lh) / 2 : top - (lh - height()) / 2;
    QPoint at;
    switch (FLabelPosition) {
    default:
    case lpLeftTop: at = {left - lw - FLabelMargin, top}; break;
    case lpLeftCenter: at = {left - lw - FLabelMargin, centred}; break;
    case lpLeftBottom: at = {left - lw - FLabelMargin, bottom - lh}; break;
    case lpTopLeft: at = {left, top - lh - FLabelMargin}; break;
    case lpBottomLeft: at = {left, bottom + FLabelMargin}; break;
    case lpLeftTopLeft: at = {left - FLabelMargin, top}; break;
    case lpLeftCenterLeft: at = {left - FLabelMargin, centred}; break;
    case lpLeftBottomLeft: at = {left - FLabelMargin, bottom - lh}; break;
    }
    label.move(at);
    label.setEnabled(FLabelAlwaysEnabled || isEnabled());
    label.setVisible(!isHidden());
}

}  // namespace dropdowns
