// For the screenshot script: the letter game's word laid in one row by its own mouse handlers (the tiles'
// letters cannot be seen from outside), drawn into a PNG. Usage: lexora_games_screens PROGRAM_FOLDER OUT.png
#include "GameTestKit.h"
#include "games/WordPPK2.h"

#include <QApplication>
#include <QDateTime>

int main(int argc, char* argv[])
{
    using namespace lexora;
    using namespace lexora::test;
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    FakeServices fakes(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    Program program(QString::fromLocal8Bit(argv[1]), fakes.services());
    WordStore& store = program.store;
    if (!store.LoadSettings() || !store.LoadBookUnits(store.catalogue().currentBook()) ||
        !store.LoadUnitWords(store.catalogue().currentBook(), store.catalogue().currentUnit()))
        return 1;
    store.words().ResetTestFlagsSkipPhrases();
    FakeHost host;
    WordPPK2 game(program.context(), host);
    game.resize(816, 545);
    game.runModal = [](QDialog&) { return 0; };
    game.InitGamePPK();
    ArrangeInRow(game, false);
    return game.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
