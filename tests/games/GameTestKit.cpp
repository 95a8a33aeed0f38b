#include "GameTestKit.h"

namespace lexora::test {

GameWorld::GameWorld(const QStringList& words, const QStringList& phrases)
    : ViewWorld(courseOf(words + phrases))
{
    for (size_t i = static_cast<size_t>(words.size()); i < course.words.size(); ++i)
        course.words[i].composition = 1;
    if (!open())
        return;
    for (int i = 0; const QString& word : words + phrases) {
        addPicture(word);
        addVoice(word, ++i);
    }
    WriteFile(course.commonFolder() + QStringLiteral("/appvoice/SuccessWav1.wav"), successSound());
    WriteFile(course.commonFolder() + QStringLiteral("/appvoice/FailWav0.wav"), failSound());
}

void ArrangeInRow(WordPPK2& game, bool putDownLast)
{
    const int n = game.board().count();
    for (int i = 1; i <= n; ++i) {
        const Tile t = game.board().tile(i);
        game.picChar_MouseDown(i, 0, 0);
        game.picChar_MouseMove(i, i * kTileWidth - t.left, 2 * kTileHeight - t.top);
        if (i < n || putDownLast)
            game.picChar_MouseDown(i, 0, 0);
    }
}

} // namespace lexora::test
