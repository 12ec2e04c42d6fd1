#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

// A new, empty collection file in a temporary folder, open as the session's
// dbCollection for the object's lifetime.
class TempCollection
{
public:
    TempCollection();
    ~TempCollection();
    TempCollection(const TempCollection &) = delete;
    TempCollection &operator=(const TempCollection &) = delete;

    QString path() const { return m_path; }

    // Rows written straight through SQL, for setting up a case.
    void addCompany(const QString &id, const QString &name);
    void addTitle(const QString &id, const QString &title, const QString &companyId);

    QVariant scalar(const QString &sql, const QVariantList &params = {});
    int count(const QString &table);

private:
    QTemporaryDir m_dir;
    QString m_path;
};
