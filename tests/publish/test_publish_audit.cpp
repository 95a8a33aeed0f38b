#include "media/MediaFiles.h"
#include "publish/PublishAudit.h"
#include "test_publish_tree.h"

#include <QBuffer>
#include <QImage>

using namespace lexora;
using lexora::test::PublishTree;
using ListUpdate = PublishReport::ListUpdate;

namespace {

// ---- loading the word list ----------------------------------------------------------------------

struct LoadCase
{
    const char* name;
    QByteArray content;
    QStringList words;
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoadAllWords : public PublishTree, public ::testing::WithParamInterface<LoadCase>
{};

TEST_P(LoadAllWords, KeepsTrimmedDistinctLinesInFileOrder)
{
    PublishAudit audit;
    ASSERT_TRUE(audit.LoadAllWords(writeWords(GetParam().content)));
    EXPECT_EQ(audit.words(), GetParam().words);
    for (const QString& word : GetParam().words)
        EXPECT_TRUE(audit.IsWordInList(word));
    EXPECT_FALSE(audit.IsWordInList(QString()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadAllWords,
    ::testing::Values(LoadCase{"blanksEmptyLinesDuplicates", "apple\n\n  apple  \nbook\n", {"apple", "book"}},
                      LoadCase{"windowsLineEndsAndTabs",
                               "apple\r\n\tbook\t\r\n\r\nice cream\r\n",
                               {"apple", "book", "ice cream"}},
                      LoadCase{"caseMatters", "Apple\napple\nApple\n", {"Apple", "apple"}},
                      LoadCase{"byteOrderMarkAndChinese",
                               "\xEF\xBB\xBF"
                               "apple\n苹果\n",
                               {"apple", QStringLiteral("苹果")}},
                      LoadCase{"noFinalLineBreak", "pear", {"pear"}},
                      LoadCase{"onlyBlanks", "  \n\n \t\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PublishTree, UnreadableWordFileKeepsTheListLoaded)
{
    PublishAudit audit;
    ASSERT_TRUE(audit.LoadAllWords(writeWords("apple\n")));
    EXPECT_FALSE(audit.LoadAllWords(path(QStringLiteral("nowhere.txt"))));
    EXPECT_FALSE(audit.LoadAllWords(QString()));
    EXPECT_EQ(audit.words(), QStringList{QStringLiteral("apple")});
}

// ---- audio ---------------------------------------------------------------------------------------

class AudioCopy : public PublishTree
{
protected:
    PublishAudit load(const QByteArray& words)
    {
        PublishAudit audit;
        EXPECT_TRUE(audit.LoadAllWords(writeWords(words)));
        return audit;
    }
};

TEST_F(AudioCopy, DuplicatesInTheListDoNotLeaveAMissingEmptyWord)
{
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("src2/book.wav"), wav(QStringLiteral("book")));
    const PublishAudit audit = load("apple\n\n  apple  \nbook\n");

    const PublishReport report = audit.copyAudio(folders());
    EXPECT_TRUE(report.items.isEmpty());
    EXPECT_EQ(report.message, QStringLiteral("check audio finished！"));
    EXPECT_EQ(report.status, QStringLiteral("缺乏音频文件的单词"));
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(files(QStringLiteral("voice")), (QStringList{"apple.abw", "book.abw"}));
}

TEST_F(AudioCopy, FirstSourceIsPreferredOverTheSecond)
{
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple"), "first"));
    write(QStringLiteral("src2/apple.wav"), wav(QStringLiteral("apple"), "second"));
    write(QStringLiteral("src2/book.wav"), wav(QStringLiteral("book"), "second"));
    const PublishAudit audit = load("apple\nbook\n");

    ASSERT_TRUE(audit.copyAudio(folders()).complete);
    EXPECT_EQ(decoded(QStringLiteral("voice/apple.abw")), wav(QStringLiteral("apple"), "first"));
    EXPECT_EQ(decoded(QStringLiteral("voice/book.abw")), wav(QStringLiteral("book"), "second"));
    // The sources stay as they were.
    EXPECT_EQ(read(QStringLiteral("src2/apple.wav")), wav(QStringLiteral("apple"), "second"));
}

TEST_F(AudioCopy, MissingWordsAreListedByTheCheckAndTheCopy)
{
    write(QStringLiteral("src2/apple.wav"), wav(QStringLiteral("apple")));
    const PublishAudit audit = load("apple\npear\nice cream\n");

    const PublishReport check = audit.checkAudio(folders());
    EXPECT_EQ(check.items, (QStringList{"pear", "ice cream"}));
    EXPECT_EQ(check.status, QStringLiteral("缺乏音频文件的单词:2"));
    EXPECT_EQ(check.message, QStringLiteral("check audio finished！"));
    EXPECT_EQ(check.listUpdate, ListUpdate::Replace);
    EXPECT_TRUE(files(QStringLiteral("voice")).isEmpty()) << "a check writes nothing";

    const PublishReport copy = audit.copyAudio(folders());
    EXPECT_EQ(copy.items, (QStringList{"pear", "ice cream"}));
    EXPECT_EQ(copy.message, QStringLiteral("还有单词没有音频文件"));
    EXPECT_FALSE(copy.complete);
    EXPECT_EQ(files(QStringLiteral("voice")), QStringList{"apple.abw"});
}

TEST_F(AudioCopy, OlderEncodedVoiceIsReplacedAndAPlainLeftoverEncoded)
{
    write(QStringLiteral("voice/apple.abw"), QByteArray("old voice"));
    write(QStringLiteral("voice/apple.wav"), QByteArray("half copied"));
    write(QStringLiteral("voice/pear.wav"), wav(QStringLiteral("pear"), "left"));
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    const PublishAudit audit = load("apple\npear\n");

    const PublishReport report = audit.copyAudio(folders());
    EXPECT_EQ(report.items, QStringList{"pear"});
    EXPECT_EQ(files(QStringLiteral("voice")), (QStringList{"apple.abw", "pear.abw"}));
    EXPECT_EQ(decoded(QStringLiteral("voice/apple.abw")), wav(QStringLiteral("apple")));
    EXPECT_EQ(decoded(QStringLiteral("voice/pear.abw")), wav(QStringLiteral("pear"), "left"));
}

TEST_F(AudioCopy, FailedCopyIsReported)
{
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("src1/b/book.wav"), wav(QStringLiteral("book")));
    // A folder in the way of the encoded name makes the write fail, whoever runs the test.
    write(QStringLiteral("voice/apple.abw/keep"), QByteArray("x"));
    const PublishAudit audit = load("apple\nbook\n");

    const PublishReport report = audit.copyAudio(folders());
    EXPECT_EQ(report.items, QStringList{"apple"});
    EXPECT_EQ(report.message, QStringLiteral("还有单词没有音频文件"));
    EXPECT_FALSE(report.complete);
    EXPECT_EQ(decoded(QStringLiteral("voice/book.abw")), wav(QStringLiteral("book")));
}

TEST_F(AudioCopy, CopyAllTakesEveryVoiceOfTheFlatSourceOnly)
{
    write(QStringLiteral("src2/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("src2/Book.WAV"), wav(QStringLiteral("Book")));
    write(QStringLiteral("src2/notes.txt"), QByteArray("notes"));
    write(QStringLiteral("src2/old.wav.bak"), QByteArray("bak"));
    write(QStringLiteral("src1/c/cat.wav"), wav(QStringLiteral("cat")));

    const PublishReport report = PublishAudit().copyAllAudio(folders());
    EXPECT_EQ(report.message, QStringLiteral("OK！"));
    EXPECT_TRUE(report.items.isEmpty());
    EXPECT_EQ(report.listUpdate, ListUpdate::Append);
    EXPECT_EQ(files(QStringLiteral("voice")), (QStringList{"Book.abw", "apple.abw"}));
    EXPECT_EQ(decoded(QStringLiteral("voice/Book.abw")), wav(QStringLiteral("Book")));
}

// ---- pictures ------------------------------------------------------------------------------------

class PictureCopy : public AudioCopy
{};

TEST_F(PictureCopy, SourceFolderWithoutTrailingSeparatorStillFindsEveryPicture)
{
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));
    write(QStringLiteral("pics/ice cream.jpg"), jpg(QStringLiteral("ice cream")));
    write(QStringLiteral("picsapple.jpg"), jpg(QStringLiteral("glued")));
    const PublishAudit audit = load("apple\nice cream\npear\n");

    for (const QString& folder : {path(QStringLiteral("pics")), path(QStringLiteral("pics/"))}) {
        PublishFolders typed = folders();
        typed.picSrc = folder;
        const PublishReport report = audit.checkPics(typed);
        EXPECT_EQ(report.items, QStringList{"pear"}) << folder.toStdString();
        EXPECT_EQ(report.status, QStringLiteral("缺乏图片文件的单词:\n1"));
        EXPECT_EQ(report.message, QStringLiteral("check picture finished！"));
    }
}

TEST_F(PictureCopy, RunningTheCopyTwiceCopiesAgain)
{
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple"), "v1"));
    const PublishAudit audit = load("apple\n");

    const PublishReport first = audit.copyPics(folders());
    EXPECT_EQ(first.message, QStringLiteral("ok"));
    EXPECT_EQ(first.listUpdate, ListUpdate::Keep);
    EXPECT_EQ(files(QStringLiteral("pdest")), QStringList{"apple.pet"});

    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple"), "v2"));
    EXPECT_EQ(audit.copyPics(folders()).message, QStringLiteral("ok"));
    EXPECT_EQ(files(QStringLiteral("pdest")), QStringList{"apple.pet"});
    EXPECT_EQ(decoded(QStringLiteral("pdest/apple.pet")), jpg(QStringLiteral("apple"), "v2"));
}

TEST_F(PictureCopy, DestinationKeepsItsPictureWhenTheSourceHasNone)
{
    write(QStringLiteral("pdest/pear.pet"), QByteArray("older encoded pear"));
    write(QStringLiteral("pdest/apple.pet"), QByteArray("older encoded apple"));
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));
    const PublishAudit audit = load("apple\npear\n");

    const PublishReport report = audit.copyPics(folders());
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(read(QStringLiteral("pdest/pear.pet")), QByteArray("older encoded pear"));
    EXPECT_EQ(decoded(QStringLiteral("pdest/apple.pet")), jpg(QStringLiteral("apple")));
}

TEST_F(PictureCopy, CopyAllTakesPicturesOfAnyCaseAndListsTheRest)
{
    write(QStringLiteral("pics/a.jpg"), jpg(QStringLiteral("a")));
    write(QStringLiteral("pics/b.JPG"), jpg(QStringLiteral("b")));
    write(QStringLiteral("pics/notes.txt"), QByteArray("notes"));
    write(QStringLiteral("pics/sub/c.jpg"), jpg(QStringLiteral("c")));

    const PublishReport report = PublishAudit().copyAllPics(folders());
    EXPECT_EQ(report.items, QStringList{"notes.txt"});
    EXPECT_EQ(report.listUpdate, ListUpdate::Append);
    EXPECT_EQ(report.message, QStringLiteral("OK"));
    EXPECT_TRUE(report.status.isEmpty());
    EXPECT_EQ(files(QStringLiteral("pdest")), (QStringList{"a.pet", "b.pet"}));
    EXPECT_EQ(decoded(QStringLiteral("pdest/b.pet")), jpg(QStringLiteral("b")));
}

// ---- what the program makes of the copies --------------------------------------------------------

TEST_F(PictureCopy, CopiedMediaAreShownAndHeardByTheProgram)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "JPG"));
    write(QStringLiteral("pics/ice cream.jpg"), jpeg);
    write(QStringLiteral("src1/i/ice cream.wav"), wav(QStringLiteral("ice cream")));
    const PublishAudit audit = load("ice cream\n");

