#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The tables of a collection file, in the order they are built.
namespace db::schema {

struct Table
{
    QString name;
    QStringList columns;   // in order
    QString createSql;     // the CREATE TABLE statement
    QString creationStage; // status text shown while it is built
};

struct Relationship
{
    QString name;
    QString primaryTable;
    QString foreignTable;
    QString primaryColumn;
    QString foreignColumn;
};

struct ConditionRow
{
    int id;
    QString name;
};

const QList<Table> &tables();
// A stored definition with layout and keyword case made uniform (quoted
// names and texts kept as written), for comparing with tables().
QString normalisedSql(const QString &sql);
const QList<Relationship> &relationships();
const QList<ConditionRow> &conditionRows();

} // namespace db::schema
