#include "shell/application.h"

#include "shell/mainwindow.h"

#include <QApplication>

namespace shell {

int runApplication(int &argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panelkeep"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
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
