#pragma once
// Narrow (GBK) text from the core, made ready for a Qt widget.

#include <QString>
#include <string_view>

/// The GBK bytes decoded; invalid or cut-off sequences show as U+FFFD.
QString NarrowToQString(std::string_view narrow);

/// As NarrowToQString, for a multi-line view: a CR LF pair is one line break, as in a Windows
/// edit box, where the view would otherwise show an empty line between the two.
QString NarrowToDisplayLines(std::string_view narrow);
