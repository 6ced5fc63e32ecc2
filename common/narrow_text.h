#pragma once
// Narrow (GBK) text from the core, made ready for a Qt widget.

#include <QString>
#include <string_view>

/// The GBK bytes decoded; invalid or cut-off sequences show as U+FFFD.
QString NarrowToQString(std::string_view narrow);

