#include "checksum/checksum_page.h"

#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "checksum/checksum_analysis.h"
#include "checksum/checksum_result_model.h"
#include "common/follow_layout.h"
#include "common/hex_input.h"
#include "common/live_text.h"
#include "common/message_box.h"
#include "ui_checksum_page.h"

namespace {
constexpr int ALL_METHODS = -1;  // item data of "ALL" in the method list
// Rows added to the list in one turn of the event loop: a few milliseconds of work even when the
// memory is fresh, so the window never stalls while a degenerate frame yields 500,000 rows.
constexpr std::size_t MAX_ROWS_PER_TURN = 16384;
// How the selected row shows in the hex box: its checked bytes, and its checksum bytes.
const QColor CONTENT_MARK(0xCC, 0xE4, 0xFF);
const QColor CHECKSUM_MARK(0xFF, 0xD2, 0x8C);
// Rows written to a CSV file between two writes.
constexpr int EXPORT_BATCH = 4096;
}

CChecksumPage::CChecksumPage(QWidget* parent)
    : CPage(129, parent)
    , ui(std::make_unique<Ui::CChecksumPage>())
{
    ui->setupUi(this);
    // In a larger window the hex box and the result list take the room; of the row under the
    // list the progress text takes the extra width and the rest keeps to the right edge.
    Layout()->Add(ui->hexEdit, GROW_WIDTH);
    Layout()->Add(ui->infoLine, GROW_WIDTH);
    Layout()->Add(ui->resultList, GROW_BOTH);
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->y() > ui->resultList->geometry().bottom())
            Layout()->Add(control, control == ui->progressLabel ? Follow{0, 1, 1, 0} : Follow{1, 1, 0, 0});

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
    // A click on a column title sorts by it, once rising, then falling; until the first click the
    // rows stand in the order they came.
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sortIndicatorChanged, m_results, &CChecksumResultModel::sort);
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
    connect(list, &QWidget::customContextMenuRequested, this, &CChecksumPage::OnListMenu);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CChecksumPage::MarkSelectedRow);
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CChecksumPage::MarkSelectedRow);
    connect(m_results, &QAbstractItemModel::modelReset, this, &CChecksumPage::MarkSelectedRow);
    connect(m_hexInput, &CHexInput::Parsed, this, &CChecksumPage::MarkSelectedRow);

    connect(ui->analyseButton, &QPushButton::clicked, this, &CChecksumPage::OnAnalyse);
    connect(ui->stopButton, &QPushButton::clicked, this, &CChecksumPage::OnStop);
    connect(ui->identifyButton, &QPushButton::clicked, this, [this] {
        emit IdentifyRequested(QByteArray(reinterpret_cast<const char*>(m_frame.data()), m_frameLength));
    });
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

void CChecksumPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    CPage::changeEvent(event);
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
    {
        // A new list stands in the order its rows come, under the described column widths.
        QHeaderView* header = ui->resultList->horizontalHeader();
        const QSignalBlocker quiet(header);
        header->setSortIndicator(-1, Qt::AscendingOrder);
        if (m_numberWidth != 0 && ui->resultList->columnWidth(0) == m_numberWidth)
            ui->resultList->setColumnWidth(0, CChecksumResultModel::ColumnWidth(0));
        m_numberWidth = 0;
    }

    if (ui->methodCombo->currentIndex() < 0) {
        ShowProgress();
        ShowMessage(this, tr("请选择校验方式！"));
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
            // Runs on a worker or in TakeSlice: answer on the user-interface thread's next turn.
            QMetaObject::invokeMethod(
                this, [this, generation] { OnAnalysisNotice(generation); }, Qt::QueuedConnection);
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
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    QGuiApplication::clipboard()->setText(m_results->ContentText(selected.front()));
    ShowMessage(this, tr("校验内容已复制到剪贴板！"));
}

std::vector<int> CChecksumPage::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : ui->resultList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CChecksumPage::SelectedRow() const
{
    // The row last clicked, if it is selected; else the first selected.
    const QItemSelectionModel* selection = ui->resultList->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row()))
        return current.row();
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

void CChecksumPage::MarkSelectedRow()
{
    QList<QTextEdit::ExtraSelection> marks;
    const int row = SelectedRow();
    const std::span<const std::uint8_t> shown = std::span<const std::uint8_t>(m_frame).first(m_frameLength);
    const std::span<const std::uint8_t> analysed = m_results->Frame();
    // Only over the frame the rows were found in: the box shows it in normal form, 3 characters a byte.
    if (row >= 0 && m_hexInput->LastResult() == HexParseResult::Ok &&
        std::equal(shown.begin(), shown.end(), analysed.begin(), analysed.end())) {
        const ChecksumMatch& match = m_results->Match(row);
        const int width = static_cast<int>(ChecksumWidth(match.method));
        const auto mark = [&](int firstByte, int bytes, const QColor& colour) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = QTextCursor(ui->hexEdit->document());
            selection.cursor.setPosition(3 * firstByte);
            selection.cursor.setPosition(3 * (firstByte + bytes) - 1, QTextCursor::KeepAnchor);  // not the last blank
            selection.format.setBackground(colour);
            marks.append(selection);
        };
        mark(match.start - 1, static_cast<int>(MatchLength(match)), CONTENT_MARK);
        mark(match.end, width, CHECKSUM_MARK);
        // Bring the range's start into view without moving the user's cursor.
        QTextCursor start(ui->hexEdit->document());
        start.setPosition(3 * (match.start - 1));
        const QRect at = ui->hexEdit->cursorRect(start);
        const int line = std::max(1, at.height());
        const int below = at.bottom() - ui->hexEdit->viewport()->height();
        QScrollBar* bar = ui->hexEdit->verticalScrollBar();
        if (at.top() < 0)
            bar->setValue(bar->value() - (line - 1 - at.top()) / line);
        else if (below > 0)
            bar->setValue(bar->value() + (below + line - 1) / line);
    }
    ui->hexEdit->setExtraSelections(marks);
}

