#include "common/hex_input.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <algorithm>

#include "common/capture_notation.h"
#include "common/live_text.h"
#include "common/message_box.h"

CHexInput::CHexInput(QPlainTextEdit* edit, QLabel* infoLine, const HexInputProfile& profile,
                     std::span<std::uint8_t> buffer, QObject* parent)
    : CHexInput(edit, edit, nullptr, infoLine, profile, buffer, parent)
{
    connect(edit, &QPlainTextEdit::textChanged, this, &CHexInput::OnTextChanged);
}

CHexInput::CHexInput(QLineEdit* edit, QLabel* infoLine, const HexInputProfile& profile,
                     std::span<std::uint8_t> buffer, QObject* parent)
    : CHexInput(edit, nullptr, edit, infoLine, profile, buffer, parent)
{
    connect(edit, &QLineEdit::textChanged, this, &CHexInput::OnTextChanged);
}

CHexInput::CHexInput(QWidget* edit, QPlainTextEdit* plain, QLineEdit* line, QLabel* infoLine,
                     const HexInputProfile& profile, std::span<std::uint8_t> buffer, QObject* parent)
    : QObject(parent ? parent : edit)
    , m_edit(edit)
    , m_plain(plain)
    , m_line(line)
    , m_infoLine(infoLine)
    , m_profile(profile)
    , m_buffer(buffer.first(std::min(buffer.size(), profile.limit)))
{
    MakeInformationLine(infoLine);

    m_pasteTidied = new QAction(tr("粘贴并整理"), edit);
    m_pasteTidied->setObjectName(QStringLiteral("pasteTidiedAction"));
    m_pasteTidied->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    m_pasteTidied->setShortcutContext(Qt::WidgetShortcut);
    edit->addAction(m_pasteTidied);
    connect(m_pasteTidied, &QAction::triggered, this, &CHexInput::PasteTidied);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this, &CHexInput::OnContextMenu);
}

bool CHexInput::Editable() const
{
    return m_edit->isEnabled() && !(m_plain ? m_plain->isReadOnly() : m_line->isReadOnly());
}

void CHexInput::OnContextMenu(const QPoint& pos)
{
    // The box's own menu, with the tidied paste right below its paste.
    QMenu* menu = m_plain ? m_plain->createStandardContextMenu() : m_line->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QList<QAction*> actions = menu->actions();
    QAction* below = nullptr;
    for (qsizetype k = 0; k + 1 < actions.size(); ++k)
        if (actions[k]->objectName() == QLatin1String("edit-paste"))
            below = actions[k + 1];
    m_pasteTidied->setEnabled(Editable() && !QGuiApplication::clipboard()->text().isEmpty());
    menu->insertAction(below, m_pasteTidied);
    // Greyed for this menu only: the shortcut stays live.
    connect(menu, &QMenu::aboutToHide, m_pasteTidied, [action = m_pasteTidied] { action->setEnabled(true); });
    const QWidget* origin = m_plain ? m_plain->viewport() : m_edit;
    menu->popup(origin->mapToGlobal(pos));
}

void CHexInput::PasteTidied()
{
    if (!Editable())
        return;
    const QString clipboard = QGuiApplication::clipboard()->text();
    // One narrow character per character, as the parse sees them: a Chinese label becomes '?'.
    const QByteArray narrow = clipboard.toLatin1();
    const std::string tidy = TidyCaptureText(std::string_view(narrow.constData(), static_cast<std::size_t>(narrow.size())));
    if (tidy.empty()) {
        // Nothing recognisable: the ordinary paste, and the box says what is wrong with it.
        if (m_plain)
            m_plain->paste();
        else
            m_line->paste();
        return;
    }
    if (m_plain)
        m_plain->insertPlainText(QString::fromLatin1(tidy));
    else
        m_line->insert(QString::fromLatin1(tidy));
}

void CHexInput::MakeInformationLine(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
}

QString CHexInput::Text() const
{
    return m_plain ? m_plain->toPlainText() : m_line->text();
}

void CHexInput::WriteBack(const QString& text)
{
    m_rewriting = true;
    if (m_plain) {
        m_plain->setPlainText(text);
        m_plain->moveCursor(QTextCursor::End);
        m_plain->ensureCursorVisible();
    } else {
        m_line->setText(text);
        m_line->end(false);
    }
    m_rewriting = false;
}

bool CHexInput::event(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_pasteTidied->setText(tr("粘贴并整理"));
    return QObject::event(event);
}

void CHexInput::OnTextChanged()
{
    if (m_rewriting)
        return;

    // One narrow character per typed character: anything outside Latin-1 becomes '?', which is
    // not a hex digit, so the length rules count characters as the user sees them.
    const QByteArray narrow = Text().toLatin1();
    std::size_t count = 0;
    const HexParseResult result =
        ParseHexText(std::string_view(narrow.constData(), static_cast<std::size_t>(narrow.size())), m_buffer, count);
    m_lastResult = result;

    if (result == HexParseResult::Ok) {
        m_count = count;
        if (m_profile.rewriteNormalForm)
            WriteBack(QString::fromLatin1(FormatHexBytes(m_buffer.first(count))));
        SetLiveText(m_infoLine, nullptr);
    } else {
        // Bytes beyond the count are always zero; no half-parsed frame stays behind.
        std::fill(m_buffer.begin(), m_buffer.end(), std::uint8_t{0});
        m_count = 0;
        if (const char* message = HexErrorText(m_profile, result)) {
            if (m_profile.messageBoxOnError && result != HexParseResult::OddLength)
                ShowMessage(m_edit->window(), QString::fromUtf8(message));
            const HexInputProfile& profile = m_profile;
            SetLiveText(m_infoLine, [&profile, result] { return QString::fromUtf8(HexErrorText(profile, result)); });
        }
    }
    emit Parsed(result, m_count);
}
