#include "controls/dropdowns/MemoDropDown.h"

#include "controls/dropdowns/DropDownDraw.h"
#include "controls/dropdowns/DropDownForm.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScrollBar>

namespace dropdowns {

namespace {
constexpr int kMemoHeight = 100;
// The platform memo's own width when nothing else sizes the drop-down.
constexpr int kMemoWidth = 185;
}

QStringList SplitLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
    if (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

TExtMemoDropDown::TExtMemoDropDown(QWidget* parent) : TExtCustomDropDown(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
    CreateDropDownForm();
}

TExtMemoDropDown::~TExtMemoDropDown() = default;

void TExtMemoDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!FMemo && DropDownForm()) {
        FMemo = new QPlainTextEdit(DropDownForm());
        FMemo->resize(kMemoWidth, kMemoHeight);
        FMemo->setFrameShape(QFrame::NoFrame);
        connect(FMemo, &QPlainTextEdit::textChanged, this, [this] { MemoChange(); });
        SetControl(FMemo);
    }
}

void TExtMemoDropDown::MemoChange()
{
    ApplyMemoLimit();
    if (OnMemoChange)
        OnMemoChange();
}

void TExtMemoDropDown::ApplyMemoLimit()
{
    // The memo takes no more characters than the edit would.
    const int limit = maxLength();
    if (!FMemo || limit <= 0 || limit >= 32767)
        return;
    const QString text = FMemo->toPlainText();
    if (text.size() <= limit)
        return;
    QSignalBlocker block(FMemo);
    FMemo->setPlainText(text.left(limit));
    FMemo->moveCursor(QTextCursor::End);
}

void TExtMemoDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    if (!FMemo)
        return;
    // Laid out into a form that had no size yet, the memo lost its own height.
    FMemo->resize(kMemoWidth, kMemoHeight);
    {
        QSignalBlocker block(FMemo);
        FMemo->setPlainText(FMemoText.join(QLatin1Char('\n')));
    }
    if (FMemoPopup) {
        FMemo->setContextMenuPolicy(Qt::CustomContextMenu);
        disconnect(FMemo, &QWidget::customContextMenuRequested, this, nullptr);
        connect(FMemo, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
            if (FMemoPopup && FMemo)
                FMemoPopup->popup(FMemo->viewport()->mapToGlobal(pos));
        });
    } else {
        FMemo->setContextMenuPolicy(Qt::DefaultContextMenu);
    }
    const bool horizontal = FMemoScrollBars == platform::ssHorizontal || FMemoScrollBars == platform::ssBoth;
    const bool vertical = FMemoScrollBars == platform::ssVertical || FMemoScrollBars == platform::ssBoth;
    FMemo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FMemo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // A horizontal bar only makes sense for lines that do not wrap.
    FMemo->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    FMemo->setReadOnly(FMemoReadOnly);
    ApplyMemoLimit();
}

void TExtMemoDropDown::DoHideDropDown(bool cancelChanges)
{
    // The focus returning to the edit must not open the drop-down again.
    const bool autoDrop = FAutoDrop;
    FAutoDrop = false;
    if (cancelChanges && FMemo && DroppedDown()) {
        QSignalBlocker block(FMemo);
        FMemo->setPlainText(FMemoText.join(QLatin1Char('\n')));
    }
    TExtCustomDropDown::DoHideDropDown(cancelChanges);
    FAutoDrop = autoDrop;
}

void TExtMemoDropDown::DropDownHidden()
{
    TExtCustomDropDown::DropDownHidden();
    if (FMemo)
        SetMemoText(SplitLines(FMemo->toPlainText()));
    UpdateEditText();
    setCursorPosition(0);
    deselect();
}

void TExtMemoDropDown::SetMemoText(const QStringList& value)
{
    FMemoText = value;
    MemoTextChanged();
    if (FMemo) {
        QSignalBlocker block(FMemo);
        FMemo->setPlainText(FMemoText.join(QLatin1Char('\n')));
    }
}

void TExtMemoDropDown::MemoTextChanged()
{
    if (FMemoTextNotify)
        UpdateEditText();
}

void TExtMemoDropDown::SetMemoReadOnly(bool value)
{
    FMemoReadOnly = value;
    if (FMemo && DroppedDown())
        FMemo->setReadOnly(value);
}

void TExtMemoDropDown::UpdateEditText()
{
    QString s;
    if (FMemoText.isEmpty() || EditorEnabled()) {
        s = FMemoText.join(QLatin1Char('\n'));
    } else {
        s = FMemoText.first();
        platform::TCanvas canvas;
        canvas.SetMeasureDevice(this);
        canvas.Font = platform::TFont(font());
        const int width = GetTextSize(canvas, s).width();
        const int available = GetEditRect().width();
        if (width < available) {
            if (FMemoText.size() > 1)
                s += QStringLiteral("...");
        } else {
            s = FitText(canvas, s, available, true);
        }
    }
    FInternalUpdate = true;
    SetTextDirect(s);
    FInternalUpdate = false;
}

void TExtMemoDropDown::Change()
{
    if (FInternalUpdate)
        return;
    FMemoTextNotify = false;
    FMemoText = SplitLines(GetText());
    FMemoTextNotify = true;
}

void TExtMemoDropDown::ControlKeyDown(int& key, TShiftState shift)
{
    if ((shift & platform::ssAlt) || key == platform::VK_ESCAPE || key == platform::VK_F4) {
        TExtCustomDropDown::ControlKeyDown(key, shift);
        return;
    }
    if ((shift & platform::ssCtrl) && key == 'A' && FMemo)
        FMemo->selectAll();
}

void TExtMemoDropDown::ControlKeyUp(int& key, TShiftState shift)
{
    if ((shift & platform::ssAlt) || key == platform::VK_ESCAPE || key == platform::VK_F4)
        TExtCustomDropDown::ControlKeyUp(key, shift);
}

void TExtMemoDropDown::ControlKeyPress(QChar& key)
{
    const bool alt = QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
    if (alt || key == QChar(27))
        TExtCustomDropDown::ControlKeyPress(key);
}

void TExtMemoDropDown::focusInEvent(QFocusEvent* event)
{
    TExtCustomDropDown::focusInEvent(event);
    // The focus coming back from the drop-down or from another window is no entry.
    const bool entered = event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
    if (FAutoDrop && entered && !DroppedDown())
        DoShowDropDown();
}

}  // namespace dropdowns
