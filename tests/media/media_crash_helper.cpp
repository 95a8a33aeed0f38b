// media_crash_helper COMMON WORD: encodes and decodes the word's voice in COMMON/voice for ever,
// saying "ready" once the first round is done.
#include "media/MediaFiles.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    lexora::MediaFiles media(lexora::MediaFolders(QString(), QString::fromLocal8Bit(argv[1])));
    const QString word = QString::fromLocal8Bit(argv[2]);
    for (bool first = true;; first = false) {
        if (!media.EncryptWordSound(word) || !media.DecryptWordSound(word))
            return 1;
        if (first) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
