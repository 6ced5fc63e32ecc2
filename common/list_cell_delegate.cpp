#include "common/list_cell_delegate.h"

#include <QPointer>

#include "common/list_cell_editor.h"

void CListCellDelegate::setEditorData(QWidget*, const QModelIndex&) const
{
    // The editor keeps the text it opened with; the cell changes only when the edit ends.
}

void CListCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    const CListCellEditor* cell = CListCellEditor::Of(editor);
    if (!cell)
        return;
    // Also after Escape: the cell gets the starting text back, and the owner hears of it.
    const QString text = cell->EndText();
    model->setData(index, text, Qt::EditRole);
    emit CellWritten(index, text);
}

void CListCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void CListCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (CListCellEditor* cell = CListCellEditor::Of(editor))
        cell->Discard();
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool CListCellDelegate::eventFilter(QObject*, QEvent*)
{
    // The editor handles Enter, Escape and the loss of focus itself (each ends the edit with a
    // write); the stock filter would close on Escape without one.
    return false;
}

void CListCellDelegate::Adopt(QWidget* editor, const QModelIndex& index) const
{
    editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    // The editor may end while the list is being destroyed, after this delegate has gone.
    const QPointer<CListCellDelegate> self(const_cast<CListCellDelegate*>(this));
    CListCellEditor::Of(editor)->OnFinished([self, editor] {
        if (!self)
            return;
        emit self->commitData(editor);
        emit self->closeEditor(editor);
    });
}
