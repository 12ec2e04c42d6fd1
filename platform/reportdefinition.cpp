#include "platform/reportdefinition.h"

#include "platform/engineerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace platform {

namespace {

// Splits a line into words; a word in double quotes may hold spaces (a
// doubled quote stands for one). Returns false for an unclosed quote.
bool splitWords(const QString &line, QStringList &words)
{
    words.clear();
    qsizetype i = 0;
    while (i < line.size()) {
        if (line.at(i).isSpace()) {
            ++i;
            continue;
        }
        QString word;
        if (line.at(i) == QLatin1Char('"')) {
            for (++i;; ++i) {
                if (i >= line.size())
                    return false;
                if (line.at(i) == QLatin1Char('"')) {
                    if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                        word += QLatin1Char('"');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                word += line.at(i);
            }
        } else {
            while (i < line.size() && !line.at(i).isSpace())
                word += line.at(i++);
        }
        words << word;
    }
    return true;
}

} // namespace

ReportDefinition readReportDefinition(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw EngineError(errnum::FileNotFound,
                          QStringLiteral("The report definition '%1' could not be read: %2.")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > 1 << 20)
        throw EngineError(errnum::Generic,
                          QStringLiteral("'%1' is too large for a report definition.").arg(name));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));

    ReportDefinition def;
    bool sawFormat = false, sawLayout = false;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto bad = [&](const QString &what) {
            return EngineError(errnum::Generic,
                               QStringLiteral("The report definition %1 is wrong on line %2: %3.")
                                   .arg(name)
                                   .arg(n + 1)
                                   .arg(what));
        };
        const qsizetype space = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const QString key = line.left(space < 0 ? line.size() : space).toLower();
        const QString rest = space < 0 ? QString() : line.mid(space).trimmed();
        if (key == QLatin1String("selection")) {
            def.selection = rest;
            continue;
        }
        QStringList w;
        if (!splitWords(rest, w))
            throw bad(QStringLiteral("a double quote is not closed"));
        const auto expect = [&](qsizetype count) {
            if (w.size() != count)
                throw bad(
                    QStringLiteral("\"%1\" takes %2 value(s), not %3").arg(key).arg(count).arg(w.size()));
        };
        if (key == QLatin1String("format")) {
            expect(1);
            if (w.at(0) != QLatin1String("1"))
                throw bad(QStringLiteral("format %1 is not known to this version").arg(w.at(0)));
            sawFormat = true;
        } else if (key == QLatin1String("heading")) {
            expect(1);
            def.heading = w.at(0);
        } else if (key == QLatin1String("layout")) {
            expect(1);
            if (w.at(0) == QLatin1String("issues"))
                def.layout = ReportDefinition::Layout::Issues;
            else if (w.at(0) == QLatin1String("totals"))
                def.layout = ReportDefinition::Layout::Totals;
            else if (w.at(0) == QLatin1String("missing"))
                def.layout = ReportDefinition::Layout::Missing;
            else
                throw bad(QStringLiteral("the layout is \"issues\", \"totals\" or \"missing\", not \"%1\"")
                              .arg(w.at(0)));
            sawLayout = true;
        } else if (key == QLatin1String("notes")) {
            expect(1);
            if (w.at(0) != QLatin1String("yes") && w.at(0) != QLatin1String("no"))
                throw bad(QStringLiteral("notes is \"yes\" or \"no\""));
            def.notes = w.at(0) == QLatin1String("yes");
        } else if (key == QLatin1String("page")) {
            expect(2);
            const QString size = w.at(0).toLower();
            if (size == QLatin1String("letter"))
                def.pageSize = QPageSize(QPageSize::Letter);
            else if (size == QLatin1String("a4"))
                def.pageSize = QPageSize(QPageSize::A4);
            else if (size == QLatin1String("legal"))
                def.pageSize = QPageSize(QPageSize::Legal);
            else
                throw bad(QStringLiteral("the page is Letter, A4 or Legal, not \"%1\"").arg(w.at(0)));
            if (w.at(1) == QLatin1String("portrait"))
                def.orientation = QPageLayout::Portrait;
            else if (w.at(1) == QLatin1String("landscape"))
                def.orientation = QPageLayout::Landscape;
            else
                throw bad(QStringLiteral("the page is \"portrait\" or \"landscape\""));
        } else if (key == QLatin1String("column")) {
            expect(3);
            ReportColumn c;
            c.heading = w.at(0);
            const QString f = w.at(1);
            const qsizetype dot = f.indexOf(QLatin1Char('.'));
            if (f.startsWith(QLatin1Char('{')) && f.endsWith(QLatin1Char('}')) && dot > 0)
                c.field = findReportField(f.mid(1, dot - 1), f.mid(dot + 1, f.size() - dot - 2));
            if (!c.field)
                throw bad(QStringLiteral("there is no field %1").arg(f));
            bool ok = false;
            c.widthInches = w.at(2).toDouble(&ok);
            if (!ok || c.widthInches < 0.2 || c.widthInches > 10)
                throw bad(
                    QStringLiteral("the column width is inches from 0.2 to 10, not \"%1\"").arg(w.at(2)));
            def.columns << c;
        } else {
            throw bad(QStringLiteral("\"%1\" is not a setting of a report definition").arg(key));
        }
    }
    if (!sawFormat || !sawLayout)
        throw EngineError(
            errnum::Generic,
            QStringLiteral("'%1' is not a report definition (no \"format\" or \"layout\" line).").arg(name));
    if (def.layout == ReportDefinition::Layout::Issues && def.columns.isEmpty())
        throw EngineError(errnum::Generic,
                          QStringLiteral("The report definition %1 has no \"column\" lines.").arg(name));
    return def;
}

} // namespace platform
