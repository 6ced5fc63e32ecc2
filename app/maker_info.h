#pragma once
// The maker's name and contact details, shown in the About box and the status bar.

inline constexpr char PRODUCT_TITLE[] = "Tessik通讯数据分析辅助工具 V1.01";
inline constexpr char MAKER_NAME[] = "Tessik工作室";
inline constexpr char MAKER_WEB[] = "http://www.tessik.cn";
inline constexpr char MAKER_EMAIL[] = "service@tessik.cn";
inline constexpr char MAKER_QQ[] = "1849203756";
inline constexpr char MAKER_COPYRIGHT[] = "Copyright (C) 2010-2026 Tessik工作室";
