#include "shell/commandline.h"

#include "platform/messagebox.h"

namespace shell {

QString commandLineText(const QStringList &argumentsAfterProgram)
{
    QStringList parts;
    for (const QString &arg : argumentsAfterProgram) {
        // An empty argument is quoted too, so the ones after it keep their places.
        if (arg.isEmpty() || arg.contains(QLatin1Char(' ')))
            parts << QLatin1Char('"') + arg + QLatin1Char('"');
        else
            parts << arg;
    }
    return parts.join(QLatin1Char(' '));
}

int SplitCommandLine(const QString &commandLine, QStringList &args)
{
    const QChar quote(34);
    const QChar space(32);
    qsizetype i = 0;
    const qsizetype n = commandLine.size();
    while (i < n) {
        const QChar c = commandLine.at(i);
        if (c == space) {
            ++i;
        } else if (c == quote) {
            const qsizetype close = commandLine.indexOf(quote, i + 1);
            const qsizetype end = close < 0 ? n : close;
            args << commandLine.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            qsizetype end = i;
            while (end < n && commandLine.at(end) != space && commandLine.at(end) != quote)
                ++end;
            args << commandLine.mid(i, end - i);
            i = end;
        }
    }
    return int(args.size());
}

bool GetCommandLineArgs(const std::optional<QStringList> &argumentsAfterProgram, QStringList &args,
                        int &count)
{
    if (!argumentsAfterProgram) {
        platform::showMessage(
            QStringLiteral(
                "Error Retrieving Command Line Arguments, Application Terminating, Contact Support"),
            QString(), platform::MsgButtons::OK, platform::MsgIcon::None);
        return false;
    }
    args.clear();
    count = 0;
    const QString text = commandLineText(*argumentsAfterProgram);
    if (!text.isEmpty())
        count = SplitCommandLine(text, args);
    return true;
}

} // namespace shell
