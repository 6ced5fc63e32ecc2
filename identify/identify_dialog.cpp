#include "identify/identify_dialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>

#include "checksum/checksum_search.h"
#include "common/hex_input.h"
#include "common/hex_input_profile.h"
#include "common/hex_text.h"
#include "common/live_text.h"
#include "common/message_box.h"
#include "identify/identify_analysis.h"
#include "identify/identify_log.h"
#include "identify/identify_texts.h"
#include "ui_identify_dialog.h"

namespace {

constexpr int RULE_ROLE = Qt::UserRole;  // index of the rule in the report; -1 for a heading
constexpr qint64 MAX_LOG_FILE = 64 * 1024 * 1024;
constexpr int MAX_REFUSALS_SHOWN = 5;

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CIdentifyDialog::CIdentifyDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CIdentifyDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
    CHexInput::MakeInformationLine(ui->infoLine);
    ui->logEdit->viewport()->installEventFilter(this);
    ui->logEdit->setAcceptDrops(true);
    ui->resultList->setAccessibleName(ui->resultLabel->text());
    ui->frameSpin->setMaximum(1);

    connect(ui->openButton, &QPushButton::clicked, this, &CIdentifyDialog::OnOpen);
    connect(ui->identifyButton, &QPushButton::clicked, this, &CIdentifyDialog::OnIdentify);
    connect(ui->stopButton, &QPushButton::clicked, this, &CIdentifyDialog::OnStop);
    connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->resultList, &QListWidget::currentRowChanged, this, [this] {
        // Show the first frame the rule holds in.
        if (const IdentifiedRule* rule = SelectedRule())
            for (std::size_t k = 0; k < m_frames.size(); ++k)
                if ((!rule->classByte || (!m_frames[k].bytes.empty() && m_frames[k].bytes[0] == *rule->classByte)) &&
                    RuleHolds(rule->rule, m_frames[k].bytes)) {
                    ui->frameSpin->setValue(static_cast<int>(k) + 1);
                    break;
                }
        ShowFrame();
    });
    connect(ui->frameSpin, &QSpinBox::valueChanged, this, &CIdentifyDialog::ShowFrame);
    UpdateButtons();
}

CIdentifyDialog::~CIdentifyDialog() = default;

void CIdentifyDialog::AddFrame(std::span<const std::uint8_t> frame)
{
    if (frame.empty())
        return;
    const QString line = QString::fromLatin1(FormatHexBytes(frame)).trimmed();
    QString text = ui->logEdit->toPlainText();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    ui->logEdit->setPlainText(text + line);
}

bool CIdentifyDialog::LoadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(this, tr("无法打开文件 %1：%2").arg(path, file.errorString()));
        return false;
    }
    if (file.size() > MAX_LOG_FILE) {
        ShowMessage(this, tr("文件 %1 太大（超过 64 MB），请只取其中一段记录。").arg(path));
        return false;
    }
    // Logs are ASCII hex; anything else in them only needs to survive the round trip.
    ui->logEdit->setPlainText(QString::fromLatin1(file.readAll()));
    ShowInfo([path] { return tr("已读入 %1").arg(path); }, false);
    return true;
}

