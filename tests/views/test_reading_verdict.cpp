#include "ViewTestKit.h"
#include "ui/ClockTimer.h"
#include "views/Lexivo.h"
#include "views/ReadingCheck.h"

#include <QCheckBox>
#include <QLabel>
#include <QSemaphore>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <mutex>

namespace lexora::test {
namespace {

// Answers each check with `answer`; with `hold` set, a check waits until the test lets it go.
class ScriptedChecker final : public ReadingChecker
{
public:
    bool prepare() override { return answer.verdict != ReadingVerdict::Unavailable; }
    ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) override
    {
        if (hold)
            gate.acquire();
        std::lock_guard lock(mutex);
        asked.push_back(QStringList{wavFile, word} + words);
        return answer;
    }
    ReadingResult answer{ReadingVerdict::Good, QStringLiteral("cat"), std::nullopt, std::nullopt, {}};
    bool hold = false;
    QSemaphore gate;
    std::mutex mutex;
    std::vector<QStringList> asked; // file, word, the words of the list
};

const QString kHeading = QStringLiteral("朗读效果评价：");

class ReadingVerdictTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        world = ViewWorld::withMedia({QStringLiteral("cat"), QStringLiteral("ice cream")});
        ASSERT_TRUE(world);
        WriteFile(world->course.commonFolder() + QStringLiteral("/appvoice/SuccessWav1.wav"), kSuccess);
        WriteFile(world->course.commonFolder() + QStringLiteral("/appvoice/FailWav0.wav"), kFail);
        ViewContext context = world->program->context();
        context.readingChecker = &checker;
        reader = std::make_unique<Lexivo>(context, world->host);
        reader->InitUserControl();
        reader->bReaderShown = true;
        reader->ChangeWord(0);
        reader->findChild<QCheckBox*>(QStringLiteral("chkRead"))->click();
        world->capture.nextData = TestPcm(PcmFormat{2, 16, 44100}, 441, 7);
        world->soundOut.played.clear();
    }
    // A check still held would keep the reader from closing.
    void TearDown() override { checker.gate.release(100); }
    QLabel* label(const char* name) const { return reader->findChild<QLabel*>(QLatin1String(name)); }
    bool marked(const char* name) const { return !label(name)->styleSheet().isEmpty(); }
    // Records and stops by hand, then waits for the verdict.
    void readAndStop()
    {
        QSignalSpy judged(&reader->readingCheck(), &ReadingCheck::judged);
        reader->lblRecord_Click();
        reader->lblRecord_Click();
        ASSERT_TRUE(judged.wait(10000));
    }
    // Records until the time-out ends the reading; its check waits for the gate.
    void readUntilTimeOut()
    {
        checker.hold = true;
        reader->lblRecord_Click();
        world->clock.advance(15000);
        reader->TimerRecord().poll();
    }
    QByteArray reading() const { return ReadFile(world->myVoice() + QStringLiteral("/cat.wav")); }

    const QByteArray kSuccess = TestWav(PcmFormat{1, 16, 8000}, 64, 901);
    const QByteArray kFail = TestWav(PcmFormat{1, 16, 8000}, 64, 902);
    ScriptedChecker checker;
    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<Lexivo> reader;
};

// Name, verdict, "Very Good" marked, "Try again" marked, heading hint, feedback (1 success, 2 failure, 0
// none).
using VerdictCase = std::tuple<const char*, ReadingVerdict, bool, bool, const char*, int>;

class VerdictShown : public ReadingVerdictTest, public ::testing::WithParamInterface<VerdictCase>
{};

TEST_P(VerdictShown, MarksHintsAndSoundsAfterTheReadingIsHeard)
{
    const auto& [name, verdict, goodMarked, againMarked, hint, feedback] = GetParam();
    checker.answer = {verdict, QStringLiteral("cat"), std::nullopt, std::nullopt, {}};
    readAndStop();
    EXPECT_EQ(reader->shownVerdict(), verdict);
    EXPECT_EQ(marked("Label4"), goodMarked);
    EXPECT_EQ(marked("Label5"), againMarked);
    EXPECT_EQ(label("Label1")->text(), kHeading + QString::fromUtf8(hint));
    // The reading is played back first; the feedback sound, if any, follows.
    std::vector<QByteArray> expected{reading()};
    if (feedback)
        expected.push_back(feedback == 1 ? kSuccess : kFail);
    EXPECT_EQ(world->soundOut.played, expected);
}

