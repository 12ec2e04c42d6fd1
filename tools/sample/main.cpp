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
#include <cmath>
#include <cstdio>
#include <vector>

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
    int companies = 0;
    int titles = 0;
    int issues = 0;
};

struct PlannedCompany
{
    QString name;
    QString id;
};

struct PlannedTitle
{
    QString name;
    QString id;
    int company; // index into the planned companies
    QVariant beginYear;
    qint64 coverCents;
    int issues;
};

struct Plan
{
    std::vector<PlannedCompany> companies;
    std::vector<PlannedTitle> titles;
};

// The hand-written sample: issues spread evenly over its titles.
Plan samplePlan(int wanted)
{
    Plan plan;
    QStringList companyIds, titleIds;
    for (const CompanyDef &c : companies) {
        const QString name = QString::fromUtf8(c.name);
        // The keys the Add Company and Add Title screens would give these names.
        companyIds << db::MakeCompanyID(name, companyIds);
        plan.companies.push_back({name, companyIds.last()});
    }
    constexpr int titleCount = int(std::size(titles));
    for (int i = 0; i < titleCount; ++i) {
        const TitleDef &t = titles[i];
        const QString name = QString::fromUtf8(t.name);
        titleIds << db::MakeTitleID(name, titleIds);
        plan.titles.push_back({name, titleIds.last(), t.company,
                               t.beginYear ? QVariant(QString::fromLatin1(t.beginYear)) : QVariant(),
                               t.coverCents, wanted / titleCount + (i < wanted % titleCount ? 1 : 0)});
    }
    return plan;
}

// Three characters from 0..36^3-1, upper-case letters and digits.
QString shortKey(int n)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const char key[] = {digits[n / 1296 % 36], digits[n / 36 % 36], digits[n % 36]};
    return QString::fromLatin1(key, 3);
}

// A large collection of a fixed shape for timing: many companies (some
// names accented), many titles over them, and issues per title skewed as in
// real collections (a few long runs, many short ones): the title of rank r
// gets a share of 1/r^0.8. The same seed gives the same file.
Plan referencePlan(int wanted, int companyCount, int titleCount, quint32 seed)
{
    QRandomGenerator rng(seed);
    const char *const firsts[] = {"Starlight", "Kestrel",  "Bramble",    "Harbor",   "Éditions",
                                  "Über",      "Nightjar", "Copperleaf", "Ölund",    "Granite",
                                  "Zephyr",    "Amber",    "Île",        "Marigold", "Quill",
                                  "Ember",     "Årstad",   "Vortex",     "Lantern",  "Ça Va"};
    const char *const lasts[] = {"Comics", "Press", "Publishing", "Studios", "Bédé"};
    const char *const adjectives[] = {"Midnight", "Silver", "Crimson", "Lost",     "Atomic",    "Étoile",
                                      "Hidden",   "Iron",   "Quiet",   "Savage",   "Wandering", "Éternel",
                                      "Golden",   "Broken", "Cosmic",  "Fearless", "Ünder",     "Secret"};
    const char *const nouns[] = {"Detectives", "Avengers", "Tales", "Legion", "Knight",    "Raiders",
                                 "Chronicles", "Patrol",   "Owl",   "Comet",  "Aventures", "Mystère",
                                 "Ranger",     "Squadron", "Saga",  "Ghost",  "Frontier",  "Voyages"};
    Plan plan;
    for (int c = 0; c < companyCount; ++c) {
        const QString name = QStringLiteral("%1 %2 %3")
                                 .arg(QString::fromUtf8(firsts[c % std::size(firsts)]),
                                      QString::fromUtf8(lasts[c / std::size(firsts) % std::size(lasts)]))
                                 .arg(c / (std::size(firsts) * std::size(lasts)) + 1);
        plan.companies.push_back({name, shortKey(c)});
    }
    double weights = 0;
    for (int r = 1; r <= titleCount; ++r)
        weights += 1.0 / std::pow(r, 0.8);
    int given = 0;
    for (int t = 0; t < titleCount; ++t) {
        const QString name = QStringLiteral("%1 %2 %3")
                                 .arg(QString::fromUtf8(adjectives[rng.bounded(int(std::size(adjectives)))]),
                                      QString::fromUtf8(nouns[rng.bounded(int(std::size(nouns)))]))
                                 .arg(t + 1);
        const int share =
            t == titleCount - 1
                ? wanted - given
                : std::min(wanted - given, int(std::lround(wanted / weights / std::pow(t + 1, 0.8))));
        given += share;
        plan.titles.push_back({name, shortKey(t), int(rng.bounded(companyCount)),
                               QString::number(1940 + rng.bounded(80)), 100 + qint64(rng.bounded(900)),
                               share});
    }
    return plan;
}

