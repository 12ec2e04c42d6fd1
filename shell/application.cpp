#include "shell/application.h"

#include "platform/feedback.h"
#include "shell/commandline.h"
#include "shell/mainwindow.h"
#include "shell/programinfo.h"
#include "shell/toolbarimages.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace shell {

int runApplication(int &argc, char **argv)
{
    // --help and --version are answered before the toolkit starts, so they
    // work without a display and never open a window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    switch (commandLineRequest(arguments)) {
    case CommandLineRequest::Help:
        std::fputs(qPrintable(helpText(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName())), stdout);
        return 0;
    case CommandLineRequest::Version: std::fputs(qPrintable(versionText()), stdout); return 0;
    case CommandLineRequest::Run: break;
    }

    platform::prepareDisplay();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panelkeep"));
    QApplication::setApplicationVersion(ProgramVersion);
    // Ties the windows to the installed desktop entry (its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("panelkeep"));
    QApplication::setWindowIcon(applicationIcon());
    // Ending happens through Exit or closing the main window, which saves the
    // settings first; a help window left open must not keep the program alive
    // nor end it early.
    QApplication::setQuitOnLastWindowClosed(false);

    frmMainMenu window;
    if (!window.Form_Load())
        return 1;
    window.show();
    return QApplication::exec();
}

} // namespace shell