INSTANTIATE_TEST_SUITE_P(Verdicts, VerdictShown,
                         ::testing::Values(VerdictCase{"Good", ReadingVerdict::Good, true, false, "", 1},
                                           VerdictCase{"Again", ReadingVerdict::Again, false, true, "", 2},
                                           VerdictCase{"Silent", ReadingVerdict::Silent, false, false,
                                                       "没有听到声音，再读一遍吧！", 0},
                                           VerdictCase{"ModelMissing", ReadingVerdict::Unavailable, false,
                                                       false, "", 0}),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

TEST_F(ReadingVerdictTest, AgainMarksTheLettersToWorkOnUntilTheNextReading)
{
    QLabel* english = label("txtEnglish");
    checker.answer = {ReadingVerdict::Again, QStringLiteral("hat"), std::nullopt, std::nullopt, {0}};
    readAndStop();
    EXPECT_EQ(english->text(),
              QStringLiteral("<span style=\"color:#d9480f; text-decoration:underline\">c</span>at"));
    checker.answer = {ReadingVerdict::Good, QStringLiteral("cat"), std::nullopt, std::nullopt, {}};
    readAndStop();
    EXPECT_EQ(english->text(), QStringLiteral("cat"));
    EXPECT_EQ(english->textFormat(), Qt::PlainText);
}

TEST_F(ReadingVerdictTest, TheTimeOutIsCheckedAgainstTheWordAmongItsListWhileTheHeadingListens)
{
    QSignalSpy judged(&reader->readingCheck(), &ReadingCheck::judged);
    readUntilTimeOut();
    EXPECT_EQ(label("Label1")->text(), kHeading + QStringLiteral("正在听……"));
    checker.gate.release();
    ASSERT_TRUE(judged.wait(10000));
    const QStringList expected{world->myVoice() + QStringLiteral("/cat.wav"), "cat", "cat", "ice cream"};
    EXPECT_EQ(checker.asked, std::vector{expected});
    EXPECT_TRUE(marked("Label4"));
    EXPECT_EQ(world->soundOut.played, std::vector{kSuccess}); // a time-out plays no reading
}

TEST_F(ReadingVerdictTest, AVerdictArrivingDuringThePlaybackWaitsForItsEnd)
{
    checker.hold = true;
    bool markedDuringPlayback = false;
    world->soundOut.onPlay = [&] {
        if (world->soundOut.played.size() != 1)
            return;
        QSignalSpy judged(&reader->readingCheck(), &ReadingCheck::judged);
        checker.gate.release();
        EXPECT_TRUE(judged.wait(10000));
        markedDuringPlayback = marked("Label4");
    };
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    EXPECT_FALSE(markedDuringPlayback);
    EXPECT_TRUE(marked("Label4"));
    EXPECT_EQ(world->soundOut.played, (std::vector{reading(), kSuccess}));
}

TEST_F(ReadingVerdictTest, ARecordingWithoutSoundIsSilentWithoutAsking)
{
    world->capture.nextData.clear();
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    EXPECT_TRUE(checker.asked.empty());
    EXPECT_EQ(reader->shownVerdict(), ReadingVerdict::Silent);
}

TEST_F(ReadingVerdictTest, AVerdictForAWordNoLongerShownIsDropped)
{
    QSignalSpy judged(&reader->readingCheck(), &ReadingCheck::judged);
    readUntilTimeOut();
    reader->cmdNextWord_Click();
    checker.gate.release();
    ASSERT_TRUE(judged.wait(10000));
    EXPECT_EQ(reader->shownVerdict(), ReadingVerdict::Unavailable);
    EXPECT_EQ(label("Label1")->text(), kHeading);
    const auto& played = world->soundOut.played;
    EXPECT_EQ(std::count(played.begin(), played.end(), kSuccess), 0) << "no success sound for the old word";
}

} // namespace
} // namespace lexora::test
