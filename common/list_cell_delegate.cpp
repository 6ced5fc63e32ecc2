#include "common/list_cell_delegate.h"

void CListCellDelegate::setEditorData(QWidget*, const QModelIndex&) const
{
    // The editor keeps the text it opened with; the cell changes only when the edit ends.
}

void CListCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

bool CListCellDelegate::eventFilter(QObject*, QEvent*)
{
    // The editor handles Enter, Escape and the loss of focus itself (each ends the edit with a
    // write); the stock filter would close on Escape without one.
    return false;
}

void CListCellDelegate::NameEditor(QWidget* editor, const QModelIndex& index)
{
    editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
}

void CListCellDelegate::CommitAndClose()
{
    auto* editor = qobject_cast<QWidget*>(sender());
    emit commitData(editor);
    emit closeEditor(editor);
}
