#pragma once
// "多帧识别": which checksum a log's frames carry. The identification runs on a worker; the
// dialog shows its progress, the ranked rules, and marks a selected rule in a frame.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "identify/checksum_identify.h"
#include "identify/identify_log.h"

namespace Ui {
class CIdentifyDialog;
}
class CIdentifyAnalysis;

class CIdentifyDialog : public QDialog {
    Q_OBJECT
public:
    explicit CIdentifyDialog(QWidget* parent = nullptr);
    /// Cancels and joins a running identification.
    ~CIdentifyDialog() override;

    /// Appends a frame to the log as a line of hex pairs.
    void AddFrame(std::span<const std::uint8_t> frame);
    /// Replaces the log with the text of a file; false (and a message) when it cannot be read.
    bool LoadFile(const QString& path);
    bool Running() const { return m_analysis != nullptr; }
    const IdentifyReport& Report() const { return m_report; }

signals:
    // The identification has ended and its rules are shown (also after "停止").
    void Finished();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnOpen();
    void OnIdentify();
    void OnStop();
    void OnNotice();
    void ShowReport();
    void ShowFrame();
    // The information line shows `text()`, again after a language change.
    void ShowInfo(std::function<QString()> text, bool error);
    QString RefusalsText() const;
    QString ReportStatus() const;
    void UpdateButtons();
    const IdentifiedRule* SelectedRule() const;

    std::unique_ptr<Ui::CIdentifyDialog> ui;
    std::vector<IdentifyFrame> m_frames;  // those of the last identification
    IdentifyReport m_report;
    std::vector<IdentifyLogRefusal> m_refused;  // the log's refused lines, shown with the result
    bool m_reportShown = false;                 // the list shows m_report
    std::unique_ptr<CIdentifyAnalysis> m_analysis;
};
