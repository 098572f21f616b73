#include "grid/core/GridTextUtils.h"

#include "platform/IntText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cctype>
#include <limits>

namespace grid {

namespace {
constexpr QChar CharCR(13);
constexpr QChar CharLF(10);

QChar FirstOr(const QString& s, QChar fallback) { return s.isEmpty() ? fallback : s.at(0); }
}  // namespace

QChar LocaleThousandSeparator() { return FirstOr(QLocale().groupSeparator(), QChar(',')); }
QChar LocaleDecimalSeparator() { return FirstOr(QLocale().decimalPoint(), QChar('.')); }

QChar LocaleDateSeparator()
{
    const QString f = QLocale().dateFormat(QLocale::ShortFormat);
    for (QChar c : f)
        if (!c.isLetter())
            return c;
    return QChar('/');
}

QChar LocaleTimeSeparator()
{
    const QString f = QLocale().timeFormat(QLocale::ShortFormat);
    for (QChar c : f)
        if (!c.isLetter() && c != ' ')
            return c;
    return QChar(':');
}

QString LocaleShortDateFormat() { return QLocale().dateFormat(QLocale::ShortFormat); }
QString LocaleShortTimeFormat() { return QLocale().timeFormat(QLocale::ShortFormat); }
QString LocaleLongTimeFormat() { return QLocale().timeFormat(QLocale::LongFormat); }

int DetectTextKind(const QString& text, bool htmlEnabled)
{
    // Read in place: every saved and painted cell passes here.
    if (text.isEmpty())
        return tkPlain;
    if (text.at(0) == u'=')
        return tkFormula;
    if (text.startsWith(QLatin1String("|\\"))) {
        if (text.size() > 4 && text.at(3) == u'=' && text.at(4) == QChar(0))
            return tkFormula;
        return tkWide;
    }
    if (text.startsWith(QLatin1String("{\\")))
        return tkRTF;
    if (!htmlEnabled)
        return tkPlain;
    // A tag: "</", "<B", "<I" or "<C".
    for (qsizetype i = text.indexOf(u'<'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'<', i + 1)) {
        const QChar next = text.at(i + 1);
        if (next == u'/' || next == u'B' || next == u'I' || next == u'C')
            return tkHTML;
    }
    return tkPlain;
}

QString EncodeWideText(const QString& wide)
{
    QString out = QStringLiteral("|\\");
    out.reserve(2 + wide.size() * 2);
    for (QChar u : wide) {
        out += QChar(u.unicode() >> 8);
        out += QChar(u.unicode() & 0xFF);
    }
    return out;
}

QString DecodeWideText(const QString& text)
{
    if (!text.startsWith(QStringLiteral("|\\")))
        return text;
    QString out;
    for (qsizetype i = 2; i + 1 < text.size(); i += 2)
        out += QChar(uint16_t(text.at(i).unicode() * 256 + text.at(i + 1).unicode()));
    return out;
}

QString EncodeLineBreaks(const QString& text)
{
    if (!text.contains(CharCR))
        return text;
    QString s = text;
    for (QChar& c : s) {
        if (c == CharCR)
            c = QChar(9);
        else if (c == CharLF)
            c = QChar(8);
        else if (c == QChar(0))
            c = QChar(1);
    }
    return s;
}

QString DecodeLineBreaks(const QString& text, bool multiLine)
{
    QString s = text;
    if (s.contains(QChar(8))) {
        for (QChar& c : s) {
            if (c == QChar(9))
                c = CharCR;
            else if (c == QChar(8))
                c = CharLF;
            else if (c == QChar(1))
                c = QChar(0);
        }
    }
    if (!multiLine)
        return CutFirstLine(s, false);
    return s;
}

QString LineBreaksToEscapes(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c == CharCR)
            out += QStringLiteral("\\n");
        else if (c != CharLF)
            out += c;
    }
    return out;
}

QString EscapesToLineBreaks(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\\n"), QString(CharCR));
    return s;
}

QString CutFirstLine(QString& text, bool keepRest)
{
    const qsizetype p = text.indexOf(CharCR);
    if (p < 0) {
        QString all = text;
        text.clear();
        return all;
    }
    QString line = text.left(p);
    text.remove(0, p + 1);
    if (!text.isEmpty() && text.at(0) == CharLF)
        text.remove(0, 1);
    if (!keepRest)
        text.clear();
    return line;
}

int LineCount(const QString& text, bool multiLine)
{
    return multiLine ? 1 + int(text.count(CharCR)) : 1;
}

bool IsNumberChar(QChar c) { return c.isNumber(); }
bool IsNumberOrMinus(QChar c) { return c.isNumber() || c == '-'; }
bool IsFloatChar(QChar c)
{
    return c.isNumber() || c == LocaleDecimalSeparator() || c == LocaleThousandSeparator() || c == 'e' ||
           c == 'E';
}
bool IsSignedFloatChar(QChar c) { return IsFloatChar(c) || c == '+' || c == '-'; }
bool IsNumberTextChar(QChar c)
{
    return c.isNumber() || c == ',' || c == '-' || c == '.' || c == 'e' || c == 'E' || c == '+';
}