bool CIdentifyDialog::eventFilter(QObject* watched, QEvent* event)
{
    // A file dropped on the log is read; dropped text is the edit's own business.
    if (watched == ui->logEdit->viewport() && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* data = drop->mimeData();
        if (data && data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile()) {
            drop->acceptProposedAction();
            if (event->type() == QEvent::Drop)
                LoadFile(data->urls().first().toLocalFile());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CIdentifyDialog::OnOpen()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("打开帧记录"), QString(),
                                                      tr("记录文件 (*.txt *.log *.csv);;所有文件 (*)"));
    if (!path.isEmpty())
        LoadFile(path);
}

void CIdentifyDialog::OnIdentify()
{
    if (m_analysis)
        return;
    const IdentifyLog log = ReadIdentifyLog(ui->logEdit->toPlainText().toStdString(), ui->extractCheck->isChecked());
    m_refused = log.refused;
    m_reportShown = false;
    if (log.frames.empty()) {
        ShowInfo([this] { return RefusalsText(); }, true);
        ShowMessage(this, tr("请输入要识别的帧记录（每行一帧）！"));
        return;
    }
    m_frames = log.frames;
    m_report = {};
    ui->resultList->clear();
    ui->frameView->clear();
    ui->frameSpin->setMaximum(static_cast<int>(m_frames.size()));
    ui->progressBar->setValue(0);
    m_analysis = std::make_unique<CIdentifyAnalysis>(log.frames, IdentifyOptions{}, [this] {
        // On the worker: hand the notice to the user-interface thread and return at once.
        QMetaObject::invokeMethod(this, &CIdentifyDialog::OnNotice, Qt::QueuedConnection);
    });
    ShowInfo([this, count = static_cast<int>(m_frames.size())] { return RefusalsText() + tr("正在识别 %n 帧…", nullptr, count); },
             !m_refused.empty());
    UpdateButtons();
}

void CIdentifyDialog::OnStop()
{
    if (!m_analysis)
        return;
    m_analysis->Cancel();
    ShowInfo([] { return tr("正在停止…"); }, false);
    UpdateButtons();
}

void CIdentifyDialog::OnNotice()
{
    if (!m_analysis)
        return;
    ui->progressBar->setValue(static_cast<int>(m_analysis->Progress()));
    if (!m_analysis->Finished())
        return;
    m_report = m_analysis->TakeReport();
    m_analysis.reset();
    ShowReport();
    UpdateButtons();
    emit Finished();
}

QString CIdentifyDialog::RefusalsText() const
{
    QString text;
    for (std::size_t k = 0; k < m_refused.size() && k < MAX_REFUSALS_SHOWN; ++k)
        text += tr("第 %1 行: %2")
                    .arg(m_refused[k].line)
                    .arg(Utf8(HexErrorText(HEX_PROFILE_CHECKSUM, m_refused[k].result, MAX_SEARCH_BYTES))) +
                QLatin1Char('\n');
    if (m_refused.size() > MAX_REFUSALS_SHOWN)
        text += tr("另有 %n 行未能读入", nullptr, static_cast<int>(m_refused.size() - MAX_REFUSALS_SHOWN)) + QLatin1Char('\n');
    return text;
}

QString CIdentifyDialog::ReportStatus() const
{
    QString status;
    if (m_report.cancelled) {
        status = Utf8(IdentifyTextOf(IdentifyText::Cancelled));
    } else {
        status = Utf8(FormatText(IdentifyTextOf(IdentifyText::Summary), std::to_string(m_report.frames).c_str(),
                                 std::to_string(m_report.distinct).c_str(), std::to_string(m_report.rules.size()).c_str()));
        if (m_report.distinct < 2)
            status += QLatin1Char('\n') + Utf8(IdentifyTextOf(IdentifyText::TooFewDistinct));
        else if (m_report.rules.empty())
            status += QLatin1Char('\n') + Utf8(FormatText(IdentifyTextOf(IdentifyText::NoRule), "50"));
    }
    if (!m_report.unclassified.empty())
        status += QLatin1Char('\n') + Utf8(FormatText(IdentifyTextOf(IdentifyText::Unclassified),
                                                      LineListText(m_report.unclassified, 10).c_str()));
    return status;
}

void CIdentifyDialog::ShowReport()
{
    m_reportShown = true;
    ui->resultList->clear();
    std::optional<std::uint8_t> heading;
    for (std::size_t k = 0; k < m_report.rules.size(); ++k) {
        const IdentifiedRule& rule = m_report.rules[k];
        if (m_report.classes && (k == 0 || rule.classByte != heading)) {
            heading = rule.classByte;
            auto* item = new QListWidgetItem(Utf8(FormatText(IdentifyTextOf(IdentifyText::ClassHeading),
                                                             unsigned{*heading}, std::to_string(rule.frames).c_str())),
                                             ui->resultList);
            item->setFlags(Qt::ItemIsEnabled);
            item->setData(RULE_ROLE, -1);
        }
        auto* item = new QListWidgetItem(QStringLiteral("%1. ").arg(k + 1) + Utf8(IdentifiedRuleText(rule)), ui->resultList);
        item->setData(RULE_ROLE, static_cast<int>(k));
    }
    ShowInfo([this] { return RefusalsText() + ReportStatus(); }, !m_refused.empty());
    for (int row = 0; row < ui->resultList->count(); ++row)
        if (ui->resultList->item(row)->data(RULE_ROLE).toInt() >= 0) {
            ui->resultList->setCurrentRow(row);
            break;
        }
    ShowFrame();
}

void CIdentifyDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->resultList->setAccessibleName(ui->resultLabel->text());
        // The rules are written in core's words: again, in the new language, as they were selected.
        if (m_reportShown && !m_analysis) {
            const int row = ui->resultList->currentRow();
            const int frame = ui->frameSpin->value();
            ShowReport();
            ui->resultList->setCurrentRow(row);
            ui->frameSpin->setValue(frame);
        }
    }
    QDialog::changeEvent(event);
}

