#pragma once
#include <QString>
#include <QTextDocument>

namespace platform {

// Qt guesses mark-up in a tool tip's text; a hint that comes from a language file or a user goes
// through here so that it shows as written.
inline QString PlainHint(const QString& text)
{
    return text.isEmpty() ? text : Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

}  // namespace platform
