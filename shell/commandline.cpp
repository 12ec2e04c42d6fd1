#include "shell/commandline.h"

#include "shell/programinfo.h"

#include "platform/messagebox.h"

namespace shell {

CommandLineRequest commandLineRequest(const QStringList &argumentsAfterProgram)
{
    const QString first = argumentsAfterProgram.value(0);
    if (first == QLatin1String("--help"))
        return CommandLineRequest::Help;
    if (first == QLatin1String("--version"))
        return CommandLineRequest::Version;
    return CommandLineRequest::Run;
}

QString helpText(const QString &programName)
{
    return QStringLiteral("Usage: %1 [FILE]\n"
                          "Catalogue a comic-book collection.\n"
                          "\n"
                          "FILE is a collection file (.pkx) to open; without one, the default\n"
                          "collection opens when \"Use Default Database on Startup\" is on.\n"
                          "Further arguments are ignored. To open a file named like an option,\n"
                          "write its path, for example ./--help.\n"
                          "\n"
                          "  --help     print this help and exit\n"
                          "  --version  print the version and licence and exit\n")
        .arg(programName);
}

QString versionText()
{
    return QStringLiteral("Panelkeep %1\nLicence: %2\n").arg(ProgramVersion, LicenceName);
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
    // The process hands over its arguments already split; joining them into
    // one text and splitting again would break a path holding a quote.
    args = *argumentsAfterProgram;
    count = int(args.size());
    return true;
}

} // namespace shell
