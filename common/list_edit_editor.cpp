#include "common/list_edit_editor.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

CListEditEditor::CListEditEditor(const QString& text, const QString& allowed, QWidget* parent)
    : QLineEdit(parent)
    , CListCellEditor(text)
    , m_allowed(allowed)
{
    setObjectName(QStringLiteral("listEditEditor"));
    setFrame(false);
    setText(text);
    selectAll();
}

void CListEditEditor::keyPressEvent(QKeyEvent* event)
{
    if (EndsOn(event))
        return;
    if (Refuses(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool CListEditEditor::Refuses(const QKeyEvent* event) const
{
    if (m_allowed.isEmpty())
        return false;
    // Only typed characters are filtered; editing keys and shortcuts (Backspace, copy, paste,
    // cut, undo) carry no printable text or a Ctrl modifier and always pass.
    const QString typed = event->text();
    if (typed.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    for (const QChar c : typed) {
        if (c.isPrint() && !m_allowed.contains(c))
            return true;
    }
    return false;
}

void CListEditEditor::inputMethodEvent(QInputMethodEvent* event)
{
    QString kept;
    for (const QChar c : event->commitString()) {
        if (m_allowed.isEmpty() || m_allowed.contains(c))
            kept.append(c);
    }
    if (kept == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void CListEditEditor::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The context menu borrows the focus and gives it back; every other loss ends the edit.
    if (event->reason() != Qt::PopupFocusReason)
        Finish();
}

QWidget* CListEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const
{
    auto* editor = new CListEditEditor(index.data(Qt::DisplayRole).toString(), m_allowed, parent);
    Adopt(editor, index);
    return editor;
}
