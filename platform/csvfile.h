#pragma once

#include "platform/currency.h"
#include "platform/filedialog.h"

#include <QList>
#include <QSaveFile>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <string>

struct sqlite3_stmt;

// Rows for a spreadsheet: comma-separated values as RFC 4180 writes them
// (CRLF after every row, a text field in double quotes with its quotes
// doubled), UTF-8 with a byte-order mark so spreadsheets that guess the
// encoding read accents right. Numbers and amounts are written bare, with
// "." before the decimals and no grouping or currency symbol, so every
// spreadsheet reads them as numbers whatever its language.
namespace platform {

class Database;

enum class CsvKind { Text, Number, Amount };

struct CsvColumn
{
    QString header;
    CsvKind kind;
};

// The columns of an issue export, in order: company, title, issue number,
// condition name, quantity, original price, current value, notes.
const QList<CsvColumn> &issueCsvColumns();

// The columns of the missing-issues export: company, title, the numbers held
// and missing, and the missing numbers as the report writes them
// ("4-7, 12, 15-20").
const QList<CsvColumn> &missingCsvColumns();

// One CSV file being written. It is written beside the target and takes its
// place only on commit(), so a failed or abandoned export leaves any earlier
// file as it was. Failures throw EngineError naming the file.
class CsvFile
{
public:
    // `source` is the file the rows are read from: never written over.
    CsvFile(const QString &path, const QList<CsvColumn> &columns, const QString &source);
    ~CsvFile();
    CsvFile(const CsvFile &) = delete;
    CsvFile &operator=(const CsvFile &) = delete;

    // The current result row of a statement as one row of the file, its
    // columns from `first` on in the order and kinds of the file's columns.
    // An SQL NULL is an empty field.
    void writeRow(sqlite3_stmt *stmt, int first = 0);
    // A row of values: a text for each Text column, a whole number for each
    // Number column; a null value is an empty field.
    void writeRow(const QVariantList &values);
    int rows() const { return m_rows; }
    void commit();

private:
    void text(const char *utf8, std::size_t bytes);
    void whole(std::int64_t value);
    void amount(std::int64_t scaled);
    void endRow();
    void flushIfFull();
    [[noreturn]] void fail(const QString &why);

    QString m_path;
    QSaveFile m_file;
    QList<CsvKind> m_kinds;
    std::string m_buffer;
    int m_rows = 0;
};

// The file chooser of a CSV export: asks before replacing a file, leaves the
// current folder alone, and proposes the collection's name ending in ".csv",
// in the collection's folder.
FileDialogRequest csvExportRequest(const QString &collection);

// The status line after an export, e.g. "Exported 3 issues to /home/me/comics.csv";
// `noun` names one row ("issue", or "title" for a want list).
QString exportedText(int rows, const QString &path, const QString &noun = QStringLiteral("issue"));

// Runs a read query (bound values for its "?") on the database and writes
// every row of its result as a CSV file at path. Returns the rows written.
int exportCsv(Database &db, const QString &sql, const QVariantList &params, const QList<CsvColumn> &columns,
              const QString &path);

} // namespace platform
