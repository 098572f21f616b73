#pragma once
#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "grid/core/GridTypes.h"

// Class-less text routines shared by the grid, its editors and its import and export code.
// Positions are 1-based as the callers count them; 0 means "not found".
class QRegularExpression;

namespace grid {

// Separators of the process's current locale, read at every call.
QChar LocaleThousandSeparator();
QChar LocaleDecimalSeparator();
QChar LocaleDateSeparator();
QChar LocaleTimeSeparator();
QString LocaleShortDateFormat();
QString LocaleShortTimeFormat();
QString LocaleLongTimeFormat();
// The same settings under the names the grid unit's callers use.
inline QChar GetTimeSep() { return LocaleTimeSeparator(); }
inline QChar GetDateSep() { return LocaleDateSeparator(); }
inline QChar GetThousandSep() { return LocaleThousandSeparator(); }
inline QChar GetDecimalSep() { return LocaleDecimalSeparator(); }
inline QString GetShortDateFormat() { return LocaleShortDateFormat(); }
inline QString GetShortTimeFormat() { return LocaleShortTimeFormat(); }
inline QString GetLongTimeFormat() { return LocaleLongTimeFormat(); }

enum TTextKind { tkPlain = 0, tkHTML = 1, tkRTF = 2, tkFormula = 3, tkWide = 5 };
int DetectTextKind(const QString& text, bool htmlEnabled);

// "|\" followed by two characters (high byte, low byte) per UTF-16 unit.
QString EncodeWideText(const QString& wide);
QString DecodeWideText(const QString& text);
int WidePos(const QString& sub, const QString& text);

// Line breaks of the grid's own text file and stream.
QString EncodeLineBreaks(const QString& text);
QString DecodeLineBreaks(const QString& text, bool multiLine);
QString LineBreaksToEscapes(const QString& text);
QString EscapesToLineBreaks(const QString& text);
QString CutFirstLine(QString& text, bool keepRest);
int LineCount(const QString& text, bool multiLine);

// Line breaks of CSV cells, the one-line CSV form and the plain exports.
void CSVQuoteLines(QString& text);
void TVToCRLF(QString& text);
void CRLFToTilde(QString& text);
void TildeToCRLF(QString& text);
void CRLFToLF(QString& text);
QString StripCR(const QString& text);
QString CRToLF(const QString& text);
QString CRToHTMLBreak(const QString& text);

enum TNumberKind { nkInteger = 0, nkDecimal = 1, nkNotNumber = 2, nkExponent = 5 };
int DetectNumberKind(const QString& text);
QString CleanNumberText(QString text);
QString LocaleNumberToPoint(const QString& text);
// A filter condition that stands for `text` as it is: quoted when it holds a blank or a character
// the filter expressions read as an operator.
QString FilterTextCondition(const QString& text);
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
// Date (and optional time) in the order of the locale's short date format; the year as written.
bool ParseLocaleDateTime(const QString& text, QDateTime& value);
bool LooksLikeDate(const QString& text);
// Next date of a series. A month step beyond a year and a day the target month lacks are
// handled by carrying whole years and clamping the day to the month's last.
QDate IncDate(int yearStep, int monthStep, int dayStep, const QDate& date, int plainStep);

// HTML.
bool IsURL(const QString& text);
void StripURLProtocol(QString& text);
bool LinkURLPrefix(const QString& text, const QString& upperPrefix, QString& out);
QString ColorToHTMLHex(TColor color);
void MakeClipboardHTML(QString& fragment);

// The cell's integer as the platform converts it: optional sign, decimal digits, or hexadecimal
// after "$", "x" or "0x". False when the text is not such a number or does not fit 32 bits.
bool StrToIntStrict(const QString& text, int& value);

QString CutToken(QString& text, QChar delimiter);
int CountChar(QChar c, const QString& text);
QString DoubleQuoteChars(const QString& text);
QString UndoubleChar(QChar c, const QString& text);
int FindUnpairedChar(QChar c, const QString& text, int& pos);
int CountUnpairedChar(QChar c, const QString& text);
int CharPos(QChar c, const QString& text);
int CharPosAndSet(QChar c, const QString& text, int& pos);
int PosAndSet(const QString& sub, const QString& text, int& pos);
int UpperCasePos(const QString& upperSub, const QString& text);
QString JoinStrings(const QStringList& list);

QString CapitalizeWords(const QString& text);
bool ParseRCCellRef(const QString& text, int& col, int& row);
// The OEM code page of CSV files with OemConvert: code page 850, which holds every Latin-1 letter.
void StrToOem(QString& text);
void OemToStr(QString& text);
void FillWithChar(QString& text, QChar c);

// How many printf conversions of the kind `conversion` matches (anchored at the '%') a format
// holds, "%%" not counted; -1 when it holds any other conversion. Formats come from stored
// settings and must never make printf read an argument that is not there.
int CountFormatConversions(const QString& format, const QRegularExpression& conversion);

inline int IntMax(int a, int b) { return a > b ? a : b; }
inline int IntMin(int a, int b) { return a < b ? a : b; }
int ApplySizeLimits(int value, int minimum, int maximum);
inline bool CellInGridRect(const TGridRect& r, int col, int row)
{
    return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

}  // namespace grid
