#pragma once
// Where the window keeps what it remembers between runs: the user's configuration folder,
// ~/.config/Velmorra/velmorra.conf.

inline constexpr char SETTINGS_ORGANIZATION[] = "Velmorra";
inline constexpr char SETTINGS_APPLICATION[] = "velmorra";
