// The parameter table of the Model page: one row per quantity, its colours,
// the units box and the row-click logic that shows the quantity's page.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "distributions/ApplyRules.h"
#include "engine/NumberText.h"
#include "ui/Colours.h"
#include "ui/Graf.h"
#include "ui/ResultGrids.h"
#include "ui/TextBridge.h"
#include "ui/controls/AsPagePanel.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

namespace {

const QColor kCellColour(113, 131, 164);
const QColor kFixedColour(170, 182, 202);
const QColor kComputedSelectedColour(222, 226, 231);
const QColor kParametricColour(236, 249, 237);
const QColor kExperimentalColour(219, 239, 218);

// Paints each cell after the state of its row's quantity, the text two
// pixels in from the cell's corner.
class ParameterCellPainter : public QStyledItemDelegate {
  public:
    ParameterCellPainter(const ParameterList& list, QObject* parent)
        : QStyledItemDelegate(parent), List(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        QColor fill = Qt::white;
        if (index.column() == 0) {
            fill = kFixedColour;
        } else if (index.row() < int(List.size()) && List[index.row()].Init) {
            const int kind = List[index.row()].Distrib;
            if (IsComputedKind(kind))
                fill = selected ? kComputedSelectedColour : kComputedShade;
            else
                fill = selected ? kSelectionBlue
                                : (kind == 17 ? kExperimentalColour : kParametricColour);
        } else if (selected) {
            fill = kSelectionBlue;
        }
        painter->fillRect(option.rect, fill);
        painter->setPen(selected && index.column() > 0 ? QColor(0, 0, 128) : QColor(0, 0, 0));
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(2, 2, -1, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data().toString());
    }

  private:
    const ParameterList& List;
};

QTableWidgetItem* NewCell(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

}  // namespace

void TGraf::BuildParameterTable(QWidget* page) {
    AsStringGrid2 = new QTableWidget(1, 3, page);
    AsStringGrid2->setObjectName("AsStringGrid2");
    AsStringGrid2->setFrameShape(QFrame::NoFrame);
    AsStringGrid2->verticalHeader()->hide();
    AsStringGrid2->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    AsStringGrid2->verticalHeader()->setDefaultSectionSize(18);
    AsStringGrid2->verticalHeader()->setMinimumSectionSize(18);
    QHeaderView* header = AsStringGrid2->horizontalHeader();
    header->setFixedHeight(18);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background: rgb(170,182,202); color: black; border: 0px;"
        " border-right: 1px solid rgb(113,131,164); border-bottom: 1px solid rgb(113,131,164);"
        " padding-left: 0px; }"));
    const int widths[] = {59, 74, 240};
    for (int column = 0; column < 3; ++column) {
        AsStringGrid2->setColumnWidth(column, widths[column]);
        AsStringGrid2->setHorizontalHeaderItem(column, new QTableWidgetItem);
    }
    AsStringGrid2->setShowGrid(true);
    AsStringGrid2->setGridStyle(Qt::SolidLine);
    AsStringGrid2->setSelectionMode(QAbstractItemView::ContiguousSelection);
    AsStringGrid2->setSelectionBehavior(QAbstractItemView::SelectItems);
    AsStringGrid2->setEditTriggers(QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
    AsStringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AsStringGrid2->setItemDelegate(new ParameterCellPainter(ParameterListState, AsStringGrid2));
    QPalette palette = AsStringGrid2->palette();
    palette.setColor(QPalette::Base, kCellColour);
    palette.setColor(QPalette::Window, kCellColour);
    palette.setColor(QPalette::Text, Qt::black);
    AsStringGrid2->setPalette(palette);
    for (int column = 0; column < 3; ++column)
        AsStringGrid2->setItem(0, column, NewCell(QString(), column == 2));

    // The row logic runs once per press, and on every keyboard move to
    // another row.
    AsStringGrid2->viewport()->installEventFilter(this);
    connect(AsStringGrid2, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int previousRow, int) {
                if (FillingTable || row < 0) return;
                AsStringGrid2SelectCell(row, column);
                if (row == previousRow) return;
                if (PressInGrid) PressChangedCell = true;
                AsStringGrid2Click();
            });
    connect(AsStringGrid2, &QTableWidget::cellPressed, this, [this](int row, int column) {
        if (FillingTable) return;
        if (!PressChangedCell) {
            if (!cbInplaceComboBox->isVisible()) AsStringGrid2SelectCell(row, column);
            AsStringGrid2Click();
        }
        PressChangedCell = false;
    });
    connect(AsStringGrid2, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        AsStringGrid2SetEditText(item->row(), item->column());
    });

    cbInplaceComboBox = new QComboBox(AsStringGrid2);
    cbInplaceComboBox->setObjectName("cbInplaceComboBox");
    cbInplaceComboBox->setEditable(true);
    cbInplaceComboBox->setInsertPolicy(QComboBox::NoInsert);
    cbInplaceComboBox->installEventFilter(this);
    cbInplaceComboBox->hide();
    connect(cbInplaceComboBox, &QComboBox::activated, this,
            [this](int item) { cbInplaceComboBoxCloseUp(item); });
    connect(cbInplaceComboBox, &QComboBox::editTextChanged, this,
            [this](const QString& text) { cbInplaceComboBoxChange(text); });
}

