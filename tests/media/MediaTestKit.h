#pragma once

#include "CourseFixture.h"
#include "FakeClock.h"
#include "FakePrompter.h"
#include "ScriptedRandom.h"
#include "media/CaptureDevice.h"
#include "media/MediaFiles.h"
#include "media/ShellOpener.h"
#include "media/SoundOut.h"
#include "media/SoundPlayer.h"
#include "media/WavFile.h"

#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace lexora::test {

// Records what it was asked to play; onPlay runs inside play() (a test can re-enter from there).
class FakeSoundOut final : public SoundOut
{
public:
    void play(const QByteArray& wav) override
    {
        played.push_back(wav);
        if (onPlay)
            onPlay();
    }
    std::vector<QByteArray> played;
    std::function<void()> onPlay;
};

class FakeShellOpener final : public ShellOpener
{
public:
    bool openUrl(const QUrl& url) override { return opened.push_back(url), true; }
    std::vector<QUrl> opened;
};

// Hands out `nextData` when stopped; refuses to start while `available` is false.
class FakeCaptureDevice final : public CaptureDevice
{
public:
    bool start(const PcmFormat& format) override
    {
        if (available)
            started.push_back(format);
        return running = available;
    }
    QByteArray stop() override { return std::exchange(running, false) ? nextData : QByteArray(); }

    bool available = true;
    QByteArray nextData;
    std::vector<PcmFormat> started;
    bool running = false;
};

// A course tree and a sound player over its media; waits, messages and random draws are fakes.
struct PlayerRig
{
    explicit PlayerRig(SoundOut& out) : player(media, out, clock, prompter, random, opener) {}
    QString common(const QString& name) const { return course.commonFolder() + QLatin1Char('/') + name; }

    CourseFixture course;
    MediaFiles media{MediaFolders(course.programFolder(), course.commonFolder())};
    FakeClock clock;
    FakePrompter prompter;
    ScriptedRandom random;
    FakeShellOpener opener;
    SoundPlayer player;
};

// 16-bit PCM of `frames` frames whose samples are never silence, different for each seed.
QByteArray TestPcm(const PcmFormat& format, int frames, int seed);
inline QByteArray TestWav(const PcmFormat& format, int frames, int seed)
{
    return MakeWav(format, TestPcm(format, frames, seed));
}
inline QByteArray WavData(const QByteArray& wav)
{
    return wav.mid(44);
}
QByteArray Encoded(QByteArray plain);

void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
// Names in a folder, hidden ones included, sorted.
QStringList FilesIn(const QString& folder);

// A fixture base that makes the application object before the fixture's widgets exist.
struct WithApplication
{
    WithApplication();
};

} // namespace lexora::test
