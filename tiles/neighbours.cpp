// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/neighbours.h"

#include "tiles/tile_key.h"

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

QString Step(const QString& letters, const CarryRule& rule) {
    QString result = letters;
    qsizetype i = result.size() - 1;
    while (i >= 0) {
        const int carried = IndexIn(rule.carry, result[i]);
        if (carried < 0)
            break;
        result[i] = rule.carryTo[carried];
        --i;
    }
    if (i >= 0) {
        const int stopped = IndexIn(rule.stop, result[i]);
        if (stopped >= 0)
            result[i] = rule.stopTo[stopped];
    }
    return result;
}

// The letter of the block position turn steps clockwise from slot; a null QChar for a slot
// outside the block.
QChar BlockLetter(int slot, int turn) {
    if (slot < 0 || slot > 3)
        return {};
    return QLatin1Char(kQuadLetters[static_cast<std::size_t>((slot + turn) % 4)]);
}

} // namespace

QString EastNeighbour(const QString& letters) {
    return Step(letters, kEast);
}

QString WestNeighbour(const QString& letters) {
    return Step(letters, kWest);
}

QString NorthNeighbour(const QString& letters) {
    return Step(letters, kNorth);
}

QString SouthNeighbour(const QString& letters) {
    return Step(letters, kSouth);
}

QChar ChildLetter(int slot) {
    return BlockLetter(slot, 0);
}

// The child touching the centre of the view is the one diagonally opposite the slot.
QChar InnerChildLetter(int slot) {
    return BlockLetter(slot, 2);
}
