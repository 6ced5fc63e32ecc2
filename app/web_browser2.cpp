#include "app/web_browser2.h"

#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QTextBlock>
#include <algorithm>

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

// What assistive technology reads: a read-only multi-line text, its words the page's plain text,
// as the program's other read-only views are; Qt's own interface for a text browser is a label
// whose name alone is read.
class CBrowserAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CBrowserAccessible(CWebBrowser2* browser)
        : QAccessibleWidget(browser, QAccessible::EditableText)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? Plain() : QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // One character of the plain text per position of the document, so offsets are cursor positions.
    QString text(int startOffset, int endOffset) const override
    {
        return Plain().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Plain().size()); }
    int cursorPosition() const override { return Browser()->textCursor().position(); }
    void setCursorPosition(int position) override { Select(position, position); }
    int selectionCount() const override { return Browser()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        const QTextCursor cursor = Browser()->textCursor();
        const bool any = selectionIndex == 0 && cursor.hasSelection();
        *startOffset = any ? cursor.selectionStart() : 0;
        *endOffset = any ? cursor.selectionEnd() : 0;
    }
    void addSelection(int startOffset, int endOffset) override { Select(startOffset, endOffset); }
    void removeSelection(int) override { Select(cursorPosition(), cursorPosition()); }
    void setSelection(int, int startOffset, int endOffset) override { Select(startOffset, endOffset); }
    QRect characterRect(int offset) const override
    {
        QTextCursor cursor(Browser()->document());
        cursor.setPosition(std::clamp(offset, 0, characterCount()));
        QRect rect = Browser()->cursorRect(cursor);
        const QString character = text(offset, offset + 1);
        rect.setWidth(std::max(1, Browser()->fontMetrics().horizontalAdvance(character)));
        return QRect(Browser()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return Browser()->cursorForPosition(Browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        Select(startIndex, endIndex);
        Browser()->ensureCursorVisible();
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

private:
    CWebBrowser2* Browser() const { return static_cast<CWebBrowser2*>(widget()); }
    QString Plain() const { return Browser()->document()->toPlainText(); }
    void Select(int start, int end)
    {
        const int count = characterCount();
        QTextCursor cursor(Browser()->document());
        cursor.setPosition(std::clamp(start, 0, count));
        cursor.setPosition(std::clamp(end, 0, count), QTextCursor::KeepAnchor);
        Browser()->setTextCursor(cursor);
    }
};

QAccessibleInterface* BrowserAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CWebBrowser2") && object && object->isWidgetType())
        return new CBrowserAccessible(static_cast<CWebBrowser2*>(object));
    return nullptr;
}

} // namespace

CWebBrowser2::CWebBrowser2(QWidget* parent)
    : QTextBrowser(parent)
{
    static const bool accessible = (QAccessible::installFactory(BrowserAccessibleFactory), true);
    Q_UNUSED(accessible);
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
