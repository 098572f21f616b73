#pragma once
#include "shell/UProjectTable.h"

namespace fieldbus {

// A column of a set-up table; attribute null: not stored (the row number). The fieldbus files
// give no defaults: every stored attribute is required.
inline shell::Table_Column Table_Col(int header, int hint, shell::Cell_Editor kind, int width, uint32_t color,
                                     const char* attribute)
{
    shell::Table_Column c;
    c.Header = header;
    c.Hint = hint;
    c.Kind = kind;
    c.Width = width;
    c.Color = color;
    c.Attribute = attribute ? QLatin1String(attribute) : QString();
    c.Required = attribute != nullptr;
    return c;
}

}  // namespace fieldbus
