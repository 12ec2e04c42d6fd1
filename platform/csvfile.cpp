#include "platform/csvfile.h"

#include "platform/database.h"
#include "platform/directorylookup.h"
#include "platform/engineerror.h"
#include "platform/sqliteconnection.h"

#include <QDir>
#include <QFileInfo>
#include <charconv>
#include <cstring>

namespace platform {

namespace {
// Written to the file in pieces of about this size.
constexpr std::size_t Chunk = 1 << 16;
} // namespace

const QList<CsvColumn> &issueCsvColumns()
{
    static const QList<CsvColumn> columns{
        {QStringLiteral("Company"), CsvKind::Text},
        {QStringLiteral("Title"), CsvKind::Text},
        {QStringLiteral("Issue"), CsvKind::Number},
        {QStringLiteral("Condition"), CsvKind::Text},
        {QStringLiteral("Quantity"), CsvKind::Number},
        {QStringLiteral("Original Price"), CsvKind::Amount},
        {QStringLiteral("Current Value"), CsvKind::Amount},
        {QStringLiteral("Notes"), CsvKind::Text},
    };
    return columns;
}

CsvFile::CsvFile(const QString &path, const QList<CsvColumn> &columns, const QString &source)
    : m_path(path)
    , m_file(path)
{
    // Replacing the collection being read would lose it.
    if (sameFile(path, source))
        throw EngineError(
            errnum::Generic,
            QStringLiteral("'%1' is the collection file itself; choose another name for the export.")
                .arg(QDir::toNativeSeparators(path)));
    if (!m_file.open(QIODevice::WriteOnly))
        fail(m_file.errorString());
    m_buffer.reserve(Chunk + 4096);
    m_buffer += "\xEF\xBB\xBF";
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (c)
            m_buffer += ',';
        const QByteArray header = columns.at(c).header.toUtf8();
        text(header.constData(), std::size_t(header.size()));
        m_kinds << columns.at(c).kind;
    }
    m_buffer += "\r\n";
}

// An export that did not reach commit() is dropped with its temporary file.
CsvFile::~CsvFile() = default;

void CsvFile::fail(const QString &why)
{
    m_file.cancelWriting();
    throw EngineError(
        errnum::Generic,
        QStringLiteral("The file '%1' could not be written: %2.").arg(QDir::toNativeSeparators(m_path), why));
}

void CsvFile::text(const char *utf8, std::size_t bytes)
{
    m_buffer += '"';
    while (bytes) {
        const char *quote = static_cast<const char *>(std::memchr(utf8, '"', bytes));
        const std::size_t run = quote ? std::size_t(quote - utf8) + 1 : bytes;
        m_buffer.append(utf8, run);
        if (quote)
            m_buffer += '"';
        utf8 += run;
        bytes -= run;
    }
    m_buffer += '"';
}

const QList<CsvColumn> &missingCsvColumns()
{
    static const QList<CsvColumn> columns{
        {QStringLiteral("Company"), CsvKind::Text},        {QStringLiteral("Title"), CsvKind::Text},
        {QStringLiteral("Held"), CsvKind::Number},         {QStringLiteral("Missing"), CsvKind::Number},
        {QStringLiteral("Missing Issues"), CsvKind::Text},
    };
    return columns;
}

void CsvFile::writeRow(const QVariantList &values)
{
    for (qsizetype c = 0; c < m_kinds.size(); ++c) {
        if (c)
            m_buffer += ',';
        const QVariant v = values.value(c);
        if (v.isNull())
            continue;
        switch (m_kinds.at(c)) {
        case CsvKind::Text: {
            const QByteArray utf8 = v.toString().toUtf8();
            text(utf8.constData(), std::size_t(utf8.size()));
            break;
        }
        case CsvKind::Number: whole(v.toLongLong()); break;
        case CsvKind::Amount: amount(v.value<Currency>().scaled()); break;
        }
    }
    endRow();
}

void CsvFile::writeRow(sqlite3_stmt *stmt, int first)
{
    for (qsizetype c = 0; c < m_kinds.size(); ++c) {
        const int col = first + int(c);
        if (c)
            m_buffer += ',';
        if (sqlite3_column_type(stmt, col) == SQLITE_NULL)
            continue;
        switch (m_kinds.at(c)) {
        case CsvKind::Text:
            text(reinterpret_cast<const char *>(sqlite3_column_text(stmt, col)),
                 std::size_t(sqlite3_column_bytes(stmt, col)));
            break;
        case CsvKind::Number: whole(sqlite3_column_int64(stmt, col)); break;
        case CsvKind::Amount: amount(sqlite3_column_int64(stmt, col)); break;
        }
    }
    endRow();
}

void CsvFile::whole(std::int64_t value)
{
    char digits[24];
    m_buffer.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void CsvFile::amount(std::int64_t scaled)
{
    char digits[PlainDecimalSize];
    m_buffer.append(digits, std::size_t(plainDecimal(scaled, digits)));
}

void CsvFile::endRow()
{
    m_buffer += "\r\n";
    ++m_rows;
    flushIfFull();
}

void CsvFile::flushIfFull()
{
    if (m_buffer.size() < Chunk)
        return;
    if (m_file.write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size()))
        fail(m_file.errorString());
    m_buffer.clear();
}

void CsvFile::commit()
{
    if (!m_buffer.empty() &&
        m_file.write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size()))
        fail(m_file.errorString());
    m_buffer.clear();
    if (!m_file.commit())
        fail(m_file.errorString());
}

FileDialogRequest csvExportRequest(const QString &collection)
{
    FileDialogRequest request = exportFileRequest(
        QStringLiteral("Export CSV"), QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"),
        QStringLiteral("csv"));
    const QFileInfo info(collection);
    request.fileName = info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".csv"));
    return request;
}

QString exportedText(int rows, const QString &path, const QString &noun)
{
    return QStringLiteral("Exported %1 %2%3 to %4")
        .arg(rows)
        .arg(noun, rows == 1 ? QString() : QStringLiteral("s"), QDir::toNativeSeparators(path));
}

int exportCsv(Database &db, const QString &sql, const QVariantList &params, const QList<CsvColumn> &columns,
              const QString &path)
{
    const std::shared_ptr<detail::Connection> conn = db.connection();
    if (!conn || !conn->isOpen())
        throw EngineError(errnum::ObjectClosed, QStringLiteral("No collection is open."));
    detail::Statement stmt = conn->prepare(sql);
    detail::bindAll(stmt.get(), params);
    CsvFile file(path, columns, conn->path());
    while (stmt.step())
        file.writeRow(stmt.get());
    file.commit();
    return file.rows();
}

} // namespace platform
