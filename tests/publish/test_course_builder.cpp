#include "FakePrompter.h"
#include "publish/CourseBuilder.h"
#include "publish/CourseCatalogue.h"
#include "publish/CourseSource.h"
#include "store/FileHead.h"
#include "store/Random.h"
#include "store/Schema.h"
#include "store/SqlCipher.h"
#include "store/WordStore.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sqlcipher/sqlite3.h>

using namespace lexora;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray decoded(const QString& path)
{
    QByteArray bytes = readAll(path);
    CryptBytesHead(bytes);
    return bytes;
}

// A canonical mono 16-bit PCM WAV holding a short ramp.
QByteArray makeWav()
{
    constexpr quint32 kSamples = 400;
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + 2 * kSamples);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(16000) << quint32(32000) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(2 * kSamples);
    for (quint32 i = 0; i < kSamples; ++i)
        out << qint16((i % 40) * 500);
    return wav;
}

QByteArray makeJpeg()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(30, 160, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// Every file and folder under root with a digest of its content, to see that nothing changed.
std::map<QString, QByteArray> snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = it.fileInfo().isDir()
                          ? QByteArray("dir")
                          : QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1);
    }
    return files;
}

const QString kTinyCourse = QStringLiteral("version\t测试课程\tT1\n"
                                           "book\t0\t书一\n"
                                           "unit\t0\t0\t第一单元\n"
                                           "unit\t0\t1\t第二单元\n"
                                           "book\t1\t书二\n"
                                           "unit\t1\t0\t第三单元\n"
                                           "word\t0\t0\tapple\t苹果\temoji:🍎\n"
                                           "word\t0\t0\tice cream\t冰淇淋\tgreen.jpg\tramp.wav\n"
                                           "word\t0\t1\tapple\t苹果\temoji:🍎\n"
                                           "word\t0\t1\tI'm\t我是\n"
                                           "word\t1\t0\tcat\t猫\temoji:🐱\n");

// The course source with the media files it names.
QString writeSource(const QString& folder, const QString& text)
{
    writeAll(folder + QStringLiteral("/green.jpg"), makeJpeg());
    writeAll(folder + QStringLiteral("/ramp.wav"), makeWav());
    writeAll(folder + QStringLiteral("/text.jpg"), "not a picture");
    const QString source = folder + QStringLiteral("/course.tsv");
    writeAll(source, text.toUtf8());
    return source;
}

