// lexora-check-reading: judges a reading of a word as the reader's recording panel does.

#include "media/WavFile.h"
#include "speech/SphinxChecker.h"

#include <QCoreApplication>
#include <cstdio>

using namespace lexora;

namespace {

const char* const kUsage = "usage: lexora-check-reading WORD FILE.wav [--words LIST]\n"
                           "  listens to a reading of WORD among the comma-separated words of LIST and\n"
                           "  prints good, again or silent and what the recogniser heard\n";

void printError(const QString& text)
{
    std::fprintf(stderr, "lexora-check-reading: %s\n", qUtf8Printable(text));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("help"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--words"))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const WavRead reading = CheckWavFile(args[1]);
    if (const auto* why = std::get_if<QString>(&reading)) {
        printError(QStringLiteral("%1: not a readable PCM WAV file: %2").arg(args[1], *why));
        return 1;
    }
    const QStringList words =
        args.size() == 4 ? args[3].split(QLatin1Char(','), Qt::SkipEmptyParts) : QStringList();
    SphinxChecker checker;
    const ReadingResult result = checker.check(args[1], args[0], words);
    static const char* const kVerdicts[] = {"good", "again", "silent"};
    if (result.verdict == ReadingVerdict::Unavailable) {
        printError(QStringLiteral("the speech recogniser or its English model is not installed"));
        return 1;
    }
    std::printf("%s\t%s\n", kVerdicts[static_cast<int>(result.verdict)], qUtf8Printable(result.hypothesis));
    return 0;
}
