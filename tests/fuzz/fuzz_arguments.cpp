// The command line: the arguments reach start-up exactly as the process got
// them (NUL separates them in the input), and only an exact "--help" or
// "--version" in the first place asks for a text instead of a window.
#include "fuzztarget.h"

#include "shell/commandline.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList given =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QChar(0));
    QStringList args;
    int count = -1;
    FUZZ_CHECK(shell::GetCommandLineArgs(given, args, count));
    FUZZ_CHECK(args == given && count == given.size());
    const shell::CommandLineRequest request = shell::commandLineRequest(given);
    const QString first = given.value(0);
    FUZZ_CHECK((request == shell::CommandLineRequest::Help) == (first == QLatin1String("--help")));
    FUZZ_CHECK((request == shell::CommandLineRequest::Version) == (first == QLatin1String("--version")));
    return 0;
}