class CourseBuild : public ::testing::Test
{
protected:
    // One build serves the checks that only read the result.
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString source = writeSource(s_dir->path(), kTinyCourse);
        const CourseParse parsed = ReadCourseSource(source);
        ASSERT_TRUE(std::holds_alternative<CourseSource>(parsed));
        const auto error = BuildCourse(std::get<CourseSource>(parsed), stage());
        ASSERT_FALSE(error.has_value()) << error->message.toStdString();
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    static QString stage() { return s_dir->path() + QStringLiteral("/stage"); }
    static QString common(const QString& name) { return stage() + QStringLiteral("/Common/") + name; }
    static QString appPics(const QString& name)
    {
        return stage() + QStringLiteral("/Lexora/AppPics/") + name;
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> CourseBuild::s_dir;

TEST_F(CourseBuild, CatalogueReadsBackThroughTheWordStore)
{
    test::FakePrompter prompter;
    SystemRandom random;
    WordStore store(stage() + QStringLiteral("/Lexora"), prompter, random);
    store.MakeConnectString();
    ASSERT_TRUE(store.LoadSettings());
    EXPECT_EQ(store.strVersionName, QStringLiteral("测试课程"));
    EXPECT_EQ(store.arrBookName, (std::vector<QString>{QStringLiteral("书一"), QStringLiteral("书二")}));
    EXPECT_EQ(store.iCurrBook, 0);
    EXPECT_EQ(store.iCurrUnit, 0);
    ASSERT_TRUE(store.LoadBookUnits(0));
    ASSERT_EQ(store.iUnitNum, 2);
    EXPECT_EQ(store.arrBookUnit[1].UnitName, QStringLiteral("第二单元"));
    EXPECT_EQ(store.arrBookUnit[1].UnitStatus, 0);
    ASSERT_TRUE(store.LoadUnitWords(0, 1));
    ASSERT_EQ(store.iWordNum, 2);
    std::map<QString, std::int16_t> composition;
    for (const CWordType& word : store.arrWords)
        composition[word.English] = word.Composition;
    EXPECT_EQ(composition,
              (std::map<QString, std::int16_t>{{QStringLiteral("I'm"), 1}, {QStringLiteral("apple"), 0}}));
    ASSERT_TRUE(store.LoadUnitWords(0, 0));
    EXPECT_EQ(store.iWordNum, 2);
    EXPECT_TRUE(prompter.asked().empty());

    QString printed;
    QTextStream out(&printed);
    EXPECT_TRUE(PrintCatalogue(stage() + QStringLiteral("/Lexora"), prompter, out));
    EXPECT_TRUE(printed.contains(QStringLiteral("Unit 1: 第二单元  (2 words, status 0)")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Unit 0: 第三单元  (1 word, status 0)")));
    EXPECT_TRUE(printed.contains(QStringLiteral("2 books, 5 words")));
}

TEST_F(CourseBuild, DatabaseIsScrambledAndHoldsExactlyTheSchema)
{
    const QString scrambled = appPics(QLatin1String(kDatabaseFileName));
    const QString plain = s_dir->path() + QStringLiteral("/plain.pet");
    ASSERT_TRUE(QFile::copy(scrambled, plain));
    ASSERT_TRUE(CryptFileHead(plain));
    EXPECT_NE(readAll(scrambled).left(72), readAll(plain).left(72));

    QString error;
    auto db = Database::open(plain, QLatin1String(kDatabasePassword), nullptr, &error);
    ASSERT_TRUE(db);
    auto rows = [&db](const QString& sql) {
        QString err;
        std::vector<QStringList> out;
        auto stmt = db->prepare(sql, {}, &err);
        EXPECT_TRUE(stmt) << err.toStdString();
        while (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(stmt.get()); ++c) {
                const QVariant v = ColumnValue(stmt.get(), c);
                row << (v.isNull() ? QStringLiteral("NULL") : v.toString());
            }
            out.push_back(row);
        }
        return out;
    };
    const std::map<QString, QStringList> columns = {
        {QStringLiteral("FeatureTable"), {"LastBook", "LastUnit", "VersionID"}},
        {QStringLiteral("VersionInfo"), {"ID", "VersionName", "VersionDB"}},
        {QStringLiteral("T1_BookUnit"),
         {"BookID", "BookName", "UnitID", "UnitName", "UnitStatus", "UserID", "VersionID"}},
        {QStringLiteral("T1"), {"Book", "Unit", "English", "Chinese", "Composition", "Result"}},
        {QStringLiteral("History"), {"NO", "userID", "Date", "Time", "Task"}},
    };
    std::map<QString, QStringList> found;
    for (const QStringList& table :
         rows(QStringLiteral("select name from sqlite_master where type = 'table'"))) {
        for (const QStringList& column : rows(QStringLiteral("pragma table_info(%1)").arg(table[0])))
            found[table[0]] << column[1];
    }
    EXPECT_EQ(found, columns);
    EXPECT_EQ(rows(QStringLiteral("select * from FeatureTable")),
              (std::vector<QStringList>{{"0", "0", "1"}}));
    EXPECT_EQ(rows(QStringLiteral("select * from VersionInfo")),
              (std::vector<QStringList>{{"1", "测试课程", "T1"}}));
    EXPECT_EQ(rows(QStringLiteral("select * from T1_BookUnit where BookID = 1")),
              (std::vector<QStringList>{{"1", "书二", "0", "第三单元", "0", "NULL", "1"}}));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from T1 where Result is null")),
              (std::vector<QStringList>{{"5"}}));
    EXPECT_EQ(rows(QStringLiteral("select Composition from T1 where English = 'ice cream'")),
              (std::vector<QStringList>{{"1"}}));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from History")), (std::vector<QStringList>{{"0"}}));
}

TEST_F(CourseBuild, WordMediaAreEncodedAndNamedAfterTheWord)
{
    for (const char* word : {"apple", "ice cream", "cat"})
        EXPECT_TRUE(decoded(common(QStringLiteral("pics/%1.pet").arg(QLatin1String(word))))
                        .startsWith("\xFF\xD8\xFF"))
            << word;
    EXPECT_FALSE(QFile::exists(common(QStringLiteral("pics/I'm.pet"))));
    EXPECT_EQ(decoded(common(QStringLiteral("pics/ice cream.pet"))), makeJpeg());

    // The emoji is drawn in colour: the apple has strongly red pixels on its white picture.
    const QImage apple = QImage::fromData(decoded(common(QStringLiteral("pics/apple.pet"))), "JPG");
    ASSERT_EQ(apple.size(), QSize(400, 300));
    EXPECT_EQ(apple.pixelColor(2, 2).lightness(), 255);
    int red = 0;
    for (int y = 0; y < apple.height(); y += 4) {
        for (int x = 0; x < apple.width(); x += 4) {
            const QColor c = apple.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 110 && c.blue() < 110;
        }
    }
    EXPECT_GT(red, 100);

    for (const char* word : {"apple", "ice cream", "I'm", "cat"}) {
        const QByteArray wav = decoded(common(QStringLiteral("voice/%1.abw").arg(QLatin1String(word))));
        EXPECT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE") << word;
    }
    EXPECT_EQ(decoded(common(QStringLiteral("voice/ice cream.abw"))), makeWav());
}

TEST_F(CourseBuild, ProgramSoundsAndPicturesArePlain)
{
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        for (const char name : {letter, static_cast<char>(letter - 'a' + 'A')}) {
            const QByteArray wav = readAll(common(QStringLiteral("voice/%1.wav").arg(QLatin1Char(name))));
            EXPECT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE") << name;
        }
    }
    for (const char* name : {"SuccessWav1.wav", "FailWav0.wav", "Notify0.wav"}) {
        const QByteArray wav = readAll(common(QStringLiteral("appvoice/") + QLatin1String(name)));
        ASSERT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE") << name;
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 20), 1) << name; // PCM
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 34), 16) << name;
        const auto byteRate = qFromLittleEndian<quint32>(wav.constData() + 28);
        EXPECT_LT(wav.size() - 44, static_cast<qsizetype>(byteRate)) << name << ": not under one second";
        int peak = 0;
        for (qsizetype i = 44; i + 1 < wav.size(); i += 2)
            peak = std::max(peak, std::abs(static_cast<int>(qFromLittleEndian<qint16>(wav.constData() + i))));
        EXPECT_GT(peak, 1000) << name;
        EXPECT_LT(peak, 16384) << name << ": too loud";
    }
    EXPECT_EQ(QImage(appPics(QStringLiteral("ffe.jpg"))).size(), QSize(400, 300));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(QImage(appPics(QStringLiteral("Background%1.jpg").arg(n))).size(), QSize(795, 586)) << n;
    EXPECT_TRUE(QDir(common(QStringLiteral("myvoice"))).isEmpty());
}

