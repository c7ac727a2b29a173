// The samplers of every kind, their quantile functions, correlation entries and the joint draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "distributions/Correlations.h"
#include "distributions/Quantiles.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "support/Records.h"

#include <boost/math/distributions.hpp>

namespace corvanta {
namespace {

using K = DistributionKind;
using testing::Record;

std::string Describe(const ModelParameter& p) {
    return "kind " + std::to_string(p.Distrib) + " Valor=" + p.Valor + " a=" + p.a + " b=" + p.b;
}

// Exact first draws of every sampler from tools/sampling-golden.py, and the seeds after them.
struct GoldenCase {
    const char* name;
    ModelParameter record;  // a record drawn by the same sampler
    long double (*draw)();
    std::vector<long double> first;
    std::uint32_t seedAfterFirst;
    long double sum, absoluteSum;  // of the first 2000 draws
    std::uint32_t seedAfterSum;
};

// clang-format off
const GoldenCase kGoldenCases[] = {
    {"Normal(3, 2)", Record(K::Normal, "3", "2"), []() -> long double { return RandG(3, 2); }, {2.9027093813616302114L, 0.6143658796845896798L, 5.4394552009366495962L, 1.8128010633243566474L, 2.5127497750300811581L, -0.75921478311999533294L}, 2045341638, 6049.7548333762587385L, 6310.5382610360888611L, 3449826832},
    {"Rectangular(5, 2)", Record(K::Rectangular, "5", "2"), []() -> long double { return SampleRectangular(5, 2); }, {4.6568695744499564171L, 6.9314569048583507538L, 3.6267478736117482185L, 5.2120446134358644485L, 6.1680893553420901299L, 5.5228760913014411926L}, 2708917576, 9998.7987637296319008L, 9998.7987637296319008L, 1703601670},
    {"Triangular(5, 2)", Record(K::Triangular, "5", "2"), []() -> long double { return SampleTriangular(3, 7, 5); }, {4.8203678608731568289L, 6.6297484770007040211L, 4.1195962429480976752L, 5.1089921276926766325L, 5.7101080319205719249L, 5.2812074536474398201L}, 2708917576, 10007.724046871861492L, 10007.724046871861492L, 1703601670},
    {"Exponential", Record(K::Exponencial, ""), []() -> long double { return SampleExponential(); }, {0.88136433763221291334L, 0.017284290231653613982L, 1.853505295790962611L, 0.59237710884046669297L, 0.23316568196507442661L, 0.46089480431920967435L}, 2708917576, 1965.8953002220079306L, 1965.8953002220079306L, 1703601670},
    {"Gamma(0.5)", Record(K::Gamma, "0.5"), []() -> long double { return SampleGammaSmall(0.5L); }, {0.031682088042303646992L, 1.0962476191160216429L, 0.0074250467417399600397L, 0.049816035362196956285L, 0.039499071681217564659L, 0.1139550267032085895L}, 2045341638, 1001.7160163323868998L, 1001.7160163323868998L, 2251354002},
    {"Gamma(2.5)", Record(K::Gamma, "2.5"), []() -> long double { return SampleGammaLarge(2.5L); }, {2.0958486024132837089L, 2.5690289777355491906L, 1.4051025040834787609L, 3.2096244168787734924L, 0.41051421629200293521L, 0.7488211122231988233L}, 3713866498, 5003.9861708794099715L, 5003.9861708794099715L, 4226473526},
    {"Beta(5, 2)", Record(K::Beta, "5", "2"), []() -> long double { return SampleBeta(5, 2); }, {0.66849027598197552976L, 0.4681640566919547647L, 0.85139210134574559784L, 0.51069801541671817067L, 0.59445513600004512117L, 0.67580726163056313338L}, 2053725788, 1436.6918226035797601L, 1436.6918226035797601L, 1208342202},
    {"Beta(2, 5)", Record(K::Beta, "2", "5"), []() -> long double { return SampleBeta(2, 5); }, {0.33150972401802447024L, 0.53183594330804523527L, 0.14860789865425440216L, 0.48930198458328182933L, 0.40554486399995487883L, 0.32419273836943686662L}, 2053725788, 563.30817739642024106L, 563.30817739642024106L, 1208342202},
    {"Beta(3, 3)", Record(K::Beta, "3", "3"), []() -> long double { return SampleBeta(3, 3); }, {0.45014490460570215675L, 0.27453552278140832277L, 0.68395533412073085232L, 0.30721392540111811046L, 0.28999074865710961025L, 0.34952381759041220534L}, 4060660160, 1009.9619300010177158L, 1009.9619300010177158L, 2857075952},
    {"Beta(0.5, 0.3)", Record(K::Beta, "0.5", "0.3"), []() -> long double { return SampleBeta(0.5L, 0.3L); }, {0.086378546936931107844L, 0.38558817651141437749L, 0.7532410836299041794L, 0.9926103290639520373L, 0.99601565700273066053L, 0.9706352197696745494L}, 182570416, 1254.1378117768182722L, 1254.1378117768182722L, 2587050478},
    {"Student(1)", Record(K::Student, "1", ""), []() -> long double { return SampleStudent(1, 0); }, {0.67665044386642727941L, 0.33008923212330357929L, 12.577335515752846408L, 2.9812985705322633484L, 4.0968685911037817293L, 3.5033777406593576108L}, 4060660160, 9232.8830008072911548L, 16514.972293909712652L, 946758222},
    {"Student(2)", Record(K::Student, "2", "0"), []() -> long double { return SampleStudent(2, 0); }, {2.0455766133276542106L, 0.59368137668358279206L, 0.2896145735686152835L, 2.6157397156866168083L, 3.5945215248219853168L, 3.0738029346919981211L}, 4060660160, -137.27085902578467488L, 2831.1151791524300367L, 3864668898},
    {"Student(4, 10)", Record(K::Student, "4", "10"), []() -> long double { return SampleStudent(4, 10); }, {12.010481699793611103L, 10.583495888422848216L, 10.28464580419993592L, 12.57086280491657751L, 9.8619757995035819808L, 9.9118842900006828255L}, 2053725788, 19972.115733955584172L, 19972.115733955584172L, 886618440},
    {"Experimental Student(3)", Record(K::Experimental, "2", "0.5", "Student", "3"), []() -> long double { return SampleExperimental(2, 0.5L, 3, "Student"); }, {3.0095488333639605688L, 2.2929982369351711606L, 2.1429328302672396394L, 3.2909401491735865534L, 3.7739961379312184204L, 1.9306921467619145355L}, 2045341638, 3988.6133843006697957L, 4075.1142050710329436L, 3449826832},
    {"VonMises(0.3)", Record(K::VonMises, "0.3"), []() -> long double { return SampleVonMises(0.3L); }, {1.8402903328276857214L, 0.61724905371209522995L, 2.5919640871252712781L, 2.3427006369649092364L, -2.2080318784877138092L, 1.4286020375691387429L}, 3713866498, -18.394590282393699796L, 2782.9170360523926657L, 2907537708},
    {"VonMises(9.99)", Record(K::VonMises, "9.99"), []() -> long double { return SampleVonMises(9.99L); }, {0.22794347298590938612L, 0.088661267801972361619L, 0.35693614872905876721L, 0.31416073024820422518L, -0.2910505931765510274L, -0.22090893494501322969L}, 2053725788, -4.2880552553532790194L, 518.62445298146798106L, 593584944},
    {"Cauchy", Record(K::Cauchy, ""), []() -> long double { return SampleCauchy(); }, {-0.17765367929615188214L, -6.4762415047322534401L, 2.233969720119942591L, -1.0363496844887505643L, -0.90699681090492159202L, 8.529146734042143874L}, 2045341638, -1920.954094580977115L, 12629.700400900456559L, 3449826832},
    {"Weibull(1.5)", Record(K::Weibull, "1.5"), []() -> long double { return SampleWeibull(1.5L); }, {0.91925707810530624136L, 0.066849941797033264046L, 1.5089072809455208784L, 0.70534053871824060872L, 0.37882888580979275618L, 0.59667046585487209224L}, 2708917576, 1791.0663123831814392L, 1791.0663123831814392L, 1703601670},
    {"ChiSquare(1)", Record(K::XiCuadrado, "1"), []() -> long double { return SampleChiSquare(1); }, {0.063364176084607293984L, 2.1924952382320432858L, 0.014850093483479920079L, 0.09963207072439391257L, 0.078998143362435129318L, 0.22791005340641717901L}, 2045341638, 2003.4320326647737996L, 2003.4320326647737996L, 2251354002},
    {"ChiSquare(2)", Record(K::XiCuadrado, "2"), []() -> long double { return SampleChiSquare(2); }, {1.7627286752644258267L, 0.034568580463307227964L, 3.7070105915819252221L, 1.1847542176809333859L, 0.46633136393014885322L, 0.92178960863841934869L}, 2708917576, 3931.7906004440158612L, 3931.7906004440158612L, 1703601670},
    {"ChiSquare(7)", Record(K::XiCuadrado, "7"), []() -> long double { return SampleChiSquare(7); }, {6.161776194332373089L, 7.2965971368171028233L, 4.4468976886102919558L, 8.7973438713209226461L, 1.7226261227452352101L, 2.7074472913259796424L}, 3713866498, 14018.097063683941307L, 14018.097063683941307L, 3043530345},
    {"LogNormal(2, 0.5)", Record(K::LogNormal, "2", "0.5"), []() -> long double { return SampleLogNormal(2, 0.5L); }, {1.9171838962616752793L, 1.4464881388150321116L, 2.6199546940576373905L, 1.6764499064682129353L, 1.8273180208779706818L, 1.221447541807922121L}, 2045341638, 4018.5331968875945201L, 4018.5331968875945201L, 3449826832},
    {"Poisson(3.5)", Record(K::Poisson, "3.5"), []() -> long double { return SamplePoisson(3.5L); }, {3, 8, 2, 4, 5, 4}, 2708917576, 7017.0L, 7017.0L, 1703601670},
    {"Poisson(10)", Record(K::Poisson, "10"), []() -> long double { return SamplePoisson(10); }, {9, 17, 7, 10, 13, 11}, 2708917576, 20023.0L, 20023.0L, 1703601670},
    {"Poisson(10.0001)", Record(K::Poisson, "10.0001"), []() -> long double { return SamplePoisson(10.0001L); }, {9, 6, 10, 11, 11, 10}, 1276299457, 19848.0L, 19848.0L, 2773877504},
    {"Poisson(1000)", Record(K::Poisson, "1000"), []() -> long double { return SamplePoisson(1000); }, {998, 962, 1006, 1015, 1019, 1008}, 1276299457, 1998256.0L, 1998256.0L, 4017697023},
    {"Binomial(10, 0.1)", Record(K::Binomial, "10", "0.1"), []() -> long double { return SampleBinomial(10, 0.1L); }, {1, 3, 0, 1, 2, 1}, 2708917576, 1989.0L, 1989.0L, 1703601670},
    {"Binomial(10, 0.9)", Record(K::Binomial, "10", "0.9"), []() -> long double { return SampleBinomial(10, 0.9L); }, {9, 7, 10, 9, 8, 9}, 2708917576, 18011.0L, 18011.0L, 1703601670},
    {"Binomial(60, 0.5)", Record(K::Binomial, "60", "0.5"), []() -> long double { return SampleBinomial(60, 0.5L); }, {29, 38, 26, 31, 33, 31}, 2708917576, 60056.0L, 60056.0L, 1703601670},
    {"Binomial(200, 0.5)", Record(K::Binomial, "200", "0.5"), []() -> long double { return SampleBinomial(200, 0.5L); }, {97, 96, 89, 94, 93, 93}, 4060660160, 199647.0L, 199647.0L, 1255674262},
    {"Binomial(1000, 0.8)", Record(K::Binomial, "1000", "0.8"), []() -> long double { return SampleBinomial(1000, 0.8L); }, {808, 807, 821, 812, 814, 813}, 4060660160, 1600360.0L, 1600360.0L, 3337420432},
    {"NegBinomial(3, 0.8)", Record(K::NegBinomial, "3", "0.8"), []() -> long double { return SampleNegBinomial(3, 0.8L); }, {11, 14, 15, 11, 8, 10}, 2300504190, 23712.0L, 23712.0L, 2563716118},
    {"NegBinomial(5, 0.3)", Record(K::NegBinomial, "5", "0.3"), []() -> long double { return SampleNegBinomial(5, 0.3L); }, {1, 7, 0, 2, 3, 2}, 2708917576, 4279.0L, 4279.0L, 1703601670},
};
// clang-format on

TEST(SamplerGolden, FirstDrawsAndUniformsConsumed) {
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        UniformSeed = 20261206;
        long double sum = 0, absoluteSum = 0;
        for (std::size_t i = 0; i < 2000; ++i) {
            const long double x = c.draw();
            sum += x;
            absoluteSum += std::fabs(x);
            if (i >= c.first.size()) continue;
            // A few units in the last place: the reference's exp and log are correctly rounded.
            EXPECT_LE(std::fabs(x - c.first[i]), 1e-17L * std::fmax(1.0L, std::fabs(c.first[i])))
                << "draw " << i << ": " << static_cast<double>(x);
            EXPECT_TRUE(i + 1 < c.first.size() || UniformSeed == c.seedAfterFirst) << UniformSeed;
        }
        EXPECT_LE(std::fabs(absoluteSum - c.absoluteSum), 1e-15L * c.absoluteSum);
        EXPECT_LE(std::fabs(sum - c.sum), 1e-15L * c.absoluteSum);
        EXPECT_EQ(UniformSeed, c.seedAfterSum);
    }
}

// The six-point Gauss-Legendre rule, against the same rule worked independently and the integral.
TEST(VonMisesIntervalMass, IsTheSixPointGaussLegendreRule) {
    const long double pi = 3.14159265358979323846264338327950288L;
    // Lower, upper, kappa, the rule, the integral and its tolerance.
    const std::array<long double, 6> cases[] = {
        {0, pi, 0, 3.14159265358979323851L, 3.14159265358979323846L, 1e-18L},
        {0, pi, 1, 3.97744902839297724073L, 3.97746326050642263726L, 1e-4L},
        {0, pi, 9.99L, 8680.91252123855101441L, 8762.32216220446858553L, 1e-2L},
        {0.5L, 1.25L, 2, 2.76415781067460455413L, 2.764157810707623963L, 1e-10L},
    };
    for (const auto& [lower, upper, kappa, rule, integral, tolerance] : cases) {
        const long double mass = VonMisesIntervalMass(lower, upper, kappa);
        EXPECT_LE(std::fabs(mass - rule), 1e-17L * rule) << static_cast<double>(kappa);
        EXPECT_LE(std::fabs(mass - integral), tolerance * integral);
    }
}

// The congruential sequence itself is pinned by the golden rows' draws and seeds.
TEST(RandomUniform, ReseedsFromTheClock) {
    ReseedUniform();
    const std::uint32_t first = UniformSeed;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ReseedUniform();
    EXPECT_NE(UniformSeed, first);
}

// Seed 4275872522 draws a uniform and then exactly 0: the beta candidate is redrawn.
TEST(SampleBeta, RedrawsACandidateWithAZeroUniform) {
    const std::array<long double, 3> cases[] = {// alpha, beta, the draw
                                                {5, 2, 0.88569510722983167315L},
                                                {0.5L, 0.3L, 0.99862909315717865184L}};
    for (const auto& [alpha, beta, draw] : cases) {
        UniformSeed = 4275872522u;
        EXPECT_LE(std::fabs(SampleBeta(alpha, beta) - draw), 1e-17L) << static_cast<double>(alpha);
        EXPECT_EQ(UniformSeed, 870078620u);
    }
}

// Every kind and branch, the golden rows among them: the record reaches its sampler, prepared too.
TEST(SampleParameter, MapsTheRecordToItsSamplerAndThePreparedSamplerMatches) {
    // clang-format off
    std::vector<std::pair<ModelParameter, std::function<long double()>>> cases = {
        {Record(K::Normal, "3", "0"), [] { return RandG(3, 0); }},
        {Record(K::Triangular, "5", "-2"), [] { return SampleTriangular(3, 7, 5); }},
        {Record(K::Triangular, "1E10", "1E-10"), [] { return SampleTriangular(1e10L - 1e-10L, 1e10L + 1e-10L, 1e10L); }},
        {Record(K::Constante, "7.25"), [] { return 7.25L; }},
        {Record(K::Gamma, "1"), [] { return SampleExponential(); }},
        {Record(K::Beta, "0.4", "0.6"), [] { return SampleBeta(0.4L, 0.6L); }},
        // n is rounded to the nearest integer, halves to even.
        {Record(K::Binomial, "10.5", "0.3"), [] { return SampleBinomial(10, 0.3L); }},
        {Record(K::Binomial, "11.5", "0.3"), [] { return SampleBinomial(12, 0.3L); }},
        {Record(K::NegBinomial, "2.5", "0.4"), [] { return SampleNegBinomial(2, 0.4L); }},
        {Record(K::NegBinomial, "3.5", "0.4"), [] { return SampleNegBinomial(4, 0.4L); }},
        {Record(K::NegBinomial, "20000", "0.6"), [] { return SampleNegBinomial(20000, 0.6L); }},
        {Record(K::NegBinomial, "20000", "0.9"), [] { return SampleNegBinomial(20000, 0.9L); }},
        {Record(K::XiCuadrado, "2.5"), [] { return SampleChiSquare(2); }},
        {Record(K::XiCuadrado, "3.5"), [] { return SampleChiSquare(4); }},
        {Record(K::LogNormal, "0.5", "0.1"), [] { return SampleLogNormal(0.5L, 0.1L); }},  // mean below 1
        {Record(K::Experimental, "2", "0.5", "Normal", "3"), [] { return RandG(2, 0.5L); }},
        // Any keyword other than "Normal" draws the t distribution.
        {Record(K::Experimental, "2", "0.5", "normal", "3"), [] { return SampleExperimental(2, 0.5L, 3, "Student"); }},
    };
    // Degenerate parameters: their value, after the one uniform they still consume.
    const std::pair<ModelParameter, long double> degenerate[] = {
        {Record(K::Rectangular, "5", "0"), 5}, {Record(K::Triangular, "5", "0"), 5},
        {Record(K::Poisson, "0"), 0}, {Record(K::Poisson, "-3"), 0}, {Record(K::Poisson, "-1E4000"), 0},
        {Record(K::Binomial, "10", "0"), 0}, {Record(K::Binomial, "10", "1"), 10},
        {Record(K::Binomial, "10", "1.5"), 10}, {Record(K::Binomial, "10", "-0.5"), 0},
        {Record(K::Binomial, "0", "0.3"), 0}, {Record(K::Binomial, "-5", "0.3"), 0},
        {Record(K::Binomial, "-100", "-0.5"), 0}, {Record(K::NegBinomial, "5", "0"), 0},
        {Record(K::NegBinomial, "0.4", "0.5"), 0}, {Record(K::NegBinomial, "-3", "0.9"), 0},
        {Record(K::NegBinomial, "-5", "-0.5"), 0}, {Record(K::NegBinomial, "0", "1"), 0},
        {Record(K::NegBinomial, "-2", "1.5"), 0}, {Record(K::Gamma, "0"), 0},
        {Record(K::Gamma, "-2"), 0},
        // clang-format on
    };
    for (const GoldenCase& c : kGoldenCases)
        cases.push_back({c.record, c.draw});
    for (const auto& [record, value] : degenerate)
        cases.push_back({record, [value = value] { return RandomUniform(), value; }});
    for (const auto& [record, direct] : cases) {
        SCOPED_TRACE(Describe(record));
        const int count = record.Kind() == K::VonMises ? 300 : 2000;
        const PreparedSampler sampler(record);
        for (std::uint32_t seed : {1u, 3000000000u}) {
            const auto run = [&](const std::function<long double()>& draw) {
                UniformSeed = seed;
                std::vector<long double> x(count);
                for (long double& v : x)
                    v = draw();
                return std::pair(x, UniformSeed);
            };
            const auto expected = run(direct);
            EXPECT_EQ(run([&] { return SampleParameter(record); }), expected);
            EXPECT_EQ(run([&] { return sampler.Draw(); }), expected);
        }
    }
}

// Parameters whose plain algorithm would never finish ((1 - p)^n underflows) end near the mean.
TEST(SampleParameter, LargeParametersFinish) {
    // clang-format off
    const std::tuple<ModelParameter, long double, long double> cases[] = {  // mean, deviation
        {Record(K::NegBinomial, "1E9", "0.5"), 1e9L, std::sqrt(2e9L)},
        {Record(K::NegBinomial, "1E9", "0.9"), 9e9L, std::sqrt(9e8L) / 0.1L},
        {Record(K::Poisson, "1E15"), 1e15L, std::sqrt(1e15L)},
        {Record(K::Binomial, "1E15", "0.5"), 5e14L, std::sqrt(2.5e14L)},
        {Record(K::Binomial, "1E15", "0.999"), 0.999e15L, std::sqrt(0.999e12L)},
    };
    // clang-format on
    for (const auto& [record, mean, deviation] : cases) {
        UniformSeed = 31337;
        const PreparedSampler sampler(record);
        for (int i = 0; i < 100; ++i)
            ASSERT_LT(std::fabs(sampler.Draw() - mean), 6 * deviation) << Describe(record);
    }
}

// Bad texts and parameters fail before any uniform is drawn, the prepared sampler at every draw.
TEST(SampleParameter, RefusesWhatCannotBeDrawn) {
    using Fault = std::pair<FaultKind, std::string>;
    const Fault division{FaultKind::DivisionByZero, "Floating point division by zero"};
    const Fault invalid{FaultKind::InvalidOperation, "Invalid floating point operation"};
    const auto notReal = [](std::string t, const char* what = "floating point") {
        return Fault{FaultKind::Conversion, "'" + t + "' is not a valid " + what + " value"};
    };
    const auto notInteger = [&](std::string t) { return notReal(t, "integer"); };
    const std::pair<ModelParameter, Fault> cases[] = {
        {Record(K::Normal, "abc", "x"), notReal("abc")},
        {Record(K::Normal, "1", "1,5"), notReal("1,5")},
        {Record(K::Constante, ""), notReal("")},
        {Record(K::Student, "2.5", ""), notInteger("2.5")},
        {Record(K::Student, "3", "m"), notReal("m")},
        {Record(K::Experimental, "1", "0.1", "Normal", ""), notInteger("")},
        {Record(K::Experimental, "1", "", "Normal", "3"), notReal("")},
        {Record(K::Binomial, "ten", "0.5"), notReal("ten")},
        {Record(K::LogNormal, "2", "s"), notReal("s")},
        // No degrees of freedom: the t option of a single reading.
        {Record(K::Student, "0", ""), division},
        {Record(K::Experimental, "1", "0.1", "Student", "0"), division},
        // clang-format off
        {Record(K::Student, "-2", ""), invalid}, {Record(K::Beta, "2", "0"), division},
        {Record(K::Beta, "-1", "2"), invalid}, {Record(K::Weibull, "0"), division},
        {Record(K::LogNormal, "0", "1"), division}, {Record(K::LogNormal, "-2", "1"), invalid},
        {Record(K::NegBinomial, "3", "1"), division}, {Record(K::NegBinomial, "3", "1.5"), invalid},
        {Record(K::VonMises, "2000"), invalid}, {Record(K::Binomial, "1E19", "0.5"), invalid},
        {Record(K::XiCuadrado, "-1E30"), invalid}, {Record(K::Noname, "1"), invalid},
        {Record(static_cast<K>(25), "1"), invalid},
        // clang-format on
    };
    for (const auto& [record, fault] : cases) {
        SCOPED_TRACE(Describe(record));
        const PreparedSampler sampler(record);
        EXPECT_TRUE(sampler.Failure());
        UniformSeed = 7;
        for (int i = 0; i < 3; ++i) {
            try {
                i == 0 ? SampleParameter(record) : sampler.Draw();
                ADD_FAILURE() << "no error at call " << i;
            } catch (const CalcError& e) {
                EXPECT_EQ(std::pair(e.Kind(), std::string(e.what())), fault);
            }
        }
        EXPECT_EQ(UniformSeed, 7u);
    }
    // A mean so large that the deviate leaves the 64-bit range fails at the draw.
    EXPECT_THROW(SampleParameter(Record(K::Poisson, "1E30")), CalcError);
    EXPECT_THROW(PreparedSampler(Record(K::Poisson, "1E30")).Draw(), CalcError);
}

TEST(RoundHalfEven, RoundsHalvesToEven) {
    const std::pair<long double, std::int64_t> cases[] = {// clang-format off
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {3.5L, 4}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2},
        {2.51L, 3}, {2.4999999L, 2}, {-2.51L, -3}, {7, 7}, {0, 0}, {1e18L, 1000000000000000000LL}};
    // clang-format on
    for (const auto& [x, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(x), rounded) << static_cast<double>(x);
    for (long double x : {1e19L, -1e19L, 0x1p63L})
        EXPECT_THROW(RoundHalfEven(x), CalcError);
}

// Branches no golden row reaches, by KS (bound 2.3 / sqrt(n)) or chi-square (1 - 1e-5 quantile).
using Cdf = std::function<double(double)>;
namespace bm = boost::math;

std::vector<long double> Draws(const ModelParameter& p) {
    PreparedSampler sampler(p);
    UniformSeed = 987654321;
    std::vector<long double> x(200000);
    for (long double& v : x)
        v = sampler.Draw();
    return x;
}

// The KS distance on about 4000 order statistics; an atom (a run of equal draws) on both sides.
bool KsAccepts(const std::vector<long double>& draws, const Cdf& cdf) {
    std::vector<double> x(draws.begin(), draws.end());
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    double d = 0;
    for (std::size_t i = 0; i < x.size(); i += std::max<std::size_t>(1, x.size() / 4000)) {
        const auto [first, last] = std::equal_range(x.begin(), x.end(), x[i]);
        const double before = static_cast<double>(first - x.begin()) / n;
        const double after = static_cast<double>(last - x.begin()) / n;
        const double below = first == last - 1 ? cdf(x[i]) : cdf(std::nextafter(x[i], -1e308));
        d = std::max({d, below - before, after - cdf(x[i])});
    }
    return d < 2.3 / std::sqrt(n);
}

// A small shape returns 0 for the deviates that would underflow below 1.5E-45: an atom.
TEST(SamplerStatistics, SmallGammaShapeMatchesItsDistributionFunction) {
    const bm::gamma_distribution<double> gamma(0.05, 1.0);
    EXPECT_TRUE(KsAccepts(Draws(Record(K::Gamma, "0.05")), [=](double x) {
        return x < 0 ? 0 : bm::cdf(gamma, std::max(x, 1.5e-45));
    }));
}

// Pearson's statistic over bins of at least 20 expected draws, its quantile by Wilson-Hilferty.
template <class D>
bool ChiSquareAccepts(const std::vector<long double>& x, D law, std::int64_t lo, std::int64_t hi) {
    const double n = static_cast<double>(x.size());
    std::vector<double> observed(static_cast<std::size_t>(hi - lo + 1), 0.0);
    for (long double v : x)
        observed[static_cast<std::size_t>(std::clamp(static_cast<std::int64_t>(v), lo, hi) - lo)]++;
    double statistic = 0, o = 0, e = 0, assigned = 0;
    int bins = 1;
    for (std::int64_t k = lo; k <= hi; ++k) {
        o += observed[static_cast<std::size_t>(k - lo)];
        e += bm::pdf(law, static_cast<long double>(k)) * n;
        if (e >= 20 && n - assigned - e >= 20) {
            statistic += (o - e) * (o - e) / e;
            assigned += e;
            o = e = 0;
            ++bins;
        }
    }
    e = n - assigned;
    statistic += (o - e) * (o - e) / e;
    const double df = bins - 1, w = 2 / (9 * df);
    return statistic < df * std::pow(1 - w + 4.265 * std::sqrt(w), 3);
}

// The negative binomial's gamma mixture (events of probability p before the n-th of 1 - p), and
// the binomial's squeeze on draws far from its mode, which few golden draws reach.
TEST(SamplerStatistics, GammaMixtureAndBinomialSqueezeMatchTheirProbabilities) {
    const std::tuple<K, const char*, const char*, std::int64_t, std::int64_t> cases[] = {
        {K::NegBinomial, "20000", "0.6", 27000, 33000},
        {K::NegBinomial, "20000", "0.9", 172000, 188000},
        {K::Binomial, "5000", "0.01", 0, 200}};
    for (const auto& [kind, n, p, lo, hi] : cases) {
        const std::vector<long double> x = Draws(Record(kind, n, p));
        for (long double v : x)
            ASSERT_EQ(v, std::trunc(v));
        const long double count = std::stold(n), q = std::stold(p);
        EXPECT_TRUE(
            kind == K::Binomial
                ? ChiSquareAccepts(x, bm::binomial_distribution<long double>(count, q), lo, hi)
                : ChiSquareAccepts(x, bm::negative_binomial_distribution<long double>(count, 1 - q),
                                   lo, hi))
            << n << " " << p;
    }
}

TEST(Quantile, KnownValuesOfEveryKindAndTheVonMisesInversion) {
    const long double tStudent2 = 0.8L / std::sqrt(0.18L);  // nu = 2 at p = 0.9
    // clang-format off
    const std::tuple<ModelParameter, long double, long double> cases[] = {  // p, the quantile
        {Record(K::Normal, "10", "2"), 0.975L, 13.919927969080108L},
        {Record(K::Normal, "10", "-2"), 0.025L, 6.080072030919892L},
        {Record(K::Rectangular, "5", "2"), 0.25L, 4}, {Record(K::Triangular, "5", "2"), 0.125L, 4},
        {Record(K::Triangular, "5", "2"), 0.875L, 6},
        {Record(K::Gamma, "1"), 0.5L, std::numbers::ln2_v<long double>},
        {Record(K::Gamma, "2"), 0.5L, 1.6783469900166608L},
        {Record(K::Exponencial, ""), 0.9L, std::numbers::ln10_v<long double>},
        {Record(K::Beta, "2", "1"), 0.25L, 0.5L}, {Record(K::Beta, "2", "2"), 0.5L, 0.5L},
        {Record(K::Student, "1", "0"), 0.75L, 1},
        {Record(K::Student, "2", "3"), 0.9L, 3 + tStudent2},
        {Record(K::Student, "2", ""), 0.1L, -tStudent2}, {Record(K::Poisson, "4"), 0.4L, 3},
        {Record(K::Poisson, "4"), 0.5L, 4}, {Record(K::Binomial, "20", "0.3"), 0.5L, 6},
        {Record(K::NegBinomial, "1", "0.5"), 0.74L, 1},
        {Record(K::NegBinomial, "1", "0.5"), 0.8L, 2}, {Record(K::VonMises, "2"), 0.5L, 0},
        {Record(K::Weibull, "2"), 0.5L, 0.8325546111576977L},
        {Record(K::XiCuadrado, "2"), 0.95L, 5.991464547107979L},
        {Record(K::LogNormal, "2", "1"), 0.5L, 1.7888543819998317L},
        {Record(K::LogNormal, "2", "1"), 0.1L, 0.976476245216642L},
        {Record(K::UShaped, "0", "0.5"), 0.25L, -0.3535533905932738L},
        {Record(K::Trapezoidal, "0", "1", "0.5"), 0.1L, -0.6127016653792583L},
        {Record(K::Trapezoidal, "0", "1", "0.5"), 0.3L, -0.3L},
        {Record(K::CurvilinearTrapezoid, "0", "1", "0"), 0.25L, -0.5L},
        {Record(K::CurvilinearTrapezoid, "0", "1", "0.5"), 0.4L, -0.18204784532536747L},
        {Record(K::AsymmetricTriangular, "0.5", "0", "1"), 0.125L, 0.25L},
        {Record(K::Experimental, "1", "0.5", "Normal", "9"), 0.975L, 1.979981992270027L},
        {Record(K::Experimental, "1", "0.5", "Student", "2"), 0.9L, 1 + tStudent2 / 2},
    };
    // clang-format on
    for (const auto& [record, p, expected] : cases)
        EXPECT_NEAR(static_cast<double>(Quantile(Marginal(record), p)),
                    static_cast<double>(expected),
                    1e-14 * (1 + std::fabs(static_cast<double>(expected))))
            << record.Distrib << " at " << static_cast<double>(p);
    // The mass of exp(2 cos t) from -pi to the quantile, by Simpson's rule.
    constexpr long double pi = std::numbers::pi_v<long double>;
    const auto mass = [=](long double to) {
        const int n = 20000;
        const long double h = (to + pi) / n;
        long double s = 0;
        for (int i = 0; i <= n; ++i)
            s += std::exp(2 * std::cos(-pi + i * h)) * (i == 0 || i == n ? 1 : i % 2 ? 4 : 2);
        return s * h / 3;
    };
    for (long double p : {1e-6L, 0.01L, 0.3L, 0.7L, 0.999L}) {
        const long double x = Quantile(Marginal(Record(K::VonMises, "2")), p);
        EXPECT_NEAR(static_cast<double>(mass(x) / mass(pi)), static_cast<double>(p), 1e-13);
    }
}

ParameterList Inputs(std::vector<ModelParameter> records) {
    ParameterList list{Record(K::Resultado, "")};
    list[0].Nombre = "y";
    for (std::size_t i = 0; i < records.size(); ++i)
        list.push_back(records[i]), list.back().Nombre = "x" + std::to_string(i + 1);
    return list;
}

const ModelParameter kNormal = Record(K::Normal, "0", "1");

TEST(CorrelationEntry, RefusesEveryKindOfBadEntryAndReadsAPastedMatrix) {
    const ParameterList list = Inputs({kNormal, kNormal, kNormal});
    const CorrelationList earlier{{"x2", "x1", 0.5}};
    // clang-format off
    const std::array<const char*, 4> cases[] = {  // the pair, the coefficient and why it is refused
        {"x1", "x9", "0.5", "\"x9\" names no quantity of the model"},
        {"y", "x1", "0.5", "\"y\" is not an input quantity"},
        {"x1", "x1", "0.5", "\"x1\" is paired with itself"},
        {"x1", "x2", "0.1", "the pair \"x1\", \"x2\" is given twice"},
        {"x2", "x3", "0,5", "'0,5' is not a valid floating point value"},
        {"x2", "x3", "-1.0001", "the coefficient -1.0001 of \"x2\" and \"x3\" is not between -1 and 1"},
    };
    // clang-format on
    Correlation entry;
    for (const auto& [first, second, coefficient, why] : cases)
        EXPECT_EQ(CheckCorrelationEntry(list, earlier, first, second, coefficient, entry),
                  std::optional<std::string>(why));
    EXPECT_EQ(CheckCorrelationEntry(list, {}, "x2", "x1", "-1", entry), std::nullopt);
    EXPECT_EQ(entry, (Correlation{"x2", "x1", -1}));
    // The matrix a spreadsheet pastes.
    const std::vector<std::string> names = InputNames(list);
    ASSERT_EQ(names, (std::vector<std::string>{"x1", "x2", "x3"}));
    const CorrelationList pairs{{"x1", "x3", -0.25}, {"x2", "x3", 0.5}};
    EXPECT_EQ(CorrelationMatrixText(names, pairs), "1\t0\t-0.25\n0\t1\t0.5\n-0.25\t0.5\t1\n");
    const char* const size =
        "the matrix needs 3 rows of 3 coefficients, one for each input quantity";
    // clang-format off
    const std::tuple<const char*, CorrelationList, const char*> matrices[] = {  // fault nullptr: read
        {"1\t0\t-0.25\n0\t1\t0.5\n-0.25\t0.5\t1\n", pairs, nullptr},
        // CR LF, blanks, blank lines at the end, halves and the diagonal left empty.
        {" 1 \t\t-0.25\r\n\t\t0.5\r\n\t\t\r\n\r\n", pairs, nullptr},
        {"\t\t\n\t\t\n-0.25\t0.5\t\n", pairs, nullptr},
        {"1\t0\n0\t1\n", {}, size},
        {"1\t0\t0\t0\n0\t1\t0\n0\t0\t1\n", {}, size},
        {"1\t0\t0\n0\t1\t0\n0\t0\t1\n0\t0\t0\n", {}, size},
        {"1\tr\t0\n\t1\t0\n\t\t1\n", {}, "'r' is not a valid floating point value"},
        {"1\t0\t0\nx\t1\t0\n\t\t1\n", {}, "'x' is not a valid floating point value"},
        {"2\t0\t0\n\t1\t0\n\t\t1\n", {}, "the coefficient of \"x1\" with itself is 2, not 1"},
        {"1\t0\t0\n\t0.9\t0\n\t\t1\n", {}, "the coefficient of \"x2\" with itself is 0.9, not 1"},
        {"1\t0.5\t0\n0.4\t1\t0\n\t\t1\n", {}, "the coefficient of \"x1\" and \"x2\" is 0.5 above the diagonal and 0.4 below it"},
        {"1\t1.5\t0\n\t1\t0\n\t\t1\n", {}, "the coefficient 1.5 of \"x1\" and \"x2\" is not between -1 and 1"},
    };
    // clang-format on
    for (const auto& [text, pairsRead, fault] : matrices) {
        const MatrixReading reading = ReadCorrelationMatrix(text, names, list);
        EXPECT_EQ(reading.Fault, fault ? std::optional<std::string>(fault) : std::nullopt) << text;
        EXPECT_EQ(reading.List, fault ? reading.List : pairsRead) << text;
    }
}

TEST(CorrelationList, SetLookUpAndSurviveAnUpdate) {
    CorrelationList list;
    SetCorrelation(list, "a", "b", 0.5);
    SetCorrelation(list, "b", "a", 0.25);
    SetCorrelation(list, "a", "c", -0.5);
    EXPECT_EQ(list, (CorrelationList{{"a", "b", 0.25}, {"a", "c", -0.5}}));
    EXPECT_EQ(CorrelationOf(list, "c", "a"), -0.5);
    EXPECT_EQ(CorrelationOf(list, "b", "c"), 0);
    SetCorrelation(list, "b", "a", 0);
    EXPECT_EQ(list, (CorrelationList{{"a", "c", -0.5}}));
    // c is now computed, d is gone: only pairs of two inputs stay.
    ParameterList updated = Inputs({kNormal, kNormal});
    updated[1].Nombre = "a", updated[2].Nombre = "b", updated[0].Nombre = "c";
    EXPECT_TRUE(SurvivingCorrelations({{"a", "c", 0.5}, {"a", "d", 0.1}}, updated).empty());
    EXPECT_EQ(SurvivingCorrelations({{"b", "a", 0.5}}, updated),
              (CorrelationList{{"b", "a", 0.5}}));
}

TEST(JointSampler, RefusesWhatCannotBeDrawnNamingTheQuantities) {
    const std::string noVariance = " cannot be correlated: its distribution has no variance.",
                      unreachable = " cannot be reached by their distributions ";
    // clang-format off
    const std::tuple<std::vector<ModelParameter>, CorrelationList, std::optional<std::string>> cases[] = {
        {{Record(K::Constante, "3"), kNormal}, {{"x1", "x2", 0.5}}, "\"x1\" is a constant and cannot be correlated."},
        {{kNormal, Record(K::Cauchy, "")}, {{"x1", "x2", 0.5}}, "\"x2\"" + noVariance},
        {{kNormal, Record(K::Student, "2", "0")}, {{"x2", "x1", 0.5}}, "\"x2\"" + noVariance},
        {{kNormal, Record(K::Binomial, "0", "0.5")}, {{"x1", "x2", 0.5}}, "\"x2\"" + noVariance},
        {{Record(K::Normal, "0", "0"), kNormal}, {{"x2", "x1", 0.5}}, "\"x1\"" + noVariance},
        {{Record(K::Exponencial, ""), Record(K::Exponencial, "")}, {{"x1", "x2", -0.8}}, "The coefficient -0.8 of \"x1\" and \"x2\"" + unreachable + "(from -0.6449 to 1)."},
        {{kNormal, Record(K::Rectangular, "0", "1")}, {{"x1", "x2", 1}}, "The coefficient 1 of \"x1\" and \"x2\"" + unreachable + "(from -0.9772 to 0.9772)."},
        // Discrete pairs: the series' error bound is relative to the variances.
        {{Record(K::Poisson, "4"), Record(K::Poisson, "9")}, {{"x1", "x2", -1}}, "The coefficient -1 of \"x1\" and \"x2\"" + unreachable + "(from -0.9637 to 0.9838)."},
        {{kNormal, Record(K::NegBinomial, "3", "1")}, {{"x1", "x2", 0.5}}, "\"x2\" cannot be correlated: Invalid floating point operation."},
        {{kNormal, kNormal, kNormal}, {{"x1", "x2", 0.9}, {"x1", "x3", 0.9}, {"x2", "x3", -0.9}}, "The coefficients of \"x1\", \"x2\" and \"x3\" do not form a positive semi-definite matrix."},
        // Perfect correlation of equal marginals is a semi-definite matrix; one trial has a variance.
        {{Record(K::Rectangular, "0", "1"), Record(K::Rectangular, "0", "1")}, {{"x1", "x2", 1}}, std::nullopt},
        {{kNormal, Record(K::Binomial, "1", "0.5")}, {{"x1", "x2", 0.5}}, std::nullopt},
    };
    // clang-format on
    for (const auto& [records, pairs, message] : cases)
        EXPECT_EQ(CheckCorrelations(Inputs(records), pairs), message);
}

// The sample correlation of n joint draws and its standard error by the delta method.
std::pair<double, double> Correlate(const JointSampler& sampler, int n) {
    std::vector<std::array<long double, 2>> d(n);
    long double mx = 0, my = 0;
    for (auto& pair : d) {
        sampler.Draw(pair.data());
        mx += pair[0], my += pair[1];
    }
    long double sxx = 0, syy = 0, sxy = 0, s22 = 0, s40 = 0, s04 = 0, s31 = 0, s13 = 0;
    for (auto [x, y] : d) {
        x -= mx / n, y -= my / n;
        sxx += x * x, syy += y * y, sxy += x * y, s22 += x * x * y * y;
        s40 += x * x * x * x, s04 += y * y * y * y, s31 += x * x * x * y, s13 += x * y * y * y;
    }
    const long double r = sxy / std::sqrt(sxx * syy), vx = sxx / n, vy = syy / n;
    const long double m22 = s22 / (vx * vy), m40 = s40 / (vx * vx), m04 = s04 / (vy * vy),
                      m31 = s31 / (vx * std::sqrt(vx * vy)), m13 = s13 / (vy * std::sqrt(vx * vy));
    const long double v = (m22 + r * r / 4 * (m40 + m04 + 2 * m22) - r * (m31 + m13)) / n;
    return {static_cast<double>(r), static_cast<double>(std::sqrt(v / n))};
}

TEST(JointSampler, DrawsEveryKindWithTheCoefficientAsItsCorrelation) {
    // clang-format off
    const ModelParameter kinds[] = {
        Record(K::Normal, "1", "2"), Record(K::Rectangular, "0", "1"), Record(K::Triangular, "0", "1"),
        Record(K::Gamma, "3"), Record(K::Exponencial, ""), Record(K::Beta, "2", "3"),
        Record(K::Student, "10", "0"), Record(K::Poisson, "4"), Record(K::Binomial, "20", "0.3"),
        Record(K::NegBinomial, "5", "0.4"), Record(K::VonMises, "2"), Record(K::Weibull, "2"),
        Record(K::XiCuadrado, "5"), Record(K::LogNormal, "1", "0.3"),
        Record(K::Experimental, "1", "0.5", "Student", "9")};
    // clang-format on
    UniformSeed = 20071;
    for (const ModelParameter& kind : kinds) {
        // Kinds whose quantile is an iterative inversion get fewer draws (the tolerance follows).
        const bool iterative = kind.Kind() == K::Beta || kind.Kind() == K::Student ||
                               kind.Kind() == K::VonMises || kind.Kind() == K::Experimental ||
                               kind.Kind() == K::Gamma || kind.Kind() == K::XiCuadrado;
        const int n = iterative ? 100000 : 1000000;
        for (double r : {0.5, -0.8}) {
            // Beside a normal input, and beside one of its own kind where they reach r.
            for (bool sameKind : {false, true}) {
                if (sameKind &&
                    (r < 0 || (kind.Kind() != K::Rectangular && kind.Kind() != K::Exponencial &&
                               kind.Kind() != K::Poisson)))
                    continue;
                const ParameterList list = Inputs({kind, sameKind ? kind : kNormal});
                const JointSampler sampler(list, {1, 2}, {{"x1", "x2", r}});
                const auto [sampled, standardError] = Correlate(sampler, n);
                EXPECT_NEAR(sampled, r, 5 * standardError)
                    << kind.Distrib << (sameKind ? " with itself" : " with a normal");
            }
        }
    }
}

TEST(JointSampler, TwoNormalsTakeTheCoefficientItself) {
    const ParameterList list = Inputs({kNormal, Record(K::Experimental, "0", "3", "Normal", "4")});
    EXPECT_EQ(JointSampler(list, {1, 2}, {{"x1", "x2", 0.37}}).CopulaCoefficient(0, 1),
              static_cast<long double>(0.37));
    const ParameterList mixed = Inputs({kNormal, Record(K::Rectangular, "0", "1")});
    // Corr(Z, F(Z)) = sqrt(3/pi) for perfect dependence, so rho = r / sqrt(3/pi).
    EXPECT_NEAR(static_cast<double>(
                    JointSampler(mixed, {1, 2}, {{"x1", "x2", 0.5}}).CopulaCoefficient(1, 0)),
                0.5 / std::sqrt(3 / std::numbers::pi), 1e-9);
}

}  // namespace
}  // namespace corvanta
