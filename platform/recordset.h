#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <memory>

namespace platform {

namespace detail {
class Connection;
class RecordsetImpl;
} // namespace detail

enum class RecordsetType {
    Table,    // a whole table opened by name, updatable
    Dynaset,  // the rows of a query, updatable when it reads one table; shows rows it added
    Snapshot, // a read-only copy of the rows of a query
};

enum class RecordsetOption { None, ReadOnly };

// One condition of a find: column equals value. Text compares without regard
// to letter case. Several criteria must all hold.
struct Criterion
{
    QString column;
    QVariant value;
};
using Criteria = QList<Criterion>;

// Opaque position of a row; valid for the recordset that gave it.
struct Bookmark
{
    std::int64_t key = -1;
    bool operator==(const Bookmark &) const = default;
};

// A cursor over rows with a current position. Field values are QVariant:
// a null value is a null QVariant, text is QString, Integer columns give int,
// Currency columns give platform::Currency. setValue() of a QString into an
// Integer or Currency column converts it (platform/conversion.h).
// Every failure raises EngineError.
class Recordset
{
public:
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    void moveFirst(); // raises NoCurrentRecord on an empty recordset
    void moveNext();
    void movePrevious();
    void moveLast();
    bool eof() const;
    bool bof() const;
    int recordCount() const;
    int absolutePosition() const; // 0-based; -1 with no current row

    void findFirst(const Criteria &criteria);
    void findNext(const Criteria &criteria);
    bool noMatch() const;

    Bookmark bookmark() const;
    void setBookmark(const Bookmark &bookmark);

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRow(); // leaves no current row until the next move

    QVariant value(const QString &field) const;
    // By position, for reading many rows: index from fieldIndex(). The
    // value is not copied; the reference holds until the recordset moves,
    // changes or closes.
    int fieldIndex(const QString &field) const;
    const QVariant &value(int index) const;
    bool isNull(const QString &field) const;
    void setValue(const QString &field, const QVariant &value);
    QStringList fieldNames() const;

    bool isUpdatable() const;
    void close();
    bool isOpen() const;

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<detail::RecordsetImpl> impl);
    std::unique_ptr<detail::RecordsetImpl> d;
};

} // namespace platform
