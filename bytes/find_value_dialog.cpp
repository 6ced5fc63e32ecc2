#include "bytes/find_value_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <cmath>

#include "bytes/bytes_columns.h"
#include "common/hex_input.h"
#include "convert/number_text.h"
#include "ui_find_value_dialog.h"

namespace {

struct ColumnLook {
    HitColumn column;
    Qt::Alignment alignment;
    int width;
};

// The scaled value stands in the value cell, after the decoded one.
constexpr ColumnLook COLUMNS[] = {
    {HitColumn::Number, Qt::AlignLeft | Qt::AlignVCenter, 40},
    {HitColumn::Start, Qt::AlignCenter, 50},
    {HitColumn::Type, Qt::AlignCenter, 62},
    {HitColumn::Order, Qt::AlignCenter, 112},
    {HitColumn::Memory, Qt::AlignCenter, 96},
    {HitColumn::Value, Qt::AlignRight | Qt::AlignVCenter, 100},
    {HitColumn::Difference, Qt::AlignRight | Qt::AlignVCenter, 56},
};

std::string Narrow(const QString& text)
{
    return text.toLatin1().toStdString();
}

bool HasDigit(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace

CFindValueDialog::CFindValueDialog(std::span<const std::uint8_t> frame, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CFindValueDialog>())
    , m_frame(frame.begin(), frame.end())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
    CHexInput::MakeInformationLine(ui->infoLine);

    ui->toleranceModeCombo->addItems({tr("绝对值"), QStringLiteral("%")});
    QTableWidget* list = ui->hitList;
    list->setColumnCount(static_cast<int>(std::size(COLUMNS)));
    for (int column = 0; column < list->columnCount(); ++column) {
        list->setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(ColumnTitle(COLUMNS[column].column))));
        list->setColumnWidth(column, COLUMNS[column].width);
    }
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(18);
    list->horizontalHeader()->setSectionsClickable(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setWordWrap(false);

    connect(ui->readingEdit, &QLineEdit::textChanged, this, &CFindValueDialog::Refresh);
    connect(ui->toleranceEdit, &QLineEdit::textChanged, this, &CFindValueDialog::Refresh);
    connect(ui->toleranceModeCombo, &QComboBox::currentIndexChanged, this, &CFindValueDialog::Refresh);
    for (QCheckBox* scale : {ui->scale1Check, ui->scale01Check, ui->scale001Check, ui->scale0001Check})
        connect(scale, &QCheckBox::toggled, this, &CFindValueDialog::Refresh);
    connect(list, &QTableWidget::itemSelectionChanged, this, &CFindValueDialog::OnSelectionChanged);
    connect(list, &QTableWidget::cellDoubleClicked, this, [this](int row) { OnCopy(row); });
    connect(ui->applyButton, &QPushButton::clicked, this, &CFindValueDialog::OnApply);
    connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

CFindValueDialog::~CFindValueDialog() = default;

void CFindValueDialog::ShowInfo(const QString& text, bool error)
{
    QPalette palette = ui->infoLine->palette();
    palette.setColor(QPalette::WindowText, error ? QColor(255, 0, 0) : palette.color(QPalette::Text));
    ui->infoLine->setPalette(palette);
    ui->infoLine->setText(text);
}

void CFindValueDialog::Refresh()
{
    m_hits.clear();
    ui->hitList->setRowCount(0);
    ui->applyButton->setEnabled(false);

    // The reading and the tolerance pass the conversion page's number check; the texts stay as typed.
    for (QLineEdit* edit : {ui->readingEdit, ui->toleranceEdit})
        if (const char* refused = NumberCheckText(CheckNumberText(Narrow(edit->text()))))
            return ShowInfo(QString::fromUtf8(refused), true);
    if (!HasDigit(ui->readingEdit->text()))
        return ShowInfo(QString::fromUtf8(NUMBER_MISSING_TEXT), false);

    std::vector<double> scales;
    const std::pair<QCheckBox*, double> checks[] = {
        {ui->scale1Check, 1}, {ui->scale01Check, 0.1}, {ui->scale001Check, 0.01}, {ui->scale0001Check, 0.001}};
    for (const auto& [check, factor] : checks)
        if (check->isChecked())
            scales.push_back(factor);
    const double reading = ReadFloating(Narrow(ui->readingEdit->text()));
    const FindTolerance tolerance{ReadFloating(Narrow(ui->toleranceEdit->text())),
                                  ui->toleranceModeCombo->currentIndex() == 1};
    FindValueResult found = FindValue(m_frame, reading, tolerance, scales);
    m_hits = std::move(found.hits);

    QTableWidget* list = ui->hitList;
    list->setRowCount(static_cast<int>(m_hits.size()));
    for (int row = 0; row < list->rowCount(); ++row) {
        const ValueHit& hit = m_hits[static_cast<std::size_t>(row)];
        for (int column = 0; column < list->columnCount(); ++column) {
            const HitColumn shown = COLUMNS[column].column;
            const QString text = QString::fromStdString(shown == HitColumn::Value
                                                            ? HitValueText(hit)
                                                            : HitCellText(shown, hit, static_cast<std::size_t>(row) + 1));
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(COLUMNS[column].alignment);
            item->setToolTip(text);
            list->setItem(row, column, item);
        }
    }
    const int total = static_cast<int>(found.total);
    if (found.total == 0)
        ShowInfo(tr("没有找到该数值"), false);
    else if (found.total > m_hits.size())
        ShowInfo(tr("共找到 %n 处，按误差排列，显示前 %1 处", nullptr, total).arg(m_hits.size()), false);
    else
        ShowInfo(tr("共找到 %n 处，按误差排列", nullptr, total), false);
}

const ValueHit* CFindValueDialog::SelectedHit() const
{
    const QList<QTableWidgetItem*> selected = ui->hitList->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const auto row = static_cast<std::size_t>(selected.first()->row());
    return row < m_hits.size() ? &m_hits[row] : nullptr;
}

void CFindValueDialog::OnSelectionChanged()
{
    const ValueHit* hit = SelectedHit();
    ui->applyButton->setEnabled(hit && !ByteOrdersOf(hit->type).empty());
    if (hit)
        emit HitSelected(static_cast<int>(hit->offset - 1), static_cast<int>(hit->width));
}

void CFindValueDialog::OnApply()
{
    if (const ValueHit* hit = SelectedHit(); hit && !ByteOrdersOf(hit->type).empty())
        emit ApplyRequested(hit->type, hit->order);
}

void CFindValueDialog::OnCopy(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_hits.size())
        return;
    const QString line = QString::fromStdString(DescribeHit(m_hits[static_cast<std::size_t>(row)]));
    QGuiApplication::clipboard()->setText(line);
    ShowInfo(tr("已复制到剪贴板：%1").arg(line), false);
}
