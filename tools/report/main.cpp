// panelkeep-report COLLECTION --report 1|2|3|missing [--formula TEXT] --pdf OUT.pdf:
// writes one of the reports of a collection to a PDF file, through the same
// engine and definitions as the program.

#include "platform/engineerror.h"
#include "platform/reportdocument.h"
#include "platform/reportoutput.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

int fail(const QString &message, int code)
{
    QTextStream(stderr) << "panelkeep-report: " << message << '\n';
    return code;
}

// The definition file `name`: beside the program when run from the build
// tree, else in the installed share/panelkeep folder.
QString definitionPath(const QString &name)
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.filePath(name);
    const QString installed = bin.filePath(QStringLiteral("../share/panelkeep/") + name);
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : QDir::cleanPath(installed);
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts and PDF output need a GUI application, never a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("panelkeep-report"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a report of a Panelkeep collection to a PDF file."));
    parser.addHelpOption();
    const QCommandLineOption reportOption(
        QStringLiteral("report"),
        QStringLiteral("1 Issue Details, 2 with Notes, 3 Value by Title & Company, missing Missing Issues."),
        QStringLiteral("N"));
    const QCommandLineOption formulaOption(QStringLiteral("formula"),
                                           QStringLiteral("Selection formula, e.g. {Issue.Quantity} > 1;"),
                                           QStringLiteral("TEXT"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("The PDF file to write."),
                                       QStringLiteral("OUT.pdf"));
    parser.addOptions({reportOption, formulaOption, pdfOption});
    parser.addPositionalArgument(QStringLiteral("COLLECTION"), QStringLiteral("The collection file."));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText(), 2);
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return fail(QStringLiteral("expected one COLLECTION file.\n") + parser.helpText(), 2);
    static const char *const titles[] = {"Issue Details", "Issue Details with Notes",
                                         "Value by Title & Company", "Missing Issues"};
    // The missing-issues report is asked for by name.
    const QString chosen = parser.value(reportOption);
    const int report = chosen == QLatin1String("missing") ? 4 : chosen.toInt();
    if (report < 1 || (report > 3 && chosen != QLatin1String("missing")))
        return fail(QStringLiteral("--report must be 1, 2, 3 or missing."), 2);
    if (!parser.isSet(pdfOption) || parser.value(pdfOption).isEmpty())
        return fail(QStringLiteral("--pdf OUT.pdf is required."), 2);

    platform::ReportRequest request;
    request.dataFile = args.first();
    request.reportFile = definitionPath(QStringLiteral("Kepix00%1.rpt").arg(report));
    request.windowTitle =
        QStringLiteral("Panelkeep: Report 00%1 - %2").arg(report).arg(QLatin1String(titles[report - 1]));
    request.formula = parser.value(formulaOption);
    try {
        auto doc = platform::ReportDocument::open(request);
        platform::writeReportPdf(*doc, parser.value(pdfOption));
        QTextStream(stdout) << QStringLiteral("Wrote %1: %2 pages.\n")
                                   .arg(QDir::toNativeSeparators(parser.value(pdfOption)))
                                   .arg(doc->pageCount());
    } catch (const platform::EngineError &e) {
        return fail(e.text(), 1);
    }
    return 0;
}
