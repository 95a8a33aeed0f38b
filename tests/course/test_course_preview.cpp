#include "course/CoursePictures.h"
#include "course/CoursePreview.h"
#include "course/EmojiNames.h"

#include "MediaTestKit.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

// Rows of the page: English, Chinese, the picture (decoded) and the mark beside it.
struct Row
{
    QString english;
    QString chinese;
    QImage picture;
    QString mark;
};

std::vector<Row> rowsOf(const QString& html)
{
    static const QRegularExpression row(QStringLiteral(
        "<tr><td class=\"picture\">(?:<img src=\"data:image/jpeg;base64,([^\"]*)\"[^>]*>)?</td>"
        "<td class=\"english\">([^<]*)</td><td class=\"chinese\">([^<]*)</td><td class=\"[a-z]+\">([^<]*)</td></tr>"));
    std::vector<Row> rows;
    auto it = row.globalMatch(html);
    while (it.hasNext()) {
        const auto match = it.next();
        rows.push_back({match.captured(2), match.captured(3),
                        QImage::fromData(QByteArray::fromBase64(match.captured(1).toLatin1()), "JPG"),
                        match.captured(4)});
    }
    return rows;
}

// Every word of a small course is on the page with its meaning and the picture it will get: given,
// found by name, a colour, or none with the reason; a word in two units shows in both.
TEST(CoursePreview, ShowsEveryWordWithItsPicture)
{
    test::WithApplication{};
    QTemporaryDir dir;
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(QColor(30, 160, 90));
    test::WriteFile(dir.filePath("leaf.jpg"), EncodeJpeg(photo));
    const auto parsed = ParseCourseSource("version\t预览 <测试>\tT\nbook\t0\t上册\nunit\t0\t0\tU1\nunit\t0\t1\tU2\n"
                                          "word\t0\t0\tcat\t猫\temoji:🐱\nword\t0\t0\tleaf\t叶子\tleaf.jpg\n"
                                          "word\t0\t0\tred\t红色\nword\t0\t1\tapple\t苹果\n"
                                          "word\t0\t1\tpiano\t钢琴\nword\t0\t1\tcat\t猫\temoji:🐱\n",
                                          dir.path());
    ASSERT_TRUE(std::holds_alternative<CourseSource>(parsed)) << std::get<CourseError>(parsed).message.toStdString();
    QBuffer xml;
    xml.setData(R"(<ldml><annotations><annotation cp="🍎" type="tts">red apple</annotation></annotations></ldml>)");
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EmojiNames names;
    QString error;
    ASSERT_TRUE(names.addAnnotations(xml, &error));

    const QString page = dir.filePath("preview.html");
    ASSERT_FALSE(WriteCoursePreview(std::get<CourseSource>(parsed), page, &names).has_value());
    const QString html = QString::fromUtf8(test::ReadFile(page));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>预览 &lt;测试&gt;</h1>")));

    const std::vector<Row> rows = rowsOf(html);
    const std::vector<std::tuple<const char*, const char*, bool, const char*>> expected = {
        {"cat", "猫", true, "given"},
        {"leaf", "叶子", true, "given"},
        {"red", "红色", true, "colour red — sure"},
        {"apple", "苹果", true, "red apple — sure"},
        {"piano", "钢琴", false, "no picture: no emoji name fits"},
        {"cat", "猫", true, "given"},
    };
    ASSERT_EQ(rows.size(), expected.size()) << html.toStdString();
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& [english, chinese, pictured, mark] = expected[i];
        EXPECT_EQ(rows[i].english.toStdString(), english);
        EXPECT_EQ(rows[i].chinese.toStdString(), chinese) << english;
        EXPECT_EQ(rows[i].mark.toStdString(), mark) << english;
        EXPECT_EQ(!rows[i].picture.isNull(), pictured) << english;
        if (pictured) {
            EXPECT_EQ(rows[i].picture.size(), kWordPictureBox) << english;
        }
    }
    // The colour word shows its colour, not an object.
    const QImage& red = rows[2].picture;
    ASSERT_FALSE(red.isNull());
    EXPECT_GT(red.pixelColor(red.rect().center()).red(), 200);
    EXPECT_LT(red.pixelColor(red.rect().center()).green(), 90);
}

} // namespace
