#pragma once
// The box that the crash message program shows. Every other box of the program goes through
// ShowMessage; this one lives in a process of its own, started by the crash handler, and has to
// stay above a window of another process, which ShowMessage has no way to say.

#include <QString>
#include <memory>

class QMessageBox;

/// A box with `text`, the caption, a single OK button and the exclamation icon, kept on top.
std::unique_ptr<QMessageBox> CreateCrashMessageBox(const QString& caption, const QString& text);
