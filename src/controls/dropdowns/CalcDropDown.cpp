#include "controls/dropdowns/CalcDropDown.h"

#include "controls/dropdowns/DropDownForm.h"

#include <QKeyEvent>
#include <QLocale>
#include <cmath>

namespace dropdowns {

namespace {

const QString kError = QStringLiteral("Error");
constexpr long long kMaxDecim = 1000000000000000000LL;
constexpr int kPanelHeight = 150;

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

TExtCalculatorDropdown::TExtCalculatorDropdown(QWidget* parent)
    : TExtCustomDropDown(parent), FCalcButtonAppearance(std::make_unique<TButtonAppearance>())
{
    // The base constructor reaches only its own operations: apply this class's style part now.
    SetComponentStyle(GetComponentStyle());
    SetDropDownColor(platform::clWhite);
    SetDropDownWidth(230);
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
    SetEditType(etFloat);
    FPrevop = -1;
    SetPrecision(2);
    FDecim = 0;
    FCalcClosed = true;
    FMVal = 0;
    CreateDropDownForm();
}

TExtCalculatorDropdown::~TExtCalculatorDropdown() = default;

// ---- value ----

bool TExtCalculatorDropdown::DisplayNumber(long double& value) const
{
    bool ok = false;
    const double v = QLocale().toDouble(StripThousandSeparators(GetText()), &ok);
    if (ok)
        value = v;
    return ok;
}

long double TExtCalculatorDropdown::DisplayValue() const
{
    return GetFloatValue();
}

double TExtCalculatorDropdown::Value()
{
    if (GetText().isEmpty())
        SetTextDirect(QStringLiteral("0"));
    long double v = 0;
    return DisplayNumber(v) ? double(v) : 0.0;
}

void TExtCalculatorDropdown::SetValue(double value) { SetText(FormatGeneral(value)); }

void TExtCalculatorDropdown::SetShowThousandSeparator(bool value)
{
    if (value == FShowThousandSeparator)
        return;
    FShowThousandSeparator = value;
    SetEditType(value ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

void TExtCalculatorDropdown::Show(long double value)
{
    const double shown = double(value);
    if (!std::isfinite(shown)) {
        ShowError();
        return;
    }
    SetFloatValue(shown);
}

bool TExtCalculatorDropdown::MaxLengthReached() const
{
    return maxLength() > 0 && maxLength() < 32767 && RawText().size() >= maxLength();
}

void TExtCalculatorDropdown::ClearAll()
{
    SetText(QStringLiteral("0"));
    FPrevval = 0;
    FPrevop = -1;
}

// ---- arithmetic ----

void TExtCalculatorDropdown::ApplyPendingOperation()
{
    if (GetText().isEmpty() || GetText() == kError)
        SetText(QStringLiteral("0"));
    long double x = 0;
    if (!DisplayNumber(x)) {
        // A display edited into something that is no number: the accumulator stays.
        ShowError();
        FNewval = true;
        return;
    }
    long double result = FPrevval;
    switch (FPrevop) {
    case 0: result = FPrevval + x; break;
    case 1: result = x * FPrevval; break;
    case 2: result = FPrevval - x; break;
    case 3:
        if (x == 0) {
            FPrevval = 0;
            ShowError();
            return;
        }
        result = FPrevval / x;
        break;
    default: result = x; break;
    }
    if (!std::isfinite(double(result))) {
        // Overflow: the accumulator starts afresh, the display says so.
        FPrevval = 0;
        ShowError();
        FNewval = true;
        return;
    }
    FPrevval = result;
    Show(FPrevval);
    FNewval = true;
}

void TExtCalculatorDropdown::DoAdd()
{
    ApplyPendingOperation();
    FPrevop = 0;
}

void TExtCalculatorDropdown::DoSubtract()
{
    ApplyPendingOperation();
    FPrevop = 2;
}

void TExtCalculatorDropdown::DoMultiply()
{
    ApplyPendingOperation();
    FPrevop = 1;
}

void TExtCalculatorDropdown::DoDivide()
{
    ApplyPendingOperation();
    FPrevop = 3;
}

void TExtCalculatorDropdown::DoEqual()
{
    ApplyPendingOperation();
    if (GetText().isEmpty())
        SetText(QStringLiteral("0"));
    FPrevop = -1;
    long double shown = 0;
    if (GetText() != kError && DisplayNumber(shown))
        FPrevval = shown;
}

void TExtCalculatorDropdown::DoPercent()
{
    if (GetText().isEmpty() || GetText() == kError)
        SetText(QStringLiteral("0"));
    long double x = 0;
    if (!DisplayNumber(x)) {
        ShowError();
        return;
    }
    const long double r = FPrevval * x / 100;
    if (!std::isfinite(double(r))) {
        ShowError();
        return;
    }
    SetText(FormatGeneral(double(r)));
}

// ---- keys of the panel ----

void TExtCalculatorDropdown::CalcButtonClick(QObject* /*sender*/, int index)
{
    if (!FExtButtonPanel)
        return;
    const TButtonItem* item = FExtButtonPanel->Buttons().GetItem(index);
    if (!item)
        return;
    DoBeforeInput();
    const int tag = item->Tag;
    if ((tag >= ckAdd && tag <= ckSign) || (tag >= ckClear && tag <= ckPercent))
        FDecim = 0;
    if ((tag >= 0 && tag <= 9) || tag == ckSign || tag == ckPoint) {
        if (MaxLengthReached())
            return;
    }
    const QChar decimal = DecimalSeparator();
    switch (tag) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: {
        long double v = DisplayValue();
        if ((v == 0 && FDecim == 0) || FNewval) {
            SetText(QString::number(tag));
            FNewval = false;
            break;
        }
        const int sign = v < 0 ? -1 : 1;
        if (FDecim > 0) {
            v += sign * static_cast<long double>(tag) / static_cast<long double>(FDecim);
            if (FDecim < kMaxDecim)
                FDecim *= 10;
        } else {
            v = v * 10 + sign * tag;
        }
        Show(v);
        break;
    }
    case ckAdd: DoAdd(); break;
    case ckSubtract: DoSubtract(); break;
    case ckMultiply: DoMultiply(); break;
    case ckDivide: DoDivide(); break;
    case ckSign: {
        const QString text = GetText();
        // "-Error" would read as a number; the error stays until a digit or clear replaces it.
        if (text == kError)
            break;
        SetText(text.contains(QLatin1Char('-')) ? text.mid(1) : QLatin1Char('-') + text);
        break;
    }
    case ckPoint:
        if (!GetText().contains(decimal))
            SetText(GetText() + decimal);
        FDecim = 10;
        if (FNewval)
            SetText(QStringLiteral("0"));
        FNewval = false;
        break;
    case ckClear:
    case ckOn:
    case ckClearEntry: ClearAll(); break;
    case ckEqual: DoEqual(); break;
    case ckPercent: DoPercent(); break;
    case ckBack:
        if (FPrevop < 0) {
            QString general = QString::number(double(DisplayValue()), 'g', 15);
            general.replace(QLatin1Char('.'), decimal);
            general.chop(1);
            SetText(general);
        }
        break;
    case ckMemClear: FMVal = 0; break;
    case ckMemRecall: Show(FMVal); break;
    case ckMemStore: FMVal = DisplayValue(); break;
    case ckMemAdd: FMVal += DisplayValue(); break;
    case ckSqrt: {
        const long double v = DisplayValue();
        if (v >= 0)
            Show(std::sqrt(v));
        else
            ShowError();
        break;
    }
    case ckReciprocal: {
        const long double v = DisplayValue();
        if (v != 0)
            Show(1 / v);
        else
            ShowError();
        break;
    }
    default: break;
    }
    SetModified(true);
}

// ---- typed keys ----

void TExtCalculatorDropdown::KeyPress(QChar& key)
{
    const QChar decimal = DecimalSeparator();
    const bool digit = IsDigit(key);
    if (!digit && key != decimal && key != QChar(8)) {
        key = QChar();
        return;
    }
    auto caretAfterDigit = [this] {
        setCursorPosition(int(Prefix().size()) + 1);
        deselect();
    };
    // "Error" reads as 0: a digit replaces it as it replaces "0".
    if (digit && (GetText() == QLatin1String("0") || GetText() == kError || FNewval)) {
        SetText(QString(key));
        key = QChar();
        caretAfterDigit();
        FNewval = false;
        return;
    }
    if (GetText().size() == 1 && key == QChar(8)) {
        SetText(QStringLiteral("0"));
        key = QChar();
        caretAfterDigit();
        return;
    }
    if (key == decimal && GetText().contains(decimal)) {
        key = QChar();
        return;
    }
    TExtCustomDropDown::KeyPress(key);
}

void TExtCalculatorDropdown::HandleCalcKey(QChar key)
{
    DoBeforeInput();
    const QChar decimal = DecimalSeparator();
    if (key == decimal && !GetText().contains(decimal))
        SetText(GetText() + decimal);
    if (IsDigit(key) && MaxLengthReached())
        return;
    switch (key.unicode()) {
    case 13:
        DoEqual();
        DoHideDropDown(false);
        break;
    case 27: DoHideDropDown(true); break;
    case '%': DoPercent(); break;
    case '*': DoMultiply(); break;
    case '+': DoAdd(); break;
    case '-': DoSubtract(); break;
    case '/': DoDivide(); break;
    case '=': DoEqual(); break;
    case 'C':
    case 'c':
        SetText(QStringLiteral("0"));
        FPrevval = 0;
        FNewval = true;
        FPrevop = -1;
        break;
    default:
        if (IsDigit(key))
            FNewval = false;
        break;
    }
}

void TExtCalculatorDropdown::FormKeyPress(QChar& key)
{
    // The key-down of Backspace has already taken the last character.
    if (key == QChar(8))
        return;
    // Writing the edit's text leaves the caret at its start on the original platform, so a digit
    // that starts a new number reaches KeyPress instead of the full-decimals rule.
    if (IsDigit(key) && (FNewval || GetText() == QLatin1String("0") || GetText() == kError))
        setCursorPosition(int(Prefix().size()));
    QChar forwarded = key;
    TExtCustomDropDown::FormKeyPress(forwarded);
    HandleCalcKey(key);
}

void TExtCalculatorDropdown::FormKeyDown(int& key, TShiftState shift)
{
    TExtCustomDropDown::FormKeyDown(key, shift);
    switch (key) {
    case platform::VK_TAB:
    case platform::VK_F4: DoHideDropDown(false); break;
    case platform::VK_BACK: {
        // Written as it stands: the precision would put the character straight back.
        QString text = GetText();
        const bool error = text == kError;
        text.chop(1);
        if (text.isEmpty() || error) {
            SetText(QStringLiteral("0"));
            FNewval = true;
        }
        else
            SetTextDirect(Prefix() + text + Suffix());
        break;
    }
    default: break;
    }
}

void TExtCalculatorDropdown::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (DroppedDown() && !alt) {
        // A key that reaches the edit while the panel is open takes the panel's road.
        event->accept();
        int key = platform::VirtualKeyFromQt(event->key(), event->modifiers());
        const TShiftState shift = platform::ShiftStateFromQt(event->modifiers());
        if (key)
            FormKeyDown(key, shift);
        const QString text = event->text();
        if (!text.isEmpty()) {
            QChar c = text.at(0);
            FormKeyPress(c);
        }
        return;
    }
    TExtCustomDropDown::keyPressEvent(event);
    if (event->key() == Qt::Key_Delete && (GetText().isEmpty() || GetText() == kError))
        SetText(QStringLiteral("0"));
}

// ---- opening ----

void TExtCalculatorDropdown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (FExtButtonPanel || !DropDownForm())
        return;
    FExtButtonPanel = new TCustomButtonPanel(DropDownForm());
    FExtButtonPanel->SetExtDropDown(this);
    FExtButtonPanel->resize(FExtButtonPanel->width(), kPanelHeight);
    FExtButtonPanel->CreateButtons();
    SetControl(FExtButtonPanel);
    FExtButtonPanel->OnButtonClick = [this](QObject* sender, int index) { CalcButtonClick(sender, index); };
}

void TExtCalculatorDropdown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    if (FExtButtonPanel) {
        // Laid out into a form that had no size yet, the panel lost its own height.
        FExtButtonPanel->resize(FExtButtonPanel->width(), kPanelHeight);
        FExtButtonPanel->SetButtonAppearance(*FCalcButtonAppearance);
        FExtButtonPanel->SetColor(DropDownColor());
        FExtButtonPanel->ArrangeButtons();
    }
    FNewval = true;
    FDecim = 0;
    FCalcClosed = false;
    FTextAtOpening = FOldText;
}

