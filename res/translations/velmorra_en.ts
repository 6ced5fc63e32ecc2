<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CAboutDialog</name>
    <message>
        <source>关于 Tessik通讯数据分析辅助工具</source>
        <translation>About Tessik Frame Analyser</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CByteAnalysisPage</name>
    <message>
        <source>16进制数据</source>
        <translation>Hex data</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>锁定数据</source>
        <translation>Lock data</translation>
    </message>
    <message>
        <source>解锁数据</source>
        <translation>Unlock data</translation>
    </message>
    <message>
        <source>头右移动</source>
        <translation>Head →</translation>
    </message>
    <message>
        <source>头左移动</source>
        <translation>← Head</translation>
    </message>
    <message>
        <source>尾右移动</source>
        <translation>Tail →</translation>
    </message>
    <message>
        <source>尾左移动</source>
        <translation>← Tail</translation>
    </message>
    <message>
        <source>数据类型内存分布设置</source>
        <translation>Byte order by type</translation>
    </message>
    <message>
        <source>查找数值</source>
        <translation>Find value</translation>
    </message>
    <message>
        <source>无符号短整形</source>
        <translation>Unsigned short</translation>
    </message>
    <message>
        <source>短整形</source>
        <translation>Short</translation>
    </message>
    <message>
        <source>浮点型</source>
        <translation>Float</translation>
    </message>
    <message>
        <source>无符号长整形</source>
        <translation>Unsigned long</translation>
    </message>
    <message>
        <source>长整形</source>
        <translation>Long</translation>
    </message>
    <message>
        <source>变量列表</source>
        <translation>Variables</translation>
    </message>
    <message>
        <source>工程转换</source>
        <translation>Engineering</translation>
    </message>
    <message>
        <source>数学转换</source>
        <translation>Math</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Refresh list</translation>
    </message>
    <message>
        <source>移 除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>上 移</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下 移</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>增 加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>数据类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>内存块信息</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>输入数据不符合要求，无法锁定数据！</source>
        <translation>The data is not valid and cannot be locked.</translation>
    </message>
    <message>
        <source>请首先锁定数据！</source>
        <translation>Lock the data first.</translation>
    </message>
    <message>
        <source>已右移到尾部！</source>
        <translation>The region already reaches the end.</translation>
    </message>
    <message>
        <source>已左移到首部！</source>
        <translation>The region already reaches the start.</translation>
    </message>
    <message>
        <source>请选择要移除的变量类型！</source>
        <translation>Select the variable to remove.</translation>
    </message>
    <message>
        <source>请选择要进行数学转换的数值！</source>
        <translation>Select the value for the math conversion.</translation>
    </message>
    <message>
        <source>请选择要进行工程转换的数值！</source>
        <translation>Select the value for the engineering conversion.</translation>
    </message>
    <message>
        <source>请先输入16进制数据！</source>
        <translation>Enter the hex data first.</translation>
    </message>
