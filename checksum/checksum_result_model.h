#pragma once
// The rows of one analysis for the result list: compact matches, cell texts made when asked for.
// The list shows them in the order they came until a column is sorted; each row keeps its number.

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "checksum/checksum_export.h"
#include "checksum/checksum_search.h"

class CChecksumRowOrder;

class CChecksumResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NUMBER, METHOD, START, END, LENGTH, CHECKSUM, CONTENT, COLUMN_COUNT };

    explicit CChecksumResultModel(QObject* parent = nullptr);
    ~CChecksumResultModel() override;

    /// Empties the list for a new analysis of `frame` (a copy is kept for the cell texts); the
    /// rows show in the order they come again.
    void Reset(std::span<const std::uint8_t> frame);
    /// Appends rows, with one insertion notice for all of them; in a sorted list they then move
    /// to their places.
    void AppendRows(std::span<const ChecksumMatch> rows);

    /// The match the list shows in `row`, and its number (its place as it came, from 1).
    const ChecksumMatch& Match(int row) const { return m_rows[Appended(row)]; }
    std::uint64_t Number(int row) const { return Appended(row) + 1; }
    /// The text of column 6: the checked bytes.
    QString ContentText(int row) const;
    /// The frame of the analysis.
    std::span<const std::uint8_t> Frame() const { return m_frame; }
    /// The column titles and the rows shown as `rows` (all rows for none), in the list's order.
    std::string Table(TableText kind, const std::vector<int>* rows = nullptr) const;

    /// The column the list is sorted by; -1 while it shows the rows as they came.
    int SortColumn() const { return m_sortColumn; }
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The titles are core's, in the language of the moment: a language change shows them again.
    bool event(QEvent* event) override;

    /// Width in pixels of each column.
    static int ColumnWidth(int column);

private:
    // The row as appended (its number - 1) that the list shows in `row`.
    std::size_t Appended(int row) const
    {
        return m_order.empty() ? static_cast<std::size_t>(row) : m_order[static_cast<std::size_t>(row)];
    }
    // Brings the list to the sorted order: the first `keep` places of m_order are in order
    // already, the rows appended after them are merged in.
    void Reorder(std::size_t keep);

    std::vector<std::uint8_t> m_frame;
    // A deque grows without copying and without doubling its memory: it can reach 500,000 rows.
    std::deque<ChecksumMatch> m_rows;
    // Sorted: the appended row shown at each place of the list; empty while in the order they came.
    std::vector<std::uint32_t> m_order;
    std::size_t m_sortedCount = 0;  // m_order's first entries that are in order
    std::unique_ptr<CChecksumRowOrder> m_sortBy;
    int m_sortColumn = -1;
};
