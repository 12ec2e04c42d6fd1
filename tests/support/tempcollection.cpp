#include "support/tempcollection.h"

#include "db/collectionfile.h"
#include "db/session.h"

#include <QTest>

TempCollection::TempCollection()
    : m_path(m_dir.filePath(QStringLiteral("test.pkx")))
{
    db::CreateCollectionDatabase(m_path);
    db::session().closeSlots();
    db::session().dbCollection = db::OpenCollectionFile(m_path);
}

TempCollection::~TempCollection()
{
    db::session().closeSlots();
    db::session().dbCollection.close();
    db::session().dbCollection = platform::Database();
}

void TempCollection::addCompany(const QString &id, const QString &name)
{
    db::dbCollection().execute(QStringLiteral("INSERT INTO Company (Company_ID, Company) VALUES (?, ?)"),
                               platform::ExecuteOption::FailOnError, {id, name});
}

void TempCollection::addTitle(const QString &id, const QString &title, const QString &companyId)
{
    db::dbCollection().execute(
        QStringLiteral("INSERT INTO Title (Title, Title_ID, Company_ID) VALUES (?, ?, ?)"),
        platform::ExecuteOption::FailOnError, {title, id, companyId});
}

QVariant TempCollection::scalar(const QString &sql, const QVariantList &params)
{
    return db::dbCollection().scalar(sql, params);
}

int TempCollection::count(const QString &table)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}
