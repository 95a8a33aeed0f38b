#pragma once

#include "speech/ReadingChecker.h"

#include <QString>
#include <memory>
#include <mutex>

namespace lexora {

// How much the path of free phones weighs against the words of the list: higher rejects more
// readings as something else, lower lets more near-misses through. Children are judged leniently.
constexpr double kRejectionWeight = 1e-3;

// The offline check on Debian's recogniser and its English model, with letter-to-sound rules for
// words its dictionary lacks. The model is loaded on the first prepare() or check(), never before;
// one check runs at a time.
class SphinxChecker final : public ReadingChecker
{
public:
    // The folder holding the model ("en-us/" and "cmudict-en-us.dict"); by default the system's.
    explicit SphinxChecker(QString modelFolder = DefaultModelFolder(),
                           double rejectionWeight = kRejectionWeight);
    ~SphinxChecker() override;

    bool prepare() override;
    ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) override;

    static QString DefaultModelFolder();

private:
    struct Engine;
    bool loadLocked();

    const QString m_modelFolder;
    const double m_rejectionWeight;
    std::mutex m_mutex;
    bool m_tried = false;
    std::unique_ptr<Engine> m_engine;
};

} // namespace lexora
