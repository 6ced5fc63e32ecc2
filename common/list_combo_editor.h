#pragma once
// The drop-down of the editable report list: a list of the parent's entries over one cell, and
// the delegate that places it there.

#include <QComboBox>
#include "common/list_cell_delegate.h"

class CListComboEditor : public QComboBox {
    Q_OBJECT
public:
    /// The drop-down ever shows this many entries at a time.
    static constexpr int MAX_VISIBLE_ENTRIES = 10;

    // Preselects the first entry that begins with `text`, case ignored; an empty text or no
    // match selects nothing.
    CListComboEditor(int row, int column, const QString& text, const QStringList& choices, QWidget* parent);
    ~CListComboEditor() override;

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    QString StartText() const { return m_startText; }
    /// The text the cell receives: the starting text after Escape, otherwise the selected entry
    /// (empty when none is selected).
    QString EndText() const;
    /// The list dropped this editor; it must not finish any more.
    void Discard() { m_finished = true; }

signals:
    // Once per edit: Enter, Escape, the popup list closing or the loss of focus.
    void Finished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish();

    int m_row;
    int m_column;
    QString m_startText;
    bool m_cancelled = false;
    bool m_finished = false;
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
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

private:
    QStringList m_choices;
};
