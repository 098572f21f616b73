#include "controls/dropdowns/TimePickerDropDown.h"

#include "platform/Guard.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QScopedValueRollback>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace dropdowns {

using namespace platform;

namespace {

QString TwoDigits(int v) { return v < 10 ? QStringLiteral("0") + QString::number(v) : QString::number(v); }

QTime ToQTime(TDateTime t)
{
    const TTimeParts p = DecodeTime(t);
    return QTime(p.Hour, p.Minute, p.Second, p.MSec);
}

TDateTime FromQTime(const QTime& t) { return t.msecsSinceStartOfDay() / 86400000.0; }

// The first two characters, those present, are digits; an empty part passes.
bool IsTwoDigitText(const QString& s)
{
    for (int i = 0; i < std::min<qsizetype>(2, s.size()); ++i)
        if (!s.at(i).isDigit())
            return false;
    return true;
}

bool IsPageOrArrow(int key) { return key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN; }

// The four keys the watch takes for itself while Alt is not held.
bool WatchKey(int key, TShiftState shift) { return IsPageOrArrow(key) && !(shift & ssAlt); }

constexpr int WatchSide = 170;

}  // namespace

QChar TimeSeparator()
{
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    return QLatin1Char(':');
}

TExtTimePickerDropDown::TExtTimePickerDropDown(QWidget* parent) : TExtCustomDropDown(parent)
{
    FShowTimePicker = false;
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FShowSeconds = true;
    {
        QScopedValueRollback<bool> internal(FInternalCall, true);
        ApplyMask();
        const QString sep(TimeSeparator());
        SetTextDirect(QStringLiteral("00") + sep + QStringLiteral("00") + sep + QStringLiteral("00"));
    }
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
    // Runs after the base's own change handling, which connected first.
    connect(this, &QLineEdit::textChanged, this, [this] { Guarded([this] { Change(); }); });
    // The base constructor applied its style before this class existed: the watch look takes it now.
    CreateDropDownForm();
    SetComponentStyle(GetComponentStyle());
}

TExtTimePickerDropDown::~TExtTimePickerDropDown()
{
    if (FExtWatch)
        FExtWatch->OnChange = nullptr;
    if (FDateTimePicker)
        FDateTimePicker->disconnect(this);
}

QString TExtTimePickerDropDown::FormatTimeText(TDateTime t) const
{
    const TTimeParts p = DecodeTime(t);
    const QString sep(TimeSeparator());
    QString s = TwoDigits(p.Hour) + sep + TwoDigits(p.Minute);
    if (FShowSeconds)
        s += sep + TwoDigits(p.Second);
    return s;
}

void TExtTimePickerDropDown::ApplyMask()
{
    // An optional leading hour digit, then required digits; blanks show unfilled places.
    QString sep(TimeSeparator());
    if (QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(sep))
        sep.prepend(QLatin1Char('\\'));
    setInputMask(QStringLiteral("09") + sep + QStringLiteral("99") + (FShowSeconds ? sep + QStringLiteral("99") : QString()) +
                 QStringLiteral("; "));
}

void TExtTimePickerDropDown::SetTime(TDateTime value)
{
    if (value == FTime)
        return;
    FTime = value;
    // The change notification still parses the text back (Change).
    SetTextDirect(FormatTimeText(FTime));
    if (DroppedDown() && FExtWatch) {
        FExtWatch->SetTime(FTime);
        if (FShowTimePicker && FDateTimePicker) {
            const QSignalBlocker block(FDateTimePicker);
            FDateTimePicker->setTime(ToQTime(FTime));
        }
    }
}

void TExtTimePickerDropDown::SetShowSeconds(bool value)
{
    if (value == FShowSeconds)
        return;
    FShowSeconds = value;
    // The whole rewrite is internal: the time keeps its seconds while they are not shown.
    QScopedValueRollback<bool> internal(FInternalCall, true);
    setInputMask(QString());
    SetTextDirect(QString());
    ApplyMask();
    const TDateTime t = FTime;
    FTime = t + 1;
    SetTime(t);
}

void TExtTimePickerDropDown::SetComponentStyle(TSuiteStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    ApplyComponentStyle(FWatchAppearance, AStyle);
}

void TExtTimePickerDropDown::Change()
{
    if (FInternalCall)
        return;
    const QString text = GetText();
    const qsizetype trimmed = text.trimmed().size();
    if (trimmed != (FShowSeconds ? 8 : 5))
        return;
    const QChar sep = TimeSeparator();
    const qsizetype p1 = text.indexOf(sep);
    if (p1 < 0)
        return;
    const QString rest = text.mid(p1 + 1).trimmed();
    const qsizetype p2 = rest.indexOf(sep);
    if ((p2 >= 0) != FShowSeconds)
        return;
    if (p2 >= 0 && rest.mid(p2 + 1).contains(sep))
        return;

    QString s = text;
    s.replace(QLatin1Char(' '), QLatin1Char('0'));
    const QString restZero = s.mid(p1 + 1);
    const qsizetype q = restZero.indexOf(sep);
    QStringList parts{s.left(p1).trimmed()};
    if (FShowSeconds) {
        parts << restZero.left(q).trimmed() << restZero.mid(q + 1).trimmed();
    } else
        parts << restZero.trimmed() << QString();
    int values[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (!IsTwoDigitText(parts[i]))
            return;
        if (parts[i].isEmpty())
            continue;
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return;
    }
    // A part out of range (25:00) keeps the time as it was.
    TDateTime t = 0;
    if (!TryEncodeTime(values[0], values[1], values[2], 0, t))
        return;
    FTime = t;
    const QString formatted = FormatTimeText(FTime);
    if (formatted != text && values[1] == 0 && values[2] == 0) {
        QScopedValueRollback<bool> internal(FInternalCall, true);
        SetText(formatted);
    }
}

