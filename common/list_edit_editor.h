#pragma once
// The edit box of the editable report list: a borderless line over one cell, and the delegate
// that places it there.

#include <QLineEdit>
#include "common/list_cell_delegate.h"
#include "common/list_cell_editor.h"

class CListEditEditor : public QLineEdit, public CListCellEditor {
    Q_OBJECT
public:
    // Opens on `text` with all of it selected; `allowed` empty lets every character through.
    // Ends on Enter, Escape or the loss of focus.
    CListEditEditor(const QString& text, const QString& allowed, QWidget* parent);

protected:
    /// What was typed.
    QString ChosenText() const override { return text(); }
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Refuses(const QKeyEvent* event) const;

    QString m_allowed;
};

class CListEditDelegate : public CListCellDelegate {
    Q_OBJECT
public:
    using CListCellDelegate::CListCellDelegate;

    /// The allowed characters handed to the next editor this delegate creates.
    void SetAllowedCharacters(const QString& characters) { m_allowed = characters; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    QString m_allowed;
};
