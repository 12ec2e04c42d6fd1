#include "platform/filedialog.h"

#include "platform/programfiles.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QStyle>

namespace platform {

namespace {
FileDialogHandler &handler()
{
    static FileDialogHandler h;
    return h;
}

QString withDefaultExtension(const QString &path, const QString &extension)
{
    if (extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}
} // namespace

FileDialogRequest exportFileRequest(const QString &title, const QString &filter, const QString &extension)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.defaultExtension = extension;
    request.acceptLabel = QStringLiteral("&Export");
    request.overwritePrompt = true;
    request.keepCurrentFolder = true;
    return request;
}

QStringList qtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt takes the patterns from the parentheses of the description;
        // make sure they are the ones the pattern half names.
        QString description = parts[i];
        const QString pattern = parts[i + 1];
        if (!description.contains(QLatin1Char('(')))
            description +=
                QStringLiteral(" (%1)").arg(QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')));
        result << description;
    }
    return result;
}

std::optional<QString> chooseFile(const FileDialogRequest &request, QWidget *parent)
{
    std::optional<QString> chosen;
    if (handler()) {
        chosen = handler()(request);
    } else {
        // An installed program's folder is not the user's to write in.
        QFileDialog dialog(parent, request.title, writableFolder(QDir::currentPath()));
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        // A save-mode chooser is the one that accepts a new name; it asks about an
        // existing one only when the caller will replace it (collection files are
        // never replaced), and its button says what the command does.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
        dialog.setFileMode(QFileDialog::AnyFile);
        const QString accept = request.acceptLabel.isEmpty() ? QObject::tr("&Open") : request.acceptLabel;
        dialog.setLabelText(QFileDialog::Accept, accept);
        // Save mode gives the button a disk; an Open chooser shows the open icon.
        if (accept == QObject::tr("&Open"))
            if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
                if (QPushButton *button = buttons->button(QDialogButtonBox::Save)
                                              ? buttons->button(QDialogButtonBox::Save)
                                              : buttons->button(QDialogButtonBox::Open))
                    button->setIcon(dialog.style()->standardIcon(QStyle::SP_DialogOpenButton));
        const QStringList filters = qtNameFilters(request.filter);
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex - 1));
        dialog.setDefaultSuffix(request.defaultExtension);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen)
        return std::nullopt;
    const QString path =
        QFileInfo(withDefaultExtension(*chosen, request.defaultExtension)).absoluteFilePath();
    if (!request.keepCurrentFolder)
        QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

void setFileDialogHandler(FileDialogHandler h)
{
    handler() = std::move(h);
}

} // namespace platform
