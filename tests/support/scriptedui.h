#pragma once

#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/reportcontrol.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

// Installs scripted stand-ins for every user-facing chokepoint for the
// lifetime of the object: message boxes are recorded and answered from a
// queue, file choosers are answered from a queue, beeps, status texts and
// help requests are recorded. A box or chooser with no scripted answer fails
// the running test.
class ScriptedUi
{
public:
    ScriptedUi();
    ~ScriptedUi();
    ScriptedUi(const ScriptedUi &) = delete;
    ScriptedUi &operator=(const ScriptedUi &) = delete;

    // Queue the answer for the next message box.
    void answer(platform::MsgAnswer answer) { m_answers.push_back(answer); }
    // Queue the next file chooser's result: a path, or nothing for Cancel.
    void chooseFile(const std::optional<QString> &path) { m_files.push_back(path); }
    // Queue how the next report run ends.
    enum class ReportEnd { Success, Cancelled, Failed };
    void answerReport(ReportEnd end) { m_reports.push_back(end); }
    // From now on report runs are recorded and run by the real engine.
    void useRealReports();

    QList<platform::MessageRequest> boxes;
    QList<platform::FileDialogRequest> fileDialogs;
    QStringList statuses;
    QStringList helpRequests;
    QList<platform::ReportRun> reportRuns;
    int beeps = 0;

    // Forget what was recorded so far (answers still queued are kept).
    void clearRecords();
    // True when every queued answer has been used.
    bool allAnswersUsed() const { return m_answers.empty() && m_files.empty() && m_reports.empty(); }

private:
    std::deque<platform::MsgAnswer> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<ReportEnd> m_reports;
};

// "text|title|buttons|icon" for comparing a recorded box in one QCOMPARE,
// with "|default No" added when Enter does not answer the platform's choice.
QString describe(const platform::MessageRequest &box);
QString describeBox(const QString &text, const QString &title, platform::MsgButtons buttons,
                    platform::MsgIcon icon, std::optional<platform::MsgAnswer> defaultButton = std::nullopt);
// Every recorded box described, in the order shown.
QStringList described(const QList<platform::MessageRequest> &boxes);
