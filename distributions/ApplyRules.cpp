#include "distributions/ApplyRules.h"

#include <cstdint>

#include "engine/NumberText.h"

namespace corvanta {

namespace {

// These two texts of the LogNormal page have never been captions, so a
// language file does not replace them.
constexpr const char* kLogNormalNotReal = " no es un n\xFAmero real";
constexpr const char* kLogNormalNotPositive = "Media y Desv\xEDo deben ser reales > 0";

// Runs the checks of one page in order. The first failing check ends the
// rule: silently for an empty required field, with an error dialog
// otherwise, remembering the field it is about.
class PageCheck {
  public:
    PageCheck(const PageFields& fields, const MessageTexts& texts, UserDialogs& dialogs)
        : fields_(fields), texts_(texts), dialogs_(dialogs) {}

    bool Failed() const { return failed_; }
    int RefusedField() const { return refusedField_; }

    void Required(int field) {
        if (!failed_ && Text(field).empty()) failed_ = true;
    }

    // Converts the field, refusing with "<text> is not a Real number".
    long double Real(int field) { return RealOr(field, " " + texts_.NotReal); }

    // Converts the field, refusing with its text followed by `suffix`.
    long double RealOr(int field, const std::string& suffix) {
        long double value = 0;
        if (!failed_ && !TryParseFloat(Text(field), value)) Refuse(field, Text(field) + suffix);
        return value;
    }

    std::int32_t Integer(int field) {
        std::int32_t value = 0;
        if (!failed_ && !TryParseInteger(Text(field), value))
            Refuse(field, Text(field) + " " + texts_.NotInteger);
        return value;
    }

    void Ensure(bool condition, int field, const std::string& message) {
        if (!failed_ && !condition) Refuse(field, message);
    }

  private:
    const std::string& Text(int field) const {
        switch (field) {
            case kEdit1Field:
                return fields_.Edit1;
            case kEdit2Field:
                return fields_.Edit2;
            case kEdit3Field:
                return fields_.Edit3;
            default:
                return fields_.Degrees;
        }
    }

    void Refuse(int field, const std::string& message) {
        dialogs_.ShowError(message);
        failed_ = true;
        refusedField_ = field;
    }

