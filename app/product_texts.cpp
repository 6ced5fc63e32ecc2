#include "app/product_texts.h"

#include <QCoreApplication>
#include <string_view>

#include "app/maker_info.h"

// The Chinese texts are maker_info.h's, written out here so that lupdate finds them.
static_assert(std::string_view(VELMORRA_PRODUCT_NAME) == "Tessik通讯数据分析辅助工具");
static_assert(std::string_view(PRODUCT_SHORT_TITLE) == "通讯数据分析辅助工具V" VELMORRA_VERSION);
static_assert(std::string_view(MAKER_NAME) == "Tessik工作室");
static_assert(std::string_view(MAKER_COPYRIGHT) == "Copyright (C) 2010-2026 Tessik工作室");

QString ProductTitle()
{
    return QCoreApplication::translate("Product", "Tessik通讯数据分析辅助工具") + QStringLiteral(" V" VELMORRA_VERSION);
}

QString ProductShortTitle()
{
    return QCoreApplication::translate("Product", "通讯数据分析辅助工具V%1").arg(QStringLiteral(VELMORRA_VERSION));
}

QString MakerName()
{
    return QCoreApplication::translate("Product", "Tessik工作室");
}

QString MakerCopyright()
{
    return QCoreApplication::translate("Product", "Copyright (C) 2010-2026 Tessik工作室");
}
