#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

// How a preview window opens: the window state (0 normal, 1 minimised, 2
// maximised), whether the page buttons and the print and export buttons show,
// and whether the window keeps the rest of the program waiting.
struct PreviewOptions
{
    int windowState = 0;
    bool showPageButtons = true;
    bool showPrintButtons = true;
    bool modal = false;
};

// One run of a report as the control was set up for it.
struct ReportRun
{
    QString dataFile;
    QString reportFile;
    QString windowTitle;
    int destination = 0; // 0 a preview window, 1 the printer
    std::optional<PreviewOptions> preview;
    QString formula; // empty: the definition's own selection
    // Every setting made since the previous run, in the order made, as
    // "Name=value".
    QStringList settings;
    QWidget *owner = nullptr; // the screen the control sits on
};

// The report engine control a screen carries. Settings stay as they were set
// until set again; setting the action to 1 runs the report, and a failure or
// a cancellation (errnum::ReportCancelled) comes back as an EngineError.
class ReportControl
{
public:
    explicit ReportControl(QWidget *owner = nullptr)
        : m_owner(owner)
    {}

    void setDataFile(int index, const QString &path);
    void setReportFileName(const QString &path);
    void setWindowTitle(const QString &title);
    void setDestination(int destination);
    void setWindowState(int state);
    void setWindowShowPageButtons(bool on);
    void setWindowShowPrintButtons(bool on);
    void setWindowModal(bool on);
    // An empty text removes the formula an earlier run was given.
    void setSelectionFormula(const QString &formula);
    void setAction(int action);

private:
    void record(const QString &name, const QString &value);

    QWidget *m_owner;
    ReportRun m_run;
    PreviewOptions m_previewOptions;
    bool m_previewOptionsSet = false;
};

// Every run goes through here; tests script it instead. An empty handler
// restores the real engine (a preview window or the printer).
using ReportHandler = std::function<void(const ReportRun &)>;
void setReportHandler(ReportHandler handler);

// Runs a report the way the real engine does, whatever handler is installed.
void runReportWithEngine(const ReportRun &run);

} // namespace platform
