#include "identify/identify_texts.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char* const TEXTS[] = {
    "低字节在前",
    "高字节在前",
    "%s（%s）",
    "第%u字节 至 第%u字节",
    "第%u字节 至 倒数第%u字节",
    "，其后%u字节结束符",
    "，校验码为%u位16进制文本",
    "，其后为“%s”及%u位16进制文本校验码",
    "，按16进制文本所表示的字节计算",
    "，其后每%u字节一个校验码",
    "；%s/%s 帧",
    "（结构性：所覆盖字节的结果在每帧中都相同）",
    "；不成立：第%s行",
    "等共%s行",
    "%s + 0x%s",
    "%s XOR 0x%s",
    "−%s",
    "0x%s − %s",
    "CRC-%u（多项式 0x%s，初始值 0x%s，%s，%s，结果异或值 0x%s）",
    "（帧长不足以区分初始值与结果异或值，取可能的初始值中最小的）",
    "输入反转",
    "输入不反转",
    "输出反转",
    "输出不反转",
    "共 %s 帧（%s 种不同），%s 条规则",
    "没有在至少 %s%% 的帧中成立的校验规则",
    "各帧都相同或只有一帧：无法把校验规则与巧合区分开",
    "首字节为 %02X 的帧（%s 帧）：",
    "不属于任何类的帧：第%s行",
    "已停止",
};

static_assert(std::size(TEXTS) == static_cast<std::size_t>(IdentifyText::Cancelled) + 1);

std::string Hex(std::uint32_t value, unsigned width)
{
    return FormatText("%0*X", static_cast<int>((width + 3) / 4), value);
}

std::string Decimal(std::uint64_t value)
{
    return FormatText("%llu", static_cast<unsigned long long>(value));
}

} // namespace

const char* IdentifyTextOf(IdentifyText id)
{
    return TEXTS[static_cast<std::size_t>(id)];
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string RuleModelText(const IdentifyRule& rule)
{
    const unsigned width = RuleWidth(rule);
    std::string name;
    if (rule.model == SOLVED_CRC_MODEL) {
        const CrcParameters& p = rule.solved;
        name = FormatText(IdentifyTextOf(IdentifyText::SolvedCrc), p.width, Hex(p.poly, width).c_str(),
                          Hex(p.init, width).c_str(),
                          IdentifyTextOf(p.refin ? IdentifyText::InputReflected : IdentifyText::InputNotReflected),
                          IdentifyTextOf(p.refout ? IdentifyText::OutputReflected : IdentifyText::OutputNotReflected),
                          Hex(p.xorout, width).c_str());
        if (!rule.solvedInitKnown)
            name += IdentifyTextOf(IdentifyText::SolvedInitUnknown);
    } else {
        name = ChecksumModels()[rule.model].name;
    }
    const std::string k = Hex(rule.constant, width);
    switch (rule.form) {
    case ConstantForm::None: return name;
    case ConstantForm::Plus: return FormatText(IdentifyTextOf(IdentifyText::PlusConstant), name.c_str(), k.c_str());
    case ConstantForm::Xor: return FormatText(IdentifyTextOf(IdentifyText::XorConstant), name.c_str(), k.c_str());
    case ConstantForm::Minus:
        if (rule.constant == 0)
            return FormatText(IdentifyTextOf(IdentifyText::Negated), name.c_str());
        return FormatText(IdentifyTextOf(IdentifyText::ConstantMinus), k.c_str(), name.c_str());
    }
    return name;
}

std::string RuleText(const IdentifyRule& rule)
{
    std::string text = RuleModelText(rule);
    if (RuleWidth(rule) > 8)
        text = FormatText(IdentifyTextOf(IdentifyText::ModelWithOrder), text.c_str(),
                          IdentifyTextOf(rule.order == CheckOrder::LowFirst ? IdentifyText::LowFirst : IdentifyText::HighFirst));
    text += "，";
    text += FormatText(IdentifyTextOf(rule.endFrom == RuleEnd::FromFirst ? IdentifyText::RangeFromFirst
                                                                          : IdentifyText::RangeFromLast),
                       unsigned{rule.start}, unsigned{rule.end});
    if (rule.input == RuleInput::HexPairs)
        text += IdentifyTextOf(IdentifyText::OverHexPairs);
    const unsigned digits = RuleWidth(rule) / 4;
    if (rule.gap) {
        const char separator[2] = {static_cast<char>(rule.separator), '\0'};
        text += FormatText(IdentifyTextOf(IdentifyText::SeparatorValue), separator, digits);
    } else if (rule.encoding == CheckEncoding::HexText) {
        text += FormatText(IdentifyTextOf(IdentifyText::HexValue), digits);
    }
    if (rule.block)
        text += FormatText(IdentifyTextOf(IdentifyText::Blocks), unsigned{rule.block});
    if (const auto trailer = RuleTrailer(rule); trailer && *trailer > 0)
        text += FormatText(IdentifyTextOf(IdentifyText::Trailer), *trailer);
    return text;
}

std::string LineListText(std::span<const std::uint64_t> lines, std::size_t maxLines)
{
    std::string text;
    for (std::size_t k = 0; k < lines.size() && k < maxLines; ++k) {
        if (k)
            text += "、";
        text += Decimal(lines[k]);
    }
    if (lines.size() > maxLines)
        text += FormatText(IdentifyTextOf(IdentifyText::MoreLines), Decimal(lines.size()).c_str());
    return text;
}

std::string IdentifiedRuleText(const IdentifiedRule& rule, std::size_t maxLines)
{
    std::string text = RuleText(rule.rule);
    if (rule.structural)
        text += IdentifyTextOf(IdentifyText::Structural);
    text += FormatText(IdentifyTextOf(IdentifyText::Held), Decimal(rule.held).c_str(), Decimal(rule.frames).c_str());
    if (!rule.failing.empty())
        text += FormatText(IdentifyTextOf(IdentifyText::Failing), LineListText(rule.failing, maxLines).c_str());
    return text;
}
