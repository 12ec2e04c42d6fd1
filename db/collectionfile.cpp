#include "db/collectionfile.h"

#include "db/schema.h"
#include "platform/directorylookup.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/recordset.h"
#include "platform/workspace.h"

#include <QFile>
#include <QFileInfo>

namespace db {

using platform::Database;
using platform::EngineError;
namespace errnum = platform::errnum;

namespace {

void buildSchema(Database &db)
{
    db.execute(QStringLiteral("PRAGMA application_id = %1").arg(CollectionApplicationId));
    db.execute(QStringLiteral("PRAGMA user_version = %1").arg(CollectionSchemaVersion));
    for (const schema::Table &table : schema::tables()) {
        platform::showStatus(table.creationStage);
        db.execute(table.createSql);
    }

    // The relationships are declared with their tables; this stage checks
    // that all four are in place before any row is written.
    platform::showStatus(QStringLiteral("Establishing Data Relationships"));
    for (const schema::Relationship &r : schema::relationships()) {
        const QVariant found = db.scalar(
            QStringLiteral(
                "SELECT count(*) FROM pragma_foreign_key_list(?) WHERE \"table\" = ? AND \"from\" = ? "
                "AND \"to\" = ?"),
            {r.foreignTable, r.primaryTable, r.foreignColumn, r.primaryColumn});
        if (found.toInt() != 1)
            throw EngineError(errnum::Generic,
                              QStringLiteral("The relationship '%1' could not be created.").arg(r.name));
    }

    platform::showStatus(QStringLiteral("Initializing the Condition Information"));
    auto rs = db.openRecordset(QStringLiteral("Condition"), platform::RecordsetType::Table);
    for (const schema::ConditionRow &row : schema::conditionRows()) {
        rs->addNew();
        rs->setValue(QStringLiteral("Condition_ID"), row.id);
        rs->setValue(QStringLiteral("Condition"), row.name);
        rs->update();
    }
    rs->close();
}

[[noreturn]] void notACollection(const QString &path, const QString &why)
{
    throw EngineError(errnum::NotACollection,
                      QStringLiteral("The file '%1' is not a collection file (%2).").arg(path, why));
}

// Looks at the first bytes without the engine, so a file that is not a
// database at all is refused before anything opens it for writing.
void checkHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(
            errnum::Generic,
            QStringLiteral("The file '%1' could not be read: %2").arg(path, file.errorString()));
    if (file.size() == 0)
        notACollection(path, QStringLiteral("it is empty"));
    static const QByteArray magic("SQLite format 3\0", 16);
    if (file.size() < 100 || file.read(16) != magic)
        notACollection(path, QStringLiteral("it is not a database"));
}

void verify(Database &db, const QString &path)
{
    if (db.scalar(QStringLiteral("PRAGMA application_id")).toInt() != CollectionApplicationId)
        notACollection(path, QStringLiteral("it is a database of another program"));
    if (db.scalar(QStringLiteral("PRAGMA user_version")).toInt() != CollectionSchemaVersion)
        notACollection(path, QStringLiteral("it was made by another version of the program"));
    const qint64 expected = db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong() *
                            db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    if (QFileInfo(path).size() < expected)
        notACollection(path, QStringLiteral("it is damaged: the file is incomplete"));
    const QVariant check = db.scalar(QStringLiteral("PRAGMA quick_check(1)"));
    if (check.toString() != QLatin1String("ok"))
        notACollection(path, QStringLiteral("it is damaged"));
    for (const schema::Table &table : schema::tables()) {
        QStringList columns;
        auto rs = db.openRecordset(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"),
                                   platform::RecordsetType::Snapshot, {table.name});
        for (; !rs->eof(); rs->moveNext())
            columns << rs->value(QStringLiteral("name")).toString();
        if (columns != table.columns)
            notACollection(path, QStringLiteral("the table '%1' is missing or different").arg(table.name));
    }
}

} // namespace

void CreateCollectionDatabase(const QString &path, const std::function<void(const QString &)> &opened)
{
    // A name that differs from an existing file's in letter case only would
    // be a second collection the user cannot tell from the first (the recent
    // list and the default lookup ignore case), so it counts as taken.
    const QString listed = platform::listedPath(path);
    if (!listed.isEmpty() && listed != path)
        throw EngineError(errnum::DatabaseExists,
                          QStringLiteral("Database '%1' already exists.").arg(listed));
    // Refuses an existing path before touching it; from here on the file is
    // ours, so a failure removes it rather than leave an unusable file.
    Database db = platform::Workspace::defaultWorkspace().createDatabase(path);
    try {
        platform::Transaction transaction(db);
        buildSchema(db);
        transaction.commit();
    } catch (...) {
        db.close();
        QFile::remove(path);
        throw;
    }
    db.close();
    if (opened)
        opened(path);
}

Database OpenCollectionFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw EngineError(errnum::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (!QFileInfo(path).isFile())
        notACollection(path, QStringLiteral("it is not a file"));
    checkHeader(path);
    Database db = platform::Workspace::defaultWorkspace().openDatabase(path);
    try {
        verify(db, path);
        db.useDurableJournal();
    } catch (...) {
        db.close();
        throw;
    }
    return db;
}

} // namespace db
