#include "platform/reportcontrol.h"

#include "platform/engineerror.h"

namespace platform {

namespace {
ReportHandler &handler()
{
    static ReportHandler h;
    return h;
}

QString onOff(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

void ReportControl::record(const QString &name, const QString &value)
{
    m_run.settings << name + QLatin1Char('=') + value;
}

void ReportControl::setDataFile(int index, const QString &path)
{
    // The reports read one collection file.
    if (index != 0)
        throw EngineError(errnum::Generic, QStringLiteral("The report engine reads data file 0 only."));
    m_run.dataFile = path;
    record(QStringLiteral("DataFiles(0)"), path);
}

void ReportControl::setReportFileName(const QString &path)
{
    m_run.reportFile = path;
    record(QStringLiteral("ReportFileName"), path);
}

void ReportControl::setWindowTitle(const QString &title)
{
    m_run.windowTitle = title;
    record(QStringLiteral("WindowTitle"), title);
}

void ReportControl::setDestination(int destination)
{
    m_run.destination = destination;
    record(QStringLiteral("Destination"), QString::number(destination));
}

void ReportControl::setWindowState(int state)
{
    m_previewOptions.windowState = state;
    m_previewOptionsSet = true;
    record(QStringLiteral("WindowState"), QString::number(state));
}

void ReportControl::setWindowShowPageButtons(bool on)
{
    m_previewOptions.showPageButtons = on;
    m_previewOptionsSet = true;
    record(QStringLiteral("WindowShowPageButtons"), onOff(on));
}

void ReportControl::setWindowShowPrintButtons(bool on)
{
    m_previewOptions.showPrintButtons = on;
    m_previewOptionsSet = true;
    record(QStringLiteral("WindowShowPrintButtons"), onOff(on));
}

void ReportControl::setWindowModal(bool on)
{
    m_previewOptions.modal = on;
    m_previewOptionsSet = true;
    record(QStringLiteral("WindowModal"), onOff(on));
}

void ReportControl::setSelectionFormula(const QString &formula)
{
    m_run.formula = formula;
    record(QStringLiteral("SelectionFormula"), formula);
}

void ReportControl::setAction(int action)
{
    record(QStringLiteral("Action"), QString::number(action));
    ReportRun run = m_run;
    run.owner = m_owner;
    if (run.destination == 0 && m_previewOptionsSet)
        run.preview = m_previewOptions;
    // The next run records its own settings; the values themselves stay.
    m_run.settings.clear();
    if (action != 1)
        return;
    if (run.reportFile.isEmpty())
        throw EngineError(errnum::Generic, QStringLiteral("No report file has been set."));
    if (handler())
        handler()(run);
    else
        runReportWithEngine(run);
}

void setReportHandler(ReportHandler h)
{
    handler() = std::move(h);
}

} // namespace platform
