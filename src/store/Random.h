#pragma once

#include <random>

namespace lexora {

// Uniform values in [0, 1); Randomize reseeds from the clock.
class Random
{
public:
    virtual ~Random() = default;
    virtual double Rnd() = 0;
    virtual void Randomize() = 0;

    // Whole part of Rnd() * n: 0 to n - 1 for n > 0.
    int below(int n);
};

class SystemRandom final : public Random
{
public:
    SystemRandom();
    double Rnd() override;
    void Randomize() override;

private:
    std::mt19937_64 m_engine;
    std::uniform_real_distribution<double> m_dist{0.0, 1.0};
};

} // namespace lexora
