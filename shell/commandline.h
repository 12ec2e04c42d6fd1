#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace shell {

// The program receives its arguments already split; the command-line text is
// rebuilt from them as a shell on the other side would have typed it: joined
// by spaces, an argument with a space (or an empty one) in double quotes.
QString commandLineText(const QStringList &argumentsAfterProgram);

// Splits a command-line text: spaces outside quotes separate arguments (a tab
// is an ordinary character); a double quote opens a quoted argument that runs
// to the next double quote or the end of the text, the quotes not being part
// of it. Appends each argument to args (args[0] is argument 1) and returns the
// count.
int SplitCommandLine(const QString &commandLine, QStringList &args);

// Reads the command-line arguments after the program name; nothing when the
// command line could not be read. On failure shows the program's error box and
// returns false: the caller must end the program.
bool GetCommandLineArgs(const std::optional<QStringList> &argumentsAfterProgram, QStringList &args,
                        int &count);

} // namespace shell
