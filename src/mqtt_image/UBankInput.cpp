#include "mqtt_image/UBankInput.h"

#include "platform/Exception.h"
#include "shell/UTextChecks.h"

#include <algorithm>
#include <cstring>

namespace mqtt_image {

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

QString TParGen_Reader::Text_UTF16(shell::TParGen_Id element) const
{
    const auto text = Text(element);
    return text ? QString::fromUtf8(text->data(), qsizetype(text->size())) : QString();
}

int32_t TParGen_Reader::Int(shell::TParGen_Id element, int32_t fallback) const
{
    return Int(element, fallback, fallback);
}

int32_t TParGen_Reader::Int(shell::TParGen_Id element, int32_t whenMissing, int32_t whenNotNumber) const
{
    const auto text = Text(element);
    if (!text)
        return whenMissing;
    return shell::Parse_Int32(*text).value_or(whenNotNumber);
}

bool TParGen_Reader::Is_One(shell::TParGen_Id element) const
{
    const auto text = Text(element);
    return text && *text == "1";
}

}  // namespace mqtt_image
