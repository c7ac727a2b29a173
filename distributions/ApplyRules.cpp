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
// otherwise.
class PageCheck {
  public:
    PageCheck(const MessageTexts& texts, UserDialogs& dialogs) : texts_(texts), dialogs_(dialogs) {}

    bool Failed() const { return failed_; }

    void Required(const std::string& field) {
        if (!failed_ && field.empty()) failed_ = true;
    }

    // Converts the field, refusing with "<text> is not a Real number".
    long double Real(const std::string& field) {
        return RealOr(field, field + " " + texts_.NotReal);
    }

    long double RealOr(const std::string& field, const std::string& message) {
        long double value = 0;
        if (!failed_ && !TryParseFloat(field, value)) Refuse(message);
        return value;
    }

    std::int32_t Integer(const std::string& field) {
        std::int32_t value = 0;
        if (!failed_ && !TryParseInteger(field, value)) Refuse(field + " " + texts_.NotInteger);
        return value;
    }

    void Ensure(bool condition, const std::string& message) {
        if (!failed_ && !condition) Refuse(message);
    }

  private:
    void Refuse(const std::string& message) {
        dialogs_.ShowError(message);
        failed_ = true;
    }

    const MessageTexts& texts_;
    UserDialogs& dialogs_;
    bool failed_ = false;
};

}  // namespace

std::optional<ModelParameter> ApplyDistributionPage(int page, const PageFields& fields,
                                                    const ModelParameter& current,
                                                    const MessageTexts& texts,
                                                    UserDialogs& dialogs) {
    if (page < 1 || page > 16) return std::nullopt;
    const std::string& edit1 = fields.Edit1;
    const std::string& edit2 = fields.Edit2;
    PageCheck check(texts, dialogs);
    ModelParameter stored = current;
    bool storesEdit1 = true, storesEdit2 = false;

    using enum DistributionKind;
    switch (static_cast<DistributionKind>(page)) {
        case Normal:
        case Triangular:
            check.Required(edit1);
            check.Required(edit2);
            check.Real(edit1);
            check.Real(edit2);
            storesEdit2 = true;
            break;
        case Rectangular:
            check.Required(edit2);
            check.Required(edit1);
            check.Real(edit1);
            check.Real(edit2);
            storesEdit2 = true;
            break;
        case Constante:
        case Poisson:
            check.Required(edit1);
            check.Real(edit1);
            break;
        case Gamma:
        case Weibull: {
            check.Required(edit1);
            long double shape = check.Real(edit1);
            check.Ensure(shape > 0, texts.ErrorForm);
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
            check.Ensure(a > 0 && b > 0, texts.ABMustBeReal);
            storesEdit2 = true;
            break;
        }
        case Student: {
            check.Required(edit1);
            std::int32_t degrees = check.Integer(edit1);
            if (!edit2.empty()) check.Real(edit2);
            check.Ensure(degrees >= 1, texts.DegreesMustBeInteger);
            stored.a = edit2.empty() ? "0" : edit2;
            break;
        }
        case Binomial:
            check.Required(edit1);
            check.Required(edit2);
            check.Integer(edit1);
            check.Real(edit2);
            storesEdit2 = true;
            break;
        case NegBinomial: {
            check.Required(edit1);
            check.Required(edit2);
            long double n = check.Real(edit1);
            long double p = check.Real(edit2);
            check.Ensure(n > 0 && p > 0 && p < 1, texts.ErrorNP);
            storesEdit2 = true;
            break;
        }
        case VonMises: {
            check.Required(edit1);
            long double k = check.Real(edit1);
            check.Ensure(k > 0 && k < 10, texts.ErrorK);
            break;
        }
        case XiCuadrado: {
            check.Required(edit1);
            std::int32_t degrees = check.Integer(edit1);
            check.Ensure(degrees >= 1, texts.DegreesMustBeInteger);
            break;
        }
        case LogNormal: {
            check.Required(edit1);
            check.Required(edit2);
            long double mean = check.RealOr(edit1, edit1 + kLogNormalNotReal);
            long double deviation = check.RealOr(edit2, edit2 + kLogNormalNotReal);
            check.Ensure(mean > 0 && deviation > 0, kLogNormalNotPositive);
            storesEdit2 = true;
            break;
        }
        default:
            return std::nullopt;
    }
    if (check.Failed()) return std::nullopt;

    stored.Distrib = page;
    stored.Init = true;
    if (storesEdit1) stored.Valor = edit1;
    if (storesEdit2) stored.a = edit2;
    return stored;
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
            std::optional<ModelParameter> stored;
            if (request.Page == static_cast<int>(DistributionKind::Experimental))
                stored = ApplyExperimental(request.Experimental, record, texts, dialogs);
            else
                stored =
                    ApplyDistributionPage(request.Page, request.Fields, record, texts, dialogs);
            if (stored) {
                record = std::move(*stored);
                outcome.Stored = true;
            }
        }
        outcome.NextIndex = (index + 1) % count;
    } else if (count > 0) {
        outcome.NextIndex = 0;
    }
    outcome.ParametersReady = CheckReady(list);
    return outcome;
}

}  // namespace corvanta
