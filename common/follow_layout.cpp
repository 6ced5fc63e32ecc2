#include "common/follow_layout.h"

#include <QEvent>
#include <QWidget>
#include <cmath>

CFollowLayout::CFollowLayout(QWidget* container)
    : QObject(container)
    , m_container(container)
{
    container->installEventFilter(this);
}

void CFollowLayout::SetBaseSize(const QSize& size)
{
    m_base = size;
    Apply();
}

void CFollowLayout::Add(QWidget* control, const Follow& follow)
{
    m_items.push_back({control, control->geometry(), follow});
    Apply();
}

void CFollowLayout::Apply()
{
    if (!m_base.isValid())
        return;
    // Never smaller than described: below the base size everything keeps its form's place.
    const int dx = std::max(0, m_container->width() - m_base.width());
    const int dy = std::max(0, m_container->height() - m_base.height());
    const auto share = [](double part, int extra) { return static_cast<int>(std::lround(part * extra)); };
    for (const Item& item : m_items) {
        if (!item.control)
            continue;
        const Follow& f = item.follow;
        item.control->setGeometry(item.form.x() + share(f.moveX, dx), item.form.y() + share(f.moveY, dy),
                                  item.form.width() + share(f.growX, dx), item.form.height() + share(f.growY, dy));
    }
}

bool CFollowLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_container && event->type() == QEvent::Resize)
        Apply();
    return QObject::eventFilter(watched, event);
}
