#pragma once
// The "字节数据分析" page: a frame locked against editing, a region of it, and a list of typed
// variables decoded over that region under the byte order chosen for each type.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "bytes/variable_decoder.h"
#include "common/hex_text.h"
#include "common/page.h"

namespace Ui {
class CByteAnalysisPage;
}
class CHexInput;
class QButtonGroup;

class CByteAnalysisPage : public CPage {
    Q_OBJECT
public:
    explicit CByteAnalysisPage(QWidget* parent = nullptr);
    ~CByteAnalysisPage() override;

    /// The decode pass: reads the frame, the region, the byte orders and the list's type and
    /// length cells; writes the memory and value cells and the status line.
    void DecodeVariables();

    /// The region's ends as characters of the hex box, three a byte.
    int Head() const { return 3 * static_cast<int>(m_head); }
    int Tail() const { return 3 * static_cast<int>(m_tail); }
    bool Locked() const { return m_locked; }

protected:
    void changeEvent(QEvent* event) override;

private:
    enum class Move { HeadRight, HeadLeft, TailRight, TailLeft };

    void OnLock();
    void OnUnlock();
    void OnMove(Move move);
    void OnAddVariable();
    void OnRemoveVariable();
    void OnMoveVariable(int step);
    void OnConversion(bool math);
    void OnFindValue();
    void OnVariablePressed();
    void OnOptionClicked(ByteOrderGroup group);
    void OnEditorClosed(int row, int column);

    ByteOrderOptions ReadOptions() const;
    std::vector<VariableRow> ReadRows() const;
    int TextLength() const;
    void SelectBytes(std::int64_t first, std::int64_t end, bool withLastBlank);

    std::unique_ptr<Ui::CByteAnalysisPage> ui;
    std::array<std::uint8_t, MAX_HEX_BYTES> m_frame{};
    std::uint16_t m_frameLength = 0;
    std::size_t m_head = 0;  // the region [m_head, m_tail), in bytes
    std::size_t m_tail = 0;
    bool m_locked = false;
    CHexInput* m_hexInput = nullptr;
    std::array<QButtonGroup*, BYTE_ORDER_GROUP_COUNT> m_orderGroups{};
};
