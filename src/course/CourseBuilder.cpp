#include "course/CourseBuilder.h"

#include "course/CoursePictures.h"
#include "course/CourseSounds.h"
#include "course/EmojiNames.h"
#include "course/PictureChoice.h"
#include "media/WavFile.h"
#include "store/FileHead.h"
#include "store/LearnerRecords.h"
#include "store/Schema.h"
#include "store/SqlCipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <sqlcipher/sqlite3.h>

namespace lexora {

namespace {

constexpr int kVersionID = 1;
const QString kLetters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");

using Result = std::optional<CourseError>;

CourseError fileError(const QString& what, const QString& path, const QString& reason)
{
    return {0, QStringLiteral("cannot %1 %2: %3").arg(what, path, reason)};
}

Result writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return fileError(QStringLiteral("write"), path, file.errorString());
    return std::nullopt;
}

Result writeEncoded(const QString& path, QByteArray bytes)
{
    CryptBytesHead(bytes);
    return writeFile(path, bytes);
}

Result readFile(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(QStringLiteral("read"), path, file.errorString());
    *bytes = file.readAll();
    return std::nullopt;
}

Result writeJpeg(const QString& path, const QImage& image, bool encoded)
{
    QByteArray bytes = EncodeJpeg(image);
    if (bytes.isEmpty())
        return CourseError{0, QStringLiteral("cannot encode JPEG pictures (the Qt JPEG plugin is missing)")};
    return encoded ? writeEncoded(path, bytes) : writeFile(path, bytes);
}

} // namespace

std::vector<const CourseWord*> DistinctWords(const CourseSource& source)
{
    std::map<QString, const CourseWord*> seen;
    std::vector<const CourseWord*> words;
    for (const CourseWord& word : source.words) {
        if (seen.emplace(word.english, &word).second)
            words.push_back(&word);
    }
    return words;
}

namespace {

Result checkSource(const CourseSource& source)
{
    if (!IsValidTableStem(source.versionDB))
        return CourseError{0, QStringLiteral("bad table stem \"%1\"").arg(source.versionDB)};
    for (const CourseWord& word : source.words) {
        if (const auto problem = MediaNameProblem(word.english))
            return CourseError{word.line, *problem};
    }
    return std::nullopt;
}

// The files of AppPics the course makes itself; no other file may stand in for them.
bool IsCourseMadeFile(const QString& name)
{
    return name == QLatin1String(kDatabaseFileName) || name == QLatin1String(kCourseIdFileName) ||
           name == QLatin1String("ffe.jpg") ||
           name.startsWith(QLatin1String("Background"));
}

class Staging
{
public:
    Staging(const CourseSource& source, const CourseBuildOptions& options, const QString& work,
            const QString& stage)
        : m_source(source), m_options(options), m_work(work), m_appPics(work + QStringLiteral("/AppPics")),
          m_common(work + QStringLiteral("/Common")), m_oldAppPics(stage + QStringLiteral("/Lexora/AppPics"))
    {}

    Result makeFolders();
    Result startSpeech();
    Result makePictures();
    Result makeSounds();
    Result makeDatabase();
    Result copyAppFiles();
    Result keepAppFiles();
    Result carryRecords();
    Result writeCourseId();

private:
    void report(CourseStep step, int done, int total) const
    {
        if (m_options.progress)
            m_options.progress(step, done, total);
    }
    QString in(const QString& folder, const QString& name) const { return folder + QLatin1Char('/') + name; }
    QString commonFolder(const char* name) const { return m_common + QLatin1Char('/') + QLatin1String(name); }
    Result wordPicture(const CourseWord& word);
    Result foundPicture(const CourseWord& word, const FoundPicture& found);
    Result writePicturesReport(int total) const;
    QString picturePath(const CourseWord& word) const
    {
        return in(commonFolder(kPicsFolder), word.english + QStringLiteral(".pet"));
    }

