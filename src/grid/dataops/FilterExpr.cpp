#include "grid/dataops/FilterExpr.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>

#include "grid/core/GridTextUtils.h"

namespace grid::dataops {

QString RemoveBlanksOutsideQuotes(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool inQuotes = false;
    for (QChar c : text) {
        if (c == '"')
            inQuotes = !inQuotes;
        if (c != ' ' || inQuotes)
            out += c;
    }
    return out;
}

QChar FindOperatorOutsideQuotes(const std::vector<QChar>& ops, const QString& text, int& pos)
{
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '"')
            inQuotes = !inQuotes;
        else if (!inQuotes && std::find(ops.begin(), ops.end(), c) != ops.end()) {
            pos = int(i) + 1;
            return c;
        }
    }
    return QChar(0);
}

int ClosingParenPos(const QString& text)
{
    int open = 0, close = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '(')
            ++open;
        else if (text.at(i) == ')' && ++close == open)
            return int(i) + 1;
    }
    return 0;
}

namespace {

bool ToNumber(const QString& text, double& value)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString s = LocaleNumberToPoint(text);
    if (!number.match(s).hasMatch())
        return false;
    bool ok = false;
    value = QLocale::c().toDouble(s, &ok);
    return ok;
}

// The comparison value after the operator at index p: "=" makes it inclusive.
QString ComparisonValue(const QString& cond, qsizetype p, bool& inclusive)
{
    qsizetype i = p + 1;
    inclusive = i < cond.size() && cond.at(i) == '=';
    if (inclusive)
        ++i;
    while (i < cond.size() && cond.at(i) == ' ')
        ++i;
    bool inQuotes = false;
    for (qsizetype k = 0; k <= i && k < cond.size(); ++k)
        if (cond.at(k) == '"' && k < i)
            inQuotes = !inQuotes;
    qsizetype e = i;
    for (; e < cond.size(); ++e) {
        const QChar c = cond.at(e);
        if (c == '"')
            inQuotes = !inQuotes;
        if (c == ' ' || (!inQuotes && (c == '&' || c == '|')))
            break;
    }
    QString v = cond.mid(i, e - i);
    if (v.startsWith('"'))
        v.remove(0, 1);
    if (v.endsWith('"'))
        v.chop(1);
    return v;
}

bool HasComparison(QStringView pattern)
{
    for (QChar c : pattern)
        if (c == '>' || c == '<' || c == '!' || c == '^' || c == '&')
            return true;
    return false;
}

// "*" and "?" without comparisons: backtracking to the last star only, so that a pattern of many
// stars costs no more than a few passes over the text.
bool GlobMatch(QStringView pattern, QStringView text)
{
    qsizetype p = 0, t = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '"') {
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '"'))
        ++p;
    return p == pattern.size();
}

}  // namespace

namespace filter_detail {

// The value side of a comparison, read once: as a date in the locale's order, as a number and as
// text (at most 255 characters take part).
struct TCompareValue {
    bool Present = false;
    bool Inclusive = false;
    bool IsDate = false;
    QDateTime Date;
    bool IsNumber = false;
    double Number = 0;
    QString Text;

    void Set(const QString& value, bool inclusive)
    {
        Present = true;
        Inclusive = inclusive;
        IsDate = ParseLocaleDateTime(value, Date);
        IsNumber = !IsDate && ToNumber(value, Number);
        Text = value.left(255);
    }
};

// A single condition (no "&" / "|" joins outside quotes, except inside the rest of a pattern).
struct TCondition {
    TCompareValue Greater, Less;
    bool HasNot = false, HasCaret = false, HasAmp = false;
    // The pattern: steps up to the first star, then either nothing, a plain glob or a condition
    // of its own for the rest (when the rest holds comparison or negation characters).
    enum TStepKind : uint8_t { skNegate, skChar, skAny };
    struct TStep {
        TStepKind Kind;
        QChar C;
    };
    std::vector<TStep> Head;
    bool Star = false;
    QString Glob;  // "*" + rest
    std::unique_ptr<TCondition> Rest;

