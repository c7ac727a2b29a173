#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "distributions/Readings.h"
#include "engine/Faults.h"

#ifdef CORVANTA_HAVE_BOOST
#include <boost/math/distributions/students_t.hpp>
#endif

namespace corvanta {
namespace {

const double kPercent[6] = {68.27, 90, 95, 95.45, 99, 99.73};
const double kOutside[6] = {0.3173, 0.1, 0.05, 0.0455, 0.01, 0.0027};

// The quoted rows, to their six significant digits; a coverage may also be given as the
// probability outside the interval.
TEST(StudentCritical, AgreesWithTheQuotedRows) {
    struct Row {
        int Nu;
        double Values[6];
    };
    const Row rows[] = {
        {1, {1.83741, 6.31375, 12.7062, 13.9678, 63.6567, 235.784}},
        {10, {1.05259, 1.81246, 2.22814, 2.28368, 3.16927, 3.95689}},
        {50, {1.01012, 1.6759, 2.00856, 2.05125, 2.67779, 3.15712}},
        {100, {1.00505, 1.66023, 1.98397, 2.02531, 2.62589, 3.07673}},
        {10000, {1.00007, 1.64501, 1.96020, 2.00025, 2.57632, 3.00073}},
    };
    for (const auto& row : rows) {
        for (int c = 0; c < 6; ++c) {
            SCOPED_TRACE("nu " + std::to_string(row.Nu) + " column " + std::to_string(c));
            const double shown = row.Values[c];
            const double halfUnit = 0.5 * std::pow(10.0, std::floor(std::log10(shown)) - 5);
            EXPECT_NEAR(static_cast<double>(StudentCritical(kPercent[c], row.Nu)), shown,
                        halfUnit * 1.0001);
            EXPECT_EQ(StudentCritical(kOutside[c], row.Nu), StudentCritical(kPercent[c], row.Nu));
        }
    }
}

#ifdef CORVANTA_HAVE_BOOST
TEST(StudentCritical, EveryRowIsTheQuantileRoundedToSinglePrecision) {
    // nu = 1 ... 50, 100, 1000, 10000
    for (int nu = 1; nu <= 10000; nu = nu < 50 ? nu + 1 : nu * 10 / (nu == 50 ? 5 : 1)) {
        const boost::math::students_t_distribution<long double> t(nu);
        for (double percent : kPercent) {
            const long double upper = (1.0L + static_cast<long double>(percent) / 100) / 2;
            EXPECT_EQ(StudentCritical(percent, nu),
                      static_cast<float>(boost::math::quantile(t, upper)))
                << "nu " << nu << " coverage " << percent;
        }
    }
}
#endif

TEST(StudentCritical, InterpolatesLinearlyBetweenRowsAndHoldsBeyondTheLast) {
    const auto at = [](int nu) { return StudentCritical(95, nu); };
    // The quoted example: 2.00856 + 25 (1.98397 - 2.00856) / 50.
    EXPECT_NEAR(static_cast<double>(at(75)), 1.99626535, 1e-8);
    const int cases[][3] = {{51, 50, 100}, {99, 50, 100}, {200, 100, 1000}, {9999, 1000, 10000}};
    for (const auto& [nu, low, high] : cases) {
        const long double expected = at(low) + (nu - low) * (at(high) - at(low)) / (high - low);
        EXPECT_NEAR(static_cast<double>(at(nu)), static_cast<double>(expected), 1e-15) << nu;
    }
    EXPECT_EQ(at(10000), at(20000));
    EXPECT_EQ(at(10000), at(2147483647));
}

TEST(StudentCritical, RefusesAnUnknownCoverageAndFewerThanOneDegree) {
    EXPECT_EQ(StudentCritical(95.000009, 10), StudentCritical(95, 10));
    EXPECT_EQ(StudentCritical(0.050009, 10), StudentCritical(95, 10));
    for (double p : {95.0001, 0.0501, 0.95, 50.0, 0.0, -95.0, 100.0})
        EXPECT_THROW(StudentCritical(p, 10), CalcError) << p;
    for (int nu : {0, -1, -2147483647 - 1})
        EXPECT_THROW(StudentCritical(95, nu), CalcError) << nu;
}

}  // namespace
}  // namespace corvanta
