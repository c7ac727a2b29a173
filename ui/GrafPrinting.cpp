// Print results: the report of what the window shows, on the chosen printer.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPrinter>
#include <QTableWidget>

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

void TGraf::Imprimir1Click() {
    QFont base = font();
    if (base.pointSizeF() <= 0) base.setPointSizeF(8);
    const auto document =
        ReportDocument(ComposeReport(GatherReportTexts(), ParameterListState, CorrelationState), base);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ToQt(kReportJobTitle));
    if (!FileDialogs.ChoosePrinter(printer)) return;
    printer.setFullPage(true);
    PrintReport(*document, printer, SetRichEditMargins(printer, 1, 1, 2, 1));
}

}  // namespace corvanta
