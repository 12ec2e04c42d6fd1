#include "db/collectionfile.h"

#include "db/schema.h"
#include "platform/directorylookup.h"
#include "platform/databaseheader.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/recordset.h"
#include "platform/workspace.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

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

// Judges the file by its header alone, read with plain file reads: a file that
// is refused here never reaches the engine, which would otherwise roll back a
// journal or fold in a log left beside someone else's database. Returns
// whether the file may only be read.
bool checkHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(
            errnum::Generic,
            QStringLiteral("The file '%1' could not be read: %2").arg(path, file.errorString()));
    const qint64 size = file.size();
    const platform::HeaderRead read = platform::parseDatabaseHeader(file.read(100));
    file.close();
    const platform::DatabaseHeader &h = read.header;
    switch (read.status) {
    case platform::HeaderStatus::Empty: notACollection(path, QStringLiteral("it is empty"));
    case platform::HeaderStatus::NotADatabase: notACollection(path, QStringLiteral("it is not a database"));
    case platform::HeaderStatus::TooShort:
        notACollection(path, QStringLiteral("it is damaged: the file is incomplete"));
    case platform::HeaderStatus::BadPageSize:
        notACollection(path, QStringLiteral("it is damaged: its page size is impossible"));
    case platform::HeaderStatus::Ok: break;
    }
    if (h.applicationId != CollectionApplicationId)
        notACollection(path, QStringLiteral("it is a database of another program"));
    if (h.userVersion != CollectionSchemaVersion)
        notACollection(path, QStringLiteral("it was made by another version of the program"));
    if (h.readVersion > 2)
        notACollection(path, QStringLiteral("it needs a newer version of the program to be read"));
    if (h.readVersion < 1 || h.writeVersion < 1 || h.maxEmbeddedFraction != 64 ||
        h.minEmbeddedFraction != 32 || h.leafFraction != 32 || h.textEncoding != 1)
        notACollection(path, QStringLiteral("it is damaged: its header is not valid"));
    // Pages pending in a journal or log may legitimately change the size.
    if (!platform::hasPendingSideFile(path)) {
        if (size % h.pageSize != 0)
            notACollection(path, QStringLiteral("it is damaged: the file is not whole pages"));
        if (h.pageCountValid() && size < qint64(h.pageCount) * h.pageSize)
            notACollection(path, QStringLiteral("it is damaged: the file is incomplete"));
    }
    // A newer writer may keep things in the file that this program would
    // break by writing; reading it is still safe.
    if (h.writeVersion > 2)
        return true;
    const QFileInfo info(path);
    return !info.isWritable() || !QFileInfo(info.absolutePath()).isWritable();
}

// Only exactly the objects the program creates: a trigger, view or extra
// index would run or change behaviour behind the program's back.
void checkSchema(Database &db, const QString &path)
{
    QHash<QString, QString> expected; // "type name" -> normalised definition
    for (const schema::Table &table : schema::tables()) {
        expected.insert(QStringLiteral("table ") + table.name, schema::normalisedSql(table.createSql));
        expected.insert(QStringLiteral("index sqlite_autoindex_%1_1").arg(table.name), QString());
    }
    auto rs = db.openRecordset(QStringLiteral("SELECT type, name, sql FROM sqlite_schema"),
                               platform::RecordsetType::Snapshot);
    QSet<QString> seen;
    for (; !rs->eof(); rs->moveNext()) {
        const QString type = rs->value(QStringLiteral("type")).toString();
        const QString name = rs->value(QStringLiteral("name")).toString();
        const QString key = type + QLatin1Char(' ') + name;
        // The engine's own statistics tables (ANALYZE in another client)
        // hold no rows of the collection and change nothing.
        if (type == QLatin1String("table") &&
            (name == QLatin1String("sqlite_stat1") || name == QLatin1String("sqlite_stat4")))
            continue;
        const auto it = expected.constFind(key);
        if (it == expected.constEnd()) {
            if (type == QLatin1String("table"))
                notACollection(path, QStringLiteral("it holds a table '%1' of another program").arg(name));
            notACollection(path, QStringLiteral("it holds a %1 '%2' of another program").arg(type, name));
        }
        if (schema::normalisedSql(rs->value(QStringLiteral("sql")).toString()) != *it)
            notACollection(path, QStringLiteral("the %1 '%2' is different").arg(type, name));
        seen.insert(key);
    }
    for (const schema::Table &table : schema::tables()) {
        if (!seen.contains(QStringLiteral("table ") + table.name))
            notACollection(path, QStringLiteral("the table '%1' is missing").arg(table.name));
        if (!seen.contains(QStringLiteral("index sqlite_autoindex_%1_1").arg(table.name)))
            notACollection(path, QStringLiteral("the key of the table '%1' is missing").arg(table.name));
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
    const QFileInfo info(path);
    if (!info.exists()) {
        if (info.isSymLink())
            notACollection(path, QStringLiteral("it is a link that leads to no file"));
        throw EngineError(errnum::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    }
    // Checked before reading: a named pipe would block the read for ever.
    if (!info.isFile())
        notACollection(path, QStringLiteral("it is not a file"));
    const bool readOnly = checkHeader(path);
    {
        // The engine replays a journal or log on open, and a file in log mode
        // gets side files the moment it is opened; so the schema is judged
        // first as the file lies, and a file that is not ours is refused
        // before anything is replayed into it or made beside it.
        Database asItLies = Database::openAsItLies(path);
        try {
            checkSchema(asItLies, path);
        } catch (...) {
            asItLies.close();
            throw;
        }
        asItLies.close();
    }
    Database db = platform::Workspace::defaultWorkspace().openDatabase(path, readOnly);
    try {
        checkSchema(db, path);
        if (!readOnly)
            db.useDurableJournal();
    } catch (...) {
        db.close();
        throw;
    }
    return db;
}

QString FindCollectionDamage(Database &db)
{
    try {
        const QString check = db.scalar(QStringLiteral("PRAGMA quick_check(1)")).toString();
        if (check != QLatin1String("ok"))
            return QStringLiteral("it is damaged (%1)").arg(check);
        const QVariant orphan =
            db.scalar(QStringLiteral("SELECT \"table\" FROM pragma_foreign_key_check LIMIT 1"));
        if (!orphan.isNull())
            return QStringLiteral("the table '%1' holds rows without their related rows")
                .arg(orphan.toString());
    } catch (const EngineError &e) {
        return e.text();
    }
    return {};
}

} // namespace db
