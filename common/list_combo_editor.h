#pragma once
// The drop-down of the editable report list: a list of the parent's entries over one cell, and
// the delegate that places it there.

#include <QComboBox>
#include "common/list_cell_delegate.h"
#include "common/list_cell_editor.h"

class CListComboEditor : public QComboBox, public CListCellEditor {
    Q_OBJECT
public:
    /// The drop-down ever shows this many entries at a time.
    static constexpr int MAX_VISIBLE_ENTRIES = 10;

    // Preselects the first entry that begins with `text`, case ignored; an empty text or no
    // match selects nothing. Ends on Enter, Escape, the popup list closing or the loss of focus.
    CListComboEditor(const QString& text, const QStringList& choices, QWidget* parent);
    ~CListComboEditor() override;

protected:
    /// The selected entry, empty when none is selected.
    QString ChosenText() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_popup;
};

class CListComboDelegate : public CListCellDelegate {
    Q_OBJECT
public:
    using CListCellDelegate::CListCellDelegate;

    /// The entries of the next editor this delegate creates, in the parent's order.
    void SetChoices(const QStringList& choices) { m_choices = choices; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    QStringList m_choices;
};
