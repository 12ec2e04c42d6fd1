// panelkeep-sample PATH [--issues N]: builds a believable collection file for
// trying the program out and for timing it on large collections.

#include "db/collectionfile.h"
#include "db/identifiers.h"
#include "platform/currency.h"
#include "platform/database.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/recordset.h"
#include "platform/workspace.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextStream>
#include <cstdio>

using platform::Currency;
using platform::Database;
using platform::EngineError;
using platform::RecordsetType;

namespace {

struct CompanyDef
{
    const char *name;
};

struct TitleDef
{
    const char *name;
    int company; // index into companies
    const char *beginYear;
    qint64 coverCents;
};

const CompanyDef companies[] = {
    {"Starlight Comics"}, {"O'Malley Press"},     {"Éditions Lumière"},
    {"Bramble & Finch"},  {"Kestrel Publishing"},
};

const TitleDef titles[] = {
    {"The Night Owl", 0, "1962", 399},
    {"Captain Comet", 0, "1958", 299},
    {"Sky Pirates of Ürgen", 0, "1999", 350},
    {"O'Malley's Irregulars", 1, "1977", 175},
    {"The \"Real\" Detectives", 1, "1990", 250},
    {"Midnight Ledger", 1, "", 325},
    {"Les Aventures de Zoé", 2, "1971", 450},
    {"L'Île Mystérieuse", 2, "1984", 500},
    {"Garden Tales", 3, "2003", 350},
    {"Thorn & Thistle", 3, "2011", 399},
    {"Kestrel Quarterly", 4, nullptr, 600},
};

const char *const notes[] = {
    "Signed by the artist",
    "Newsstand edition",
    "Bought at the 1994 convention",
    "Cover détachée, complete otherwise",
    "Water damage on the back cover",
    "Kid's name on the cover: \"Tommy\"",
    "Variant cover",
    "Price sticker on the front",
};

int fail(const QString &message, int code)
{
    QTextStream(stderr) << "panelkeep-sample: " << message << '\n';
    return code;
}

struct Totals
{
    int issues = 0;
};

// Writes companies, titles, cover prices and issues in one transaction.
Totals fill(Database &db, int wanted)
{
    QRandomGenerator rng(20240611);
    Totals totals;
    platform::Transaction transaction(db);

    QStringList companyIds;
    auto rsCompany = db.openRecordset(QStringLiteral("Company"), RecordsetType::Table);
    for (const CompanyDef &c : companies) {
        const QString name = QString::fromUtf8(c.name);
        // The keys the Add Company screen would give these names.
        companyIds << db::MakeCompanyID(name, companyIds);
        rsCompany->addNew();
        rsCompany->setValue(QStringLiteral("Company_ID"), companyIds.last());
        rsCompany->setValue(QStringLiteral("Company"), name);
        rsCompany->update();
    }

    QStringList titleIds;
    auto rsTitle = db.openRecordset(QStringLiteral("Title"), RecordsetType::Table);
    auto rsCover = db.openRecordset(QStringLiteral("CoverPrice"), RecordsetType::Table);
    for (const TitleDef &t : titles) {
        const QString name = QString::fromUtf8(t.name);
        titleIds << db::MakeTitleID(name, titleIds);
        rsTitle->addNew();
        rsTitle->setValue(QStringLiteral("Title"), name);
        rsTitle->setValue(QStringLiteral("Title_ID"), titleIds.last());
        rsTitle->setValue(QStringLiteral("Begin_Year"),
                          t.beginYear ? QVariant(QString::fromLatin1(t.beginYear)) : QVariant());
        rsTitle->setValue(QStringLiteral("Company_ID"), companyIds.at(t.company));
        rsTitle->update();
        rsCover->addNew();
        rsCover->setValue(QStringLiteral("Title_ID"), titleIds.last());
        rsCover->setValue(QStringLiteral("Cover_Price"),
                          QVariant::fromValue(Currency::fromScaled(t.coverCents * 100)));
        rsCover->update();
    }

    // Issues spread evenly over the titles; each issue number held in one
    // or more conditions, more where a title must hold many issues.
    constexpr int titleCount = int(std::size(titles));
    auto rsIssue = db.openRecordset(QStringLiteral("Issue"), RecordsetType::Table);
    for (int t = 0; t < titleCount; ++t) {
        const int share = wanted / titleCount + (t < wanted % titleCount ? 1 : 0);
        const int minConditions = std::max(1, (share + 32766) / 32767);
        const qint64 cover = titles[t].coverCents * 100;
        int written = 0;
        for (int number = 1; written < share; ++number) {
            const int conditions =
                std::min({8, share - written, std::max(minConditions, int(rng.bounded(1, 4)) == 1 ? 2 : 1)});
            const int first = int(rng.bounded(1, 9 - conditions + 1));
            for (int k = 0; k < conditions; ++k) {
                const int condition = first + k;
                // Older issues were cheaper; better copies are worth more.
                const qint64 original =
                    std::max<qint64>(1000, cover * (number % 400 + 100) / 500 / 100 * 100);
                const qint64 value =
                    original * (9 - condition) * qint64(rng.bounded(80, 160)) / 100 / 100 * 100;
                rsIssue->addNew();
                rsIssue->setValue(QStringLiteral("Title_ID"), titleIds.at(t));
                rsIssue->setValue(QStringLiteral("IssueNum"), number);
                rsIssue->setValue(QStringLiteral("Condition"), condition);
                rsIssue->setValue(QStringLiteral("Quantity"), int(rng.bounded(1, 4)));
                if (rng.bounded(10) != 0)
                    rsIssue->setValue(QStringLiteral("Original_Price"),
                                      QVariant::fromValue(Currency::fromScaled(original)));
                if (rng.bounded(6) != 0)
                    rsIssue->setValue(QStringLiteral("Current_Value"),
                                      QVariant::fromValue(Currency::fromScaled(value)));
                if (rng.bounded(5) == 0)
                    rsIssue->setValue(QStringLiteral("Notes"),
                                      QString::fromUtf8(notes[rng.bounded(int(std::size(notes)))]));
                rsIssue->update();
                ++written;
            }
        }
        totals.issues += written;
    }
    rsIssue->close();
    rsCover->close();
    rsTitle->close();
    rsCompany->close();
    transaction.commit();
    return totals;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("panelkeep-sample"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates a sample Panelkeep collection file."));
    parser.addHelpOption();
    const QCommandLineOption issuesOption(QStringLiteral("issues"),
                                          QStringLiteral("About how many issues to add (default 300)."),
                                          QStringLiteral("N"), QStringLiteral("300"));
    parser.addOption(issuesOption);
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("The collection file to create; it must not exist."));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText() + QStringLiteral("\n") + parser.helpText(), 2);
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return fail(QStringLiteral("expected one PATH.\n") + parser.helpText(), 2);

