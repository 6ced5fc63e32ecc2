#include "checksum/checksum_result_model.h"

#include "checksum/checksum_columns.h"

namespace {

// Titles and texts are the core's; how the list shows them is the page's.
struct ColumnInfo {
    Qt::Alignment alignment;
    int width;
};

const ColumnInfo COLUMNS[CChecksumResultModel::COLUMN_COUNT] = {
    {Qt::AlignLeft | Qt::AlignVCenter, 45},
    {Qt::AlignCenter, 70},
    {Qt::AlignCenter, 55},
    {Qt::AlignCenter, 55},
    {Qt::AlignCenter, 45},
    {Qt::AlignCenter, 60},
    {Qt::AlignLeft | Qt::AlignVCenter, 300},
};
static_assert(std::size(COLUMNS) == CHECKSUM_COLUMN_COUNT);

} // namespace

CChecksumResultModel::CChecksumResultModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void CChecksumResultModel::Reset(std::span<const std::uint8_t> frame)
{
    beginResetModel();
    m_frame.assign(frame.begin(), frame.end());
    std::deque<ChecksumMatch>().swap(m_rows);  // clear() would keep the blocks of a large list
    endResetModel();
}

void CChecksumResultModel::AppendRows(std::span<const ChecksumMatch> rows)
{
    if (rows.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
    endInsertRows();
}

QString CChecksumResultModel::ContentText(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return QString::fromLatin1(FormatMatchContent(Match(row), m_frame));
}

int CChecksumResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CChecksumResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant CChecksumResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= COLUMN_COUNT)
        return {};
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(COLUMNS[index.column()].alignment);
    if (role != Qt::DisplayRole)
        return {};

    // The number is the row itself, so it never wraps.
    const auto column = static_cast<ChecksumColumn>(index.column());
    return QString::fromLatin1(ChecksumCellText(column, Match(index.row()), std::uint64_t(index.row()) + 1, m_frame));
}

QVariant CChecksumResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= COLUMN_COUNT)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(ChecksumColumnTitle(static_cast<ChecksumColumn>(section)));
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(COLUMNS[section].alignment);
    return {};
}

int CChecksumResultModel::ColumnWidth(int column)
{
    return column >= 0 && column < COLUMN_COUNT ? COLUMNS[column].width : 0;
}
