#pragma once

#include "store/Random.h"

#include <deque>

namespace lexora::test {

// Plays back scripted values in [0, 1); when the script runs out it continues with a seeded
// generator, so property tests can draw many values reproducibly.
class ScriptedRandom final : public Random
{
public:
    explicit ScriptedRandom(unsigned seed = 12345) : m_engine(seed) {}
    void queue(double value) { m_script.push_back(value); }
    double Rnd() override
    {
        if (!m_script.empty()) {
            const double v = m_script.front();
            m_script.pop_front();
            return v;
        }
        return m_dist(m_engine);
    }
    void Randomize() override { ++m_reseeds; }
    int reseeds() const { return m_reseeds; }

private:
    std::deque<double> m_script;
    std::mt19937_64 m_engine;
    std::uniform_real_distribution<double> m_dist{0.0, 1.0};
    int m_reseeds = 0;
};

} // namespace lexora::test
