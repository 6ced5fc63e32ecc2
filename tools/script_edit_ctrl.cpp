#include "tools/script_edit_ctrl.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <vector>

#include "tools/script_highlighter.h"

CScriptEditCtrl::CScriptEditCtrl(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);  // pasted text takes the editor's font; colours come from the syntax
    setTabChangesFocus(false);
    m_highlighter = new CScriptHighlighter(m_syntax, document());
    connect(document(), &QTextDocument::contentsChange, this, &CScriptEditCtrl::NoteChange);
}

CScriptEditCtrl::~CScriptEditCtrl()
{
    // The highlighter reads m_syntax, which goes before the base class takes the document down.
    m_inForcedChange = true;
    delete m_highlighter;
}

void CScriptEditCtrl::InitFormats()
{
    const QString preferred = QStringLiteral("Courier New");
    QFont font = QFontDatabase::families().contains(preferred, Qt::CaseInsensitive)
                   ? QFont(preferred)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    font.setBold(false);
    setFont(font);
    setTabStopDistance(0.2 * logicalDpiX());
}

void CScriptEditCtrl::SetCaseSensitive(bool caseSensitive)
{
    m_syntax.SetCaseSensitive(caseSensitive);
    FormatAll();
}

void CScriptEditCtrl::SetStringQuotes(const QString& quotes)
{
    m_syntax.SetStringQuotes(std::u16string_view(reinterpret_cast<const char16_t*>(quotes.utf16()),
                                                 static_cast<std::size_t>(quotes.size())));
    FormatAll();
}

void CScriptEditCtrl::SetCommentChars(QChar first, QChar second)
{
    m_syntax.SetCommentChars(first.unicode(), second.unicode());
    FormatAll();
}

void CScriptEditCtrl::AddKeywords(std::string_view keywords)
{
    m_syntax.AddKeywords(keywords);
    FormatAll();
}

void CScriptEditCtrl::SetText(const QString& text)
{
    {
        const QScopedValueRollback forced(m_inForcedChange, true);
        setPlainText(text);
    }
    FormatAll();
}

void CScriptEditCtrl::FormatAll()
{
    m_highlighter->rehighlight();
    CorrectCase(0, document()->characterCount());
}

bool CScriptEditCtrl::event(QEvent* event)
{
    // Every edit of the user's arrives as an event of the editor or of its viewport; the case is
    // corrected as soon as that event is done, so the correction joins the edit's undo step.
    const bool handled = QTextEdit::event(event);
    CorrectPendingChange();
    return handled;
}

bool CScriptEditCtrl::viewportEvent(QEvent* event)
{
    const bool handled = QTextEdit::viewportEvent(event);
    CorrectPendingChange();
    return handled;
}

void CScriptEditCtrl::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        // Tab types a tab here; Ctrl+Tab is the keyboard's way out of the editor.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ShiftModifier)) {
        // One kind of line break only: every line is a paragraph of its own.
        textCursor().insertBlock();
        ensureCursorVisible();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void CScriptEditCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    // Run the menu within this event (the default shows it and returns), so an edit chosen from it
    // is corrected when the event ends.
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    menu->exec(event->globalPos());
}

void CScriptEditCtrl::NoteChange(int position, int /*removed*/, int added)
{
    // Undo and redo leave steps to redo; their text was corrected when it was first made.
    if (m_inForcedChange || document()->isRedoAvailable())
        return;
    const int end = position + added;
    m_changeStart = m_changeStart < 0 ? position : std::min(m_changeStart, position);
    m_changeEnd = std::max(m_changeEnd, end);
}

void CScriptEditCtrl::CorrectPendingChange()
{
    if (m_changeStart < 0 || m_inForcedChange)
        return;
    const int from = m_changeStart, to = m_changeEnd;
    m_changeStart = m_changeEnd = -1;
    CorrectCase(from, to);
}

void CScriptEditCtrl::CorrectCase(int from, int to)
{
    QTextDocument* doc = document();
    struct Replacement {
        int position;
        QString spelling;
    };
    std::vector<Replacement> replacements;
    const QTextBlock last = doc->findBlock(std::max(from, to));
    for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size()));
        for (const CaseCorrection& correction : m_syntax.Tokenize(units).corrections)
            replacements.push_back({block.position() + static_cast<int>(correction.start),
                                    QString::fromUtf16(correction.spelling.data(),
                                                       static_cast<qsizetype>(correction.spelling.size()))});
        if (block == last)
            break;
    }
    if (replacements.empty())
        return;

    // Every replacement keeps its length, so positions stay valid and the caret can stay put.
    const QScopedValueRollback forced(m_inForcedChange, true);
    const int anchor = textCursor().anchor(), position = textCursor().position();
    QTextCursor cursor(doc);
    if (!doc->isUndoAvailable()) {
        // A text just set: corrected outside the history, which holds nothing to lose.
        doc->setUndoRedoEnabled(false);
        for (const Replacement& r : replacements) {
            cursor.setPosition(r.position);
            cursor.setPosition(r.position + static_cast<int>(r.spelling.size()), QTextCursor::KeepAnchor);
            cursor.insertText(r.spelling);
        }
        doc->setUndoRedoEnabled(true);
    } else {
        // The correction belongs to the user's last step. Qt cannot add to a step of typed
        // characters, so that step is taken back and made again, corrected, as one step: one
        // undo still returns to the text before it, and later typing still merges with it.
        QString target = doc->toRawText();
        for (const Replacement& r : replacements)
            target.replace(r.position, r.spelling.size(), r.spelling);
        doc->undo();
        const QString current = doc->toRawText();
        if (current == target) {
            doc->redo();  // nothing of the step was left to make again
            return;
        }
        qsizetype prefix = 0, suffix = 0;
        const qsizetype shorter = std::min(current.size(), target.size());
        while (prefix < shorter && current[prefix] == target[prefix])
            ++prefix;
        while (suffix < shorter - prefix
               && current[current.size() - 1 - suffix] == target[target.size() - 1 - suffix])
            ++suffix;
        cursor.beginEditBlock();
        cursor.setPosition(static_cast<int>(prefix));
        cursor.setPosition(static_cast<int>(current.size() - suffix), QTextCursor::KeepAnchor);
        cursor.insertText(target.mid(prefix, target.size() - suffix - prefix));
        cursor.endEditBlock();
    }

    if (textCursor().anchor() != anchor || textCursor().position() != position) {
        QTextCursor restored(doc);
        restored.setPosition(anchor);
        restored.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(restored);
    }
}
