#pragma once
// The product's and the maker's texts as the window shows them, in the window's language.

#include <QString>

/// The title bar's and the About box's "Tessik通讯数据分析辅助工具 V1.01".
QString ProductTitle();
/// The status bar's opening "通讯数据分析辅助工具V1.01".
QString ProductShortTitle();
/// "Tessik工作室"
QString MakerName();
/// The About box's copyright line.
QString MakerCopyright();
