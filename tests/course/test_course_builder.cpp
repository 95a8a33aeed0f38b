#include "CourseFixture.h"
#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "course/CourseBuilder.h"
#include "course/CoursePictures.h"
#include "course/CourseSounds.h"
#include "course/EmojiNames.h"
#include "store/Random.h"
#include "store/Schema.h"
#include "store/WordStore.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>

using namespace lexora;
using test::ReadFile;
using test::WriteFile;

namespace {

bool isWav(const QByteArray& bytes)
{
    return bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
}

// Every file and folder under root (folders end in "/") with its content, to see that nothing changed.
std::map<QString, QByteArray> snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path + (it.fileInfo().isDir() ? "/" : "")] = ReadFile(path);
    }
    return files;
}

const QString kTinyCourse =
    QStringLiteral("version\t测试课程\tT1\nbook\t0\t书一\nunit\t0\t0\t第一单元\nunit\t0\t1\t第二单元\nbook\t1"
                   "\t书二\nunit\t1\t0\t第三单元\n"
                   "word\t0\t0\tapple\t苹果\temoji:🍎\nword\t0\t0\tice "
                   "cream\t冰淇淋\tgreen.jpg\tramp.wav\nword\t0\t1\tapple\t苹果\temoji:🍎\n"
                   "word\t0\t1\tI'm\t我是\nword\t1\t0\tcat\t猫\temoji:🐱\n");

// One shared build for the read-only checks; the others build into their own stage.
class CourseBuild : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        test::WithApplication{};
        s_dir = std::make_unique<QTemporaryDir>();
        QImage green(64, 48, QImage::Format_RGB32);
        green.fill(QColor(30, 160, 90));
        ASSERT_TRUE(green.save(s_dir->filePath("green.jpg"), "JPG"));
        WriteFile(s_dir->filePath("ramp.wav"), test::TestWav(PcmFormat{1, 16, 16000}, 400, 0));
        WriteFile(s_dir->filePath("text.jpg"), "not a picture");
        WriteFile(s_dir->filePath("header.wav"), test::TestWav(PcmFormat{1, 16, 16000}, 0, 0));
        WriteFile(s_dir->filePath("course.tsv"), kTinyCourse.toUtf8());
        ASSERT_FALSE(BuildCourse(parsed(), stage()).has_value());
    }

    static CourseSource parsed()
    {
        return std::get<CourseSource>(ReadCourseSource(s_dir->filePath("course.tsv")));
    }
    static QString stage() { return s_dir->path() + "/stage"; }
    static QString common(const QString& name) { return stage() + "/Common/" + name; }
    static QByteArray decoded(const QString& name) { return test::Encoded(ReadFile(common(name))); }

    void buildOlderTree()
    {
        ASSERT_FALSE(BuildCourse(parsed(), m_stage).has_value());
        WriteFile(m_stage + QStringLiteral("/Lexora/lexora"), "program");
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    QTemporaryDir m_dir{s_dir->filePath(QStringLiteral("own-XXXXXX"))}; // inside the shared folder
    QString m_stage = m_dir.filePath(QStringLiteral("stage"));
};

std::unique_ptr<QTemporaryDir> CourseBuild::s_dir;