class CourseRebuild : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_stage = m_dir.filePath(QStringLiteral("stage"));
        m_source = writeSource(m_dir.path(), kTinyCourse);
    }
    CourseSource parsed(const QString& text)
    {
        writeAll(m_source, text.toUtf8());
        const CourseParse result = ReadCourseSource(m_source);
        EXPECT_TRUE(std::holds_alternative<CourseSource>(result));
        return std::holds_alternative<CourseSource>(result) ? std::get<CourseSource>(result) : CourseSource{};
    }
    // An older good tree with the program beside its course.
    void buildOlderTree()
    {
        ASSERT_FALSE(BuildCourse(parsed(kTinyCourse), m_stage).has_value());
        writeAll(m_stage + QStringLiteral("/Lexora/lexora"), "program");
    }

    QTemporaryDir m_dir;
    QString m_stage;
    QString m_source;
};

TEST_F(CourseRebuild, ReplacesTheCourseAndKeepsTheProgram)
{
    buildOlderTree();
    writeAll(m_stage + QStringLiteral("/Common/pics/old.pet"), "old");
    writeAll(m_stage + QStringLiteral("/Lexora/AppPics/old.txt"), "old");
    writeAll(m_stage + QStringLiteral("/Common/myvoice/cat.wav"), "recorded");
    writeAll(m_dir.filePath(QStringLiteral("help.txt")), "帮助");
    CourseBuildOptions options;
    options.appFiles = {m_dir.filePath(QStringLiteral("help.txt"))};
    ASSERT_FALSE(BuildCourse(parsed(kTinyCourse), m_stage, options).has_value());
    EXPECT_EQ(readAll(m_stage + QStringLiteral("/Lexora/AppPics/help.txt")), "帮助");
    EXPECT_EQ(readAll(m_stage + QStringLiteral("/Lexora/lexora")), "program");
    EXPECT_EQ(readAll(m_stage + QStringLiteral("/Common/myvoice/cat.wav")), "recorded");
    EXPECT_FALSE(QFile::exists(m_stage + QStringLiteral("/Common/pics/old.pet")));
    EXPECT_FALSE(QFile::exists(m_stage + QStringLiteral("/Lexora/AppPics/old.txt")));
    EXPECT_EQ(QDir(m_stage).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{QStringLiteral("Common"), QStringLiteral("Lexora")}));
}

struct FailedBuild
{
    const char* name;
    QString replace; // text in the tiny course ...
    QString with;    // ... replaced by this
    CourseBuildOptions options;
    bool removePicture; // the picture file vanishes between reading the source and building
    int line;
    const char* message;
};

void PrintTo(const FailedBuild& c, std::ostream* os)
{
    *os << c.name;
}

class FailedBuilds : public CourseRebuild, public ::testing::WithParamInterface<FailedBuild>
{};