int DetectNumberKind(const QString& text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return nkNotNumber;
    const QChar ts = LocaleThousandSeparator();
    const QChar ds = LocaleDecimalSeparator();
    bool allDigits = true, decimalOk = true, exponentOk = true, hasExponent = false;
    qsizetype lastThousand = -100;
    int decimals = 0, minus = 0;
    for (qsizetype i = 1; i <= n; ++i) {
        const QChar c = text.at(i - 1);
        const bool num = c.isNumber();
        if (!num && c != '-')
            allDigits = false;
        if (c == 'e' || c == 'E') {
            if (hasExponent)
                exponentOk = false;
            hasExponent = true;
        }
        if (i > 1 && c == '-') {
            allDigits = false;
            decimalOk = false;
        }
        if (i == 1 && (c == 'e' || c == 'E'))
            exponentOk = false;
        if (i == n && (c == 'e' || c == 'E' || c == '+' || c == '-'))
            exponentOk = false;
        if (!num && c != '-' && c != ts && c != ds)
            decimalOk = false;
        if (!IsSignedFloatChar(c) || c == ts)
            exponentOk = false;
        if (c == ts) {
            if (i - lastThousand < 4)
                decimalOk = false;
            lastThousand = i;
        }
        if (c == ds)
            ++decimals;
        if (c == '-')
            ++minus;
    }
    int result;
    if (allDigits) {
        result = nkInteger;
    } else {
        result = decimalOk && !hasExponent ? nkDecimal : nkNotNumber;
        if (exponentOk && hasExponent) {
            result = nkExponent;
            if (minus == 2)
                minus = 1;
        }
    }
    if (minus > 1 || decimals > 1)
        result = nkNotNumber;
    return result;
}

QString CleanNumberText(QString text)
{
    if (text.isEmpty())
        return text;
    bool negative = text.startsWith('(') && text.endsWith(')');
    while (text.size() >= 2 && !IsFloatChar(text.at(0))) {
        if (text.at(0) == '-')
            negative = true;
        text.remove(0, 1);
    }
    const QChar ts = LocaleThousandSeparator();
    const QChar ds = LocaleDecimalSeparator();
    QString out;
    for (QChar c : text) {
        if (c == ts)
            continue;
        if (c == ds) {
            out += '.';
            continue;
        }
        if (!IsNumberTextChar(c))
            break;
        out += c;
    }
    return negative ? QStringLiteral("-") + out : out;
}

QString LocaleNumberToPoint(const QString& text)
{
    const QChar ts = LocaleThousandSeparator();
    const QChar ds = LocaleDecimalSeparator();
    QString out;
    for (QChar c : text) {
        if (c == ds)
            out += '.';
        else if (c != ts)
            out += c;
    }
    return out;
}

namespace {

bool CleanInt(const QString& field, int& value)
{
    const std::optional<int> v = platform::Parse_Decimal(field, true);
    if (v)
        value = *v;
    return v.has_value();
}

QDate ParseDate3(const QString& text, bool monthFirst)
{
    QChar sep = text.contains('/') ? QChar('/') : text.contains('.') ? QChar('.') : QChar('-');
    const QStringList parts = text.trimmed().split(sep);
    if (parts.size() != 3)
        return {};
    int a = 0, b = 0, y = 0;
    if (!CleanInt(parts[0], a) || !CleanInt(parts[1], b) || !CleanInt(parts[2], y))
        return {};
    const QString yearText = parts[2].trimmed();
    if (y < 0)
        return {};
    if (yearText.size() <= 2)
        y += y <= 25 ? 2000 : 1900;
    const int month = monthFirst ? a : b;
    const int day = monthFirst ? b : a;
    return QDate(y, month, day);  // null when the calendar has no such day
}

}  // namespace

QDate ParseDateMDY(const QString& text) { return ParseDate3(text, true); }
QDate ParseDateDMY(const QString& text) { return ParseDate3(text, false); }

bool StrToIntStrict(const QString& text, int& value)
{
    const std::optional<int32_t> v = platform::Parse_Int32_Hex_x(text);
    if (v)
        value = *v;
    return v.has_value();
}

QString CutToken(QString& text, QChar delimiter)
{
    const qsizetype p = text.indexOf(delimiter);
    if (p < 0)
        return {};
    QString token = text.left(p);
    text.remove(0, p + 1);
    return token;
}

int CountChar(QChar c, const QString& text) { return int(text.count(c)); }

QString DoubleQuoteChars(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return s;
}

int ApplySizeLimits(int value, int minimum, int maximum)
{
    if (minimum == maximum)
        return value;
    if (minimum > 0 && value < minimum)
        value = minimum;
    if (maximum > 0 && value > maximum)
        value = maximum;
    return value;
}

int CountFormatConversions(const QString& format, const QRegularExpression& conversion)
{
    int conversions = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) != '%')
            continue;
        if (i + 1 < format.size() && format.at(i + 1) == '%') {
            ++i;
            continue;
        }
        const auto m = conversion.match(format, i, QRegularExpression::NormalMatch,
                                        QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return -1;
        ++conversions;
        i += m.capturedLength() - 1;
    }
    return conversions;
}

QString FilterTextCondition(const QString& text)
{
    static const QString operators = QStringLiteral(" ()&|;^<>!=");
    for (const QChar c : text)
        if (operators.contains(c))
            return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

}  // namespace grid
