#pragma once

#include "CourseFixture.h"
#include "FakeClock.h"
#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "ScriptedRandom.h"
#include "app/Program.h"
#include "ui/ViewHost.h"

#include <functional>
#include <memory>
#include <vector>

namespace lexora::test {

// Records the views' calls on their host; every activity may end and every review is shown.
class FakeHost final : public ViewHost
{
public:
    void ShowUserControl(ViewId index, TestMode mode) override
    {
        shown.push_back({static_cast<int>(index), static_cast<int>(mode)});
    }
    bool EndOtherCtrl() override { return true; }
    void ShowReader() override { ++readers; }
    void ShowTestResults() override {}
    void ShowGameHelp() override {}
    // Answered right at once unless a test answers it.
    bool AskWordQuiz(std::int16_t wordIndex) override { return quiz ? quiz(wordIndex) : true; }
    bool ShowMistakeReview() override { return true; }

    std::vector<std::pair<int, int>> shown;
    int readers = 0;
    std::function<bool(std::int16_t)> quiz;
};

// The fake services a program is built over in tests and in the screenshot programs.
struct FakeServices
{
    explicit FakeServices(unsigned seed = 12345) : random(seed) {}
    Services services() { return {prompter, clock, clock, random, soundOut, capture, shell, nullptr}; }

    FakePrompter prompter;
    FakeClock clock;
    ScriptedRandom random;
    FakeSoundOut soundOut;
    FakeCaptureDevice capture;
    FakeShellOpener shell;
};

// A course on disk with the program's objects built over fakes; time moves only when a test moves it.
class ViewWorld : public WithApplication, public FakeServices
{
public:
    explicit ViewWorld(CourseFixture fixture = CourseFixture::standard()) : course(std::move(fixture)) {}

    // Writes the database and builds the program's objects over the fakes, loading nothing.
    bool build();
    // build(), then opens the store on its stored unit. False on failure.
    bool open();
    // One book with one unit holding the given words; the meaning of "cat" is "中cat".
    static CourseFixture courseOf(const QStringList& words);
    static QStringList numbered(int n);
    // courseOf(words) with a picture and the voice of seed i + 1 for word i, opened; null on failure.
    static std::unique_ptr<ViewWorld> withMedia(const QStringList& words);

    void addPicture(const QString& word);
    void addVoice(const QString& word, int seed)
    {
        WriteFile(voice() + u'/' + word + QStringLiteral(".wav"), voiceOf(seed));
    }
    void addLetterSounds(const QString& letters);
    QByteArray voiceOf(int seed) const { return TestWav(PcmFormat{1, 16, 8000}, 64, seed); }
    QString pics() const { return course.commonFolder() + QStringLiteral("/pics"); }
    QString voice() const { return course.commonFolder() + QStringLiteral("/voice"); }
    QString myVoice() const { return course.commonFolder() + QStringLiteral("/myvoice"); }

    CourseFixture course;
    std::unique_ptr<Program> program;
    FakeHost host;
};

} // namespace lexora::test
