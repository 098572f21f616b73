#pragma once
#include "platform/FileFormats.h"

namespace platform {

// ".docx" documents without a word processor, through libzip and pugixml.

// A new document holding the table; it replaces the file whole.
void WriteDocxTable(const QString& path, const TDocTable& table);
// Adds the table to the document after the paragraph of the bookmark (names compare without
// regard to case), or at the end of the document when the bookmark is empty or not there. The
// rest of the document stays as it was. Throws Exception naming the file on failure.
void AppendDocxTable(const QString& path, const QString& bookmark, const TDocTable& table);

}  // namespace platform
