#include "db/identifiers.h"
#include "support/scriptedui.h"

#include <QTest>

using namespace platform;

namespace {
QStringList suffixed(const QString &base, const QString &stem, QChar lastSuffix)
{
    QStringList ids{base};
    for (char16_t c = u'A'; c <= lastSuffix.unicode(); ++c)
        ids << stem + QChar(c);
    return ids;
}
} // namespace

class tst_Identifiers : public QObject
{
    Q_OBJECT

private slots:
    void generate_data();
    void generate();
    void collisionsExhausted_data();
    void collisionsExhausted();
    void collisionRestartsThePass();
    void noUsableCharacter_data();
    void noUsableCharacter();
    void nameUnique_data();
    void nameUnique();
    void emptyListsNeverRefuse();
};

// The worked examples and the rules around them, for both generators.
void tst_Identifiers::generate_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("expected");

    const QStringList none;
    QTest::newRow("company first middle last") << true << "Starlight" << none << "SRT";
    QTest::newRow("company three letters") << true << "Owl" << none << "OOL";
    QTest::newRow("company two letters") << true << "Ko" << none << "KO";
    QTest::newRow("company initials then last") << true << "Blue Moon" << none << "BMN";
    QTest::newRow("company collision gets A") << true << "Sorbet" << QStringList{"SRT"} << "SRA";
    QTest::newRow("title case kept") << false << "Nightowl" << none << "Nhl";
    QTest::newRow("title three initials") << false << "The Big Red Rocket" << none << "TBR";
    QTest::newRow("title two initials") << false << "Iron Kite" << none << "IK";
    QTest::newRow("title bracket skipped, X added") << false << "Zap (Annual)" << none << "ZX";
    QTest::newRow("title collision ignores case") << false << "Nightowl" << QStringList{"NHL"} << "NhA";

    QTest::newRow("company one letter") << true << "k" << none << "K";
    QTest::newRow("company short name trimmed") << true << " k" << none << "K";
    QTest::newRow("title one letter") << false << "q" << none << "qX";
    QTest::newRow("title two letters") << false << "Qi" << none << "Qi";
    // One initial: the middle scan takes "#", the last scan skips it.
    QTest::newRow("company one initial, middle scan takes #") << true << "Z# ( (" << none << "Z#Z";
    QTest::newRow("company one initial, scans reach the start") << true << "a ((" << none << "AAA";
    QTest::newRow("company skips unacceptable in plain name") << true << "#ab#" << none << "A";
    QTest::newRow("title no fix-up after initials") << false << "Zed (#) #" << none << "ZX";
    QTest::newRow("company leading space is the first character")
        << true << " Marvel Comics" << none << " MC";
    QTest::newRow("company accented upper case") << true << "éclair" << none << "ÉLR";
    QTest::newRow("company sharp s stays one character") << true << "Groß" << none << "GRß";
    QTest::newRow("title apostrophe kept") << false << "D'Or" << none << "D'r";
    QTest::newRow("title quotes kept") << false << "\"Q\" Tales" << none << "\"T";
    QTest::newRow("company second pass after later collision")
        << true << "Starlight" << QStringList{"SRA", "SRT"} << "SRB";
    QTest::newRow("title collision on accented letter") << false << "éclair" << QStringList{"ÉLR"} << "élA";
    QTest::newRow("company 25th collision gives Y")
        << true << "Starlight" << suffixed("SRT", "SR", 'X') << "SRY";
    QTest::newRow("company Z is free but only reached after A..Y")
        << true << "Starlight" << QStringList{"SRZ"} << "SRT";
    QTest::newRow("company stored lower case still collides")
        << true << "Sorbet" << QStringList{"srt"} << "SRA";
    // The failure marker is never handed out as an identifier.
    QTest::newRow("company name giving the marker") << true << "@@@" << none << "@@A";
    QTest::newRow("title name giving the marker") << false << "@ @ @" << QStringList{"ABC"} << "@@A";
}

void tst_Identifiers::generate()
{
    QFETCH(bool, company);
    QFETCH(QString, name);
    QFETCH(QStringList, ids);
    QFETCH(QString, expected);

    ScriptedUi ui;
    const QString id = company ? db::MakeCompanyID(name, ids) : db::MakeTitleID(name, ids);
    QCOMPARE(id, expected);
    QVERIFY(ui.boxes.isEmpty());
}

