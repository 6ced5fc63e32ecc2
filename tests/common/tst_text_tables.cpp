// Core's texts in both languages: every table complete and true to its source's placeholders,
// the texts switching at once with SetTextLanguage, and the formatting they go through.

#include <QTest>
#include <functional>
#include <random>

#include "bytes/bytes_columns.h"
#include "bytes/value_finder.h"
#include "bytes/variable_decoder.h"
#include "checksum/checksum_columns.h"
#include "checksum/checksum_consensus.h"
#include "common/capture_notation.h"
#include "common/code_page.h"
#include "common/hex_input_profile.h"
#include "convert/number_text.h"
#include "format/format_texts.h"
#include "format/hex_views.h"
#include "format/pdu_decoder.h"
#include "identify/identify_texts.h"
#include "sms/sms_concat.h"
#include "sms/sms_pdu.h"
#include "tests/support/modbus_frame.h"
#include "tests/support/text_table_check.h"

namespace {

using TextLookup = std::function<const char*(std::size_t, TextLanguage)>;
using CoreText = std::function<QString()>;

template <typename Id>
TextLookup Lookup(const char* (*of)(Id, TextLanguage))
{
    return [of](std::size_t k, TextLanguage language) { return of(static_cast<Id>(k), language); };
}

// Sets a language for as long as it lives; Chinese again afterwards, as every other test expects.
struct LanguageSet {
    explicit LanguageSet(TextLanguage language) { SetTextLanguage(language); }
    ~LanguageSet() { SetTextLanguage(TextLanguage::Chinese); }
};

std::vector<std::uint8_t> Bytes(const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    return {bytes.begin(), bytes.end()};
}

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QString FromNarrow(const std::string& narrow)
{
    return QString::fromStdString(NarrowToUtf8(narrow));
}

// oFono, unit/test-sms.c: alnum_sender (an SMS-DELIVER from "sipgate", "Testmail").
const char ALPHANUMERIC[] = "0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9";
// ModemManager, src/tests/test-sms-part-3gpp.c, test_pdu_multipart: two parts, reference 0x4C.
const char PART_1[] = "07912160130320F5440B916171056429F5000021405291650569A00500034C0201A9E8F41C949E83C2207B599E07B1DFEE33885E9ED341E4F23C7D7697C920FA1B54C697E5E3F4BC0C6AD7D9F434081E96D341E3303C2C4EB3D3F4BC0B94A483E6E8779D4D06CDD1EF3BA80E0785E7A0B7BB0C6A97E7F3F0B9CC02B9DF7450780EA2DFDF2C50780EA2A3CBA0BA9B5C96B3F369F71954768FDFE4B4FB0C9297E1F2F2BCECA6CF41";
const char PART_2[] = "07912160130320F6440B916171056429F5000021405291651569320500034C0202E9E8301D44479741F0B09C3E0785E56590BCCC0ED3CB6410FD0D7ABBCBA0B0FB4D4797E52E10";

} // namespace

Q_DECLARE_METATYPE(TextLookup)
Q_DECLARE_METATYPE(CoreText)
Q_DECLARE_METATYPE(Placeholders)
Q_DECLARE_METATYPE(SmsText)

