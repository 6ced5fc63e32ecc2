#pragma once
// Runs the hex text input of one edit box: parse on every change, then the profile's reaction
// (message box first, then the red information line; the normal form written back on success).
// The box's context menu and Ctrl+Shift+V also paste a capture in any common notation, tidied
// into the hex grammar first.

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/hex_input_profile.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

class CHexInput : public QObject {
    Q_OBJECT
public:
    // `buffer` is the page's frame; its first `profile.limit` bytes are used.
    CHexInput(QPlainTextEdit* edit, QLabel* infoLine, const HexInputProfile& profile,
              std::span<std::uint8_t> buffer, QObject* parent = nullptr);
    CHexInput(QLineEdit* edit, QLabel* infoLine, const HexInputProfile& profile,
              std::span<std::uint8_t> buffer, QObject* parent = nullptr);

    std::size_t Count() const { return m_count; }
    HexParseResult LastResult() const { return m_lastResult; }

    /// Paints a label as an information line: red text, RGB 255,0,0.
    static void MakeInformationLine(QLabel* label);

    /// "粘贴并整理": the clipboard's text in the hex grammar (TidyCaptureText) in place of the
    /// selection; a text without any frame is pasted as it is, for the box to judge.
    void PasteTidied();
    QAction* PasteTidiedAction() const { return m_pasteTidied; }

protected:
    // A language change: the action's name and the line's message again, in the new language.
    bool event(QEvent* event) override;

signals:
    // After the reaction has been applied; `count` is 0 for every outcome but Ok.
    void Parsed(HexParseResult result, std::size_t count);

private:
    CHexInput(QWidget* edit, QPlainTextEdit* plain, QLineEdit* line, QLabel* infoLine,
              const HexInputProfile& profile, std::span<std::uint8_t> buffer, QObject* parent);
    void OnTextChanged();
    void OnContextMenu(const QPoint& pos);
    bool Editable() const;
    QString Text() const;
    void WriteBack(const QString& text);

    QWidget* m_edit;
    QPlainTextEdit* m_plain;
    QLineEdit* m_line;
    QLabel* m_infoLine;
    const HexInputProfile& m_profile;
    std::span<std::uint8_t> m_buffer;
    std::size_t m_count = 0;
    HexParseResult m_lastResult = HexParseResult::Empty;
    bool m_rewriting = false;
    QAction* m_pasteTidied = nullptr;
};
