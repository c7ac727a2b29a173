#include <chrono>
#include <cmath>

#include "distributions/Sampling.h"
#include "distributions/SamplingDetail.h"
#include "engine/Faults.h"

namespace corvanta {

std::uint32_t UniformSeed = 0;

void ReseedUniform() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    UniformSeed = static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks));
}

// Multiplicative congruential method with an increment: D. H. Lehmer (1951),
// "Mathematical methods in large-scale computing units", Annals of the
// Computation Laboratory of Harvard University 26, 141-146.
long double RandomUniform() {
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    UniformSeed = UniformSeed * 134775813u + 1u;
    return static_cast<long double>(UniformSeed) * 0x1p-32L;
}

// Polar method: G. Marsaglia and T. A. Bray (1964), "A convenient method for
// generating normal variables", SIAM Review 6(3), 260-264. Departure: only the
// first deviate of each accepted pair is used; the second is discarded.
long double RandG(long double mean, long double deviation) {
    long double u1, s;
    do {
        u1 = 2 * RandomUniform() - 1;
        const long double u2 = 2 * RandomUniform() - 1;
        s = u1 * u1 + u2 * u2;
    } while (!(s > 0 && s < 1));
    return u1 * std::sqrt(-2 * std::log(s) / s) * deviation + mean;
}

std::int64_t RoundHalfEven(long double x) {
    if (!(std::fabs(x) < 0x1p63L)) ThrowInvalidOperation();
    long double whole = std::floor(x);
    const long double rest = x - whole;
    if (rest > 0.5L || (rest == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
    return sampling_detail::TruncToInt64(whole);
}

namespace sampling_detail {

std::int64_t TruncToInt64(long double x) {
    // -2^63 itself is representable; everything else must lie strictly inside.
    if (!(x > -0x1p63L - 1 && x < 0x1p63L)) ThrowInvalidOperation();
    return static_cast<std::int64_t>(x);
}

}  // namespace sampling_detail

}  // namespace corvanta