    const CourseSource& m_source;
    const CourseBuildOptions& m_options;
    QString m_work;
    QString m_appPics;
    QString m_common;
    QString m_oldAppPics;
    SpeechRun m_speech;
    std::map<const CourseWord*, QString> m_wavOf;
    QStringList m_picturesFound; // report lines: word, emoji and its name, or word and why none
    int m_foundCount = 0;
    int m_sureCount = 0;
};

Result Staging::makeFolders()
{
    for (const QString& folder :
         {m_appPics, commonFolder(kVoiceFolder), commonFolder(kPicsFolder), commonFolder(kAppVoiceFolder),
          commonFolder(kMyVoiceFolder), in(m_work, QStringLiteral("speech"))}) {
        if (!QDir().mkpath(folder))
            return fileError(QStringLiteral("create"), folder, QStringLiteral("mkdir failed"));
    }
    return std::nullopt;
}

Result Staging::wordPicture(const CourseWord& word)
{
    const QString target = picturePath(word);
    if (word.picture.kind == CoursePicture::Kind::Emoji) {
        QString error;
        const auto image = RenderEmojiPicture(word.picture.value, &error);
        if (!image)
            return CourseError{word.line, error};
        return writeJpeg(target, *image, true);
    }
    QByteArray bytes;
    if (auto error = readFile(word.picture.value, &bytes))
        return CourseError{word.line, error->message};
    if (!IsReadableJpeg(bytes))
        return CourseError{word.line,
                           QStringLiteral("picture file %1 is not a JPEG picture").arg(word.picture.value)};
    return writeEncoded(target, bytes);
}

// A word the source gives no picture gets what FindPictures chose: an emoji drawn as the source's own
// emoji are, or a colour splash; when nothing fits or the font cannot draw it, the word stays without
// and the report says why.
Result Staging::foundPicture(const CourseWord& word, const FoundPicture& found)
{
    auto none = [this, &word](const QString& why) {
        m_picturesFound << QStringLiteral("%1\t\t\t%2").arg(word.english, why);
        return std::nullopt;
    };
    if (!m_options.emojiNames && found.kind != FoundPicture::Kind::Colour)
        return none(m_options.emojiNamesMissing);
    if (found.kind == FoundPicture::Kind::None)
        return none(found.remark);
    QString error;
    const auto image = found.kind == FoundPicture::Kind::Colour ? DrawColourPicture(QColor(found.value))
                                                                : RenderEmojiPicture(found.value, &error);
    if (!image)
        return none(QStringLiteral("%1 (%2): %3").arg(found.value, found.name, error));
    const QString mark = found.sure ? QStringLiteral("sure") : QStringLiteral("check: ") + found.remark;
    const QString shown =
        found.kind == FoundPicture::Kind::Colour ? QStringLiteral("colour ") + found.value : found.value;
    m_picturesFound << QStringLiteral("%1\t%2\t%3\t%4").arg(word.english, shown, found.name, mark);
    ++m_foundCount;
    m_sureCount += found.sure ? 1 : 0;
    return writeJpeg(picturePath(word), *image, true);
}

Result Staging::writePicturesReport(int total) const
{
    if (m_options.picturesReport.isEmpty())
        return std::nullopt;
    QStringList lines = {
        QStringLiteral("# Pictures found by name for the words the course gives none."),
        QStringLiteral("# WORD<TAB>PICTURE<TAB>ITS NAME<TAB>sure, or check: why to look at it;"),
        QStringLiteral("# or WORD<TAB><TAB><TAB>why it has none. No two words share a picture.")};
    lines << m_picturesFound;
    lines << QStringLiteral("# %1 of %2 words without a picture got one: %3 sure, %4 to check")
                 .arg(m_foundCount)
                 .arg(total)
                 .arg(m_sureCount)
                 .arg(m_foundCount - m_sureCount);
    return writeFile(m_options.picturesReport, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

Result Staging::makePictures()
{
    if (auto error = writeJpeg(in(m_appPics, QStringLiteral("ffe.jpg")), DrawFallbackPicture(), false))
        return error;
    for (int n = 1; n <= kBackgroundCount; ++n) {
        if (auto error =
                writeJpeg(in(m_appPics, QStringLiteral("Background%1.jpg").arg(n)), DrawBackground(n), false))
            return error;
    }
    const auto words = DistinctWords(m_source);
    const auto found = FindCoursePictures(words, m_options.emojiNames);
    std::map<const CourseWord*, const FoundPicture*> foundOf;
    for (const auto& [word, picture] : found)
        foundOf[word] = &picture;
    const int total = static_cast<int>(words.size());
    int done = 0;
    for (const CourseWord* word : words) {
        const auto it = foundOf.find(word);
        if (auto error = it == foundOf.end() ? wordPicture(*word) : foundPicture(*word, *it->second))
            return error;
        report(CourseStep::Pictures, ++done, total);
    }
    return writePicturesReport(static_cast<int>(m_picturesFound.size()));
}

Result Staging::startSpeech()
{
    // Synthesised speech goes to numbered files first: a word never becomes a file name before it is
    // checked. The voices are read aloud beside the pictures being drawn.
    const QString speech = in(m_work, QStringLiteral("speech"));
    std::vector<SpeechJob> jobs;
    for (const CourseWord* word : DistinctWords(m_source)) {
        if (!word->voiceFile.isEmpty()) {
            m_wavOf[word] = word->voiceFile;
            continue;
        }
        SpeechJob job{word->english, in(speech, QString::number(jobs.size()) + ".wav"), word->line};
        m_wavOf[word] = job.output;
        jobs.push_back(std::move(job));
    }
    for (const QChar letter : kLetters)
        jobs.push_back({letter, in(speech, QStringLiteral("letter-%1.wav").arg(letter)), 0});
    return m_speech.start(jobs, m_options.parallelJobs);
}

Result Staging::makeSounds()
{
    const QString speech = in(m_work, QStringLiteral("speech"));
    const auto words = DistinctWords(m_source);
    if (auto error = RunSoundJobs(FeedbackSoundJobs(m_options.sox, commonFolder(kAppVoiceFolder)), 3))
        return error;
    const int total = m_speech.jobCount();
    report(CourseStep::Voices, 0, total);
    if (auto error = m_speech.finish([this, total](int done) { report(CourseStep::Voices, done, total); }))
        return error;
    auto& wavOf = m_wavOf;

    for (const CourseWord* word : words) {
        QByteArray bytes;
        if (auto error = readFile(wavOf[word], &bytes))
            return CourseError{word->line, error->message};
        // The program plays what is written here, so it must pass the reader the program uses.
        const WavRead voice = CheckWav(bytes);
        if (const auto* why = std::get_if<QString>(&voice))
            return CourseError{
                word->line,
                QStringLiteral("voice file %1 is not a sound Lexora plays: %2").arg(wavOf[word], *why)};
        if (std::get<WavAudio>(voice).data.isEmpty())
            return CourseError{word->line,
                               QStringLiteral("voice file %1 holds no sound (a WAV header without samples)")
                                   .arg(wavOf[word])};
        if (auto error =
                writeEncoded(in(commonFolder(kVoiceFolder), word->english + QStringLiteral(".abw")), bytes))
            return error;
    }
    // The reader spells a word letter by letter from plain files of either case.
    // Written, not copied: a file copy syncs each file to disk, which the whole build waits on.
    for (const QChar letter : kLetters) {
        QByteArray said;
        if (auto error = readFile(in(speech, QStringLiteral("letter-%1.wav").arg(letter)), &said))
            return error;
        for (const QChar name : {letter, letter.toUpper()}) {
            if (auto error =
                    writeFile(in(commonFolder(kVoiceFolder), QString(name) + QStringLiteral(".wav")), said))
                return error;
        }
    }
    return std::nullopt;
}

Result Staging::makeDatabase()
{
    const QString file = in(m_appPics, QLatin1String(kDatabaseFileName));
    QString error;
    {
        auto db = Database::open(file, QLatin1String(kDatabasePassword), nullptr, &error);
        if (!db || !CreateCourseSchema(*db, m_source.versionDB, &error) ||
            !db->exec(QStringLiteral("BEGIN"), &error))
            return CourseError{0, QStringLiteral("cannot create the database: %1").arg(error)};
        auto insert = [&db, &error](const QString& sql, const QVariantList& values) {
            auto statement = db->prepare(sql, values, &error);
            if (statement && sqlite3_step(statement.get()) == SQLITE_DONE)
                return true;
            if (statement)
                error = db->lastError();
            return false;
        };
        const QString stem = m_source.versionDB;
        bool ok =
            insert(
                QStringLiteral("insert into FeatureTable (LastBook, LastUnit, VersionID) values (0, 0, ?)"),
                {kVersionID}) &&
            insert(QStringLiteral("insert into VersionInfo (ID, VersionName, VersionDB) values (?, ?, ?)"),
                   {kVersionID, StoredVersionName(m_source.versionName), stem});
        for (const CourseUnit& unit : m_source.units) {
            ok = ok && insert(QStringLiteral(
                                  "insert into %1_BookUnit (BookID, BookName, UnitID, UnitName, UnitStatus, "
                                  "VersionID) values (?, ?, ?, ?, 0, ?)")
                                  .arg(stem),
                              {unit.book, m_source.books[static_cast<size_t>(unit.book)].name, unit.id,
                               unit.name, kVersionID});
        }
        for (const CourseWord& word : m_source.words) {
            ok = ok &&
                 insert(QStringLiteral("insert into %1 (Book, Unit, English, Chinese, Composition, Result) "
                                       "values (?, ?, ?, ?, ?, NULL)")
                            .arg(stem),
                        {word.book, word.unit, word.english, word.chinese, CompositionOf(word.english)});
        }
        if (!ok || !db->exec(QStringLiteral("COMMIT"), &error))
            return CourseError{0, QStringLiteral("cannot write the database: %1").arg(error)};
    }
    // Stored scrambled, as the program keeps it at rest.
    if (!CryptFileHead(file))
        return fileError(QStringLiteral("scramble"), file, QStringLiteral("write failed"));
    return std::nullopt;
}

Result Staging::copyAppFiles()
{
    for (const QString& file : m_options.appFiles) {
        const QString name = QFileInfo(file).fileName();
        if (IsCourseMadeFile(name))
            return CourseError{0,
                               QStringLiteral("%1 would replace a file the course makes itself").arg(file)};
        const QString target = in(m_appPics, name);
        if (QFileInfo::exists(target) || !QFile::copy(file, target))
            return fileError(QStringLiteral("copy"), file,
                             QStringLiteral("missing, unreadable or named twice"));
    }
    return std::nullopt;
}

Result Staging::keepAppFiles()
{
    const QFileInfoList old = QDir(m_oldAppPics).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& file : old) {
        const QString target = in(m_appPics, file.fileName());
        if (IsCourseMadeFile(file.fileName()) || QFileInfo::exists(target))
            continue;
        if (!QFile::copy(file.filePath(), target))
            return fileError(QStringLiteral("keep"), file.filePath(), QStringLiteral("copy failed"));
    }
    return std::nullopt;
}

// The source's identity, else the one of the tree built before (the same course built again), else a
// new one: learners' records are kept per course identity.
Result Staging::writeCourseId()
{
    QString id = m_source.courseId;
    if (id.isEmpty()) {
        QFile old(in(m_oldAppPics, QLatin1String(kCourseIdFileName)));
        if (old.open(QIODevice::ReadOnly))
            id = QString::fromLatin1(old.read(kMaxCourseIdLength + 1)).trimmed();
        if (!IsValidCourseId(id))
            id = NewCourseId();
    }
    const QString target = in(m_appPics, QLatin1String(kCourseIdFileName));
    QFile file(target);
    const QByteArray line = id.toLatin1() + '\n';
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(line) != line.size())
        return fileError(QStringLiteral("write"), target, file.errorString());
    return std::nullopt;
}

Result Staging::carryRecords()
{
    const QString old = in(m_oldAppPics, QLatin1String(kDatabaseFileName));
    if (!QFileInfo(old).isFile())
        return std::nullopt;
    QString error;
    const auto records = ReadLearnerRecords(old, &error);
    if (!records || !WriteLearnerRecords(in(m_appPics, QLatin1String(kDatabaseFileName)), *records, &error))
        return CourseError{0, QStringLiteral("cannot keep the learning records of %1: %2").arg(old, error)};
    return std::nullopt;
}

// Moves the new AppPics and Common into place, keeping the old ones in `work` until every move
// succeeded; on a failed move everything goes back where it was. The learner's own recordings
// are no course content: an existing myvoice folder moves into the new Common.
Result moveIntoPlace(const QString& work, const QString& stage)
{
    struct Move
    {
        QString target;
        QString fresh;
        QString aside;
        bool setAside = false;
        bool placed = false;
    };
    const QString lexora = stage + QStringLiteral("/Lexora");
    const bool hadLexora = QFileInfo::exists(lexora);
    std::vector<Move> moves = {
        {lexora + QStringLiteral("/AppPics"), work + QStringLiteral("/AppPics"),
         work + QStringLiteral("/old-AppPics")},
        {stage + QStringLiteral("/Common"), work + QStringLiteral("/Common"),
         work + QStringLiteral("/old-Common")},
    };
    const QString recordings = stage + QStringLiteral("/Common/myvoice");
    if (QFileInfo(recordings).isDir() && !QFileInfo(recordings).isSymLink())
        moves.insert(moves.begin(), Move{work + QStringLiteral("/Common/myvoice"), recordings,
                                         work + QStringLiteral("/empty-myvoice")});
    auto undo = [&] {
        for (auto m = moves.rbegin(); m != moves.rend(); ++m) {
            if (m->placed)
                QDir().rename(m->target, m->fresh);
            if (m->setAside)
                QDir().rename(m->aside, m->target);
        }
        if (!hadLexora)
            QDir().rmdir(lexora);
    };
    if (!QDir().mkpath(lexora))
        return fileError(QStringLiteral("create"), lexora, QStringLiteral("mkdir failed"));
    for (Move& m : moves) {
        const QFileInfo old(m.target);
        if (old.exists() || old.isSymLink()) {
            m.setAside = QDir().rename(m.target, m.aside);
            if (!m.setAside) {
                undo();
                return fileError(QStringLiteral("replace"), m.target, QStringLiteral("rename failed"));
            }
        }
        m.placed = QDir().rename(m.fresh, m.target);
        if (!m.placed) {
            undo();
            return fileError(QStringLiteral("create"), m.target, QStringLiteral("rename failed"));
        }
    }
    return std::nullopt;
}

Result buildInStage(const CourseSource& source, const QString& stage, const CourseBuildOptions& options)
{
    QTemporaryDir work(stage + QStringLiteral("/.lexora-course-XXXXXX"));
    if (!work.isValid())
        return fileError(QStringLiteral("create a work folder in"), stage, work.errorString());
    Staging staging(source, options, work.path(), stage);
    for (auto step :
         {&Staging::makeFolders, &Staging::copyAppFiles, &Staging::keepAppFiles, &Staging::startSpeech,
          &Staging::makePictures, &Staging::makeSounds, &Staging::makeDatabase, &Staging::carryRecords, &Staging::writeCourseId}) {
        if (auto error = (staging.*step)())
            return error;
    }
    return moveIntoPlace(work.path(), stage);
}

} // namespace

QString StoredVersionName(const QString& name)
{
    const QChar last = name.isEmpty() ? QChar() : name.back();
    const bool latin = last.unicode() < 0x80 && last.isLetterOrNumber();
    return latin ? name + QLatin1Char(' ') : name;
}

int CompositionOf(const QString& english)
{
    for (const QChar c : english) {
        const char16_t u = c.unicode();
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')))
            return 1;
    }
    return 0;
}

std::optional<CourseError> BuildCourse(const CourseSource& source, const QString& stageDir,
                                       const CourseBuildOptions& options)
{
    if (auto error = checkSource(source))
        return error;
    const QString stage = QDir(stageDir).absolutePath();
    // Remember the folders this build creates, so that a failed build can take them away again.
    QStringList created;
    for (QString dir = stage; !QFileInfo::exists(dir); dir = QFileInfo(dir).absolutePath())
        created << dir;
    if (!QDir().mkpath(stage))
        return fileError(QStringLiteral("create"), stage, QStringLiteral("mkdir failed"));
    auto result = buildInStage(source, stage, options);
    if (result) {
        for (const QString& dir : created)
            QDir().rmdir(dir);
    }
    return result;
}

} // namespace lexora
