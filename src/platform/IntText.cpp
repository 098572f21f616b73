#include "platform/IntText.h"

#include <algorithm>
#include <limits>
#include <type_traits>

namespace platform {

namespace {

// What a reader accepts around the digits.
struct Grammar {
    enum Blanks { No_Blanks, Spaces, White_Space } Leading = Spaces;
    bool Sign = true;
    bool Hex = true;      // after "$", "0x" or "0X"
    bool Hex_x = false;   // also after a lone "x" or "X"
    bool Prefix = false;  // digits end at the first other character instead of failing
};

struct Scanned {
    quint64 Magnitude = 0;  // saturated at INT64_MAX + 1
    bool Negative = false;
    bool Hexadecimal = false;
    bool Digits = false;
    bool Overflow = false;
};

bool Is_White(char32_t c) { return QChar::isSpace(c); }

template <typename Unit>
std::optional<Scanned> Scan(const Unit* text, size_t n, const Grammar& g)
{
    auto at = [&](size_t k) { return char32_t(std::make_unsigned_t<Unit>(text[k])); };
    size_t i = 0;
    if (g.Leading == Grammar::Spaces)
        while (i < n && at(i) == U' ')
            ++i;
    if (g.Leading == Grammar::White_Space)
        while (i < n && Is_White(at(i)))
            ++i;
    Scanned s;
    if (g.Sign && i < n && (at(i) == U'-' || at(i) == U'+'))
        s.Negative = at(i++) == U'-';
    if (g.Hex && i < n && at(i) == U'$') {
        s.Hexadecimal = true;
        ++i;
    } else if (g.Hex && i + 1 < n && at(i) == U'0' && (at(i + 1) == U'x' || at(i + 1) == U'X')) {
        s.Hexadecimal = true;
        i += 2;
    } else if (g.Hex_x && i < n && (at(i) == U'x' || at(i) == U'X')) {
        s.Hexadecimal = true;
        ++i;
    }
    const quint64 base = s.Hexadecimal ? 16 : 10;
    constexpr quint64 limit = quint64(std::numeric_limits<qint64>::max()) + 1;
    for (; i < n; ++i) {
        const char32_t c = at(i);
        int digit = -1;
        if (c >= U'0' && c <= U'9')
            digit = int(c - U'0');
        else if (s.Hexadecimal && c >= U'a' && c <= U'f')
            digit = int(c - U'a') + 10;
        else if (s.Hexadecimal && c >= U'A' && c <= U'F')
            digit = int(c - U'A') + 10;
        if (digit < 0) {
            if (g.Prefix)
                break;
            return std::nullopt;
        }
        s.Digits = true;
        if (s.Magnitude > (limit - quint64(digit)) / base) {
            s.Overflow = true;
            s.Magnitude = limit;
        } else {
            s.Magnitude = s.Magnitude * base + quint64(digit);
        }
    }
    return s;
}

std::optional<Scanned> Scan(QStringView text, const Grammar& g) { return Scan(text.utf16(), size_t(text.size()), g); }
std::optional<Scanned> Scan(std::string_view text, const Grammar& g) { return Scan(text.data(), text.size(), g); }

std::optional<qint64> To_Int64(const std::optional<Scanned>& s)
{
    if (!s || !s->Digits || s->Overflow || s->Magnitude > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    const qint64 v = qint64(s->Magnitude);
    return s->Negative ? -v : v;
}

std::optional<int32_t> To_Int32(const std::optional<Scanned>& s)
{
    const std::optional<qint64> v = To_Int64(s);
    if (!v)
        return std::nullopt;
    if (s->Hexadecimal && !s->Negative && *v <= 0xFFFFFFFFLL)
        return int32_t(quint32(*v));  // hexadecimal spells the 32-bit pattern
    if (*v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(*v);
}

const Grammar Program{};

}  // namespace

std::optional<qint64> Parse_Integer(QStringView text) { return To_Int64(Scan(text, Program)); }
std::optional<qint64> Parse_Integer(std::string_view utf8) { return To_Int64(Scan(utf8, Program)); }
std::optional<int32_t> Parse_Int32(QStringView text) { return To_Int32(Scan(text, Program)); }
std::optional<int32_t> Parse_Int32(std::string_view utf8) { return To_Int32(Scan(utf8, Program)); }

bool Parse_Int(const QString& text, int& value)
{
    const std::optional<int32_t> parsed = Parse_Int32(text);
    if (parsed)
        value = *parsed;
    return parsed.has_value();
}

std::optional<int32_t> Parse_Int32_Hex_x(QStringView text)
{
    Grammar g;
    g.Hex_x = true;
    return To_Int32(Scan(text, g));
}

int Read_Int_Prefix(QStringView text, bool* ok)
{
    Grammar g;
    g.Leading = Grammar::White_Space;
    g.Prefix = true;
    const std::optional<Scanned> s = Scan(text, g);
    if (ok)
        *ok = s && s->Digits;
    if (!s || !s->Digits)
        return 0;
    constexpr qint64 high = std::numeric_limits<int>::max();
    const qint64 magnitude = qint64(std::min<quint64>(s->Magnitude, quint64(high) + 1));
    return int(std::clamp<qint64>(s->Negative ? -magnitude : magnitude, std::numeric_limits<int>::min(), high));
}

std::optional<int> Parse_Count(QStringView text, int limit)
{
    Grammar g;
    g.Leading = Grammar::No_Blanks;
    g.Sign = false;
    g.Hex = false;
    const std::optional<qint64> v = To_Int64(Scan(text, g));
    if (!v || *v > limit)
        return std::nullopt;
    return int(*v);
}

std::optional<int> Parse_Decimal(QStringView text, bool blanksAround)
{
    Grammar g;
    g.Leading = blanksAround ? Grammar::White_Space : Grammar::No_Blanks;
    g.Hex = false;
    if (blanksAround)
        while (!text.isEmpty() && Is_White(text.back().unicode()))
            text.chop(1);
    const std::optional<qint64> v = To_Int64(Scan(text, g));
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*v);
}

qint64 Hex_Digits_Value(QStringView text)
{
    quint64 result = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const int digit = u >= u'0' && u <= u'9'   ? u - u'0'
                          : u >= u'A' && u <= u'F' ? u - u'A' + 10
                          : u >= u'a' && u <= u'f' ? u - u'a' + 10
                                                   : 0;
        result = result * 16 + quint64(digit);
    }
    return qint64(result);
}

}  // namespace platform