class TestTextTables : public QObject {
    Q_OBJECT
private slots:
    void complete_data()
    {
        QTest::addColumn<TextLookup>("lookup");
        QTest::addColumn<std::size_t>("count");
        QTest::addColumn<Placeholders>("style");
        QTest::newRow("hex input") << Lookup(&HexInputTextOf) << HEX_INPUT_TEXT_COUNT << Placeholders::Numbered;
        QTest::newRow("capture") << Lookup(&CaptureTextOf) << CAPTURE_TEXT_COUNT << Placeholders::Numbered;
        QTest::newRow("checksum") << Lookup(&ChecksumTextOf) << CHECKSUM_TEXT_COUNT << Placeholders::Printf;
        QTest::newRow("bytes") << Lookup(&BytesTextOf) << BYTES_TEXT_COUNT << Placeholders::Numbered;
        QTest::newRow("convert") << Lookup(&ConvertTextOf) << CONVERT_TEXT_COUNT << Placeholders::Numbered;
        QTest::newRow("string format") << Lookup(&StringFormatTextOf) << STRING_FORMAT_TEXT_COUNT << Placeholders::Numbered;
        QTest::newRow("identify") << Lookup(&IdentifyTextOf) << IDENTIFY_TEXT_COUNT << Placeholders::Printf;
        QTest::newRow("sms") << Lookup(&SmsTextOf) << SMS_TEXT_COUNT << Placeholders::Numbered;
    }
    void complete()
    {
        // Complete by construction (a static_assert per table); here: what the compiler cannot see.
        QFETCH(TextLookup, lookup);
        QFETCH(std::size_t, count);
        QFETCH(Placeholders, style);
        for (std::size_t k = 0; k < count; ++k) {
            const char* chinese = lookup(k, TextLanguage::Chinese);
            const QString problem = TranslationProblem(chinese, lookup(k, TextLanguage::English), style);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("text %1 (%2): %3").arg(k).arg(QString::fromUtf8(chinese), problem)));
        }
        QCOMPARE(lookup(count, TextLanguage::English), "");  // past the end: nothing, never out of bounds
    }

    void switchesAtOnce_data()
    {
        // What core returns, asked again after each switch: no cached text, no static of either language.
        QTest::addColumn<CoreText>("text");
        QTest::addColumn<QString>("english");  // empty: only checked to be English
        QTest::newRow("hex box") << CoreText([] { return Utf8(HexErrorText(HEX_PROFILE_CHECKSUM, HexParseResult::OddLength)); })
                                 << "Odd number of hex digits, please check!";
        QTest::newRow("raised limit") << CoreText([] { return Utf8(HexErrorText(HEX_PROFILE_CHECKSUM, HexParseResult::TooLong, 1000)); })
                                      << "Hex data must not exceed 1000 bytes!";
        QTest::newRow("conversion box") << CoreText([] { return Utf8(HexErrorText(HEX_PROFILE_CONVERSION, HexParseResult::TooLong)); })
                                        << "At most 8 bytes";
        QTest::newRow("extract") << CoreText([] { return Utf8(CaptureTextOf(CaptureText::NoHexData)); }) << "No hex data found";
        QTest::newRow("column") << CoreText([] { return Utf8(ChecksumColumnTitle(ChecksumColumn::Content)); }) << "Covered bytes";
        QTest::newRow("no data") << CoreText([] { return Utf8(CHECKSUM_NO_DATA_TEXT); }) << "Please enter a frame to analyse!";
        QTest::newRow("consensus rule") << CoreText([] {
            return Utf8(ChecksumRuleText({ChecksumMethod::CRC16, 1, RuleEnd::FromLast, 3}));
        }) << "CRC16, byte 1 to byte 3 from the end";
        QTest::newRow("no region") << CoreText([] {
            const std::vector<VariableRow> rows{{VariableType::UCHAR, 1}};
            return Utf8(DecodeVariables(Bytes("01"), 0, 0, {}, rows).status);
        }) << "Please select the region to decode!";
        QTest::newRow("hit column") << CoreText([] { return Utf8(ColumnTitle(HitColumn::Difference)); }) << "Error";
        QTest::newRow("found value") << CoreText([] {
            return Utf8(DescribeHit(FindValue(Bytes("0102030405060743668000"), 230.5, {0.05, false}).hits.at(0)));
        }) << "byte 8 FLOAT FF3 FF4 FF1 FF2 = 230.5";
        QTest::newRow("number box") << CoreText([] { return Utf8(NumberCheckText(NumberCheck::Illegal)); }) << "Invalid number";
        QTest::newRow("missing number") << CoreText([] { return Utf8(NUMBER_MISSING_TEXT); }) << "Enter a number";
        // The PDU view's own test vector: a 7-bit "hello" sent to 12345678901, valid 24 hours.
        QTest::newRow("pdu view (GBK)") << CoreText([] { return FromNarrow(DecodePdu("0891682143658709F011000B812143658709F10000A705E8329BFD06", PduDirection::Send)); })
                                        << "SMSC number: 8612345678900\r\nDestination: 12345678901\r\nProtocol ID: normal GSM\r\n"
                                           "Data coding: 7-bit\r\nValidity: 24 hours\r\nMessage length: 5\r\nMessage text: hello";
        QTest::newRow("3X3X (GBK)") << CoreText([] { return FromNarrow(Render3x3x(Bytes("41"))); }) << "Not in 3X3X format";
        QTest::newRow("identified rule") << CoreText([] {
            std::mt19937 random(485);
            std::vector<IdentifyFrame> frames;
            for (std::uint64_t line = 1; line <= 12; ++line)
                frames.push_back({line, ModbusFrame(random, true)});
            return Utf8(IdentifiedRuleText(IdentifyChecksums(frames).rules.at(0)));
        }) << "CRC-16/MODBUS (low byte first), byte 1 to byte 3 from the end; 12/12 frames";
        QTest::newRow("sms fields") << CoreText([] { return Utf8(FormatSmsPdu(DecodeSmsPdu(Bytes(ALPHANUMERIC)))); }) << "";
        QTest::newRow("sms joined") << CoreText([] {
            const std::vector<SmsPdu> pdus{DecodeSmsPdu(Bytes(PART_2)), DecodeSmsPdu(Bytes(PART_1))};
            const std::vector<std::string> names{"3", "5"};
            return Utf8(FormatSmsMessage(JoinSmsParts(pdus).at(0), 1, names));
        }) << "Message 1: SMS-DELIVER, from +16175046925, concatenated, reference 0x4C, 2 parts\n  Part 1: 5\n  Part 2: 3\n"
              "  Text: This is a very long test designed to exercise multi part capability. It should show up as one message, "
              "not as two, as the underlying encoding represents that the parts are related to one another. \n";
    }
    void switchesAtOnce()
    {
        QFETCH(CoreText, text);
        QFETCH(QString, english);
        const QString chinese = text();
        QVERIFY2(HasCjk(chinese), qPrintable(chinese));
        {
            const LanguageSet set(TextLanguage::English);
            const QString now = text();
            QVERIFY2(!HasCjk(now), qPrintable(now));
            if (!english.isEmpty())
                QCOMPARE(now, english);
        }
        QCOMPARE(text(), chinese);
    }

    void smsInEnglish_data()
    {
        // Words of the field, and counts with their plural.
        QTest::addColumn<SmsText>("id");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("english");
        QTest::newRow("part of") << SmsText::PartOf << QStringList{"2", "3"} << "part 2 of 3";
        QTest::newRow("one byte") << SmsText::Octets << QStringList{"1"} << "1 byte";
        QTest::newRow("bytes") << SmsText::Octets << QStringList{"140"} << "140 bytes";
        QTest::newRow("no bytes") << SmsText::Octets << QStringList{"0"} << "0 bytes";
        QTest::newRow("one quarter hour") << SmsText::TimeStamp << QStringList{"2012-04-25 19:56:51", "-00:15", "-1"}
                                          << "2012-04-25 19:56:51, time zone UTC-00:15 (-1 quarter hour)";
        QTest::newRow("hours and a minute") << SmsText::HoursMinutes << QStringList{"12", "1"} << "12 hours 1 minute";
        QTest::newRow("truncated") << SmsText::ProblemTruncated << QStringList{"User data TP-UD", "9", "3"}
                                   << "User data TP-UD is truncated: 9 bytes announced, only 3 present";
    }
    void smsInEnglish()
    {
        QFETCH(SmsText, id);
        QFETCH(QStringList, args);
        QFETCH(QString, english);
        const LanguageSet set(TextLanguage::English);
        std::vector<std::string> held;
        for (const QString& arg : args)
            held.push_back(arg.toStdString());
        std::vector<std::string_view> views(held.begin(), held.end());
        QString text;
        switch (views.size()) {
        case 1: text = Utf8(SmsFormat(id, {views[0]})); break;
        case 2: text = Utf8(SmsFormat(id, {views[0], views[1]})); break;
        default: text = Utf8(SmsFormat(id, {views[0], views[1], views[2]})); break;
        }
        QCOMPARE(text, english);
    }

    void substitute_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("in order") << "第 %1 部分，共 %2 部分" << QStringList{"2", "3"} << "第 2 部分，共 3 部分";
        QTest::newRow("reordered") << "%2 before %1" << QStringList{"a", "b"} << "b before a";
        QTest::newRow("twice") << "%1 is %1" << QStringList{"x"} << "x is x";
        QTest::newRow("missing argument") << "[%2]" << QStringList{"a"} << "[]";
        QTest::newRow("argument kept as it is") << "%1" << QStringList{"%2 {1:a|b}"} << "%2 {1:a|b}";
        QTest::newRow("other percent signs") << "占比(%) 50% %0 %a %" << QStringList{} << "占比(%) 50% %0 %a %";
        QTest::newRow("plural one") << "%1 {1:byte|bytes}" << QStringList{"1"} << "1 byte";
        QTest::newRow("plural many") << "%1 {1:byte|bytes}" << QStringList{"11"} << "11 bytes";
        QTest::newRow("plural signed") << "{1:hour|hours}" << QStringList{"+1"} << "hour";
        QTest::newRow("plural of the second") << "%1 of %2 {2:part|parts}" << QStringList{"1", "2"} << "1 of 2 parts";
        QTest::newRow("not a choice") << "{0x01,0x02} {1:a} {x:a|b}" << QStringList{"1"} << "{0x01,0x02} {1:a} {x:a|b}";
    }
    void substitute()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        std::vector<std::string> held;
        for (const QString& arg : args)
            held.push_back(arg.toStdString());
        const std::string p = pattern.toStdString();
        std::string text;
        switch (held.size()) {
        case 0: text = SubstituteText(p, {}); break;
        case 1: text = SubstituteText(p, {held[0]}); break;
        default: text = SubstituteText(p, {held[0], held[1]}); break;
        }
        QCOMPARE(Utf8(text), expected);
    }

    void utf8ToNarrow_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("gbk");
        QTest::newRow("ASCII") << QByteArray("SMSC number: ") << QByteArray("SMSC number: ");
        QTest::newRow("Chinese") << QByteArray("非PDU编码格式") << QByteArray::fromHex("b7c7504455b1e0c2ebb8f1cabd");
        QTest::newRow("outside GBK") << QByteArray("a\xF0\x9F\x98\x80" "b") << QByteArray("a?b");
        QTest::newRow("no UTF-8") << QByteArray("a\xFF\xC3" "b") << QByteArray("a??b");
    }
    void utf8ToNarrow()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, gbk);
        const std::string narrow = Utf8ToNarrow(utf8.toStdString());
        QCOMPARE(QByteArray(narrow.data(), qsizetype(narrow.size())), gbk);
    }
};

QTEST_APPLESS_MAIN(TestTextTables)
#include "tst_text_tables.moc"
