#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace shell {

// What start-up takes from the process. The program fills it from the real
// process (fromApplication); tests give their own folders and command lines.
struct StartupOptions
{
    // The program's own directory; made the current directory at start-up.
    QString appDir;
    // Where the default collection "COMICS.PKX" lives; appDir when empty.
    QString collectionDir;
    // The directory the program was started from: a relative command-line path
    // means a file there, not in appDir.
    QString startDir;
    // The arguments after the program name; nothing when they could not be read.
    std::optional<QStringList> arguments = QStringList();
    // Ends the program at once (shut-down, or a command line that cannot be read).
    std::function<void()> endProgram;

    static StartupOptions fromApplication();
    // The folders of a program whose binary lies in binaryDir (build tree or
    // installed); the command line stays empty.
    static StartupOptions forProgramIn(const QString &binaryDir);
};

// fileName in dir, with exactly one separator between them.
QString fileInDir(const QString &dir, const QString &fileName);

// Reads a stored "True"/"False" (any letter case) or a number (0 is False);
// nothing for any other text.
std::optional<bool> settingToBool(const QString &text);

} // namespace shell
