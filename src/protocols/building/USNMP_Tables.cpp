#include "protocols/building/USNMP_Tables.h"


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

}  // namespace building::snmp
