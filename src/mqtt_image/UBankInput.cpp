#include "mqtt_image/UBankInput.h"

#include "platform/Exception.h"


#include <algorithm>
#include <cstring>

namespace mqtt_image {

std::optional<int32_t> Str_To_Int(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    }
    if (i == text.size())
        return std::nullopt;

    uint64_t value = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
        if (value > limit)
            return std::nullopt;
    }
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

std::string_view Trim_Bank_Text(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

std::string Remove_CR_LF(std::string_view text)
{
    const void* cr = std::memchr(text.data(), '\r', text.size());
    const void* lf = std::memchr(text.data(), '\n', text.size());
    if (!cr && !lf)
        return std::string(text);
    const char* first = static_cast<const char*>(!cr ? lf : !lf ? cr : std::min(cr, lf));
    size_t cut = size_t(first - text.data());
    std::string result(text.substr(0, cut));
    for (; cut < text.size(); ++cut)
        if (text[cut] != '\r' && text[cut] != '\n')
            result.push_back(text[cut]);
    return result;
}

bool Same_Text_No_Case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = char(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

std::shared_ptr<const TXml_Source> TXml_Source::Load(const QString& path)
{
    auto source = std::make_shared<TXml_Source>();
    source->Doc.LoadFromFile(path);
    return source;
}

std::optional<std::string_view> TParGen_Reader::Text(const char* name) const
{
    const pugi::xml_node element = Root.child(name);
    if (!element)
        return std::nullopt;
    return std::string_view(element.text().get());
}

QString TParGen_Reader::Text_UTF16(const char* name) const
{
    const auto text = Text(name);
    return text ? QString::fromUtf8(text->data(), qsizetype(text->size())) : QString();
}

int32_t TParGen_Reader::Int(const char* name, int32_t fallback) const { return Int(name, fallback, fallback); }

int32_t TParGen_Reader::Int(const char* name, int32_t whenMissing, int32_t whenNotNumber) const
{
    const auto text = Text(name);
    if (!text)
        return whenMissing;
    return Str_To_Int(*text).value_or(whenNotNumber);
}

bool TParGen_Reader::Is_One(const char* name) const
{
    const auto text = Text(name);
    return text && *text == "1";
}

}  // namespace mqtt_image
