#pragma once
// The formula box: a rich text editor that colours the script as it is typed and rewrites
// keywords typed in another case in the keyword list's spelling.

#include <QTextEdit>
#include <string_view>

#include "tools/script_tokenizer.h"

class CScriptHighlighter;

class CScriptEditCtrl : public QTextEdit {
    Q_OBJECT
public:
    explicit CScriptEditCtrl(QWidget* parent = nullptr);
    ~CScriptEditCtrl() override;

    // Configuration by the owner, in this order; each setter re-colours what is already there.

    /// The fixed-pitch font (Courier New where installed, else the system's fixed font), 10 points,
    /// and tab stops every 0.2 inch.
    void InitFormats();
    void SetCaseSensitive(bool caseSensitive);
    void SetStringQuotes(const QString& quotes);
    /// `second`, when not null, must follow `first` to start a comment.
    void SetCommentChars(QChar first, QChar second = QChar());
    /// Appends blank-separated keywords to the list.
    void AddKeywords(std::string_view keywords);

    /// Replaces the whole text (its history too), then colours and corrects all of it.
    void SetText(const QString& text);
    /// Re-colours and case-corrects the whole text without adding an undo step.
    void FormatAll();

    const CScriptSyntax& Syntax() const { return m_syntax; }

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void NoteChange(int position, int removed, int added);
    void CorrectPendingChange();
    void CorrectCase(int from, int to);

    CScriptSyntax m_syntax;
    CScriptHighlighter* m_highlighter = nullptr;
    // True while the control changes its own text: those changes are not corrected again.
    bool m_inForcedChange = false;
    // The characters the user's edits changed since the last correction; -1 when none.
    int m_changeStart = -1;
    int m_changeEnd = -1;
};