// Loads the units list: the working folder's file, else the user's.
void TGraf::LoadUnits() {
    cbInplaceComboBox->clear();
    QFile file(QString::fromStdString(Environment.UnitsFile.string()));
    if (!Environment.UnitsFile.empty() && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(1 << 20);
        const QString text = ToQt(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        for (QString line : text.split(QRegularExpression("\r\n|\r|\n"))) {
            if (!line.isEmpty()) cbInplaceComboBox->addItem(line);
        }
    }
    cbInplaceComboBox->hide();
}

// One row per quantity after an update or an open: names, units and
// descriptions from the records.
void TGraf::FillParameterTable() {
    FillingTable = true;
    HideUnitsBox();
    const int rows = std::max<int>(1, int(ParameterListState.size()));
    AsStringGrid2->clearContents();
    AsStringGrid2->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const ModelParameter* record =
            row < int(ParameterListState.size()) ? &ParameterListState[row] : nullptr;
        AsStringGrid2->setItem(row, 0, NewCell(record ? ToQt(record->Nombre) : QString(), false));
        AsStringGrid2->setItem(row, 1, NewCell(record ? ToQt(record->Unidad) : QString(), false));
        AsStringGrid2->setItem(row, 2, NewCell(record ? ToQt(record->Desc) : QString(), true));
    }
    StringGrid1->clearContents();
    StringGrid1->setRowCount(int(ParameterListState.size()));
    for (int row = 0; row < int(ParameterListState.size()); ++row) {
        StringGrid1->setItem(row, 0, new QTableWidgetItem(ToQt(ParameterListState[row].Nombre)));
        // Intermediate and output quantities keep their roles until the next
        // update; their contribution cells are drawn shaded.
        const bool input = !IsComputedKind(ParameterListState[row].Distrib);
        for (int column = 1; column <= 2; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setData(kInputRole, input);
            StringGrid1->setItem(row, column, cell);
        }
    }
    AsStringGrid2->setCurrentCell(0, 2);
    FillingTable = false;
}

int TGraf::SelectedParameterIndex() const {
    return AsStringGrid2->currentRow();
}

void TGraf::SelectParameterRow(int index) {
    FillingTable = true;
    HideUnitsBox();
    AsStringGrid2->setCurrentCell(index, 2);
    FillingTable = false;
    AsStringGrid2Click();
}

void TGraf::AsStringGrid2Click() {
    if (ParameterListState.empty() || ModelChanged) {
        if (AskingToUpdate || Memo1->toPlainText().isEmpty()) return;
        AskingToUpdate = true;
        if (Dialogs->ConfirmOkCancel(MessageState.ModelUpdated) == DialogAnswer::Ok) Button2Click();
        AskingToUpdate = false;
        return;
    }
    const int index = SelectedParameterIndex();
    if (index < 0 || index >= int(ParameterListState.size())) return;
    const ModelParameter& record = ParameterListState[index];
    ComboBox2->setEnabled(true);
    if (record.Init) {
        AsPagePanel1->SetActivePageIndex(record.Distrib);
        if (DistributionListItem(record.Distrib) >= 0) {
            ComboBox2->setCurrentIndex(DistributionListItem(record.Distrib));
        } else {
            ComboBox2->setCurrentIndex(-1);
            ComboBox2->setEnabled(false);
        }
        ShowRecordFields(record);
    } else {
        AsPagePanel1->SetActivePageIndex(0);
        ComboBox2->setCurrentIndex(0);
    }
    Label17->setText(AsStringGrid2->item(index, 0)->text());
    Label17->adjustSize();
}

