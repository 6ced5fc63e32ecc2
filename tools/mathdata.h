#pragma once
// The math conversion's formula refers to the value by a name that is replaced textually.

#include <string>
#include <string_view>

/// The name the formula uses for the value.
inline constexpr std::string_view MATHDATA_NAME = "mathdata";

/// Every "mathdata" in the script, case-sensitive and inside longer words too, replaced by the
/// value as it stands; left to right, without overlap, the inserted value not searched again.
std::string SubstituteMathdata(std::string_view script, std::string_view value);
