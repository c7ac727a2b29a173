#include <cmath>

#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

long double RoundedFloat(const std::string& text) {
    return static_cast<long double>(RoundHalfEven(ParseFloat(text)));
}

// Parses the record's texts in the order the draw reads them, so that the
// first text that does not convert is the one reported.
PreparedSampler::Variant MakeSampler(const ModelParameter& p) {
    switch (p.Kind()) {
        case DistributionKind::Normal: {
            const long double mean = ParseFloat(p.Valor);
            return NormalSampler(mean, ParseFloat(p.a));
        }
        case DistributionKind::Rectangular: {
            const long double mean = ParseFloat(p.Valor);
            return RectangularSampler(mean, ParseFloat(p.a));
        }
        case DistributionKind::Triangular: {
            const long double mode = ParseFloat(p.Valor);
            // A negative half-width describes the same interval; taken as it
            // stands it would turn the triangle inside out.
            const long double half = std::fabs(ParseFloat(p.a));
            return TriangularSampler(mode - half, mode + half, mode);
        }
        case DistributionKind::Constante:
            return ConstantSampler(ParseFloat(p.Valor));
        case DistributionKind::Gamma:
            return GammaSampler(ParseFloat(p.Valor));
        case DistributionKind::Exponencial:
            return ExponentialSampler();
        case DistributionKind::Beta: {
            const long double alpha = ParseFloat(p.Valor);
            return BetaSampler(alpha, ParseFloat(p.a));
        }
        case DistributionKind::Student: {
            const std::int64_t nu = ParseInteger(p.Valor);
            return StudentSampler(nu, p.a.empty() ? 0 : ParseFloat(p.a));
        }
        case DistributionKind::Poisson:
            return PoissonSampler(ParseFloat(p.Valor));
        case DistributionKind::Binomial: {
            const std::int64_t n = RoundHalfEven(ParseFloat(p.Valor));
            return BinomialSampler(n, ParseFloat(p.a));
        }
        case DistributionKind::NegBinomial: {
            const long double n = RoundedFloat(p.Valor);
            return NegBinomialSampler(n, ParseFloat(p.a));
        }
        case DistributionKind::VonMises:
            return VonMisesSampler(ParseFloat(p.Valor));
        case DistributionKind::Cauchy:
            return CauchySampler();
        case DistributionKind::Weibull:
            return WeibullSampler(ParseFloat(p.Valor));
        case DistributionKind::XiCuadrado:
            return ChiSquareSampler(RoundHalfEven(ParseFloat(p.Valor)));
        case DistributionKind::LogNormal: {
            const long double m = ParseFloat(p.Valor);
            return LogNormalSampler(m, ParseFloat(p.a));
        }
        case DistributionKind::Experimental: {
            const long double mean = ParseFloat(p.Valor);
            const long double deviation = ParseFloat(p.a);
            const std::int64_t nu = ParseInteger(p.Grados);
            return ExperimentalSampler(mean, deviation, nu, p.b);
        }
        case DistributionKind::UShaped: {
            const long double mid = ParseFloat(p.Valor);
            return ArcsineSampler(mid, std::fabs(ParseFloat(p.a)));
        }
        case DistributionKind::Trapezoidal: {
            const long double mid = ParseFloat(p.Valor);
            const long double half = std::fabs(ParseFloat(p.a));
            return TrapezoidalSampler(mid, half, ParseFloat(p.b));
        }
        case DistributionKind::CurvilinearTrapezoid: {
            const long double mid = ParseFloat(p.Valor);
            const long double half = std::fabs(ParseFloat(p.a));
            return CurvilinearTrapezoidSampler(mid, half, ParseFloat(p.b));
        }
        case DistributionKind::AsymmetricTriangular: {
            const long double mode = ParseFloat(p.Valor);
            const long double lower = ParseFloat(p.a);
            const long double upper = ParseFloat(p.b);
            // A mode outside the limits leaves no triangle to invert.
            if (!(lower <= mode && mode <= upper)) ThrowInvalidOperation();
            return TriangularSampler(lower, upper, mode);
        }
        default:
            // No distribution, intermediate and output quantities (and
            // numbers outside the list) have nothing to draw.
            ThrowInvalidOperation();
    }
}

long double DrawFrom(const PreparedSampler::Variant& sampler) {
    return std::visit(
        [](const auto& s) -> long double { return static_cast<long double>(s.Draw()); }, sampler);
}

}  // namespace

long double SampleParameter(const ModelParameter& p) {
    return DrawFrom(MakeSampler(p));
}

PreparedSampler::PreparedSampler(const ModelParameter& p) {
    try {
        impl_ = MakeSampler(p);
    } catch (...) {
        failure_ = std::current_exception();
        impl_ = Refused();
    }
}

long double PreparedSampler::Draw() const {
    if (failure_) std::rethrow_exception(failure_);
    return DrawFrom(impl_);
}

}  // namespace corvanta
