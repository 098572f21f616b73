#pragma once
#include <QChar>
#include <QDate>
#include <QString>

#include "grid/core/GridTypes.h"

// Class-less text routines shared by the grid, its editors and its import and export code.
// Positions are 1-based as the callers count them; 0 means "not found".
namespace grid {

// Separators of the process's current locale, read at every call.
QChar LocaleThousandSeparator();
QChar LocaleDecimalSeparator();
QChar LocaleDateSeparator();
QChar LocaleTimeSeparator();
QString LocaleShortDateFormat();

enum TTextKind { tkPlain = 0, tkHTML = 1, tkRTF = 2, tkFormula = 3, tkWide = 5 };
int DetectTextKind(const QString& text, bool htmlEnabled);

// "|\" followed by two characters (high byte, low byte) per UTF-16 unit.
QString EncodeWideText(const QString& wide);
QString DecodeWideText(const QString& text);

// Line breaks of the grid's own text file and stream.
QString EncodeLineBreaks(const QString& text);
QString DecodeLineBreaks(const QString& text, bool multiLine);
QString LineBreaksToEscapes(const QString& text);
QString EscapesToLineBreaks(const QString& text);
QString CutFirstLine(QString& text, bool keepRest);
int LineCount(const QString& text, bool multiLine);

enum TNumberKind { nkInteger = 0, nkDecimal = 1, nkNotNumber = 2, nkExponent = 5 };
int DetectNumberKind(const QString& text);
QString CleanNumberText(QString text);
QString LocaleNumberToPoint(const QString& text);
bool IsNumberChar(QChar c);
bool IsNumberOrMinus(QChar c);
bool IsFloatChar(QChar c);
bool IsSignedFloatChar(QChar c);
bool IsNumberTextChar(QChar c);

// Month/day/year and day/month/year texts with "/", "." or "-". A year of one or two digits is
// read in the window 1926..2025; a longer year is taken as written. A text that is no date, or
// names a day the calendar does not have, answers a null date.
QDate ParseDateMDY(const QString& text);
QDate ParseDateDMY(const QString& text);

// The cell's integer as the platform converts it: optional sign, decimal digits, or hexadecimal
// after "$", "x" or "0x". False when the text is not such a number or does not fit 32 bits.
bool StrToIntStrict(const QString& text, int& value);

QString CutToken(QString& text, QChar delimiter);
int CountChar(QChar c, const QString& text);
QString DoubleQuoteChars(const QString& text);

inline int IntMax(int a, int b) { return a > b ? a : b; }
inline int IntMin(int a, int b) { return a < b ? a : b; }
int ApplySizeLimits(int value, int minimum, int maximum);
inline bool CellInGridRect(const TGridRect& r, int col, int row)
{
    return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

}  // namespace grid
