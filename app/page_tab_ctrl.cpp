#include "app/page_tab_ctrl.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "common/follow_layout.h"
#include "common/page.h"

namespace {

// The program's style, with the host's own look: the tabs start 2 px inside the control and
// the frame 1 px below them, as on Windows, and the tabs are drawn as on a plain tab bar (the
// selected one shaded), not merged into the frame.
class CPageTabStyle : public QProxyStyle {
public:
    CPageTabStyle()
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
    }

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        const QRect r = QProxyStyle::subElementRect(element, option, widget);
        switch (element) {
        case SE_TabWidgetTabBar:
            return r.translated(TAB_STRIP_LEFT, 0);
        case SE_TabWidgetTabPane:
        case SE_TabWidgetTabContents:
            return r.adjusted(0, 1, 0, 0);
        default:
            return r;
        }
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
            QStyleOptionTab plain(*tab);
            plain.features &= ~QStyleOptionTab::HasFrame;
            QProxyStyle::drawControl(element, &plain, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    static constexpr int TAB_STRIP_LEFT = 2;
};

} // namespace

CPageTabCtrl::CPageTabCtrl(QWidget* parent)
    : QTabWidget(parent)
{
    auto* style = new CPageTabStyle;
    style->setParent(this);  // after the tab bar, which is destroyed first
    setStyle(style);
    tabBar()->setStyle(style);
    tabBar()->setObjectName(QStringLiteral("pageTabBar"));
    tabBar()->setExpanding(false);
    setUsesScrollButtons(false);
}

void CPageTabCtrl::AddPage(const QString& caption, CPage* page)
{
    page->OnInitPage();
    addTab(page, caption);
}

void CPageTabCtrl::InitPages()
{
    // A hidden tab widget places its pages only when shown; the style says where they will stand.
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    const QSize described = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).size();
    for (int i = 0; i < count(); ++i)
        Page(i)->Layout()->SetBaseSize(described);
}

CPage* CPageTabCtrl::Page(int index) const
{
    return static_cast<CPage*>(widget(index));
}

int CPageTabCtrl::SelectPage(int index)
{
    if (index < 0 || index >= count())
        return -1;
    const int previous = currentIndex();
    setCurrentIndex(index);
    return previous;
}
