#include "course/CoursePreview.h"

#include "course/CourseBuilder.h"
#include "course/CoursePictures.h"
#include "course/PictureChoice.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <map>

namespace lexora {

namespace {

struct Shown
{
    QString image; // a data: URI, empty when there is no picture
    QString mark;  // "given", "sure", "check: ...", "no picture: ..."
    QString kind;  // a CSS class: given, sure, check, none
};

// Pictures are shown at the size of the learner's picture box; JPEG keeps the page small.
QString dataUri(const QImage& image)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.scaled(kWordPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&buffer, "JPG", 85);
    return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(jpeg.toBase64());
}

Shown givenPicture(const CoursePicture& picture)
{
    QString error;
    std::optional<QImage> image;
    if (picture.kind == CoursePicture::Kind::Emoji) {
        image = RenderEmojiPicture(picture.value, &error);
    } else {
        QFile file(picture.value);
        const QImage read = file.open(QIODevice::ReadOnly) ? QImage::fromData(file.readAll()) : QImage();
        if (!read.isNull())
            image = read;
        else
            error = QStringLiteral("cannot read %1").arg(picture.value);
    }
    if (!image)
        return {{}, QStringLiteral("no picture: ") + error, QStringLiteral("none")};
    return {dataUri(*image), QStringLiteral("given"), QStringLiteral("given")};
}

Shown foundPicture(const FoundPicture& found)
{
    if (found.kind == FoundPicture::Kind::None)
        return {{}, QStringLiteral("no picture: ") + found.remark, QStringLiteral("none")};
    QString error;
    const auto image = found.kind == FoundPicture::Kind::Colour ? DrawColourPicture(QColor(found.value))
                                                                : RenderEmojiPicture(found.value, &error);
    if (!image)
        return {{},
                QStringLiteral("no picture: %1 (%2): %3").arg(found.value, found.name, error),
                QStringLiteral("none")};
    const QString mark = found.sure ? QStringLiteral("sure") : QStringLiteral("check: ") + found.remark;
    return {dataUri(*image), found.name + QStringLiteral(" — ") + mark,
            found.sure ? QStringLiteral("sure") : QStringLiteral("check")};
}

const char* const kStyle = R"(
body { font-family: "Noto Sans CJK SC", sans-serif; margin: 2em; color: #222; }
h1 { font-size: 1.6em; } h2 { margin-top: 1.6em; } h3 { margin: 1.2em 0 0.4em; color: #555; }
table { border-collapse: collapse; }
td { border-bottom: 1px solid #ddd; padding: 6px 12px; vertical-align: middle; }
td.picture { width: 200px; height: 150px; text-align: center; }
img { width: 200px; height: 150px; object-fit: contain; }
.english { font-size: 1.4em; font-weight: bold; }
.chinese { font-size: 1.3em; }
.sure { color: #2e7d32; } .check { color: #e65100; font-weight: bold; } .none { color: #c62828; font-weight: bold; }
.given { color: #777; }
)";

} // namespace

std::optional<CourseError> WriteCoursePreview(const CourseSource& course, const QString& htmlPath,
                                              const EmojiNames* names)
{
    const auto words = DistinctWords(course);
    std::map<QString, Shown> shownOf; // by English text: all rows of a word share its picture
    for (const auto& [word, found] : FindCoursePictures(words, names))
        shownOf[word->english] = foundPicture(found);
    for (const CourseWord* word : words) {
        if (word->picture.kind != CoursePicture::Kind::None)
            shownOf[word->english] = givenPicture(word->picture);
    }
    std::map<QString, int> count;
    for (const auto& [english, shown] : shownOf)
        ++count[shown.kind];
    QStringList html = {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"),
        QStringLiteral("<title>%1</title><style>%2</style></head><body>")
            .arg(course.versionName.toHtmlEscaped(), QLatin1String(kStyle)),
        QStringLiteral("<h1>%1</h1>").arg(course.versionName.toHtmlEscaped()),
        QStringLiteral("<p>%1 words: %2 with the course's own picture, %3 found and sure, %4 found to check, "
                       "%5 without a picture.</p>")
            .arg(shownOf.size())
            .arg(count[QStringLiteral("given")])
            .arg(count[QStringLiteral("sure")])
            .arg(count[QStringLiteral("check")])
            .arg(count[QStringLiteral("none")])};
    for (const CourseBook& book : course.books) {
        html << QStringLiteral("<h2>%1</h2>").arg(book.name.toHtmlEscaped());
        for (const CourseUnit& unit : course.units) {
            if (unit.book != book.id)
                continue;
            html << QStringLiteral("<h3>%1</h3><table>").arg(unit.name.toHtmlEscaped());
            for (const CourseWord& word : course.words) {
                if (word.book != book.id || word.unit != unit.id)
                    continue;
                const Shown& shown = shownOf[word.english];
                const QString picture = shown.image.isEmpty()
                                            ? QString()
                                            : QStringLiteral("<img src=\"%1\" alt=\"%2\">")
                                                  .arg(shown.image, word.english.toHtmlEscaped());
                html << QStringLiteral("<tr><td class=\"picture\">%1</td><td class=\"english\">%2</td>"
                                       "<td class=\"chinese\">%3</td><td class=\"%4\">%5</td></tr>")
                            .arg(picture, word.english.toHtmlEscaped(), word.chinese.toHtmlEscaped(),
                                 shown.kind, shown.mark.toHtmlEscaped());
            }
            html << QStringLiteral("</table>");
        }
    }
    html << QStringLiteral("</body></html>");
    const QByteArray bytes = (html.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    QSaveFile file(htmlPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return CourseError{0, QStringLiteral("cannot write %1: %2").arg(htmlPath, file.errorString())};
    return std::nullopt;
}

} // namespace lexora
