#include "platform/formats/Database.h"

#include <QFile>
#include <sqlite3.h>

#include "platform/Exception.h"

#ifdef CONF_HAVE_MDBTOOLS
#include <mdbsql.h>
#endif

namespace platform {

namespace database_detail {

enum class TDbKind { None, Sqlite, Access };

TDbKind KindOf(const QByteArray& head)
{
    if (head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return TDbKind::Sqlite;
    // The Jet (".mdb") and ACE (".accdb") engines name themselves after four bytes.
    const QByteArray engine = head.mid(4, 15);
    if (engine == "Standard Jet DB" || engine == "Standard ACE DB")
        return TDbKind::Access;
    return TDbKind::None;
}

void CheckLimits(const TQueryResult& result, const TQueryLimits& limits, const QString& path)
{
    if (result.Fields.size() > limits.MaxFields)
        throw Exception(QStringLiteral("The query on \"%1\" gives more than %2 fields").arg(path).arg(limits.MaxFields));
    if (qsizetype(result.Records.size()) > limits.MaxRecords)
        throw Exception(QStringLiteral("The query on \"%1\" gives more than %2 records").arg(path).arg(limits.MaxRecords));
}

TQueryResult QuerySqlite(const QString& path, const QString& sql, const TQueryLimits& limits)
{
    sqlite3* db = nullptr;
    struct TClose {
        sqlite3*& Db;
        ~TClose() { sqlite3_close_v2(Db); }
    } closeDb{db};
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw Exception(QStringLiteral("The database \"%1\" cannot be opened: %2")
                            .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory")));
    auto fail = [&](const QString& what) {
        throw Exception(QStringLiteral("SQL error in \"%1\": %2").arg(path, what));
    };
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, &tail) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    struct TFinalize {
        sqlite3_stmt*& Stmt;
        ~TFinalize() { sqlite3_finalize(Stmt); }
    } finalize{stmt};
    if (!stmt)
        fail(QStringLiteral("the text holds no statement"));
    if (!QString::fromUtf8(tail).trimmed().isEmpty() && QString::fromUtf8(tail).trimmed() != QLatin1String(";"))
        fail(QStringLiteral("only one statement is run at a time"));
    TQueryResult result;
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i)
        result.Fields << QString::fromUtf8(sqlite3_column_name(stmt, i));
    CheckLimits(result, limits, path);
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(QString::fromUtf8(sqlite3_errmsg(db)));
        QStringList record;
        record.reserve(n);
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL: record << QString(); break;
            case SQLITE_BLOB: {
                const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, i));
                record << QString::fromLatin1(QByteArray(data, sqlite3_column_bytes(stmt, i)).toHex());
                break;
            }
            default: {
                const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                record << QString::fromUtf8(data, sqlite3_column_bytes(stmt, i));
            }
            }
        }
        result.Records.push_back(std::move(record));
        CheckLimits(result, limits, path);
    }
    return result;
}

TQueryResult QueryAccess([[maybe_unused]] const QString& path, [[maybe_unused]] const QString& sql,
                         [[maybe_unused]] const TQueryLimits& limits)
{
#ifdef CONF_HAVE_MDBTOOLS
    MdbSQL* db = mdb_sql_init();
    struct TExit {
        MdbSQL* Db;
        ~TExit() { mdb_sql_exit(Db); }
    } exitDb{db};
    QByteArray name = QFile::encodeName(path);
    if (!mdb_sql_open(db, name.data()))
        throw Exception(QStringLiteral("The Access database \"%1\" cannot be opened").arg(path));
    mdb_sql_run_query(db, sql.toUtf8().constData());
    if (mdb_sql_has_error(db)) {
        const QString error = QString::fromUtf8(mdb_sql_last_error(db));
        mdb_sql_reset(db);
        throw Exception(QStringLiteral("SQL error in \"%1\": %2").arg(path, error));
    }
    TQueryResult result;
    for (unsigned i = 0; i < db->num_columns; ++i)
        result.Fields << QString::fromUtf8(static_cast<MdbSQLColumn*>(g_ptr_array_index(db->columns, i))->name);
    try {
        CheckLimits(result, limits, path);
        while (db->cur_table && mdb_sql_fetch_row(db, db->cur_table)) {
            QStringList record;
            for (unsigned i = 0; i < db->num_columns; ++i)
                record << QString::fromUtf8(static_cast<const char*>(g_ptr_array_index(db->bound_values, i)));
            result.Records.push_back(std::move(record));
            CheckLimits(result, limits, path);
        }
    } catch (...) {
        mdb_sql_reset(db);
        throw;
    }
    mdb_sql_reset(db);
    return result;
#else
    throw Exception(QStringLiteral("\"%1\" is an Access database, and this program was built without the Access "
                                   "reader (mdbtools)")
                        .arg(path));
#endif
}

}  // namespace database_detail

using namespace database_detail;

TQueryResult RunDatabaseQuery(const QString& path, const QString& sql, const TQueryLimits& limits)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The database \"%1\" cannot be opened: %2").arg(path, f.errorString()));
    const QByteArray head = f.read(32);
    f.close();
    switch (KindOf(head)) {
    case TDbKind::Sqlite: return QuerySqlite(path, sql, limits);
    case TDbKind::Access: return QueryAccess(path, sql, limits);
    case TDbKind::None: break;
    }
    throw Exception(QStringLiteral("\"%1\" is neither an SQLite nor an Access database").arg(path));
}

}  // namespace platform