    explicit TCondition(const QString& condition)
    {
        // A condition quoted whole is a text: its comparison and negation characters are letters.
        const bool text = condition.size() >= 2 && condition.startsWith('"') && condition.endsWith('"');
        bool inclusive = false;
        const qsizetype gp = text ? -1 : condition.indexOf('>');
        const qsizetype lp = text ? -1 : condition.indexOf('<');
        if (gp >= 0) {
            const QString value = ComparisonValue(condition, gp, inclusive);
            Greater.Set(value, inclusive);
        }
        if (lp >= 0) {
            const QString value = ComparisonValue(condition, lp, inclusive);
            Less.Set(value, inclusive);
        }
        HasNot = !text && condition.contains('!');
        HasCaret = !text && condition.contains('^');
        HasAmp = !text && condition.contains('&');
        for (qsizetype p = 0; p < condition.size(); ++p) {
            const QChar pc = condition.at(p);
            if (pc == '!' && !text) {
                Head.push_back({skNegate, pc});
            } else if (pc == '"') {
                continue;
            } else if (pc == '*') {
                while (p < condition.size() && condition.at(p) == '*')
                    ++p;
                const QString rest = condition.mid(p);
                Star = true;
                if (!text && HasComparison(rest))
                    Rest = std::make_unique<TCondition>(rest);
                else
                    Glob = QStringLiteral("*") + rest;
                break;
            } else {
                Head.push_back({pc == '?' ? skAny : skChar, pc});
            }
        }
    }

    static int Compare(const TCompareValue& v, QStringView cell, QChar dateSep)
    {
        QDateTime cellDate;
        const bool isCellDate = cell.contains(dateSep) && ParseLocaleDateTime(cell.toString(), cellDate);
        if (!v.IsDate && !isCellDate && v.IsNumber) {
            double n = 0;
            if (ToNumber(cell.toString(), n))
                return v.Number < n ? -1 : v.Number > n ? 1 : 0;
        }
        if (v.IsDate && isCellDate)
            return v.Date < cellDate ? -1 : v.Date > cellDate ? 1 : 0;
        return QStringView(v.Text).compare(cell.left(255), Qt::CaseSensitive);
    }

    bool PatternMatch(QStringView cell, QChar dateSep) const
    {
        bool negate = false;
        qsizetype t = 0;
        for (const TStep& s : Head) {
            if (s.Kind == skNegate) {
                negate = true;
            } else if (t < cell.size() && (s.Kind == skAny || s.C == cell[t])) {
                ++t;
            } else {
                return negate;
            }
        }
        bool matched = false;
        if (!Star) {
            matched = t == cell.size();
        } else if (!Rest) {
            matched = GlobMatch(Glob, cell.mid(t));
        } else {
            const QStringView remaining = cell.mid(t);
            for (qsizetype k = remaining.size(); k >= 0 && !matched; --k)
                matched = Rest->Match(remaining.mid(k), dateSep);
        }
        return negate ? !matched : matched;
    }

    bool Match(QStringView cell, QChar dateSep) const
    {
        bool greater = true, less = true;
        bool greaterDone = false, lessDone = false;
        if (Greater.Present) {
            const int cmp = Compare(Greater, cell, dateSep);
            greater = Greater.Inclusive ? cmp <= 0 : cmp < 0;
            greaterDone = true;
        }
        if (Less.Present) {
            const int cmp = Compare(Less, cell, dateSep);
            less = Less.Inclusive ? cmp >= 0 : cmp > 0;
            lessDone = true;
        }
        if (HasNot) {
            if (!Greater.Present)
                greaterDone = true;
            if (!Less.Present)
                lessDone = true;
        }
        if (HasCaret && (greaterDone || lessDone))
            return greater || less;
        if (HasAmp && greaterDone && lessDone)
            return greater && less;
        if (Greater.Present && greater)
            return true;
        if (Less.Present && less)
            return true;
        return PatternMatch(cell, dateSep);
    }
};

}  // namespace filter_detail

using filter_detail::TCondition;

