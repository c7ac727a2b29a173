#include "ui/FormCorrelations.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "distributions/Readings.h"
#include "engine/NumberText.h"
#include "ui/Colours.h"
#include "ui/DialogGrid.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

constexpr int kCellWidth = 70;
constexpr int kRowHeight = 17;
constexpr int kVisibleCells = 8;

std::string Sentence(std::string why) {
    if (!why.empty() && why[0] >= 'a' && why[0] <= 'z') why[0] = static_cast<char>(why[0] - 32);
    return why + ".";
}

}  // namespace

TFormCorrelations::TFormCorrelations(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      messages_(FormMessageTexts(CaptionTable::BuiltIn())),
      grid_(new DialogGrid(this)),
      button3_(new QPushButton(this)),
      button2_(new QPushButton(this)),
      button1_(new QPushButton(this)) {
    setObjectName(QStringLiteral("FormCorrelations"));
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    button3_->setObjectName(QStringLiteral("Button3"));
    button2_->setObjectName(QStringLiteral("Button2"));
    button1_->setObjectName(QStringLiteral("Button1"));
    for (QPushButton* button : {button3_, button2_, button1_})
        button->setAutoDefault(false);
    SetTexts(CaptionTable::BuiltIn(), messages_);

    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid_->setCornerButtonEnabled(false);
    grid_->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setSectionsClickable(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button3_);
    buttons->addStretch();
    buttons->addWidget(button2_);
    buttons->addWidget(button1_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    grid_->KeyDown = [this](const QKeyEvent& event) { return StringGrid1KeyDown(event); };
    connect(grid_, &QTableWidget::cellChanged, this, &TFormCorrelations::Mirror);
    connect(button3_, &QPushButton::clicked, this, &TFormCorrelations::Button3Click);
    connect(button2_, &QPushButton::clicked, this, &TFormCorrelations::Button2Click);
    connect(button1_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCorrelations::SetTexts(const CaptionTable& captions, const MessageTexts& messages) {
    messages_ = messages;
    setWindowTitle(ToQt(messages.Gum.Correlations));
    button3_->setText(ToQt(messages.FromReadings));
    button2_->setText(ToQt(captions.Cap(100)));
    button1_->setText(ToQt(captions.Cap(101)));
}

std::optional<CorrelationList> TFormCorrelations::Edit(const ParameterList& parameters,
                                                       const CorrelationList& list) {
    parameters_ = parameters;
    names_ = InputNames(parameters);
    result_.reset();
    const int n = static_cast<int>(names_.size());
    grid_->clear();
    grid_->setRowCount(n);
    grid_->setColumnCount(n);
    QStringList headers;
    for (const std::string& name : names_)
        headers << ToQt(name);
    grid_->setHorizontalHeaderLabels(headers);
    grid_->setVerticalHeaderLabels(headers);
    Fill(list);
    // A screenful of cells; more scroll.
    const int shown = std::min(n, kVisibleCells);
    grid_->setFixedSize(grid_->verticalHeader()->sizeHint().width() + shown * kCellWidth +
                            2 * grid_->frameWidth() + (n > shown ? 18 : 0),
                        grid_->horizontalHeader()->sizeHint().height() + shown * kRowHeight +
                            2 * grid_->frameWidth() + (n > shown ? 18 : 0));
    adjustSize();
    if (n > 1) grid_->setCurrentCell(0, 1);
    grid_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return result_;
}

void TFormCorrelations::Fill(const CorrelationList& list) {
    const int n = static_cast<int>(names_.size());
    const QSignalBlocker quiet(grid_);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (i == j) {
                item->setText(QStringLiteral("1"));
            } else {
                const double r = CorrelationOf(list, names_[i], names_[j]);
                item->setText(r == 0 ? QString() : ToQt(FormatGeneral(r)));
            }
            if (i >= j) {
                // The diagonal and the mirror are shown, never typed into.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(kComputedShade);
                if (i > j) item->setForeground(Qt::darkGray);
            }
            grid_->setItem(i, j, item);
        }
    }
}

void TFormCorrelations::Mirror(int row, int column) {
    if (row >= column) return;
    if (QTableWidgetItem* mirror = grid_->item(column, row)) {
        const QSignalBlocker quiet(grid_);
        mirror->setText(grid_->item(row, column)->text());
    }
}

std::string TFormCorrelations::MatrixText() const {
    std::string text;
    const int n = grid_->rowCount();
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (j > 0) text += '\t';
            if (j > i) text += FromQt(grid_->item(i, j)->text());
        }
        text += '\n';
    }
    return text;
}

void TFormCorrelations::Refuse(const std::string& why) {
    dialogs_.ShowError(Sentence(why));
}

void TFormCorrelations::Button2Click() {
    grid_->CommitEditor();
    MatrixReading reading = ReadCorrelationMatrix(MatrixText(), names_, parameters_);
    if (reading.Fault) return Refuse(*reading.Fault);
    // The joint draw's own checks need every correlated quantity's
    // distribution; the run checks the rest before it starts.
    bool assigned = true;
    for (std::size_t i : CorrelatedInputs(parameters_, reading.List))
        assigned = assigned && parameters_[i].Init;
    if (assigned) {
        // Its messages are sentences already.
        if (auto why = CheckCorrelations(parameters_, reading.List)) {
            dialogs_.ShowError(*why);
            return;
        }
    }
    result_ = std::move(reading.List);
    accept();
}

void TFormCorrelations::Button3Click() {
    grid_->CommitEditor();
    int row = grid_->currentRow(), column = grid_->currentColumn();
    if (row > column) std::swap(row, column);
    std::optional<double> r;
    if (row >= 0 && row != column) {
        const ModelParameter* first = nullptr;
        const ModelParameter* second = nullptr;
        for (const ModelParameter& p : parameters_) {
            if (p.Nombre == names_[static_cast<std::size_t>(row)]) first = &p;
            if (p.Nombre == names_[static_cast<std::size_t>(column)]) second = &p;
        }
        if (first && second) r = ReadingsCorrelation(*first, *second);
    }
    if (!r) {
        dialogs_.ShowInformation(messages_.NoPairedReadings);
        return;
    }
    grid_->item(row, column)->setText(ToQt(FormatGeneral(*r)));
    grid_->setCurrentCell(row, column);
}

bool TFormCorrelations::StringGrid1KeyDown(const QKeyEvent& event) {
    const bool control = event.modifiers() == Qt::ControlModifier;
    if (event.key() == Qt::Key_Delete) {
        QTableWidgetItem* item = grid_->currentItem();
        if (item && grid_->currentColumn() > grid_->currentRow()) item->setText(QString());
        return true;
    }
    if (control && event.key() == Qt::Key_C) {
        MatrixReading reading = ReadCorrelationMatrix(MatrixText(), names_, parameters_);
        // A cell that does not read is copied as it stands.
        QGuiApplication::clipboard()->setText(
            ToQt(reading.Fault ? MatrixText() : CorrelationMatrixText(names_, reading.List)));
        return true;
    }
    if (control && event.key() == Qt::Key_V) {
        MatrixReading reading = ReadCorrelationMatrix(FromQt(QGuiApplication::clipboard()->text()),
                                                      names_, parameters_);
        if (reading.Fault) {
            Refuse(*reading.Fault);
        } else {
            Fill(reading.List);
        }
        return true;
    }
    return false;
}

}  // namespace corvanta
