#include "app/page_tab_ctrl.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

#include "common/follow_layout.h"
#include "common/page.h"

namespace {
constexpr int TAB_STRIP_LEFT = 2;  // the first tab starts 2 px inside the control, as on Windows
}

CPageTabCtrl::CPageTabCtrl(QWidget* parent)
    : QWidget(parent)
    , m_tabBar(new QTabBar(this))
{
    m_tabBar->setObjectName(QStringLiteral("pageTabBar"));
    m_tabBar->setDrawBase(false);
    m_tabBar->setExpanding(false);
    m_tabBar->setUsesScrollButtons(false);
    // A press on another tab moves the tab bar's selection; the page follows here. A press on the
    // selected tab or on the empty strip changes no selection and so changes nothing.
    connect(m_tabBar, &QTabBar::currentChanged, this, &CPageTabCtrl::OnTabChanged);
}

bool CPageTabCtrl::AddPage(const QString& caption, CPage* page, int templateId)
{
    if (m_nPageCount >= MAX_PAGES)
        return false;
    m_captions[m_nPageCount] = caption;
    m_pages[m_nPageCount] = page;
    m_templateIds[m_nPageCount] = templateId;
    ++m_nPageCount;
    return true;
}

void CPageTabCtrl::SetPageCaption(int index, const QString& caption)
{
    if (index < 0 || index >= m_nPageCount)
        return;
    m_captions[index] = caption;
    if (index < m_tabBar->count())
        m_tabBar->setTabText(index, caption);
}

CPage* CPageTabCtrl::Page(int index) const
{
    return index >= 0 && index < m_nPageCount ? m_pages[index] : nullptr;
}

void CPageTabCtrl::InitPages()
{
    const QSignalBlocker blocker(m_tabBar);
    for (int i = 0; i < m_nPageCount; ++i) {
        m_pages[i]->setParent(this);
        m_pages[i]->OnInitPage();
        m_tabBar->addTab(m_captions[i]);
    }
    LayoutPages();
    // The host's size now is the described one: there each page's controls stand as in its form.
    for (int i = 0; i < m_nPageCount; ++i)
        m_pages[i]->Layout()->SetBaseSize(m_pages[i]->size());
}

void CPageTabCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_tabBar->count() > 0)
        LayoutPages();
}

void CPageTabCtrl::LayoutPages()
{
    m_tabBar->setGeometry(TAB_STRIP_LEFT, 0, width() - TAB_STRIP_LEFT, m_tabBar->sizeHint().height());
    const QRect t = m_tabBar->tabRect(0).translated(m_tabBar->pos());
    // Edges as exclusive coordinates: the page starts just below tab 0 and stops 2 px inside the
    // right and bottom edges of the control.
    const int right = width();
    const int bottom = height();
    const int tabBottom = t.y() + t.height();
    const QRect page(t.left(), tabBottom + 1, right - t.left() - 2, bottom - tabBottom - 3);
    for (int i = 0; i < m_nPageCount; ++i) {
        m_pages[i]->setGeometry(page);
        m_pages[i]->raise();
        m_pages[i]->setVisible(i == m_nCurrentPage);
    }
}

int CPageTabCtrl::SelectPage(int index)
{
    if (index < 0 || index >= m_nPageCount)
        return -1;
    const int previous = m_nCurrentPage;
    if (index != previous) {
        m_pages[previous]->hide();
        m_nCurrentPage = index;
        m_pages[index]->show();
        m_tabBar->setCurrentIndex(index);  // OnTabChanged then sees the page already current
    }
    return previous;
}

void CPageTabCtrl::OnTabChanged(int index)
{
    if (index < 0 || index >= m_nPageCount || index == m_nCurrentPage)
        return;
    m_pages[m_nCurrentPage]->hide();
    m_nCurrentPage = index;
    m_pages[index]->show();
}

void CPageTabCtrl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int top = m_tabBar->geometry().bottom() + 1;
    frame.rect = QRect(0, top - 1, width(), height() - top + 1);
    frame.tabBarSize = m_tabBar->size();
    frame.tabBarRect = m_tabBar->geometry();
    frame.selectedTabRect = m_tabBar->tabRect(m_tabBar->currentIndex()).translated(m_tabBar->pos());
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}
