#pragma once
// The product's title and the maker's name and contact details, shown in the title bar, the About
// box and the status bar.

#include "common/version.h"

// The product's name, for the title and the crash handler's messages.
#define VELMORRA_PRODUCT_NAME "Tessik通讯数据分析辅助工具"
// Its English name, for the crash handler, which cannot read the window's translation.
#define VELMORRA_PRODUCT_NAME_EN "Tessik Frame Analyser"
inline constexpr char PRODUCT_TITLE[] = VELMORRA_PRODUCT_NAME " V" VELMORRA_VERSION;
// The product's short name with the version, as the status bar opens.
inline constexpr char PRODUCT_SHORT_TITLE[] = "通讯数据分析辅助工具V" VELMORRA_VERSION;
inline constexpr char MAKER_NAME[] = "Tessik工作室";
inline constexpr char MAKER_WEB[] = "http://www.tessik.cn";
inline constexpr char MAKER_EMAIL[] = "service@tessik.cn";
inline constexpr char MAKER_QQ[] = "1849203756";
// The information panel's pages, shipped with the program under the product's folder.
inline constexpr char SIDE_PANEL_ADDRESS[] = "qrc:/products/velmorra/link.html";
inline constexpr char INFO_PAGE_ADDRESS[] = "qrc:/products/velmorra/advert.html";
inline constexpr char MAKER_COPYRIGHT[] = "Copyright (C) 2010-2026 Tessik工作室";
