#include "course/CourseSounds.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <flite/flite.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern "C" cst_voice* register_cmu_us_slt(const char* voxdir);

namespace lexora {

namespace {

constexpr int kJobTimeoutMs = 60000;

// A note of the sox synth: length in seconds, waveform, frequency; faded in and out so that it
// starts and stops without a click, at a third of full scale.
QStringList note(const QString& seconds, const QString& wave, const QString& hertz, const QString& fadeOut)
{
    return {QStringLiteral("synth"),
            seconds,
            wave,
            hertz,
            QStringLiteral("fade"),
            QStringLiteral("q"),
            QStringLiteral("0.01"),
            seconds,
            fadeOut,
            QStringLiteral("vol"),
            QStringLiteral("0.3")};
}

SoundJob toneJob(const QString& sox, const QString& folder, const QString& name,
                 const std::vector<QStringList>& notes)
{
    const QString output = folder + QLatin1Char('/') + name;
    // -R: dither from a fixed seed, so that a rebuild gives the same bytes.
    QStringList args = {QStringLiteral("-R"),
                        QStringLiteral("-n"),
                        QStringLiteral("-r"),
                        QStringLiteral("22050"),
                        QStringLiteral("-b"),
                        QStringLiteral("16"),
                        QStringLiteral("-c"),
                        QStringLiteral("1"),
                        QStringLiteral("-e"),
                        QStringLiteral("signed-integer"),
                        output};
    // sox runs effect chains separated by ':' one after another into the same file.
    for (size_t i = 0; i < notes.size(); ++i) {
        if (i > 0)
            args << QStringLiteral(":");
        args << notes[i];
    }
    return {sox, args, output, QStringLiteral("the sound %1").arg(name), 0};
}

QString processOutput(QProcess& process)
{
    const QString said = QString::fromLocal8Bit(process.readAll()).trimmed();
    return said.isEmpty() ? QString() : QStringLiteral(": ") + said;
}

std::optional<CourseError> finish(const SoundJob& job, QProcess& process)
{
    if (!process.waitForFinished(kJobTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return CourseError{job.line, QStringLiteral("%1 took too long making %2").arg(job.program, job.what)};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return CourseError{job.line, QStringLiteral("%1 failed making %2 (exit status %3)%4")
                                         .arg(job.program, job.what)
                                         .arg(process.exitCode())
                                         .arg(processOutput(process))};
    QFile file(job.output);
    if (!file.open(QIODevice::ReadOnly) || !IsRiffWave(file.read(12)))
        return CourseError{job.line,
                           QStringLiteral("%1 left no WAV file making %2").arg(job.program, job.what)};
    return std::nullopt;
}

using Running = std::deque<std::pair<const SoundJob*, std::unique_ptr<QProcess>>>;

// Stops what still runs after a failure: nothing is left writing into the work folder.
std::optional<CourseError> stopAll(Running& running, CourseError error)
{
    for (auto& entry : running) {
        entry.second->kill();
        entry.second->waitForFinished();
    }
    running.clear();
    return error;
}

} // namespace

bool IsRiffWave(const QByteArray& bytes)
{
    return bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
}

bool WavHasSamples(const QByteArray& bytes)
{
    if (!IsRiffWave(bytes))
        return false;
    qsizetype frame = 1;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype length = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype present = std::min(length, bytes.size() - at - 8);
        // The block alignment (bytes per frame) sits 12 bytes into the format chunk.
        if (id == "fmt " && present >= 14)
            frame = std::max<qsizetype>(1, qFromLittleEndian<quint16>(bytes.constData() + at + 8 + 12));
        if (id == "data")
            return present >= frame;
        // Chunks are padded to an even length.
        at += 8 + length + (length & 1);
    }
    return false;
}

bool SpeakInProcess(const std::vector<SpeechJob>& jobs, const std::vector<size_t>& which, int reportFd)
{
    flite_init();
    cst_voice* voice = register_cmu_us_slt(nullptr);
    if (!voice)
        return false;
    for (size_t index : which) {
        const QByteArray text = jobs[index].text.toUtf8();
        const QByteArray output = QFile::encodeName(jobs[index].output);
        // The state the flite command starts every text with.
        std::srand(1);
        cst_wave* wave = flite_text_to_wave(text.constData(), voice);
        const bool saved = wave && cst_wave_save_riff(wave, output.constData()) == 0;
        if (wave)
            delete_wave(wave);
        if (!saved)
            return false;
        if (reportFd >= 0 && ::write(reportFd, "+", 1) != 1)
            return false;
    }
    return true;
}

SpeechRun::~SpeechRun()
{
    stop();
}

void SpeechRun::stop()
{
    for (Worker& worker : m_workers) {
        if (worker.pid > 0) {
            ::kill(worker.pid, SIGKILL);
            ::waitpid(worker.pid, nullptr, 0);
        }
        if (worker.done >= 0)
            ::close(worker.done);
    }
    m_workers.clear();
}

std::optional<CourseError> SpeechRun::start(const std::vector<SpeechJob>& jobs, int workers)
{
    stop();
    m_jobs = jobs;
    if (jobs.empty())
        return std::nullopt;
    const size_t count = std::min(static_cast<size_t>(std::max(1, workers)), jobs.size());
    m_workers.resize(count);
    // Dealt out in turn, so that long and short texts spread evenly.
    for (size_t i = 0; i < jobs.size(); ++i)
        m_workers[i % count].jobs.push_back(i);
    // Nothing buffered may be written twice, once by a worker.
    std::fflush(nullptr);
    for (Worker& worker : m_workers) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            stop();
            return CourseError{
                0, QStringLiteral("cannot start the speech workers: %1").arg(qt_error_string(errno))};
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ends[0]);
            ::_exit(SpeakInProcess(m_jobs, worker.jobs, ends[1]) ? 0 : 1);
        }
        ::close(ends[1]);
        worker.done = ends[0];
        if (pid < 0) {
            stop();
            return CourseError{
                0, QStringLiteral("cannot start the speech workers: %1").arg(qt_error_string(errno))};
        }
        worker.pid = pid;
    }
    return std::nullopt;
}