void CChecksumPage::FitNumberColumn()
{
    // The described width holds five digits; beyond 99,999 rows the column widens to its longest.
    QTableView* list = ui->resultList;
    const int margin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) + 4;
    const int needed = list->fontMetrics().horizontalAdvance(QString::number(m_results->rowCount())) + margin;
    if (needed > list->columnWidth(0)) {
        list->setColumnWidth(0, needed);
        m_numberWidth = needed;
    }
}

void CChecksumPage::OnListMenu(const QPoint& pos)
{
    auto* menu = new QMenu(ui->resultList);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool any = m_results->rowCount() > 0;
    QAction* copySelected = menu->addAction(tr("复制选中行"), this, [this] { CopyRows(false); });
    copySelected->setEnabled(!SelectedRows().empty());
    menu->addAction(tr("复制全部行"), this, [this] { CopyRows(true); })->setEnabled(any);
    menu->addSeparator();
    menu->addAction(tr("导出CSV…"), this, &CChecksumPage::ExportRows)->setEnabled(any);
    menu->popup(ui->resultList->viewport()->mapToGlobal(pos));
}

void CChecksumPage::CopyRows(bool all)
{
    const std::vector<int> rows = all ? std::vector<int>() : SelectedRows();
    if (!all && rows.empty())
        return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(m_results->Table(TableText::TabSeparated, all ? nullptr : &rows)));
    const int count = all ? m_results->rowCount() : static_cast<int>(rows.size());
    SetLiveText(ui->progressLabel, [count] { return tr("已复制 %n 行到剪贴板", nullptr, count); });
}

void CChecksumPage::ExportRows()
{
    if (m_results->rowCount() == 0)
        return;
    const QString path = QFileDialog::getSaveFileName(this, tr("导出CSV"), tr("校验分析.csv"), tr("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    // Written whole or not at all: the file appears only once every row is in it.
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    std::string chunk = std::string(CSV_FILE_START) + ChecksumTitleLine(TableText::Csv);
    const std::span<const std::uint8_t> frame = m_results->Frame();
    for (int row = 0; written && row < m_results->rowCount(); ++row) {
        chunk += ChecksumRowLine(m_results->Match(row), m_results->Number(row), frame, TableText::Csv);
        if ((row + 1) % EXPORT_BATCH == 0) {
            written = file.write(chunk.data(), static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size());
            chunk.clear();
        }
    }
    written = written && file.write(chunk.data(), static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size());
    written = written && file.commit();
    const int rows = m_results->rowCount();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (written)
        SetLiveText(ui->progressLabel, [rows, shownPath] { return tr("已导出 %n 行到 %1", nullptr, rows).arg(shownPath); });
    else
        SetLiveText(ui->progressLabel, [shownPath, error = file.errorString()] { return tr("无法写入 %1：%2").arg(shownPath, error); });
}

void CChecksumPage::OnAnalysisNotice(std::uint64_t generation)
{
    std::erase_if(m_retired, [](const auto& retired) { return retired->Finished(); });
    if (generation != m_generation || !m_analysis)
        return;

    const bool ended = m_analysis->TakeSlice(MAX_ROWS_PER_TURN, m_slice);
    m_results->AppendRows(m_slice);
    FitNumberColumn();
    if (!ended) {
        ShowProgress();
        return;
    }

    const bool stopped = m_analysis->Cancelled();
    m_analysis.reset();
    std::vector<ChecksumMatch>().swap(m_slice);
    ShowProgress();
    const int rows = m_results->rowCount();
    if (stopped)
        SetLiveText(ui->progressLabel, [rows] { return tr("已停止，共 %n 条", nullptr, rows); });
    else
        SetLiveText(ui->progressLabel, [rows] { return tr("分析完成，共 %n 条", nullptr, rows); });
    emit AnalysisFinished();
}

void CChecksumPage::RetireAnalysis()
{
    if (!m_analysis)
        return;
    m_analysis->Cancel();
    // Its workers end within one start position; the notice of their end drops it.
    m_retired.push_back(std::move(m_analysis));
}

void CChecksumPage::ShowProgress()
{
    const bool running = m_analysis != nullptr;
    ui->stopButton->setEnabled(running && !m_analysis->Cancelled());
    ui->busyBar->setVisible(running);
    if (!running)
        SetLiveText(ui->progressLabel, nullptr);
    else if (m_analysis->Cancelled())
        SetLiveText(ui->progressLabel, [] { return tr("正在停止…"); });
    else
        SetLiveText(ui->progressLabel, [rows = m_results->rowCount()] { return tr("正在分析… 已找到 %n 条", nullptr, rows); });
}
