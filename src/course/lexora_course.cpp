// lexora-course: builds a course tree from its source, imports word lists, previews a course's
// words and pictures in one page, prints a built course's catalogue, and toggles the scrambled
// header of a database or media file.

#include "course/CourseBuilder.h"
#include "course/CourseCatalogue.h"
#include "course/CourseImport.h"
#include "course/CoursePreview.h"
#include "course/CourseSource.h"
#include "course/EmojiNames.h"
#include "course/TextDecoding.h"
#include "media/WavFile.h"
#include "store/FileHead.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

using namespace lexora;

namespace {

const char* const kUsage =
    "usage:\n"
    "  lexora-course build SOURCE --out STAGE [--jobs N] [--app-file FILE]... [--quiet]\n"
    "                [--pictures-report FILE] [--allow-outside] [IMPORT OPTIONS]\n"
    "      builds STAGE/Lexora/AppPics and STAGE/Common from the course source or\n"
    "      a word list as import reads it; each --app-file is copied into AppPics\n"
    "      as it is (help texts); over an existing tree the learning records and\n"
    "      help texts are kept; a word without a picture gets a splash of its colour\n"
    "      or the emoji its meaning and English name find, no two words the same,\n"
    "      and --pictures-report lists which words got which picture, each marked\n"
    "      sure or check, and which got none; a picture or voice outside the\n"
    "      source's folder is refused unless --allow-outside is given\n"
    "  lexora-course import FILE --out SOURCE.tsv [IMPORT OPTIONS]\n"
    "      writes a course source from a KVTML 2 vocabulary file, a CSV/TSV\n"
    "      spreadsheet with a header row or a plain list of words (UTF-8, UTF-16,\n"
    "      GB18030/GBK or Big5 text)\n"
    "      IMPORT OPTIONS: --english COL  --chinese COL  (column or identifier,\n"
    "      by name or number)  --course-name NAME (when the file has no title)\n"
    "      --book-name NAME (alias --book; for words whose row names no book)\n"
    "      --unit-size N (default 10)\n"
    "      --encoding UTF-8|GBK|GB18030|Big5 (for a text file whose encoding\n"
    "      cannot be told from its bytes, such as a short GBK list)\n"
    "  lexora-course preview SOURCE --out FILE.html [IMPORT OPTIONS]\n"
    "      writes one page that shows every word with its meaning and the picture\n"
    "      the build would give it, found pictures marked sure or check\n"
    "  lexora-course catalogue PROGRAMFOLDER\n"
    "      prints the course of a program folder (e.g. STAGE/Lexora)\n"
    "  lexora-course toggle FILE\n"
    "      restores or scrambles the first 72 bytes of FILE (its own inverse)\n"
    "  lexora-course check-reading WORD FILE.wav [--words LIST]\n"
    "      listens to a reading of WORD among the comma-separated words of LIST and\n"
    "      prints good, again or silent and what the recogniser heard\n"
    "  lexora-course --help | --version\n";

void printError(const QString& text)
{
    std::fprintf(stderr, "lexora-course: %s\n", qUtf8Printable(text));
}

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

// A line that rewrites itself on a terminal: "pictures 12/105".
void showProgress(CourseStep step, int done, int total)
{
    const char* what = step == CourseStep::Pictures ? "pictures" : "voices";
    std::fprintf(stderr, "\r%-8s %4d/%d", what, done, total);
    if (done == total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

enum class Taken
{
    No,
    Yes,
    Bad
};

// Takes args[i] and its value when it is an import option.
Taken importOption(const QStringList& args, int& i, ImportOptions& options)
{
    const QString& name = args[i];
    QString* text = name == QLatin1String("--english")       ? &options.english
                    : name == QLatin1String("--chinese")     ? &options.chinese
                    : name == QLatin1String("--book")        ? &options.book
                    : name == QLatin1String("--book-name")   ? &options.book
                    : name == QLatin1String("--course-name") ? &options.course
                    : name == QLatin1String("--encoding")    ? &options.encoding
                                                             : nullptr;
    if (!text && name != QLatin1String("--unit-size"))
        return Taken::No;
    if (i + 1 >= args.size())
        return Taken::Bad;
    const QString& value = args[++i];
    if (text) {
        *text = value;
        return text != &options.encoding || IsKnownWordListEncoding(value) ? Taken::Yes : Taken::Bad;
    }
    bool number = false;
    options.unitSize = value.toInt(&number);
    return number && options.unitSize >= 1 && options.unitSize <= 1000 ? Taken::Yes : Taken::Bad;
}

void printNotes(const std::vector<CourseError>& notes, const QString& file)
{
    for (const CourseError& note : notes)
        printError(note.describe(file));
}

// FILE --out OUT [IMPORT OPTIONS], as import and preview take them; false on anything else.
bool fileAndOut(const QStringList& args, QString* file, QString* out, ImportOptions* options)
{
    for (int i = 0; i < args.size(); ++i) {
        const Taken taken = importOption(args, i, *options);
        if (taken == Taken::Yes)
            continue;
        if (taken == Taken::No && args[i] == QLatin1String("--out") && i + 1 < args.size())
            *out = args[++i];
        else if (taken == Taken::No && file->isEmpty() && !args[i].startsWith(QLatin1String("--")))
            *file = args[i];
        else
            return false;
    }
    return !file->isEmpty() && !out->isEmpty();
}

// Reads a course source or word list with its notes printed; nothing (after saying why) when it
// cannot be read.
std::optional<CourseSource> readCourse(const QString& source, const ImportOptions& options)
{
    std::vector<CourseError> notes;
    CourseParse parsed = ReadAnyCourse(source, options, &notes);
    printNotes(notes, source);
    if (const auto* error = std::get_if<CourseError>(&parsed)) {
        printError(error->describe(source));
        return std::nullopt;
    }
    return std::move(std::get<CourseSource>(parsed));
}

int importWords(const QStringList& args)
{
    QString file;
    QString out;
    ImportOptions options;
    if (!fileAndOut(args, &file, &out, &options))
        return usage();
    const ImportResult imported = ImportCourse(file, options);
    if (const auto* error = std::get_if<CourseError>(&imported)) {
        printError(error->describe(file));
        return 1;
    }
    const auto& result = std::get<CourseImport>(imported);
    printNotes(result.notes, file);
    if (const auto error = WriteCourseSourceFile(result, file, out)) {
        printError(error->describe(file));
        return 1;
    }
    const auto missing = std::count_if(result.course.words.begin(), result.course.words.end(),
                                       [](const CourseWord& w) { return w.chinese.isEmpty(); });
    const QString encoding =
        result.encoding.isEmpty() ? QString() : result.encoding + QStringLiteral(" text; ");
    std::printf("lexora-course: imported %s (%s%zu books, %zu units, %zu words) into %s\n",
                qUtf8Printable(file), qUtf8Printable(encoding), result.course.books.size(),
                result.course.units.size(), result.course.words.size(), qUtf8Printable(out));
    if (result.namedAfterFile)
        std::printf("lexora-course: the course is named \"%s\" after its file (the title bar reads "
                    "\"%sLexora -- ...\"): give it a name with --course-name\n",
                    qUtf8Printable(result.course.versionName),
                    qUtf8Printable(StoredVersionName(result.course.versionName)));
    if (result.bookNamedAfterFile)
        std::printf("lexora-course: a book is named after the file: give it a name with --book-name\n");
    if (missing > 0)
        std::printf("lexora-course: %zu words have no Chinese meaning yet: fill them in before building\n",
                    static_cast<size_t>(missing));
    return 0;
}

int build(const QStringList& args)
{
    QString source;
    QString stage;
    bool quiet = false;
    bool allowOutside = false;
    CourseBuildOptions options;
    ImportOptions importOptions;
    for (int i = 0; i < args.size(); ++i) {
        const Taken taken = importOption(args, i, importOptions);
        if (taken == Taken::Bad)
            return usage();
        if (taken == Taken::Yes)
            continue;
        if (args[i] == QLatin1String("--quiet") || args[i] == QLatin1String("--allow-outside")) {
            (args[i] == QLatin1String("--quiet") ? quiet : allowOutside) = true;
            continue;
        }
        if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            stage = args[++i];
        } else if (args[i] == QLatin1String("--jobs") && i + 1 < args.size()) {
            options.parallelJobs = std::clamp(args[++i].toInt(), 1, 16);
        } else if (args[i] == QLatin1String("--app-file") && i + 1 < args.size()) {
            options.appFiles << args[++i];
        } else if (args[i] == QLatin1String("--pictures-report") && i + 1 < args.size()) {
            options.picturesReport = args[++i];
        } else if (source.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            source = args[i];
        } else {
            return usage();
        }
    }
    if (source.isEmpty() || stage.isEmpty())
        return usage();
    if (!quiet && isatty(STDERR_FILENO))
        options.progress = showProgress;
    QElapsedTimer timer;
    timer.start();
    const auto read = readCourse(source, importOptions);
    if (!read)
        return 1;
    const CourseSource& course = *read;
    // A source handed on by someone else must not copy files from anywhere on this machine.
    if (const auto outside =
            allowOutside ? std::nullopt : MediaOutsideFolder(course, QFileInfo(source).absolutePath())) {
        printError(outside->describe(source));
        return 1;
    }
    // Voices are checked before anything is made, as the program will read them.
    for (const CourseWord& word : course.words) {
        const WavRead voice = word.voiceFile.isEmpty() ? WavRead() : CheckWavFile(word.voiceFile);
        if (const auto* why = std::get_if<QString>(&voice)) {
            printError(CourseError{
                word.line,
                QStringLiteral("voice file %1 is not a sound Lexora plays: %2").arg(word.voiceFile, *why)}
                           .describe(source));
            return 1;
        }
    }
    EmojiNames emojiNames;
    QString missing;
    if (emojiNames.loadFiles(EmojiNames::InstalledFiles(), &missing))
        options.emojiNames = &emojiNames;
    else
        options.emojiNamesMissing =
            QStringLiteral("no emoji names (install unicode-cldr-core): %1").arg(missing);
    if (const auto error = BuildCourse(course, stage, options)) {
        printError(error->describe(source));
        return 1;
    }
    if (quiet)
        return 0;
    std::printf("lexora-course: built %s (%zu books, %zu units, %zu words) into %s in %.1f s\n",
                qUtf8Printable(course.versionName), course.books.size(), course.units.size(),
                course.words.size(), qUtf8Printable(stage), static_cast<double>(timer.elapsed()) / 1000.0);
    return 0;
}

int preview(const QStringList& args)
{
    QString source;
    QString out;
    ImportOptions importOptions;
    if (!fileAndOut(args, &source, &out, &importOptions))
        return usage();
    const auto read = readCourse(source, importOptions);
    if (!read)
        return 1;
    const CourseSource& course = *read;
    EmojiNames emojiNames;
    QString missing;
    const bool named = emojiNames.loadFiles(EmojiNames::InstalledFiles(), &missing);
    if (!named)
        printError(QStringLiteral("no emoji names (install unicode-cldr-core): %1").arg(missing));
    if (const auto error = WriteCoursePreview(course, out, named ? &emojiNames : nullptr)) {
        printError(error->describe(source));
        return 1;
    }
    std::printf("lexora-course: wrote the preview of %s (%zu words) to %s\n",
                qUtf8Printable(course.versionName), course.words.size(), qUtf8Printable(out));
    return 0;
}

int catalogue(const QStringList& args)
{
    if (args.size() != 1)
        return usage();
    ConsolePrompter prompter;
    QTextStream out(stdout);
    if (!PrintCatalogue(args[0], prompter, out)) {
        printError(QStringLiteral("the catalogue of %1 cannot be read").arg(args[0]));
        return 1;
    }
    return 0;
}

int toggle(const QStringList& args)
{
    if (args.size() != 1)
        return usage();
    if (!QFileInfo(args[0]).isFile()) {
        printError(QStringLiteral("no such file: %1").arg(args[0]));
        return 1;
    }
    if (!CryptFileHead(args[0])) {
        printError(QStringLiteral("cannot rewrite the head of %1").arg(args[0]));
        return 1;
    }
    return 0;
}

// The spoken-word check is its own program, so that the course tools do not carry the recogniser;
// the old command line is handed on to it.
int checkReading(char* argv[])
{
    const QByteArray program =
        QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-check-reading"));
    argv[1] = const_cast<char*>(program.constData());
    execv(program.constData(), argv + 1);
    printError(QStringLiteral("cannot run %1: %2")
                   .arg(QFile::decodeName(program), QString::fromLocal8Bit(std::strerror(errno))));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // Pictures are drawn with fonts, which needs a GUI application; no display is needed.
    std::unique_ptr<QCoreApplication> app;
    if (command == QLatin1String("build") || command == QLatin1String("preview")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = QCoreApplication::arguments().mid(2);
    if (command == QLatin1String("build"))
        return build(args);
    if (command == QLatin1String("import"))
        return importWords(args);
    if (command == QLatin1String("preview"))
        return preview(args);
    if (command == QLatin1String("catalogue"))
        return catalogue(args);
    if (command == QLatin1String("toggle"))
        return toggle(args);
    if (command == QLatin1String("check-reading"))
        return checkReading(argv);
    if (command == QLatin1String("--version")) {
        std::printf("lexora-course %s\n", LEXORA_VERSION);
        return 0;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return usage();
}