// Writes companies, titles, cover prices and issues in one transaction.
Totals fill(Database &db, const Plan &plan)
{
    QRandomGenerator rng(20240611);
    Totals totals;
    platform::Transaction transaction(db);

    auto rsCompany = db.openRecordset(QStringLiteral("Company"), RecordsetType::Table);
    for (const PlannedCompany &c : plan.companies) {
        rsCompany->addNew();
        rsCompany->setValue(QStringLiteral("Company_ID"), c.id);
        rsCompany->setValue(QStringLiteral("Company"), c.name);
        rsCompany->update();
        ++totals.companies;
    }

    auto rsTitle = db.openRecordset(QStringLiteral("Title"), RecordsetType::Table);
    auto rsCover = db.openRecordset(QStringLiteral("CoverPrice"), RecordsetType::Table);
    for (const PlannedTitle &t : plan.titles) {
        rsTitle->addNew();
        rsTitle->setValue(QStringLiteral("Title"), t.name);
        rsTitle->setValue(QStringLiteral("Title_ID"), t.id);
        rsTitle->setValue(QStringLiteral("Begin_Year"), t.beginYear);
        rsTitle->setValue(QStringLiteral("Company_ID"), plan.companies.at(t.company).id);
        rsTitle->update();
        rsCover->addNew();
        rsCover->setValue(QStringLiteral("Title_ID"), t.id);
        rsCover->setValue(QStringLiteral("Cover_Price"),
                          QVariant::fromValue(Currency::fromScaled(t.coverCents * 100)));
        rsCover->update();
        ++totals.titles;
    }

    // Each issue number held in one or more conditions, more where a title
    // must hold many issues.
    auto rsIssue = db.openRecordset(QStringLiteral("Issue"), RecordsetType::Table);
    for (const PlannedTitle &t : plan.titles) {
        const int share = t.issues;
        const int minConditions = std::max(1, (share + 32766) / 32767);
        const qint64 cover = t.coverCents * 100;
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
                rsIssue->setValue(QStringLiteral("Title_ID"), t.id);
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
    const QCommandLineOption referenceOption(
        QStringLiteral("reference"),
        QStringLiteral("Timing shape: 100 companies, 5,000 titles, issues per title skewed."));
    parser.addOption(referenceOption);
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the timing shape's names (default 1)."),
                                        QStringLiteral("S"), QStringLiteral("1"));
    parser.addOption(seedOption);
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

    constexpr int referenceCompanies = 100;
    constexpr int referenceTitles = 5000;
    const bool reference = parser.isSet(referenceOption);
    // The largest title's share of the timing shape stays within 16-bit
    // issue numbers in eight conditions.
    const qint64 maxIssues = reference ? 20000000 : qint64(std::size(titles)) * 32767 * 8;
    bool ok = false;
    const qint64 wanted = parser.value(issuesOption).toLongLong(&ok);
    bool seedOk = false;
    const quint32 seed = parser.value(seedOption).toUInt(&seedOk);
    if (!seedOk)
        return fail(QStringLiteral("--seed must be a whole number, not '%1'.").arg(parser.value(seedOption)),
                    2);
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
        const Plan plan = reference ? referencePlan(int(wanted), referenceCompanies, referenceTitles, seed)
                                    : samplePlan(int(wanted));
        const Totals totals = fill(db, plan);
        db.close();
        QTextStream(stdout) << QStringLiteral("Created %1: %2 companies, %3 titles, %4 issues in %5 ms.\n")
                                   .arg(path)
                                   .arg(totals.companies)
                                   .arg(totals.titles)
                                   .arg(totals.issues)
                                   .arg(timer.elapsed());
    } catch (const EngineError &e) {
        QFile::remove(path);
        return fail(e.text(), 1);
    }
    return 0;
}
