#include "tiles/neighbours.h"

#include "tiles/tile_ref.h"

namespace {

// One direction: the two letters that carry on (with their replacements) and the two
// that absorb the carry (with theirs).
struct CarryRule {
    char16_t carry[2];
    char16_t carryTo[2];
    char16_t stop[2];
    char16_t stopTo[2];
};

constexpr CarryRule kEast{{u'r', u's'}, {u'q', u't'}, {u'q', u't'}, {u'r', u's'}};
constexpr CarryRule kWest{{u'q', u't'}, {u'r', u's'}, {u'r', u's'}, {u'q', u't'}};
constexpr CarryRule kNorth{{u'q', u'r'}, {u't', u's'}, {u't', u's'}, {u'q', u'r'}};
constexpr CarryRule kSouth{{u't', u's'}, {u'q', u'r'}, {u'q', u'r'}, {u't', u's'}};

// Index of c in a pair, or -1.
int IndexIn(const char16_t (&pair)[2], QChar c) {
    if (c == pair[0])
        return 0;
    if (c == pair[1])
        return 1;
    return -1;
}

QString Step(const QString& ref, int prefixLength, const CarryRule& rule) {
    QString result = ref;
    const qsizetype first = ClampedPrefixLength(ref, prefixLength);
    qsizetype i = result.size() - 1;
    while (i >= first) {
        const int carried = IndexIn(rule.carry, result[i]);
        if (carried < 0)
            break;
        result[i] = rule.carryTo[carried];
        --i;
    }
    if (i >= first) {
        const int stopped = IndexIn(rule.stop, result[i]);
        if (stopped >= 0)
            result[i] = rule.stopTo[stopped];
    }
    return result;
}

QChar LetterOf(const char16_t (&letters)[4], int slot) {
    if (slot < 0 || slot > 3)
        return {};
    return letters[slot];
}

} // namespace

QString EastNeighbour(const QString& ref, int prefixLength) {
    return Step(ref, prefixLength, kEast);
}

QString WestNeighbour(const QString& ref, int prefixLength) {
    return Step(ref, prefixLength, kWest);
}

QString NorthNeighbour(const QString& ref, int prefixLength) {
    return Step(ref, prefixLength, kNorth);
}

QString SouthNeighbour(const QString& ref, int prefixLength) {
    return Step(ref, prefixLength, kSouth);
}

QChar ChildLetter(int slot) {
    static constexpr char16_t kLetters[4] = {u'q', u'r', u's', u't'};
    return LetterOf(kLetters, slot);
}

QChar InnerChildLetter(int slot) {
    static constexpr char16_t kLetters[4] = {u's', u't', u'q', u'r'};
    return LetterOf(kLetters, slot);
}
