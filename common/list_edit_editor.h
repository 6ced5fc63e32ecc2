#pragma once
// The edit box of the editable report list: a borderless line over one cell, and the delegate
// that places it there.

#include <QLineEdit>
#include "common/list_cell_delegate.h"

class CListEditEditor : public QLineEdit {
    Q_OBJECT
public:
    // Opens on `text` with all of it selected; `allowed` empty lets every character through.
    CListEditEditor(int row, int column, const QString& text, const QString& allowed, QWidget* parent);

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    QString StartText() const { return m_startText; }
    /// The text the cell receives: the starting text after Escape, otherwise what was typed.
    QString EndText() const { return m_cancelled ? m_startText : text(); }
    /// The list dropped this editor; it must not finish any more.
    void Discard() { m_finished = true; }

signals:
    // Once per edit: Enter, Escape or the loss of focus.
    void Finished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Finish();
    bool Refuses(const QKeyEvent* event) const;

    int m_row;
    int m_column;
    QString m_startText;
    QString m_allowed;
    bool m_cancelled = false;
    bool m_finished = false;
};

class CListEditDelegate : public CListCellDelegate {
    Q_OBJECT
public:
    using CListCellDelegate::CListCellDelegate;

    /// The allowed characters handed to the next editor this delegate creates.
    void SetAllowedCharacters(const QString& characters) { m_allowed = characters; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

private:
    QString m_allowed;
};