void TExtCalculatorDropdown::DoHideDropDown(bool cancelChanges)
{
    // Every key writes the display through Text; a cancel returns to the value before opening.
    if (cancelChanges && DropDownForm() && DropDownForm()->isVisible())
        FOldText = FTextAtOpening;
    TExtCustomDropDown::DoHideDropDown(cancelChanges);
}

void TExtCalculatorDropdown::SetComponentStyle(TSuiteStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (!FCalcButtonAppearance)
        return;
    TButtonAppearance& calc = *FCalcButtonAppearance;
    const TExtButtonAppearance& b = ButtonAppearance();
    calc.SetBorderColorChecked(b.BorderColorDisabled());
    calc.SetBorderColor(b.BorderColor());
    calc.SetBorderColorHot(b.BorderColorHot());
    calc.SetBorderColorDown(b.BorderColorDown());
    calc.SetColor(b.Color());
    calc.SetColorTo(b.ColorTo());
    calc.SetColorDown(b.ColorDown());
    calc.SetColorDownTo(b.ColorDownTo());
    calc.SetColorChecked(b.ColorDisabledTo());
    calc.SetColorCheckedTo(b.ColorHotTo());
    calc.SetColorDisabled(b.ColorDisabled());
    calc.SetColorDisabledTo(b.ColorDisabledTo());
    calc.SetColorHot(b.ColorHot());
    calc.SetColorHotTo(b.ColorHotTo());
    if (AStyle == controls::tsOffice2010Blue || AStyle == controls::tsOffice2010Silver ||
        AStyle == controls::tsOffice2010Black) {
        calc.GlowColorHot = b.ColorHot();
        calc.GlowColorDown = b.ColorHot();
    } else {
        calc.GlowColorDown = 0xD5C244;
        calc.GlowColorHot = b.ColorDownTo();
    }
}

}  // namespace dropdowns
