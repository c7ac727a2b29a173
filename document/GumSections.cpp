#include "document/GumSections.h"

#include <cmath>

#include "engine/NumberText.h"
#include "simulation/Statistics.h"

namespace corvanta {

namespace {

// Only the ASCII letters are raised, as in the report's first headings.
std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsInput(const ModelParameter& p) {
    return !IsComputedKind(p.Distrib);
}

// A share kept with 15 digits, printed to the tenth of a percent as the
// budget's shares are.
std::string ShareText(const std::string& relative) {
    long double value = 0;
    if (!TryParseFloat(relative, value)) return relative + " %";
    return FormatPattern("##0.0", value) + " %";
}

std::string Probability(int coverageIndex) {
    return "(p = " + FormatGeneral(CoverageProbability(coverageIndex), 6) + "%)";
}

}  // namespace

std::string GumFigure(long double value, int digits, const MessageTexts& texts) {
    if (std::isnan(value)) return texts.Indetermined;
    if (std::isinf(value)) return texts.Gum.Infinite;
    return FormatGeneral(value, digits);
}

GumPageTexts FormatGumPage(const std::optional<GumResult>& gum,
                           const std::optional<Validation>& checked, int coverageIndex, int digits,
                           const std::string& unitSuffix, const MessageTexts& texts) {
    const GumTexts& g = texts.Gum;
    GumPageTexts page;
    page.Headers = {texts.HeaderParameter, g.Estimate,    "u(x)", "c", "|c| u(x)",
                    g.Share + " %",        g.DegreesShort};
    page.Validation = g.Validation + " (" + IntegerText(digits) + " " + g.Digits + ")";
    const bool applies = gum && gum->Applicable;
    // Before a run every figure is undetermined; where the framework does
    // not apply, not applicable, with the reason below.
    const std::string missing = gum ? g.NotApplicable : texts.Indetermined;
    const auto figure = [&](long double value, int significant) {
        return applies ? GumFigure(value, significant, texts) : missing;
    };
    page.Estimate = g.Estimate + " y = " + figure(gum ? gum->Estimate : 0, 7) +
                    (applies ? unitSuffix : std::string());
    page.Combined = g.Combined + " u_c = " + figure(gum ? gum->CombinedUncertainty : 0, 4);
    // Correlated inputs leave the second-order terms unknown, and with a
    // finite degree of freedom among them Welch-Satterthwaite has no footing:
    // the page says so rather than show the figures kept in their place.
    std::string secondOrder = missing;
    if (applies && !gum->SecondOrderAvailable)
        secondOrder = g.SecondOrderUnavailable;
    else if (applies)
        secondOrder = gum->SecondOrderUncertainty
                          ? GumFigure(*gum->SecondOrderUncertainty, 4, texts)
                          : texts.Indetermined;
    page.SecondOrder = g.SecondOrder + " u_c = " + secondOrder;
    std::string degrees = missing;
    if (applies && !gum->DegreesAvailable)
        degrees = g.DegreesUnavailable;
    else if (applies)
        degrees = GumFigure(std::floor(gum->EffectiveDegreesOfFreedom), 15, texts);
    page.Degrees = g.Effective + " = " + degrees;
    page.Factor = g.CoverageFactor + " k = " + figure(gum ? gum->CoverageFactor : 0, 4);
    page.Expanded = g.Expanded + " U = " + figure(gum ? gum->ExpandedUncertainty : 0, 4);
    page.Interval = g.Interval + " " + Probability(coverageIndex) + ": " +
                    (applies ? "[ " + GumFigure(gum->Low, 7, texts) + " , " +
                                   GumFigure(gum->High, 7, texts) + " ]"
                             : missing);
    if (applies) {
        for (const BudgetRow& row : gum->Budget) {
            page.Rows.push_back(
                {row.Name, GumFigure(row.Estimate, 6, texts), GumFigure(row.Uncertainty, 4, texts),
                 GumFigure(row.Sensitivity, 4, texts), GumFigure(row.Contribution, 4, texts),
                 FormatPattern("##0.0", row.Share), GumFigure(row.DegreesOfFreedom, 15, texts)});
        }
    }
    if (applies) {
        for (const Correlation& c : gum->Correlations)
            page.Correlations.push_back(g.Correlations + " r(" + c.First + ", " + c.Second +
                                        ") = " + FormatGeneral(c.Coefficient));
    }
    if (checked) {
        page.Differences = g.Tolerance + " = " + GumFigure(checked->Tolerance, 3, texts) +
                           ", d_low = " + GumFigure(checked->LowDifference, 3, texts) +
                           ", d_high = " + GumFigure(checked->HighDifference, 3, texts);
        page.Verdict = checked->Validated ? g.Validated + ": " + g.AgreeWords
                                          : g.NotValidated + ": " + g.DisagreeWords;
    } else if (!gum) {
        page.Differences = g.Tolerance + " = " + texts.Indetermined;
        page.Verdict = texts.Indetermined;
    } else {
        page.Differences = g.Tolerance + " = " + g.NotApplicable;
        page.Verdict = g.NotApplicable + ": " + (applies ? g.NoRunInterval : gum->Reason);
    }
    return page;
}

void AppendReportAnnex(const ReportAnnex& annex, const ParameterList& parameters,
                       const CaptionTable& captions, const MessageTexts& texts,
                       std::vector<ReportLine>& lines) {
    const GumTexts& g = texts.Gum;
    const auto line = [&lines](std::string text, bool bold = false) {
        ReportLine l;
        l.Text = std::move(text);
        l.Bold = bold;
        lines.push_back(std::move(l));
    };
    const auto heading = [&](const std::string& text) {
        line("", true);
        line(UpperAscii(text), true);
    };
    const auto row = [&lines](std::vector<std::string> cells) {
        ReportLine l;
        l.Cells = std::move(cells);
        lines.push_back(std::move(l));
    };

    heading(captions.Cap(13));
    row({texts.HeaderParameter, captions.Cap(37), captions.Cap(12)});
    for (std::size_t j = 0; j < parameters.size(); ++j) {
        const bool input = IsInput(parameters[j]);
        const bool have = input && j < annex.Contributions.size() && annex.HaveRun;
        row({parameters[j].Nombre, have ? annex.Contributions[j].Width + annex.UnitSuffix : "----",
             have ? ShareText(annex.Contributions[j].Relative) : ""});
    }

    heading(captions.Cap(35));
    if (annex.HaveRun) {
        ReportLine picture;
        picture.Picture = true;
        lines.push_back(picture);
        if (!annex.MarkTexts.empty()) line(annex.MarkTexts);
        // The picture has no axis of its own: the values its classes span.
        if (annex.HistogramRange)
            line(g.HistogramRange + ": [ " + IntervalValueText(annex.HistogramRange->Low) + " , " +
                 IntervalValueText(annex.HistogramRange->High) + " ]" + annex.UnitSuffix);
    } else {
        line(texts.Indetermined);
    }

    heading(g.Title);
    const GumPageTexts page = FormatGumPage(annex.Gum, annex.Checked, annex.CoverageIndex,
                                            annex.Choices.Digits, annex.UnitSuffix, texts);
    line(g.Budget);
    row({page.Headers.begin(), page.Headers.end()});
    for (const auto& cells : page.Rows)
        row({cells.begin(), cells.end()});
    for (const std::string& text : page.Correlations)
        line(text);
    line("");
    for (const std::string* text : {&page.Estimate, &page.Combined, &page.SecondOrder,
                                    &page.Degrees, &page.Factor, &page.Expanded, &page.Interval})
        line(*text);
    line("");
    line(page.Validation);
    line(page.Differences);
    line(page.Verdict, true);

    heading(g.Settings);
    if (annex.Adaptive) {
        const AdaptiveOutcome& a = *annex.Adaptive;
        line(g.AdaptiveStable + " " + IntegerText(annex.Choices.Digits) + " " + g.Digits + ": " +
             IntegerText(a.Batches) + " " + g.Batches + " " + IntegerText(a.BatchSize) + " " +
             g.Trials + " = " + IntegerText(a.Trials) + " " + g.Trials +
             (a.CeilingReached ? " (" + g.Ceiling + ")" : ""));
    } else {
        line(captions.Cap(46) + ": " +
             (annex.HaveRun ? IntegerText(annex.Iterations) : texts.Indetermined));
    }
    line(g.Seed + ": " + (annex.HaveRun ? IntegerText(annex.Seed) : texts.Indetermined));
    line(texts.ConfidenceInterval + ": " +
         (annex.Choices.Interval == IntervalKind::Shortest ? g.Shortest : g.Symmetric) + " " +
         Probability(annex.CoverageIndex));

    line("");
    ReportLine signature;
    signature.Italic = true;
    signature.SizeStep = -1;
    signature.Text = g.Program + ": " + annex.Program;
    lines.push_back(signature);
    signature.Text = g.Date + ": " + annex.Date;
    lines.push_back(signature);
}

std::string ValuesText(const std::vector<double>& values) {
    std::string text;
    text.reserve(values.size() * 20);
    for (double v : values) {
        text += FormatGeneral(v);
        text += "\r\n";
    }
    return text;
}

}  // namespace corvanta
