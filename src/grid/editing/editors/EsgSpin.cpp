#include "grid/editing/editors/EsgSpin.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <cmath>
#include <limits>

#include "platform/IntText.h"
#include "platform/TCanvas.h"

namespace grid::editors {

namespace {

const QDate DayZero(1899, 12, 30);

QLocale Numbers()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QChar DecimalSeparator() { return QLocale().decimalPoint().at(0); }
QChar ThousandSeparator()
{
    const QString s = QLocale().groupSeparator();
    return s.isEmpty() ? QChar() : s.at(0);
}
QString ShortDateFormat() { return QLocale().dateFormat(QLocale::ShortFormat); }
QChar DateSeparator()
{
    for (const QChar ch : ShortDateFormat())
        if (!ch.isLetter())
            return ch;
    return QChar('/');
}
constexpr QChar TimeSeparator(':');

double Limited(double value, double low, double high)
{
    return low == high ? value : std::clamp(value, low, high);
}

// The time of day of a day number as h:mm(:ss).
QString TimeText(double value, bool seconds)
{
    double fraction = value - std::floor(value);
    int total = int(std::lround(fraction * 86400.0)) % 86400;
    const QTime t = QTime(0, 0).addSecs(total);
    return t.toString(seconds ? QStringLiteral("h:mm:ss") : QStringLiteral("h:mm"));
}

}  // namespace

double ToDayNumber(const QDateTime& value)
{
    return double(DayZero.daysTo(value.date())) + value.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime FromDayNumber(double value)
{
    const double days = std::floor(value);
    const qint64 ms = std::llround((value - days) * 86400000.0);
    return QDateTime(DayZero.addDays(qint64(days)), QTime(0, 0).addMSecs(int(ms % 86400000)));
}

namespace {
// An arrow button that paints in its spin edit's button colours when they are set.
class TSpinButton : public QToolButton {
public:
    TSpinButton(TEsgSpinEdit* owner) : QToolButton(owner), FOwner(owner) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const TEsgSpinEdit& o = *FOwner;
        auto pick = [&o](uint32_t color) { return color != TEsgSpinEdit::ColorNone ? color : o.ButtonColor; };
        const uint32_t fill = isDown() ? pick(o.ButtonColorDown) : underMouse() ? pick(o.ButtonColorHot) : o.ButtonColor;
        if (fill == TEsgSpinEdit::ColorNone) {
            QToolButton::paintEvent(event);
            return;
        }
        QPainter p(this);
        p.fillRect(rect(), platform::ToQColor(fill));
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = rect().adjusted(2, 1, -2, -1);
        QStyle::PrimitiveElement element = QStyle::PE_IndicatorArrowUp;
        switch (arrowType()) {
        case Qt::DownArrow: element = QStyle::PE_IndicatorArrowDown; break;
        case Qt::LeftArrow: element = QStyle::PE_IndicatorArrowLeft; break;
        case Qt::RightArrow: element = QStyle::PE_IndicatorArrowRight; break;
        default: break;
        }
        style()->drawPrimitive(element, &arrow, &p, this);
        if (o.ButtonBorderColor != TEsgSpinEdit::ColorNone) {
            p.setPen(platform::ToQColor(o.ButtonBorderColor));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    void enterEvent(QEnterEvent* event) override
    {
        QToolButton::enterEvent(event);
        update();
    }
    void leaveEvent(QEvent* event) override
    {
        QToolButton::leaveEvent(event);
        update();
    }

private:
    TEsgSpinEdit* FOwner;
};
}  // namespace

TEsgSpinEdit::TEsgSpinEdit(QWidget* parent) : QLineEdit(parent), FUp(new TSpinButton(this)), FDown(new TSpinButton(this))
{
    for (QToolButton* b : {FUp, FDown}) {
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::pressed, this, [this, b] { StartRepeat(b == FUp); });
        connect(b, &QToolButton::released, this, [this] { FRepeat.Stop(); });
    }
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    // A click steps at the release over the button.
    connect(FUp, &QToolButton::clicked, this, [this] { UpClick(); });
    connect(FDown, &QToolButton::clicked, this, [this] { DownClick(); });
    setText(QStringLiteral("0"));
    LayoutButtons();
}

int TextToInt(const QString& text, bool* ok) { return platform::Read_Int_Prefix(text, ok); }

void TEsgSpinEdit::StartRepeat(bool up)
{
    FRepeat.Start(RepeatDelayMs, this, [this, up] { Repeat(up); });
}

void TEsgSpinEdit::Repeat(bool up)
{
    QToolButton* button = up ? FUp : FDown;
    if (!button->isDown())
        return;
    FRepeat.Start(RepeatIntervalMs, this, [this, up] { Repeat(up); });
    try {
        up ? UpClick() : DownClick();
    } catch (...) {
        FRepeat.Stop();  // a failing step ends the repetition
        throw;
    }
}

void TEsgSpinEdit::ApplyLimits()
{
    if (OutsideLimits())
        ReapplyValue();
}

int TEsgSpinEdit::Value() const
{
    const QString t = text().trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? v : MinValue;
}

void TEsgSpinEdit::SetValue(int value)
{
    setText(QString::number(int(Limited(value, MinValue, MaxValue))));
    if (!EditorEnabled)
        selectAll();
}

double TEsgSpinEdit::FloatValue() const
{
    bool ok = false;
    const double v = QLocale().toDouble(text().trimmed(), &ok);
    return ok ? v : MinValue;
}

bool TEsgSpinEdit::ReadNumber(double& value) const
{
    const QString t = text().trimmed();
    bool ok = false;
    if (FSpinType == sptNormal) {
        if (t.isEmpty()) {  // an empty whole number reads 0
            value = 0;
            return true;
        }
        value = t.toInt(&ok);
    }
    else
        value = QLocale().toDouble(t, &ok);
    return ok;
}

void TEsgSpinEdit::SetFloatValue(double value)
{
    value = Limited(value, MinFloatValue, MaxFloatValue);
    setText(FPrecision > 0 ? Numbers().toString(value, 'f', FPrecision)
                           : Numbers().toString(value, 'g', QLocale::FloatingPointShortest));
}

double TEsgSpinEdit::DateValue() const
{
    const QString t = text().trimmed();
    if (t.isEmpty() || t == QStringLiteral("0"))
        return ToDayNumber(QDateTime::currentDateTime());
    const QDate d = QLocale().toDate(t, QLocale::ShortFormat);
    return d.isValid() ? double(DayZero.daysTo(d)) : MinDateValue;
}

void TEsgSpinEdit::SetDateValue(double value)
{
    const int caret = cursorPosition();
    FDateValue = Limited(value, MinDateValue, MaxDateValue);
    setText(QLocale().toString(FromDayNumber(FDateValue).date(), QLocale::ShortFormat));
    setCursorPosition(caret);
}

double TEsgSpinEdit::TimeValue() const
{
    const QString t = text().trimmed();
    for (const QString& format : {QStringLiteral("h:mm:ss"), QStringLiteral("h:mm")}) {
        const QTime time = QTime::fromString(t, format);
        if (time.isValid())
            return time.msecsSinceStartOfDay() / 86400000.0;
    }
    return 0;
}

void TEsgSpinEdit::SetTimeValue(double value)
{
    const int caret = cursorPosition();
    FTimeValue = Limited(value, MinDateValue, MaxDateValue);
    setText(TimeText(FTimeValue, ShowSeconds));
    setCursorPosition(caret);
}

void TEsgSpinEdit::SetSpinType(TEsgSpinType value)
{
    FSpinType = value;
    ReapplyValue();
}

void TEsgSpinEdit::SetPrecision(int value)
{
    FPrecision = value;
    if (FSpinType == sptFloat)
        SetFloatValue(FloatValue());
}

void TEsgSpinEdit::SetDirection(TSpinDirection value)
{
    FDirection = value;
    FUp->setArrowType(value == spHorizontal ? Qt::RightArrow : Qt::UpArrow);
    FDown->setArrowType(value == spHorizontal ? Qt::LeftArrow : Qt::DownArrow);
    LayoutButtons();
}

void TEsgSpinEdit::ReapplyValue()
{
    switch (FSpinType) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

bool TEsgSpinEdit::OutsideLimits() const
{
    double number = 0;
    if ((FSpinType == sptNormal || FSpinType == sptFloat) && !ReadNumber(number))
        return false;  // a text that is no number is left for the user to see
    switch (FSpinType) {
    case sptNormal: return MinValue != MaxValue && (Value() < MinValue || Value() > MaxValue);
    case sptFloat:
        return MinFloatValue != MaxFloatValue && (FloatValue() < MinFloatValue || FloatValue() > MaxFloatValue);
    case sptDate:
        return MinDateValue != MaxDateValue && (DateValue() < MinDateValue || DateValue() > MaxDateValue);
    case sptTime:
        return MinDateValue != MaxDateValue && (TimeValue() < MinDateValue || TimeValue() > MaxDateValue);
    }
    return false;
}

void TEsgSpinEdit::Step(bool up, bool page)
{
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    const int sign = up ? 1 : -1;
    const int caret = cursorPosition();
    switch (FSpinType) {
    case sptNormal: SetValue(Value() + sign * Increment); break;
    case sptFloat: SetFloatValue(FloatValue() + sign * (page ? IncrementFloatPage : IncrementFloat)); break;
    case sptDate: {
        const QDate date = FromDayNumber(DateValue()).date();
        const QString format = ShortDateFormat().toUpper();
        const bool monthFirst = format.indexOf('M') < format.indexOf('D');
        const QChar sep = DateSeparator();
        const int first = int(text().indexOf(sep));
        const int second = first < 0 ? -1 : int(text().indexOf(sep, first + 1));
        const int part = first < 0 || caret <= first ? 0 : (second < 0 || caret <= second ? 1 : 2);
        QDate next;
        if (part == 2) {
            next = date.addYears(sign);
            if (next.day() != date.day())  // a 29 February has no twin in that year
                return;
        } else if ((part == 0) == monthFirst) {
            next = date.addMonths(sign);  // the day is clipped to the month's length
        } else {
            next = date.addDays(sign);
        }
        SetDateValue(double(DayZero.daysTo(next)));
        break;
    }
    case sptTime: {
        const int first = int(text().indexOf(TimeSeparator));
        const int second = first < 0 ? -1 : int(text().indexOf(TimeSeparator, first + 1));
        double step;
        if (first < 0 || caret <= first)
            step = IncrementHours / 24.0;
        else if (ShowSeconds && second >= 0 && caret > second)
            step = IncrementSeconds / 86400.0;
        else
            step = IncrementMinutes / 1440.0;
        double t = TimeValue();
        if (up) {
            t += step;
        } else {
            t = t + 1.0 - step;
            if (t > 1.0)
                t -= 1.0;
        }
        SetTimeValue(t);
        break;
    }
    }
    setCursorPosition(caret);
    Stepped(up);
}

bool TEsgSpinEdit::IsValidChar(QChar key) const
{
    const QChar dec = DecimalSeparator(), thou = ThousandSeparator(), dsep = DateSeparator();
    const bool control = key.unicode() < 32;
    if (key == QChar(8))
        return EditorEnabled;
    if (!EditorEnabled)
        return control;
    bool ok = key == dec || (!thou.isNull() && key == thou) || key == TimeSeparator || key == dsep || key.isDigit()
              || key == QChar('-') || (control && key != QChar(13));
    auto separatorRule = [&](QChar sep, TEsgSpinType own) {
        if (FSpinType == own || key != sep)
            return;
        const bool numeric = sep == dec || sep == thou || sep == QChar('-') || sep == QChar('+');
        ok = ok && numeric && (FSpinType == sptNormal || FSpinType == sptFloat);
    };
    separatorRule(TimeSeparator, sptTime);
    separatorRule(dsep, sptDate);
    if (key == QChar('-'))
        ok = ok && cursorPosition() == 0 && (!text().contains('-') || selectedText().contains('-'));
    if (FSpinType == sptNormal)
        ok = ok && (key.isDigit() || key == QChar('-') || control);
    if (FSpinType == sptFloat && key != QChar(27) && key != QChar(13)) {
        if (!thou.isNull() && key == thou && thou != dec)
            ok = false;
        QString outside = text();
        if (hasSelectedText())
            outside.remove(selectionStart(), selectedText().size());
        if (key == dec && outside.contains(dec))
            ok = false;
        const int p = int(text().indexOf(dec));
        if (FPrecision > 0 && p >= 0 && cursorPosition() > p && !hasSelectedText()
            && text().size() >= p + 1 + FPrecision)
            ok = false;
    }
    if (FSpinType == sptTime && key == TimeSeparator && text().count(TimeSeparator) >= 2)
        ok = false;
    return ok;
}

void TEsgSpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: UpStep(); return;
    case Qt::Key_Down: DownStep(); return;
    case Qt::Key_PageUp: UpStep(true); return;
    case Qt::Key_PageDown: DownStep(true); return;
    case Qt::Key_Delete:
        if (!EditorEnabled)
            return;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ReturnIsTab) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, event->modifiers() & ~Qt::KeypadModifier);
            QApplication::sendEvent(this, &tab);
            return;
        }
        break;
    default: break;
    }
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        if (EditorEnabled && !isReadOnly())
            QLineEdit::keyPressEvent(event);
        return;
    }
    QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (ExcelStyleDecimalSeparator && typed == QStringLiteral(".") && (event->modifiers() & Qt::KeypadModifier))
            typed = QString(DecimalSeparator());
        if (!IsValidChar(typed.at(0))) {
            QApplication::beep();
            return;
        }
        if (typed != event->text()) {
            QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(), typed);
            QLineEdit::keyPressEvent(&changed);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TEsgSpinEdit::focusOutEvent(QFocusEvent* event)
{
    if (OutsideLimits())
        ReapplyValue();
    QLineEdit::focusOutEvent(event);
}

void TEsgSpinEdit::UpdateButtons()
{
    FUp->update();
    FDown->update();
}

void TEsgSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    LayoutButtons();
}

void TEsgSpinEdit::LayoutButtons()
{
    const int w = FDirection == spHorizontal ? 20 : 15;
    const int x = width() - w, h = height();
    if (FDirection == spVertical) {
        const int upH = h / 2;
        FUp->setGeometry(x, 0, w, upH);
        FDown->setGeometry(x, upH - 1, w, h - upH + 1);
    } else {
        FDown->setGeometry(x, 0, w / 2, h);
        FUp->setGeometry(x + w / 2 + 1, 0, w / 2, h);
    }
    // The text never runs under the buttons.
    setTextMargins(0, 0, w + 2, 0);
}

}  // namespace grid::editors
