#pragma once
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <string_view>

// The integer texts of the program: one scanner, and one reader per grammar the formats call for,
// each named by what it accepts. Digits are ASCII only: a text read as UTF-16 or as its UTF-8
// bytes reads alike.
namespace platform {

// The program's reading, for typed texts and file values alike: leading blanks, an optional sign,
// decimal digits or hexadecimal after "$" or "0x"; nothing may follow. Empty when the text is not a
// number within 64 bits.
std::optional<qint64> Parse_Integer(QStringView text);
std::optional<qint64> Parse_Integer(std::string_view utf8);

// The same reading limited to 32 bits; hexadecimal spells the bit pattern ("$FFFFFFFF" is -1).
std::optional<int32_t> Parse_Int32(QStringView text);
std::optional<int32_t> Parse_Int32(std::string_view utf8);
bool Parse_Int(const QString& text, int& value);

// As Parse_Int32, and a lone "x" or "X" also starts hexadecimal: the cell conversion of the grid.
std::optional<int32_t> Parse_Int32_Hex_x(QStringView text);

// Reads the number at the start of the text and ignores what follows: white space, a sign, "$" or
// "0x", then the digits up to the first other character. Never fails: no digit gives 0 (and *ok
// false); a value past the 32-bit range saturates.
int Read_Int_Prefix(QStringView text, bool* ok = nullptr);

// Decimal digits alone, no sign, no blanks: a count of a stored stream, at most limit.
std::optional<int> Parse_Count(QStringView text, int limit);

// An optional sign and decimal digits within 32 bits: a field of a date or a time. With
// blanksAround, white space before and after is allowed.
std::optional<int> Parse_Decimal(QStringView text, bool blanksAround);

// Hexadecimal digits without a prefix, as an edit box in hexadecimal mode holds them; a character
// that is not a hexadecimal digit counts as a 0 digit.
qint64 Hex_Digits_Value(QStringView text);

}  // namespace platform
