#include "store/Random.h"

#include <chrono>

namespace lexora {

namespace {

// Far more than a fair source ever needs for the sizes drawn here (at most 16 values).
constexpr int kMaxRefusals = 1000;

} // namespace

int Random::below(int n)
{
    if (n <= 0)
        return 0;
    const int i = static_cast<int>(Rnd() * n);
    return i < n ? i : n - 1;
}

int DrawAccepted(Random& random, int n, const std::function<bool(int)>& accept)
{
    if (n <= 0)
        return -1;
    for (int draw = 0; draw < kMaxRefusals; ++draw) {
        const int r = random.below(n);
        if (accept(r))
            return r;
    }
    for (int r = 0; r < n; ++r) {
        if (accept(r))
            return r;
    }
    return -1;
}

SystemRandom::SystemRandom()
{
    Randomize();
}

double SystemRandom::Rnd()
{
    return m_dist(m_engine);
}

void SystemRandom::Randomize()
{
    // Mix in a random device too: several reseeds within one clock tick must not repeat a draw.
    std::random_device device;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<unsigned>(now), static_cast<unsigned>(now >> 32), device(), device()};
    m_engine.seed(seq);
}

} // namespace lexora
