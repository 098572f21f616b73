#include "protocols/building/USNMP_Tables.h"

#include "shell/UTextChecks.h"

namespace building::snmp {

shell::Table_Column Check_Column(int header, int hint, int width, const char* attribute, const char* fallback,
                                 const char* cleared)
{
    return {.Header = header, .Hint = hint, .Kind = shell::Cell_Editor::Check, .Width = width, .Attribute = attribute,
            .Default = fallback, .Cleared = cleared, .Centred = true};
}

shell::Table_Column Text_Column(int header, int hint, int width, const char* attribute)
{
    return {.Header = header, .Hint = hint, .Width = width, .Attribute = attribute};
}

shell::Table_Column List_Column(int header, int hint, QStringList items, int width, const char* attribute,
                                const char* fallback, shell::Cell_Editor kind)
{
    return {.Header = header, .Hint = hint, .Kind = kind, .Items = std::move(items), .Width = width,
            .Attribute = attribute, .Default = fallback};
}

QStringList Community_Items() { return {QStringLiteral("Pebble"), QStringLiteral("Harbour")}; }

int64_t Area_Position(const QString& cell, int areaSize)
{
    const int64_t position = shell::Setup_Number(shell::Trim_Blanks(cell));
    return position >= 0 && position < areaSize ? position : -1;
}

std::optional<QString> Area_Fit_Fault(const QString& tag, int64_t position, int64_t bytes, int areaSize)
{
    if (position < 0)
        return QStringLiteral("!! %1Position must be between 0 and %2").arg(tag).arg(areaSize - 1);
    if (position + bytes <= areaSize)
        return std::nullopt;
    return QStringLiteral("!! %1Position %2 with %3 bytes ends beyond the %4-byte exchange area (last position %5)")
        .arg(tag)
        .arg(position)
        .arg(bytes)
        .arg(areaSize)
        .arg(areaSize - 1);
}

}  // namespace building::snmp