void TExtTimePickerDropDown::KeyDown(int& key, TShiftState shift)
{
    TExtCustomDropDown::KeyDown(key, shift);
    const bool altHeld = (shift & ssAlt) || (QApplication::queryKeyboardModifiers() & Qt::AltModifier);
    if (altHeld || (shift & ssCtrl) || (key != VK_UP && key != VK_DOWN))
        return;
    const int delta = key == VK_UP ? -1 : 1;
    const QString s = GetText();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    const QChar sep = TimeSeparator();
    const int p1 = int(s.indexOf(sep)) + 1;
    const TTimeParts t = DecodeTime(FTime);
    if (caret < p1) {
        SetHourValue((t.Hour + delta + 24) % 24);
    } else {
        const int p2 = int(s.mid(p1).indexOf(sep)) + 1;
        if (p2 > 0 && caret - p1 >= p2 && FShowSeconds)
            SetSecondValue((t.Second + delta + 60) % 60);
        else
            SetMinuteValue((t.Minute + delta + 60) % 60);
    }
    setCursorPosition(caret);
    key = 0;
}

void TExtTimePickerDropDown::SetPart(int index, int value)
{
    TTimeParts p = DecodeTime(FTime);
    int* part = index == 0 ? &p.Hour : index == 1 ? &p.Minute : &p.Second;
    if (*part == value || value < 0 || value > (index == 0 ? 23 : 59))
        return;
    *part = value;
    SetTime(EncodeTime(p.Hour, p.Minute, p.Second, p.MSec));
    FireTimeChange();
}

void TExtTimePickerDropDown::SetHourValue(int h) { SetPart(0, h); }
void TExtTimePickerDropDown::SetMinuteValue(int m) { SetPart(1, m); }
void TExtTimePickerDropDown::SetSecondValue(int s) { SetPart(2, s); }

void TExtTimePickerDropDown::FireTimeChange()
{
    if (OnTimeChange)
        OnTimeChange();
}

void TExtTimePickerDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm())
        return;
    if (!FPanelCtrl) {
        FPanelCtrl = new QFrame(DropDownForm());
        FPanelCtrl->setFrameShape(QFrame::NoFrame);
        FPanelCtrl->setGeometry(0, 0, FPanelCtrl->width(), 180);
        auto* layout = new QVBoxLayout(FPanelCtrl);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    if (!FExtWatch) {
        FExtWatch = new TExtWatch(FPanelCtrl);
        // The form takes the keys and hands them to the watch.
        FExtWatch->setFocusPolicy(Qt::NoFocus);
        static_cast<QVBoxLayout*>(FPanelCtrl->layout())->addWidget(FExtWatch, 1);
    }
    SetControl(FPanelCtrl);
}

void TExtTimePickerDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    if (!FPanelCtrl || !FExtWatch)
        CreateDropDownForm();
    FTextAtOpen = RawText();
    FTimeAtOpen = FTime;
    TDropDownForm* form = DropDownForm();
    // A new layout of the form.
    form->resize(form->width() + 1, form->height());
    form->resize(form->width() - 1, form->height());
    FPanelSize = QSize(WatchSide, WatchSide);
    FPanelCtrl->resize(FPanelSize);
    form->CancelOnDeActivate = false;
    FPanelCtrl->setAutoFillBackground(true);
    QPalette pal = FPanelCtrl->palette();
    pal.setColor(QPalette::Window, ToQColor(DropDownColor()));
    FPanelCtrl->setPalette(pal);
    // The watch's erased background is its parent's colour.
    FExtWatch->SetColor(DropDownColor());

    FExtWatch->SetAppearance(FWatchAppearance);
    FExtWatch->SetSettings(FWatchSettings);
    FExtWatch->SetShowAMPM(FShowWatchAMPM);
    FExtWatch->SetShowNumbers(FShowWatchNumbers);
    FExtWatch->SetAnimation(FAnimation);
    FExtWatch->SetAnimationFactor(FAnimationFactor);
    FExtWatch->OnChange = nullptr;
    if (!FWatchSettings.Auto())
        FExtWatch->SetTime(FTime);
    FExtWatch->OnChange = [this] { WatchChange(); };

    if (!FShowTimePicker) {
        if (FDateTimePicker)
            FDateTimePicker->hide();
        return;
    }
    if (!FDateTimePicker) {
        FDateTimePicker = new QTimeEdit(FPanelCtrl);
        FDateTimePicker->installEventFilter(this);
        static_cast<QVBoxLayout*>(FPanelCtrl->layout())->addWidget(FDateTimePicker, 0);
    }
    FDateTimePicker->disconnect(this);
    FDateTimePicker->show();
    {
        const QSignalBlocker block(FDateTimePicker);
        FDateTimePicker->setDisplayFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
        FDateTimePicker->setTime(ToQTime(FTime));
    }
    FDateTimePicker->raise();
    connect(FDateTimePicker, &QTimeEdit::timeChanged, this, [this] { Guarded([this] { TimePickerChange(); }); });
    FPanelSize = QSize(WatchSide, FDateTimePicker->sizeHint().height() + WatchSide);
    FPanelCtrl->resize(FPanelSize);
}

