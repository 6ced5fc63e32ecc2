#include "common/live_text.h"

#include <QEvent>
#include <QLabel>

namespace {

// A child of the label: the label hands a language change on to its children after its own
// change, and so after the page's form has been translated again.
class CLiveText : public QObject {
    Q_OBJECT
public:
    explicit CLiveText(QLabel* label)
        : QObject(label)
        , m_label(label)
    {
        setObjectName(QStringLiteral("liveText"));
    }

    void Set(std::function<QString()> text)
    {
        m_text = std::move(text);
        Show();
    }

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            Show();
        return QObject::event(event);
    }

private:
    void Show() { m_label->setText(m_text ? m_text() : QString()); }

    QLabel* m_label;
    std::function<QString()> m_text;
};

} // namespace

void SetLiveText(QLabel* label, std::function<QString()> text)
{
    auto* live = label->findChild<CLiveText*>(QStringLiteral("liveText"), Qt::FindDirectChildrenOnly);
    if (!live)
        live = new CLiveText(label);
    live->Set(std::move(text));
}

#include "live_text.moc"
