#include "platform/databaseheader.h"

#include <QByteArray>
#include <QFileInfo>
#include <QtEndian>

namespace platform {

namespace {
quint32 be32(const QByteArray &b, int offset)
{
    return qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(b.constData()) + offset);
}
} // namespace

HeaderRead parseDatabaseHeader(const QByteArray &bytes)
{
    HeaderRead read;
    if (bytes.isEmpty()) {
        read.status = HeaderStatus::Empty;
        return read;
    }
    static const QByteArray magic("SQLite format 3\0", 16);
    if (!bytes.startsWith(magic)) {
        read.status = HeaderStatus::NotADatabase;
        return read;
    }
    if (bytes.size() < 100) {
        read.status = HeaderStatus::TooShort;
        return read;
    }
    DatabaseHeader &h = read.header;
    const quint32 rawPageSize =
        qFromBigEndian<quint16>(reinterpret_cast<const uchar *>(bytes.constData()) + 16);
    h.pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    h.writeVersion = quint8(bytes.at(18));
    h.readVersion = quint8(bytes.at(19));
    h.reservedBytes = quint8(bytes.at(20));
    h.maxEmbeddedFraction = quint8(bytes.at(21));
    h.minEmbeddedFraction = quint8(bytes.at(22));
    h.leafFraction = quint8(bytes.at(23));
    h.changeCounter = be32(bytes, 24);
    h.pageCount = be32(bytes, 28);
    h.userVersion = qint32(be32(bytes, 60));
    h.textEncoding = be32(bytes, 56);
    h.applicationId = qint32(be32(bytes, 68));
    h.versionValidFor = be32(bytes, 92);
    const bool powerOfTwo = (h.pageSize & (h.pageSize - 1)) == 0;
    read.status =
        h.pageSize >= 512 && h.pageSize <= 65536 && powerOfTwo ? HeaderStatus::Ok : HeaderStatus::BadPageSize;
    return read;
}

bool hasPendingSideFile(const QString &path)
{
    // An empty journal or log is not replayed; any content might be.
    for (const char *suffix : {"-journal", "-wal"}) {
        const QFileInfo side(path + QLatin1String(suffix));
        if (side.exists() && side.size() > 0)
            return true;
    }
    return false;
}

} // namespace platform
