// Filter expressions and the locale-order date parser they compare with.
#include <QLocale>
#include <QRegularExpression>

#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

bool CleanInt(const QString& field, int& value)
{
    if (field.isEmpty())
        return false;
    for (QChar c : field)
        if (!(c >= '0' && c <= '9') && c != '-' && c != '+')
            return false;
    bool ok = false;
    value = field.toInt(&ok, 10);
    return ok;
}

bool ParseTime(const QString& text, QChar sep, QTime& time)
{
    const qsizetype p1 = text.indexOf(sep);
    if (p1 < 0)
        return false;
    int h = 0, m = 0, s = 0;
    if (!CleanInt(text.left(p1), h))
        return false;
    const QString rest = text.mid(p1 + 1);
    const qsizetype p2 = rest.indexOf(sep);
    if (p2 >= 0) {
        if (!CleanInt(rest.left(p2), m) || !CleanInt(rest.mid(p2 + 1), s))
            return false;
    } else if (!CleanInt(rest, m)) {
        return false;
    }
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return false;
    time = QTime(h, m, s);
    return time.isValid();
}

}  // namespace

bool ParseLocaleDateTime(const QString& text, QDateTime& value)
{
    const QString format = LocaleShortDateFormat().toUpper();
    const QChar sep = LocaleDateSeparator();
    const qsizetype pd = format.indexOf('D'), pm = format.indexOf('M'), py = format.indexOf('Y');

    const qsizetype s1 = text.indexOf(sep);
    if (s1 < 0)
        return false;
    const qsizetype s2 = text.indexOf(sep, s1 + 1);
    if (s2 < 0)
        return false;
    int f1 = 0, f2 = 0, f3 = 0;
    if (!CleanInt(text.left(s1), f1) || !CleanInt(text.mid(s1 + 1, s2 - s1 - 1), f2))
        return false;
    QString third = text.mid(s2 + 1).trimmed();
    QString timePart;
    const qsizetype blank = third.indexOf(' ');
    if (blank >= 0) {
        timePart = third.mid(blank).trimmed();
        third = third.left(blank);
    }
    if (!CleanInt(third, f3))
        return false;

    // Rank of each field in the format; a format without one of the letters reads M/D/Y.
    int day = f2, month = f1, year = f3;
    if (pd >= 0 && pm >= 0 && py >= 0) {
        const int fields[3] = {f1, f2, f3};
        auto rank = [&](qsizetype p) { return int(p > pd) + int(p > pm) + int(p > py); };
        day = fields[rank(pd)];
        month = fields[rank(pm)];
        year = fields[rank(py)];
    }
    if (day > 31 || month > 12)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (!timePart.isEmpty() && !ParseTime(timePart, LocaleTimeSeparator(), time))
        return false;
    value = QDateTime(date, time);
    return true;
}

bool LooksLikeDate(const QString& text)
{
    const QChar sep = LocaleDateSeparator();
    const qsizetype p = text.indexOf(sep);
    if (p < 1)
        return false;
    return text.indexOf(sep, p + 1) - (p + 1) >= 1;
}

QDate IncDate(int yearStep, int monthStep, int dayStep, const QDate& date, int plainStep)
{
    auto clamped = [](int y, int m, int d) {
        const QDate first(y, m, 1);
        return first.isValid() ? QDate(y, m, std::min(d, first.daysInMonth())) : QDate();
    };
    if (dayStep != 0 && yearStep == 0 && monthStep == 0)
        return date.addDays(dayStep);
    if (yearStep != 0 && monthStep == 0 && dayStep == 0)
        return clamped(date.year() + yearStep, date.month(), date.day());
    if (monthStep != 0 && yearStep == 0 && dayStep == 0) {
        const int months = date.month() - 1 + monthStep;
        const int years = months >= 0 ? months / 12 : -((11 - months) / 12);
        return clamped(date.year() + years, months - years * 12 + 1, date.day());
    }
    return date.addDays(plainStep);
}

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

