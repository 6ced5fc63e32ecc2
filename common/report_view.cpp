#include "common/report_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

namespace {

// Long texts (a range of hundreds of bytes) as lines of about this many characters.
constexpr int TIP_LINE = 48;

QString Wrapped(const QString& text)
{
    QString lines;
    qsizetype start = 0;
    while (text.size() - start > TIP_LINE) {
        qsizetype cut = text.lastIndexOf(QLatin1Char(' '), start + TIP_LINE);
        if (cut <= start)
            cut = start + TIP_LINE;
        lines += text.mid(start, cut - start).trimmed() + QLatin1Char('\n');
        start = cut;
    }
    return lines + text.mid(start).trimmed();
}

} // namespace

CReportView::CReportView(QWidget* parent)
    : QTableView(parent)
{
    setTextElideMode(Qt::ElideMiddle);
}

void CReportView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(sideways);
}

bool CReportView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && ShowWholeCellText(this, static_cast<QHelpEvent*>(event)))
        return true;
    return QTableView::viewportEvent(event);
}

bool ShowWholeCellText(QAbstractItemView* view, QHelpEvent* event)
{
    const QModelIndex index = view->indexAt(event->pos());
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect cell = view->visualRect(index);
    // The item delegate leaves a margin on either side of the text.
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    if (!index.isValid() || text.isEmpty() || view->fontMetrics().horizontalAdvance(text) <= cell.width() - 2 * margin) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(event->globalPos(), Wrapped(text), view->viewport(), cell);
    return true;
}
