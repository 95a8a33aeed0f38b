#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace lexora {

class Clock;
class MediaFiles;
class Prompter;
class Random;
class ShellOpener;
class SoundOut;

// Every sound the program makes, each heard to its end before the call returns. The busy mark keeps
// a second word or letter sound (asked for by a timer while one plays) from starting inside the first.
class SoundPlayer
{
public:
    SoundPlayer(MediaFiles& media, SoundOut& out, Clock& clock, Prompter& prompter, Random& random,
                ShellOpener& opener);

    // A word's recorded voice (blanks around the word ignored), decoded for playing; the voice folder
    // is left in its at-rest form.
    void PlayWordSound(const QString& word);
    // The plain ".wav" of a word or a single letter in the voice folder; never decodes.
    void PlayWaveFile(const QString& text);
    // The learner's own reading of the word, or the message that there is none.
    void PlayMyVoice(const QString& word);
    // Feedback: 1 success, 2 failure, anything else a notification; then 500 ms more.
    void PlayAppSound(std::int16_t kind);
    void ShellOpen(const QString& target);

    bool busy() const { return m_busy; }

private:
    void playMarked(const std::optional<QByteArray>& wav);
    void playFile(const std::optional<QString>& path);

    MediaFiles& m_media;
    SoundOut& m_out;
    Clock& m_clock;
    Prompter& m_prompter;
    Random& m_random;
    ShellOpener& m_opener;
    bool m_busy = false;
};

// The text with leading and trailing blanks removed (other white space is part of the name).
QString TrimBlanks(const QString& text);

} // namespace lexora
