#include "sms/sms_detail_dialog.h"

#include <QBrush>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTreeWidget>

#include "common/hex_input_profile.h"
#include "common/hex_text.h"
#include "sms/sms_log.h"
#include "ui_sms_detail_dialog.h"

namespace {

// Item data: which PDU or joined message an item belongs to (-1: none), and the field's bytes.
constexpr int ROLE_PDU = Qt::UserRole;
constexpr int ROLE_MESSAGE = Qt::UserRole + 1;
constexpr int ROLE_OFFSET = Qt::UserRole + 2;
constexpr int ROLE_LENGTH = Qt::UserRole + 3;

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A tree cell holds one line: line breaks of a message text show as a sign.
QString OneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QStringLiteral(u"↵")).replace(QLatin1Char('\n'), QStringLiteral(u"↵"));
    line.replace(QLatin1Char('\r'), QStringLiteral(u"↵"));
    return line;
}

QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, const QString& name, const QString& value, const QString& bytes, int pdu, int message)
{
    auto* item = new QTreeWidgetItem(parent, {name, OneLine(value), bytes});
    item->setToolTip(1, value);
    item->setData(0, ROLE_PDU, pdu);
    item->setData(0, ROLE_MESSAGE, message);
    item->setData(0, ROLE_OFFSET, 0);
    item->setData(0, ROLE_LENGTH, 0);
    return item;
}

} // namespace

CSmsDetailDialog::CSmsDetailDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CSmsDetailDialog>())
{
    ui->setupUi(this);
    setFixedSize(size());
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui->pduEdit->setFont(fixed);
    ui->hexView->setFont(fixed);
    ui->fieldTree->setColumnWidth(0, 215);
    ui->fieldTree->setColumnWidth(1, 300);
    ui->fieldTree->setColumnWidth(2, 60);
    connect(ui->pduEdit, &QPlainTextEdit::textChanged, this, &CSmsDetailDialog::Decode);
    connect(ui->fieldTree, &QTreeWidget::currentItemChanged, this, &CSmsDetailDialog::ShowSelection);
}

CSmsDetailDialog::~CSmsDetailDialog() = default;

void CSmsDetailDialog::SetPduText(const QString& text)
{
    ui->pduEdit->setPlainText(text);
}

