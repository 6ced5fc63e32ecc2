#pragma once
// The information panel's browser: shows the pages that ship with the program. A link between
// those pages stays in the panel; a link to an outside address opens in the system's browser.

#include <QTextBrowser>
#include <QUrl>
#include <functional>

class CWebBrowser2 : public QTextBrowser {
    Q_OBJECT
public:
    explicit CWebBrowser2(QWidget* parent = nullptr);

    /// Opens the address in the panel.
    void Navigate(const QString& address);

    /// Test seam: called on every Navigate; returns the previous observer.
    using NavigateObserver = std::function<void(const CWebBrowser2& browser, const QUrl& address)>;
    static NavigateObserver SetNavigateObserver(NavigateObserver observer);

private:
    void OnAnchorClicked(const QUrl& link);
};
