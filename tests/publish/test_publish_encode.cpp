#include "publish/PublishEncode.h"
#include "publish/PublishExport.h"
#include "test_publish_tree.h"

#include <QUrlQuery>

using namespace lexora;
using lexora::test::PublishTree;

namespace {

// ---- encoding a file ------------------------------------------------------------------------------

TEST_F(PublishTree, EncodingLeavesOnlyTheEncodedVoiceAndReplacesAnOlderOne)
{
    const QByteArray plain = wav(QStringLiteral("apple"));
    write(QStringLiteral("voice/apple.wav"), plain);
    write(QStringLiteral("voice/apple.abw"), QByteArray("older"));

    ASSERT_TRUE(EncodeAudioFile(path(QStringLiteral("voice/apple.wav"))));
    EXPECT_EQ(files(QStringLiteral("voice")), QStringList{"apple.abw"});
    const QByteArray encoded = read(QStringLiteral("voice/apple.abw"));
    ASSERT_EQ(encoded.size(), plain.size());
    EXPECT_EQ(encoded.left(4).toHex(), QByteArray("4a926262"));
    EXPECT_EQ(encoded.mid(kFileHeadLength), plain.mid(kFileHeadLength));
}

TEST_F(PublishTree, CopyingEncodedReplacesALinkInsteadOfWritingThroughIt)
{
    const QString outside = write(QStringLiteral("outside.pet"), QByteArray("not yours"));
    ASSERT_TRUE(QFile::link(outside, path(QStringLiteral("pdest/apple.pet"))));
    const QString source = write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));

    ASSERT_TRUE(CopyEncoded(source, path(QStringLiteral("pdest/apple.jpg")), MediaKind::Picture));
    EXPECT_EQ(read(QStringLiteral("outside.pet")), QByteArray("not yours"));
    EXPECT_FALSE(QFileInfo(path(QStringLiteral("pdest/apple.pet"))).isSymLink());
    EXPECT_EQ(decoded(QStringLiteral("pdest/apple.pet")), jpg(QStringLiteral("apple")));
}

// ---- "数据库加解密" -------------------------------------------------------------------------------

TEST_F(PublishTree, TogglingTwiceRestoresTheBytesAndOnceChangesOnlyTheHead)
{
    QByteArray original;
    for (int i = 0; i < 300; ++i)
        original.append(static_cast<char>(i * 7 + 1));
    const QString file = write(QStringLiteral("lexora.pet"), original);

    ASSERT_TRUE(ToggleFileHead(file));
    const QByteArray once = read(QStringLiteral("lexora.pet"));
    EXPECT_NE(once.left(kFileHeadLength), original.left(kFileHeadLength));
    EXPECT_EQ(once.mid(kFileHeadLength), original.mid(kFileHeadLength));
    ASSERT_TRUE(ToggleFileHead(file));
    EXPECT_EQ(read(QStringLiteral("lexora.pet")), original);
}

// ---- names ----------------------------------------------------------------------------------------

TEST(JoinPath, AddsOneSeparatorWhateverTheFolderEndsWith)
{
    EXPECT_EQ(JoinPath(QStringLiteral("/m/pics"), QStringLiteral("a.jpg")), QStringLiteral("/m/pics/a.jpg"));
    EXPECT_EQ(JoinPath(QStringLiteral("/m/pics/"), QStringLiteral("a.jpg")), QStringLiteral("/m/pics/a.jpg"));
    EXPECT_EQ(JoinPath(QStringLiteral("rel"), QStringLiteral("ice cream.jpg")),
              QStringLiteral("rel/ice cream.jpg"));
    EXPECT_TRUE(JoinPath(QString(), QStringLiteral("a.jpg")).isEmpty());
}

// ---- export ---------------------------------------------------------------------------------------

// What a search server reads from the query: "+" is a blank, then %XX are decoded.
QString serverReading(const QUrl& url, const QString& key)
{
    for (const QString& pair : url.query(QUrl::FullyEncoded).split(QLatin1Char('&'))) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (pair.left(eq) == key) {
            QByteArray value = pair.mid(eq + 1).toLatin1();
            value.replace('+', ' ');
            return QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        }
    }
    return QStringLiteral("<none>");
}

class ImageSearch : public ::testing::TestWithParam<QString>
{};

TEST_P(ImageSearch, SearchesForExactlyTheWord)
{
    const QUrl url = ImageSearchUrl(GetParam());
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), QStringLiteral("https"));
    EXPECT_FALSE(url.hasFragment());
    EXPECT_EQ(serverReading(url, QStringLiteral("q")), GetParam());
    // The round trip through the text the desktop is handed.
    EXPECT_EQ(serverReading(QUrl::fromEncoded(url.toEncoded()), QStringLiteral("q")), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Words, ImageSearch,
                         ::testing::Values(QStringLiteral("ice cream"), QStringLiteral("T-shirt"),
                                           QStringLiteral("salt & pepper"), QStringLiteral("C#"),
                                           QStringLiteral("C++"), QStringLiteral("x=y"),
                                           QStringLiteral("100%"), QStringLiteral("苹果"),
                                           QStringLiteral("it's")));

} // namespace
