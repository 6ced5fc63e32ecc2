#include "app/web_browser2.h"

#include <QDesktopServices>

namespace {

CWebBrowser2::NavigateObserver& Observer()
{
    static CWebBrowser2::NavigateObserver observer;
    return observer;
}

// The pages of the panel are the program's own resources (or files beside them); anything else
// belongs to the system's browser or mail program.
bool IsPanelAddress(const QUrl& address)
{
    return address.scheme() == QLatin1String("qrc") || address.isLocalFile();
}

} // namespace

CWebBrowser2::CWebBrowser2(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    // The side panel is narrow: a list indents by a bullet's width, not by the default 40 px.
    document()->setIndentWidth(14);
    connect(this, &QTextBrowser::anchorClicked, this, &CWebBrowser2::OnAnchorClicked);
}

void CWebBrowser2::Navigate(const QString& address)
{
    const QUrl url(address);
    if (Observer())
        Observer()(*this, url);
    setSource(url);
}

CWebBrowser2::NavigateObserver CWebBrowser2::SetNavigateObserver(NavigateObserver observer)
{
    NavigateObserver previous = std::move(Observer());
    Observer() = std::move(observer);
    return previous;
}

void CWebBrowser2::OnAnchorClicked(const QUrl& link)
{
    const QUrl target = source().resolved(link);
    if (IsPanelAddress(target))
        setSource(target);
    else
        QDesktopServices::openUrl(target);
}
