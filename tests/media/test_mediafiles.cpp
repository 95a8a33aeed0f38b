#include "MediaTestKit.h"
#include "media/AtomicFile.h"

#include <QBuffer>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace lexora;
using namespace lexora::test;

namespace {

// "A"/"B" plain pictures (a red and a blue pixel), "a"/"b" the same encoded.
QByteArray content(char id)
{
    const QByteArray plain = toupper(id) == 'A' ? "P3 1 1 255 255 0 0 " : "P3 1 1 255 0 0 255 ";
    return islower(id) ? Encoded(plain) : plain;
}

const QString J = QStringLiteral(".jpg"), P = QStringLiteral(".pet"), W = QStringLiteral(".wav"),
              E = QStringLiteral(".abw");
using Files = std::map<QString, char>; // extension -> content name

// Whether the operation did its part; for the taking ones, whether the caller got `used` (0: nothing).
using Op = bool (*)(MediaFiles&, const QString&, char used);
const Op kEncPic = [](MediaFiles& m, const QString& w, char) { return m.EncryptWordPic(w); };
const Op kDecPic = [](MediaFiles& m, const QString& w, char) { return m.DecryptWordPic(w); };
const Op kEncSound = [](MediaFiles& m, const QString& w, char) { return m.EncryptWordSound(w); };
const Op kDecSound = [](MediaFiles& m, const QString& w, char) { return m.DecryptWordSound(w); };
const Op kShowPic = [](MediaFiles& m, const QString& w, char used) {
    const auto image = m.TakeWordPic(w);
    return used ? image == QImage::fromData(content(used)) : !image;
};
const Op kTakeSound = [](MediaFiles& m, const QString& w, char used) {
    const auto wav = m.TakeWordSound(w);
    return used ? wav == content(used) : !wav;
};

using RuleCase = std::tuple<const char*, Op, Files, Files, char>; // name, op, before, after, used
using MediaFileRules = ::testing::TestWithParam<RuleCase>;

TEST_P(MediaFileRules, LeaveTheFolderAsStated)
{
    const auto& [name, op, before, after, used] = GetParam();
    CourseFixture course;
    MediaFiles media(MediaFolders(course.programFolder(), course.commonFolder()));
    const auto path = [&](const QString& ext) {
        return course.commonFolder() + (ext == J || ext == P ? "/pics/ice cream" : "/voice/ice cream") + ext;
    };
    for (const auto& [ext, id] : before)
        WriteFile(path(ext), content(id));
    EXPECT_TRUE(op(media, QStringLiteral("ice cream"), used));
    for (const auto& [ext, id] : after)
        EXPECT_EQ(ReadFile(path(ext)), content(id)) << ext.toStdString();
    EXPECT_EQ(FilesIn(media.folders().pics()).size() + FilesIn(media.folders().voice()).size(), after.size())
        << "nothing else is left, no temporary file either";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MediaFileRules,
    ::testing::Values(RuleCase{"encryptPicEncodedOnlyChangesNothing", kEncPic, {{P, 'a'}}, {{P, 'a'}}, 0},
                      RuleCase{"encryptPicReplacesEncoded", kEncPic, {{J, 'A'}, {P, 'b'}}, {{P, 'a'}}, 0},
                      RuleCase{"decryptPicEncodedWins", kDecPic, {{P, 'a'}, {J, 'B'}}, {{J, 'A'}}, 0},
                      RuleCase{"encryptSoundReplacesEncoded", kEncSound, {{W, 'A'}, {E, 'b'}}, {{E, 'a'}}, 0},
                      RuleCase{"decryptSoundReplacesPlain", kDecSound, {{E, 'a'}, {W, 'B'}}, {{W, 'A'}}, 0},
                      RuleCase{"showEncodedLeavesItAsItWas", kShowPic, {{P, 'a'}}, {{P, 'a'}}, 'A'},
                      RuleCase{"showPlainEncodesIt", kShowPic, {{J, 'A'}}, {{P, 'a'}}, 'A'},
                      RuleCase{"showBothEncodedWins", kShowPic, {{P, 'a'}, {J, 'B'}}, {{P, 'a'}}, 'A'},
                      RuleCase{"voiceBothPlainWins", kTakeSound, {{W, 'A'}, {E, 'b'}}, {{E, 'a'}}, 'A'},
                      RuleCase{"voiceNothing", kTakeSound, {}, {}, 0}),
    [](const auto& info) { return std::string(std::get<0>(info.param)); });

std::map<QString, QByteArray> Snapshot(const QString& root)
{
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        out[file] = it.fileInfo().isFile() ? ReadFile(file) : QByteArray("<dir>");
    }
    return out;
}

