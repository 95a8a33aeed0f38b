#include "test_publish_tree.h"

using namespace lexora;
using Operation = PublishReport (PublishAudit::*)(const PublishFolders&) const;

namespace {

class Audit : public test::PublishTree
{
protected:
    void load(const QByteArray& words) { ASSERT_TRUE(m_audit.LoadAllWords(writeWords(words))); }
    QString run(Operation operation) { return summary((m_audit.*operation)(folders())); }

    PublishAudit m_audit;
};

TEST_F(Audit, LoadingKeepsTrimmedDistinctLinesInFileOrder)
{
    const std::pair<QByteArray, QStringList> cases[] = {
        {"apple\n\n  apple  \nbook\n", {"apple", "book"}},
        {"apple\r\n\tbook\t\r\n\r\nice cream\r\n", {"apple", "book", "ice cream"}},
        {"Apple\napple\nApple\n", {"Apple", "apple"}},
        {QByteArray("\xEF\xBB\xBF") + "apple\n苹果\n", {"apple", "苹果"}},
        {"pear", {"pear"}},
        {"  \n\n \t\n", {}}};
    for (const auto& [content, words] : cases) {
        PublishAudit audit;
        ASSERT_TRUE(audit.LoadAllWords(writeWords(content)));
        // A file that cannot be read leaves the list as it was.
        EXPECT_FALSE(audit.LoadAllWords(path("nowhere.txt")));
        EXPECT_FALSE(audit.LoadAllWords(QString()));
        EXPECT_EQ(audit.words(), words) << content.toStdString();
        for (const QString& word : words)
            EXPECT_TRUE(audit.IsWordInList(word));
        EXPECT_FALSE(audit.IsWordInList(QString()));
    }
}

TEST_F(Audit, FirstAudioSourceIsPreferredAndDuplicatesLeaveNoEmptyWord)
{
    write({{"src1/a/apple.wav", wav("apple", "first")},
           {"src2/apple.wav", wav("apple", "second")},
           {"src2/book.wav", wav("book", "second")}});
    load("apple\n\n  apple  \nbook\n");

    EXPECT_EQ(run(&PublishAudit::copyAudio),
              QStringLiteral("replace [] 缺乏音频文件的单词 | check audio finished！"));
    EXPECT_EQ(files("voice"), (QStringList{"apple.abw", "book.abw"}));
    EXPECT_EQ(decoded("voice/apple.abw"), wav("apple", "first"));
    EXPECT_EQ(decoded("voice/book.abw"), wav("book", "second"));
    EXPECT_EQ(read("src2/apple.wav"), wav("apple", "second")); // sources stay as they were
}

TEST_F(Audit, MissingWordsAreListedAndOlderVoicesInTheDestinationReplaced)
{
    write({{"src2/apple.wav", wav("apple")},
           {"voice/apple.abw", "old voice"},
           {"voice/apple.wav", "half copied"},
           {"voice/pear.wav", wav("pear", "left")}});
    load("apple\npear\nice cream\n");

    EXPECT_EQ(run(&PublishAudit::checkAudio),
              QStringLiteral("replace [pear,ice cream] 缺乏音频文件的单词:2 | check audio finished！ !"));
    EXPECT_EQ(files("voice"), (QStringList{"apple.abw", "apple.wav", "pear.wav"})); // a check writes nothing
    EXPECT_EQ(run(&PublishAudit::copyAudio),
              QStringLiteral("replace [pear,ice cream] 缺乏音频文件的单词 | 还有单词没有音频文件 !"));
    // The plain leftover is encoded as well, though its word is still reported missing.
    EXPECT_EQ(files("voice"), (QStringList{"apple.abw", "pear.abw"}));
    EXPECT_EQ(decoded("voice/apple.abw"), wav("apple"));
    EXPECT_EQ(decoded("voice/pear.abw"), wav("pear", "left"));
}

TEST_F(Audit, FailedCopyIsReported)
{
    // A folder in the way of the encoded name makes the write fail.
    write({{"src1/a/apple.wav", wav("apple")},
           {"src1/b/book.wav", wav("book")},
           {"voice/apple.abw/keep", "x"}});
    load("apple\nbook\n");

    EXPECT_EQ(run(&PublishAudit::copyAudio),
              QStringLiteral("replace [apple] 缺乏音频文件的单词 | 还有单词没有音频文件 !"));
    EXPECT_EQ(decoded("voice/book.abw"), wav("book"));
}

TEST_F(Audit, PictureFolderWithoutTrailingSeparatorStillFindsEveryPicture)
{
    write({{"pics/apple.jpg", jpg("apple")},
           {"pics/ice cream.jpg", jpg("ice cream")},
           {"picsapple.jpg", "glued"}});
    load("apple\nice cream\npear\n");
    for (const QString& folder : {path("pics"), path("pics/")}) {
        PublishFolders typed = folders();
        typed.picSrc = folder;
        EXPECT_EQ(summary(m_audit.checkPics(typed)),
                  QStringLiteral("replace [pear] 缺乏图片文件的单词:\n1 | check picture finished！ !"));
    }
}

TEST_F(Audit, CopyingPicturesTwiceCopiesAgainAndKeepsOlderOnesWithoutSource)
{
    write({{"pdest/pear.pet", "older encoded pear"}});
    load("apple\npear\n");
    for (const char* version : {"v1", "v2"}) {
        write({{"pics/apple.jpg", jpg("apple", version)}});
        EXPECT_EQ(run(&PublishAudit::copyPics), QStringLiteral("keep [] 缺乏图片文件的单词 | ok"));
        EXPECT_EQ(files("pdest"), (QStringList{"apple.pet", "pear.pet"}));
        EXPECT_EQ(decoded("pdest/apple.pet"), jpg("apple", version));
        EXPECT_EQ(read("pdest/pear.pet"), QByteArray("older encoded pear"));
    }
}

TEST_F(Audit, CopyAllTakesEveryFileOfItsKindInAnyCase)
{
    write({{"src2/apple.wav", wav("apple")},
           {"src2/Book.WAV", wav("Book")},
           {"src2/notes.txt", "notes"},
           {"src2/old.wav.bak", "bak"},
           {"src1/c/cat.wav", wav("cat")}});
    write({{"pics/a.jpg", jpg("a")},
           {"pics/b.JPG", jpg("b")},
           {"pics/notes.txt", "notes"},
           {"pics/sub/c.jpg", jpg("c")}});

    EXPECT_EQ(run(&PublishAudit::copyAllAudio), QStringLiteral("append [] 缺乏音频文件的单词 | OK！"));
    EXPECT_EQ(files("voice"), (QStringList{"Book.abw", "apple.abw"}));
    EXPECT_EQ(decoded("voice/Book.abw"), wav("Book"));
    EXPECT_EQ(run(&PublishAudit::copyAllPics), QStringLiteral("append [notes.txt]  | OK"));
    EXPECT_EQ(files("pdest"), (QStringList{"a.pet", "b.pet"}));
    EXPECT_EQ(decoded("pdest/b.pet"), jpg("b"));
}

class HostileWord : public Audit, public ::testing::WithParamInterface<QString>
{};

TEST_P(HostileWord, IsReportedMissingAndNeverNamesAFile)
{
    // Bait: files a glued path would find, and the names a glued path would write.
    for (const char* folder : {"", "src1/", "src2/", "pics/", "voice/", "pdest/", "src1/x/"})
        write({{QLatin1String(folder) + "evil.wav", wav("evil")},
               {QLatin1String(folder) + "evil.jpg", jpg("evil")}});
    write({{"src1/a/apple.wav", wav("apple")}, {"pics/apple.jpg", jpg("apple")}});
    load((QStringLiteral("apple\n") + GetParam() + QStringLiteral("\n")).toUtf8());
    ASSERT_EQ(m_audit.words().size(), 2);

    const QStringList before = outsideDestinations();
    for (Operation operation : {&PublishAudit::checkAudio, &PublishAudit::copyAudio, &PublishAudit::checkPics,
                                &PublishAudit::copyPics}) {
        const PublishReport report = (m_audit.*operation)(folders());
        EXPECT_EQ(report.items, QStringList{m_audit.words().at(1)});
        EXPECT_FALSE(report.complete);
    }
    EXPECT_EQ(outsideDestinations(), before);
    EXPECT_EQ(files("voice"), (QStringList{"apple.abw", "evil.jpg", "evil.wav"}));
    EXPECT_EQ(files("pdest"), (QStringList{"apple.pet", "evil.jpg", "evil.wav"}));
}

INSTANTIATE_TEST_SUITE_P(Words, HostileWord,
                         ::testing::Values("../evil", "x/../../evil", "/tmp/evil", "..", ".", "..\\evil",
                                           QString::fromUtf16(u"evil\0x", 6)));

} // namespace
