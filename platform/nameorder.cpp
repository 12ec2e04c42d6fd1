#include "platform/nameorder.h"

#include <QChar>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <cstring>
#include <sqlite3.h>
#include <unordered_map>

namespace platform {

namespace {

// What one character sorts as: up to three lower-case base characters
// (none for a combining accent).
struct Folded
{
    int count = -1; // -1: not yet worked out
    std::array<char32_t, 3> chars{};
};

void append(Folded &f, char32_t c)
{
    if (f.count < 3)
        f.chars[size_t(f.count++)] = c;
}

void foldInto(Folded &f, char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return;
    default: break;
    }
    // Letters that have no decomposition but are read as their base letters.
    switch (c) {
    case U'ß':
    case U'ẞ':
        append(f, U's');
        append(f, U's');
        return;
    case U'æ':
    case U'Æ':
        append(f, U'a');
        append(f, U'e');
        return;
    case U'œ':
    case U'Œ':
        append(f, U'o');
        append(f, U'e');
        return;
    case U'ø':
    case U'Ø': append(f, U'o'); return;
    case U'đ':
    case U'Đ': append(f, U'd'); return;
    case U'ł':
    case U'Ł': append(f, U'l'); return;
    case U'þ':
    case U'Þ':
        append(f, U't');
        append(f, U'h');
        return;
    case U'ı': append(f, U'i'); return;
    default: break;
    }
    if (QChar::decompositionTag(c) != QChar::NoDecomposition) {
        const QString parts = QChar::decomposition(c);
        for (const char32_t part : parts.toUcs4())
            foldInto(f, part);
        return;
    }
    append(f, QChar::toCaseFolded(c));
}

const Folded &fold(char32_t c)
{
    // Latin, Greek and Cyrillic letters are looked up directly; the rest
    // are remembered as met.
    static std::array<Folded, 0x800> common;
    static std::unordered_map<char32_t, Folded> others;
    Folded &f = c < common.size() ? common[c] : others[c];
    if (f.count < 0) {
        f.count = 0;
        foldInto(f, c);
    }
    return f;
}

// Reads one character from UTF-8; a byte that starts no valid character
// stands for itself, above every character.
char32_t decode(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char b = *p++;
    int extra = 0;
    char32_t c = 0;
    if (b >= 0xF0 && b < 0xF5) {
        extra = 3;
        c = b & 0x07;
    } else if (b >= 0xE0) {
        extra = 2;
        c = b & 0x0F;
    } else if (b >= 0xC2 && b < 0xE0) {
        extra = 1;
        c = b & 0x1F;
    } else {
        return 0x110000 + b;
    }
    if (end - p < extra)
        return 0x110000 + b;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0x110000 + b;
        c = (c << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return c;
}

// The folded characters of a text, one at a time.
class FoldedText
{
public:
    FoldedText(const unsigned char *p, const unsigned char *end)
        : m_p(p)
        , m_end(end)
    {}

    // The next folded character; -1 at the end.
    std::int64_t next()
    {
        while (m_at >= m_pending.count) {
            if (m_p == m_end)
                return -1;
            const unsigned char b = *m_p;
            if (b < 0x80) {
                ++m_p;
                return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
            }
            m_pending = fold(decode(m_p, m_end));
            m_at = 0;
        }
        return m_pending.chars[size_t(m_at++)];
    }

private:
    const unsigned char *m_p;
    const unsigned char *m_end;
    Folded m_pending{0, {}};
    int m_at = 0;
};

int lowerAscii(unsigned char b)
{
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

} // namespace

int compareNames(const char *a, int aBytes, const char *b, int bBytes)
{
    // The sort compares a company's name with itself over and over.
    if (aBytes == bBytes && std::memcmp(a, b, size_t(aBytes)) == 0)
        return 0;
    const auto *pa = reinterpret_cast<const unsigned char *>(a);
    const auto *pb = reinterpret_cast<const unsigned char *>(b);
    // Most names are plain ASCII: compare as NOCASE does while they are.
    int i = 0;
    const int common = aBytes < bBytes ? aBytes : bBytes;
    while (i < common && pa[i] < 0x80 && pb[i] < 0x80) {
        const int ca = lowerAscii(pa[i]);
        const int cb = lowerAscii(pb[i]);
        if (ca != cb)
            return ca - cb;
        ++i;
    }
    if (i < common || (i < aBytes && pa[i] >= 0x80) || (i < bBytes && pb[i] >= 0x80)) {
        // Both stand at the start of a character: the loop stepped over ASCII only.
        FoldedText fa(pa + i, pa + aBytes);
        FoldedText fb(pb + i, pb + bBytes);
        for (;;) {
            const std::int64_t ca = fa.next();
            const std::int64_t cb = fb.next();
            if (ca != cb)
                return ca < cb ? -1 : 1;
            if (ca < 0)
                break;
        }
    } else if (aBytes != bBytes) {
        return aBytes < bBytes ? -1 : 1;
    }
    // Equal as names: the exact text decides.
    const int byBytes = std::memcmp(a, b, size_t(common));
    if (byBytes != 0)
        return byBytes;
    return aBytes == bBytes ? 0 : (aBytes < bBytes ? -1 : 1);
}

void registerNameOrder(sqlite3 *db)
{
    const auto compare = [](void *, int aBytes, const void *a, int bBytes, const void *b) {
        return compareNames(static_cast<const char *>(a), aBytes, static_cast<const char *>(b), bBytes);
    };
    sqlite3_create_collation_v2(db, NameOrder.toUtf8().constData(), SQLITE_UTF8, nullptr, compare, nullptr);
}

} // namespace platform
