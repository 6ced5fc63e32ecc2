#pragma once
// The delegate of the editable report list's in-place editors: it stands an editor on its cell,
// and when the editor ends (Enter, Escape, the loss of focus) writes its text into the cell and
// closes it. Each kind of editor has a delegate of its own that makes it.

#include <QStyledItemDelegate>

class CListCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

signals:
    // After setModelData has written an editor's end text into its cell.
    void CellWritten(const QModelIndex& index, const QString& text) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    /// A new editor of the list: named after its column's header (for screen readers and tests),
    /// its end commits its text and closes it.
    void Adopt(QWidget* editor, const QModelIndex& index) const;
};
