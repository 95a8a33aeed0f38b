#include "media/SoundPlayer.h"

#include "media/AtomicFile.h"
#include "media/MediaFiles.h"
#include "media/ShellOpener.h"
#include "media/SoundOut.h"
#include "media/WavFile.h"
#include "store/Clock.h"
#include "store/Prompter.h"
#include "store/Random.h"

#include <QFile>
#include <QScopeGuard>

namespace lexora {

namespace {

constexpr int kAfterWordMs = 10;
constexpr int kAfterFeedbackMs = 500;

} // namespace

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

SoundPlayer::SoundPlayer(MediaFiles& media, SoundOut& out, Clock& clock, Prompter& prompter, Random& random,
                         ShellOpener& opener)
    : m_media(media), m_out(out), m_clock(clock), m_prompter(prompter), m_random(random), m_opener(opener)
{}

void SoundPlayer::playMarked(const std::optional<QByteArray>& wav)
{
    if (m_busy)
        return;
    m_busy = true;
    const auto clear = qScopeGuard([this] { m_busy = false; });
    if (wav)
        m_out.play(*wav);
}

void SoundPlayer::playFile(const std::optional<QString>& path)
{
    // A missing or unreadable file is silence.
    if (const std::optional<QByteArray> wav = path ? ReadRegularFile(*path, kMaxWavBytes) : std::nullopt)
        m_out.play(*wav);
}

void SoundPlayer::PlayWordSound(const QString& word)
{
    const QString trimmed = TrimBlanks(word);
    if (!m_media.WordSoundExists(trimmed))
        return;
    // Settles the folder before playing: the voice is encoded at rest even if we die mid-sound.
    playMarked(m_media.TakeWordSound(trimmed));
    m_clock.sleep(kAfterWordMs);
}

void SoundPlayer::PlayWaveFile(const QString& text)
{
    if (m_busy)
        return;
    const auto path =
        MediaFolders::fileIn(m_media.folders().voice(), TrimBlanks(text), QStringLiteral(".wav"));
    playMarked(path ? ReadRegularFile(*path, kMaxWavBytes) : std::nullopt);
}

void SoundPlayer::PlayMyVoice(const QString& word)
{
    const auto path = MediaFolders::fileIn(m_media.folders().myVoice(), word, QStringLiteral(".wav"));
    if (!path || !QFile::exists(*path)) {
        m_prompter.message(QStringLiteral("请先录音！"), QStringLiteral("跟读录音"), Prompter::Buttons::Ok,
                           Prompter::Icon::Critical);
        return;
    }
    // A damaged reading (or anything else left in its place) is no reading: it is never played.
    const std::optional<WavAudio> reading = ReadWavFile(*path);
    if (!reading || reading->data.isEmpty()) {
        m_prompter.message(QStringLiteral("录音文件已损坏，请重新录音！"), QStringLiteral("跟读录音"),
                           Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return;
    }
    m_out.play(MakeWav(reading->format, reading->data));
}

void SoundPlayer::PlayAppSound(std::int16_t kind)
{
    m_random.Randomize();
    const int variant = m_random.below(1) + (kind == 1 ? 1 : 0);
    const QString base = kind == 1   ? QStringLiteral("SuccessWav")
                         : kind == 2 ? QStringLiteral("FailWav")
                                     : QStringLiteral("Notify");
    playFile(MediaFolders::fileIn(m_media.folders().appVoice(), base + QString::number(variant),
                                  QStringLiteral(".wav")));
    m_clock.sleep(kAfterFeedbackMs);
}

void SoundPlayer::ShellOpen(const QString& target)
{
    const QUrl url = ShellTargetUrl(target);
    if (!url.isEmpty())
        m_opener.openUrl(url);
}

} // namespace lexora
