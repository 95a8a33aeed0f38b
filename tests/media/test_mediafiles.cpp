#include "CourseFixture.h"
#include "FakeClock.h"
#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "ScriptedRandom.h"
#include "media/MediaFiles.h"
#include "media/SoundPlayer.h"
#include "store/WordStore.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

using namespace lexora;
using namespace lexora::test;

namespace {

QByteArray jpeg(QColor color)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// Content names in the tables: "A"/"B" plain, "a"/"b" the same encoded.
QByteArray content(char id)
{
    static const QByteArray plainA = jpeg(Qt::red);
    static const QByteArray plainB = jpeg(Qt::blue);
    switch (id) {
    case 'A':
        return plainA;
    case 'B':
        return plainB;
    case 'a':
        return Encoded(plainA);
    default:
        return Encoded(plainB);
    }
}

using Files = std::map<QString, char>; // extension -> content name

enum class Op
{
    EncryptPic,
    DecryptPic,
    EncryptSound,
    DecryptSound,
    ShowPic,
    TakeSound
};

struct RuleCase
{
    const char* name;
    Op op;
    Files before;
    Files after;
    char used; // content the caller gets (plain), 0 for none
};

class MediaFilesTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureApplication(); }

    QString folderFor(const QString& extension) const
    {
        return extension == QLatin1String(".jpg") || extension == QLatin1String(".pet")
                   ? media.folders().pics()
                   : media.folders().voice();
    }
    void place(const QString& word, const Files& files)
    {
        for (const auto& [ext, id] : files)
            WriteFile(folderFor(ext) + QLatin1Char('/') + word + ext, content(id));
    }
    Files present(const QString& word) const
    {
        Files out;
        for (const char* ext : {".jpg", ".pet", ".wav", ".abw"}) {
            const QString path = folderFor(QLatin1String(ext)) + QLatin1Char('/') + word + QLatin1String(ext);
            if (!QFile::exists(path))
                continue;
            const QByteArray bytes = ReadFile(path);
            char id = '?';
            for (char c : {'A', 'B', 'a', 'b'})
                if (bytes == content(c))
                    id = c;
            out[QLatin1String(ext)] = id;
        }
        return out;
    }
    std::map<QString, QByteArray> snapshot() const
    {
        std::map<QString, QByteArray> out;
        QDirIterator it(course.root(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            out[path] = it.fileInfo().isFile() ? ReadFile(path) : QByteArray("<dir>");
        }
        return out;
    }

    CourseFixture course;
    MediaFiles media{MediaFolders(course.programFolder(), course.commonFolder())};
};

class MediaFileRules : public MediaFilesTest, public ::testing::WithParamInterface<RuleCase>
{};

TEST_P(MediaFileRules, LeaveTheFolderAsStated)
{
    const RuleCase& c = GetParam();
    const QString word = QStringLiteral("ice cream");
    place(word, c.before);
    std::optional<QByteArray> used;
    switch (c.op) {
    case Op::EncryptPic:
        EXPECT_TRUE(media.EncryptWordPic(word));
        break;
    case Op::DecryptPic:
        EXPECT_TRUE(media.DecryptWordPic(word));
        break;
    case Op::EncryptSound:
        EXPECT_TRUE(media.EncryptWordSound(word));
        break;
    case Op::DecryptSound:
        EXPECT_TRUE(media.DecryptWordSound(word));
        break;
    case Op::ShowPic:
        if (const auto image = media.TakeWordPic(word)) {
            EXPECT_EQ(*image, QImage::fromData(content(c.used)));
            used = content(c.used);
        }
        break;
    case Op::TakeSound:
        used = media.TakeWordSound(word);
        break;
    }
    EXPECT_EQ(present(word), c.after);
    if (c.used)
        EXPECT_EQ(used, content(c.used));
    else
        EXPECT_FALSE(used.has_value());
    EXPECT_EQ(FilesIn(media.folders().pics()).size() + FilesIn(media.folders().voice()).size(),
              c.after.size())
        << "no temporary or stray file is left";
}

const QString J = QStringLiteral(".jpg"), P = QStringLiteral(".pet"), W = QStringLiteral(".wav"),
              E = QStringLiteral(".abw");

