#pragma once

#include "publish/CourseSource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lexora {

// One run of an outside tool that must leave a WAV file behind.
struct SoundJob
{
    QString program;
    QStringList arguments;
    QString output;
    QString what; // how the error names the job, e.g. "the voice of \"apple\""
    int line = 0; // source line the job belongs to; 0 for the course's own sounds
};

// flite reading text aloud with its clearest voice.
SoundJob SpeechJob(const QString& flite, const QString& text, const QString& output);

// The feedback sounds the games play, written into folder by sox: gentle, short, 16-bit PCM.
std::vector<SoundJob> FeedbackSoundJobs(const QString& sox, const QString& folder);

// Runs the jobs, up to `parallel` at a time. Fails on the first job that cannot start, times out,
// exits non-zero or leaves no RIFF WAVE file; the jobs still running are stopped then.
std::optional<CourseError> RunSoundJobs(const std::vector<SoundJob>& jobs, int parallel);

// "RIFF" <size> "WAVE": the start of every WAV file.
bool IsRiffWave(const QByteArray& bytes);

// A WAV file whose data chunk holds at least one whole sample frame; a header alone is a silent voice.
bool WavHasSamples(const QByteArray& bytes);

} // namespace lexora