</context>
<context>
    <name>CChecksumPage</name>
    <message>
        <source>16进制数据</source>
        <translation>Hex data</translation>
    </message>
    <message>
        <source>校验方法</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>校验分析</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>停止分析</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>双击列表复制校验内容</source>
        <translation>Double-click copies the bytes</translation>
    </message>
    <message>
        <source>校验分析结果</source>
        <translation>Checksum analysis results</translation>
    </message>
    <message>
        <source>多帧识别…</source>
        <translation>Identify…</translation>
    </message>
    <message>
        <source>从多帧记录中识别这台设备用的校验</source>
        <translation>Identify the checksum this device uses from a log of many frames</translation>
    </message>
    <message>
        <source>正在分析…</source>
        <translation>Analysing…</translation>
    </message>
    <message>
        <source>请选择校验方式！</source>
        <translation>Choose a checksum method.</translation>
    </message>
    <message>
        <source>校验内容已复制到剪贴板！</source>
        <translation>The checked bytes have been copied to the clipboard.</translation>
    </message>
    <message>
        <source>复制选中行</source>
        <translation>Copy selected rows</translation>
    </message>
    <message>
        <source>复制全部行</source>
        <translation>Copy all rows</translation>
    </message>
    <message>
        <source>导出CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message numerus="yes">
        <source>已复制 %n 行到剪贴板</source>
        <translation>
            <numerusform>%n row copied to the clipboard</numerusform>
            <numerusform>%n rows copied to the clipboard</numerusform>
        </translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>校验分析.csv</source>
        <translation>checksums.csv</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 行到 %1</source>
        <translation>
            <numerusform>%n row exported to %1</numerusform>
            <numerusform>%n rows exported to %1</numerusform>
        </translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>已停止，共 %n 条</source>
        <translation>
            <numerusform>Stopped: %n match</numerusform>
            <numerusform>Stopped: %n matches</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>分析完成，共 %n 条</source>
        <translation>
            <numerusform>Finished: %n match</numerusform>
            <numerusform>Finished: %n matches</numerusform>
        </translation>
    </message>
    <message>
        <source>正在停止…</source>
        <translation>Stopping…</translation>
    </message>
    <message numerus="yes">
        <source>正在分析… 已找到 %n 条</source>
        <translation>
            <numerusform>Analysing… %n match so far</numerusform>
            <numerusform>Analysing… %n matches so far</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CConversionPage</name>
    <message>
        <source>数据</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>短整形</source>
        <translation>Short</translation>
    </message>
    <message>
        <source>无符号短整形</source>
        <translation>Unsigned short</translation>
    </message>
    <message>
        <source>长整形</source>
        <translation>Long</translation>
    </message>
    <message>
        <source>无符号长整形</source>
        <translation>Unsigned long</translation>
    </message>
    <message>
        <source>浮点型（7位有效数字）</source>
        <translation>Float (7 significant digits)</translation>
    </message>
    <message>
        <source>双精度型（15位有效数字）</source>
        <translation>Double (15 significant digits)</translation>
    </message>
    <message>
        <source>数组</source>
        <translation>Bytes</translation>
    </message>
</context>
<context>
    <name>CEngineeringConversionDialog</name>
    <message>
        <source>工程转换</source>
        <translation>Engineering Conversion</translation>
    </message>
    <message>
        <source>AD值下限:</source>
        <translation>AD low:</translation>
    </message>
    <message>
        <source>AD值上限:</source>
        <translation>AD high:</translation>
    </message>
    <message>
        <source>输出下限:</source>
        <translation>Out low:</translation>
    </message>
    <message>
        <source>输出上限:</source>
        <translation>Out high:</translation>
    </message>
    <message>
        <source>量程下限:</source>
        <translation>EU low:</translation>
    </message>
    <message>
        <source>量程上限:</source>
        <translation>EU high:</translation>
    </message>
    <message>
        <source>测试数据:</source>
        <translation>Test value:</translation>
    </message>
    <message>
        <source>测试结果:</source>
        <translation>Result:</translation>
    </message>
    <message>
        <source>测  试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>退  出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>工程转换参数需设置完整！</source>
        <translation>Fill in every parameter of the engineering conversion.</translation>
    </message>
    <message>
        <source>上下限数据设置有误，请检查！</source>
        <translation>The low and high limits are not valid; please check them.</translation>
    </message>
    <message>
        <source>上下限相等，无法换算</source>
        <translation>Low and high limits are equal: no conversion</translation>
    </message>
    <message>
        <source>超出数值范围</source>
        <translation>Out of the number range</translation>
    </message>
    <message>
        <source>测试结果: %1</source>
        <translation>Result: %1</translation>
    </message>
</context>
<context>
    <name>CFindValueDialog</name>
    <message>
        <source>查找数值</source>
        <translation>Find Value</translation>
    </message>
    <message>
        <source>实测数值:</source>
        <translation>Reading:</translation>
    </message>
    <message>
        <source>允许误差:</source>
        <translation>Tolerance:</translation>
    </message>
    <message>
        <source>误差方式</source>
        <translation>Tolerance mode</translation>
    </message>
    <message>
        <source>倍率:</source>
        <translation>Scales:</translation>
    </message>
    <message>
        <source>查找结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>查找结果列表</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>起始位</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>数据类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>字节顺序</source>
        <translation>Byte order</translation>
    </message>
    <message>
        <source>内存块信息</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>误差</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Absolute</translation>
    </message>
    <message>
        <source>没有找到该数值</source>
        <translation>The value was not found</translation>
    </message>
    <message numerus="yes">
        <source>共找到 %n 处，按误差排列，显示前 %1 处</source>
        <translation>
            <numerusform>%n hit, closest first; the first %1 shown</numerusform>
            <numerusform>%n hits, closest first; the first %1 shown</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>共找到 %n 处，按误差排列</source>
        <translation>
            <numerusform>%n hit, closest first</numerusform>
            <numerusform>%n hits, closest first</numerusform>
        </translation>
    </message>
    <message>
        <source>已复制到剪贴板：%1</source>
        <translation>Copied to the clipboard: %1</translation>
    </message>
