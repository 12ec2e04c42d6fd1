// The open checks on mutated files: the input is laid over the start of a
// small collection (the header and schema page); whatever comes of it, the
// open either refuses, leaving the file byte-identical with no side file, or
// opens a collection whose damage check answers.
#include "fuzztarget.h"

#include "db/collectionfile.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QByteArray collection = [] {
        const QString path = dir.filePath(QStringLiteral("base.pkx"));
        db::CreateCollectionDatabase(path);
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QByteArray bytes = collection;
    bytes.replace(0, qsizetype(qMin<size_t>(size, size_t(bytes.size()))),
                  QByteArray(reinterpret_cast<const char *>(data),
                             qsizetype(qMin<size_t>(size, size_t(bytes.size())))));
    if (size > size_t(collection.size()))
        bytes.truncate(qsizetype(size % size_t(collection.size())) + 1);
    const QString path = dir.filePath(QStringLiteral("mutated.pkx"));
    QFile::remove(path);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    try {
        platform::Database db = db::OpenCollectionFile(path);
        db::FindCollectionDamage(db);
        db.close();
    } catch (const platform::EngineError &) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        FUZZ_CHECK(f.readAll() == bytes);
        FUZZ_CHECK(QDir(dir.path()).entryList({QStringLiteral("mutated.pkx*")}, QDir::Files).size() == 1);
    }
    return 0;
}