std::optional<CourseError> SpeechRun::finish(const std::function<void(int done)>& progress)
{
    int allFinished = 0;
    for (Worker& worker : m_workers) {
        size_t finished = 0;
        char reports[64];
        ssize_t got;
        while ((got = ::read(worker.done, reports, sizeof reports)) > 0 || (got < 0 && errno == EINTR)) {
            finished += got > 0 ? static_cast<size_t>(got) : 0;
            allFinished += got > 0 ? static_cast<int>(got) : 0;
            if (progress && got > 0)
                progress(allFinished);
        }
        ::close(worker.done);
        worker.done = -1;
        int status = 0;
        ::waitpid(worker.pid, &status, 0);
        worker.pid = -1;
        const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && finished == worker.jobs.size();
        if (!ok) {
            // The first job it did not report is the one it failed on.
            const SpeechJob& job = m_jobs[worker.jobs[std::min(finished, worker.jobs.size() - 1)]];
            stop();
            return CourseError{job.line,
                               QStringLiteral("flite failed making the voice of \"%1\"").arg(job.text)};
        }
    }
    m_workers.clear();
    for (const SpeechJob& job : m_jobs) {
        QFile file(job.output);
        if (!file.open(QIODevice::ReadOnly) || !IsRiffWave(file.read(12)))
            return CourseError{
                job.line, QStringLiteral("flite left no WAV file making the voice of \"%1\"").arg(job.text)};
    }
    return std::nullopt;
}

std::vector<SoundJob> FeedbackSoundJobs(const QString& sox, const QString& folder)
{
    const QString sine = QStringLiteral("sine");
    const QString triangle = QStringLiteral("triangle");
    return {
        // G5, B5, E6: a quick rising chime.
        toneJob(sox, folder, QStringLiteral("SuccessWav1.wav"),
                {note(QStringLiteral("0.1"), sine, QStringLiteral("784"), QStringLiteral("0.04")),
                 note(QStringLiteral("0.1"), sine, QStringLiteral("988"), QStringLiteral("0.04")),
                 note(QStringLiteral("0.3"), sine, QStringLiteral("1319"), QStringLiteral("0.24"))}),
        // G4 falling to D4, soft triangle waves: "uh-oh".
        toneJob(sox, folder, QStringLiteral("FailWav0.wav"),
                {note(QStringLiteral("0.18"), triangle, QStringLiteral("392"), QStringLiteral("0.08")),
                 note(QStringLiteral("0.32"), triangle, QStringLiteral("294"), QStringLiteral("0.24"))}),
        // One C6 ping that dies away.
        toneJob(sox, folder, QStringLiteral("Notify0.wav"),
                {note(QStringLiteral("0.3"), sine, QStringLiteral("1047"), QStringLiteral("0.27"))}),
    };
}

std::optional<CourseError> RunSoundJobs(const std::vector<SoundJob>& jobs, int parallel,
                                        const std::function<void(int done)>& finished)
{
    Running running;
    size_t next = 0;
    int done = 0;
    while (next < jobs.size() || !running.empty()) {
        while (next < jobs.size() && static_cast<int>(running.size()) < std::max(1, parallel)) {
            const SoundJob& job = jobs[next++];
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::MergedChannels);
            process->start(job.program, job.arguments);
            if (!process->waitForStarted())
                return stopAll(
                    running, CourseError{job.line, QStringLiteral("cannot run %1 for %2: %3")
                                                       .arg(job.program, job.what, process->errorString())});
            running.emplace_back(&job, std::move(process));
        }
        if (auto error = finish(*running.front().first, *running.front().second))
            return stopAll(running, *error);
        running.pop_front();
        if (finished)
            finished(++done);
    }
    return std::nullopt;
}

} // namespace lexora
