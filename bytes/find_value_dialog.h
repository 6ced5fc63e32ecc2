#pragma once
// "查找数值": where in the frame a known reading stands, refreshed as the user types.

#include <QDialog>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "bytes/value_finder.h"

namespace Ui {
class CFindValueDialog;
}

class CFindValueDialog : public QDialog {
    Q_OBJECT
public:
    /// Searches a copy of `frame`, which must not be empty.
    explicit CFindValueDialog(std::span<const std::uint8_t> frame, QWidget* parent = nullptr);
    ~CFindValueDialog() override;

    const std::vector<ValueHit>& Hits() const { return m_hits; }

signals:
    // A hit was selected: its bytes, from the first (0-based), are to be marked in the frame.
    void HitSelected(int firstByte, int byteCount);
    // "应用": the hit's type is to read with the hit's byte order.
    void ApplyRequested(VariableType type, int order);

private:
    void Refresh();
    void OnSelectionChanged();
    void OnApply();
    void OnCopy(int row);
    const ValueHit* SelectedHit() const;
    void ShowInfo(const QString& text, bool error);

    std::unique_ptr<Ui::CFindValueDialog> ui;
    std::vector<std::uint8_t> m_frame;
    std::vector<ValueHit> m_hits;
};
