#include "common/editable_list_ctrl.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "common/list_combo_editor.h"
#include "common/list_edit_editor.h"
#include "common/report_view.h"

namespace {

bool Contains(const std::vector<int>& set, int value)
{
    return std::find(set.begin(), set.end(), value) != set.end();
}

void Include(std::vector<int>& set, int value, bool include)
{
    const auto found = std::find(set.begin(), set.end(), value);
    if (include && found == set.end())
        set.push_back(value);
    else if (!include && found != set.end())
        set.erase(found);
}

} // namespace

CEditableListCtrl::CEditableListCtrl(QWidget* parent)
    : QTableWidget(parent)
    , m_comboDelegate(new CListComboDelegate(this))
    , m_editDelegate(new CListEditDelegate(this))
{
    // A report list: no row headers or grid, one line per cell, Tab leaves the list, and the
    // header only labels. Editing starts from a press alone (see mousePressEvent).
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollMode(ScrollPerPixel);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    // A cell too narrow for its text shows its start and end, the whole text as tool tip.
    setTextElideMode(Qt::ElideMiddle);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // Widths and heights are the owner's, down to 0, not the style's minimum.
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
    // The view wires only the delegates set on it; these two answer through itemDelegateForIndex.
    for (CListCellDelegate* delegate : {static_cast<CListCellDelegate*>(m_comboDelegate),
                                        static_cast<CListCellDelegate*>(m_editDelegate)}) {
        connect(delegate, &QAbstractItemDelegate::commitData, this, &CEditableListCtrl::commitData);
        connect(delegate, &QAbstractItemDelegate::closeEditor, this, &CEditableListCtrl::closeEditor);
        // The end-label-edit notice: the cell has the editor's text, now the owner hears of it.
        connect(delegate, &CListCellDelegate::CellWritten, this, [this](const QModelIndex& index, const QString& text) {
            emit WM_LISTEDIT_ENDEDIT(index.row(), index.column(), text);
        });
    }
}

void CEditableListCtrl::SetPerCellEditing(bool perCell)
{
    m_perCell = perCell;
}

void CEditableListCtrl::SetCellEditor(int row, int column, CellEditorKind kind)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (!item(row, column))
        SetCellText(row, column, QString());
    QTableWidgetItem* cell = item(row, column);
    if (!cell->data(EDITOR_KIND_ROLE).isValid())
        cell->setData(EDITOR_KIND_ROLE, static_cast<int>(kind));
}

void CEditableListCtrl::SetReadOnlyColumn(int column, bool readOnly)
{
    Include(m_readOnlyColumns, column, readOnly);
}

void CEditableListCtrl::SetComboColumn(int column, bool combo)
{
    Include(m_comboColumns, column, combo);
}

void CEditableListCtrl::SetAllowedCharacters(int column, const QString& characters)
{
    if (column >= 0 && column < MAX_CHARACTER_COLUMNS)
        m_allowedCharacters[static_cast<std::size_t>(column)] = characters;
}

QString CEditableListCtrl::AllowedCharacters(int column) const
{
    if (column < 0 || column >= MAX_CHARACTER_COLUMNS)
        return {};
    return m_allowedCharacters[static_cast<std::size_t>(column)];
}

CellEditorKind CEditableListCtrl::EditorFor(int row, int column) const
{
    if (Contains(m_readOnlyColumns, column))
        return CellEditorKind::None;
    if (m_perCell) {
        const QTableWidgetItem* cell = item(row, column);
        const QVariant kind = cell ? cell->data(EDITOR_KIND_ROLE) : QVariant();
        return kind.isValid() ? static_cast<CellEditorKind>(kind.toInt()) : CellEditorKind::None;
    }
    return Contains(m_comboColumns, column) ? CellEditorKind::Combo : CellEditorKind::Edit;
}