// Words naming files outside the media folders (the database among them) read, move or change nothing.
TEST(MediaFiles, HostileNamesTouchNothingOutsideTheMediaFolders)
{
    FakeSoundOut out;
    PlayerRig rig(out);
    for (const char* planted :
         {"secret.jpg", "secret.pet", "secret.wav", "secret.abw", "pics/a", "voice/a", "pics/back\\slash.jpg",
          "../Lexora/AppPics/lexora.wav", "../Lexora/AppPics/lexora.pet"})
        WriteFile(rig.common(QLatin1String(planted)), content('A'));
    const auto before = Snapshot(rig.course.root());

    for (const QString& name :
         {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../secret"),
          QStringLiteral("back\\slash"), QStringLiteral("a") + QChar(0) + QStringLiteral("b"),
          QStringLiteral("../../Lexora/AppPics/lexora")}) {
        SCOPED_TRACE(name.toStdString());
        for (const Op op : {kEncPic, kDecPic, kEncSound, kDecSound})
            op(rig.media, name, 0);
        EXPECT_TRUE(kShowPic(rig.media, name, 0));
        EXPECT_TRUE(kTakeSound(rig.media, name, 0));
        EXPECT_FALSE(rig.media.WordPicExists(name));
        EXPECT_FALSE(rig.media.WordSoundExists(name));
        EXPECT_EQ(rig.media.GetWordPicFile(name), rig.media.folders().fallbackPicture());
        for (const auto play :
             {&SoundPlayer::PlayWordSound, &SoundPlayer::PlayWaveFile, &SoundPlayer::PlayMyVoice})
            (rig.player.*play)(name);
    }
    EXPECT_TRUE(out.played.empty());
    EXPECT_TRUE(Snapshot(rig.course.root()) == before);
}

// The target's name holds a whole file at every step of a replace, and a replace stopped at any step
// leaves the source whole. Removing the old target before naming the new one lost both once.
TEST(MediaCrashSafety, AReplaceStoppedAtAnyStepLeavesTheTargetWholeOldOrNew)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("apple.wav")),
                  target = dir.filePath(QStringLiteral("apple.abw"));
    // The step stopped at, what the target then holds.
    const std::pair<ReplaceStep, QByteArray> cases[] = {{ReplaceStep::NewContentWritten, "old"},
                                                        {ReplaceStep::TargetReplaced, "new"}};
    for (const auto& [stop, left] : cases) {
        SCOPED_TRACE(static_cast<int>(stop));
        WriteFile(source, "source");
        WriteFile(target, "old");
        std::vector<QByteArray> seen;
        const bool done = ReplaceMediaFile(source, target, "new", [&](ReplaceStep step) {
            seen.push_back(ReadFile(target));
            return step != stop;
        });
        EXPECT_FALSE(done);
        EXPECT_EQ(seen.back(), left);
        EXPECT_EQ(ReadFile(target), left);
        EXPECT_EQ(ReadFile(source), "source");

        seen.clear();
        EXPECT_TRUE(ReplaceMediaFile(source, target, "new", [&](ReplaceStep) {
            seen.push_back(ReadFile(target));
            return true;
        })) << "the next replace goes through over what the stopped one left";
        EXPECT_EQ(seen, (std::vector<QByteArray>{left, "new"}));
        EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("apple.abw")});
        EXPECT_EQ(ReadFile(target), "new");
    }
}

// A link planted at the hidden name a new content takes is removed, never written through.
TEST(MediaCrashSafety, ALinkPlantedAtThePartNameIsNeverFollowed)
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    const QString target = dir.filePath(QStringLiteral("hello.wav"));
    WriteFile(victim, "not yours");
    WriteFile(dir.filePath(QStringLiteral("reading.wav")), "reading");
    ASSERT_TRUE(QFile::link(victim, dir.filePath(QStringLiteral(".hello.wav.part"))));
    EXPECT_TRUE(ReplaceMediaFile(dir.filePath(QStringLiteral("reading.wav")), target, "new"));
    EXPECT_EQ(ReadFile(victim), "not yours");
    EXPECT_EQ(ReadFile(target), "new");
}

// A thumbnail is decoded straight to its size, aspect kept, and leaves the folder as a full take does.
TEST(WordThumbnail, IsDecodedToFitItsBox)
{
    FakeSoundOut out;
    PlayerRig rig(out);
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(picture.save(&buffer, "JPG"));
    WriteFile(rig.common(QStringLiteral("pics/cat.pet")), Encoded(jpeg));
    const std::pair<QSize, QSize> cases[] = {
        {{100, 75}, {100, 75}}, {{80, 80}, {80, 60}}, {{400, 100}, {133, 100}}, {{0, 0}, {400, 300}}};
    for (const auto& [fit, expected] : cases) {
        const auto thumb = rig.media.TakeWordPic(QStringLiteral("cat"), fit);
        ASSERT_TRUE(thumb.has_value()) << fit.width() << "x" << fit.height();
        EXPECT_EQ(thumb->size(), expected) << fit.width() << "x" << fit.height();
        EXPECT_EQ(ReadFile(rig.common(QStringLiteral("pics/cat.pet"))), Encoded(jpeg)); // encoded again
    }
    EXPECT_FALSE(rig.media.TakeWordPic(QStringLiteral("dog"), QSize(100, 75)).has_value());
}

} // namespace
