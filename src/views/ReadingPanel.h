#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <optional>

namespace lexora {

class MediaFolders;
class VoiceRecorder;

// The learner's readings: one WAV per word in the myvoice folder, recorded through a private
// temporary file. Holds whether a recording runs; the reader maps that onto its captions.
class ReadingPanel
{
public:
    // Puts a reading's bytes in place as target; false with errno set when it could not.
    using Writer =
        std::function<bool(const QString& temporary, const QString& target, const QByteArray& bytes)>;

    ReadingPanel(VoiceRecorder& recorder, const MediaFolders& folders);

    bool recording() const { return m_recording; }

    // The reading's file for a word; nothing for a word that cannot name a file (an empty list).
    std::optional<QString> readingFile(const QString& word) const;
    // Whether the word has a reading that can be played: a readable WAV with samples, and not one that
    // a newer reading failed to replace.
    bool hasReading(const QString& word) const;
    // A newer reading of the word could not be kept: any file still under its name is an older one
    // and must not be played as the learner's reading.
    bool lostReading(const QString& word) const { return m_lost.contains(word); }

    // Starts recording: stereo, 16 bits, 44100 samples per second. False when no recording runs (no
    // microphone; the learner was told).
    bool start();
    // Ends the recording through the temporary file and puts it in place as the word's reading; an
    // earlier reading stays when nothing (or no sound at all) could be saved. False when nothing was
    // running.
    bool stop(const QString& word);
    // Whether the last stop put a new reading in place.
    bool lastSaved() const { return m_saved; }
    // Why the last stop could not keep a reading that held sound (a file error's description);
    // empty when it was kept or held no sound.
    const QString& lastFailure() const { return m_failure; }
    // The time-out: saved as by stop(); the reader does not play it.
    bool timeOut(const QString& word);
    // Deletes the word's reading; false when there was none.
    bool throwAway(const QString& word);

    QString temporaryFile() const;
    // Where readings are written (the media folder's atomic replace when empty); a test puts a
    // failing disk here.
    void setWriter(Writer writer) { m_writer = std::move(writer); }

private:
    void keep(const QString& word, const QString& target, const QByteArray& bytes);

    VoiceRecorder& m_recorder;
    const MediaFolders& m_folders;
    QTemporaryDir m_temp;
    QString m_tempFile;
    bool m_recording = false;
    bool m_saved = false;
    QString m_failure;
    QSet<QString> m_lost;
    Writer m_writer;
};

} // namespace lexora
