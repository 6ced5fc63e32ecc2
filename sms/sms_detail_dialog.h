#pragma once
// The complete decode of SMS PDUs in a window: the fields of each PDU in a tree, the bytes of the
// selected field marked in the PDU's hex, and the parts of a concatenated message joined. Opened
// from the string formatting page beside its own PDU view, which stays as it is.

#include <QDialog>
#include <cstdint>
#include <memory>
#include <vector>

#include "sms/sms_concat.h"
#include "sms/sms_pdu.h"

class QTreeWidgetItem;

namespace Ui {
class CSmsDetailDialog;
}

class CSmsDetailDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSmsDetailDialog(QWidget* parent = nullptr);
    ~CSmsDetailDialog() override;

    /// The PDUs to decode, one a line, as hex text; it stays editable, and every edit decodes again.
    void SetPduText(const QString& text);

private:
    void Decode();
    void AddFields(QTreeWidgetItem* parent, const std::vector<SmsField>& fields, int pdu);
    void ShowSelection();

    std::unique_ptr<Ui::CSmsDetailDialog> ui;
    std::vector<std::vector<std::uint8_t>> m_bytes;  // each decoded line's bytes
    std::vector<SmsPdu> m_pdus;
    std::vector<SmsMessage> m_messages;
    int m_shownPdu = -1;  // whose bytes the hex view holds
};
