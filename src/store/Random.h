#pragma once

#include <functional>
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

// Uniform draws of 0..n-1 until accept() takes one. A source that keeps refusing (few acceptable
// values, or a scripted one) must not hang the window: after many refusals the first acceptable
// value in order is taken. -1 when nothing in 0..n-1 is acceptable.
int DrawAccepted(Random& random, int n, const std::function<bool(int)>& accept);

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
