#include "platform/conversion.h"
#include "platform/currency.h"
#include "platform/engineerror.h"

#include <QTest>
#include <limits>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {
constexpr qint64 maxScaled = std::numeric_limits<qint64>::max();
constexpr qint64 minScaled = std::numeric_limits<qint64>::min();
} // namespace

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void toInteger16_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("plain") << "12" << 12 << 0;
        QTest::newRow("spaces around") << "  7 " << 7 << 0;
        QTest::newRow("plus sign") << "+5" << 5 << 0;
        QTest::newRow("leading zeros") << "007" << 7 << 0;
        QTest::newRow("lowest") << "-32768" << -32768 << 0;
        QTest::newRow("highest") << "32767" << 32767 << 0;
        QTest::newRow("one too high") << "32768" << 0 << errnum::Overflow;
        QTest::newRow("one too low") << "-32769" << 0 << errnum::Overflow;
        QTest::newRow("far too many digits") << "123456789012345678901234567890" << 0 << errnum::Overflow;
        QTest::newRow("empty") << "" << 0 << errnum::TypeConversion;
        QTest::newRow("blank") << "   " << 0 << errnum::TypeConversion;
        QTest::newRow("fraction") << "1.5" << 0 << errnum::TypeConversion;
        QTest::newRow("letters") << "12a" << 0 << errnum::TypeConversion;
        QTest::newRow("inner space") << "1 2" << 0 << errnum::TypeConversion;
        QTest::newRow("sign alone") << "-" << 0 << errnum::TypeConversion;
        QTest::newRow("hex") << "0x10" << 0 << errnum::TypeConversion;
        QTest::newRow("arabic-indic digits") << u"١٢"_s << 0 << errnum::TypeConversion;
    }
    void toInteger16()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(int, error);
        try {
            QCOMPARE(int(platform::toInteger16(text)), value);
            QCOMPARE(0, error);
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), error);
            QVERIFY(e.text().contains(text.trimmed()));
        }
    }

    void toCurrency_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("scaled");
        QTest::addColumn<int>("error");
        QTest::newRow("en_US symbol and grouping") << u"en_US"_s << u"$1,250.50"_s << qint64(12505000) << 0;
        QTest::newRow("en_US plain") << u"en_US"_s << u"1.5"_s << qint64(15000) << 0;
        QTest::newRow("en_US whole") << u"en_US"_s << u"3"_s << qint64(30000) << 0;
        QTest::newRow("en_US leading point") << u"en_US"_s << u".25"_s << qint64(2500) << 0;
        QTest::newRow("en_US trailing point") << u"en_US"_s << u"4."_s << qint64(40000) << 0;
        QTest::newRow("en_US minus") << u"en_US"_s << u"-2.00"_s << qint64(-20000) << 0;
        QTest::newRow("en_US minus before symbol") << u"en_US"_s << u"-$2.00"_s << qint64(-20000) << 0;
        QTest::newRow("en_US minus after symbol") << u"en_US"_s << u"$-2.00"_s << qint64(-20000) << 0;
        QTest::newRow("en_US parentheses") << u"en_US"_s << u"($1,000.25)"_s << qint64(-10002500) << 0;
        QTest::newRow("en_US spaces") << u"en_US"_s << u"  $ 12.00  "_s << qint64(120000) << 0;
        QTest::newRow("en_US ISO code") << u"en_US"_s << u"USD 12"_s << qint64(120000) << 0;
        QTest::newRow("en_US four places kept") << u"en_US"_s << u"0.1234"_s << qint64(1234) << 0;
        QTest::newRow("en_US fifth place rounds up") << u"en_US"_s << u"0.00005"_s << qint64(1) << 0;
        QTest::newRow("en_US fifth place rounds down") << u"en_US"_s << u"0.000049999"_s << qint64(0) << 0;
        QTest::newRow("en_US negative half away from zero") << u"en_US"_s << u"-0.00005"_s << qint64(-1) << 0;
        QTest::newRow("en_US largest") << u"en_US"_s << u"922337203685477.5807"_s << maxScaled << 0;
        QTest::newRow("en_US smallest") << u"en_US"_s << u"-922337203685477.5808"_s << minScaled << 0;
        QTest::newRow("en_US just too large")
            << u"en_US"_s << u"922337203685477.5808"_s << qint64(0) << errnum::Overflow;
        QTest::newRow("en_US rounding overflows")
            << u"en_US"_s << u"922337203685477.58075"_s << qint64(0) << errnum::Overflow;
        QTest::newRow("en_US huge") << u"en_US"_s << u"99999999999999999999999"_s << qint64(0)
                                    << errnum::Overflow;
        QTest::newRow("en_US misplaced grouping")
            << u"en_US"_s << u"1,50"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US grouping after point")
            << u"en_US"_s << u"1.000,5"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US empty") << u"en_US"_s << u""_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US symbol only") << u"en_US"_s << u"$"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US words") << u"en_US"_s << u"ten dollars"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US two points") << u"en_US"_s << u"1.2.3"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US two signs") << u"en_US"_s << u"--5"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US exponent") << u"en_US"_s << u"1e3"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("en_US other symbol") << u"en_US"_s << u"€5"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("de_DE symbol after") << u"de_DE"_s << u"1.250,50 €"_s << qint64(12505000) << 0;
        QTest::newRow("de_DE comma decimal") << u"de_DE"_s << u"1,5"_s << qint64(15000) << 0;
        QTest::newRow("de_DE minus") << u"de_DE"_s << u"-0,99 €"_s << qint64(-9900) << 0;
        QTest::newRow("de_DE point is grouping") << u"de_DE"_s << u"1.250"_s << qint64(12500000) << 0;
        QTest::newRow("de_DE misplaced grouping")
            << u"de_DE"_s << u"1.5"_s << qint64(0) << errnum::TypeConversion;
        QTest::newRow("fr_FR narrow spaces")
            << u"fr_FR"_s << u"1\u202f250,50\u00a0€"_s << qint64(12505000) << 0;
        QTest::newRow("fr_FR plain spaces") << u"fr_FR"_s << u"1 250,5"_s << qint64(12505000) << 0;
        QTest::newRow("C falls back to en_US") << u"C"_s << u"$1,250.50"_s << qint64(12505000) << 0;
        QTest::newRow("en_IN lakh grouping") << u"en_IN"_s << u"₹1,00,000.00"_s << qint64(1000000000) << 0;
    }
    void toCurrency()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(qint64, scaled);
        QFETCH(int, error);
        const QLocale loc(locale);
        try {
            QCOMPARE(platform::toCurrency(text, loc).scaled(), scaled);
            QCOMPARE(0, error);
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), error);
        }
        QCOMPARE(tryCurrency(text, loc).has_value(), error == 0);
        if (error == 0)
            QCOMPARE(tryCurrency(text, loc)->scaled(), scaled);
        // A number too large is still a number.
        QCOMPARE(isNumericText(text, loc), error != errnum::TypeConversion);
    }

    void formatCurrency_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("scaled");
        QTest::addColumn<QString>("text");
        QTest::newRow("en_US") << "en_US" << qint64(12505000) << "$1,250.50";
        QTest::newRow("en_US negative") << "en_US" << qint64(-12505000) << "($1,250.50)";
        QTest::newRow("en_US zero") << "en_US" << qint64(0) << "$0.00";
        QTest::newRow("en_US half cent rounds away from zero") << "en_US" << qint64(50) << "$0.01";
        QTest::newRow("en_US below half a cent") << "en_US" << qint64(-49) << "$0.00";
        QTest::newRow("en_US negative half cent") << "en_US" << qint64(-50) << "($0.01)";
        QTest::newRow("en_US largest") << "en_US" << maxScaled << "$922,337,203,685,477.58";
        QTest::newRow("en_US smallest") << "en_US" << minScaled << "($922,337,203,685,477.58)";
        QTest::newRow("C") << "C" << qint64(12505000) << "$1,250.50";
        QTest::newRow("de_DE") << u"de_DE"_s << qint64(12505000) << u"1.250,50\u00a0€"_s;
        QTest::newRow("de_DE negative") << u"de_DE"_s << qint64(-15000) << u"-1,50\u00a0€"_s;
        QTest::newRow("en_GB") << u"en_GB"_s << qint64(9990000) << u"£999.00"_s;
    }
    void formatCurrency()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, scaled);
        QFETCH(QString, text);
        QCOMPARE(platform::formatCurrency(Currency::fromScaled(scaled), QLocale(locale)), text);
    }

    // What the program shows, the user can type back: it reads as the amount
    // shown (rounded to cents).
    void shownAmountsReadBack_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *loc : {"en_US", "de_DE", "fr_FR", "en_IN", "ja_JP", "C"})
            QTest::newRow(loc) << QString::fromLatin1(loc);
    }
    void shownAmountsReadBack()
    {
        QFETCH(QString, locale);
        const QLocale loc(locale);
        for (qint64 cents : {qint64(0), qint64(1), qint64(-1), qint64(99), qint64(125050), qint64(-125050),
                             qint64(100000000), qint64(-7654321098765)}) {
            const QString shown = platform::formatCurrency(Currency::fromScaled(cents * 100), loc);
            const auto back = tryCurrency(shown, loc);
            QVERIFY2(back.has_value(), qPrintable(shown));
            QCOMPARE(back->scaled(), cents * 100);
        }
    }

    // The same over every locale the toolkit knows: 0 failures.
    void everyLocaleReadsItsOwnAmounts()
    {
        const qint64 largest = std::numeric_limits<qint64>::max() / 100 * 100; // whole cents
        const QList<QLocale> all =
            QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QStringList failures;
        for (const QLocale &loc : all) {
            for (qint64 scaled : {qint64(0), qint64(100), qint64(15000), qint64(9999900), qint64(12345600),
                                  qint64(10000005000), qint64(-12345600), largest, -largest}) {
                const QString shown = platform::formatCurrency(Currency::fromScaled(scaled), loc);
                const auto back = tryCurrency(shown, loc);
                if (!back || back->scaled() != scaled)
                    failures << loc.name() + u" "_s + shown;
            }
        }
        QVERIFY(all.size() > 300);
        QVERIFY2(failures.isEmpty(),
                 qPrintable(QString::number(failures.size()) + u": "_s + failures.mid(0, 20).join(u" | "_s)));
    }

    void currencyLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("used");
        QTest::newRow("C") << u"C"_s << u"en_US"_s;
        QTest::newRow("en_US") << u"en_US"_s << u"en_US"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"de_DE"_s;
    }
    void currencyLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, used);
        QCOMPARE(platform::currencyLocale(QLocale(locale)).name(), used);
    }
};

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
