#pragma once

#include "ViewTestKit.h"

#include <algorithm>

namespace lexora {
class WordPPK2;
}

namespace lexora::test {

// Takes each tile of the letter game, carries it to its place in one row and puts it down; the last
// one stays held there unless putDownLast.
void ArrangeInRow(WordPPK2& game, bool putDownLast = true);

// A one-unit course of words then phrases, all voiced (word i by seed i + 1) and, unless left out,
// pictured; the feedback sounds are in place.
class GameWorld : public ViewWorld
{
public:
    explicit GameWorld(const QStringList& words, const QStringList& withoutPicture = {},
                       const QStringList& phrases = {});

    QByteArray successSound() const { return voiceOf(901); }
    QByteArray failSound() const { return voiceOf(902); }
    int count(const QByteArray& sound) const
    {
        return static_cast<int>(std::count(soundOut.played.begin(), soundOut.played.end(), sound));
    }
};

} // namespace lexora::test
