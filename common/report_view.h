#pragma once
// A report list whose rows are selected whole: clicking a cell never scrolls the list sideways
// (the first columns stay in view), and a cell too narrow for its text shows it elided in the
// middle, the whole text as its tool tip.

#include <QTableView>

class QHelpEvent;

class CReportView : public QTableView {
    Q_OBJECT
public:
    explicit CReportView(QWidget* parent = nullptr);

    /// Brings the row of `index` into view, up or down only.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    bool viewportEvent(QEvent* event) override;
};

/// A tool tip with the whole text of the cell under a help event when the cell shows it cut;
/// false when the cell shows it whole (or there is no cell), and no tip is shown then.
bool ShowWholeCellText(QAbstractItemView* view, QHelpEvent* event);
