#pragma once
// Every text of the SMS decoder that a person reads: field names and words for values (the list
// below, Chinese; further languages in sms_texts.cpp). "%1", "%2" … stand for the arguments of
// SmsFormat. UTF-8.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text_table.h"

#define VELMORRA_SMS_TEXTS(X)                                                                        \
    /* field names */                                                                                \
    X(FieldForm, "PDU 形式")                                                                         \
    X(FieldCentre, "短信中心地址")                                                                   \
    X(FieldAddressLength, "地址长度")                                                                \
    X(FieldTypeOfAddress, "号码类型")                                                                \
    X(FieldNumber, "号码")                                                                           \
    X(FieldFirstOctet, "首字节")                                                                     \
    X(FieldMessageType, "消息类型 TP-MTI")                                                           \
    X(FieldMoreMessages, "更多消息 TP-MMS")                                                          \
    X(FieldLoopPrevention, "防环路 TP-LP")                                                           \
    X(FieldRejectDuplicates, "拒绝重复 TP-RD")                                                       \
    X(FieldValidityFormat, "有效期格式 TP-VPF")                                                      \
    X(FieldStatusReportRequest, "要求状态报告 TP-SRR")                                               \
    X(FieldStatusReportIndication, "状态报告指示 TP-SRI")                                            \
    X(FieldStatusReportQualifier, "状态报告针对 TP-SRQ")                                             \
    X(FieldHeaderIndicator, "用户数据头指示 TP-UDHI")                                                \
    X(FieldReplyPath, "回复路径 TP-RP")                                                              \
    X(FieldMessageReference, "消息参考号 TP-MR")                                                     \
    X(FieldOriginator, "发送方地址 TP-OA")                                                           \
    X(FieldDestination, "接收方地址 TP-DA")                                                          \
    X(FieldRecipient, "收件人地址 TP-RA")                                                            \
    X(FieldProtocol, "协议标识 TP-PID")                                                              \
    X(FieldCoding, "数据编码方案 TP-DCS")                                                            \
    X(FieldCodingGroup, "编码组")                                                                    \
    X(FieldAlphabet, "字符集")                                                                       \
    X(FieldMessageClass, "消息类别")                                                                 \
    X(FieldCompressed, "压缩")                                                                       \
    X(FieldIndication, "消息等待指示")                                                               \
    X(FieldCentreTime, "服务中心时间戳 TP-SCTS")                                                     \
    X(FieldDischargeTime, "处理时间 TP-DT")                                                          \
    X(FieldValidity, "有效期 TP-VP")                                                                 \
    X(FieldValidityFunction, "功能指示")                                                             \
    X(FieldStatus, "状态 TP-ST")                                                                     \
    X(FieldParameters, "参数指示 TP-PI")                                                             \
    X(FieldCommandType, "命令类型 TP-CT")                                                            \
    X(FieldMessageNumber, "消息编号 TP-MN")                                                          \
    X(FieldCommandDataLength, "命令数据长度 TP-CDL")                                                 \
    X(FieldCommandData, "命令数据 TP-CD")                                                            \
    X(FieldUserDataLength, "用户数据长度 TP-UDL")                                                    \
    X(FieldUserData, "用户数据 TP-UD")                                                               \
    X(FieldHeaderLength, "用户数据头长度")                                                           \
    X(FieldHeader, "用户数据头")                                                                     \
    X(FieldElement, "信息单元")                                                                      \
    X(FieldElementLength, "长度")                                                                    \
    X(FieldConcatenation, "长短信拼接")                                                              \
    X(FieldReference, "参考号")                                                                      \
    X(FieldParts, "总部分数")                                                                        \
    X(FieldPart, "本部分序号")                                                                       \
    X(FieldPorts, "应用端口")                                                                        \
    X(FieldDestinationPort, "目的端口")                                                              \
    X(FieldOriginatorPort, "源端口")                                                                 \
    X(FieldSingleShift, "国家语言单次转换表")                                                        \
    X(FieldLockingShift, "国家语言锁定转换表")                                                       \
    X(FieldSpecialIndication, "特殊短信指示")                                                        \
    X(FieldElementData, "数据")                                                                      \
    X(FieldFillBits, "填充位")                                                                       \
    X(FieldText, "短信内容")                                                                         \
    X(FieldData, "数据")                                                                             \
    X(FieldAscii, "ASCII")                                                                           \
    X(FieldExtra, "多余字节")                                                                        \
    /* the PDU form */                                                                               \
    X(FormCentreFirst, "以短信中心地址开头")                                                         \
    X(FormTpduOnly, "从首字节开始，不含短信中心地址（AT+CMGS 的形式）")                              \
    X(FormFits, "%1（长度吻合）")                                                                    \
    X(FormDoesNotFit, "%1（长度不吻合，按最接近的解读）")                                            \
    X(FormAsCommand, "%1；消息类型 2 按 SMS-COMMAND 解读（长度吻合）")                               \
    /* lengths, states, bytes */                                                                     \
    X(Missing, "缺失")                                                                               \
    X(Truncated, "%1（不完整）")                                                                     \
    X(Octets, "%1 字节")                                                                             \
    X(CentreLength, "%1 字节（号码类型和号码）")                                                     \
    X(Digits, "%1 位数字")                                                                           \
    X(AlphanumericLength, "%1 个半字节（字母数字地址，%2 个字符）")                                  \
    X(Septets, "%1 个字符（7 位）")                                                                  \
    X(Bits, "%1 位")                                                                                 \
    X(Hex, "0x%1")                                                                                   \
    X(HexWords, "0x%1：%2")                                                                          \
    X(ValueWords, "%1：%2")                                                                          \
    X(Yes, "是")                                                                                     \
    X(No, "否")                                                                                      \
    X(ListSeparator, "、")                                                                           \
    /* problems */                                                                                   \
    X(ProblemNoData, "没有数据")                                                                     \
    X(ProblemMissing, "PDU 在第 %1 字节后结束，缺少：%2")                                                                      \
    X(ProblemTruncated, "%1 不完整：应有 %2 字节，只有 %3 字节")                                      \
    X(ProblemExtra, "最后一个字段之后多出 %1 字节")                                                  \
    X(ProblemTextShort, "短信内容少了 %1 个字符")                                                    \
    X(ProblemHeaderTooLong, "用户数据头长度 %1 超过了用户数据")                                      \
    X(ProblemUserDataTooLong, "用户数据长度 %1 超过标准上限（160 个 7 位字符或 140 字节）")         \
    X(ProblemOddUcs2, "UCS2 内容多出半个字符（1 字节）")                                             \
    X(ProblemElementCut, "信息单元 0x%1 超出了用户数据头")                                           \
    X(ProblemBadConcatenation, "拼接信息无效：第 %1 部分 / 共 %2 部分")                              \
    X(ProblemCentreTooLong, "短信中心地址长度 %1 超过 11 字节")                                      \
    X(ProblemAddressTooLong, "地址长度 %1 超过 20 位")                                               \
    /* addresses */                                                                                  \
    X(NumberInternational, "%1（国际号码）")                                                         \
    X(NumberNational, "%1（国内号码）")                                                              \
    X(NumberAlphanumeric, "%1（字母数字地址）")                                                      \
    X(NumberOther, "%1（%2）")                                                                       \
    X(NumberNone, "未给出（使用模块中设置的短信中心）")                                              \
    X(NumberEmpty, "空")                                                                             \
    X(TonUnknown, "未知类型")                                                                        \
    X(TonInternational, "国际号码")                                                                  \
    X(TonNational, "国内号码")                                                                       \
    X(TonNetwork, "网络专用号码")                                                                    \
    X(TonSubscriber, "用户号码")                                                                     \
    X(TonAlphanumeric, "字母数字（GSM 7 位）")                                                       \
    X(TonAbbreviated, "缩位号码")                                                                    \
    X(TonReserved, "保留类型")                                                                       \
    X(NpiUnknown, "未知编号方案")                                                                    \
    X(NpiIsdn, "ISDN/电话编号方案（E.164）")                                                   \
    X(NpiData, "数据编号方案（X.121）")                                                              \
    X(NpiTelex, "电传编号方案")                                                                      \
    X(NpiCentreSpecific, "服务中心专用编号方案")                                                     \
    X(NpiNational, "国内编号方案")                                                                   \
    X(NpiPrivate, "专用编号方案")                                                                    \
    X(NpiErmes, "ERMES 编号方案")                                                                    \
    X(NpiReserved, "保留编号方案")                                                                   \
    X(TypeOfAddress, "0x%1：%2，%3")                                                                 \
    /* first octet */                                                                                \
    X(TypeDeliver, "SMS-DELIVER（网络下发给手机的短信）")                                            \
    X(TypeSubmit, "SMS-SUBMIT（手机提交给网络的短信）")                                              \
    X(TypeStatusReport, "SMS-STATUS-REPORT（状态报告）")                                             \
    X(TypeCommand, "SMS-COMMAND（命令）")                                                            \
    X(TypeReserved, "保留的消息类型 3")                                                              \
    X(MoreMessagesWaiting, "服务中心还有消息等待发送")                                               \
    X(NoMoreMessages, "没有更多消息")                                                                \
    X(VpfNone, "无有效期")                                                                           \
    X(VpfRelative, "相对格式（1 字节）")                                                             \
    X(VpfEnhanced, "增强格式（7 字节）")                                                             \
    X(VpfAbsolute, "绝对格式（7 字节时间）")                                                         \
    X(QualifierSubmit, "以前提交的短信")                                                             \
    X(QualifierCommand, "以前的命令")                                                                \
    X(HeaderPresent, "有，用户数据以用户数据头开始")                                                 \
    /* protocol identifier */                                                                        \
    X(PidDefault, "普通短信")                                                                        \
    X(PidSmeProtocol, "SME 间协议 %1")                                                               \
    X(PidTelematic, "远程信息设备互通：%1")                                                          \
    X(PidShortMessageType0, "短信类型 0（手机只确认，不存储）")                                      \
    X(PidReplace, "替换短信类型 %1")                                                                 \
    X(PidEnhancedMessage, "增强消息服务（已废弃）")                                                  \
    X(PidReturnCall, "回拨消息")                                                                     \
    X(PidAnsi136, "ANSI-136 R-DATA")                                                                 \
    X(PidMeDownload, "ME 数据下载")                                                                  \
    X(PidMeDepersonalization, "ME 去个性化短信")                                                     \
    X(PidSimDownload, "(U)SIM 数据下载")                                                             \
    X(PidReserved, "保留")                                                                           \
    X(PidCentreSpecific, "服务中心专用")                                                             \
    X(DeviceImplicit, "隐含（由服务中心决定）")                                                      \
    X(DeviceTelex, "电传")                                                                           \
    X(DeviceFaxGroup3, "三类传真")                                                                   \
    X(DeviceFaxGroup4, "四类传真")                                                                   \
    X(DeviceVoice, "语音电话")                                                                       \
    X(DeviceErmes, "ERMES 寻呼")                                                                     \
    X(DevicePaging, "国内寻呼系统")                                                                  \
    X(DeviceVideotex, "可视图文")                                                                    \
    X(DeviceTeletex, "智能用户电报（%1）")                                                           \
    X(DeviceUci, "通用计算机接口 UCI")                                                               \
    X(DeviceMessageHandling, "消息处理设施")                                                         \
    X(DeviceX400, "X.400 消息处理系统")                                                              \
    X(DeviceEmail, "互联网电子邮件")                                                                 \
    X(DeviceMobile, "GSM/UMTS 移动台")                                                               \
    /* data coding scheme */                                                                         \
    X(GroupGeneral, "通用数据编码")                                                                  \
    X(GroupAutoDelete, "自动删除组")                                                                 \
    X(GroupReserved, "保留编码组（按 GSM 7 位默认字母表处理）")                                      \
    X(GroupWaitingDiscard, "消息等待指示组：丢弃消息")                                               \
    X(GroupWaitingStore, "消息等待指示组：存储消息")                                                 \
    X(GroupWaitingStoreUcs2, "消息等待指示组：存储消息（UCS2）")                                     \
    X(GroupClass, "数据编码/消息类别组")                                                             \
    X(AlphabetGsm, "GSM 7 位默认字母表")                                                             \
    X(AlphabetData, "8 位数据")                                                                      \
    X(AlphabetUcs2, "UCS2（16 位）")                                                                 \
    X(AlphabetReserved, "保留（按 GSM 7 位默认字母表处理）")                                         \
    X(ClassNone, "无")                                                                               \
    X(ClassSummary, "消息类别：%1")                                                                               \
    X(Class0, "0 类（立即显示，不存储：闪信）")                                                      \
    X(Class1, "1 类（存入手机）")                                                                    \
    X(Class2, "2 类（存入 SIM 卡）")                                                                 \
    X(Class3, "3 类（交给终端设备）")                                                                \
    X(CompressedYes, "是（TS 23.042 压缩，内容不解压，以十六进制显示）")                             \
    X(IndicationActive, "%1：有消息等待")                                                            \
    X(IndicationInactive, "%1：无消息等待")                                                          \
    X(WaitingVoice, "语音信箱")                                                                      \
    X(WaitingFax, "传真")                                                                            \
    X(WaitingEmail, "电子邮件")                                                                      \
    X(WaitingOther, "其他")                                                                          \
    X(CodingSummary, "0x%1：%2，%3")                                                                 \
    /* time */                                                                                       \
    X(TimeStamp, "%1，时区 UTC%2（%3 刻钟）")                                                         \
    X(TimeInvalid, "%1（含非 BCD 数字或无效的日期时间）")                                            \
    X(Minutes, "%1 分钟")                                                                            \
    X(Hours, "%1 小时")                                                                              \
    X(HoursMinutes, "%1 小时 %2 分钟")                                                               \
    X(Days, "%1 天")                                                                                 \
    X(Weeks, "%1 周")                                                                                \
    X(Seconds, "%1 秒")                                                                              \
    X(ValidityRelative, "0x%1：%2")                                                                  \
    X(EnhancedNone, "未指定有效期")                                                                  \
    X(EnhancedRelative, "相对格式")                                                                  \
    X(EnhancedSeconds, "以秒计的相对格式")                                                           \
    X(EnhancedHms, "时:分:秒")                                                                       \
    X(EnhancedReserved, "保留的格式 %1")                                                             \
    X(EnhancedSingleShot, "%1，只尝试一次")                                                          \
    /* status */                                                                                     \
    X(StatusReceived, "对方已收到短信")                                                              \
    X(StatusForwarded, "已转发，但服务中心无法确认是否送达")                                         \
    X(StatusReplaced, "短信已被服务中心替换")                                                        \
    X(StatusCompleteReserved, "已完成（保留值）")                                                    \
    X(StatusCompleteSpecific, "已完成（服务中心专用值）")                                            \
    X(StatusTrying, "暂时错误，服务中心仍在重试：%1")                                                \
    X(StatusPermanent, "永久错误，服务中心不再重试：%1")                                             \
    X(StatusGaveUp, "暂时错误，服务中心不再重试：%1")                                                \
    X(StatusReserved, "保留值")                                                                      \
    X(ErrorCongestion, "拥塞")                                                                       \
    X(ErrorBusy, "对方忙")                                                                           \
    X(ErrorNoResponse, "对方无响应")                                                                 \
    X(ErrorServiceRejected, "服务被拒绝")                                                            \
    X(ErrorQuality, "服务质量不可用")                                                                \
    X(ErrorInSme, "对方出错")                                                                        \
    X(ErrorRemoteProcedure, "远端过程错误")                                                          \
    X(ErrorIncompatible, "目的地不兼容")                                                             \
    X(ErrorConnectionRejected, "对方拒绝连接")                                                       \
    X(ErrorNotObtainable, "无法接通")                                                                \
    X(ErrorNoInterworking, "无可用的互通")                                                           \
    X(ErrorExpired, "短信有效期已过")                                                                \
    X(ErrorDeletedByOriginator, "短信已被发送方删除")                                                \
    X(ErrorDeletedByCentre, "短信已被服务中心管理删除")                                              \
    X(ErrorNoSuchMessage, "短信不存在")                                                              \
    X(ErrorReserved, "保留值")                                                                       \
    X(ErrorCentreSpecific, "服务中心专用值")                                                         \
    X(ParametersPresent, "0x%1：%2")                                                                 \
    X(ParametersNone, "0x%1：无后续参数")                                                            \
    /* command */                                                                                    \
    X(CommandEnquiry, "查询以前提交的短信")                                                          \
    X(CommandCancelReport, "取消状态报告请求")                                                       \
    X(CommandDelete, "删除以前提交的短信")                                                           \
    X(CommandEnableReport, "请求状态报告")                                                           \
    X(CommandReserved, "保留")                                                                       \
    X(CommandCentreSpecific, "服务中心专用")                                                         \
    /* user data header */                                                                           \
    X(ElementSummary, "0x%1 %2")                                                                     \
    X(ElementConcatenation8, "长短信拼接（8 位参考号）")                                             \
    X(ElementSpecialIndication, "特殊短信指示")                                                      \
    X(ElementPorts8, "应用端口（8 位）")                                                             \
    X(ElementPorts16, "应用端口（16 位）")                                                           \
    X(ElementCentreControl, "服务中心控制参数")                                                      \
    X(ElementHeaderSource, "用户数据头来源指示")                                                     \
    X(ElementConcatenation16, "长短信拼接（16 位参考号）")                                           \
    X(ElementWcmp, "无线控制消息协议")                                                               \
    X(ElementTextFormat, "文本格式")                                                                 \
    X(ElementSound, "声音")                                                                          \
    X(ElementAnimation, "动画")                                                                      \
    X(ElementPicture, "图片")                                                                        \
    X(ElementEms, "增强消息服务对象")                                                                \
    X(ElementEmailHeader, "RFC 822 电子邮件头")                                                      \
    X(ElementHyperlink, "超链接")                                                                    \
    X(ElementReplyAddress, "回复地址")                                                               \
    X(ElementVoiceMail, "增强语音信箱信息")                                                          \
    X(ElementSingleShift, "国家语言单次转换表")                                                      \
    X(ElementLockingShift, "国家语言锁定转换表")                                                     \
    X(ElementSimToolkit, "(U)SIM 工具包安全头")                                                      \
    X(ElementSmeSpecific, "SME 间专用")                                                              \
    X(ElementCentreSpecific, "服务中心专用")                                                         \
    X(ElementReserved, "保留/未知")                                                                  \
    X(PartOf, "第 %1 部分，共 %2 部分")                                                              \
    X(Reference8, "0x%1（%2，8 位）")                                                                \
    X(Reference16, "0x%1（%2，16 位）")                                                              \
    X(Port, "%1")                                                                                    \
    X(PortsSummary, "目的端口 %1，源端口 %2")                                                        \
    X(SpecialSummary, "%1：%2 条消息等待（%3）")                                                     \
    X(SpecialStore, "存储")                                                                          \
    X(SpecialDiscard, "丢弃")                                                                        \
    X(Language, "%1（%2）")                                                                          \
    X(LanguageNoTable, "%1（%2，未收录该表，按默认字母表解码）")                                     \
    X(LanguageUnknown, "语言 %1")                                                                    \
    X(LanguageTurkish, "土耳其语")                                                                   \
    X(LanguageSpanish, "西班牙语")                                                                   \
    X(LanguagePortuguese, "葡萄牙语")                                                                \
    X(LanguageBengali, "孟加拉语")                                                                   \
    X(LanguageGujarati, "古吉拉特语")                                                                \
    X(LanguageHindi, "印地语")                                                                       \
    X(LanguageKannada, "卡纳达语")                                                                   \
    X(LanguageMalayalam, "马拉雅拉姆语")                                                             \
    X(LanguageOriya, "奥里亚语")                                                                     \
    X(LanguagePunjabi, "旁遮普语")                                                                   \
    X(LanguageTamil, "泰米尔语")                                                                     \
    X(LanguageTelugu, "泰卢固语")                                                                    \
    X(LanguageUrdu, "乌尔都语")                                                                      \
    X(FillBitsText, "%1 位（用户数据头之后，文字从第 %2 个 7 位字符开始）")                          \
    X(UserDataSummary, "%1 字节")                                                                    \
    /* the text rendering */                                                                         \
    X(RenderLine, "%1%2: %3")                                                                        \
    X(RenderRange, " [第 %1 字节]")                                                                  \
    X(RenderRangeSpan, " [第 %1–%2 字节]")                                                           \
    X(RenderProblems, "问题:")                                                                       \
    /* concatenation */                                                                              \
    X(JoinMessage, "消息 %1: %2，%3")                                                                \
    X(ListSeparatorComma, "，")                                                                \
    X(JoinConcatenated, "长短信，参考号 %1，共 %2 部分")                                             \
    X(JoinSingle, "单条短信")                                                                        \
    X(JoinPartFound, "第 %1 部分: %2")                                                     \
    X(JoinPartMissing, "第 %1 部分: 缺失")                                                           \
    X(JoinPartDuplicate, "第 %1 部分又出现在%2，未使用")                                   \
    X(JoinMissingMarker, "［缺第 %1 部分］")                                                         \
    X(JoinMissingList, "缺少第 %1 部分")                                                             \
    X(JoinText, "内容: %1")                                                                          \
    X(JoinAddressFrom, "发送方 %1")                                                                  \
    X(JoinAddressTo, "接收方 %1")                                                                   \
    X(NameLine, "第 %1 行")                                                                          \
    X(NamePdu, "第 %1 条")

enum class SmsText : int { VELMORRA_SMS_TEXTS(VELMORRA_TEXT_ID) };
inline constexpr std::size_t SMS_TEXT_COUNT = 0 VELMORRA_SMS_TEXTS(VELMORRA_TEXT_ONE);

/// The text of an id in the current language.
const char* SmsTextOf(SmsText id);
const char* SmsTextOf(SmsText id, TextLanguage language);

/// The text of an id with "%1", "%2" … replaced by the arguments in order.
std::string SmsFormat(SmsText id, std::initializer_list<std::string_view> args);