const IdentifiedRule* CIdentifyDialog::SelectedRule() const
{
    const QListWidgetItem* item = ui->resultList->currentItem();
    if (!item)
        return nullptr;
    const int index = item->data(RULE_ROLE).toInt();
    return index >= 0 && static_cast<std::size_t>(index) < m_report.rules.size() ? &m_report.rules[index] : nullptr;
}

void CIdentifyDialog::ShowFrame()
{
    const int number = ui->frameSpin->value();
    if (number < 1 || static_cast<std::size_t>(number) > m_frames.size()) {
        ui->frameView->clear();
        SetLiveText(ui->frameLineLabel, nullptr);
        return;
    }
    const IdentifyFrame& frame = m_frames[static_cast<std::size_t>(number) - 1];
    SetLiveText(ui->frameLineLabel, [line = frame.line, bytes = static_cast<int>(frame.bytes.size())] {
        return tr("记录第 %1 行，%n 字节", nullptr, bytes).arg(line);
    });
    // Each byte's mark: 0 none, 1 covered, 2 the value.
    std::vector<std::uint8_t> marks(frame.bytes.size(), 0);
    if (const IdentifiedRule* rule = SelectedRule())
        for (const RulePlace& place : RulePlaces(rule->rule, frame.bytes.size())) {
            for (std::size_t k = place.rangeFirst; k <= place.rangeLast; ++k)
                marks[k] = 1;
            for (std::size_t k = place.checkFirst; k <= place.checkLast; ++k)
                marks[k] = 2;
        }
    QString html = QStringLiteral("<span style=\"font-family:monospace\">");
    static const char* const BACKGROUND[] = {nullptr, "#c8f0c8", "#ffc890"};
    for (std::size_t k = 0; k < frame.bytes.size(); ++k) {
        const QString byte = QStringLiteral("%1").arg(frame.bytes[k], 2, 16, QLatin1Char('0')).toUpper();
        if (marks[k])
            html += QStringLiteral("<span style=\"background-color:%1\">%2</span> ").arg(QLatin1String(BACKGROUND[marks[k]]), byte);
        else
            html += byte + QLatin1Char(' ');
    }
    ui->frameView->setHtml(html + QStringLiteral("</span>"));
}

void CIdentifyDialog::ShowInfo(std::function<QString()> text, bool error)
{
    QPalette palette = ui->infoLine->palette();
    palette.setColor(QPalette::WindowText, error ? QColor(255, 0, 0) : ui->logLabel->palette().color(QPalette::WindowText));
    ui->infoLine->setPalette(palette);
    SetLiveText(ui->infoLine, [text = std::move(text)] { return text().trimmed(); });
}

void CIdentifyDialog::UpdateButtons()
{
    const bool running = m_analysis != nullptr;
    ui->identifyButton->setEnabled(!running);
    ui->openButton->setEnabled(!running);
    ui->stopButton->setEnabled(running && !m_analysis->Cancelled());
    ui->progressBar->setVisible(running);
}
