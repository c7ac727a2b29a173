#include "document/ResultsReport.h"

#include "document/SectionStore.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

// Only the ASCII letters are raised: accented letters stay as typed.
std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

const std::string& CellOrEmpty(const std::vector<std::string>& cells, std::size_t i) {
    static const std::string empty;
    return i < cells.size() ? cells[i] : empty;
}

class ReportWriter {
  public:
    int SizeStep = 0;
    bool Bold = false;
    bool Italic = false;

    void Line(std::string text) {
        ReportLine line;
        line.Text = std::move(text);
        line.SizeStep = SizeStep;
        line.Bold = Bold;
        line.Italic = Italic;
        lines_.push_back(std::move(line));
    }
    void Lines(std::string_view text) {
        for (std::string_view line : SplitTextLines(text))
            Line(std::string(line));
    }
    std::vector<ReportLine> Take() { return std::move(lines_); }

  private:
    std::vector<ReportLine> lines_;
};

}  // namespace

ReportDistribution DescribeDistribution(std::int32_t distrib, const ReportTexts& texts) {
    const ReportValueLabels& l = texts.ValueLabels;
    switch (distrib) {
        case 1:
            return {"Normal (Gaussian)", l.Label18, l.Label19};
        case 2:
            return {"Rectangular (Uniform)", l.Label20, l.Label21};
        case 3:
            return {"Triangular", l.Label22, l.Label23};
        case 4:
            return {"Constant", l.Label24, ""};
        case 5:
            return {"Gamma", l.Label36, ""};
        case 6:
            return {"Exponential", "", ""};
        case 7:
            return {"Beta", "a", "b"};
        case 8:
            return {"Student t", l.Label44, l.LabelStudent};
        case 9:
            return {"Poisson", l.Label46, ""};
        case 10:
            return {"Binomial", "n", "p"};
        case 11:
            return {"NegBinomial", "n", "p"};
        case 12:
            return {"VonMisses", "k", ""};
        case 13:
            return {"Cauchy", "", ""};
        case 14:
            return {"Weibull", l.Label61, ""};
        case 15:
            return {"XiCuadrado", l.Label62, ""};
        case 16:
            return {"LogNormal", l.Label63, l.Label64};
        case 17: {
            std::string name = texts.TabSheet22 + " (" +
                               texts.SimulationChoices[texts.SelectedSimulation == 1 ? 1 : 0] + ")";
            if (texts.SelectedMode >= 0 && texts.SelectedMode < 5) {
                name += " - " + texts.ModeChoices[texts.SelectedMode];
            }
            return {name, "", ""};
        }
        case 18:
            return {"Interim Result", l.Label24, ""};
        case 19:
            return {"Result", l.Label24, ""};
        case 20:
            return {"U-shaped (arcsine)", l.Midpoint, l.HalfWidth};
        case 21:
            return {"Trapezoidal", l.Midpoint, l.HalfWidth, l.Ratio};
        case 22:
            return {"Curvilinear trapezoid", l.Midpoint, l.HalfWidth, l.Inexactness};
        case 23:
            return {"Triangular (asymmetric)", l.Mode, l.Lower, l.Upper};
        default:
            return {"", "", ""};
    }
}