    // The program's common folder as destination of both copies.
    PublishFolders typed = folders();
    typed.picDest = path(QStringLiteral("Common/pics"));
    typed.audioDest = path(QStringLiteral("Common/voice"));
    QDir().mkpath(typed.picDest);
    QDir().mkpath(typed.audioDest);
    ASSERT_TRUE(audit.copyPics(typed).complete);
    ASSERT_TRUE(audit.copyAudio(typed).complete);

    MediaFiles media(MediaFolders(path(QStringLiteral("Lexora")), path(QStringLiteral("Common"))));
    const std::optional<QImage> shown = media.TakeWordPic(QStringLiteral("ice cream"));
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->size(), picture.size());
    EXPECT_EQ(media.TakeWordSound(QStringLiteral("ice cream")), wav(QStringLiteral("ice cream")));
    // Both went back to rest as the tool left them.
    EXPECT_EQ(files(QStringLiteral("Common/pics")), QStringList{"ice cream.pet"});
    EXPECT_EQ(files(QStringLiteral("Common/voice")), QStringList{"ice cream.abw"});
}

// ---- folders the copies refuse --------------------------------------------------------------------

using Operation = PublishReport (PublishAudit::*)(const PublishFolders&) const;

class Refusals : public AudioCopy, public ::testing::WithParamInterface<Operation>
{};

