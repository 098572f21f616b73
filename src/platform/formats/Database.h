#pragma once
#include "platform/FileFormats.h"

namespace platform {

// Queries of database files without a database server: SQLite files through SQLite, Access files
// (".mdb", ".accdb") through mdbtools where the program was built with it. A file of neither kind,
// an SQL error or a result beyond the limits throws Exception with a clear message.

// Runs one statement on the file opened read-only (a query never changes the file) and keeps the
// whole result.
TQueryResult RunDatabaseQuery(const QString& path, const QString& sql, const TQueryLimits& limits = {});

}  // namespace platform
