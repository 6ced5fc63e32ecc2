#pragma once
// Every text of velmorra-cli: option and subcommand help, usage errors, refusals, column titles
// and notes (UTF-8; the list is Chinese, further languages in cli_texts.cpp). "%1", "%2" … stand
// for the arguments of CliFormat. Data keeps its own words: option names, method and type names,
// JSON keys.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text_table.h"

#define VELMORRA_CLI_TEXTS(X)                                                                       \
    X(None, "")                                                                                     \
    /* the options and their values */                                                              \
    X(ValueMethod, "方法")                                                                          \
    X(ValueType, "类型")                                                                            \
    X(ValueVariables, "变量")                                                                       \
    X(ValueRegion, "起:止")                                                                         \
    X(ValueOrders, "类型=序号,…")                                                                   \
    X(ValueReading, "读数")                                                                         \
    X(ValueTolerance, "误差")                                                                       \
    X(ValueScales, "倍率,…")                                                                        \
    X(ValueCount, "N")                                                                              \
    X(ValueShare, "P")                                                                              \
    X(ValueFile, "文件")                                                                            \
    X(ValueFormat, "格式")                                                                          \
    X(ValueLanguage, "语言")                                                                        \
    X(OptionHelp, "显示本帮助")                                                                     \
    X(OptionLanguage, "输出的语言，en 或 zh（默认：LC_ALL、LC_MESSAGES 或 LANG 为英文区域设置时为英文，" \
      "否则为中文）")                                                                               \
    X(OptionMethod, "ALL（默认，依次为全部六种）、BCC、SUM、LRC、CRC16、CRC16S 或 CRC32")           \
    X(OptionMinLength, "只报告至少 N 字节的校验范围（默认 1）")                                     \
    X(OptionConsensus, "不逐帧列出，而是找出在所有帧中都成立的校验规则")                            \
    X(OptionConsensusShare, "与 --consensus 一起：列出至少在 P% 的帧中成立的规则（默认 100）")      \
    X(OptionSend, "发送解码（默认）")                                                               \
    X(OptionReceive, "接收解码")                                                                    \
    X(OptionFull, "完整解码（3GPP TS 23.040/23.038）：任何 PDU，含或不含短信中心地址，逐字段列出")  \
    X(OptionJoin, "把长短信的各部分（同一对方号码和参考号）按序号拼接，列出缺少的部分")             \
    X(OptionType, "short、ushort、long、ulong、float 或 double（必须给出）")                        \
    X(OptionBytes, "输入为数组（16进制，最多 8 字节，低字节在前），转换为数据；否则输入为数据。"    \
      "参数都只是一个字节时合为一个数组")                                                           \
    X(OptionVariables, "变量表，如 UCHAR,UINT,FLOAT,ANSI:5：类型 UCHAR、CHAR、UINT、INT、FLOAT、"   \
      "DWORD、LONG、ANSI、BCD，:长度 可选（默认为窗口选择该类型时填入的长度）")                     \
    X(OptionRegion, "解析区域的首、末字节，从 1 数起（默认整帧；超出帧尾的部分截去）")              \
    X(OptionOrders, "各类型的字节顺序，序号从 0 数起，如 UINT=1,FLOAT=3：UINT、INT 为 0 FF1 "       \
      "FF2、1 FF2 FF1；FLOAT、DWORD、LONG 为 0 FF1 FF2 FF3 FF4、1 FF4 FF3 FF2 "                     \
      "FF1、2 FF2 FF1 FF4 FF3、3 FF3 FF4 FF1 FF2（默认与窗口相同：UINT=0,INT=0,FLOAT=3,DWORD=3,LONG=3）") \
    X(OptionReading, "要查找的读数，如仪表上显示的 230.5（必须给出）")                              \
    X(OptionTolerance, "允许的误差：绝对值，或读数的百分比如 1%（默认 0.05）")                      \
    X(OptionScales, "依次尝试的倍率（默认 1,0.1,0.01,0.001：设备常把 230.5 发成 2305）")            \
    X(OptionIdentifyShare, "列出至少在 P% 的帧（有分类时为该类的帧）中成立的规则（默认 50）")       \
    X(OptionTop, "每类最多列出 N 条规则（默认 10）")                                                \
    X(OptionFile, "从文件读入，每行一项；可多次给出，“-” 为标准输入")                               \
    X(OptionExtract, "从每行取出其中最长的一帧，适用于带时间戳和方向标记的日志：01 03、0x01,0x03、" \
      "\\x01\\x03、01-03、01:03 或不分隔的 0103 均可，时间戳不算；找不到帧的行被拒绝")              \
    X(OptionLimit, "每帧最多 N 字节（1 至 65535，默认 512）")                                       \
    X(OptionFormat, "text（对齐的列，默认）、csv（RFC 4180，首行为列标题）或 json")                 \
    /* the subcommands: synopsis, summary, description */                                           \
    X(ChecksumSynopsis, "[选项] [帧…]")                                                             \
    X(ChecksumSummary, "校验分析：查找紧随其后就是自身校验码的字节范围")                            \
    X(ChecksumDescription, "对每帧尝试所选校验方法的每个连续字节范围，列出校验码紧随其后的范围，列与窗口的“校验分析”页相同；" \
      "ALL 按方法分组、依次列出。\n用 --consensus 时读入全部帧，找出在每帧（或至少 "                \
      "--min-share 的帧）中都成立的规则：方法、从首字节数起的起始位，以及从首字节或从末字节数起的结束位，" \
      "校验码紧随范围之后；按成立的帧数、再按范围长度排序。")                                       \
    X(PduSynopsis, "[--send|--receive|--full|--join] [帧…]")                                        \
    X(PduSummary, "PDU解析：把帧作为短信 PDU 解码")                                                 \
    X(PduDescription, "与窗口“串格式化”页的“PDU解析”相同：以 089 开头的数据按发送或接收格式解码，"  \
      "否则为“非PDU编码格式”。\n用 --full 时完整解码每条 PDU（模块列出的带短信中心地址的形式，"     \
      "或 AT+CMGS 不带它的形式，按长度判断），逐字段列出含义和所在字节；--format "                  \
      "json 的键为英文。用 --join 时把多条 PDU 中同一长短信的各部分拼接成整条消息。"                \
      "与 --extract 一起时，取每行中最长的一串16进制数（不足 7 字节的不算）。")                     \
    X(RenderSynopsis, "[帧…]")                                                                      \
    X(RenderSummary, "串格式化：ASCII、UNICODE、10进制、BCD 和 3X3X")                               \
    X(RenderDescription, "与窗口“串格式化”页相同：ASCII解析、两种字节顺序的 UNICODE解析、10进制数据、" \
      "BCD解析和 3X3X转换。")                                                                       \
    X(ConvertSynopsis, "--type 类型 [--bytes] [输入…]")                                             \
    X(ConvertSummary, "数据转换查询：数据与内存中的字节数组互转")                                   \
    X(ConvertDescription, "与窗口“数据转换查询”页相同：把数据转换为数组（低字节在前，浮点为 IEEE "  \
      "754），或用 --bytes 把数组转换为数据；检查和提示与窗口相同。")                               \
    X(DecodeSynopsis, "--vars 变量 [--region 起:止] [--order 类型=序号,…] [帧…]")                   \
    X(DecodeSummary, "字节数据分析：按类型和字节顺序解析变量")                                      \
    X(DecodeDescription, "与窗口“字节数据分析”页的“刷新列表”相同：变量从区域的首字节起依次排列，"   \
      "每个变量一行，列出序号、数据类型、长度、内存块信息和数值；放不下的变量显示“-”，"             \
      "解析到此为止。")                                                                             \
    X(FindSynopsis, "--value 读数 [--tolerance 误差] [--scales 倍率,…] [帧…]")                      \
    X(FindSummary, "查找数值：已知读数在帧中的位置、类型和字节顺序")                                \
    X(FindDescription, "与窗口“字节数据分析”页的“查找数值”相同：把帧的每个字节位置按每种数值类型（UCHAR、" \
      "CHAR、UINT、INT、FLOAT、DWORD、LONG 和 1 至 4 字节的 BCD）和它的每种字节顺序解析，"          \
      "乘以每个倍率，与读数比较；按误差排序，误差相同时倍率 1、第一种字节顺序、"                    \
      "较宽的类型在前，每帧最多列出 200 处。")                                                      \
    X(IdentifySynopsis, "[--min-share P] [--top N] [帧…]")                                          \
    X(IdentifySummary, "多帧识别：这台设备用的是哪种校验")                                          \
    X(IdentifyDescription, "读入全部帧（如串口监视软件的记录，配合 --extract），找出校验规则：模型（CRC " \
      "目录中全部 8、16、24、32 位的 CRC，8/16 位的和与异或及其与常数的组合，"                      \
      "Fletcher、Adler，以及“校验分析”页的六种方法），覆盖范围的起始位（从首字节数起）"             \
      "和结束位（从首字节或末字节数起），校验码的位置（紧随范围，其后可有结束符）"                  \
      "、字节顺序和编码（二进制或16进制文本）。规则按可信程度排序：覆盖的字节结果每帧相同的“结构性”规则排在后面，" \
      "其余按成立的帧数、校验码宽度、模型的简单程度和范围长度排序；不成立的帧以行号列出。"          \
      "没有规则在所有帧中成立时，按首字节把帧分类，每类各有规则。\n没有模型在九成以上的帧中成立时，" \
      "再求解未知的 CRC：在帧尾（其后可有 1、2 字节结束符；范围从第1至第4字节起，"                  \
      "或越过其后各帧都相同的字节）按 8、16、32 位和两种字节顺序放置校验码，由帧本身解出多项式、"   \
      "初始值、结果异或值和是否反转，以参数列出（如“CRC-16（多项式 0x8BB7，…）"                     \
      "”），与目录中的模型相同时以目录名称列出。需要至少三帧等长（或两对等长的帧）"                 \
      "；帧长各不相同时无法求解，长于 8192 字节的帧不参与求解。")                                   \
    /* the help texts */                                                                            \
    X(ProgramTitle, "%1 %2：在命令行上分析通信帧")                                                  \
    X(ProgramUsage, "用法：%1 <子命令> [选项] [输入…]")                                             \
    X(ProgramSubcommands, "子命令：")                                                               \
    X(ProgramOptions, "全局选项（放在子命令之前或之后）：")                                         \
    X(ProgramFooter, "用 “%1 <子命令> --help” 查看各子命令的用法。\n输入为参数，或文件和标准输入（“-”）" \
      "中的每一行；输出为 UTF-8。\n退出状态：0 全部输入均已读入；1 有输入行被拒绝（其余行照常处理）" \
      "；2 用法错误或文件无法读取。")                                                               \
    X(CommandUsage, "用法：%1 %2 %3")                                                               \
    X(CommandFrameInput, "每个参数为一帧 16进制数据（窗口的格式：两位一字节，空格可有可无）；参数都只是一个字节时合为一帧（如不加引号的 " \
      "01 03 00 00 00 0A C5 CD），几帧则每帧加引号作为一个参数，如 \"01 03 00 "                     \
      "00 00 0A C5 CD\" \"68 01 02 03 06 16\"。“-” 或 --file 从每行读一帧，没有参数时读标准输入。"  \
      "被拒绝的行在标准错误上报告为“第 N 行: <提示>”，其余行照常处理。")                            \
    X(CommandLineInput, "每个参数为一项输入；“-” 或 --file 从每行读一项，没有参数时读标准输入。"    \
      "被拒绝的行在标准错误上报告为“第 N 行: <提示>”。")                                            \
    X(CommandOptions, "选项：")                                                                     \
    /* usage errors */                                                                              \
    X(UnknownSubcommand, "%1: 未知子命令 %2\n用 “%1 --help” 查看子命令。")                          \
    X(UsageError, "%1 %2: %3\n用 “%1 %2 --help” 查看用法。")                                        \
    X(OutOfMemory, "%1: 内存不足，已中止")                                                          \
    X(UnexpectedError, "%1: 意外错误，已中止：%2")                                                  \
    X(UnexpectedErrorUnknown, "%1: 意外错误，已中止")                                               \
    X(UnknownLanguage, "%1: 未知的语言 %2（应为 en 或 zh）")                                        \
    X(UnknownOption, "未知选项 %1")                                                                 \
    X(OptionWithoutValue, "选项 %1 不带值")                                                         \
    X(OptionNeedsValue, "选项 %1 缺少值")                                                           \
    X(OptionNotWhole, "选项 %1 的值应为 %2 至 %3 的整数：%4")                                       \
    X(UnknownFormat, "未知的输出格式 %1（应为 text、csv 或 json）")                                 \
    X(UnknownMethod, "未知的校验方法 %1（应为 ALL、BCC、SUM、LRC、CRC16、CRC16S 或 CRC32）")        \
    X(ShareRange, "--min-share 的值应为大于 0、不超过 100 的百分数：%1")                            \
    X(ShareWithoutConsensus, "--min-share 只能与 --consensus 一起使用")                             \
    X(BothDirections, "--send 与 --receive 只能选一个")                                             \
    X(FullWithDirection, "--full、--join 与 --send、--receive 不能同时使用")                        \
    X(CsvFullAndJoin, "--format csv 只能与 --full 或 --join 之一一起使用")                          \
    X(MissingType, "缺少 --type（short、ushort、long、ulong、float 或 double）")                    \
    X(UnknownType, "未知的类型 %1（应为 short、ushort、long、ulong、float 或 double）")             \
    X(MissingVariables, "缺少 --vars（如 UCHAR,UINT,FLOAT,ANSI:5）")                                \
    X(UnknownVariable, "未知的变量 %1（类型为 UCHAR、CHAR、UINT、INT、FLOAT、DWORD、LONG、ANSI "    \
      "或 BCD，可带 :长度）")                                                                       \
    X(VariableLengthNotWhole, "变量 %1 的长度 应为整数：%2")                                        \
    X(BadOrder, "--order 的 %1 应为 类型=序号，类型为 UINT、INT、FLOAT、DWORD 或 LONG")             \
    X(OrderNotWhole, "--order %1 的序号 应为整数：%2")                                              \
    X(OrderRange, "--order %1 的序号应为 0 至 %2")                                                  \
    X(RegionShape, "--region 应为 起始字节:结束字节（从 1 数起）：%1")                              \
    X(RegionStartNotWhole, "--region 的起始字节 应为整数：%1")                                      \
    X(RegionEndNotWhole, "--region 的结束字节 应为整数：%1")                                        \
    X(RegionOrder, "--region 的起始字节应从 1 数起，且不大于结束字节：%1")                          \
    X(OptionRefused, "%1：%2")                                                                      \
    X(MissingReading, "缺少 --value（要查找的读数）")                                               \
    X(NegativeTolerance, "--tolerance 的值不能为负：%1")                                            \
    /* input */                                                                                     \
    X(CannotRead, "无法读取文件 %1：%2")                                                            \
    X(RefusedLine, "第 %1 行: %2")                                                                  \
    X(ArgumentIsFile, "（%1 是一个文件：读入文件请用 --file %1）")                                  \
    X(NoFrameByteAnalysis, "请先输入16进制数据！")                                                  \
    X(NoFrame, "请输入数据")                                                                        \
    /* output */                                                                                    \
    X(FrameHeading, "第 %1 行: %2")                                                                 \
    X(ColumnLine, "行")                                                                             \
    X(ColumnFrame, "16进制数据")                                                                    \
    X(ColumnInput, "输入")                                                                          \
    X(ColumnNumber, "序号")                                                                         \
    X(ColumnRule, "规则")                                                                           \
    X(ColumnMethod, "校验方法")                                                                     \
    X(ColumnStart, "起始位")                                                                        \
    X(ColumnEnd, "结束位")                                                                          \
    X(ColumnEndFrom, "结束位起点")                                                                  \
    X(ColumnHeld, "成立帧数")                                                                       \
    X(ColumnShare, "占比(%)")                                                                       \
    X(ColumnPdu, "PDU解析")                                                                         \
    X(ColumnAscii, "ASCII解析")                                                                     \
    X(ColumnUnicodeHighFirst, "UNICODE解析(FF1FF2)")                                                \
    X(ColumnUnicodeLowFirst, "UNICODE解析(FF2FF1)")                                                 \
    X(ColumnDecimal, "10进制数据")                                                                  \
    X(ColumnBcd, "BCD解析(16进制表示)")                                                             \
    X(Column3x3x, "3X3X转换")                                                                       \
    X(ColumnNumberBox, "数据")                                                                      \
    X(ColumnArray, "数组")                                                                          \
    X(ColumnOrder, "字节顺序")                                                                      \
    X(ColumnModel, "模型")                                                                          \
    X(ColumnTrailer, "结束符字节数")                                                                \
    X(ColumnEncoding, "校验码编码")                                                                 \
    X(ColumnStructural, "结构性")                                                                   \
    X(ColumnFrames, "帧数")                                                                         \
    X(ColumnFailing, "不成立的行")                                                                  \
    X(ColumnClass, "首字节")                                                                        \
    X(ConsensusEvery, "共 %1 帧，%2 条规则在每一帧中成立")                                          \
    X(ConsensusShare, "共 %1 帧，%2 条规则在至少 %3% 的帧中成立")                                   \
    X(ValueNotFound, "没有找到该数值")                                                              \
    X(ValueFoundMore, "共找到 %1 处，显示前 %2 处")                                                 \
    X(PduFieldsCsv, "行,字段,名称,偏移,长度,状态,值,说明")                                          \
    X(MessagesCsv, "消息,类型,对方号码,参考号,总部分数,各部分所在行,缺少的部分,内容")

enum class CliText : std::uint16_t { VELMORRA_CLI_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t CLI_TEXT_COUNT = 0 VELMORRA_CLI_TEXTS(VELMORRA_TEXT_ONE);

/// The text in the current language; "" for CliText::None.
const char* CliTextOf(CliText id);
const char* CliTextOf(CliText id, TextLanguage language);

/// The text in the current language with "%1", "%2" … replaced by the arguments.
std::string CliFormat(CliText id, std::initializer_list<std::string_view> args);
