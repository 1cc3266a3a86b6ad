#include "common/Random.h"

#include <random>

namespace {

std::mt19937& engine()
{
    static std::mt19937 e(20261207u);
    return e;
}

} // namespace

double rnd()
{
    // 53 random bits, so 1.0 itself can never come out.
    return std::generate_canonical<double, 53>(engine()) * (1.0 - 1e-16);
}
