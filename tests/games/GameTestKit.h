#pragma once

#include "ViewTestKit.h"
#include "games/WordPPK2.h"

#include <algorithm>

namespace lexora::test {

// Carries each tile of the letter game to its place in one row; the last stays held unless putDownLast.
void ArrangeInRow(WordPPK2& game, bool putDownLast = true);

// A one-unit course of words then phrases, pictured and voiced (word i by seed i + 1), with feedback sounds.
class GameWorld : public ViewWorld
{
public:
    explicit GameWorld(const QStringList& words, const QStringList& phrases = {});

    QByteArray successSound() const { return voiceOf(901); }
    QByteArray failSound() const { return voiceOf(902); }
    long count(const QByteArray& sound) const { return std::ranges::count(soundOut.played, sound); }
};

} // namespace lexora::test
