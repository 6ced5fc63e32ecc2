#include "tools/mathdata.h"

std::string SubstituteMathdata(std::string_view script, std::string_view value)
{
    std::string expression;
    expression.reserve(script.size());
    std::size_t from = 0;
    for (std::size_t at; (at = script.find(MATHDATA_NAME, from)) != std::string_view::npos;
         from = at + MATHDATA_NAME.size()) {
        expression.append(script.substr(from, at - from));
        expression.append(value);
    }
    expression.append(script.substr(from));
    return expression;
}
