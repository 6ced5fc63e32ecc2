#include "cli/cli_commands.h"

#include <algorithm>
#include <vector>

#include "cli/cli_output.h"
#include "cli/frame_input.h"
#include "common/version.h"

namespace {

constexpr char PROGRAM[] = "velmorra-cli";

const CliOption HELP_OPTION{"--help", nullptr, "显示本帮助"};

const CliOption CHECKSUM_OPTIONS[] = {
    {"--method", "方法", "ALL（默认，依次为全部六种）、BCC、SUM、LRC、CRC16、CRC16S 或 CRC32"},
    {"--min-length", "N", "只报告至少 N 字节的校验范围（默认 1）"},
    {"--consensus", nullptr, "不逐帧列出，而是找出在所有帧中都成立的校验规则"},
    {"--min-share", "P", "与 --consensus 一起：列出至少在 P% 的帧中成立的规则（默认 100）"},
};

const CliOption PDU_OPTIONS[] = {
    {"--send", nullptr, "发送解码（默认）"},
    {"--receive", nullptr, "接收解码"},
    {"--full", nullptr, "完整解码（3GPP TS 23.040/23.038）：任何 PDU，含或不含短信中心地址，逐字段列出"},
    {"--join", nullptr, "把长短信的各部分（同一对方号码和参考号）按序号拼接，列出缺少的部分"},
};

const CliOption CONVERT_OPTIONS[] = {
    {"--type", "类型", "short、ushort、long、ulong、float 或 double（必须给出）"},
    {"--bytes", nullptr, "输入为数组（16进制，最多 8 字节，低字节在前），转换为数据；否则输入为数据。"
                         "参数都只是一个字节时合为一个数组"},
};

const CliOption DECODE_OPTIONS[] = {
    {"--vars", "变量", "变量表，如 UCHAR,UINT,FLOAT,ANSI:5：类型 UCHAR、CHAR、UINT、INT、FLOAT、DWORD、LONG、ANSI、BCD，"
                       ":长度 可选（默认为窗口选择该类型时填入的长度）"},
    {"--region", "起:止", "解析区域的首、末字节，从 1 数起（默认整帧；超出帧尾的部分截去）"},
    {"--order", "类型=序号,…", "各类型的字节顺序，序号从 0 数起，如 UINT=1,FLOAT=3：UINT、INT 为 0 FF1 FF2、1 FF2 FF1；"
                               "FLOAT、DWORD、LONG 为 0 FF1 FF2 FF3 FF4、1 FF4 FF3 FF2 FF1、2 FF2 FF1 FF4 FF3、"
                               "3 FF3 FF4 FF1 FF2（默认与窗口相同：UINT=0,INT=0,FLOAT=3,DWORD=3,LONG=3）"},
};

const CliOption FIND_OPTIONS[] = {
    {"--value", "读数", "要查找的读数，如仪表上显示的 230.5（必须给出）"},
    {"--tolerance", "误差", "允许的误差：绝对值，或读数的百分比如 1%（默认 0.05）"},
    {"--scales", "倍率,…", "依次尝试的倍率（默认 1,0.1,0.01,0.001：设备常把 230.5 发成 2305）"},
};

const CliOption IDENTIFY_OPTIONS[] = {
    {"--min-share", "P", "列出至少在 P% 的帧（有分类时为该类的帧）中成立的规则（默认 50）"},
    {"--top", "N", "每类最多列出 N 条规则（默认 10）"},
};

const CliCommand COMMANDS[] = {
    {"checksum", "[选项] [帧…]", "校验分析：查找紧随其后就是自身校验码的字节范围",
     "对每帧尝试所选校验方法的每个连续字节范围，列出校验码紧随其后的范围，列与窗口的“校验分析”页相同；"
     "ALL 按方法分组、依次列出。\n"
     "用 --consensus 时读入全部帧，找出在每帧（或至少 --min-share 的帧）中都成立的规则：方法、"
     "从首字节数起的起始位，以及从首字节或从末字节数起的结束位，校验码紧随范围之后；"
     "按成立的帧数、再按范围长度排序。",
     CHECKSUM_OPTIONS, FRAME_INPUT | OUTPUT, RunChecksum},
    {"pdu", "[--send|--receive|--full|--join] [帧…]", "PDU解析：把帧作为短信 PDU 解码",
     "与窗口“串格式化”页的“PDU解析”相同：以 089 开头的数据按发送或接收格式解码，否则为“非PDU编码格式”。\n"
     "用 --full 时完整解码每条 PDU（模块列出的带短信中心地址的形式，或 AT+CMGS 不带它的形式，按长度判断），"
     "逐字段列出含义和所在字节；--format json 的键为英文。用 --join 时把多条 PDU 中同一长短信的各部分拼接成整条消息。"
     "与 --extract 一起时，取每行中最长的一串16进制数（不足 7 字节的不算）。",
     PDU_OPTIONS, FRAME_INPUT | OUTPUT, RunPduCommand},
    {"render", "[帧…]", "串格式化：ASCII、UNICODE、10进制、BCD 和 3X3X",
     "与窗口“串格式化”页相同：ASCII解析、两种字节顺序的 UNICODE解析、10进制数据、BCD解析和 3X3X转换。",
     {}, FRAME_INPUT | OUTPUT, RunRender},
    {"convert", "--type 类型 [--bytes] [输入…]", "数据转换查询：数据与内存中的字节数组互转",
     "与窗口“数据转换查询”页相同：把数据转换为数组（低字节在前，浮点为 IEEE 754），"
     "或用 --bytes 把数组转换为数据；检查和提示与窗口相同。",
     CONVERT_OPTIONS, LINE_INPUT | OUTPUT, RunConvert},
    {"decode", "--vars 变量 [--region 起:止] [--order 类型=序号,…] [帧…]", "字节数据分析：按类型和字节顺序解析变量",
     "与窗口“字节数据分析”页的“刷新列表”相同：变量从区域的首字节起依次排列，每个变量一行，"
     "列出序号、数据类型、长度、内存块信息和数值；放不下的变量显示“-”，解析到此为止。",
     DECODE_OPTIONS, FRAME_INPUT | OUTPUT, RunDecode},
    {"find", "--value 读数 [--tolerance 误差] [--scales 倍率,…] [帧…]", "查找数值：已知读数在帧中的位置、类型和字节顺序",
     "与窗口“字节数据分析”页的“查找数值”相同：把帧的每个字节位置按每种数值类型（UCHAR、CHAR、UINT、INT、FLOAT、"
     "DWORD、LONG 和 1 至 4 字节的 BCD）和它的每种字节顺序解析，乘以每个倍率，与读数比较；"
     "按误差排序，误差相同时倍率 1、第一种字节顺序、较宽的类型在前，每帧最多列出 200 处。",
     FIND_OPTIONS, FRAME_INPUT | OUTPUT, RunFind},
    {"identify", "[--min-share P] [--top N] [帧…]", "多帧识别：这台设备用的是哪种校验",
     "读入全部帧（如串口监视软件的记录，配合 --extract），找出校验规则：模型（CRC 目录中全部 8、16、24、32 位的 CRC，"
     "8/16 位的和与异或及其与常数的组合，Fletcher、Adler，以及“校验分析”页的六种方法），覆盖范围的起始位"
     "（从首字节数起）和结束位（从首字节或末字节数起），校验码的位置（紧随范围，其后可有结束符）、字节顺序和编码"
     "（二进制或16进制文本）。规则按可信程度排序：覆盖的字节结果每帧相同的“结构性”规则排在后面，"
     "其余按成立的帧数、校验码宽度、模型的简单程度和范围长度排序；不成立的帧以行号列出。"
     "没有规则在所有帧中成立时，按首字节把帧分类，每类各有规则。\n"
     "没有模型在九成以上的帧中成立时，再求解未知的 CRC：在帧尾（其后可有 1、2 字节结束符；范围从第1至第4字节起，或越过其后各帧都相同的字节）"
     "按 8、16、32 位和两种字节顺序放置校验码，由帧本身解出多项式、初始值、结果异或值和是否反转，"
     "以参数列出（如“CRC-16（多项式 0x8BB7，…）”），与目录中的模型相同时以目录名称列出。"
     "需要至少三帧等长（或两对等长的帧）；帧长各不相同时无法求解，长于 8192 字节的帧不参与求解。",
     IDENTIFY_OPTIONS, FRAME_INPUT | OUTPUT, RunIdentify},
};

// Everything a subcommand accepts: its own options, then the shared ones, then --help.
std::vector<CliOption> AllOptions(const CliCommand& command)
{
    std::vector<CliOption> options(command.options.begin(), command.options.end());
    if (command.groups & FRAME_INPUT)
        options.insert(options.end(), FrameInputOptions().begin(), FrameInputOptions().end());
    if (command.groups & LINE_INPUT)
        options.insert(options.end(), LineInputOptions().begin(), LineInputOptions().end());
    if (command.groups & OUTPUT)
        options.insert(options.end(), OutputOptions().begin(), OutputOptions().end());
    options.push_back(HELP_OPTION);
    return options;
}

void Print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

// "  name  help" lines, the help texts aligned.
void PrintList(std::FILE* out, const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::size_t width = 0;
    for (const auto& [name, help] : entries)
        width = std::max(width, DisplayWidth(name));
    for (const auto& [name, help] : entries)
        Print(out, "  " + name + std::string(width + 2 - DisplayWidth(name), ' ') + help + "\n");
}

void PrintProgramHelp(std::FILE* out)
{
    Print(out, std::string(PROGRAM) + " " + VELMORRA_VERSION + "：在命令行上分析通信帧\n\n用法：" + PROGRAM +
                   " <子命令> [选项] [输入…]\n\n子命令：\n");
    std::vector<std::pair<std::string, std::string>> entries;
    for (const CliCommand& command : COMMANDS)
        entries.emplace_back(command.name, command.summary);
    PrintList(out, entries);
    Print(out, std::string("\n用 “") + PROGRAM + " <子命令> --help” 查看各子命令的用法。\n"
               "输入为参数，或文件和标准输入（“-”）中的每一行；输出为 UTF-8。\n"
               "退出状态：0 全部输入均已读入；1 有输入行被拒绝（其余行照常处理）；2 用法错误或文件无法读取。\n");
}

void PrintCommandHelp(std::FILE* out, const CliCommand& command)
{
    Print(out, std::string("用法：") + PROGRAM + " " + command.name + " " + command.synopsis + "\n\n" +
                   command.description + "\n\n");
    if (command.groups & FRAME_INPUT)
        Print(out, "每个参数为一帧 16进制数据（窗口的格式：两位一字节，空格可有可无）；参数都只是一个字节时合为一帧"
                   "（如不加引号的 01 03 00 00 00 0A C5 CD），几帧则每帧加引号作为一个参数，如 \"01 03 00 00 00 0A C5 CD\" "
                   "\"68 01 02 03 06 16\"。“-” 或 --file 从每行读一帧，"
                   "没有参数时读标准输入。被拒绝的行在标准错误上报告为“第 N 行: <提示>”，其余行照常处理。\n\n");
    else if (command.groups & LINE_INPUT)
        Print(out, "每个参数为一项输入；“-” 或 --file 从每行读一项，没有参数时读标准输入。"
                   "被拒绝的行在标准错误上报告为“第 N 行: <提示>”。\n\n");
    Print(out, "选项：\n");
    std::vector<std::pair<std::string, std::string>> entries;
    for (const CliOption& option : AllOptions(command))
        entries.emplace_back(std::string(option.name) + (option.valueName ? std::string(" ") + option.valueName : ""),
                             option.help);
    PrintList(out, entries);
}

} // namespace

