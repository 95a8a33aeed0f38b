#pragma once

#include "ViewTestKit.h"
#include "games/WordPPK2.h"

#include <algorithm>

namespace lexora::test {

// Takes each tile of the letter game, carries it to its place in one row and puts it down; the last
// one stays held there unless putDownLast.
void ArrangeInRow(WordPPK2& game, bool putDownLast = true);

// A one-unit course of words then phrases, all pictured and voiced (word i by seed i + 1), with the
// feedback sounds in place.
class GameWorld : public ViewWorld
{
public:
    explicit GameWorld(const QStringList& words, const QStringList& phrases = {});

    QByteArray successSound() const { return voiceOf(901); }
    QByteArray failSound() const { return voiceOf(902); }
    long count(const QByteArray& sound) const { return std::ranges::count(soundOut.played, sound); }
};

} // namespace lexora::test
