#include "common/list_cell_editor.h"

#include <QKeyEvent>
#include <QWidget>

CListCellEditor::CListCellEditor(const QString& startText)
    : m_startText(startText)
{
}

CListCellEditor* CListCellEditor::Of(QWidget* widget)
{
    return dynamic_cast<CListCellEditor*>(widget);
}

void CListCellEditor::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_onFinished)
        m_onFinished();
}

bool CListCellEditor::EndsOn(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        Cancel();
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Finish();
        return true;
    default:
        return false;
    }
}
