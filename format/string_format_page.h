#pragma once
// The "串格式化" tab: one hex frame shown as ASCII, UNICODE, decimal, BCD, 3X3X and a decoded SMS PDU,
// with the selection of the hex box and of the ASCII view mirrored into each other.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "common/hex_text.h"
#include "common/page.h"
#include "format/hex_views.h"
#include "format/pdu_decoder.h"

class CHexInput;
class QPlainTextEdit;

namespace Ui {
class CStringFormatPage;
}

class CStringFormatPage : public CPage {
    Q_OBJECT
public:
    explicit CStringFormatPage(QWidget* parent = nullptr);
    ~CStringFormatPage() override;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RecomputeViews(HexParseResult result, std::size_t count);
    void ClearViews();
    void OnByteOrderClicked(UnicodeByteOrder order);
    void OnPduDirectionClicked(PduDirection direction);
    void OnPduDetail();
    void MirrorHexToAscii();
    void MirrorAsciiToHex();
    std::string PduText() const;

    std::unique_ptr<Ui::CStringFormatPage> ui;
    std::array<std::uint8_t, MAX_HEX_BYTES> m_frame{};
    std::uint16_t m_frameLength = 0;
    UnicodeByteOrder m_byteOrder = UnicodeByteOrder::HighFirst;
    PduDirection m_pduDirection = PduDirection::Send;
    CHexInput* m_hexInput = nullptr;
    // Only the box that last took the focus leads, so a mirrored selection never mirrors back.
    enum class MirrorFrom : std::uint8_t { Nowhere, Hex, Ascii };
    MirrorFrom m_mirrorFrom = MirrorFrom::Nowhere;
};
