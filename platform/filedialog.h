#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

struct FileDialogRequest
{
    QString title;
    // Filter text in "Description|pattern|Description|pattern" form.
    QString filter;
    int filterIndex = 1;          // 1-based, as in the filter text
    QString defaultExtension;     // added to a name typed without an extension
    QString acceptLabel;          // the accept button's caption, "&Open" when empty
    bool overwritePrompt = false; // ask before taking an existing file (exports do)
    QString fileName{};           // the name proposed; a full path opens the chooser in its folder
    // Saving a copy elsewhere must not move the folder the collection names
    // are shown against: exports leave the current directory alone.
    bool keepCurrentFolder = false;
};

// The chooser of an export: asks before replacing a file and leaves the
// current folder alone.
FileDialogRequest exportFileRequest(const QString &title, const QString &filter, const QString &extension);

// Splits "Desc (*.a)|*.a|All (*.*)|*.*" into Qt name filters ("Desc (*.a)").
QStringList qtNameFilters(const QString &filter);

// Shows a file chooser that accepts the name of a file that does not exist
// yet (its folder must exist). Returns the full path, or nothing on Cancel.
// A chosen file's folder becomes the process's current directory, unless the
// request keeps the current folder.
std::optional<QString> chooseFile(const FileDialogRequest &request, QWidget *parent = nullptr);

// Tests answer the chooser from a script; an empty handler restores the dialog.
using FileDialogHandler = std::function<std::optional<QString>(const FileDialogRequest &)>;
void setFileDialogHandler(FileDialogHandler handler);

} // namespace platform
