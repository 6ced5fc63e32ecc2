#pragma once
// What the two in-place editors of the editable report list share: an editor stands on its cell,
// keeps the text it opened with, and ends itself (Enter, Escape, the loss of focus), whereupon the
// delegate writes its text into the cell and closes it.

#include <QStyledItemDelegate>

class CListCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    /// A new editor is named after its column's header, for screen readers and tests.
    static void NameEditor(QWidget* editor, const QModelIndex& index);
    /// Connected to an editor's end: the cell gets the editor's text, then the editor closes.
    void CommitAndClose();
};
