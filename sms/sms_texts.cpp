#include "sms/sms_texts.h"

#include <iterator>

namespace {

const char* const SMS_TEXTS[] = {
#define VELMORRA_SMS_TEXT_STRING(id, text) text,
    VELMORRA_SMS_TEXTS(VELMORRA_SMS_TEXT_STRING)
#undef VELMORRA_SMS_TEXT_STRING
};

} // namespace

const char* SmsTextOf(SmsText id)
{
    const auto index = static_cast<std::size_t>(id);
    return index < std::size(SMS_TEXTS) ? SMS_TEXTS[index] : "";
}

std::string SmsFormat(SmsText id, std::initializer_list<std::string_view> args)
{
    const std::string_view pattern = SmsTextOf(id);
    std::string out;
    out.reserve(pattern.size() + 16 * args.size());
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (pattern[k] == '%' && k + 1 < pattern.size() && pattern[k + 1] >= '1' && pattern[k + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[k + 1] - '1');
            if (index < args.size())
                out += *(args.begin() + index);
            ++k;
        } else {
            out += pattern[k];
        }
    }
    return out;
}
