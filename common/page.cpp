#include "common/page.h"

#include <QKeyEvent>

#include "common/follow_layout.h"

CPage::CPage(int templateId, QWidget* parent)
    : QWidget(parent)
    , m_templateId(templateId)
{
}

CFollowLayout* CPage::Layout()
{
    if (!m_layout)
        m_layout = new CFollowLayout(this);
    return m_layout;
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
