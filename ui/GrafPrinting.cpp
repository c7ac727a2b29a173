// Print results: the report of what the window shows, on the chosen printer;
// the same report as a PDF file, and the run's values as a text file.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTableWidget>

#include "captions/PathText.h"
#include "document/GumSections.h"
#include "document/ResultsReport.h"
#include "ui/Graf.h"
#include "ui/ReportDocument.h"
#include "ui/TextBridge.h"
#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

ReportTexts TGraf::GatherReportTexts() const {
    const auto text = [this](const char* name) {
        if (auto* label = findChild<QLabel*>(name)) return FromQt(label->text());
        return std::string();
    };
    ReportTexts texts;
    texts.Title = FromQt(Edit1->text());
    texts.TitlePlaceholder = TitlePlaceholder;
    texts.Description = FromQt(TransMemo1->toPlainText());
    texts.DescriptionPlaceholder = DescriptionPlaceholder;
    texts.ModelText = FromQt(Memo1->toPlainText());
    texts.HeaderParameter = FromQt(AsStringGrid2->horizontalHeaderItem(0)->text());
    texts.HeaderUnits = FromQt(AsStringGrid2->horizontalHeaderItem(1)->text());
    texts.HeaderDescription = FromQt(AsStringGrid2->horizontalHeaderItem(2)->text());
    for (int i = 0; i < int(ParameterListState.size()) && i < AsStringGrid2->rowCount(); ++i) {
        texts.UnitCells.push_back(FromQt(AsStringGrid2->item(i, 1)->text()));
        texts.DescriptionCells.push_back(FromQt(AsStringGrid2->item(i, 2)->text()));
    }
    texts.Label98 = text("Label98");
    texts.Label2 = text("Label2");
    texts.Label47 = text("Label47");
    texts.Label97 = text("Label97");
    ReportValueLabels& labels = texts.ValueLabels;
    labels.Label18 = text("Label18");
    labels.Label19 = text("Label19");
    labels.Label20 = text("Label20");
    labels.Label21 = text("Label21");
    labels.Label22 = text("Label22");
    labels.Label23 = text("Label23");
    labels.Label24 = text("Label24");
    labels.Label36 = text("Label36");
    labels.Label44 = text("Label44");
    labels.LabelStudent = text("Label_student");
    labels.Label46 = text("Label46");
    labels.Label61 = text("Label61");
    labels.Label62 = text("Label62");
    labels.Label63 = text("Label63");
    labels.Label64 = text("Label64");
    labels.Midpoint = text("LabelUShaped1");
    labels.HalfWidth = text("LabelUShaped2");
    labels.Ratio = text("LabelTrapezoidal3");
    labels.Inexactness = text("LabelCurvilinearTrapezoid3");
    labels.Mode = text("LabelAsymmetricTriangular1");
    labels.Lower = text("LabelAsymmetricTriangular2");
    labels.Upper = text("LabelAsymmetricTriangular3");
    labels.Degrees = CaptionState.Cap(33);
    texts.TabSheet22 = FromQt(findChild<QWidget*>("TabSheet22")->windowTitle());
    texts.SimulationChoices = {FromQt(SimulationDistribution->button(6)->text()),
                               FromQt(SimulationDistribution->button(7)->text())};
    texts.SelectedSimulation = SimulationDistribution->checkedId() == 7 ? 1 : 0;
    for (int i = 0; i < 5; ++i)
        texts.ModeChoices[i] = FromQt(ModeButtons->button(i)->text());
    texts.SelectedMode = ModeButtons->checkedId();
    for (int row = 0; row < StringGrid2->rowCount(); ++row)
        texts.ResultRows.emplace_back(FromQt(StringGrid2->item(row, 0)->text()),
                                      FromQt(StringGrid2->item(row, 1)->text()));
    texts.Label12 = text("Label12");
    texts.Label56 = text("Label56");
    texts.ResultadoRes = text("Resultado_res");
    texts.Label60 = text("Label60");
    texts.Label28 = text("Label28");
    return texts;
}

// The report's first lines as they always were, then the later sections.
std::vector<ReportLine> TGraf::ComposeWholeReport() const {
    std::vector<ReportLine> lines =
        ComposeReport(GatherReportTexts(), ParameterListState, CorrelationState);
    ReportAnnex annex;
    annex.HaveRun = Last.Ended;
    annex.Contributions = Session.Contributions;
    annex.UnitSuffix = Session.OutputUnitSuffix;
    if (Last.Ended && Last.HaveUpdate)
        annex.HistogramRange = ValueInterval{static_cast<double>(Last.Update.Histogram.Low),
                                             static_cast<double>(Last.Update.Histogram.High)};
    auto* lower = findChild<QLabel*>("Label6");
    auto* upper = findChild<QLabel*>("Label7");
    if (Last.Ended && !lower->isHidden())
        annex.MarkTexts = FromQt(lower->text()) + "    " + FromQt(upper->text());
    annex.Gum = Last.Gum;
    annex.Checked = Last.Checked;
    annex.Iterations = Last.Iterations;
    annex.Adaptive = Last.Adaptive;
    annex.Choices = Last.Ended ? Last.Choices : ReadRunChoices();
    annex.CoverageIndex = Last.Ended ? Last.CoverageIndex : ComboBox1->currentIndex();
    annex.Seed = Last.Seed;
    annex.Program = "Corvanta " CORVANTA_VERSION;
    annex.Date = FromQt(QDate::currentDate().toString(Qt::ISODate));
    AppendReportAnnex(annex, ParameterListState, CaptionState, MessageState, lines);
    return lines;
}

namespace {

QFont ReportFont(const QFont& windowFont) {
    QFont base = windowFont;
    if (base.pointSizeF() <= 0) base.setPointSizeF(8);
    return base;
}

}  // namespace

void TGraf::Imprimir1Click() {
    const auto document = ReportDocument(ComposeWholeReport(), ReportFont(font()), Chart);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ToQt(kReportJobTitle));
    if (!FileDialogs.ChoosePrinter(printer)) return;
    printer.setFullPage(true);
    PrintReport(*document, printer, SetRichEditMargins(printer, 1, 1, 2, 1));
}

bool TGraf::WriteReportPdf(const std::string& path) {
    const auto document = ReportDocument(ComposeWholeReport(), ReportFont(font()), Chart);
    QString reason;
    if (WriteReportPdfFile(*document, QFile::decodeName(QByteArray::fromStdString(path)), reason))
        return true;
    Dialogs->ShowMessage("Cannot create file \"" + PathText(path) + "\". " + FromQt(reason));
    return false;
}

void TGraf::ExportarPDF1Click() {
    const auto path = FileDialogs.ChoosePdfPath();
    if (path) WriteReportPdf(*path);
}

void TGraf::ExportarValores1Click() {
    if (Last.Values.empty()) {
        Dialogs->ShowMessage(MessageState.Gum.NoValues);
        return;
    }
    const auto path = FileDialogs.ChooseValuesPath();
    if (path) WriteModelFile(*path, ValuesText(Last.Values), *Dialogs);
}

}  // namespace corvanta