std::span<const CliCommand> CliCommands()
{
    return COMMANDS;
}

int RunCli(std::span<const std::string> args, CliContext& context)
{
    if (args.empty()) {
        PrintProgramHelp(context.err);
        return EXIT_USAGE;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintProgramHelp(context.out);
        return EXIT_ALL_READ;
    }
    if (args[0] == "--version") {
        Print(context.out, std::string(PROGRAM) + " " + VELMORRA_VERSION + "\n");
        return EXIT_ALL_READ;
    }
    const auto command = std::find_if(std::begin(COMMANDS), std::end(COMMANDS),
                                      [&](const CliCommand& c) { return args[0] == c.name; });
    if (command == std::end(COMMANDS)) {
        std::fprintf(context.err, "%s: 未知子命令 %s\n用 “%s --help” 查看子命令。\n", PROGRAM, args[0].c_str(), PROGRAM);
        return EXIT_USAGE;
    }
    try {
        const std::vector<CliOption> options = AllOptions(*command);
        const CCommandLine commandLine(args.subspan(1), options);
        if (commandLine.Has(HELP_OPTION.name)) {
            PrintCommandHelp(context.out, *command);
            return EXIT_ALL_READ;
        }
        context.Raise(command->run(commandLine, context));
    } catch (const CUsageError& error) {
        std::fflush(context.out);
        std::fprintf(context.err, "%s %s: %s\n用 “%s %s --help” 查看用法。\n", PROGRAM, command->name, error.what(),
                     PROGRAM, command->name);
        return EXIT_USAGE;
    }
    return context.status;
}
