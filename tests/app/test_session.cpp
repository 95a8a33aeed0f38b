// A whole session as a child would have it: step, spell, record, close with Yes. Afterwards the word
// media are encoded again, the new reading is kept and the database is scrambled at rest.
#include "ViewTestKit.h"
#include "app/FormMain.h"
#include "store/WordStore.h"
#include "views/Lexivo.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

QByteArray Jpeg(const QColor& colour)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

QStringList FilesOf(const QString& folder, const QString& pattern)
{
    QStringList names = QDir(folder).entryList({pattern}, QDir::Files);
    names.sort();
    return names;
}

TEST(Session, LeavesMediaEncodedTheReadingKeptAndTheDatabaseScrambled)
{
    ViewWorld world(CourseFixture::standard());
    // Unit 1 of book 0: "hello", "good morning", "I'm"; media at rest in their encoded forms.
    const QStringList words = {QStringLiteral("hello"), QStringLiteral("good morning"),
                               QStringLiteral("I'm")};
    for (int i = 0; i < words.size(); ++i) {
        WriteFile(world.pics() + QLatin1Char('/') + words[i] + QStringLiteral(".pet"),
                  Encoded(Jpeg(QColor::fromHsv(i * 90, 200, 200))));
        WriteFile(world.voice() + QLatin1Char('/') + words[i] + QStringLiteral(".abw"),
                  Encoded(world.voiceOf(i)));
    }
    world.addLetterSounds(QStringLiteral("helo"));
    ASSERT_TRUE(world.build());
    const QByteArray salt = world.course.head().left(16);

    FormMain window(world.program->context());
    ASSERT_TRUE(window.Form_Initialize());
    window.show();
    window.ShowFirstView();
    Lexivo& reader = window.reader();
    reader.cmdNextWord_Click();
    QTest::keyClick(&reader, Qt::Key_Right);
    QTest::keyClick(&reader, Qt::Key_Space);
    reader.txtEnglish_Click();
    window.findChild<QCheckBox*>(QStringLiteral("chkRead"))->click();
    world.capture.nextData = TestPcm(PcmFormat{2, 16, 44100}, 441, 3);
    reader.lblRecord_Click();
    reader.lblRecord_Click();
    reader.lblBothAudio_Click();
    world.prompter.queueAnswer(Prompter::Answer::Yes);
    ASSERT_TRUE(window.close());

    // Three word voices heard on arrival, hello's letters, the reading twice, hello's voice once more.
    EXPECT_EQ(world.soundOut.played.size(), 4u + 5u + 3u);
    EXPECT_EQ(FilesOf(world.pics(), QStringLiteral("*")),
              QStringList({QStringLiteral("I'm.pet"), QStringLiteral("good morning.pet"),
                           QStringLiteral("hello.pet")}));
    EXPECT_EQ(FilesOf(world.voice(), QStringLiteral("*.wav")),
              QStringList({QStringLiteral("e.wav"), QStringLiteral("h.wav"), QStringLiteral("l.wav"),
                           QStringLiteral("o.wav")}));
    EXPECT_EQ(FilesOf(world.voice(), QStringLiteral("*.abw")).size(), 3);
    EXPECT_EQ(FilesOf(world.myVoice(), QStringLiteral("*")), QStringList{QStringLiteral("hello.wav")});
    EXPECT_EQ(world.course.head().left(16), salt);
    EXPECT_EQ(world.course.rows(QStringLiteral("select LastBook, LastUnit from FeatureTable"))[0],
              (QVariantList{0, 0}));
}

} // namespace
} // namespace lexora::test
