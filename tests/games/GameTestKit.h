#pragma once

#include "ViewTestKit.h"
#include "views/ViewHost.h"

#include <QDialog>
#include <functional>
#include <vector>

namespace lexora {
class WordPPK2;
}

namespace lexora::test {

// Takes each tile of the letter game, carries it to its place in one row and puts it down; the last
// one stays held there unless putDownLast.
void ArrangeInRow(WordPPK2& game, bool putDownLast = true);

// Records what a game asks of its window.
class GameHost final : public ViewHost
{
public:
    void ShowUserControl(std::int16_t ctrlIndex, std::int16_t para) override
    {
        shown.push_back({ctrlIndex, para});
    }
    void ShowReader() override { ++readers; }
    void ShowTestResults() override {}
    void ShowGameHelp() override { ++helps; }

    std::vector<std::pair<int, int>> shown;
    int readers = 0;
    int helps = 0;
};

// A one-unit course whose words all have voices (word i the voice of seed i + 1) and, unless left out,
// pictures; the feedback sounds are in place.
class GameWorld : public ViewWorld
{
public:
    explicit GameWorld(const QStringList& words, const QStringList& withoutPicture = {},
                       const QStringList& phrases = {});

    QByteArray successSound() const { return voiceOf(901); }
    QByteArray failSound() const { return voiceOf(902); }
    int count(const QByteArray& sound) const;

    GameHost gameHost;
};

} // namespace lexora::test
