#include <cstdlib>
#include <gtest/gtest.h>

// Every test runs without a display and without a sound card, also when started by hand.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "disk", 0);
    // The disk driver writes what it plays to a file, by default in the current folder.
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
