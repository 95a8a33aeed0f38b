// Draws the letter game with its word arranged in one row into a PNG, for the screenshot script:
// which tile carries which letter cannot be seen from outside the program, so the row is laid
// through the game's own mouse handlers. Usage: lexora_games_screens PROGRAM_FOLDER OUT.png
#include "GameTestKit.h"
#include "games/WordPPK2.h"

#include <QApplication>
#include <QDateTime>
#include <cstdio>

int main(int argc, char* argv[])
{
    using namespace lexora;
    using namespace lexora::test;
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: lexora_games_screens PROGRAM_FOLDER OUT.png\n");
        return 2;
    }
    FakePrompter prompter;
    FakeClock clock;
    ScriptedRandom random(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    FakeSoundOut soundOut;
    FakeCaptureDevice capture;
    FakeShellOpener shell;
    Program program(QString::fromLocal8Bit(argv[1]),
                    {prompter, clock, clock, random, soundOut, capture, shell});
    WordStore& store = program.store;
    store.MakeConnectString();
    if (!store.LoadSettings() || !store.LoadBookUnits(store.iCurrBook) ||
        !store.LoadUnitWords(store.iCurrBook, store.iCurrUnit))
        return 1;
    store.ResetTestFlagsSkipPhrases();
    FakeHost host;
    WordPPK2 game(program.context(), host);
    game.resize(816, 545);
    game.runModal = [](QDialog&) { return 0; };
    game.InitGamePPK();
    ArrangeInRow(game, false);
    return game.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
