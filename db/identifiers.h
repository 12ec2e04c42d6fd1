#pragma once

#include <QString>
#include <QStringList>

// Company_ID and Title_ID: short keys derived from the name the user types,
// and the uniqueness test of a typed name against those already present.
namespace db {

// The value the generators return when they cannot produce an identifier.
inline const QString FailedID = QStringLiteral("@@@");

// The existing identifiers and their names, kept in parallel while an Add
// screen is open and extended after each add.
struct IdentifierLists
{
    QStringList ids;
    QStringList names;

    int count() const { return int(ids.size()); }
    void append(const QString &id, const QString &name)
    {
        ids.append(id);
        names.append(name);
    }
    void clear()
    {
        ids.clear();
        names.clear();
    }
};

// The text with leading and trailing spaces (only spaces) removed.
QString trimSpaces(const QString &text);

// A typed or pasted name as it is stored, keyed and compared: invisible
// format characters (a byte-order mark, zero-width spaces, direction marks)
// and control characters are dropped (tabs and line breaks become spaces),
// except the two joiners some scripts spell with, and the rest is put in composed form (NFC)
// so that names that look equal are equal.
QString CleanName(const QString &name);

// A name's length in characters, as the engine's length rules count it: a
// character beyond 16 bits counts once, not as its two UTF-16 halves.
qsizetype characterCount(const QString &text);

// True when no listed name equals the typed one, letter case ignored in every
// alphabet but surrounding spaces significant. Otherwise shows the message
// (OK, exclamation icon) and returns false.
bool IsNameUnique(const QString &name, const IdentifierLists &lists, const QString &msgTitle,
                  const QString &msgText);

// A new, upper-case Company_ID of at most three characters, or FailedID after
// telling the user that none could be made. A name holding nothing but spaces,
// "(", ")" and "#" gives an empty identifier, without a message; so can a
// name whose first, middle and last characters are all of those (the screens
// refuse both).
QString MakeCompanyID(const QString &name, const QStringList &ids);

// As MakeCompanyID, for Title_ID: the letter case of the name is kept.
QString MakeTitleID(const QString &name, const QStringList &ids);

} // namespace db
