#pragma once

#include "ui/ReadingChecker.h"

#include <QString>
#include <memory>
#include <mutex>

namespace lexora {

// How likely the recogniser thinks a reading is something other than a word of the list.
constexpr double kGarbageWeight = 1e-3;

// How much worse the current word, forced on a reading, may fit it than the other word of the list the
// recogniser heard, and still count as said (acoustic score per frame, in the recogniser's log units);
// higher is more lenient. Tuned on bench_speech: children who say the word should almost never hear
// "Try again", and a different word should rarely pass.
constexpr double kLeniency = 2.5;

// The offline check on Debian's recogniser and its English model, with letter-to-sound rules for
// words its dictionary lacks. The model is loaded on the first prepare() or check(), never before;
// one check runs at a time.
class SphinxChecker final : public ReadingChecker
{
public:
    // The folder holding the model ("en-us/" and "cmudict-en-us.dict"); by default the system's.
    explicit SphinxChecker(QString modelFolder = DefaultModelFolder(), double leniency = kLeniency);
    ~SphinxChecker() override;

    bool prepare() override;
    ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) override;

    static QString DefaultModelFolder();

private:
    struct Engine;
    bool loadLocked();

    const QString m_modelFolder;
    const double m_leniency;
    std::mutex m_mutex;
    bool m_tried = false;
    std::unique_ptr<Engine> m_engine;
};

} // namespace lexora