</context>
<context>
    <name>CHexInput</name>
    <message>
        <source>粘贴并整理</source>
        <translation>Paste and tidy</translation>
    </message>
</context>
<context>
    <name>CIdentifyDialog</name>
    <message>
        <source>多帧识别</source>
        <translation>Checksum Identification</translation>
    </message>
    <message>
        <source>帧记录（每行一帧16进制数据，可直接粘贴串口监视软件的记录，或把记录文件拖到这里）：</source>
        <translation>Frame log (one frame of hex data per line; paste a serial monitor&apos;s log as it is, or drop a log file here):</translation>
    </message>
    <message>
        <source>按日志行读取：取每行中最长的一段16进制数据（记录含时间戳、收发标记时）</source>
        <translation>Read as log lines: take the longest run of hex pairs in each line (for logs with time stamps or direction marks)</translation>
    </message>
    <message>
        <source>打开文件…</source>
        <translation>Open file…</translation>
    </message>
    <message>
        <source>识别</source>
        <translation>Identify</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>识别进度</source>
        <translation>Identification progress</translation>
    </message>
    <message>
        <source>识别结果（可信的规则在前；选中一条，下方的帧中标出它的范围和校验码）：</source>
        <translation>Rules found (the most credible first; select one to mark its range and check value in the frame below):</translation>
    </message>
    <message>
        <source>显示帧：</source>
        <translation>Frame:</translation>
    </message>
    <message>
        <source>绿底：校验范围&#x3000;橙底：校验码</source>
        <translation>Green: checked range   Orange: check value</translation>
    </message>
    <message>
        <source>所选规则在帧中的位置</source>
        <translation>Where the selected rule lies in the frame</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>无法打开文件 %1：%2</source>
        <translation>Cannot open the file %1: %2</translation>
    </message>
    <message>
        <source>文件 %1 太大（超过 64 MB），请只取其中一段记录。</source>
        <translation>The file %1 is too large (over 64 MB); please take a part of the log.</translation>
    </message>
    <message>
        <source>已读入 %1</source>
        <translation>Loaded %1</translation>
    </message>
    <message>
        <source>打开帧记录</source>
        <translation>Open Frame Log</translation>
    </message>
    <message>
        <source>记录文件 (*.txt *.log *.csv);;所有文件 (*)</source>
        <translation>Log files (*.txt *.log *.csv);;All files (*)</translation>
    </message>
    <message>
        <source>请输入要识别的帧记录（每行一帧）！</source>
        <translation>Enter the frames to identify, one per line.</translation>
    </message>
    <message numerus="yes">
        <source>正在识别 %n 帧…</source>
        <translation>
            <numerusform>Identifying %n frame…</numerusform>
            <numerusform>Identifying %n frames…</numerusform>
        </translation>
    </message>
    <message>
        <source>正在停止…</source>
        <translation>Stopping…</translation>
    </message>
    <message>
        <source>第 %1 行: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>另有 %n 行未能读入</source>
        <translation>
            <numerusform>%n more line could not be read</numerusform>
            <numerusform>%n more lines could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>记录第 %1 行，%n 字节</source>
        <translation>
            <numerusform>Log line %1, %n byte</numerusform>
            <numerusform>Log line %1, %n bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CInfoPage</name>
    <message>
        <source>资讯信息</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>CMainApp</name>
    <message>
        <source>未知异常</source>
        <translation>Unknown exception</translation>
    </message>
    <message>
        <source>%1: --lang 只接受 en（英文）或 zh（中文）</source>
        <translation>%1: --lang takes en (English) or zh (Chinese)</translation>
    </message>
</context>
<context>
    <name>CMainDialog</name>
    <message>
        <source>资讯信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>分析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>串格式化</source>
        <translation>String formatting</translation>
    </message>
    <message>
        <source>数据转换查询</source>
        <translation>Data conversion</translation>
    </message>
    <message>
        <source>校验分析</source>
        <translation>Checksum analysis</translation>
    </message>
    <message>
        <source>字节数据分析</source>
        <translation>Byte data analysis</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>欢迎访问%1</source>
        <translation>Welcome to %1</translation>
    </message>
