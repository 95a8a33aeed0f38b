#include "MediaTestKit.h"
#include "course/CoursePictures.h"
#include "course/CoursePreview.h"
#include "course/EmojiNames.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

// Every word of a small course is on the page with its meaning and the picture it will get (given,
// found by name, a colour, or none with the reason), each picture a JPEG of the picture box's size.
TEST(CoursePreview, ShowsEveryWordWithItsPicture)
{
    test::WithApplication{};
    QTemporaryDir dir;
    const auto parsed =
        ParseCourseSource("version\t预览 <测试>\tT\nbook\t0\t上册\nunit\t0\t0\tU1\nunit\t0\t1\tU2\n"
                          "word\t0\t0\tcat\t猫\temoji:🐱\nword\t0\t0\tred\t红色\n"
                          "word\t0\t1\tapple\t苹果\nword\t0\t1\tpiano\t钢琴\nword\t0\t1\tcat\t猫\temoji:🐱\n",
                          dir.path());
    ASSERT_TRUE(std::holds_alternative<CourseSource>(parsed));
    QBuffer xml;
    xml.setData(
        R"(<ldml><annotations><annotation cp="🍎" type="tts">red apple</annotation></annotations></ldml>)");
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EmojiNames names;
    QString error;
    ASSERT_TRUE(names.addAnnotations(xml, &error));

    const QString page = dir.filePath("preview.html");
    ASSERT_FALSE(WriteCoursePreview(std::get<CourseSource>(parsed), page, &names).has_value());
    const QString html = QString::fromUtf8(test::ReadFile(page));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>预览 &lt;测试&gt;</h1>")));
    static const QRegularExpression row(
        QStringLiteral("<tr><td class=\"picture\">(?:<img src=\"data:image/jpeg;base64,"
                       "([^\"]*)\"[^>]*>)?</td><td class=\"english\">([^<]*)</td>"
                       "<td class=\"chinese\">([^<]*)</td><td class=\"[a-z]+\">([^<]*)</td>"));
    QStringList rows;
    for (auto it = row.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const QImage picture = QImage::fromData(QByteArray::fromBase64(match.captured(1).toLatin1()), "JPG");
        rows << QStringLiteral("%1 %2 %3 %4")
                    .arg(match.captured(2), match.captured(3), match.captured(4),
                         picture.isNull() ? QStringLiteral("-") : QStringLiteral("picture"));
        if (!picture.isNull()) {
            EXPECT_EQ(picture.size(), kWordPictureBox) << match.captured(2).toStdString();
        }
    }
    EXPECT_EQ(rows.join('\n').toStdString(),
              "cat 猫 given picture\nred 红色 colour red — sure picture\n"
              "apple 苹果 red apple — sure picture\n"
              "piano 钢琴 no picture: no emoji name fits -\ncat 猫 given picture");
}

} // namespace