INSTANTIATE_TEST_SUITE_P(
    Table, MediaFileRules,
    ::testing::Values(
        RuleCase{"encryptPicPlainOnly", Op::EncryptPic, {{J, 'A'}}, {{P, 'a'}}, 0},
        RuleCase{"encryptPicEncodedOnlyChangesNothing", Op::EncryptPic, {{P, 'a'}}, {{P, 'a'}}, 0},
        RuleCase{"encryptPicReplacesEncoded", Op::EncryptPic, {{J, 'A'}, {P, 'b'}}, {{P, 'a'}}, 0},
        RuleCase{"encryptPicNothing", Op::EncryptPic, {}, {}, 0},
        RuleCase{"decryptPic", Op::DecryptPic, {{P, 'a'}}, {{J, 'A'}}, 0},
        RuleCase{"decryptPicEncodedWins", Op::DecryptPic, {{P, 'a'}, {J, 'B'}}, {{J, 'A'}}, 0},
        RuleCase{"decryptPicPlainOnlyChangesNothing", Op::DecryptPic, {{J, 'A'}}, {{J, 'A'}}, 0},
        RuleCase{"encryptSound", Op::EncryptSound, {{W, 'A'}}, {{E, 'a'}}, 0},
        RuleCase{"encryptSoundPlainReplacesEncoded", Op::EncryptSound, {{W, 'A'}, {E, 'b'}}, {{E, 'a'}}, 0},
        RuleCase{"decryptSound", Op::DecryptSound, {{E, 'a'}}, {{W, 'A'}}, 0},
        RuleCase{"decryptSoundReplacesPlain", Op::DecryptSound, {{E, 'a'}, {W, 'B'}}, {{W, 'A'}}, 0},
        RuleCase{"showEncodedLeavesItAsItWas", Op::ShowPic, {{P, 'a'}}, {{P, 'a'}}, 'A'},
        RuleCase{"showPlainEncodesIt", Op::ShowPic, {{J, 'A'}}, {{P, 'a'}}, 'A'},
        RuleCase{"showBothUsesEncodedDropsPlain", Op::ShowPic, {{P, 'a'}, {J, 'B'}}, {{P, 'a'}}, 'A'},
        RuleCase{"showNothing", Op::ShowPic, {}, {}, 0},
        RuleCase{"voiceEncodedLeavesItAsItWas", Op::TakeSound, {{E, 'a'}}, {{E, 'a'}}, 'A'},
        RuleCase{"voicePlainEncodesIt", Op::TakeSound, {{W, 'A'}}, {{E, 'a'}}, 'A'},
        RuleCase{"voiceBothPlainWins", Op::TakeSound, {{W, 'A'}, {E, 'b'}}, {{E, 'a'}}, 'A'},
        RuleCase{"voiceNothing", Op::TakeSound, {}, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The in-memory helpers must leave exactly what decode, use, encode on disk would leave.
TEST_F(MediaFilesTest, InMemoryHelpersMatchTheOnDiskSequence)
{
    const std::vector<Files> states = {{},         {{J, 'A'}}, {{P, 'a'}},          {{J, 'B'}, {P, 'a'}},
                                       {{W, 'A'}}, {{E, 'a'}}, {{W, 'B'}, {E, 'a'}}};
    int n = 0;
    for (const Files& state : states) {
        const QString onDisk = QStringLiteral("disk%1").arg(n);
        const QString inMemory = QStringLiteral("memory%1").arg(n++);
        place(onDisk, state);
        place(inMemory, state);

        media.DecryptWordPic(onDisk);
        const QImage shownOnDisk =
            media.WordPicExists(onDisk) ? QImage(media.GetWordPicFile(onDisk)) : QImage();
        media.EncryptWordPic(onDisk);
        const QString plainSound = media.folders().voice() + QLatin1Char('/') + onDisk + W;
        if (!QFile::exists(plainSound))
            media.DecryptWordSound(onDisk);
        const QByteArray heardOnDisk = ReadFile(plainSound);
        media.EncryptWordSound(onDisk);

        EXPECT_EQ(media.TakeWordPic(inMemory).value_or(QImage()), shownOnDisk);
        EXPECT_EQ(media.TakeWordSound(inMemory).value_or(QByteArray()), heardOnDisk);
        EXPECT_EQ(present(inMemory), present(onDisk)) << "state " << n - 1;
    }
}

TEST_F(MediaFilesTest, PictureLookupFallsBackToTheProgramFolder)
{
    const QString fallback = course.programFolder() + QStringLiteral("/AppPics/ffe.jpg");
    EXPECT_FALSE(media.WordPicExists(QStringLiteral("cake")));
    EXPECT_EQ(media.GetWordPicFile(QStringLiteral("cake")), fallback);
    place(QStringLiteral("good morning"), {{J, 'A'}});
    EXPECT_TRUE(media.WordPicExists(QStringLiteral("good morning")));
    EXPECT_EQ(media.GetWordPicFile(QStringLiteral("good morning")),
              course.commonFolder() + QStringLiteral("/pics/good morning.jpg"));
}

TEST_F(MediaFilesTest, AnUnreadablePictureIsNoPictureAndStillGoesBackEncoded)
{
    WriteFile(media.folders().pics() + QStringLiteral("/cake.jpg"), QByteArray(200, 'x'));
    EXPECT_FALSE(media.TakeWordPic(QStringLiteral("cake")).has_value());
    EXPECT_EQ(FilesIn(media.folders().pics()), QStringList{QStringLiteral("cake.pet")});
}

TEST_F(MediaFilesTest, OnReadOnlyMediaThePlainFileIsUsedAsFound)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    place(QStringLiteral("cake"), {{J, 'A'}});
    QFile::setPermissions(media.folders().pics(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto image = media.TakeWordPic(QStringLiteral("cake"));
    QFile::setPermissions(media.folders().pics(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(present(QStringLiteral("cake")), (Files{{J, 'A'}}));
}

// Every operation on names that could reach outside the media folders, with a file planted where
// each name would lead.
TEST_F(MediaFilesTest, NamesThatLeaveTheFolderAreRefused)
{
    const QString common = course.commonFolder();
    QDir(media.folders().pics()).mkdir(QStringLiteral("sub"));
    QDir(media.folders().voice()).mkdir(QStringLiteral("sub"));
    for (const QString& planted :
         {common + QStringLiteral("/secret.jpg"), common + QStringLiteral("/secret.pet"),
          common + QStringLiteral("/secret.wav"), common + QStringLiteral("/secret.abw"),
          media.folders().pics() + QStringLiteral("/sub/x.pet"),
          media.folders().voice() + QStringLiteral("/sub/x.wav"),
          media.folders().pics() + QStringLiteral("/a"), media.folders().voice() + QStringLiteral("/a"),
          media.folders().pics() + QStringLiteral("/back\\slash.jpg")})
        WriteFile(planted, content(planted.endsWith(QLatin1String(".pet")) ? 'a' : 'A'));
    const auto before = snapshot();

    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    for (const QString& name :
         {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../secret"),
          QStringLiteral("sub/x"), QStringLiteral("back\\slash"), nul}) {
        SCOPED_TRACE(name.toStdString());
        media.EncryptWordPic(name);
        media.DecryptWordPic(name);
        media.EncryptWordSound(name);
        media.DecryptWordSound(name);
        EXPECT_FALSE(media.WordPicExists(name));
        EXPECT_EQ(media.GetWordPicFile(name), media.folders().fallbackPicture());
        EXPECT_FALSE(media.TakeWordPic(name).has_value());
        EXPECT_FALSE(media.TakeWordSound(name).has_value());
        EXPECT_FALSE(media.WordSoundExists(name));
    }
    EXPECT_EQ(snapshot(), before);
}

// A course whose words point at the database and at folders above: loading and using its words
// must not read, move or change anything.
TEST_F(MediaFilesTest, AHostileCourseTouchesNothingOutsideItsMedia)
{
    course.units = {{0, QStringLiteral("Book"), 0, QStringLiteral("Unit"), QVariant()}};
    for (const char* english : {"../../Lexora/AppPics/lexora", "sub/../../../Lexora/AppPics/lexora", "..",
                                ".", "../voice/hello", "/etc/hostname", "..\\..\\Lexora\\AppPics\\lexora"})
        course.words.push_back({0, 0, QString::fromLatin1(english), QStringLiteral("坏"), 0, QVariant()});
    ASSERT_TRUE(course.build());
    WriteFile(course.commonFolder() + QStringLiteral("/voice/hello.wav"), content('A'));
    WriteFile(course.root() + QStringLiteral("/Lexora/AppPics/lexora.wav"), content('A'));

    FakePrompter prompter;
    ScriptedRandom random;
    WordStore store(course.programFolder(), prompter, random);
    store.MakeConnectString();
    ASSERT_TRUE(store.LoadSettings());
    ASSERT_TRUE(store.LoadUnitWords(0, 0));
    ASSERT_EQ(store.iWordNum, 7);
    const auto before = snapshot();

    MediaFiles files(MediaFolders::fromStore(store));
    FakeSoundOut out;
    FakeClock clock;
    FakeShellOpener opener;
    SoundPlayer player(files, out, clock, prompter, random, opener);
    for (const CWordType& word : store.arrWords) {
        files.DecryptWordPic(word.English);
        EXPECT_FALSE(files.WordPicExists(word.English));
        files.EncryptWordPic(word.English);
        EXPECT_FALSE(files.TakeWordPic(word.English).has_value());
        files.DecryptWordSound(word.English);
        files.EncryptWordSound(word.English);
        player.PlayWordSound(word.English);
        player.PlayWaveFile(word.English);
        player.PlayMyVoice(word.English);
    }
    EXPECT_TRUE(out.played.empty());
    EXPECT_EQ(snapshot(), before);
}

} // namespace