std::vector<ReportLine> ComposeReport(const ReportTexts& texts, const ParameterList& parameters,
                                      const CorrelationList& correlations) {
    ReportWriter w;
    w.SizeStep = 1;
    w.Line(texts.Title == texts.TitlePlaceholder ? "UNNAMED PROJECT" : UpperAscii(texts.Title));
    w.SizeStep = -1;
    w.Italic = true;
    w.Line("Monte Carlo Simulation Powered by Corvanta \"Torvo\"");
    w.SizeStep = 0;
    w.Italic = false;

    if (texts.Description != texts.DescriptionPlaceholder) {
        w.Bold = true;
        w.Line("");
        w.Line(UpperAscii(texts.Label98));
        w.Bold = false;
        w.Lines(texts.Description);
    }

    w.Bold = true;
    w.Line("");
    w.Line(UpperAscii(texts.Label2));
    w.Bold = false;
    w.Lines(texts.ModelText);

    w.Bold = true;
    w.Line("");
    w.Line(UpperAscii(texts.HeaderParameter));
    w.Line("");
    w.Bold = false;

    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const ModelParameter& p = parameters[i];
        w.Bold = true;
        w.Line(">> " + p.Nombre);
        w.Line(texts.HeaderUnits + ": " + CellOrEmpty(texts.UnitCells, i));
        w.Line(texts.HeaderDescription + ": " + CellOrEmpty(texts.DescriptionCells, i));
        ReportDistribution d = DescribeDistribution(p.Distrib, texts);
        w.Line(texts.Label97 + ": " + d.Name);
        // An empty page title is contained in every name; only a real title
        // marks a quantity with readings.
        if (!texts.TabSheet22.empty() && d.Name.find(texts.TabSheet22) != std::string::npos) {
            w.Lines(p.Lecturas);
        }
        if (!d.FirstLabel.empty()) {
            w.Line(d.FirstLabel + " = " + (p.Distrib == 19 ? texts.ResultadoRes : p.Valor));
        }
        if (!d.SecondLabel.empty()) w.Line(d.SecondLabel + " = " + p.a);
        if (!d.ThirdLabel.empty()) w.Line(d.ThirdLabel + " = " + p.b);
        if (TakesTypeBDegrees(p.Distrib) && !p.Grados.empty())
            w.Line(texts.ValueLabels.Degrees + " = " + p.Grados);
        w.Line("");
    }
    bool correlated = false;
    for (const Correlation& c : correlations)
        correlated = correlated || c.Coefficient != 0;
    if (correlated) {
        w.Bold = true;
        w.Line(texts.CorrelationsHeading);
        w.Bold = false;
        for (const Correlation& c : correlations)
            if (c.Coefficient != 0)
                w.Line("r(" + c.First + ", " + c.Second + ") = " + FormatGeneral(c.Coefficient));
        w.Line("");
    }

    w.Bold = true;
    w.Line("");
    w.Line(UpperAscii(texts.Label47));
    w.Line("");
    w.Bold = false;
    for (const auto& [label, value] : texts.ResultRows)
        w.Line(label + " = " + value);
    w.Line(texts.Label12);
    w.Line(texts.Label56 + " " + texts.ResultadoRes);
    w.Line(texts.Label60);
    w.Line("");
    w.Bold = true;
    w.Line(texts.Label28);
    w.Bold = false;
    return w.Take();
}

void SetReportLabels(const CaptionTable& captions, ReportTexts& texts) {
    auto cap = [&](int n) { return captions.Cap(n); };
    texts.HeaderParameter = " " + cap(62);
    texts.HeaderUnits = " " + cap(78);
    texts.HeaderDescription = " " + cap(17);
    texts.Label98 = cap(15);
    texts.Label2 = cap(72);
    texts.Label47 = cap(70);
    texts.Label97 = cap(20);
    texts.TabSheet22 = cap(27);
    ReportValueLabels& l = texts.ValueLabels;
    l.Label18 = l.Label20 = l.Label22 = l.Label63 = cap(50);
    l.Label19 = l.Label64 = cap(18);
    l.Label21 = l.Label23 = cap(71);
    l.Label24 = cap(79);
    l.Label36 = cap(29);
    l.Label44 = l.Label62 = cap(33);
    l.LabelStudent = cap(50) + " (" + cap(51) + ")";
    l.Label46 = cap(50) + " (lambda)";
    l.Label61 = cap(29) + " (k)";
    l.Midpoint = cap(distcap::Midpoint);
    l.HalfWidth = cap(distcap::HalfWidth);
    l.Ratio = cap(distcap::Ratio);
    l.Inexactness = cap(distcap::Inexactness);
    l.Mode = cap(distcap::Mode);
    l.Lower = cap(distcap::Lower);
    l.Upper = cap(distcap::Upper);
    l.Degrees = cap(33);
}

}  // namespace corvanta