// Sign of value against cell: numbers, then dates, then characters.
int CompareFilterValue(const QString& value, const QString& cell)
{
    QDateTime dv, dc;
    const bool valueDate = ParseLocaleDateTime(value, dv);
    const bool cellDate = ParseLocaleDateTime(cell, dc);
    double nv = 0, nc = 0;
    if (!valueDate && !cellDate && ToNumber(value, nv) && ToNumber(cell, nc))
        return nv < nc ? -1 : nv > nc ? 1 : 0;
    if (valueDate && cellDate)
        return dv < dc ? -1 : dv > dc ? 1 : 0;
    return QStringView(value).left(255).compare(QStringView(cell).left(255), Qt::CaseSensitive);
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

bool PatternMatch(const QString& pattern, const QString& cell)
{
    bool negate = false;
    qsizetype p = 0, t = 0;
    bool matched = false;
    for (;;) {
        if (p == pattern.size()) {
            matched = t == cell.size();
            break;
        }
        const QChar pc = pattern.at(p);
        if (pc == '!') {
            negate = true;
            ++p;
        } else if (pc == '"') {
            ++p;
        } else if (pc == '*') {
            while (p < pattern.size() && pattern.at(p) == '*')
                ++p;
            const QString rest = pattern.mid(p);
            const QStringView remaining = QStringView(cell).mid(t);
            if (!HasComparison(rest)) {
                // Some suffix matches exactly when the rest matches at the end of the text.
                matched = GlobMatch(QStringLiteral("*") + rest, remaining);
            } else {
                for (qsizetype k = remaining.size(); k >= 0 && !matched; --k)
                    matched = MatchSingleCondition(rest, remaining.mid(k).toString());
            }
            break;
        } else if (t < cell.size() && (pc == '?' || pc == cell.at(t))) {
            ++p;
            ++t;
        } else {
            matched = false;
            break;
        }
    }
    return negate ? !matched : matched;
}

}  // namespace

bool MatchSingleCondition(const QString& condition, const QString& cell)
{
    bool greater = true, less = true;
    bool greaterDone = false, lessDone = false;
    const qsizetype gp = condition.indexOf('>');
    const qsizetype lp = condition.indexOf('<');
    const qsizetype np = condition.indexOf('!');
    bool inclusive = false;
    if (gp >= 0) {
        const QString v = ComparisonValue(condition, gp, inclusive);
        const int cmp = CompareFilterValue(v, cell);
        greater = inclusive ? cmp <= 0 : cmp < 0;
        greaterDone = true;
    }
    if (lp >= 0) {
        const QString v = ComparisonValue(condition, lp, inclusive);
        const int cmp = CompareFilterValue(v, cell);
        less = inclusive ? cmp >= 0 : cmp > 0;
        lessDone = true;
    }
    if (np >= 0) {
        if (gp < 0)
            greaterDone = true;
        if (lp < 0)
            lessDone = true;
    }
    if (condition.contains('^') && (greaterDone || lessDone))
        return greater || less;
    if (condition.contains('&') && greaterDone && lessDone)
        return greater && less;
    if (gp >= 0 && greater)
        return true;
    if (lp >= 0 && less)
        return true;
    return PatternMatch(condition, cell);
}

bool MatchFilterCondition(const QString& condition, const QString& cell, bool caseSensitive)
{
    if (caseSensitive)
        return MatchSingleCondition(condition, cell);
    const QLocale locale;
    return MatchSingleCondition(locale.toUpper(condition), locale.toUpper(cell));
}

namespace {

void Combine(bool& result, QChar pending, bool value)
{
    if (pending.isNull())
        result = value;
    else if (pending == '&')
        result = result && value;
    else if (pending == ';' || pending == '^' || pending == '|')
        result = result || value;
    // After a group the term up to the next operator is discarded.
}

}  // namespace

bool MatchFilterExpr(const QString& expr, const QString& cell, bool caseSensitive)
{
    static const std::vector<QChar> ops{'(', ';', '^', '&', '|'};
    QString e = RemoveBlanksOutsideQuotes(expr.trimmed());
    if (e.startsWith('='))
        e.remove(0, 1);
    bool result = true;
    QChar pending;
    int pos = 0;
    for (QChar op; !(op = FindOperatorOutsideQuotes(ops, e, pos)).isNull();) {
        if (e.startsWith('(')) {
            const int close = ClosingParenPos(e);
            if (close == 0) {
                // An unclosed group runs to the end of the expression.
                Combine(result, pending, MatchFilterExpr(e.mid(1), cell, caseSensitive));
                return result;
            }
            Combine(result, pending, MatchFilterExpr(e.mid(1, close - 2), cell, caseSensitive));
            e.remove(0, close);
        } else {
            Combine(result, pending, MatchFilterCondition(e.left(pos - 1), cell, caseSensitive));
            e.remove(0, pos);
        }
        pending = op;
    }
    Combine(result, pending, MatchFilterCondition(e, cell, caseSensitive));
    return result;
}

}  // namespace grid
