#include "checksum/checksum_result_model.h"

namespace {

struct ColumnInfo {
    const char* header;
    Qt::Alignment alignment;
    int width;
};

const ColumnInfo COLUMNS[CChecksumResultModel::COLUMN_COUNT] = {
    {"序号", Qt::AlignLeft | Qt::AlignVCenter, 45},
    {"校验方法", Qt::AlignCenter, 70},
    {"起始位", Qt::AlignCenter, 55},
    {"结束位", Qt::AlignCenter, 55},
    {"长度", Qt::AlignCenter, 45},
    {"校验码", Qt::AlignCenter, 60},
    {"校验内容", Qt::AlignLeft | Qt::AlignVCenter, 300},
};

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

    const ChecksumMatch& match = Match(index.row());
    switch (index.column()) {
    case NUMBER: return QString::number(index.row() + 1);  // never wraps: the row is the number
    case METHOD: return QString::fromLatin1(ChecksumMethodName(match.method));
    case START: return QString::number(match.start);
    case END: return QString::number(match.end);
    case LENGTH: return QString::number(match.end - match.start + 1);
    case CHECKSUM: return QString::fromLatin1(FormatChecksum(match.method, match.value));
    case CONTENT: return ContentText(index.row());
    }
    return {};
}

QVariant CChecksumResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= COLUMN_COUNT)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(COLUMNS[section].header);
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(COLUMNS[section].alignment);
    return {};
}

int CChecksumResultModel::ColumnWidth(int column)
{
    return column >= 0 && column < COLUMN_COUNT ? COLUMNS[column].width : 0;
}
