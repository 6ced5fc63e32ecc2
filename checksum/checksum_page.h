#pragma once
// The "校验分析" page: a frame, a method, and the list of every range followed by its checksum.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "checksum/checksum_search.h"
#include "common/hex_text.h"
#include "common/page.h"

namespace Ui {
class CChecksumPage;
}
class CChecksumAnalysis;
class CChecksumResultModel;
class CHexInput;

class CChecksumPage : public CPage {
    Q_OBJECT
public:
    explicit CChecksumPage(QWidget* parent = nullptr);
    /// Cancels and joins every worker still running.
    ~CChecksumPage() override;

    /// True from "校验分析" until the last worker of that analysis has ended and its rows are shown.
    bool Analysing() const { return m_analysis != nullptr; }

    /// The result list's context menu: copy the selected rows or all rows as tab-separated text
    /// with the column titles, or export them to a CSV file chosen in a file dialog.
    void CopyRows(bool all);
    void ExportRows();

signals:
    // Every row of the analysis is in the list (also after "停止分析").
    void AnalysisFinished();
    // "多帧识别…": identify the checksum from many frames, starting with this page's frame.
    void IdentifyRequested(const QByteArray& frame);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAnalyse();
    void OnStop();
    void OnCopyContent();
    void OnListMenu(const QPoint& pos);
    // Marks the selected row's checked range and its checksum bytes in the hex box.
    void MarkSelectedRow();
    int SelectedRow() const;
    std::vector<int> SelectedRows() const;
    void FitNumberColumn();
    void OnAnalysisNotice(std::uint64_t generation);
    void RetireAnalysis();
    void ShowProgress();

    std::unique_ptr<Ui::CChecksumPage> ui;
    std::array<std::uint8_t, MAX_HEX_BYTES> m_frame{};
    std::uint16_t m_frameLength = 0;
    CHexInput* m_hexInput;
    CChecksumResultModel* m_results;

    // The analysis the list shows; notices carry its generation so that those of an earlier
    // analysis never touch the list.
    std::unique_ptr<CChecksumAnalysis> m_analysis;
    std::uint64_t m_generation = 0;
    // Cancelled analyses whose workers have not yet said they ended; dropped when they have.
    std::vector<std::unique_ptr<CChecksumAnalysis>> m_retired;
    std::vector<ChecksumMatch> m_slice;  // the rows of one turn, kept for its capacity
    int m_numberWidth = 0;    // the number column's width as widened for long numbers; 0 if never
};
