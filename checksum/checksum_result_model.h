#pragma once
// The rows of one analysis for the result list: compact matches, cell texts made when asked for.

#include <QAbstractTableModel>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "checksum/checksum_search.h"

class CChecksumResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NUMBER, METHOD, START, END, LENGTH, CHECKSUM, CONTENT, COLUMN_COUNT };

    explicit CChecksumResultModel(QObject* parent = nullptr);

    /// Empties the list for a new analysis of `frame` (a copy is kept for the cell texts).
    void Reset(std::span<const std::uint8_t> frame);
    /// Appends rows below the last one, with one insertion notice for all of them.
    void AppendRows(std::span<const ChecksumMatch> rows);

    const ChecksumMatch& Match(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    /// The text of column 6: the checked bytes.
    QString ContentText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Width in pixels of each column.
    static int ColumnWidth(int column);

private:
    std::vector<std::uint8_t> m_frame;
    // A deque grows without copying and without doubling its memory: it can reach 500,000 rows.
    std::deque<ChecksumMatch> m_rows;
};