// A run of terms and groups, each joined to the result so far by the operator before it.
struct TFilterExpr::TNode {
    struct TStep {
        QChar Op;  // null for the first; '&' and; '|', ';', '^' or
        std::unique_ptr<TCondition> Term;
        std::unique_ptr<TNode> Group;
    };
    std::vector<TStep> Steps;

    // Blanks outside quotes and a leading "=" go, for the whole expression and each group alike.
    static QString Prepare(const QString& expr)
    {
        QString e = RemoveBlanksOutsideQuotes(expr.trimmed());
        if (e.startsWith('='))
            e.remove(0, 1);
        return e;
    }

    // Groups nest this deep at most; a deeper one is read as a plain term. Each level scans the
    // rest of the text, so an unbounded depth costs time by the square of the length.
    static constexpr int MaxDepth = 32;

    static std::unique_ptr<TNode> Parse(QString e, int depth = 0)
    {
        static const std::vector<QChar> ops{'(', ';', '^', '&', '|'};
        auto node = std::make_unique<TNode>();
        if (depth >= MaxDepth) {
            node->Steps.push_back({QChar(), std::make_unique<TCondition>(e), nullptr});
            return node;
        }
        QChar pending;
        // After a group the text up to the next operator is discarded: its operator is "(".
        auto add = [&](std::unique_ptr<TCondition> term, std::unique_ptr<TNode> group) {
            if (pending != '(')
                node->Steps.push_back({pending, std::move(term), std::move(group)});
        };
        int pos = 0;
        for (QChar op; !(op = FindOperatorOutsideQuotes(ops, e, pos)).isNull();) {
            if (e.startsWith('(')) {
                const int close = ClosingParenPos(e);
                if (close == 0) {
                    // An unclosed group runs to the end of the expression.
                    add(nullptr, Parse(Prepare(e.mid(1)), depth + 1));
                    return node;
                }
                add(nullptr, Parse(Prepare(e.mid(1, close - 2)), depth + 1));
                e.remove(0, close);
            } else {
                add(std::make_unique<TCondition>(e.left(pos - 1)), nullptr);
                e.remove(0, pos);
            }
            pending = op;
        }
        add(std::make_unique<TCondition>(e), nullptr);
        return node;
    }

    bool Match(QStringView cell, QChar dateSep) const
    {
        bool result = true;
        for (const TStep& s : Steps) {
            // Matching has no side effects, so a decided join skips its term.
            if (s.Op == '&' && !result)
                continue;
            if ((s.Op == '|' || s.Op == ';' || s.Op == '^') && result)
                continue;
            result = s.Term ? s.Term->Match(cell, dateSep) : s.Group->Match(cell, dateSep);
        }
        return result;
    }
};

TFilterExpr::TFilterExpr() = default;
TFilterExpr::~TFilterExpr() = default;
TFilterExpr::TFilterExpr(TFilterExpr&&) noexcept = default;
TFilterExpr& TFilterExpr::operator=(TFilterExpr&&) noexcept = default;

TFilterExpr::TFilterExpr(const QString& expr, bool caseSensitive) : FCaseSensitive(caseSensitive)
{
    FDateSep = LocaleDateSeparator();
    QString e = TNode::Prepare(expr);
    if (!caseSensitive) {
        e = FLocale.toUpper(e);
        const QString ascii = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
        FAsciiUpper = FLocale.toUpper(ascii) == ascii.toUpper();
    }
    FRoot = TNode::Parse(e);
}

bool TFilterExpr::Match(const QString& value) const
{
    if (!FRoot)
        return false;
    const QChar dateSep = FDateSep;
    if (FCaseSensitive)
        return FRoot->Match(value, dateSep);
    bool ascii = FAsciiUpper;
    for (qsizetype i = 0; ascii && i < value.size(); ++i)
        ascii = value.at(i).unicode() < 128;
    return FRoot->Match(ascii ? value.toUpper() : FLocale.toUpper(value), dateSep);
}

bool MatchFilterExpr(const QString& expr, const QString& value, bool caseSensitive)
{
    return TFilterExpr(expr, caseSensitive).Match(value);
}

}  // namespace grid::dataops