</context>
<context>
    <name>CMathConversionDialog</name>
    <message>
        <source>数学转换</source>
        <translation>Math Conversion</translation>
    </message>
    <message>
        <source>mathdata表示为当前数值      支持JScript</source>
        <translation>mathdata stands for the value      JavaScript syntax</translation>
    </message>
    <message>
        <source>输入测试值:</source>
        <translation>Test value:</translation>
    </message>
    <message>
        <source>测试结果为:</source>
        <translation>Result:</translation>
    </message>
    <message>
        <source>测 试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>退 出</source>
        <translation>Close</translation>
    </message>
    <message numerus="yes">
        <source>脚本运行超过%n秒，已中止，请检查公式！</source>
        <translation>
            <numerusform>The script ran for more than %n second and was stopped; please check the formula.</numerusform>
            <numerusform>The script ran for more than %n seconds and was stopped; please check the formula.</numerusform>
        </translation>
    </message>
    <message>
        <source>测试结果为:  %1</source>
        <translation>Result:  %1</translation>
    </message>
</context>
<context>
    <name>CSmsDetailDialog</name>
    <message>
        <source>PDU 详细解码</source>
        <translation>PDU in Detail</translation>
    </message>
    <message>
        <source>PDU（每行一条；粘贴长短信的各部分时拼接成整条消息）:</source>
        <translation>PDUs (one per line; the parts of a long message are joined into the whole message):</translation>
    </message>
    <message>
        <source>字段:</source>
        <translation>Fields:</translation>
    </message>
    <message>
        <source>字段</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>字节</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>PDU 字节（选中字段的字节已标出）:</source>
        <translation>PDU bytes (the selected field&apos;s bytes are marked):</translation>
    </message>
    <message>
        <source>短信内容:</source>
        <translation>Message text:</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>%1，%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1，第 %2/%3 部分</source>
        <translation>%1, part %2/%3</translation>
    </message>
    <message>
        <source>%1（有问题，见下）</source>
        <translation>%1 (with problems, see below)</translation>
    </message>
    <message numerus="yes">
        <source>%n 字节</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
    <message>
        <source>问题</source>
        <translation>Problem</translation>
    </message>
    <message numerus="yes">
        <source>%1，共 %n 部分</source>
        <translation>
            <numerusform>%1, %n part</numerusform>
            <numerusform>%1, %n parts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1，缺 %n 部分</source>
        <translation>
            <numerusform>%1, %n part missing</numerusform>
            <numerusform>%1, %n parts missing</numerusform>
        </translation>
    </message>
    <message>
        <source>拼接后的消息 %1</source>
        <translation>Joined message %1</translation>
    </message>
    <message>
        <source>缺失</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>第 %1 部分</source>
        <translation>Part %1</translation>
    </message>
    <message>
        <source>%1–%2</source>
        <translation>%1–%2</translation>
    </message>
</context>
<context>
    <name>CStringFormatPage</name>
    <message>
        <source>16进制数据</source>
        <translation>Hex data</translation>
    </message>
    <message>
        <source>ASCII解析</source>
        <translation>ASCII</translation>
    </message>
    <message>
        <source>BCD解析(16进制表示)</source>
        <translation>BCD (as hex digits)</translation>
    </message>
    <message>
        <source>UNICODE解析</source>
        <translation>UNICODE</translation>
    </message>
    <message>
        <source>10进制数据</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>3X3X转换</source>
        <translation>3X3X</translation>
    </message>
    <message>
        <source>PDU解析</source>
        <translation>SMS PDU</translation>
    </message>
    <message>
        <source>发送解码</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>接收解码</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>详细…</source>
        <translation>Details…</translation>
    </message>
    <message>
        <source>完整解码任何 PDU：逐字段列出，标出各字段的字节，拼接长短信</source>
        <translation>Decode any PDU in full: every field with its bytes marked, the parts of long messages joined</translation>
    </message>
</context>
<context>
    <name>Product</name>
    <message>
        <source>Tessik通讯数据分析辅助工具</source>
        <translation>Tessik Frame Analyser</translation>
    </message>
    <message>
        <source>通讯数据分析辅助工具V%1</source>
        <translation>Frame Analyser V%1</translation>
    </message>
    <message>
        <source>Tessik工作室</source>
        <translation>Tessik Studio</translation>
    </message>
    <message>
        <source>Copyright (C) 2010-2026 Tessik工作室</source>
        <translation>Copyright (C) 2010-2026 Tessik Studio</translation>
    </message>
</context>
</TS>
