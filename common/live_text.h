#pragma once
// A label text that a language change renders again: a status line made in code (a count, a
// file name, a core message) would otherwise stay in the old language, or go back to its form's
// text when the form is translated again.

#include <QString>
#include <functional>

class QLabel;

/// Shows `text()` in `label` now and again after every language change, until the next call for
/// the same label. An empty function clears the label and keeps it clear.
void SetLiveText(QLabel* label, std::function<QString()> text);
