#pragma once

#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace lexora {

class MediaFolders;
class VoiceRecorder;

// The learner's readings: one WAV per word in the myvoice folder, recorded through a private
// temporary file. Holds whether a recording runs; the reader maps that onto its captions.
class ReadingPanel
{
public:
    ReadingPanel(VoiceRecorder& recorder, const MediaFolders& folders);

    bool recording() const { return m_recording; }

    // The reading's file for a word; nothing for a word that cannot name a file (an empty list).
    std::optional<QString> readingFile(const QString& word) const;
    // Whether the word has a reading that can be played: a readable WAV with samples.
    bool hasReading(const QString& word) const;

    // Starts recording: stereo, 16 bits, 44100 samples per second. False when no recording runs (no
    // microphone; the learner was told).
    bool start();
    // Ends the recording through the temporary file and puts it in place as the word's reading; an
    // earlier reading stays when nothing (or no sound at all) could be saved. False when nothing was
    // running.
    bool stop(const QString& word);
    // Whether the last stop put a new reading in place.
    bool lastSaved() const { return m_saved; }
    // The time-out: saved as by stop(); the reader does not play it.
    bool timeOut(const QString& word);
    // Deletes the word's reading; false when there was none.
    bool throwAway(const QString& word);

    QString temporaryFile() const;

private:
    VoiceRecorder& m_recorder;
    const MediaFolders& m_folders;
    QTemporaryDir m_temp;
    QString m_tempFile;
    bool m_recording = false;
    bool m_saved = false;
};

} // namespace lexora
