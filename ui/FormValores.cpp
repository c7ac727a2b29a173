#include "ui/FormValores.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "engine/NumberText.h"
#include "ui/DialogGrid.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

constexpr int kNumberColumnWidth = 31;
constexpr int kValueColumnWidth = 70;
constexpr int kRowHeight = 17;
constexpr int kVisibleRows = 12;
// The header row draws a frame around its text that a plain row has not.
constexpr int kHeaderHeight = kRowHeight + 2;
constexpr const char* kNumberHeader = "N\xBA";

int WidestModeColumns() {
    std::size_t widest = 0;
    for (int m = 0; m < kReadingModeCount; ++m)
        widest = std::max(widest, ReadingColumns(static_cast<ReadingMode>(m)).size());
    return static_cast<int>(widest);
}

}  // namespace

TFormValores::TFormValores(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      messages_(FormMessageTexts(CaptionTable::BuiltIn())),
      grid_(new DialogGrid(this)),
      button2_(new QPushButton(QStringLiteral("Ok"), this)),
      button1_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("FormValores"));
    setWindowTitle(QStringLiteral("Observations"));
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    button2_->setObjectName(QStringLiteral("Button2"));
    button1_->setObjectName(QStringLiteral("Button1"));
    // Enter finishes a cell, it must not close the dialog with half a table.
    button2_->setAutoDefault(false);
    button1_->setAutoDefault(false);

    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setCornerButtonEnabled(false);
    grid_->verticalHeader()->hide();
    QHeaderView* columns = grid_->horizontalHeader();
    columns->setMinimumSectionSize(kNumberColumnWidth);
    columns->setDefaultSectionSize(kValueColumnWidth);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setFixedHeight(kHeaderHeight);
    QHeaderView* rows = grid_->verticalHeader();
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    // Wide enough for the mode with the most columns beside the scroll bar,
    // high enough for a screenful of rows; the dialog is sized around it.
    const int frame = 2 * grid_->frameWidth();
    const int scrollBar = grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                      grid_->verticalScrollBar());
    grid_->setFixedSize(
        frame + kNumberColumnWidth + WidestModeColumns() * kValueColumnWidth + scrollBar,
        frame + kHeaderHeight + kVisibleRows * kRowHeight);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button2_);
    buttons->addWidget(button1_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    grid_->Clicked = [this] { StringGrid1Click(); };
    grid_->KeyDown = [this](const QKeyEvent& event) { return StringGrid1KeyDown(event); };
    connect(button2_, &QPushButton::clicked, this, &TFormValores::Button2Click);
    connect(button1_, &QPushButton::clicked, this, &TFormValores::Button1Click);
}

void TFormValores::SetMessages(const MessageTexts& messages) {
    messages_ = messages;
}

std::optional<std::string> TFormValores::Edit(ReadingMode mode, int rows,
                                              const std::string& quantityName,
                                              const std::string& memoValues) {
    mode_ = mode;
    result_.reset();
    FormShow(rows, quantityName, memoValues);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return result_;
}

void TFormValores::FormShow(int rows, const std::string& quantityName,
                            const std::string& memoValues) {
    const std::vector<ReadingColumn>& valueColumns = ReadingColumns(mode_);
    const auto cells = PrefillReadings(memoValues, mode_, rows);

    grid_->clear();
    grid_->setColumnCount(1 + static_cast<int>(valueColumns.size()));
    grid_->setColumnWidth(0, kNumberColumnWidth);
    grid_->setHorizontalHeaderItem(0, new QTableWidgetItem(ToQt(kNumberHeader)));
    for (std::size_t c = 0; c < valueColumns.size(); ++c) {
        const std::string header =
            valueColumns[c] == ReadingColumn::Standard ? kStandardColumnHeader : quantityName;
        grid_->setHorizontalHeaderItem(static_cast<int>(c) + 1, new QTableWidgetItem(ToQt(header)));
    }
    ShowCells(cells);

    grid_->scrollToTop();
    if (!cells.empty()) grid_->setCurrentCell(0, 1);
    grid_->setFocus();
}

// Rows numbered from 1, value cells from column 1 on.
void TFormValores::ShowCells(const std::vector<std::vector<std::string>>& cells) {
    grid_->setRowCount(static_cast<int>(cells.size()));
    for (std::size_t r = 0; r < cells.size(); ++r) {
        const int row = static_cast<int>(r);
        // The row number is a label, not a reading: it can be selected and
        // copied but never edited.
        auto* number = new QTableWidgetItem(ToQt(IntegerText(row + 1)));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(row, 0, number);
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            grid_->setItem(row, static_cast<int>(c) + 1, new QTableWidgetItem(ToQt(cells[r][c])));
    }
}

void TFormValores::Button2Click() {
    grid_->CommitEditor();
    result_ = ComposeReadings(mode_, ValueCells());
    accept();
}

void TFormValores::Button1Click() {
    reject();
}

void TFormValores::StringGrid1Click() {
    for (int row = 0; row < grid_->rowCount(); ++row) {
        for (int column = 1; column < grid_->columnCount(); ++column) {
            QTableWidgetItem* item = grid_->item(row, column);
            if (!item || item->text().isEmpty()) continue;
            const std::string text = FromQt(item->text());
            if (ReadingCellAccepted(text)) continue;
            dialogs_.ShowError(text + " " + messages_.NotReal);
            item->setText(QString());
            grid_->setCurrentCell(row, column);
            return;
        }
    }
}

bool TFormValores::StringGrid1KeyDown(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Delete) {
        QTableWidgetItem* item = grid_->currentItem();
        if (item && grid_->currentColumn() != 0) item->setText(QString());
        return true;
    }
    if (event.key() == Qt::Key_C && event.modifiers() == Qt::ControlModifier) {
        CopySelection();
        return true;
    }
    if (event.matches(QKeySequence::Paste)) {
        PasteAtCurrentCell();
        return true;
    }
    return false;
}

void TFormValores::CopySelection() const {
    const QList<QTableWidgetSelectionRange> ranges = grid_->selectedRanges();
    if (ranges.isEmpty()) return;
    const QTableWidgetSelectionRange& range = ranges.front();
    QString text;
    for (int row = range.topRow(); row <= range.bottomRow(); ++row) {
        for (int column = range.leftColumn(); column <= range.rightColumn(); ++column) {
            if (column > range.leftColumn()) text += QLatin1Char('\t');
            if (const QTableWidgetItem* item = grid_->item(row, column)) text += item->text();
        }
        text += QLatin1String("\r\n");
    }
    QGuiApplication::clipboard()->setText(text);
}

// Readings copied from a spreadsheet go in from the current cell on, all of
// them or, when one is refused, none.
void TFormValores::PasteAtCurrentCell() {
    grid_->CommitEditor();
    const int row = std::max(0, grid_->currentRow());
    const int column = std::max(1, grid_->currentColumn()) - 1;
    const std::string text = FromQt(QGuiApplication::clipboard()->text());
    const auto cells = PasteReadings(ValueCells(), grid_->columnCount() - 1, row, column, text,
                                     messages_, dialogs_);
    if (!cells) return;
    ShowCells(*cells);
    grid_->setCurrentCell(row, column + 1);
}

std::vector<std::vector<std::string>> TFormValores::ValueCells() const {
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(grid_->rowCount()));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        for (int column = 1; column < grid_->columnCount(); ++column) {
            const QTableWidgetItem* item = grid_->item(row, column);
            cells[static_cast<std::size_t>(row)].push_back(item ? FromQt(item->text())
                                                                : std::string());
        }
    }
    return cells;
}

}  // namespace corvanta