TEST_F(CourseBuild, CatalogueReadsBackThroughTheWordStore)
{
    test::FakePrompter prompter;
    SystemRandom random;
    WordStore store(stage() + QStringLiteral("/Lexora"), prompter, random);
    ASSERT_TRUE(store.LoadSettings());
    EXPECT_EQ(store.catalogue().versionName(), QStringLiteral("测试课程"));
    EXPECT_EQ(store.catalogue().bookNames(), (std::vector<QString>{QStringLiteral("书一"), QStringLiteral("书二")}));
    ASSERT_TRUE(store.LoadBookUnits(0));
    ASSERT_EQ(store.catalogue().unitCount(), 2);
    EXPECT_EQ(store.catalogue().units()[1].UnitName, QStringLiteral("第二单元"));
    for (auto [book, unit, words] : {std::array{0, 0, 2}, {0, 1, 2}, {1, 0, 1}}) {
        ASSERT_TRUE(store.LoadBookUnits(book));
        ASSERT_TRUE(store.LoadUnitWords(book, unit));
        EXPECT_EQ(store.words().count(), words) << book << unit;
    }
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(CourseBuild, WordMediaAreEncodedAndNamedAfterTheWord)
{
    for (const QString word : {"apple", "ice cream", "I'm", "cat"}) {
        EXPECT_TRUE(isWav(decoded("voice/" + word + ".abw"))) << word.toStdString();
        // "I'm" has no picture in the source, so it gets none.
        EXPECT_EQ(QFile::exists(common("pics/" + word + ".pet")), word != "I'm") << word.toStdString();
        EXPECT_TRUE(word == "I'm" || decoded("pics/" + word + ".pet").startsWith("\xFF\xD8\xFF"))
            << word.toStdString() << " is no JPEG";
    }
    EXPECT_EQ(decoded("pics/ice cream.pet"), ReadFile(s_dir->filePath("green.jpg")));
    EXPECT_EQ(decoded("voice/ice cream.abw"), ReadFile(s_dir->filePath("ramp.wav")));

    // The emoji is drawn in colour: the apple has strongly red pixels on its white picture.
    const QImage apple = QImage::fromData(decoded(QStringLiteral("pics/apple.pet")), "JPG");
    ASSERT_EQ(apple.size(), QSize(800, 600));
    EXPECT_EQ(apple.pixelColor(2, 2).lightness(), 255);
    int red = 0;
    for (int i = 0; i < 800 * 600; i += 16)
        if (const QColor c = apple.pixelColor(i % 800, i / 800);
            c.red() > 180 && c.green() < 110 && c.blue() < 110)
            ++red;
    EXPECT_GT(red, 400);
}

TEST_F(CourseBuild, ProgramSoundsArePlainWaves)
{
    for (const QChar letter : QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"))
        EXPECT_TRUE(isWav(ReadFile(common(QStringLiteral("voice/") + letter + ".wav")))) << letter.toLatin1();
    for (const QString name : {"SuccessWav1.wav", "FailWav0.wav", "Notify0.wav"}) {
        const QByteArray wav = ReadFile(common("appvoice/" + name));
        ASSERT_TRUE(isWav(wav)) << name.toStdString();
        // 16-bit PCM, heard but not too loud.
        EXPECT_EQ(wav.mid(20, 2) + wav.mid(34, 2), QByteArray("\x01\x00\x10\x00", 4)) << name.toStdString();
        int peak = 0;
        for (qsizetype i = 44; i + 1 < wav.size(); i += 2)
            peak = std::max(peak, std::abs(static_cast<int>(qFromLittleEndian<qint16>(wav.constData() + i))));
        EXPECT_TRUE(peak > 1000 && peak < 16384) << name.toStdString() << ": peak " << peak;
    }
}

// A word without a picture gets the emoji its name finds; a word with one keeps it.
TEST_F(CourseBuild, WordsWithoutPicturesGetTheEmojiTheirNameFinds)
{
    QBuffer xml;
    xml.setData(R"(<ldml><annotations>
        <annotation cp="🍏" type="tts">green apple</annotation>
        <annotation cp="🐈" type="tts">cat</annotation></annotations></ldml>)");
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EmojiNames names;
    QString error;
    ASSERT_TRUE(names.addAnnotations(xml, &error));
    CourseBuildOptions options;
    options.emojiNames = &names;
    options.picturesReport = m_dir.filePath(QStringLiteral("pictures.txt"));
    const auto source = std::get<CourseSource>(
        ParseCourseSource("version\tV\tT\nbook\t0\tB\nunit\t0\t0\tU\nword\t0\t0\tapple\t苹果\n"
                          "word\t0\t0\tcat\t猫\temoji:🐱\nword\t0\t0\tstone\t石头\n",
                          m_dir.path()));
    ASSERT_FALSE(BuildCourse(source, m_stage, options).has_value());

    auto picture = [this](const char* word) {
        return test::Encoded(ReadFile(m_stage + "/Common/pics/" + word + ".pet"));
    };
    auto drawn = [&error](const char* emoji) {
        return EncodeJpeg(RenderEmojiPicture(emoji, &error).value());
    };
    EXPECT_EQ(picture("apple"), drawn("🍏"));
    EXPECT_EQ(picture("cat"), drawn("🐱"));
    EXPECT_FALSE(QFile::exists(m_stage + "/Common/pics/stone.pet"));
    EXPECT_EQ(QString::fromUtf8(ReadFile(options.picturesReport)).split('\n').mid(3),
              QStringList({"apple\t🍏\tgreen apple\tsure", "stone\t\t\tno emoji name fits",
                           "# 1 of 2 words without a picture got one: 1 sure, 0 to check", ""}));
}

// A new edition replaces the course and keeps the program, the recordings, the help texts and the
// learning records of what is still there.
TEST_F(CourseBuild, RebuildingKeepsTheProgramRecordingsHelpTextsAndLearningRecords)
{
    using test::CourseFixture;
    using Rows = std::vector<QVariantList>;
    buildOlderTree();
    const QString db = m_stage + "/Lexora/AppPics/" + QLatin1String(kDatabaseFileName);
    WriteFile(m_stage + "/Lexora/AppPics/help.txt", "旧帮助");
    WriteFile(m_stage + "/Common/pics/old.pet", "old");
    WriteFile(m_stage + "/Common/myvoice/cat.wav", "recorded");
    ASSERT_TRUE(
        CourseFixture::execOn(db, "update T1 set Result = '3|1|2' where English = 'apple' and Unit = 0;"
                                  "update T1 set Result = '1|0|1' where English = 'I''m';"
                                  "update T1 set Result = '2|2|0' where English = 'cat';"
                                  "update T1_BookUnit set UnitStatus = 2 where BookID = 0 and UnitID = 1;"));

    // The next edition: cat gone, dog new, the second unit renamed, apple means something else.
    CourseSource next = parsed();
    next.words[4].english = QStringLiteral("dog");
    next.words[4].chinese = QStringLiteral("狗");
    next.words[4].picture.value = QStringLiteral("🐶");
    next.units[1].name = QStringLiteral("第二课");
    next.words[0].chinese = next.words[2].chinese = QStringLiteral("红苹果");
    std::map<CourseStep, std::pair<int, int>> lastHeard;
    CourseBuildOptions options;
    options.progress = [&lastHeard](CourseStep step, int done, int total) {
        lastHeard[step] = {done, total};
    };
    const QString idFile = m_stage + "/Lexora/AppPics/" + QLatin1String(kCourseIdFileName);
    const QByteArray id = ReadFile(idFile);
    ASSERT_FALSE(BuildCourse(next, m_stage, options).has_value());
    // The same course built again keeps its identity, so learners' records still follow it; a source
    // that names its identity gives that one.
    EXPECT_TRUE(IsValidCourseId(QString::fromLatin1(id).trimmed())) << id.toStdString();
    EXPECT_EQ(ReadFile(idFile), id);
    next.courseId = QStringLiteral("given-id");
    ASSERT_FALSE(BuildCourse(next, m_stage, options).has_value());
    EXPECT_EQ(ReadFile(idFile), QByteArray("given-id\n"));

    EXPECT_EQ(CourseFixture::rowsOf(
                  db, "select English, Book, Unit, Chinese, Result from T1 order by Book, Unit, rowid"),
              (Rows{{"apple", 0, 0, "红苹果", "3|1|2"},
                    {"ice cream", 0, 0, "冰淇淋", QVariant()},
                    {"apple", 0, 1, "红苹果", "3|1|2"}, // one result per word, in every row
                    {"I'm", 0, 1, "我是", "1|0|1"},
                    {"dog", 1, 0, "狗", QVariant()}}));
    EXPECT_EQ(
        CourseFixture::rowsOf(db, "select UnitName, UnitStatus from T1_BookUnit order by BookID, UnitID"),
        (Rows{{"第一单元", 0}, {"第二课", 2}, {"第三单元", 0}}));
    EXPECT_EQ(ReadFile(m_stage + "/Lexora/AppPics/help.txt"), "旧帮助");
    EXPECT_EQ(ReadFile(m_stage + "/Lexora/lexora"), "program");
    EXPECT_EQ(ReadFile(m_stage + "/Common/myvoice/cat.wav"), "recorded");
    EXPECT_FALSE(QFile::exists(m_stage + "/Common/pics/old.pet"));
    // Four distinct words: pictures per word; voices per word without its own, letters and feedback.
    EXPECT_EQ(lastHeard[CourseStep::Pictures], std::make_pair(4, 4));
    EXPECT_EQ(lastHeard[CourseStep::Voices].first, lastHeard[CourseStep::Voices].second);
    EXPECT_GT(lastHeard[CourseStep::Voices].second, 26);

    WriteFile(m_dir.filePath("help.txt"), "新帮助");
    options.appFiles = {m_dir.filePath("help.txt")};
    ASSERT_FALSE(BuildCourse(next, m_stage, options).has_value());
    EXPECT_EQ(ReadFile(m_stage + "/Lexora/AppPics/help.txt"), "新帮助");
}

using Course = CourseSource&;
using Options = CourseBuildOptions&;

struct FailedBuild
{
    const char* name;
    void (*spoil)(Course, Options);
    int line;
    const char* message;
};
class FailedBuilds : public CourseBuild, public ::testing::WithParamInterface<FailedBuild>
{};

TEST_P(FailedBuilds, LeaveTheOutputAsItWas)
{
    CourseSource course = parsed();
    CourseBuildOptions options;
    GetParam().spoil(course, options);
    for (const bool older : {false, true}) {
        if (older)
            buildOlderTree();
        const auto before = snapshot(s_dir->path());
        const auto error = BuildCourse(course, m_stage, options);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->line, GetParam().line);
        EXPECT_TRUE(error->message.contains(QLatin1String(GetParam().message)))
            << error->message.toStdString();
        EXPECT_EQ(snapshot(s_dir->path()), before);
        EXPECT_EQ(QFileInfo::exists(m_stage), older);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CourseBuilder, FailedBuilds, ::testing::Values(
    FailedBuild{"MissingPictureFile", [](Course c, Options) { c.words[1].picture.value = "/nonexistent/a.jpg"; }, 8, "cannot read"},
    FailedBuild{"PictureNotJpeg", [](Course c, Options) { c.words[1].picture.value.replace("green.jpg", "text.jpg"); }, 8, "not a JPEG"},
    FailedBuild{"VoiceWithoutSamples", [](Course c, Options) { c.words[1].voiceFile.replace("ramp.wav", "header.wav"); }, 8, "holds no sound"},
    FailedBuild{"EmojiWithoutGlyph", [](Course c, Options) { c.words[4].picture.value = "Q"; }, 11, "no picture for Q"},
    FailedBuild{"HostileEnglish", [](Course c, Options) { c.words[4].english = "../x"; }, 11, "contains '/'"},
    FailedBuild{"SoxMissing", [](Course, Options o) { o.sox = "/nonexistent/sox"; }, 0, "cannot run /nonexistent/sox"},
    FailedBuild{"MissingAppFile", [](Course, Options o) { o.appFiles = {"/nonexistent/help.txt"}; }, 0, "cannot copy /nonexistent/help.txt"},
    FailedBuild{"AppFileInsteadOfCourseFile", [](Course, Options o) { o.appFiles = {"/tmp/ffe.jpg"}; }, 0, "would replace a file the course makes itself"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A voice needs one whole frame of samples, wherever its data chunk lies; a header alone made a silent
// voice once.
TEST(CourseVoices, AWaveNeedsOneWholeFrameOfSamples)
{
    const QByteArray stereo = test::TestWav(PcmFormat{2, 16, 8000}, 1, 3);
    const QByteArray list = QByteArray("LIST", 4) + QByteArray("\x03\0\0\0abc\0", 8);
    const std::tuple<const char*, QByteArray, bool> cases[] = {
        {"header only", test::TestWav(PcmFormat{1, 16, 8000}, 0, 0), false},
        {"one frame", stereo, true},
        {"half a frame", stereo.left(stereo.size() - 2), false},
        {"data after an odd-sized chunk", stereo.left(36) + list + stereo.mid(36), true},
        {"no data chunk", stereo.left(36), false},
        {"not a wave", QByteArray("RIFF\0\0\0\0AVI LIST", 16), false}};
    for (const auto& [name, bytes, samples] : cases)
        EXPECT_EQ(WavHasSamples(bytes), samples) << name;
}

// However many workers read the texts, each text gives the bytes the flite command gives it.
TEST_F(CourseBuild, SpeechIsTheSameInAnyNumberOfWorkers)
{
    const QStringList texts = {"apple", "ice cream", "I'm", "a", "good morning"};
    std::vector<QByteArray> byCommand;
    for (const QString& text : texts) {
        const QString wav = m_dir.filePath(text + ".cmd.wav");
        ASSERT_EQ(QProcess::execute("flite", {"-voice", "slt", "-t", text, "-o", wav}), 0);
        byCommand.push_back(ReadFile(wav));
    }
    for (const int workers : {1, 2, 3}) {
        std::vector<SpeechJob> jobs;
        for (int i = 0; i < texts.size(); ++i)
            jobs.push_back(
                {texts[i], m_dir.filePath(QStringLiteral("%1-%2.wav").arg(workers).arg(i)), i + 1});
        SpeechRun run;
        ASSERT_FALSE(run.start(jobs, workers).has_value());
        ASSERT_FALSE(run.finish().has_value());
        for (int i = 0; i < texts.size(); ++i)
            EXPECT_EQ(ReadFile(jobs[static_cast<size_t>(i)].output), byCommand[static_cast<size_t>(i)])
                << workers << " workers, " << texts[i].toStdString();
    }
}

} // namespace
