#include "support/scriptedui.h"

#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/helpviewer.h"

#include <QTest>

using namespace platform;

namespace {
const char *name(MsgButtons b)
{
    switch (b) {
    case MsgButtons::OK: return "OK";
    case MsgButtons::OKCancel: return "OKCancel";
    case MsgButtons::YesNo: return "YesNo";
    case MsgButtons::YesNoCancel: return "YesNoCancel";
    }
    return "?";
}

const char *name(MsgAnswer a)
{
    switch (a) {
    case MsgAnswer::OK: return "OK";
    case MsgAnswer::Cancel: return "Cancel";
    case MsgAnswer::Yes: return "Yes";
    case MsgAnswer::No: return "No";
    }
    return "?";
}

const char *name(MsgIcon i)
{
    switch (i) {
    case MsgIcon::None: return "NoIcon";
    case MsgIcon::Critical: return "Critical";
    case MsgIcon::Question: return "Question";
    case MsgIcon::Exclamation: return "Exclamation";
    case MsgIcon::Information: return "Information";
    }
    return "?";
}
} // namespace

QString describeBox(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon,
                    std::optional<MsgAnswer> defaultButton)
{
    QString out = QStringLiteral("%1|%2|%3|%4")
                      .arg(text, title, QLatin1String(name(buttons)), QLatin1String(name(icon)));
    if (defaultButton && *defaultButton != platformDefaultButton(buttons))
        out += QStringLiteral("|default ") + QLatin1String(name(*defaultButton));
    return out;
}

QString describe(const MessageRequest &box)
{
    return describeBox(box.text, box.title, box.buttons, box.icon, box.defaultButton);
}

QStringList described(const QList<MessageRequest> &boxes)
{
    QStringList out;
    for (const MessageRequest &b : boxes)
        out << describe(b);
    return out;
}

ScriptedUi::ScriptedUi()
{
    setMessageHandler([this](const MessageRequest &request) {
        boxes << request;
        if (m_answers.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + describe(request)), __FILE__,
                         __LINE__);
            return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
        }
        const MsgAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    });
    setFileDialogHandler([this](const FileDialogRequest &request) -> std::optional<QString> {
        fileDialogs << request;
        if (m_files.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + request.title), __FILE__,
                         __LINE__);
            return std::nullopt;
        }
        const std::optional<QString> f = m_files.front();
        m_files.pop_front();
        return f;
    });
    setBeepHandler([this] { ++beeps; });
    setStatusObserver([this](const QString &text) { statuses << text; });
    setHelpHandler([this](const QString &file) { helpRequests << file; });
    setReportHandler([this](const ReportRun &run) {
        reportRuns << run;
        if (m_reports.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected report run: ") + run.settings.join(u'|')),
                         __FILE__, __LINE__);
            return;
        }
        const ReportEnd end = m_reports.front();
        m_reports.pop_front();
        if (end == ReportEnd::Cancelled)
            throw EngineError(errnum::ReportCancelled, QStringLiteral("Cancelled by the user."));
        if (end == ReportEnd::Failed)
            throw EngineError(errnum::Generic, QStringLiteral("The report definition could not be read."));
    });
}

ScriptedUi::~ScriptedUi()
{
    setMessageHandler({});
    setFileDialogHandler({});
    setBeepHandler({});
    setStatusObserver({});
    setHelpHandler({});
    setReportHandler({});
}

void ScriptedUi::useRealReports()
{
    setReportHandler([this](const ReportRun &run) {
        reportRuns << run;
        runReportWithEngine(run);
    });
}

void ScriptedUi::clearRecords()
{
    boxes.clear();
    fileDialogs.clear();
    statuses.clear();
    helpRequests.clear();
    reportRuns.clear();
    beeps = 0;
}