TEST_P(FailedBuilds, LeaveTheOutputAsItWas)
{
    const FailedBuild& c = GetParam();
    const CourseSource course = parsed(QString(kTinyCourse).replace(c.replace, c.with));
    const QString picture = m_dir.filePath(QStringLiteral("green.jpg"));
    for (const bool older : {false, true}) {
        if (older)
            buildOlderTree();
        if (c.removePicture) {
            ASSERT_TRUE(QFile::remove(picture));
        }
        const auto before = snapshot(m_dir.path());
        const auto error = BuildCourse(course, m_stage, c.options);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->line, c.line);
        EXPECT_TRUE(error->message.contains(QLatin1String(c.message))) << error->message.toStdString();
        EXPECT_EQ(snapshot(m_dir.path()), before);
        EXPECT_EQ(QFileInfo::exists(m_stage), older);
        if (c.removePicture)
            writeAll(picture, makeJpeg());
    }
}

CourseBuildOptions tools(const char* flite, const char* sox, QStringList appFiles = {})
{
    CourseBuildOptions options;
    options.flite = QLatin1String(flite);
    options.sox = QLatin1String(sox);
    options.appFiles = std::move(appFiles);
    return options;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CourseBuilder, FailedBuilds, ::testing::Values(
    FailedBuild{"MissingPictureFile", {}, {}, {}, true, 8, "cannot read"},
    FailedBuild{"PictureNotJpeg", QStringLiteral("green.jpg"), QStringLiteral("text.jpg"), {}, false, 8, "not a JPEG"},
    FailedBuild{"EmojiWithoutGlyph", QStringLiteral("emoji:🐱"), QStringLiteral("emoji:Q"), {}, false, 11,
                "no picture for Q"},
    FailedBuild{"FliteFails", {}, {}, tools("false", "sox"), false, 7, "false failed making the voice of \"apple\""},
    FailedBuild{"SoxMissing", {}, {}, tools("flite", "/nonexistent/sox"), false, 0, "cannot run /nonexistent/sox"},
    FailedBuild{"MissingAppFile", {}, {}, tools("flite", "sox", {"/nonexistent/help.txt"}), false, 0,
                "cannot copy /nonexistent/help.txt"},
    FailedBuild{"AppFileInsteadOfCourseFile", {}, {}, tools("flite", "sox", {"/tmp/ffe.jpg"}), false, 0,
                "would replace a file the course makes itself"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(CourseRebuild, HostileEnglishIsRefusedEvenFromCode)
{
    CourseSource course = parsed(kTinyCourse);
    for (const QString& hostile : {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("..")}) {
        course.words.back().english = hostile;
        const auto error = BuildCourse(course, m_stage);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->line, 11);
        EXPECT_FALSE(QFileInfo::exists(m_stage));
        EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("x.pet"))));
    }
}

TEST_F(CourseRebuild, ToolReportsBadRowsReadsTheCatalogueAndTogglesHeaders)
{
    buildOlderTree();
    const auto before = snapshot(m_stage);
    writeAll(m_source, QString(kTinyCourse)
                           .replace(QStringLiteral("unit\t0\t1\t"), QStringLiteral("unit\t0\t0\t"))
                           .toUtf8());
    QProcess tool;
    tool.start(QStringLiteral(LEXORA_COURSE_TOOL),
               {QStringLiteral("build"), m_source, QStringLiteral("--out"), m_stage});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_NE(tool.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError())
                    .contains(m_source + QStringLiteral(":4: unit 0 of book 0 has two names")));
    EXPECT_EQ(snapshot(m_stage), before);

    tool.start(QStringLiteral(LEXORA_COURSE_TOOL),
               {QStringLiteral("catalogue"), m_stage + QStringLiteral("/Lexora")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardOutput()).startsWith(QStringLiteral("测试课程  [T1]")));

    // toggle restores the header for the sqlcipher shell and scrambles it again.
    const QString db = m_stage + QStringLiteral("/Lexora/AppPics/") + QLatin1String(kDatabaseFileName);
    const QByteArray scrambled = readAll(db);
    tool.start(QStringLiteral(LEXORA_COURSE_TOOL), {QStringLiteral("toggle"), db});
    ASSERT_TRUE(tool.waitForFinished(60000));
    QByteArray restored = readAll(db);
    CryptBytesHead(restored);
    EXPECT_EQ(restored, scrambled);

    QFile::remove(db);
    tool.start(QStringLiteral(LEXORA_COURSE_TOOL),
               {QStringLiteral("catalogue"), m_stage + QStringLiteral("/Lexora")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_NE(tool.exitCode(), 0);
}

} // namespace

int main(int argc, char** argv)
{
    // Test discovery runs this without the test environment; drawing needs no display either way.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