TEST_P(Refusals, MissingOrEmptyDestinationWritesNothing)
{
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("src2/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));
    const PublishAudit audit = load("apple\n");
    const QStringList before = outsideDestinations();

    for (const QString& dest : {QString(), path(QStringLiteral("gone/"))}) {
        PublishFolders typed = folders();
        typed.audioDest = typed.picDest = dest;
        const PublishReport report = (audit.*GetParam())(typed);
        EXPECT_FALSE(report.complete);
        EXPECT_EQ(report.listUpdate, ListUpdate::Keep);
        EXPECT_EQ(report.message, QStringLiteral("目标文件夹不存在：") + dest);
    }
    EXPECT_EQ(outsideDestinations(), before);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone"))));
}

INSTANTIATE_TEST_SUITE_P(Copies, Refusals,
                         ::testing::Values(&PublishAudit::copyAudio, &PublishAudit::copyAllAudio,
                                           &PublishAudit::copyPics, &PublishAudit::copyAllPics));

// ---- hostile words --------------------------------------------------------------------------------

class HostileWord : public AudioCopy, public ::testing::WithParamInterface<QString>
{};

TEST_P(HostileWord, IsReportedMissingAndNeverNamesAFile)
{
    const QString word = GetParam();
    // Bait: files a glued path would find, and the names a glued path would write.
    for (const char* folder : {"", "src1/", "src2/", "pics/", "voice/", "pdest/", "src1/x/"}) {
        write(QLatin1String(folder) + QStringLiteral("evil.wav"), wav(QStringLiteral("evil")));
        write(QLatin1String(folder) + QStringLiteral("evil.jpg"), jpg(QStringLiteral("evil")));
    }
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));
    write(QStringLiteral("words.txt"), QByteArray());
    QFile list(path(QStringLiteral("words.txt")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write((QStringLiteral("apple\n") + word + QStringLiteral("\n")).toUtf8());
    list.close();
    PublishAudit audit;
    ASSERT_TRUE(audit.LoadAllWords(list.fileName()));
    ASSERT_EQ(audit.words().size(), 2);

    const QStringList before = outsideDestinations();
    for (Operation operation : {&PublishAudit::checkAudio, &PublishAudit::copyAudio, &PublishAudit::checkPics,
                                &PublishAudit::copyPics}) {
        const PublishReport report = (audit.*operation)(folders());
        EXPECT_EQ(report.items, QStringList{audit.words().at(1)});
        EXPECT_FALSE(report.complete);
    }
    EXPECT_EQ(outsideDestinations(), before);
    EXPECT_EQ(files(QStringLiteral("voice")), (QStringList{"apple.abw", "evil.jpg", "evil.wav"}));
    EXPECT_EQ(files(QStringLiteral("pdest")), (QStringList{"apple.pet", "evil.jpg", "evil.wav"}));
}

INSTANTIATE_TEST_SUITE_P(Words, HostileWord,
                         ::testing::Values(QStringLiteral("../evil"), QStringLiteral("x/../../evil"),
                                           QStringLiteral("/tmp/evil"), QStringLiteral(".."),
                                           QStringLiteral("."), QStringLiteral("..\\evil"),
                                           QString::fromUtf16(u"evil\0x", 6)));

} // namespace
