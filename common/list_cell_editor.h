#pragma once
// What the two in-place editors of the editable report list share: the text an editor opened
// with, the text its cell receives, and an end that comes once (Enter, Escape, the loss of focus).

#include <QString>
#include <functional>

class QKeyEvent;
class QWidget;

class CListCellEditor {
public:
    explicit CListCellEditor(const QString& startText);
    virtual ~CListCellEditor() = default;
    CListCellEditor(const CListCellEditor&) = delete;
    CListCellEditor& operator=(const CListCellEditor&) = delete;

    /// The list's editor that `widget` is, or nullptr.
    static CListCellEditor* Of(QWidget* widget);

    QString StartText() const { return m_startText; }
    /// The text the cell receives: the starting text after Escape, otherwise the editor's own.
    QString EndText() const { return m_cancelled ? m_startText : ChosenText(); }
    /// What the edit's end calls, once.
    void OnFinished(std::function<void()> finished) { m_onFinished = std::move(finished); }
    /// The list dropped this editor; it must not finish any more.
    void Discard() { m_finished = true; }

protected:
    virtual QString ChosenText() const = 0;
    void Cancel() { m_cancelled = true; }
    void Finish();
    /// Enter ends the edit, Escape cancels and ends it; both are accepted here, so a dialog's
    /// default button never sees them. False for any other key.
    bool EndsOn(QKeyEvent* event);

private:
    QString m_startText;
    bool m_cancelled = false;
    bool m_finished = false;
    std::function<void()> m_onFinished;
};
