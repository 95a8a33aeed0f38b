#pragma once

#include "course/CourseSource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
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

// One text to be read aloud into a WAV file.
struct SpeechJob
{
    QString text;
    QString output;
    int line = 0; // source line the text belongs to; 0 for the letters
};

// Reads texts aloud with flite's clearest voice, in-process, spread over a few worker processes that
// run beside the caller. flite's voice draws on the process-wide random generator, so every text
// starts it afresh: a text always gives the same bytes, as the flite command does for it.
class SpeechRun
{
public:
    SpeechRun() = default;
    SpeechRun(const SpeechRun&) = delete;
    SpeechRun& operator=(const SpeechRun&) = delete;
    // Stops and reaps the workers still running: nothing is left writing after a failed build.
    ~SpeechRun();

    // Starts up to `workers` workers on the jobs (each job's output folder must exist).
    std::optional<CourseError> start(const std::vector<SpeechJob>& jobs, int workers);
    // Waits for every worker; fails on the first text that left no WAV file. `progress` hears how many
    // texts are done so far while it waits.
    std::optional<CourseError> finish(const std::function<void(int done)>& progress = {});

    int jobCount() const { return static_cast<int>(m_jobs.size()); }

private:
    struct Worker
    {
        int pid = -1;
        int done = -1; // reading end of the pipe on which the worker reports each finished job
        std::vector<size_t> jobs;
    };
    void stop();

    std::vector<SpeechJob> m_jobs;
    std::vector<Worker> m_workers;
};

// Reads the jobs aloud in this process, one after another; the worker's part of a SpeechRun.
// Reports each finished job by writing one byte to reportFd (when >= 0). False at the first failure.
bool SpeakInProcess(const std::vector<SpeechJob>& jobs, const std::vector<size_t>& which, int reportFd);

// The feedback sounds the games play, written into folder by sox: gentle, short, 16-bit PCM.
std::vector<SoundJob> FeedbackSoundJobs(const QString& sox, const QString& folder);

// Runs the jobs, up to `parallel` at a time. Fails on the first job that cannot start, times out,
// exits non-zero or leaves no RIFF WAVE file; the jobs still running are stopped then. `finished` hears
// how many jobs are done after each one.
std::optional<CourseError> RunSoundJobs(const std::vector<SoundJob>& jobs, int parallel,
                                        const std::function<void(int done)>& finished = {});

// "RIFF" <size> "WAVE": the start of every WAV file.
bool IsRiffWave(const QByteArray& bytes);

// A WAV file whose data chunk holds at least one whole sample frame; a header alone is a silent voice.
bool WavHasSamples(const QByteArray& bytes);

} // namespace lexora