    constexpr qint64 maxIssues = qint64(std::size(titles)) * 32767 * 8;
    bool ok = false;
    const qint64 wanted = parser.value(issuesOption).toLongLong(&ok);
    if (!ok || wanted < 0 || wanted > maxIssues)
        return fail(QStringLiteral("--issues must be a whole number from 0 to %1, not '%2'.")
                        .arg(maxIssues)
                        .arg(parser.value(issuesOption)),
                    2);

    const QString path = args.first();
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return fail(QStringLiteral("'%1' already exists; give the name of a new file.").arg(path), 1);

    platform::setStatusSink([](const QString &text) { QTextStream(stdout) << text << '\n'; });
    QElapsedTimer timer;
    timer.start();
    try {
        db::CreateCollectionDatabase(path);
    } catch (const EngineError &e) {
        return fail(e.text(), 1);
    }
    try {
        Database db = db::OpenCollectionFile(path);
        const Totals totals = fill(db, int(wanted));
        db.close();
        QTextStream(stdout) << QStringLiteral("Created %1: %2 companies, %3 titles, %4 issues in %5 ms.\n")
                                   .arg(path)
                                   .arg(std::size(companies))
                                   .arg(std::size(titles))
                                   .arg(totals.issues)
                                   .arg(timer.elapsed());
    } catch (const EngineError &e) {
        QFile::remove(path);
        return fail(e.text(), 1);
    }
    return 0;
}
