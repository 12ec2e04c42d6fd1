// fuzz_NAME CORPUS_DIR MILLISECONDS: replays every seed, then runs mutated
// seeds (bit flips, byte changes, cuts, splices) until the time is up, with a
// fixed seed so a failure repeats. Prints the executions made.

#include "fuzztarget.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR MILLISECONDS\n", argv[0]);
        return 2;
    }
    QList<QByteArray> seeds;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            seeds << f.readAll();
    }
    if (seeds.isEmpty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 2;
    }
    long long runs = 0;
    for (const QByteArray &s : seeds) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(s.constData()), size_t(s.size()));
        ++runs;
    }
    QRandomGenerator rng(20261209);
    const qint64 budget = QByteArray(argv[2]).toLongLong();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < budget) {
        QByteArray b = seeds.at(int(rng.bounded(qsizetype(seeds.size()))));
        for (int m = 0, n = 1 + int(rng.bounded(4)); m < n; ++m) {
            const int pos = b.isEmpty() ? 0 : int(rng.bounded(qsizetype(b.size())));
            switch (rng.bounded(5)) {
            case 0:
                if (!b.isEmpty())
                    b[pos] = char(b[pos] ^ (1 << rng.bounded(8)));
                break;
            case 1:
                if (!b.isEmpty())
                    b[pos] = char(rng.bounded(256));
                break;
            case 2: b.insert(pos, char(rng.bounded(256))); break;
            case 3: b.truncate(pos); break;
            default: b.append(seeds.at(int(rng.bounded(qsizetype(seeds.size())))).left(16)); break;
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size()));
        ++runs;
    }
    std::printf("%s: %lld executions (%lld seeds), 0 findings\n", argv[0], runs, qlonglong(seeds.size()));
    return 0;
}