void CEditableListCtrl::InsertColumn(int column, const QString& header, Qt::Alignment alignment, int width)
{
    column = std::clamp(column, 0, columnCount());
    insertColumn(column);
    if (!(alignment & Qt::AlignVertical_Mask))
        alignment |= Qt::AlignVCenter;
    auto* headerItem = new QTableWidgetItem(header);
    headerItem->setTextAlignment(alignment);
    setHorizontalHeaderItem(column, headerItem);
    setColumnWidth(column, std::max(width, 0));
}

Qt::Alignment CEditableListCtrl::ColumnAlignment(int column) const
{
    // The header item holds the column's alignment, so it moves with the column.
    const QTableWidgetItem* headerItem = horizontalHeaderItem(column);
    const int alignment = headerItem ? headerItem->textAlignment() : 0;
    return alignment ? Qt::Alignment::fromInt(alignment) : (Qt::AlignLeft | Qt::AlignVCenter);
}

QString CEditableListCtrl::CellText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CEditableListCtrl::SetCellText(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setText(text);
        return;
    }
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(ColumnAlignment(column));
    setItem(row, column, cell);
}

int CEditableListCtrl::FirstSelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (first < 0 || range.top() < first)
            first = range.top();
    }
    return first;
}

QWidget* CEditableListCtrl::ActiveEditor() const
{
    return m_activeEditor;
}

CEditableListCtrl::CellHit CEditableListCtrl::CellAt(const QPoint& pos) const
{
    const int row = rowAt(pos.y());
    if (row < 0)
        return {};
    // The row's rectangle spans the columns; within it the first column whose span contains x,
    // both edges included, is hit.
    const QHeaderView* header = horizontalHeader();
    int left = -horizontalOffset();
    if (pos.x() < left || pos.x() >= left + header->length())
        return {};
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column))
            continue;
        const int width = header->sectionSize(column);
        if (pos.x() >= left && pos.x() <= left + width)
            return {row, column};
        left += width;
    }
    return {};
}

void CEditableListCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTableWidget::mousePressEvent(event);
        return;
    }
    const CellHit hit = CellAt(event->position().toPoint());
    if (hit.row < 0 || hit.column < 0) {
        event->accept();  // no cell: the selection stays as it is
        return;
    }
    QTableWidget::mousePressEvent(event);
    const bool onlySelects = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (!onlySelects && selectionModel()
        && (selectionMode() == ExtendedSelection || selectionMode() == ContiguousSelection)) {
        // A plain press on a row of a larger selection narrows it now, not at the release, so
        // the owner reads the final selection from CellPressed.
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
        if (selectionBehavior() == SelectRows)
            flags |= QItemSelectionModel::Rows;
        else if (selectionBehavior() == SelectColumns)
            flags |= QItemSelectionModel::Columns;
        selectionModel()->select(model()->index(hit.row, hit.column), flags);
    }
    emit CellPressed(hit.row, hit.column);
    if (onlySelects)
        return;
    // The owner may have changed the rows; an editor opens only on the row the press made current.
    if (hit.row >= rowCount() || hit.column >= columnCount() || currentRow() != hit.row)
        return;
    OpenEditorAt(hit.row, hit.column);
}

bool CEditableListCtrl::OpenEditorAt(int row, int column)
{
    switch (EditorFor(row, column)) {
    case CellEditorKind::Combo:
        OpenCombo(row, column);
        return true;
    case CellEditorKind::Edit:
        OpenEdit(row, column);
        return true;
    default:
        return false;
    }
}

void CEditableListCtrl::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_activeEditor) {
        // The open editor takes the key and ends its edit; the dialog does not see it.
        QWidget* editor = m_activeEditor;
        QKeyEvent forwarded(event->type(), event->key(), event->modifiers(), event->text());
        QCoreApplication::sendEvent(editor, &forwarded);
        event->accept();
        return;
    }
    // F2 or Enter on a cell opens its editor, as a click on it does.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((enter || event->key() == Qt::Key_F2) && plain && !m_activeEditor && currentIndex().isValid()
        && OpenEditorAt(currentIndex().row(), currentIndex().column())) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool CEditableListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && ShowWholeCellText(this, static_cast<QHelpEvent*>(event)))
        return true;
    return QTableWidget::viewportEvent(event);
}

