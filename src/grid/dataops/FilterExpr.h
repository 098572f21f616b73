#pragma once
#include <QChar>
#include <QLocale>
#include <QString>
#include <memory>
#include <vector>

// Filter expressions: conditions joined by "&" (and) or "|", "^", ";" (or), strictly left to
// right, groups in parentheses; comparisons with ">", "<", ">=", "<=", patterns with "*", "?",
// negation with "!". Blanks outside double quotes are dropped, a leading "=" too. Unless case
// sensitive both sides are upper-cased by the locale's rules.
//
// An expression is parsed once into a TFilterExpr and then matched against any number of texts,
// so that a filter over many rows does not take the expression apart again for every row.

namespace grid::dataops {

class TFilterExpr {
public:
    TFilterExpr();
    TFilterExpr(const QString& expr, bool caseSensitive);
    ~TFilterExpr();
    TFilterExpr(TFilterExpr&&) noexcept;
    TFilterExpr& operator=(TFilterExpr&&) noexcept;

    bool Match(const QString& value) const;

    struct TNode;

private:
    std::unique_ptr<TNode> FRoot;
    bool FCaseSensitive = true;
    QLocale FLocale;
    bool FAsciiUpper = true;  // the locale upper-cases ASCII letters as plain ASCII
    QChar FDateSep;           // read once: dates compare in the locale of the parse
};

// One match; parses the expression each time (use TFilterExpr for many texts).
bool MatchFilterExpr(const QString& expr, const QString& value, bool caseSensitive);

// The quote-aware helpers of the parser.
QString RemoveBlanksOutsideQuotes(const QString& text);
// The first of ops outside double quotes; pos is its 1-based position. A null character (pos
// unchanged) when there is none.
QChar FindOperatorOutsideQuotes(const std::vector<QChar>& ops, const QString& text, int& pos);
// 1-based position of the parenthesis that closes the first one, 0 when it is not closed.
int ClosingParenPos(const QString& text);

}  // namespace grid::dataops
