#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// Queries of database files without a database server: SQLite files through SQLite, Access files
// (".mdb", ".accdb") through mdbtools where the program was built with it. A file of neither kind,
// an SQL error or a result beyond the limits throws Exception with a clear message.

struct TQueryResult {
    QStringList Fields;
    // The records' values as texts; NULL is an empty text.
    std::vector<QStringList> Records;
};

struct TQueryLimits {
    int MaxRecords = 1'000'000;
    int MaxFields = 16384;
};

// Runs one statement on the file opened read-only (a query never changes the file) and keeps the
// whole result.
TQueryResult RunDatabaseQuery(const QString& path, const QString& sql, const TQueryLimits& limits = {});

}  // namespace platform
