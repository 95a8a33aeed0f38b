#include "publish/PublishEncode.h"
#include "publish/PublishExport.h"
#include "test_publish_tree.h"

#include <QRegularExpression>

using namespace lexora;
using lexora::test::PublishTree;

namespace {

TEST_F(PublishTree, CopyingEncodedReplacesALinkInsteadOfWritingThroughIt)
{
    const QString outside = write({{"outside.pet", "not yours"}});
    ASSERT_TRUE(QFile::link(outside, path("pdest/apple.pet")));
    ASSERT_TRUE(
        CopyEncoded(write({{"pics/apple.jpg", jpg("apple")}}), path("pdest/apple.jpg"), MediaKind::Picture));
    EXPECT_EQ(read("outside.pet"), QByteArray("not yours"));
    EXPECT_FALSE(QFileInfo(path("pdest/apple.pet")).isSymLink());
    EXPECT_EQ(decoded("pdest/apple.pet"), jpg("apple"));
}

// What a search server reads from the query: "+" is a blank, then %XX are decoded.
QString serverReading(const QUrl& url)
{
    const QRegularExpression q(QStringLiteral("(?:^|&)q=([^&]*)"));
    QByteArray value = q.match(url.query(QUrl::FullyEncoded)).captured(1).toLatin1().replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value));
}

TEST(ImageSearch, SearchesForExactlyTheWord)
{
    for (const QString word :
         {"ice cream", "T-shirt", "salt & pepper", "C#", "C++", "x=y", "100%", "苹果", "it's"}) {
        const QUrl url = ImageSearchUrl(word);
        EXPECT_FALSE(url.hasFragment()) << word.toStdString();
        EXPECT_EQ(serverReading(url), word);
        EXPECT_EQ(serverReading(QUrl::fromEncoded(url.toEncoded())), word); // as handed to the desktop
    }
}

} // namespace
