#include "common/narrow_text.h"

#include "common/code_page.h"

QString NarrowToQString(std::string_view narrow)
{
    const std::u16string wide = NarrowToWide(narrow);
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}
