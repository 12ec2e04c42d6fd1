#include "db/identifiers.h"

#include "platform/messagebox.h"

#include <QChar>
#include <QList>

#include <algorithm>

namespace db {

namespace {

// Names are handled as characters (code points), not UTF-16 units, so a
// character outside the Basic Multilingual Plane is never cut in half.
using Chars = QList<char32_t>;

bool isAcceptable(char32_t c)
{
    return c != U' ' && c != U'(' && c != U')' && c != U'#';
}

Chars toChars(const QString &s)
{
    Chars chars;
    for (uint c : s.toUcs4())
        chars.append(char32_t(c));
    return chars;
}

// Positions count from 1, as the rules for picking characters do.
class Name
{
public:
    explicit Name(const QString &text)
        : m_chars(toChars(text))
    {}

    qsizetype length() const { return m_chars.size(); }
    char32_t at(qsizetype pos) const { return m_chars.at(pos - 1); }
    bool hasSpace() const { return m_chars.contains(U' '); }
    bool hasAcceptable() const { return std::any_of(m_chars.begin(), m_chars.end(), isAcceptable); }
    // Position of the next space at or after pos, 0 when there is none.
    qsizetype spaceFrom(qsizetype pos) const
    {
        for (qsizetype p = pos; p <= length(); ++p) {
            if (at(p) == U' ')
                return p;
        }
        return 0;
    }
    // Scans back from pos towards position 1 (never beyond it) for the first
    // character the predicate accepts; 0 when there is none.
    template <typename Pred> char32_t lastFrom(qsizetype pos, Pred accept) const
    {
        for (qsizetype p = pos; p >= 1; --p) {
            if (accept(at(p)))
                return at(p);
        }
        return 0;
    }

private:
    Chars m_chars;
};

QString toString(const Chars &c)
{
    return QString::fromUcs4(c.constData(), c.size());
}

void appendIfAcceptable(Chars &candidate, char32_t c)
{
    if (c != 0 && isAcceptable(c))
        candidate.append(c);
}

enum class Kind { Company, Title };

// The candidate before any uniqueness test.
Chars baseCandidate(const QString &text, Kind kind)
{
    const Name name(text);
    const qsizetype len = name.length();

    if (len < 3)
        return toChars(trimSpaces(text));

    Chars candidate;
    if (!name.hasSpace()) {
        appendIfAcceptable(candidate, name.at(1));
        appendIfAcceptable(candidate, name.at(len / 2));
        appendIfAcceptable(candidate, name.at(len));
        return candidate;
    }

    // The initials: the first character, whatever it is, then the character
    // after each space while fewer than three are collected.
    candidate.append(name.at(1));
    qsizetype p = 1;
    while (candidate.size() < 3 && p != 0) {
        const qsizetype space = name.spaceFrom(p);
        if (space == 0) {
            p = 0;
            break;
        }
        if (space < len)
            appendIfAcceptable(candidate, name.at(space + 1));
        p = space + 1;
        if (p > len)
            p = 0;
    }

    if (kind == Kind::Company) {
        if (candidate.size() == 1) {
            const char32_t middle =
                name.lastFrom(len / 2, [](char32_t c) { return c != U' ' && c != U'(' && c != U')'; });
            if (middle != 0)
                candidate.append(middle);
            appendIfAcceptable(candidate, name.lastFrom(len, isAcceptable));
        } else if (candidate.size() == 2) {
            appendIfAcceptable(candidate, name.lastFrom(len, isAcceptable));
        }
    }
    return candidate;
}

// Character by character, so an identifier never grows longer than its
// name's characters ("ß" stays one character).
Chars upperChars(const Chars &chars)
{
    Chars out;
    out.reserve(chars.size());
    for (char32_t c : chars)
        out.append(QChar::toUpper(c));
    return out;
}

QString makeUnique(Chars candidate, const QStringList &ids, Kind kind)
{
    // The failure marker must never be taken for an identifier: a name that
    // yields it ("@@@") gets the next variant, as if the marker were in use.
    const bool isMarker = toString(candidate) == FailedID;
    if (ids.isEmpty() && !isMarker)
        return toString(candidate);
    const QStringList taken = isMarker ? ids + QStringList{FailedID} : ids;

    if (kind == Kind::Company)
        candidate = upperChars(candidate);

    // Stored company identifiers are upper case already; comparing both sides
    // upper-cased also catches one that is not, which the key would refuse.
    char suffix = 'A';
    bool collided = true;
    while (collided) {
        collided = false;
        for (const QString &id : taken) {
            if (id.toUpper() != toString(candidate).toUpper())
                continue;
            collided = true;
            candidate = candidate.mid(0, 2);
            candidate.append(char32_t(suffix));
            ++suffix;
            if (suffix > 'Z') {
                platform::showMessage(
                    kind == Kind::Company ? QStringLiteral("Sorry, could not generate a CompanyID")
                                          : QStringLiteral("Sorry, could not generate a TitleID"),
                    platform::applicationTitle(), platform::MsgButtons::OK, platform::MsgIcon::None);
                return FailedID;
            }
        }
    }
    return toString(candidate);
}

} // namespace

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

qsizetype characterCount(const QString &text)
{
    return text.toUcs4().size();
}

QString CleanName(const QString &name)
{
    QList<char32_t> kept;
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        const bool joiner = c == 0x200C || c == 0x200D;
        if (category == QChar::Other_Control && QChar::isSpace(c)) {
            kept.append(u' '); // a pasted tab or line break still parts words
            continue;
        }
        if (!joiner && (category == QChar::Other_Control || category == QChar::Other_Format ||
                        category == QChar::Separator_Line || category == QChar::Separator_Paragraph))
            continue;
        kept.append(c);
    }
    return QString::fromUcs4(kept.constData(), kept.size()).normalized(QString::NormalizationForm_C);
}

bool IsNameUnique(const QString &name, const IdentifierLists &lists, const QString &msgTitle,
                  const QString &msgText)
{
    // Names stored before they were cleaned compare cleaned too.
    const QString wanted = CleanName(name).toUpper();
    for (int i = 0; i < lists.count(); ++i) {
        if (CleanName(lists.names.at(i)).toUpper() == wanted) {
            platform::showMessage(msgText, msgTitle, platform::MsgButtons::OK,
                                  platform::MsgIcon::Exclamation);
            return false;
        }
    }
    return true;
}

QString MakeCompanyID(const QString &name, const QStringList &ids)
{
    // Nothing in such a name can key it; the screens say so themselves.
    if (!Name(name).hasAcceptable())
        return QString();
    const QString id = makeUnique(baseCandidate(name, Kind::Company), ids, Kind::Company);
    return id == FailedID ? id : toString(upperChars(toChars(id)));
}

QString MakeTitleID(const QString &name, const QStringList &ids)
{
    if (!Name(name).hasAcceptable())
        return QString();
    Chars candidate = baseCandidate(name, Kind::Title);
    if (candidate.size() == 1)
        candidate.append(U'X');
    return makeUnique(candidate, ids, Kind::Title);
}

} // namespace db