bool CEditableListCtrl::eventFilter(QObject* watched, QEvent* event)
{
    // A press on a scroll bar gives the list the focus first, which ends an open edit.
    if (event->type() == QEvent::MouseButtonPress
        && (watched == horizontalScrollBar() || watched == verticalScrollBar()))
        setFocus(Qt::MouseFocusReason);
    return QTableWidget::eventFilter(watched, event);
}

bool CEditableListCtrl::edit(const QModelIndex&, EditTrigger, QEvent*)
{
    return false;
}

QAbstractItemDelegate* CEditableListCtrl::itemDelegateForIndex(const QModelIndex& index) const
{
    if (m_activeDelegate && m_activeIndex.isValid() && index == m_activeIndex)
        return m_activeDelegate;
    return QTableWidget::itemDelegateForIndex(index);
}

bool CEditableListCtrl::MakeRowVisible(int row, int column)
{
    if (isRowHidden(row))
        return false;
    const auto partlyVisible = [&] {
        const int top = rowViewportPosition(row);
        return rowHeight(row) > 0 && top + rowHeight(row) > 0 && top < viewport()->height();
    };
    if (!partlyVisible()) {
        // Vertically only: the column is brought into view by its own rule afterwards.
        const int horizontal = horizontalScrollBar()->value();
        scrollTo(model()->index(row, column), EnsureVisible);
        horizontalScrollBar()->setValue(horizontal);
    }
    return partlyVisible();
}

void CEditableListCtrl::ScrollColumnIntoView(int column)
{
    const int x = columnViewportPosition(column);  // negative when scrolled past its left edge
    const int width = columnWidth(column);
    const int right = viewport()->width();
    int scroll = 0;
    if (x >= 0 && x <= right)
        scroll = x + width > right ? x + width - right : 0;
    else
        scroll = x;
    if (scroll != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + scroll);
}

void CEditableListCtrl::OpenCombo(int row, int column)
{
    QStringList choices;
    emit WM_LISTEDIT_FILLCHOICES(column, &choices);
    // A drop-down that cannot be placed stays shut, and no edit box opens instead.
    if (row >= rowCount() || column >= columnCount() || !MakeRowVisible(row, column)
        || columnWidth(column) < MIN_COMBO_WIDTH)
        return;
    ScrollColumnIntoView(column);
    m_comboDelegate->SetChoices(choices);
    OpenEditor(m_comboDelegate, row, column);
}

void CEditableListCtrl::OpenEdit(int row, int column)
{
    ScrollColumnIntoView(column);
    m_editDelegate->SetAllowedCharacters(AllowedCharacters(column));
    OpenEditor(m_editDelegate, row, column);
}

bool CEditableListCtrl::OpenEditor(CListCellDelegate* delegate, int row, int column)
{
    // The delegate writes into the cell's item; made here, it takes its column's alignment.
    if (!item(row, column))
        SetCellText(row, column, QString());
    const QModelIndex index = model()->index(row, column);
    m_activeDelegate = delegate;
    m_activeIndex = index;
    if (!QTableWidget::edit(index, AllEditTriggers, nullptr)) {
        m_activeDelegate = nullptr;
        m_activeIndex = QPersistentModelIndex();
        return false;
    }
    m_activeEditor = indexWidget(index);
    return true;
}

void CEditableListCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!editor || editor != m_activeEditor) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    // The drop-down names its cell; the edit box names 0 and 0.
    int row = 0;
    int column = 0;
    if (m_activeDelegate == m_comboDelegate) {
        row = m_activeIndex.row();
        column = m_activeIndex.column();
    }
    QTableWidget::closeEditor(editor, hint);
    m_activeEditor = nullptr;
    m_activeDelegate = nullptr;
    m_activeIndex = QPersistentModelIndex();
    emit WM_LISTEDIT_CLOSED(row, column);
}