// 26 collisions end generation with the message and the marker, even when
// the "Z" variant would be free; 25 do not.
void tst_Identifiers::collisionsExhausted_data()
{
    QTest::addColumn<bool>("company");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("message");

    QTest::newRow("company") << true << "Starlight" << suffixed("SRT", "SR", 'Y')
                             << "Sorry, could not generate a CompanyID";
    QStringList titles = suffixed("nhl", "nh", 'Y');
    QTest::newRow("title, other case")
        << false << "Nightowl" << titles << "Sorry, could not generate a TitleID";
}

void tst_Identifiers::collisionsExhausted()
{
    QFETCH(bool, company);
    QFETCH(QString, name);
    QFETCH(QStringList, ids);
    QFETCH(QString, message);

    QCOMPARE(ids.size(), 26);
    QVERIFY(!ids.contains(ids.first().left(2) + "Z"));
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    const QString id = company ? db::MakeCompanyID(name, ids) : db::MakeTitleID(name, ids);
    QCOMPARE(id, db::FailedID);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), describeBox(message, "Panelkeep", MsgButtons::OK, MsgIcon::None));
}

// A variant that collides with an entry earlier in the list than the one
// that produced it is found by the next pass.
void tst_Identifiers::collisionRestartsThePass()
{
    ScriptedUi ui;
    QCOMPARE(db::MakeTitleID("Nightowl", {"NhB", "NhA", "Nhl"}), QStringLiteral("NhC"));
    QCOMPARE(db::MakeCompanyID("Starlight", {"SRC", "SRB", "SRA", "SRT"}), QStringLiteral("SRD"));
}

// Names with nothing that can key them give no identifier at all, quietly;
// the scans never run past the first character.
void tst_Identifiers::noUsableCharacter_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("spaces") << "     ";
    QTest::newRow("one space") << " ";
    QTest::newRow("brackets and hashes with spaces") << "( # )";
    QTest::newRow("hashes") << "###";
    QTest::newRow("one hash") << "#";
    QTest::newRow("bracketed letter") << "(a)";
}

void tst_Identifiers::noUsableCharacter()
{
    QFETCH(QString, name);
    ScriptedUi ui;
    QCOMPARE(db::MakeCompanyID(name, {}), QString());
    QCOMPARE(db::MakeCompanyID(name, {"ABC"}), QString());
    QCOMPARE(db::MakeTitleID(name, {}), QString());
    QCOMPARE(db::MakeTitleID(name, {"ABC"}), QString());
    QVERIFY(ui.boxes.isEmpty());
}

void tst_Identifiers::nameUnique_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("unique");

    QTest::newRow("same") << "Blue Moon" << false;
    QTest::newRow("other case") << "bLUE mOON" << false;
    QTest::newRow("accented other case") << "ÉCLAIR" << false;
    QTest::newRow("trailing space") << "Blue Moon " << true;
    QTest::newRow("leading space") << " Blue Moon" << true;
    QTest::newRow("inner spacing") << "Blue  Moon" << true;
    QTest::newRow("new name") << "Starlight" << true;
    QTest::newRow("quote") << "O'Neil" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("pasted byte-order mark") << "\uFEFFBlue Moon" << false;
    QTest::newRow("zero-width space and direction mark") << "Blue\u200B Moon\u200E" << false;
    QTest::newRow("decomposed accent") << "E\u0301clair" << false;
    QTest::newRow("tab between words") << "Blue\tMoon" << false;
    QTest::newRow("joiner kept") << "Blue Moon\u200D" << true;
}

void tst_Identifiers::nameUnique()
{
    QFETCH(QString, typed);
    QFETCH(bool, unique);

    db::IdentifierLists lists;
    lists.append("BMN", "Blue Moon");
    lists.append("ÉLR", "Éclair");
    lists.append("O'N", "o'neil");

    ScriptedUi ui;
    if (!unique)
        ui.answer(MsgAnswer::OK);
    QCOMPARE(db::IsNameUnique(typed, lists, "Company Exists",
                              "This Company name already exists, please try again"),
             unique);
    QCOMPARE(ui.boxes.size(), unique ? 0 : 1);
    if (!unique)
        QCOMPARE(describe(ui.boxes.first()),
                 describeBox("This Company name already exists, please try again", "Company Exists",
                             MsgButtons::OK, MsgIcon::Exclamation));
}

// Only the entries count: an empty list never refuses.
void tst_Identifiers::emptyListsNeverRefuse()
{
    ScriptedUi ui;
    QVERIFY(db::IsNameUnique("Anything", {}, "T", "X"));
    db::IdentifierLists lists;
    lists.append("ANY", "Anything");
    lists.clear();
    QVERIFY(db::IsNameUnique("Anything", lists, "T", "X"));
    QVERIFY(ui.boxes.isEmpty());
}

QTEST_MAIN(tst_Identifiers)
#include "tst_identifiers.moc"
