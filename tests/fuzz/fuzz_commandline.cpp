// The command-line splitter: the count matches the arguments, none holds a
// double quote, and no argument is longer than the text.
#include "fuzztarget.h"

#include "shell/commandline.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList args;
    const int count = shell::SplitCommandLine(text, args);
    FUZZ_CHECK(count == args.size());
    for (const QString &a : args) {
        FUZZ_CHECK(!a.contains(QLatin1Char('"')));
        FUZZ_CHECK(a.size() <= text.size());
    }
    return 0;
}
