#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace shell {

// What argument 1 asks for: "--help" and "--version" print a text and end the
// program before any window opens; anything else names a collection file.
enum class CommandLineRequest { Run, Help, Version };
CommandLineRequest commandLineRequest(const QStringList &argumentsAfterProgram);

// The texts printed for --help and --version.
QString helpText(const QString &programName);
QString versionText();

// Reads the command-line arguments after the program name, exactly as the
// process received them (a path may hold spaces or quotes); nothing when the
// command line could not be read. On failure shows the program's error box
// and returns false: the caller must end the program.
bool GetCommandLineArgs(const std::optional<QStringList> &argumentsAfterProgram, QStringList &args,
                        int &count);

} // namespace shell
