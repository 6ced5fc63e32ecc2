#include "checksum/checksum_result_model.h"

#include <QEvent>

#include "checksum/checksum_columns.h"
#include "checksum/checksum_sort.h"

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

CChecksumResultModel::~CChecksumResultModel() = default;

bool CChecksumResultModel::event(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        emit headerDataChanged(Qt::Horizontal, 0, COLUMN_COUNT - 1);
    return QAbstractTableModel::event(event);
}

void CChecksumResultModel::Reset(std::span<const std::uint8_t> frame)
{
    beginResetModel();
    m_frame.assign(frame.begin(), frame.end());
    std::deque<ChecksumMatch>().swap(m_rows);  // clear() would keep the blocks of a large list
    std::vector<std::uint32_t>().swap(m_order);
    m_sortedCount = 0;
    m_sortBy.reset();
    m_sortColumn = -1;
    endResetModel();
}

void CChecksumResultModel::AppendRows(std::span<const ChecksumMatch> rows)
{
    if (rows.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
    if (m_sortBy) {
        // Shown below the others for the moment, then moved to their places.
        for (std::size_t k = m_order.size(); k < m_rows.size(); ++k)
            m_order.push_back(static_cast<std::uint32_t>(k));
    }
    endInsertRows();
    if (m_sortBy)
        Reorder(m_sortedCount);
}

void CChecksumResultModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= COLUMN_COUNT)
        return;
    m_sortBy = std::make_unique<CChecksumRowOrder>(m_frame, static_cast<ChecksumColumn>(column), order == Qt::DescendingOrder);
    m_sortColumn = column;
    Reorder(0);
}

void CChecksumResultModel::Reorder(std::size_t keep)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The rows the view holds on to (selection, current row) by their appended row.
    const QModelIndexList held = persistentIndexList();
    std::vector<std::size_t> heldRows(static_cast<std::size_t>(held.size()));
    for (qsizetype k = 0; k < held.size(); ++k)
        heldRows[static_cast<std::size_t>(k)] = Appended(held[k].row());

    // Rows in order already stay; the ones shown below them are merged in.
    std::vector<std::uint32_t> order(m_order.begin(), m_order.begin() + static_cast<std::ptrdiff_t>(keep));
    SortChecksumRows(m_rows, m_rows.size(), *m_sortBy, order);
    m_order.swap(order);
    m_sortedCount = m_order.size();

    if (!held.isEmpty()) {
        std::vector<std::uint32_t> place(m_rows.size());
        for (std::size_t k = 0; k < m_order.size(); ++k)
            place[m_order[k]] = static_cast<std::uint32_t>(k);
        QModelIndexList moved;
        moved.reserve(held.size());
        for (qsizetype k = 0; k < held.size(); ++k)
            moved.append(index(static_cast<int>(place[heldRows[static_cast<std::size_t>(k)]]), held[k].column()));
        changePersistentIndexList(held, moved);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::string CChecksumResultModel::Table(TableText kind, const std::vector<int>* rows) const
{
    std::string text = ChecksumTitleLine(kind);
    const auto add = [&](int row) { text += ChecksumRowLine(Match(row), Number(row), m_frame, kind); };
    if (rows) {
        for (int row : *rows)
            if (row >= 0 && row < rowCount())
                add(row);
    } else {
        for (int row = 0; row < rowCount(); ++row)
            add(row);
    }
    return text;
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

    // The number is the row's place as it came, so it never wraps and stays with its row.
    const auto column = static_cast<ChecksumColumn>(index.column());
    return QString::fromLatin1(ChecksumCellText(column, Match(index.row()), Number(index.row()), m_frame));
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
