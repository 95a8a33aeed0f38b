#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lexora {

enum class ReadingVerdict
{
    Good,       // the current word was heard
    Again,      // something else was heard: another word, mumbling, noise
    Silent,     // nothing, or too little to judge
    Unavailable // no recogniser on this machine
};

struct ReadingResult
{
    ReadingVerdict verdict = ReadingVerdict::Unavailable;
    // What the recogniser heard, its words joined by blanks; empty when it heard no word.
    QString hypothesis;
    // When another word of the list was heard: how much worse the word itself, forced on the reading,
    // fits the sound than that word (acoustic score per frame; below 0 it fits better).
    std::optional<double> shortfall;
    // When another word of the list was heard: how many phones it is from the word.
    std::optional<int> apart;
    // When the verdict is again: the letters of the word (positions in its text) whose sounds were not
    // heard, for the learner to work on.
    QList<qsizetype> weakLetters;
};

// Listens to a reading and says whether it is the current word. Implementations are safe to call from
// a worker thread; the reading panel never calls them on the user-interface thread.
class ReadingChecker
{
public:
    virtual ~ReadingChecker() = default;
    // Loads what the check needs (once); false when it cannot run here.
    virtual bool prepare() = 0;
    // The reading in wavFile against word, among the words of the current list (the word included or
    // not: it is added).
    virtual ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) = 0;
};

} // namespace lexora
