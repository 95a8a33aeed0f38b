#include "GameTestKit.h"

#include "games/WordPPK2.h"

namespace lexora::test {

namespace {

CourseFixture CourseWith(const QStringList& words, const QStringList& phrases)
{
    CourseFixture f = ViewWorld::courseOf(words + phrases);
    for (size_t i = static_cast<size_t>(words.size()); i < f.words.size(); ++i)
        f.words[i].composition = 1;
    return f;
}

} // namespace

GameWorld::GameWorld(const QStringList& words, const QStringList& withoutPicture, const QStringList& phrases)
    : ViewWorld(CourseWith(words, phrases))
{
    if (!open())
        return;
    const QStringList all = words + phrases;
    for (int i = 0; i < all.size(); ++i) {
        if (!withoutPicture.contains(all[i]))
            addPicture(all[i]);
        addVoice(all[i], i + 1);
    }
    const QString appVoice = course.commonFolder() + QStringLiteral("/appvoice/");
    WriteFile(appVoice + QStringLiteral("SuccessWav1.wav"), successSound());
    WriteFile(appVoice + QStringLiteral("FailWav0.wav"), failSound());
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
