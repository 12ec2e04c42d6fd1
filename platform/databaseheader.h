#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// The fixed 100-byte header at the start of every database file of the
// engine, read with plain file reads so a file can be judged before the
// engine opens it (the engine may roll back a journal or fold in a
// write-ahead log beside the file the moment it opens it).
struct DatabaseHeader
{
    quint32 pageSize = 0; // 512..65536, a power of two
    quint8 writeVersion = 0;
    quint8 readVersion = 0;
    quint8 reservedBytes = 0;
    quint8 maxEmbeddedFraction = 0;
    quint8 minEmbeddedFraction = 0;
    quint8 leafFraction = 0;
    quint32 changeCounter = 0;
    quint32 pageCount = 0;
    quint32 textEncoding = 0;
    qint32 userVersion = 0;
    qint32 applicationId = 0;
    quint32 versionValidFor = 0;

    // The page count is only trustworthy when the writer kept it up to date.
    bool pageCountValid() const { return pageCount != 0 && versionValidFor == changeCounter; }
};

// What reading the header found.
enum class HeaderStatus { Ok, Empty, TooShort, NotADatabase, BadPageSize };

struct HeaderRead
{
    HeaderStatus status = HeaderStatus::NotADatabase;
    DatabaseHeader header;
};

// Parses the first bytes of a file (at least 100 for a header).
HeaderRead parseDatabaseHeader(const QByteArray &bytes);

// Whether the engine would treat a side file as pending work on the
// database at path: a journal to roll back or a write-ahead log to replay.
bool hasPendingSideFile(const QString &path);

} // namespace platform
