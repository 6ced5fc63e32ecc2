#include "checksum/checksum_page.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <algorithm>

#include "checksum/checksum_analysis.h"
#include "checksum/checksum_result_model.h"
#include "common/follow_layout.h"
#include "common/hex_input.h"
#include "common/message_box.h"
#include "ui_checksum_page.h"

namespace {
constexpr int ALL_METHODS = -1;  // item data of "ALL" in the method list
// Rows added to the list in one turn of the event loop: a few milliseconds of work even when the
// memory is fresh, so the window never stalls while a degenerate frame yields 500,000 rows.
constexpr std::size_t MAX_ROWS_PER_TURN = 16384;
}

CChecksumPage::CChecksumPage(QWidget* parent)
    : CPage(129, parent)
    , ui(std::make_unique<Ui::CChecksumPage>())
{
    ui->setupUi(this);
    // In a larger window the hex box and the result list take the room.
    Layout()->Add(ui->hexEdit, GROW_WIDTH);
    Layout()->Add(ui->infoLine, GROW_WIDTH);
    Layout()->Add(ui->resultList, GROW_BOTH);
    Layout()->Add(ui->progressLabel, {0, 1, 1, 0});
    Layout()->Add(ui->busyBar, {1, 1, 0, 0});

    m_hexInput = new CHexInput(ui->hexEdit, ui->infoLine, HEX_PROFILE_CHECKSUM, m_frame, this);
    connect(m_hexInput, &CHexInput::Parsed, this,
            [this](HexParseResult, std::size_t count) { m_frameLength = static_cast<std::uint16_t>(count); });

    ui->methodCombo->addItem(QStringLiteral("ALL"), ALL_METHODS);
    for (ChecksumMethod method : CHECKSUM_METHODS)
        ui->methodCombo->addItem(QString::fromLatin1(ChecksumMethodName(method)), static_cast<int>(method));
    ui->methodCombo->setMaxVisibleItems(static_cast<int>(CHECKSUM_METHOD_COUNT) + 1);
    ui->methodCombo->setCurrentIndex(0);

    m_results = new CChecksumResultModel(this);
    QTableView* list = ui->resultList;
    list->setModel(m_results);
    QHeaderView* header = list->horizontalHeader();
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int column = 0; column < CChecksumResultModel::COLUMN_COUNT; ++column)
        list->setColumnWidth(column, CChecksumResultModel::ColumnWidth(column));
    // Every row has the same height, so the view never measures a row's contents.
    QHeaderView* rows = list->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->viewport()->installEventFilter(this);

    connect(ui->analyseButton, &QPushButton::clicked, this, &CChecksumPage::OnAnalyse);
    connect(ui->stopButton, &QPushButton::clicked, this, &CChecksumPage::OnStop);
    ShowProgress();
}

CChecksumPage::~CChecksumPage()
{
    // Cancel them all first so they wind down together, then wait for each.
    if (m_analysis)
        m_analysis->Cancel();
    for (auto& retired : m_retired)
        retired->Cancel();
    m_analysis.reset();
    m_retired.clear();
}

bool CChecksumPage::eventFilter(QObject* watched, QEvent* event)
{
    // The list's double-click copies the selected row, wherever the second press lands.
    if (watched == ui->resultList->viewport() && event->type() == QEvent::MouseButtonDblClick)
        OnCopyContent();
    return CPage::eventFilter(watched, event);
}

void CChecksumPage::OnAnalyse()
{
    if (m_frameLength == 0) {
        ShowMessage(this, QString::fromUtf8(CHECKSUM_NO_DATA_TEXT));
        return;
    }

    RetireAnalysis();
    m_results->Reset(std::span<const std::uint8_t>(m_frame).first(m_frameLength));

    if (ui->methodCombo->currentIndex() < 0) {
        ShowProgress();
        ShowMessage(this, QStringLiteral(u"请选择校验方式！"));
        return;
    }
    std::vector<ChecksumMethod> methods;
    const int chosen = ui->methodCombo->currentData().toInt();
    if (chosen == ALL_METHODS)
        methods.assign(CHECKSUM_METHODS.begin(), CHECKSUM_METHODS.end());
    else
        methods.push_back(static_cast<ChecksumMethod>(chosen));

    const std::uint64_t generation = ++m_generation;
    m_analysis = std::make_unique<CChecksumAnalysis>(
        std::span<const std::uint8_t>(m_frame).first(m_frameLength), methods, [this, generation] {
            // Runs on a worker: hand the notice to the user-interface thread and return at once.
            PostNotice(generation);
        });
    ShowProgress();
}

void CChecksumPage::OnStop()
{
    if (m_analysis)
        m_analysis->Cancel();
    ShowProgress();
}

void CChecksumPage::OnCopyContent()
{
    const QModelIndexList selected = ui->resultList->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(m_results->ContentText(selected.first().row()));
    ShowMessage(this, QStringLiteral(u"校验内容已复制到剪贴板！"));
}

void CChecksumPage::PostNotice(std::uint64_t generation)
{
    QMetaObject::invokeMethod(
        this, [this, generation] { OnAnalysisNotice(generation); }, Qt::QueuedConnection);
}

void CChecksumPage::OnAnalysisNotice(std::uint64_t generation)
{
    std::erase_if(m_retired, [](const auto& retired) { return retired->Finished(); });
    if (generation != m_generation || !m_analysis)
        return;

    if (m_takenShown == m_taken.size()) {
        // Read the end before taking: every row appended before it is then in this take.
        m_endTaken = m_analysis->Finished();
        m_analysis->TakeRows(m_taken);
        m_takenShown = 0;
    }
    const std::size_t count = std::min(MAX_ROWS_PER_TURN, m_taken.size() - m_takenShown);
    m_results->AppendRows(std::span<const ChecksumMatch>(m_taken).subspan(m_takenShown, count));
    m_takenShown += count;

    if (m_takenShown < m_taken.size() || (!m_endTaken && m_analysis->Finished())) {
        // More to show, or the workers ended while this slice was shown and their notice was
        // spent on it: come back on the next turn.
        PostNotice(generation);
        ShowProgress();
        return;
    }
    if (!m_endTaken) {
        ShowProgress();  // the workers' next notice brings more
        return;
    }

    const bool stopped = m_analysis->Cancelled();
    m_analysis.reset();
    std::vector<ChecksumMatch>().swap(m_taken);
    m_takenShown = 0;
    ShowProgress();
    ui->progressLabel->setText(stopped ? QStringLiteral(u"已停止，共 %1 条").arg(m_results->rowCount())
                                       : QStringLiteral(u"分析完成，共 %1 条").arg(m_results->rowCount()));
    emit AnalysisFinished();
}

void CChecksumPage::RetireAnalysis()
{
    if (!m_analysis)
        return;
    m_analysis->Cancel();
    // Its workers end within one start position; the notice of their end drops it.
    m_retired.push_back(std::move(m_analysis));
    m_taken.clear();
    m_takenShown = 0;
}

void CChecksumPage::ShowProgress()
{
    const bool running = m_analysis != nullptr;
    ui->stopButton->setEnabled(running && !m_analysis->Cancelled());
    ui->busyBar->setVisible(running);
    if (!running)
        ui->progressLabel->clear();
    else if (m_analysis->Cancelled())
        ui->progressLabel->setText(QStringLiteral(u"正在停止…"));
    else
        ui->progressLabel->setText(QStringLiteral(u"正在分析… 已找到 %1 条").arg(m_results->rowCount()));
}
