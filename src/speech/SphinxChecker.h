#pragma once

#include "speech/ReadingGrammar.h"
#include "ui/ReadingChecker.h"

#include <QString>
#include <memory>
#include <mutex>

namespace lexora {

// How likely the recogniser thinks a reading is something other than a word of the list.
constexpr double kGarbageWeight = 1e-3;

// How much worse the current word, forced on a reading, may fit it than a near neighbour the recogniser
// heard instead, and still count as said (acoustic score per frame, in the recogniser's log units);
// higher is more lenient. A child's voice lies far from the model's, so "hot" heard for "hut" is most
// likely "hut" said; "grass" heard for "hut" never is.
constexpr Leniency kLeniency = {2.5, 1.5};

// The offline check on Debian's recogniser and its English model, with letter-to-sound rules for
// words its dictionary lacks. The model is loaded on the first prepare() or check(), never before;
// one check runs at a time.
class SphinxChecker final : public ReadingChecker
{
public:
    // The folder holding the model ("en-us/" and "cmudict-en-us.dict"); by default the system's.
    explicit SphinxChecker(QString modelFolder = DefaultModelFolder(), Leniency leniency = kLeniency);
    ~SphinxChecker() override;

    bool prepare() override;
    ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) override;

    // The phones the recogniser expects for a text, from its dictionary or letter-to-sound rules; empty
    // when the model cannot be loaded.
    QStringList phones(const QString& text);

    static QString DefaultModelFolder();

private:
    struct Engine;
    bool loadLocked();

    const QString m_modelFolder;
    const Leniency m_leniency;
    std::mutex m_mutex;
    bool m_tried = false;
    std::unique_ptr<Engine> m_engine;
};

} // namespace lexora
