#include "grid/editing/editors/GridDatePickers.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"

namespace grid::editors {

using dropdowns::dtkTime;

namespace {
bool IsTab(const QKeyEvent* event) { return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab; }
bool IsEnter(const QKeyEvent* event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }
bool Backward(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
}
}  // namespace

QDate CellTextToDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDateTime value;
    if (ParseLocaleDateTime(t, value) && value.date().isValid())
        return value.date();
    const QLocale locale;
    for (QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QDate d = locale.toDate(t, type);
        if (d.isValid())
            return d;
    }
    return QDate::fromString(t, Qt::ISODate);
}

QTime CellTextToTime(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QLocale locale;
    for (const QString& format : {dropdowns::PickerTimeFormat(), locale.timeFormat(QLocale::ShortFormat),
                                  QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")}) {
        const QTime time = locale.toTime(t, format);
        if (time.isValid())
            return time;
    }
    return {};
}

QDateTime CellTextToDateTime(const QString& text)
{
    const QString t = text.trimmed();
    QDateTime value;
    if (!t.isEmpty() && ParseLocaleDateTime(t, value) && value.isValid())
        return value;
    const QDate date = CellTextToDate(t);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

QString DateTimeCellText(const QDateTime& value)
{
    const QLocale locale;
    return locale.toString(value.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(value.time(), QLocale::ShortFormat);
}

bool FocusStaysWithPicker(const QWidget* picker)
{
    const QWidget* now = QApplication::focusWidget();
    if (!now)
        return false;
    if (now == picker || picker->isAncestorOf(now))
        return true;
    // The calendar's popup is a window of the picker's.
    for (const QWidget* w = now; w; w = w->parentWidget())
        if (w->isWindow())
            return w->parentWidget() && (w->parentWidget() == picker || picker->isAncestorOf(w->parentWidget()));
    return false;
}

// Date and time editor

TGridDatePicker::TGridDatePicker(TExtStringGrid& grid, QWidget* parent) : TEsgDateTimePicker(parent), FGrid(grid) {}

void TGridDatePicker::LoadText(const QString& text)
{
    // An empty cell is a picker without a value where the check box can say so.
    if (ShowCheckbox() && text.trimmed().isEmpty()) {
        SetChecked(false);
        return;
    }
    if (Kind() == dtkTime) {
        const QTime time = CellTextToTime(text);
        SetTime(time.isValid() ? time : QTime::currentTime());
    } else {
        const QDate date = CellTextToDate(text);
        SetDate(date.isValid() ? date : QDate::currentDate());
    }
}

bool TGridDatePicker::event(QEvent* event)
{
    // Tab is the editor's when the grid lets it have it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsTab(key) && Host.WantsTab && Host.WantsTab()) {
            keyPressEvent(key);
            return true;
        }
    }
    return TEsgDateTimePicker::event(event);
}

void TGridDatePicker::keyPressEvent(QKeyEvent* event)
{
    if (AdapterKeyDown(event)) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        FDigitDate = date();
        FDigitTime = time();
        TEsgDateTimePicker::keyPressEvent(event);
        QCoreApplication::postEvent(this, new QEvent(dropdowns::DTPShiftFocusEvent()));
    } else {
        TEsgDateTimePicker::keyPressEvent(event);
    }
    if (typed.size() == 1 && typed.at(0).isPrint() && OnKeyPress) {
        QChar ch = typed.at(0);
        OnKeyPress(ch);
    }
    // Keys the picker leaves must not reach the grid under it.
    event->accept();
}

bool TGridDatePicker::AdapterKeyDown(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = IsEnter(event), tab = IsTab(event);
    if (!(enter || tab || key == Qt::Key_Escape || key == Qt::Key_PageUp || key == Qt::Key_PageDown
          || key == Qt::Key_End))
        return false;
    if (key == Qt::Key_Escape) {
        LoadText(Host.CurrentCellText ? Host.CurrentCellText() : QString());
    } else if (enter || (tab && Host.WantsTab && Host.WantsTab())) {
        // The field being typed is taken first.
        interpretText();
        if (Host.Validate && !Host.Validate(CellValue())) {
            LoadText(Host.ValidatedText ? Host.ValidatedText() : CellValue());
            update();
            return true;
        }
        if (Host.CurrentCellText)
            LoadText(Host.CurrentCellText());
        if (tab && Host.GoTabs && Host.GoTabs() && Host.TabStep) {
            Host.TabStep(Backward(event));
            return true;
        }
        // Without goTabs the grid gets the Tab after the edit ends: the focus leaves the grid.
        if (tab)
            QCoreApplication::postEvent(&FGrid, new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers()));
    }
    if (!DroppedDown() && Host.DoneEdit)
        Host.DoneEdit(key, event->modifiers());
    return true;
}

void TGridDatePicker::ShiftFocus()
{
    if (Kind() == dtkTime) {
        if (dropdowns::TimeDigitMoves(FDigitTime, time()))
            NextField();
    } else if (dropdowns::DateDigitStep(Format(), FDigitDate, date()) == dropdowns::dsNextField) {
        NextField();
    }
}

void TGridDatePicker::focusOutEvent(QFocusEvent* event)
{
    if (!DroppedDown() && !FocusStaysWithPicker(this) && event->reason() != Qt::PopupFocusReason
        && event->reason() != Qt::ActiveWindowFocusReason && Host.HideEditor)
        Host.HideEditor();
    TEsgDateTimePicker::focusOutEvent(event);
}

void TGridDatePicker::paintEvent(QPaintEvent* event)
{
    TEsgDateTimePicker::paintEvent(event);
    // No 3-D border inside the cell.
    QPainter painter(this);
    painter.setPen(QPen(platform::ToQColor(platform::clWindow), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

QString TGridDatePicker::CellValue() const { return Checked() ? text() : QString(); }

// Date-and-time editor

QString TGridDateTimePicker::CellValue() { return Checked() ? DateTimeCellText(GetDateTime()) : QString(); }

TGridDateTimePicker::TGridDateTimePicker(TExtStringGrid& grid, QWidget* parent)
    : TExtDateTimePicker(parent), FGrid(grid)
{
    // Leaving the picker and its time part ends the edit; moving between them does not.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const bool wasHere = old && (old == this || isAncestorOf(old));
        if (!wasHere || !now || now == this || isAncestorOf(now) || DroppedDown() || !isVisible())
            return;
        if (Host.HideEditor)
            Host.HideEditor();
    });
}

bool TGridDateTimePicker::PickerKeyDown(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = IsEnter(event), tab = IsTab(event);
    if (key == Qt::Key_Escape) {
        SetDateTime(OriginalDateTime);
        SetChecked(OriginalChecked);
        if (Host.HideEditor)
            Host.HideEditor();
        return true;
    }
    if (enter || (tab && Host.WantsTab && Host.WantsTab())) {
        // Tab validates the value as Enter does before the edit moves on.
        if (Host.Validate && !Host.Validate(CellValue())) {
            const QDateTime validated = CellTextToDateTime(Host.ValidatedText ? Host.ValidatedText() : QString());
            if (validated.isValid())
                SetDateTime(validated);
            update();
            return true;
        }
        // The date-and-time editor's Tab moves between cells with or without goTabs.
        if (tab && Host.TabStep) {
            Host.TabStep(Backward(event));
            return true;
        }
        if (Host.DoneEdit)
            Host.DoneEdit(key, event->modifiers());
        return true;
    }
    return false;
}

}  // namespace grid::editors
