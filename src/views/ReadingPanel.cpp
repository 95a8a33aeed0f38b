#include "views/ReadingPanel.h"

#include "media/AtomicFile.h"
#include "media/MediaFolders.h"
#include "media/VoiceRecorder.h"
#include "media/WavFile.h"
#include "store/ErrorText.h"

#include <QDir>
#include <QFile>
#include <cerrno>

namespace lexora {

namespace {

// The recording device's save command takes the path unquoted, so the private folder must not hold
// a blank; a temporary root with blanks gives way to /tmp.
QString TemporaryRoot()
{
    const QString root = QDir::tempPath();
    return root.contains(QLatin1Char(' ')) ? QStringLiteral("/tmp") : root;
}

constexpr int kWavHeaderBytes = 44;

} // namespace

ReadingPanel::ReadingPanel(VoiceRecorder& recorder, const MediaFolders& folders)
    : m_recorder(recorder), m_folders(folders), m_temp(TemporaryRoot() + QStringLiteral("/lexora-XXXXXX"))
{
    m_tempFile = m_temp.filePath(QStringLiteral("reading.wav"));
}

QString ReadingPanel::temporaryFile() const
{
    return m_tempFile;
}

std::optional<QString> ReadingPanel::readingFile(const QString& word) const
{
    return MediaFolders::fileIn(m_folders.myVoice(), word, QStringLiteral(".wav"));
}

bool ReadingPanel::hasReading(const QString& word) const
{
    // A damaged file, or a FIFO or device in its place, is no reading.
    if (lostReading(word))
        return false;
    const auto file = readingFile(word);
    const auto reading = file ? ReadWavFile(*file) : std::nullopt;
    return reading && !reading->data.isEmpty();
}

bool ReadingPanel::start()
{
    m_recording = m_recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    return m_recording;
}

bool ReadingPanel::stop(const QString& word)
{
    if (!m_recording)
        return false;
    m_recording = false;
    m_saved = false;
    m_failure.clear();
    QFile::remove(m_tempFile);
    m_recorder.StopRecord(m_tempFile);
    const auto target = readingFile(word);
    const auto bytes = ReadWholeFile(m_tempFile);
    // A recording without a single sample (no microphone signal, a click on start and stop at once)
    // does not replace a reading the learner already has.
    if (target && bytes && bytes->size() > kWavHeaderBytes)
        keep(word, *target, *bytes);
    QFile::remove(m_tempFile);
    return true;
}

void ReadingPanel::keep(const QString& word, const QString& target, const QByteArray& bytes)
{
    errno = 0;
    // Written aside and renamed, so a crash never leaves half a reading.
    m_saved = QDir().mkpath(m_folders.myVoice()) &&
              (m_writer ? m_writer(m_tempFile, target, bytes) : ReplaceMediaFile(m_tempFile, target, bytes));
    if (m_saved) {
        m_lost.remove(word);
        return;
    }
    const int error = errno != 0 ? errno : EIO;
    m_failure = DescribeFileError(error);
    // The learner has just read the word again: the older reading is not theirs any more. Where it
    // cannot be removed (a read-only folder) the mark keeps it from being played.
    QFile::remove(target);
    m_lost.insert(word);
}

bool ReadingPanel::timeOut(const QString& word)
{
    // Through the temporary file as well, so an empty recording cannot replace a reading either.
    return stop(word);
}

bool ReadingPanel::throwAway(const QString& word)
{
    const auto file = readingFile(word);
    if (!file || !QFile::exists(*file) || !QFile::remove(*file))
        return false;
    m_lost.remove(word);
    return true;
}

} // namespace lexora