void TExtTimePickerDropDown::UpdateDropDownSize()
{
    // The form lays its inner control over its whole inside whenever it is laid out, which
    // shrinks the panel to the form's last size before the form is sized around the panel.
    if (FPanelCtrl && FPanelSize.isValid())
        FPanelCtrl->resize(FPanelSize);
    TExtCustomDropDown::UpdateDropDownSize();
    TDropDownForm* form = DropDownForm();
    if (!form || !FPanelCtrl || !FPanelSize.isValid())
        return;
    const int border = 2 * DropDownBorderWidth();
    const int w = DropDownWidth() > 0 ? form->width() : std::max(form->width(), FPanelSize.width() + border);
    const int h = DropDownHeight() > 0 ? form->height() : std::max(form->height(), FPanelSize.height() + border);
    form->resize(w, h);
}

void TExtTimePickerDropDown::WatchChange()
{
    if (FDateTimePicker && FShowTimePicker && FDateTimePicker->time() != ToQTime(FExtWatch->Time())) {
        {
            const QSignalBlocker block(FDateTimePicker);
            FDateTimePicker->setTime(ToQTime(FExtWatch->Time()));
        }
        FireTimeChange();
    }
    SetTime(FExtWatch->Time());
}

void TExtTimePickerDropDown::TimePickerChange()
{
    if (FDateTimePicker && FExtWatch && !FWatchSettings.Auto())
        FExtWatch->SetTime(FromQTime(FDateTimePicker->time()));
}

void TExtTimePickerDropDown::DropDownHidden()
{
    TExtCustomDropDown::DropDownHidden();
    if (FExtWatch)
        SetTime(FExtWatch->Time());
}

void TExtTimePickerDropDown::DoHideDropDown(bool cancelChanges)
{
    const bool open = DropDownForm() && DropDownForm()->isVisible();
    TExtCustomDropDown::DoHideDropDown(cancelChanges);
    if (!open || !FExtWatch)
        return;
    if (cancelChanges) {
        // The text and time from before the opening, whatever Text last held.
        {
            QScopedValueRollback<bool> internal(FInternalCall, true);
            SetTextDirect(FTextAtOpen);
        }
        FTime = FTimeAtOpen;
        FExtWatch->SetTime(FTime);
    } else
        SetTime(FExtWatch->Time());
}

void TExtTimePickerDropDown::FormKeyDown(int& key, TShiftState shift)
{
    if (!WatchKey(key, shift))
        TExtCustomDropDown::FormKeyDown(key, shift);
    if (DropDownForm() && DropDownForm()->isVisible() && FExtWatch)
        FExtWatch->HandleKey(key);
}

void TExtTimePickerDropDown::FormKeyUp(int& key, TShiftState shift)
{
    if (!WatchKey(key, shift))
        TExtCustomDropDown::FormKeyUp(key, shift);
}

void TExtTimePickerDropDown::ControlKeyDown(int& key, TShiftState shift)
{
    if (!WatchKey(key, shift))
        TExtCustomDropDown::ControlKeyDown(key, shift);
}

void TExtTimePickerDropDown::ControlKeyUp(int& key, TShiftState shift)
{
    if (!WatchKey(key, shift))
        TExtCustomDropDown::ControlKeyUp(key, shift);
}

bool TExtTimePickerDropDown::eventFilter(QObject* watched, QEvent* event)
{
    // The time picker's keys reach the edit as the base's inner-control keys do.
    if (watched == FDateTimePicker && FDateTimePicker &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* ke = static_cast<QKeyEvent*>(event);
        int key = VirtualKeyFromQt(ke->key(), ke->modifiers());
        const TShiftState shift = ShiftStateFromQt(ke->modifiers());
        bool consumed = false;
        Guarded([&] {
            if (!key)
                return;
            if (event->type() == QEvent::KeyRelease)
                TExtCustomDropDown::ControlKeyUp(key, shift);
            else
                TExtCustomDropDown::ControlKeyDown(key, shift);
            consumed = key == 0;
        });
        if (consumed)
            return true;
    }
    return TExtCustomDropDown::eventFilter(watched, event);
}

}  // namespace dropdowns
