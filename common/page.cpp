#include "common/page.h"

#include <QKeyEvent>

CPage::CPage(int templateId, QWidget* parent)
    : QWidget(parent)
    , m_templateId(templateId)
{
}

void CPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
