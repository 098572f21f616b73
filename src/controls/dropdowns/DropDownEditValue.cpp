#include "controls/dropdowns/DropDownEdit.h"

#include "platform/IntText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace dropdowns {

using namespace platform;

// ---- Text and number routines

QChar DecimalSeparator()
{
    const QString s = QLocale().decimalPoint();
    return s.isEmpty() ? QChar('.') : s.at(0);
}

QChar ThousandSeparator()
{
    const QString s = QLocale().groupSeparator();
    return s.isEmpty() ? QChar(',') : s.at(0);
}

TTextKind ClassifyText(const QString& s)
{
    bool isInt = !s.isEmpty(), isFloat = !s.isEmpty(), isHex = !s.isEmpty();
    const QChar thousand = ThousandSeparator(), decimal = DecimalSeparator();
    int minus = 0, decimals = 0, lastThousand = -1;
    for (int k = 1; k <= s.size(); ++k) {
        const QChar c = s.at(k - 1);
        const bool digit = c >= '0' && c <= '9';
        if (c != '-' && !digit)
            isInt = false;
        if (c != ',' && c != '-' && c != '.' && !digit)
            isFloat = false;
        if (c != '-' && !digit && !((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            isHex = false;
        if (c == thousand) {
            if (k - lastThousand < 3)
                isFloat = false;
            lastThousand = k;
        }
        if (c == '-')
            ++minus;
        if (c == decimal)
            ++decimals;
    }
    if (minus > 1 || decimals > 1)
        return ktText;
    if (isInt)
        return ktInteger;
    if (isFloat)
        return ktFloat;
    if (isHex)
        return ktHex;
    return ktText;
}

QString StripThousandSeparators(const QString& s)
{
    QString r = s;
    r.remove(ThousandSeparator());
    return r;
}

double EditStrToFloat(const QString& s)
{
    QString t = s;
    if (t.contains(ThousandSeparator()))
        t = StripThousandSeparators(t);
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = locale.toDouble(t, &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

int HexDigitValue(QChar c)
{
    if (c >= '0' && c <= '9')
        return c.unicode() - '0';
    if (c >= 'A' && c <= 'F')
        return c.unicode() - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c.unicode() - 'a' + 10;
    return 0;
}

qint64 HexToInt(const QString& s) { return platform::Hex_Digits_Value(s); }

bool IsRangeSeparator(QChar c)
{
    return c == ',' || c == '-' || c == ';';
}

QString FormatFixed(double value, int precision)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', std::max(precision, 0));
}

QString FormatGrouped(double value, int precision)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale.toString(value, 'f', std::max(precision, 0));
}

QString FormatGeneral(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

namespace {
bool IsWordSeparator(QChar c) { return QStringView(u" ',-.").contains(c); }
}  // namespace

QString CapitalizeWords(const QString& text)
{
    QString s = text;
    const qsizetype n = s.size();
    bool wordStart = true;
    for (qsizetype i = 1; i <= n; ++i) {
        QChar& c = s[i - 1];
        if (IsWordSeparator(c)) {
            wordStart = true;
        } else if (wordStart) {
            c = c.toUpper();
            wordStart = false;
        } else {
            c = c.toLower();
        }
        // Names such as McDonald and numerals such as III keep their inner capitals.
        if (i == 2 && s.left(2) == QLatin1String("Mc"))
            wordStart = true;
        if (i > 2 && s.indexOf(QLatin1String(" Mc")) + 3 == i)
            wordStart = true;
        if (i > n - 3 && i >= 2
            && (s.mid(i - 2, 2) == QLatin1String(" I") || (i >= 3 && s.mid(i - 3, 3) == QLatin1String(" II"))))
            wordStart = true;
    }
    return s;
}

// ---- The value

QString TExtCustomDropDown::GetText() const
{
    QString s = QLineEdit::text();
    if (!FPrefix.isEmpty() && s.startsWith(FPrefix))
        s.remove(0, FPrefix.size());
    if (!FSuffix.isEmpty() && s.endsWith(FSuffix))
        s.chop(FSuffix.size());
    return s;
}

void TExtCustomDropDown::SetText(const QString& value)
{
    QString v = value;
    const bool numeric = FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex;
    if (v.isEmpty() && numeric)
        v = "0";
    if (FPrecision > 0 && !v.isEmpty() && v != "Error") {
        if (FEditType == etMoney)
            v = FormatGrouped(EditStrToFloat(v), FPrecision);
        else if (FEditType == etFloat)
            v = FormatFixed(EditStrToFloat(v), FPrecision);
    }
    if (FEditType == etHex)
        v = v.toUpper();
    QLineEdit::setText(FPrefix + v + FSuffix);
    FOldText = v;
    SetModified(false);
}

void TExtCustomDropDown::SetTextDirect(const QString& value)
{
    QLineEdit::setText(value);
}

void TExtCustomDropDown::SelectAll()
{
    setSelection(int(FPrefix.size()), int(GetText().size()));
}

void TExtCustomDropDown::SelectAfterDecimal()
{
    const int i = int(GetText().indexOf(DecimalSeparator()));
    setCursorPosition(i < 0 ? int(FPrefix.size()) : int(FPrefix.size()) + i + 1);
}

void TExtCustomDropDown::SelectBeforeDecimal()
{
    const int i = int(GetText().indexOf(DecimalSeparator()));
    setCursorPosition(i < 0 ? int(FPrefix.size()) : int(FPrefix.size()) + i);
}

int TExtCustomDropDown::GetIntegerLength(const QString& s) const
{
    const QString t = StripThousandSeparators(s);
    const int pos = int(t.indexOf(DecimalSeparator()));
    int result = pos < 0 ? int(t.size()) + 1 : pos + 1;
    if (FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && t.contains('-'))
        --result;
    return result;
}

int TExtCustomDropDown::GetDecimalPos() const
{
    const QString v = GetText();
    const int pos = int(v.indexOf(DecimalSeparator()));
    if (pos < 0)
        return int(FPrefix.size() + v.size() + FSuffix.size()) + 1;
    return pos + 1 + int(FPrefix.size());
}

bool TExtCustomDropDown::IsAllowedMinus(QChar c) const
{
    return FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && c == '-';
}

double TExtCustomDropDown::GetFloatValue() const
{
    const QString v = GetText();
    switch (FEditType) {
    case etString: {
        bool ok = false;
        const double d = QLocale::c().toDouble(v.trimmed(), &ok);
        return ok ? d : 0.0;
    }
    case etNumeric:
    case etFloat:
        if (v.isEmpty() || v == "Error" || v == "-")
            return 0.0;
        return EditStrToFloat(v);
    case etMoney: {
        if (v.isEmpty())
            return 0.0;
        QString t = StripThousandSeparators(v);
        if (t.endsWith(DecimalSeparator()))
            t.chop(1);
        if (t.isEmpty() || t == "-")
            return 0.0;
        return EditStrToFloat(t);
    }
    case etHex:
        return v.isEmpty() ? 0.0 : double(HexToInt(v));
    default:
        return 0.0;
    }
}

void TExtCustomDropDown::SetFloatValue(double value)
{
    auto fixed = [&](bool grouped) {
        if (FPrecision < 0)
            return FormatGeneral(value);
        return grouped ? FormatGrouped(value, FPrecision) : FormatFixed(value, FPrecision);
    };
    switch (FEditType) {
    case etString:
    case etFloat:
        SetText(fixed(false));
        break;
    case etNumeric:
        SetText(fixed(true));
        break;
    case etMoney:
        SetText(fixed(false));
        ApplyThousandSeparator();
        break;
    case etHex:
        // Out-of-range values are held at the integer limits instead of overflowing.
        SetText(QString::number(qint64(std::clamp(std::isfinite(value) ? std::trunc(value) : 0.0, -9.2e18, 9.2e18)),
                                16)
                    .toUpper());
        break;
    default:
        break;
    }
    SetModified(true);
}

void TExtCustomDropDown::SetIntValue(int value)
{
    switch (FEditType) {
    case etNumeric:
    case etFloat:
        SetText(QString::number(value));
        break;
    case etMoney:
        SetText(QString::number(value));
        ApplyThousandSeparator();
        break;
    case etHex:
        SetText(QString::number(value, 16).toUpper());
        break;
    default:
        break;
    }
    SetModified(true);
}

void TExtCustomDropDown::ApplyThousandSeparator()
{
    QString v = GetText();
    if (v.isEmpty())
        return;
    const int caret = cursorPosition();
    const int oldLength = int(v.size());
    QString sign;
    if (v.startsWith('-')) {
        sign = "-";
        v.remove(0, 1);
    }
    const int dec = int(v.indexOf(DecimalSeparator()));
    const QString fraction = dec < 0 ? QString() : v.mid(dec, 255);
    const double whole = std::trunc(std::fabs(GetFloatValue()));
    QString integer = FAutoThousandSeparator ? FormatGrouped(whole, 2) : FormatFixed(whole, 2);
    const int cut = int(integer.indexOf(DecimalSeparator()));
    if (cut >= 0)
        integer.truncate(cut);
    const QString newValue = sign + integer + fraction;
    const QString raw = FPrefix + newValue + FSuffix;
    if (raw != QLineEdit::text()) {
        // The rewrite is part of the change already reported.
        FBlockChange = true;
        QLineEdit::setText(raw);
    }
    setCursorPosition(std::clamp(caret + int(newValue.size()) - oldLength, 0, int(raw.size())));
}

void TExtCustomDropDown::SetEditType(TDropDownEditType value)
{
    if (value == FEditType)
        return;
    FEditType = value;
    if (value == etPassword) {
        setEchoMode(QLineEdit::Password);
        FCanUndo = false;
    } else {
        setEchoMode(QLineEdit::Normal);
    }
    const TTextKind kind = ClassifyText(GetText());
    if (value == etNumeric && kind != ktInteger)
        SetIntValue(0);
    else if ((value == etFloat || value == etMoney) && (kind == ktText || kind == ktHex))
        SetFloatValue(0);
    else if (value == etHex && kind != ktInteger && kind != ktHex)
        SetIntValue(0);
}

void TExtCustomDropDown::SetPrecision(int value)
{
    if (value == FPrecision || !(FEditType == etString || FEditType == etFloat || FEditType == etMoney))
        return;
    FPrecision = qint16(value);
    const TTextKind kind = ClassifyText(GetText());
    if (kind == ktText || kind == ktHex)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

// ---- Typing

void TExtCustomDropDown::BaseChar(QChar key)
{
    KeyPress(key);
    // A read-only edit takes the key events but not the character.
    if (key.isNull() || isReadOnly())
        return;
    if (key == '\b') {
        QLineEdit::backspace();
        setModified(true);
    } else if (key.isPrint()) {
        QLineEdit::insert(QString(key));
        setModified(true);
    }
}

void TExtCustomDropDown::SignToggle()
{
    QString v = GetText();
    const int prefixLen = int(FPrefix.size());
    if (FEditType == etNumeric && hasSelectedText() && selectedText() == v && !v.isEmpty()) {
        QLineEdit::setText(FPrefix + "-" + FSuffix);
        setCursorPosition(prefixLen + 1);
        SetModified(true);
        return;
    }
    int caret = cursorPosition();
    bool lostMinus = false;
    if (v.contains('-')) {
        v.remove(0, 1);
        caret = std::max(caret - 1, prefixLen);
        lostMinus = true;
    } else {
        v.prepend('-');
        ++caret;
    }
    QLineEdit::setText(FPrefix + v + FSuffix);
    setCursorPosition(caret);
    if (!(lostMinus && FEditType == etNumeric))
        SetModified(true);
}

// The rules of etFloat and etMoney; answers whether the character is passed on.
bool TExtCustomDropDown::FloatMoneyChar(QChar& key)
{
    const QChar decimal = DecimalSeparator(), thousand = ThousandSeparator();
    const QString v = GetText();
    const int prefixLen = int(FPrefix.size());
    const bool selection = hasSelectedText();
    const QString selected = selectedText();
    if (FEditType == etFloat && (key == ',' || key == '.') && key != decimal && key != thousand)
        return false;
    if (key == decimal) {
        const bool check = FEditType == etMoney || !selected.contains(decimal);
        if (check && (v.contains(decimal) || FPrecision == 0)) {
            if (FEditType == etMoney && selection && selected == v && FPrecision > 0) {
                SetText("0");
                SelectAfterDecimal();
                return false;
            }
            if (FPrecision > 0)
                SelectAfterDecimal();
            return false;
        }
    }
    if (FEditType == etFloat && key == ',' && v.contains(',') && !selected.contains(',') && key != thousand)
        return false;
    if ((key == thousand || key == decimal) && v.contains(thousand)) {
        int b = cursorPosition() - prefixLen;
        QString rest = v;
        int m = int(rest.size());
        while (rest.contains(thousand)) {
            const int c = int(rest.indexOf(thousand)) + 1;
            const int d = std::abs(c - b);
            m = std::min(m, d);
            if (d < 3)
                return false;
            if (c < b)
                b -= c;
            rest.remove(0, c);
        }
        if (m > 3)
            return false;
    }
    const int decPos = int(v.indexOf(decimal)) + 1;  // 1-based, 0 when none
    const int caretInValue = cursorPosition() - prefixLen;
    if (FPrecision > 0 && !selection && decPos > 0 && caretInValue >= decPos &&
        int(v.size()) - decPos >= FPrecision && int(v.size()) - caretInValue <= FPrecision &&
        (key.isDigit() || key == decimal)) {
        if (key.isDigit() && caretInValue < v.size()) {
            setSelection(cursorPosition(), 1);
            return true;
        }
        return false;
    }
    if (key == decimal && v.isEmpty() && caretInValue == 0) {
        QLineEdit::setText(FPrefix + "0" + QString(decimal) + FSuffix);
        setCursorPosition(prefixLen + 2);
        SetModified(true);
        return false;
    }
    if (key == '-' && !selection) {
        SignToggle();
        return false;
    }
    return true;
}

void TExtCustomDropDown::WMChar(QChar key, TShiftState shift)
{
    if (!FEditorEnabled)
        return;
    const bool ctrl = shift & ssCtrl;
    const QString value = GetText();
    const int prefixLen = int(FPrefix.size());
    if (key == '\n')
        return;
    if (key == '\r') {
        QChar enter('\r');
        if (OnKeyPress)
            OnKeyPress(enter);
        return;
    }
    if (key == QChar(0x1b)) {
        BaseChar(key);
        return;
    }
    if (key == QChar(3)) {
        CopyToClipboard();
        return;
    }
    if (key == QChar(22)) {
        PasteFromClipboard();
        return;
    }
    if (key == QChar(24)) {
        CutToClipboard();
        return;
    }
    if ((key.unicode() < 32 && key != '\b') || isReadOnly())
        return;
    if (FExcelStyleDecimalSeparator && (key == '.' || key == ',') && FCurrentKey &&
        (FCurrentKey->modifiers() & Qt::KeypadModifier))
        key = DecimalSeparator();
    const bool selection = hasSelectedText();
    if (key == '\b' && !FPrefix.isEmpty() && cursorPosition() <= prefixLen && !selection)
        return;
    if (FLengthLimit > 0 && !selection && GetIntegerLength(value) > FLengthLimit &&
        cursorPosition() < GetDecimalPos() && key != '\b' && key != DecimalSeparator() && !IsAllowedMinus(key))
        return;
    if (key == '\b') {
        // One change notification, from the edit itself.
        BaseChar(key);
        return;
    }
    if (key == '-' && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && !FSigned)
        return;

    bool pass = false;
    switch (FEditType) {
    case etString:
    case etPassword:
        SetModified(true);
        pass = true;
        break;
    case etNumeric:
        if (key == '-') {
            SignToggle();
            pass = false;
        } else {
            pass = key.isDigit() || ctrl;
        }
        break;
    case etFloat:
        if (key.isDigit() || key == ',' || key == '.' || key == '-')
            pass = FloatMoneyChar(key);
        break;
    case etMoney:
        if (key.isDigit() || key == '-' || key == DecimalSeparator())
            pass = FloatMoneyChar(key);
        break;
    case etUppercase:
        key = key.toUpper();
        pass = true;
        break;
    case etLowerCase:
        key = key.toLower();
        pass = true;
        break;
    case etMixedCase: {
        const int caret = cursorPosition();
        BaseChar(key);
        const QString raw = FPrefix + CapitalizeWords(GetText()) + FSuffix;
        if (raw != QLineEdit::text())
            QLineEdit::setText(raw);
        setCursorPosition(std::min(caret + 1, int(raw.size())));
        break;
    }
    case etRange:
        if (key.isDigit()) {
            SetModified(true);
            pass = true;
        } else if (IsRangeSeparator(key)) {
            const int caret = cursorPosition();
            const QString raw = QLineEdit::text();
            const bool before = caret > 0 && IsRangeSeparator(raw.at(caret - 1));
            const bool after = caret < raw.size() && IsRangeSeparator(raw.at(caret));
            if (caret > prefixLen && !before && !after) {
                SetModified(true);
                pass = true;
            }
        }
        break;
    case etHex:
        if (key.isDigit() || key == '-' || (key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f')) {
            SetModified(true);
            pass = true;
        }
        break;
    case etAlphaNumeric:
        if (key.isDigit() || (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z')) {
            SetModified(true);
            pass = true;
        }
        break;
    case etValidChars:
        if (FValidChars.contains(key)) {
            SetModified(true);
            pass = true;
        }
        break;
    }
    if (pass) {
        BaseChar(key);
        if (FEditType == etMoney) {
            const QString now = GetText();
            if (!now.isEmpty() && now != "-" && key != DecimalSeparator()) {
                if (isModified())
                    SetModified(true);
                ApplyThousandSeparator();
            }
        }
    }
    if (isModified())
        SetModified(true);
}

// ---- Clipboard

void TExtCustomDropDown::CutToClipboard()
{
    if (!FEditorEnabled || isReadOnly())
        return;
    bool allow = true;
    FBlockCopy = true;
    if (OnClipboardCut)
        OnClipboardCut(this, selectedText(), allow);
    if (allow && hasSelectedText()) {
        QGuiApplication::clipboard()->setText(selectedText());
        del();
        SetModified(true);
    }
    FBlockCopy = false;
}

void TExtCustomDropDown::CopyToClipboard()
{
    bool allow = true;
    if (!FBlockCopy && OnClipboardCopy)
        OnClipboardCopy(this, selectedText(), allow);
    FBlockCopy = false;
    if (allow && hasSelectedText() && echoMode() == QLineEdit::Normal)
        QGuiApplication::clipboard()->setText(selectedText());
}

void TExtCustomDropDown::PasteFromClipboard()
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text();
    if (clip.isEmpty())
        return;
    const QString value = GetText();
    const int prefixLen = int(FPrefix.size());
    const bool selection = hasSelectedText();
    const int start = std::clamp((selection ? selectionStart() : cursorPosition()) - prefixLen, 0, int(value.size()));
    const int length = selection ? std::min(int(selectedText().size()), int(value.size()) - start) : 0;
    QString newValue = value;
    newValue.replace(start, length, clip);
    const int newCaret = prefixLen + start + int(clip.size());
    bool allow = true;
    if (OnClipboardPaste)
        OnClipboardPaste(this, newValue, allow);
    if (!allow)
        return;
    if (maxLength() > 0 && maxLength() < 32767 && clip.size() + value.size() - length > maxLength())
        return;
    const QChar decimal = DecimalSeparator();
    bool written = false;
    switch (FEditType) {
    case etString:
    case etPassword:
        SetText(newValue);
        SetModified(true);
        written = true;
        break;
    case etNumeric:
        if (ClassifyText(newValue) == ktInteger && (FSigned || !newValue.contains('-'))) {
            SetText(newValue);
            SetModified(true);
            written = true;
        }
        break;
    case etFloat:
    case etMoney: {
        const TTextKind kind = ClassifyText(newValue);
        if (kind != ktText && kind != ktHex && !(FPrecision == 0 && clip.contains(decimal)) &&
            (FSigned || !newValue.contains('-'))) {
            SetText(newValue);
            SetFloatValue(GetFloatValue());
            SetModified(true);
            written = true;
        }
        break;
    }
    case etUppercase:
        SetText(newValue.toUpper());
        SetModified(true);
        written = true;
        break;
    case etLowerCase:
        SetText(newValue.toLower());
        SetModified(true);
        written = true;
        break;
    case etMixedCase:
        SetText(CapitalizeWords(newValue));
        SetModified(true);
        written = true;
        break;
    case etAlphaNumeric: {
        bool ok = true;
        for (QChar c : newValue)
            ok = ok && c.unicode() < 128 && c.isLetterOrNumber();
        if (ok) {
            SetText(newValue);
            SetModified(true);
            written = true;
        }
        break;
    }
    case etValidChars: {
        bool ok = true;
        for (QChar c : newValue)
            ok = ok && FValidChars.contains(c);
        if (ok) {
            SetText(newValue);
            SetModified(true);
            written = true;
        }
        break;
    }
    case etRange:
    case etHex:
        break;
    }
    if (!written)
        return;
    if (FEditType == etMoney && GetText().size() > 3)
        SelectAll();
    else if (selection)
        setSelection(prefixLen + start, int(clip.size()));
    else
        setCursorPosition(std::min(newCaret, int(QLineEdit::text().size())));
}

}  // namespace dropdowns