    const PageFields& fields_;
    const MessageTexts& texts_;
    UserDialogs& dialogs_;
    bool failed_ = false;
    int refusedField_ = -1;
};

}  // namespace

PageOutcome ApplyDistributionPage(int page, const PageFields& fields, const ModelParameter& current,
                                  const MessageTexts& texts, UserDialogs& dialogs) {
    if (!IsFieldPage(page)) return {};
    constexpr int edit1 = kEdit1Field, edit2 = kEdit2Field, edit3 = kEdit3Field;
    PageCheck check(fields, texts, dialogs);
    ModelParameter stored = current;
    bool storesEdit1 = true, storesEdit2 = false, storesEdit3 = false;
    // The three limits of a page of the newer kinds, checked in one order.
    const auto threeReals = [&](long double& first, long double& second, long double& third) {
        check.Required(edit1);
        check.Required(edit2);
        check.Required(edit3);
        first = check.Real(edit1);
        second = check.Real(edit2);
        third = check.Real(edit3);
        storesEdit2 = storesEdit3 = true;
    };

    // A deviation, half-width or Poisson mean of 0 is a quantity known
    // exactly; only values below that describe no distribution.
    using enum DistributionKind;
    switch (static_cast<DistributionKind>(page)) {
        case Normal: {
            check.Required(edit1);
            check.Required(edit2);
            check.Real(edit1);
            long double deviation = check.Real(edit2);
            check.Ensure(deviation >= 0, edit2, texts.ErrorDeviation);
            storesEdit2 = true;
            break;
        }
        case Rectangular:
        case Triangular: {
            check.Required(edit1);
            check.Required(edit2);
            check.Real(edit1);
            long double halfWidth = check.Real(edit2);
            check.Ensure(halfWidth >= 0, edit2, texts.ErrorHalfWidth);
            storesEdit2 = true;
            break;
        }
        case Constante:
            check.Required(edit1);
            check.Real(edit1);
            break;
        case Poisson: {
            check.Required(edit1);
            long double mean = check.Real(edit1);
            check.Ensure(mean >= 0, edit1, texts.ErrorMean);
            break;
        }
        case Gamma:
        case Weibull: {
            check.Required(edit1);
            long double shape = check.Real(edit1);
            check.Ensure(shape > 0, edit1, texts.ErrorForm);
            break;
        }
        case Exponencial:
        case Cauchy:
            storesEdit1 = false;
            break;
        case Beta: {
            check.Required(edit1);
            check.Required(edit2);
            long double a = check.Real(edit1);
            long double b = check.Real(edit2);
            check.Ensure(a > 0, edit1, texts.ABMustBeReal);
            check.Ensure(b > 0, edit2, texts.ABMustBeReal);
            storesEdit2 = true;
            break;
        }
        case Student: {
            check.Required(edit1);
            std::int32_t degrees = check.Integer(edit1);
            if (!fields.Edit2.empty()) check.Real(edit2);
            check.Ensure(degrees >= 1, edit1, texts.DegreesMustBeInteger);
            stored.a = fields.Edit2.empty() ? "0" : fields.Edit2;
            break;
        }
        case Binomial: {
            check.Required(edit1);
            check.Required(edit2);
            std::int32_t n = check.Integer(edit1);
            long double p = check.Real(edit2);
            check.Ensure(n >= 0, edit1, texts.ErrorBinomial);
            check.Ensure(p >= 0 && p <= 1, edit2, texts.ErrorBinomial);
            storesEdit2 = true;
            break;
        }
        case NegBinomial: {
            check.Required(edit1);
            check.Required(edit2);
            long double n = check.Real(edit1);
            long double p = check.Real(edit2);
            check.Ensure(n > 0, edit1, texts.ErrorNP);
            check.Ensure(p > 0 && p < 1, edit2, texts.ErrorNP);
            storesEdit2 = true;
            break;
        }
        case VonMises: {
            check.Required(edit1);
            long double k = check.Real(edit1);
            check.Ensure(k > 0 && k < 10, edit1, texts.ErrorK);
            break;
        }
        case XiCuadrado: {
            check.Required(edit1);
            std::int32_t degrees = check.Integer(edit1);
            check.Ensure(degrees >= 1, edit1, texts.DegreesMustBeInteger);
            break;
        }
        case LogNormal: {
            check.Required(edit1);
            check.Required(edit2);
            long double mean = check.RealOr(edit1, kLogNormalNotReal);
            long double deviation = check.RealOr(edit2, kLogNormalNotReal);
            check.Ensure(mean > 0, edit1, kLogNormalNotPositive);
            check.Ensure(deviation > 0, edit2, kLogNormalNotPositive);
            storesEdit2 = true;
            break;
        }
        case UShaped: {
            check.Required(edit1);
            check.Required(edit2);
            check.Real(edit1);
            long double halfWidth = check.Real(edit2);
            check.Ensure(halfWidth > 0, edit2, texts.ErrorHalfWidthPositive);
            storesEdit2 = true;
            break;
        }
        case Trapezoidal:
        case CurvilinearTrapezoid: {
            long double mid = 0, halfWidth = 0, shape = 0;
            threeReals(mid, halfWidth, shape);
            check.Ensure(halfWidth > 0, edit2, texts.ErrorHalfWidthPositive);
            if (page == static_cast<int>(Trapezoidal))
                check.Ensure(shape >= 0 && shape <= 1, edit3, texts.ErrorRatio);
            else
                check.Ensure(shape >= 0 && shape < halfWidth, edit3, texts.ErrorInexactness);
            break;
        }
        case AsymmetricTriangular: {
            long double mode = 0, lower = 0, upper = 0;
            threeReals(mode, lower, upper);
            check.Ensure(lower <= mode, edit2, texts.ErrorLimits);
            check.Ensure(mode <= upper && lower < upper, edit3, texts.ErrorLimits);
            break;
        }
        default:
            return {};
    }
    const bool degrees = TakesTypeBDegrees(page);
    if (degrees && !fields.Degrees.empty()) {
        long double value = check.Real(kDegreesField);
        check.Ensure(value > 0, kDegreesField, texts.DegreesMustBeReal);
    }
    if (check.Failed()) return {std::nullopt, check.RefusedField()};

    stored.Distrib = page;
    stored.Init = true;
    if (storesEdit1) stored.Valor = fields.Edit1;
    if (storesEdit2) stored.a = fields.Edit2;
    if (storesEdit3) stored.b = fields.Edit3;
    if (degrees) stored.Grados = fields.Degrees;
    return {std::move(stored), -1};
}

ApplyOutcome ApplyDistribution(ParameterList& list, int index, const ApplyRequest& request,
                               const MessageTexts& texts, UserDialogs& dialogs) {
    ApplyOutcome outcome;
    const int count = static_cast<int>(list.size());
    if (index >= 0 && index < count) {
        ModelParameter& record = list[static_cast<std::size_t>(index)];
        const DistributionKind kind = record.Kind();
        // The distribution list is disabled for computed quantities; the
        // guard keeps a stale page from turning one into an input.
        const bool computed =
            kind == DistributionKind::Intermedio || kind == DistributionKind::Resultado;
        if (!computed) {
            PageOutcome page;
            if (request.Page == static_cast<int>(DistributionKind::Experimental)) {
                page.Stored = ApplyExperimental(request.Experimental, record, texts, dialogs);
                // Every way the readings are not stored tells the user why.
                outcome.Refused = !page.Stored;
            } else {
                page = ApplyDistributionPage(request.Page, request.Fields, record, texts, dialogs);
                outcome.Refused = page.RefusedField >= 0;
                outcome.RefusedField = page.RefusedField;
            }
            if (page.Stored) {
                record = std::move(*page.Stored);
                outcome.Stored = true;
            }
        }
        outcome.NextIndex = outcome.Refused ? index : (index + 1) % count;
    } else if (count > 0) {
        outcome.NextIndex = 0;
    }
    outcome.ParametersReady = CheckReady(list);
    return outcome;
}

}  // namespace corvanta