void CSmsDetailDialog::Decode()
{
    m_bytes.clear();
    m_pdus.clear();
    m_shownPdu = -1;
    ui->fieldTree->clear();
    ui->hexView->clear();
    ui->textView->clear();

    struct Line {
        int number;
        int pdu;        // index into m_pdus, or -1 when refused
        QString error;
    };
    std::vector<Line> lines;
    std::vector<std::string> names;
    const QStringList texts = ui->pduEdit->toPlainText().split(QLatin1Char('\n'));
    std::vector<std::uint8_t> buffer(HEX_PROFILE_STRING_FORMAT.limit);
    for (int n = 0; n < texts.size(); ++n) {
        QString text = texts[n];
        text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        if (text.trimmed().isEmpty())
            continue;
        const QByteArray utf8 = text.toUtf8();
        std::string hex(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        std::size_t count = 0;
        HexParseResult result = ParseHexText(hex, buffer, count);
        if (result != HexParseResult::Ok) {
            // A line of a modem's listing or of a log: the PDU in it, if it holds one.
            const std::string extracted = ExtractPduHex(hex);
            if (!extracted.empty() && ParseHexText(extracted, buffer, count) == HexParseResult::Ok)
                result = HexParseResult::Ok;
        }
        if (result != HexParseResult::Ok || count == 0) {
            const char* message = HexErrorText(HEX_PROFILE_STRING_FORMAT, result == HexParseResult::Ok ? HexParseResult::BadDigit : result);
            lines.push_back({n + 1, -1, QString::fromUtf8(message ? message : "")});
            continue;
        }
        m_bytes.emplace_back(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(count));
        m_pdus.push_back(DecodeSmsPdu(m_bytes.back()));
        names.push_back(SmsFormat(SmsText::NameLine, {std::to_string(n + 1)}));
        lines.push_back({n + 1, static_cast<int>(m_pdus.size()) - 1, {}});
    }
    m_messages = JoinSmsParts(m_pdus);

    for (const Line& line : lines) {
        const QString name = tr("第 %1 行").arg(line.number);
        if (line.pdu < 0) {
            QTreeWidgetItem* item = NewItem(nullptr, name, line.error, QString(), -1, -1);
            item->setForeground(1, QBrush(QColor(255, 0, 0)));
            ui->fieldTree->addTopLevelItem(item);
            continue;
        }
        const SmsPdu& pdu = m_pdus[static_cast<std::size_t>(line.pdu)];
        QString summary = Utf8(SmsMessageTypeName(pdu.type));
        if (!pdu.address.empty())
            summary = tr("%1，%2").arg(summary, Utf8(pdu.address));
        if (pdu.concatenation)
            summary = tr("%1，第 %2/%3 部分").arg(summary).arg(pdu.concatenation->part).arg(pdu.concatenation->parts);
        if (!pdu.problems.empty())
            summary = tr("%1（有问题，见下）").arg(summary);
        QTreeWidgetItem* top = NewItem(nullptr, name, summary, tr("%n 字节", nullptr, static_cast<int>(m_bytes[static_cast<std::size_t>(line.pdu)].size())),
                                       line.pdu, -1);
        ui->fieldTree->addTopLevelItem(top);
        AddFields(top, pdu.fields, line.pdu);
        for (const std::string& problem : pdu.problems) {
            QTreeWidgetItem* item = NewItem(top, tr("问题"), Utf8(problem), QString(), line.pdu, -1);
            item->setForeground(1, QBrush(QColor(255, 0, 0)));
        }
        top->setExpanded(true);
    }

    // Joined messages, when some PDU is part of one.
    for (std::size_t m = 0; m < m_messages.size(); ++m) {
        const SmsMessage& message = m_messages[m];
        if (!message.concatenation)
            continue;
        QString summary = tr("%1，共 %n 部分", nullptr, static_cast<int>(message.parts.size())).arg(Utf8(SmsMessageTypeName(message.type)));
        if (!message.address.empty())
            summary = tr("%1，%2").arg(summary, Utf8(message.address));
        if (!message.missing.empty())
            summary = tr("%1，缺 %n 部分", nullptr, static_cast<int>(message.missing.size())).arg(summary);
        QTreeWidgetItem* top = NewItem(nullptr, tr("拼接后的消息 %1").arg(m + 1), summary, QString(), -1, static_cast<int>(m));
        ui->fieldTree->addTopLevelItem(top);
        for (std::size_t k = 0; k < message.parts.size(); ++k) {
            const QString where = message.parts[k] ? Utf8(names[*message.parts[k]]) : tr("缺失");
            QTreeWidgetItem* part = NewItem(top, tr("第 %1 部分").arg(k + 1), where, QString(),
                                            message.parts[k] ? static_cast<int>(*message.parts[k]) : -1, static_cast<int>(m));
            if (!message.parts[k])
                part->setForeground(1, QBrush(QColor(255, 0, 0)));
        }
        NewItem(top, Utf8(SmsFieldName(SmsFieldId::Text)), Utf8(message.text), QString(), -1, static_cast<int>(m));
        top->setExpanded(true);
    }
    if (ui->fieldTree->topLevelItemCount() > 0)
        ui->fieldTree->setCurrentItem(ui->fieldTree->topLevelItem(0));
}

void CSmsDetailDialog::AddFields(QTreeWidgetItem* parent, const std::vector<SmsField>& fields, int pdu)
{
    for (const SmsField& field : fields) {
        QString bytes;
        if (field.state == SmsFieldState::Missing)
            bytes = tr("缺失");
        else if (field.length == 1)
            bytes = QString::number(field.offset + 1);
        else if (field.length > 1)
            bytes = tr("%1–%2").arg(field.offset + 1).arg(field.offset + field.length);
        QTreeWidgetItem* item = NewItem(parent, Utf8(SmsFieldName(field.id)), Utf8(field.text), bytes, pdu, -1);
        item->setData(0, ROLE_OFFSET, static_cast<int>(field.offset));
        item->setData(0, ROLE_LENGTH, field.state == SmsFieldState::Missing ? 0 : static_cast<int>(field.length));
        if (field.state != SmsFieldState::Decoded)
            item->setForeground(2, QBrush(QColor(255, 0, 0)));
        AddFields(item, field.children, pdu);
    }
}

// The selected item's PDU in the hex view with the item's bytes marked; the text of its PDU or of
// its joined message below.
void CSmsDetailDialog::ShowSelection()
{
    const QTreeWidgetItem* item = ui->fieldTree->currentItem();
    const int pdu = item ? item->data(0, ROLE_PDU).toInt() : -1;
    const int message = item ? item->data(0, ROLE_MESSAGE).toInt() : -1;
    if (pdu != m_shownPdu) {
        m_shownPdu = pdu;
        ui->hexView->setPlainText(pdu >= 0 ? Utf8(FormatHexValue(m_bytes[static_cast<std::size_t>(pdu)])) : QString());
    }
    if (message >= 0)
        ui->textView->setPlainText(Utf8(m_messages[static_cast<std::size_t>(message)].text));
    else
        ui->textView->setPlainText(pdu >= 0 ? Utf8(m_pdus[static_cast<std::size_t>(pdu)].text) : QString());

    QList<QTextEdit::ExtraSelection> marks;
    const int offset = item ? item->data(0, ROLE_OFFSET).toInt() : 0;
    const int length = item ? item->data(0, ROLE_LENGTH).toInt() : 0;
    if (pdu >= 0 && length > 0) {
        // Three characters a byte ("07 "), the last byte without its blank.
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(ui->hexView->document());
        mark.cursor.setPosition(3 * offset);
        mark.cursor.setPosition(3 * (offset + length) - 1, QTextCursor::KeepAnchor);
        mark.format.setBackground(palette().color(QPalette::Active, QPalette::Highlight));
        mark.format.setForeground(palette().color(QPalette::Active, QPalette::HighlightedText));
        marks.append(mark);
        QTextCursor visible(ui->hexView->document());
        visible.setPosition(3 * offset);
        ui->hexView->setTextCursor(visible);
        ui->hexView->ensureCursorVisible();
    }
    ui->hexView->setExtraSelections(marks);
}