// The page's fields from the record: the reverse of what Apply stores.
void TGraf::ShowRecordFields(const ModelParameter& record) {
    const int kind = record.Distrib;
    if (kind == 17) {
        std::int32_t degrees = 0;
        if (TryParseInteger(record.Grados, degrees)) SpinEdit2->setValue(degrees + 1);
        MemoValues = record.Lecturas;
        SimulationDistribution->button(record.b == "Student" ? 7 : 6)->setChecked(true);
        return;
    }
    if (!IsFieldPage(kind)) return;
    const std::string* texts[] = {&record.Valor, &record.a, &record.b, &record.Grados};
    for (int field = 0; field < 4; ++field)
        if (QLineEdit* edit = PageFields[kind][field]) edit->setText(ToQt(*texts[field]));
}

// Column 1 is edited through the units box laid over the cell.
void TGraf::AsStringGrid2SelectCell(int row, int column) {
    if (column != 1 || row < 0) {
        HideUnitsBox();
        return;
    }
    const QRect cell = AsStringGrid2->visualItemRect(AsStringGrid2->item(row, column));
    const QPoint topLeft = AsStringGrid2->viewport()->mapTo(AsStringGrid2, cell.topLeft());
    cbInplaceComboBox->setGeometry(topLeft.x() - 1, topLeft.y() - 1, cell.width() + 3,
                                   cell.height() + 1);
    const QString text = AsStringGrid2->item(row, column)->text();
    UnitsBoxRow = row;
    cbInplaceComboBox->blockSignals(true);
    cbInplaceComboBox->setCurrentIndex(cbInplaceComboBox->findText(text, Qt::MatchExactly));
    cbInplaceComboBox->setEditText(text);
    cbInplaceComboBox->blockSignals(false);
    cbInplaceComboBox->show();
    cbInplaceComboBox->setFocus();
}

void TGraf::AsStringGrid2SetEditText(int row, int column) {
    if (FillingTable || row < 0 || row >= int(ParameterListState.size())) return;
    if (column != 1 && column != 2) return;
    ModelParameter& record = ParameterListState[row];
    const std::string unit = FromQt(AsStringGrid2->item(row, 1)->text());
    const std::string description = FromQt(AsStringGrid2->item(row, 2)->text());
    if (unit == record.Unidad && description == record.Desc) return;
    record.Unidad = unit;
    record.Desc = description;
    MarkModified();
}

void TGraf::cbInplaceComboBoxCloseUp(int item) {
    if (item >= 0 && UnitsBoxRow >= 0 && UnitsBoxRow < AsStringGrid2->rowCount())
        AsStringGrid2->item(UnitsBoxRow, 1)->setText(cbInplaceComboBox->itemText(item));
    HideUnitsBox();
    AsStringGrid2->setFocus();
}

// A typed unit goes to the cell as it is typed, so that a unit missing from
// the list can be written whole.
void TGraf::cbInplaceComboBoxChange(const QString& text) {
    if (!cbInplaceComboBox->isVisible() || UnitsBoxRow < 0 ||
        UnitsBoxRow >= AsStringGrid2->rowCount())
        return;
    if (cbInplaceComboBox->findText(text, Qt::MatchExactly) >= 0) return;
    AsStringGrid2->item(UnitsBoxRow, 1)->setText(text);
}

void TGraf::HideUnitsBox() {
    if (!cbInplaceComboBox) return;
    cbInplaceComboBox->hide();
    cbInplaceComboBox->blockSignals(true);
    cbInplaceComboBox->setCurrentIndex(-1);
    cbInplaceComboBox->setEditText(QString());
    cbInplaceComboBox->blockSignals(false);
    UnitsBoxRow = -1;
}

}  // namespace corvanta
