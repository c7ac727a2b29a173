#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "distributions/Sampling.h"

// Exact first draws of every sampler on every branch, from the algorithms written again in
// 64-bit-mantissa arithmetic (SamplingGolden.py in the history): a changed order or number of
// uniforms changes the seeds after the draws, a changed formula the values.
namespace corvanta {
namespace {

struct GoldenCase {
    const char* name;
    long double (*draw)();
    std::vector<long double> first;
    std::uint32_t seedAfterFirst;
    long double sum, absoluteSum;  // of the first 2000 draws
    std::uint32_t seedAfterSum;
};

// clang-format off
const GoldenCase kGoldenCases[] = {
    {"Normal(3, 2)", []() -> long double { return RandG(3, 2); }, {2.9027093813616302114L, 0.6143658796845896798L, 5.4394552009366495962L, 1.8128010633243566474L, 2.5127497750300811581L, -0.75921478311999533294L}, 2045341638, 6049.7548333762587385L, 6310.5382610360888611L, 3449826832},
    {"Rectangular(5, 2)", []() -> long double { return SampleRectangular(5, 2); }, {4.6568695744499564171L, 6.9314569048583507538L, 3.6267478736117482185L, 5.2120446134358644485L, 6.1680893553420901299L, 5.5228760913014411926L}, 2708917576, 9998.7987637296319008L, 9998.7987637296319008L, 1703601670},
    {"Triangular(5, 2)", []() -> long double { return SampleTriangular(3, 7, 5); }, {4.8203678608731568289L, 6.6297484770007040211L, 4.1195962429480976752L, 5.1089921276926766325L, 5.7101080319205719249L, 5.2812074536474398201L}, 2708917576, 10007.724046871861492L, 10007.724046871861492L, 1703601670},
    {"Exponential", []() -> long double { return SampleExponential(); }, {0.88136433763221291334L, 0.017284290231653613982L, 1.853505295790962611L, 0.59237710884046669297L, 0.23316568196507442661L, 0.46089480431920967435L}, 2708917576, 1965.8953002220079306L, 1965.8953002220079306L, 1703601670},
    {"Gamma(0.5)", []() -> long double { return SampleGammaSmall(0.5L); }, {0.031682088042303646992L, 1.0962476191160216429L, 0.0074250467417399600397L, 0.049816035362196956285L, 0.039499071681217564659L, 0.1139550267032085895L}, 2045341638, 1001.7160163323868998L, 1001.7160163323868998L, 2251354002},
    {"Gamma(2.5)", []() -> long double { return SampleGammaLarge(2.5L); }, {2.0958486024132837089L, 2.5690289777355491906L, 1.4051025040834787609L, 3.2096244168787734924L, 0.41051421629200293521L, 0.7488211122231988233L}, 3713866498, 5003.9861708794099715L, 5003.9861708794099715L, 4226473526},
    {"Beta(5, 2)", []() -> long double { return SampleBeta(5, 2); }, {0.66849027598197552976L, 0.4681640566919547647L, 0.85139210134574559784L, 0.51069801541671817067L, 0.59445513600004512117L, 0.67580726163056313338L}, 2053725788, 1436.6918226035797601L, 1436.6918226035797601L, 1208342202},
    {"Beta(2, 5)", []() -> long double { return SampleBeta(2, 5); }, {0.33150972401802447024L, 0.53183594330804523527L, 0.14860789865425440216L, 0.48930198458328182933L, 0.40554486399995487883L, 0.32419273836943686662L}, 2053725788, 563.30817739642024106L, 563.30817739642024106L, 1208342202},
    {"Beta(3, 3)", []() -> long double { return SampleBeta(3, 3); }, {0.45014490460570215675L, 0.27453552278140832277L, 0.68395533412073085232L, 0.30721392540111811046L, 0.28999074865710961025L, 0.34952381759041220534L}, 4060660160, 1009.9619300010177158L, 1009.9619300010177158L, 2857075952},
    {"Beta(0.5, 0.3)", []() -> long double { return SampleBeta(0.5L, 0.3L); }, {0.086378546936931107844L, 0.38558817651141437749L, 0.7532410836299041794L, 0.9926103290639520373L, 0.99601565700273066053L, 0.9706352197696745494L}, 182570416, 1254.1378117768182722L, 1254.1378117768182722L, 2587050478},
    {"Student(1)", []() -> long double { return SampleStudent(1, 0); }, {0.67665044386642727941L, 0.33008923212330357929L, 12.577335515752846408L, 2.9812985705322633484L, 4.0968685911037817293L, 3.5033777406593576108L}, 4060660160, 9232.8830008072911548L, 16514.972293909712652L, 946758222},
    {"Student(2)", []() -> long double { return SampleStudent(2, 0); }, {2.0455766133276542106L, 0.59368137668358279206L, 0.2896145735686152835L, 2.6157397156866168083L, 3.5945215248219853168L, 3.0738029346919981211L}, 4060660160, -137.27085902578467488L, 2831.1151791524300367L, 3864668898},
    {"Student(4, 10)", []() -> long double { return SampleStudent(4, 10); }, {12.010481699793611103L, 10.583495888422848216L, 10.28464580419993592L, 12.57086280491657751L, 9.8619757995035819808L, 9.9118842900006828255L}, 2053725788, 19972.115733955584172L, 19972.115733955584172L, 886618440},
    {"Experimental Student(3)", []() -> long double { return SampleExperimental(2, 0.5L, 3, "Student"); }, {3.0095488333639605688L, 2.2929982369351711606L, 2.1429328302672396394L, 3.2909401491735865534L, 3.7739961379312184204L, 1.9306921467619145355L}, 2045341638, 3988.6133843006697957L, 4075.1142050710329436L, 3449826832},
    {"VonMises(0.3)", []() -> long double { return SampleVonMises(0.3L); }, {1.8402903328276857214L, 0.61724905371209522995L, 2.5919640871252712781L, 2.3427006369649092364L, -2.2080318784877138092L, 1.4286020375691387429L}, 3713866498, -18.394590282393699796L, 2782.9170360523926657L, 2907537708},
    {"VonMises(9.99)", []() -> long double { return SampleVonMises(9.99L); }, {0.22794347298590938612L, 0.088661267801972361619L, 0.35693614872905876721L, 0.31416073024820422518L, -0.2910505931765510274L, -0.22090893494501322969L}, 2053725788, -4.2880552553532790194L, 518.62445298146798106L, 593584944},
    {"Cauchy", []() -> long double { return SampleCauchy(); }, {-0.17765367929615188214L, -6.4762415047322534401L, 2.233969720119942591L, -1.0363496844887505643L, -0.90699681090492159202L, 8.529146734042143874L}, 2045341638, -1920.954094580977115L, 12629.700400900456559L, 3449826832},
    {"Weibull(1.5)", []() -> long double { return SampleWeibull(1.5L); }, {0.91925707810530624136L, 0.066849941797033264046L, 1.5089072809455208784L, 0.70534053871824060872L, 0.37882888580979275618L, 0.59667046585487209224L}, 2708917576, 1791.0663123831814392L, 1791.0663123831814392L, 1703601670},
    {"ChiSquare(1)", []() -> long double { return SampleChiSquare(1); }, {0.063364176084607293984L, 2.1924952382320432858L, 0.014850093483479920079L, 0.09963207072439391257L, 0.078998143362435129318L, 0.22791005340641717901L}, 2045341638, 2003.4320326647737996L, 2003.4320326647737996L, 2251354002},
    {"ChiSquare(2)", []() -> long double { return SampleChiSquare(2); }, {1.7627286752644258267L, 0.034568580463307227964L, 3.7070105915819252221L, 1.1847542176809333859L, 0.46633136393014885322L, 0.92178960863841934869L}, 2708917576, 3931.7906004440158612L, 3931.7906004440158612L, 1703601670},
    {"ChiSquare(7)", []() -> long double { return SampleChiSquare(7); }, {6.161776194332373089L, 7.2965971368171028233L, 4.4468976886102919558L, 8.7973438713209226461L, 1.7226261227452352101L, 2.7074472913259796424L}, 3713866498, 14018.097063683941307L, 14018.097063683941307L, 3043530345},
    {"LogNormal(2, 0.5)", []() -> long double { return SampleLogNormal(2, 0.5L); }, {1.9171838962616752793L, 1.4464881388150321116L, 2.6199546940576373905L, 1.6764499064682129353L, 1.8273180208779706818L, 1.221447541807922121L}, 2045341638, 4018.5331968875945201L, 4018.5331968875945201L, 3449826832},
    {"Poisson(3.5)", []() -> long double { return SamplePoisson(3.5L); }, {3, 8, 2, 4, 5, 4}, 2708917576, 7017.0L, 7017.0L, 1703601670},
    {"Poisson(10)", []() -> long double { return SamplePoisson(10); }, {9, 17, 7, 10, 13, 11}, 2708917576, 20023.0L, 20023.0L, 1703601670},
    {"Poisson(10.0001)", []() -> long double { return SamplePoisson(10.0001L); }, {9, 6, 10, 11, 11, 10}, 1276299457, 19848.0L, 19848.0L, 2773877504},
    {"Poisson(1000)", []() -> long double { return SamplePoisson(1000); }, {998, 962, 1006, 1015, 1019, 1008}, 1276299457, 1998256.0L, 1998256.0L, 4017697023},
    {"Binomial(10, 0.1)", []() -> long double { return SampleBinomial(10, 0.1L); }, {1, 3, 0, 1, 2, 1}, 2708917576, 1989.0L, 1989.0L, 1703601670},
    {"Binomial(10, 0.9)", []() -> long double { return SampleBinomial(10, 0.9L); }, {9, 7, 10, 9, 8, 9}, 2708917576, 18011.0L, 18011.0L, 1703601670},
    {"Binomial(60, 0.5)", []() -> long double { return SampleBinomial(60, 0.5L); }, {29, 38, 26, 31, 33, 31}, 2708917576, 60056.0L, 60056.0L, 1703601670},
    {"Binomial(200, 0.5)", []() -> long double { return SampleBinomial(200, 0.5L); }, {97, 96, 89, 94, 93, 93}, 4060660160, 199647.0L, 199647.0L, 1255674262},
    {"Binomial(1000, 0.8)", []() -> long double { return SampleBinomial(1000, 0.8L); }, {808, 807, 821, 812, 814, 813}, 4060660160, 1600360.0L, 1600360.0L, 3337420432},
    {"NegBinomial(3, 0.8)", []() -> long double { return SampleNegBinomial(3, 0.8L); }, {11, 14, 15, 11, 8, 10}, 2300504190, 23712.0L, 23712.0L, 2563716118},
    {"NegBinomial(5, 0.3)", []() -> long double { return SampleNegBinomial(5, 0.3L); }, {1, 7, 0, 2, 3, 2}, 2708917576, 4279.0L, 4279.0L, 1703601670},
};
// clang-format on

TEST(SamplerGolden, FirstDrawsAndUniformsConsumed) {
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        UniformSeed = 20261206;
        for (std::size_t i = 0; i < c.first.size(); ++i) {
            const long double got = c.draw();
            // A few units in the last place: the reference's exp and log are correctly rounded.
            const long double tolerance = 1e-17L * std::fmax(1.0L, std::fabs(c.first[i]));
            EXPECT_LE(std::fabs(got - c.first[i]), tolerance)
                << "draw " << i << ": " << static_cast<double>(got) << " instead of "
                << static_cast<double>(c.first[i]);
        }
        EXPECT_EQ(UniformSeed, c.seedAfterFirst);

        UniformSeed = 20261206;
        long double sum = 0, absoluteSum = 0;
        for (int i = 0; i < 2000; ++i) {
            const long double x = c.draw();
            sum += x;
            absoluteSum += std::fabs(x);
        }
        EXPECT_LE(std::fabs(absoluteSum - c.absoluteSum), 1e-15L * c.absoluteSum);
        EXPECT_LE(std::fabs(sum - c.sum), 1e-15L * c.absoluteSum);
        EXPECT_EQ(UniformSeed, c.seedAfterSum);
    }
}

// The six-point Gauss-Legendre rule, against the same rule worked independently and the integral.
TEST(VonMisesIntervalMass, IsTheSixPointGaussLegendreRule) {
    const long double pi = 3.14159265358979323846264338327950288L;
    struct Case {
        long double lower, upper, kappa, rule, integral, integralTolerance;
    };
    const Case cases[] = {
        {0, pi, 0, 3.14159265358979323851L, 3.14159265358979323846L, 1e-18L},
        {0, pi, 1, 3.97744902839297724073L, 3.97746326050642263726L, 1e-4L},
        {0, pi, 9.99L, 8680.91252123855101441L, 8762.32216220446858553L, 1e-2L},
        {0.5L, 1.25L, 2, 2.76415781067460455413L, 2.764157810707623963L, 1e-10L},
    };
    for (const Case& c : cases) {
        const long double mass = VonMisesIntervalMass(c.lower, c.upper, c.kappa);
        EXPECT_LE(std::fabs(mass - c.rule), 1e-17L * c.rule) << static_cast<double>(c.kappa);
        EXPECT_LE(std::fabs(mass - c.integral), c.integralTolerance * c.integral);
    }
}

TEST(RandomUniform, FollowsTheCongruentialSequence) {
    struct Step {
        std::uint32_t before, after;
    };
    for (const Step s :
         {Step{0, 1}, {1, 134775814}, {134775814, 3698175007u}, {0xFFFFFFFFu, 4160191484u}}) {
        UniformSeed = s.before;
        const long double u = RandomUniform();
        EXPECT_EQ(UniformSeed, s.after);
        EXPECT_EQ(u, std::ldexp(static_cast<long double>(s.after), -32));
    }
    UniformSeed = 0;
    EXPECT_EQ(RandomUniform(), 0x1p-32L);
}

TEST(ReseedUniform, TakesTheClock) {
    ReseedUniform();
    const std::uint32_t first = UniformSeed;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ReseedUniform();
    EXPECT_NE(UniformSeed, first);
}

}  // namespace
}  // namespace corvanta
