#include <QStringList>
#include <QRegularExpression>
#include <QTest>
#include <cstring>
#include <random>
#include <vector>

#include "common/hex_text.h"
#include "sms/sms_alphabet.h"
#include "sms/sms_concat.h"
#include "sms/sms_log.h"
#include "sms/sms_pdu.h"

namespace {

std::vector<std::uint8_t> Bytes(const QByteArray& hex)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    return std::vector<std::uint8_t>(raw.begin(), raw.end());
}

// Decodes an exact-size heap copy, so that a read past the end is caught.
SmsPdu Decode(const QByteArray& hex)
{
    const std::vector<std::uint8_t> bytes = Bytes(hex);
    return DecodeSmsPdu(bytes);
}

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

const SmsField* FindIn(const std::vector<SmsField>& fields, const QStringList& keys, int depth = 0)
{
    for (const SmsField& field : fields) {
        if (QLatin1String(SmsFieldKey(field.id)) != keys[depth])
            continue;
        if (depth + 1 == keys.size())
            return &field;
        if (const SmsField* found = FindIn(field.children, keys, depth + 1))
            return found;
    }
    return nullptr;
}

// Checks "path=value" (the field's value) and "path~words" (its text contains them); a path is
// keys joined by dots, each level the first field with that key that leads on.
void Expect(const SmsPdu& pdu, const QStringList& expectations)
{
    for (const QString& expectation : expectations) {
        const qsizetype at = expectation.indexOf(QRegularExpression("[=~]"));
        const QString path = expectation.left(at);
        const QString wanted = expectation.mid(at + 1);
        const SmsField* field = FindIn(pdu.fields, path.split('.'));
        if (!field)
            QFAIL(qPrintable("no field " + path));
        if (expectation[at] == '=')
            QCOMPARE(path + "=" + Utf8(field->value), path + "=" + wanted);
        else if (!Utf8(field->text).contains(wanted))
            QFAIL(qPrintable(path + ": \"" + Utf8(field->text) + "\" lacks \"" + wanted + "\""));
    }
}

// Every field inside the bytes, its children inside it.
void CheckRanges(const std::vector<SmsField>& fields, std::size_t begin, std::size_t end, std::size_t size)
{
    for (const SmsField& field : fields) {
        if (field.state == SmsFieldState::Missing) {
            QCOMPARE(field.length, std::size_t(0));
            QVERIFY(field.offset <= size);
            continue;
        }
        QVERIFY2(field.offset + field.length <= size, SmsFieldKey(field.id));
        if (field.length > 0)
            QVERIFY2(field.offset >= begin && field.offset + field.length <= end, SmsFieldKey(field.id));
        CheckRanges(field.children, field.length > 0 ? field.offset : begin, field.length > 0 ? field.offset + field.length : end, size);
    }
}

// Reference packing, bit by bit, least significant bit first, after `firstBit` zero bits.
QByteArray Pack(const std::vector<std::uint8_t>& septets, std::size_t firstBit = 0)
{
    QByteArray octets(qsizetype(firstBit + 7 * septets.size() + 7) / 8, '\0');
    for (std::size_t bit = 0; bit < 7 * septets.size(); ++bit) {
        const std::size_t at = firstBit + bit;
        octets[qsizetype(at / 8)] = char(octets[qsizetype(at / 8)] | (septets[bit / 7] >> (bit % 7) & 1) << (at % 8));
    }
    return octets;
}

// 7-bit user data: the length in septets, the header (hex, without its length octet), the text
// from the first septet boundary after it.
QByteArray UserData7(const QByteArray& headerHex, const std::vector<std::uint8_t>& septets)
{
    const QByteArray header = QByteArray::fromHex(headerHex);
    const qsizetype headerOctets = header.isEmpty() ? 0 : header.size() + 1;
    const std::size_t headerSeptets = std::size_t(headerOctets * 8 + 6) / 7;
    QByteArray ud = Pack(septets, headerSeptets * 7);
    if (headerOctets > 0)
        ud.replace(0, headerOctets, char(header.size()) + header);
    return (char(headerSeptets + septets.size()) + ud).toHex().toUpper();
}

QByteArray UserData8(const QByteArray& headerHex, const QByteArray& dataHex)
{
    const QByteArray header = QByteArray::fromHex(headerHex);
    const QByteArray ud = (header.isEmpty() ? QByteArray() : char(header.size()) + header) + QByteArray::fromHex(dataHex);
    return (char(ud.size()) + ud).toHex().toUpper();
}

// An alphanumeric address: its length in semi-octets, type D0, the packed characters.
QByteArray Alphanumeric(const std::vector<std::uint8_t>& septets)
{
    return (char((7 * septets.size() + 3) / 4) + QByteArray("\xD0") + Pack(septets)).toHex().toUpper();
}

std::vector<std::uint8_t> Ascii(const char* text)
{
    return std::vector<std::uint8_t>(text, text + std::strlen(text));
}

// "@ $ _ { } [ ] ~ \ € é ñ" in the default alphabet and its extension table, then " Aa".
const std::vector<std::uint8_t> GSM_SPECIALS = {0x00, 0x02, 0x11, 0x1B, 0x28, 0x1B, 0x29, 0x1B, 0x3C, 0x1B, 0x3E, 0x1B, 0x3D,
                                               0x1B, 0x2F, 0x1B, 0x65, 0x05, 0x7D, 0x20, 0x41, 0x61};

// Parts of a SMS-DELIVER from +8613912345678 through the centre +8613800100500.
const QByteArray CENTRE = "0891683108100005F0";
const QByteArray ORIGINATOR = "0D91683119325476F8";
const QByteArray TIME_STAMP = "42501021035423";  // 2024-05-01 12:30:45 +08:00

// Samples of each kind for the robustness checks: oFono (deliver, alphanumeric, EMS submit, status
// report), python-gsmmodem (UCS2 with a concatenation header, absolute validity), ModemManager
// (16-bit reference), warthog618/sms (command).
const char* const SAMPLES[] = {
    "07911326040000F0040B911346610089F60000208062917314480CC8F71D14969741F977FD07",
    "0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9",
    "0041000B915121551532F40000631A0A031906200A032104100A032705040A032E05080A043807002B8ACD29A85D9ECFC3E7F21C340EBB41E3B79B1E4EBB41697A989D1EB340E2379BCC02B1C3F27399059AB7C36C3628EC2683C66FF65B5E2683E8653C1D",
    "06040D91945152991136F00160124130340A0160124130940A00",
    "0041010C910661345542F60008A0050003000301306F3044",
    "0019000B917228001011F100003170013193008017D474BB3CA787DB70903DCC4E93D3F43C885E9ED301",
    "07911356131313F64004850120390011609232239180A006080400100201D7327BFD6EB340E2321BF46E83EA7790F59D1E97DBE1341B442F83C465763D3DA797E56537C81D0ECB41AB59CC1693C16031D96C064241E5656838AF03A96230982A269BCD462917C8FA4E8FCBED709A0D7ABBE9F6B0FB5C7683D27350984D4FABC9A0B33C4C4FCF5D20EBFB2D079DCB62793DBD06D9C36E50FB2D4E97D9A0B49B5E96BBCB",
    "0242AB893404913619096120636F6D6D616E64",
};

} // namespace

class TestSmsPdu : public QObject {
    Q_OBJECT
private slots:
    void publicPdus_data();
    void publicPdus();
    void constructed_data();
    void constructed();
    void nationalLanguageTables_data();
    void nationalLanguageTables();
    void concatenation();
    void truncatedPdusSayWhatIsMissing();
    void anyBytesDecodeInsideThemselves();
    void unpackingMatchesBitByBit();
    void rendering();
    void extractFromLogLines_data();
    void extractFromLogLines();
};

void TestSmsPdu::publicPdus_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");

    // oFono, unit/test-sms.c: simple_deliver, alnum_sender, simple_submit.
    QTest::newRow("oFono deliver") << QByteArray("07911326040000F0040B911346610089F60000208062917314480CC8F71D14969741F977FD07")
                                   << "SMS-DELIVER" << "+31641600986" << "How are you?"
                                   << QStringList{"form=smsc_first", "smsc=+31624000000", "smsc.type_of_address~国际号码",
                                                  "first_octet.more_messages_to_send=false", "service_centre_time_stamp=2002-08-26T19:37:41-01:00",
                                                  "user_data_length=12", "data_coding_scheme.alphabet=gsm7"};
    QTest::newRow("oFono alphanumeric sender") << QByteArray("0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9")
                                               << "SMS-DELIVER" << "sipgate" << "Testmail"
                                               << QStringList{"originator~字母数字地址", "originator.type_of_address=208",
                                                              "service_centre_time_stamp=2008-08-13T12:07:22+01:00"};
    QTest::newRow("oFono submit") << QByteArray("0011000B916407281553F80000AA0AE8329BFD4697D9EC37") << "SMS-SUBMIT" << "+46708251358" << "hellohello"
                                  << QStringList{"smsc~未给出", "first_octet.validity_period_format=relative", "validity_period=345600",
                                                 "validity_period~4 天", "message_reference=0"};
    // oFono, unit/test-sms.c: EMS text formatting headers before 7-bit text (fill bits 1 and 6).
    QTest::newRow("oFono EMS 1")
        << QByteArray("0041000B915121551532F40000631A0A031906200A032104100A032705040A032E05080A043807002B8ACD29A85D9ECFC3E7F21C340EBB41E3B79B1E4EBB41697A989D1EB340E2379BCC02B1C3F27399059AB7C36C3628EC2683C66FF65B5E2683E8653C1D")
        << "SMS-SUBMIT" << "+15125551234" << "EMS messages can contain italic, bold, large, small and colored text"
        << QStringList{"user_data.user_data_header_length=26", "user_data.user_data_header.information_element~文本格式",
                       "user_data.fill_bits=1", "first_octet.validity_period_format=none"};
    QTest::newRow("oFono EMS 2")
        << QByteArray("079194712272303351030B915121340195F60000FF80230A030F07230A031806130A031E0A430A032E0D830A033D14020A035104F60A0355010600159D9E83D2735018442FCFE98A243DCC4E97C92C90F8CD26B3407537B92C67A7DD65320B1476934173BA3CBD2ED3D1F277FD8C76299CEF3B280C92A7CF683A28CC4E9FDD6532E8FE96935D")
        << "SMS-SUBMIT" << "+15124310596" << "This is a test\nItalied, bold, underlined, and strikethrough.\nNow a right aligned word."
        << QStringList{"user_data.fill_bits=6", "validity_period~63 周", "message_reference=3"};
    // oFono, unit/test-sms.c: status reports as the modem hands them over, without the centre field.
    QTest::newRow("oFono status report") << QByteArray("06040D91945152991136F00160124130340A0160124130940A00") << "SMS-STATUS-REPORT"
                                         << "+4915259911630" << ""
                                         << QStringList{"form=tpdu_only", "form~长度吻合", "message_reference=4", "status=0", "status~对方已收到短信",
                                                        "service_centre_time_stamp=2010-06-21T14:03:43-05:00",
                                                        "discharge_time=2010-06-21T14:03:49-05:00"};
    QTest::newRow("oFono status report, national") << QByteArray("0606098121436587F9019012413064A0019012413045A000") << "SMS-STATUS-REPORT"
                                                   << "123456789" << "" << QStringList{"recipient~未知类型", "discharge_time~含非 BCD 数字"};
    // oFono, unit/test-sms.c: a WAP push, 8-bit data to port 2948.
    QTest::newRow("oFono WAP push")
        << QByteArray("0791947122725014440185F039F501801140311480720605040B8423F00106246170706C69636174696F6E2F766E642E7761702E6D6D732D6D65737361676500AF84B4868C82984F67514B4B42008D9089088045726F74696B009650696E2D557073008A808E0240008805810303F48083687474703A2F2F657073332E64652F4F2F5A39495A4F00")
        << "SMS-DELIVER" << "0" << "01 06 24 61 70 70 6C 69 63 61 74 69 6F 6E 2F…"
        << QStringList{"user_data.user_data_header.information_element.destination_port=2948",
                       "user_data.user_data_header.information_element.originator_port=9200", "data_coding_scheme.alphabet=8bit",
                       "data_coding_scheme.message_class=1", "protocol_identifier~服务中心专用", "originator.type_of_address~服务中心专用编号方案"};
    // python-gsmmodem, test/test_pdu.py, TestSmsPdu.test_decode.
    QTest::newRow("gsmmodem deliver") << QByteArray("06917228195339040B917228214365F700003130805120618005D4F29C2E03") << "SMS-DELIVER"
                                      << "+27821234567" << "Test2" << QStringList{"smsc=+2782913593", "service_centre_time_stamp=2013-03-08T15:02:16+02:00"};
    QTest::newRow("gsmmodem long 7-bit")
        << QByteArray("07915892000000F0040B915892214365F700007040213252242331493A283D0795C3F33C88FE06C9CB6132885EC6D341EDF27C1E3E97E7207B3A0C0A5241E377BB1D7693E72E")
        << "SMS-DELIVER" << "+85291234567" << "It is easy to read text messages via AT commands."
        << QStringList{"service_centre_time_stamp=2007-04-12T23:25:42+08:00"};
    QTest::newRow("gsmmodem extension table") << QByteArray("06917228195339040B917228214365F70000313062315352800A800D8A5E98D337A910")
                                              << "SMS-DELIVER" << "+27821234567" << "@{tést}!" << QStringList{};
    QTest::newRow("gsmmodem submit with report") << QByteArray("07911326040000F0310D0B911326880736F40000A90FF7FBDD454E87CDE1B0DB357EB701")
                                                 << "SMS-SUBMIT" << "+31628870634" << "www.diafaan.com"
                                                 << QStringList{"first_octet.status_report_request=true", "message_reference=13", "validity_period~3 天"};
    QTest::newRow("gsmmodem status report") << QByteArray("0006D60B911326880736F4111011719551401110117195714000") << "SMS-STATUS-REPORT"
                                            << "+31628870634" << "" << QStringList{"message_reference=214", "form=smsc_first"};
    QTest::newRow("gsmmodem concatenated one part")
        << QByteArray("0591721891F1400781721881F800003160526104848059050003C30101916536FB1DCABEEB2074D85E064941B19CAB060319A5C522289C96D3D3ED32286C0FA7D96131BBEC024941B19CAB0603DDD36C36A88C87A7E565D0DB0D82C55EB0DB4B068BCD5C20")
        << "SMS-DELIVER" << "2781188" << "Hello!You have R 19.50 FREE airtime available. R 19.50 will expire on 01/07/2013. "
        << QStringList{"user_data.user_data_header.information_element.reference=195", "user_data.user_data_header.information_element.parts=1"};
    QTest::newRow("gsmmodem UCS2") << QByteArray("07914346466554F601000B914316565811F9000806304253F68449") << "SMS-SUBMIT" << "+34616585119"
                                   << "あ叶葉" << QStringList{"data_coding_scheme.alphabet=ucs2", "user_data_length~6 字节"};
    QTest::newRow("gsmmodem 8-bit") << QByteArray("0591721891F101000B917228214365F700040C48656C6C6F20776F726C6421") << "SMS-SUBMIT" << "+27821234567"
                                    << "48 65 6C 6C 6F 20 77 6F 72 6C 64 21" << QStringList{"user_data.data.ascii=Hello world!"};
    QTest::newRow("gsmmodem absolute validity") << QByteArray("0019000B917228001011F100003170013193008017D474BB3CA787DB70903DCC4E93D3F43C885E9ED301")
                                                << "SMS-SUBMIT" << "+27820001111" << "Timestamp validity test"
                                                << QStringList{"first_octet.validity_period_format=absolute", "validity_period=2013-07-10T13:39:00+02:00"};
    // A ZTE modem's report whose recipient holds a "#" (semi-octet B).
    QTest::newRow("gsmmodem ZTE status report") << QByteArray("0297F1061C0F910B487228297020F5317062419272803170624192138000") << "SMS-STATUS-REPORT"
                                                << "+#08427829207025" << ""
                                                << QStringList{"message_reference=28", "service_centre_time_stamp=2013-07-26T14:29:27+02:00",
                                                               "discharge_time=2013-07-26T14:29:31+02:00"};
    // ModemManager, src/tests/test-sms-part-3gpp.c.
    QTest::newRow("ModemManager pdu1")
        << QByteArray("07912104442961F4040B916171957291F800001120821105050A6AC8B2BC7C9A83C220F6DB7D2ECB41EDF27C1E3E97411BDE06754FD3D1A0F9BB5D0695F1F4B29B5C2683C6E8B03C3CA697E5F34D6AE303D1D1F2F7DD0D4ABB59A0797D8C0685E7A00028EC26832A960B28EC2683BE6050780EBA97D96C17")
        << "SMS-DELIVER" << "+16175927198"
        << "Here's a longer message [{with some extended characters}] thrown in, such as £ and ΩΠΨ and §¿ as well."
        << QStringList{"service_centre_time_stamp=2011-02-28T11:50:50-05:00"};
    QTest::newRow("ModemManager pdu2") << QByteArray("07919730071111F10414D04937BD2C7797E9D3E614000811309291024061080442043504410442")
                                       << "SMS-DELIVER" << "InternetSMS" << "тест"
                                       << QStringList{"service_centre_time_stamp=2011-03-29T19:20:04+04:00", "originator.length~20 个半字节"};
    QTest::newRow("ModemManager DCS group F")
        << QByteArray("07913306091093F0040485810000F111604231805180A049B7F90D9A1AA5A01668F8769BD3E4B29B9E2EB359A03FC85D06A9C3ED707A0EA2CBC3EE79BB4CA7CBCBA05643617DA7C76990FD4D979741EE77DD5E0ED741ED371D442E83E0E1F9BC0CD281E677D9B84C06C1DF7539E85C9097E520FB9B2E2F83C6EF369C5E064D8D52D0BC2E07DDEF77D7DC2C7799E5A0771D040FCB41F402BB0047BFDD6550B80ECAD966")
        << "SMS-DELIVER" << "1800"
        << "Info SFR - Confidentiel, à ne jamais transmettre -\r\nVoici votre nouveau mot de passe : sw2ced pour gérer votre compte SFR sur www.sfr.fr ou par téléphone au 963"
        << QStringList{"data_coding_scheme~1 类", "data_coding_scheme.coding_group~数据编码/消息类别组", "service_centre_time_stamp=2011-06-24T13:08:15+02:00"};
    QTest::newRow("ModemManager UDHI 16-bit reference")
        << QByteArray("07911356131313F64004850120390011609232239180A006080400100201D7327BFD6EB340E2321BF46E83EA7790F59D1E97DBE1341B442F83C465763D3DA797E56537C81D0ECB41AB59CC1693C16031D96C064241E5656838AF03A96230982A269BCD462917C8FA4E8FCBED709A0D7ABBE9F6B0FB5C7683D27350984D4FABC9A0B33C4C4FCF5D20EBFB2D079DCB62793DBD06D9C36E50FB2D4E97D9A0B49B5E96BBCB")
        << "SMS-DELIVER" << "1002"
        << "Welkom, bel om uw Voicemail te beluisteren naar +31612001233 (PrePay: *100*1233#). Voicemail ontvangen is altijd gratis. Voor gebruik van mobiel interne"
        << QStringList{"user_data.user_data_header.information_element~16 位参考号", "user_data.user_data_header.information_element.reference=16",
                       "service_centre_time_stamp=2011-06-29T23:32:19+02:00"};
    QTest::newRow("ModemManager stored submit") << QByteArray("002100098136397339F70008224F60597D4F60597D4F60597D4F60597D4F60597D4F60597D4F60597D4F60597D4F60")
                                                << "SMS-SUBMIT" << "639337937" << "你好你好你好你好你好你好你好你好你"
                                                << QStringList{"first_octet.status_report_request=true", "first_octet.validity_period_format=none"};
    QTest::newRow("ModemManager status report") << QByteArray("07914356060013F1065A098136397339F7219011700463802190117004638030") << "SMS-STATUS-REPORT"
                                                << "639337937" << "" << QStringList{"status=48", "status~暂时错误，服务中心仍在重试", "message_reference=90"};
    // warthog618/sms, encoding/tpdu/command_internal_test.go: a command to delete nothing in particular.
    QTest::newRow("warthog618 command") << QByteArray("0242AB893404913619096120636F6D6D616E64")
                                        << "SMS-COMMAND" << "+6391" << ""
                                        << QStringList{"form~SMS-COMMAND", "command_type=137", "command_type~保留", "message_number=52",
                                                       "command_data=61 20 63 6F 6D 6D 61 6E 64", "protocol_identifier~保留"};
    // The string formatting page's own two examples.
    QTest::newRow("page send example") << QByteArray("0891682143658709F011000B812143658709F10000A705E8329BFD06") << "SMS-SUBMIT" << "12345678901"
                                       << "hello" << QStringList{"validity_period=86400"};
    QTest::newRow("page receive example") << QByteArray("0891682143658709F0040B812143658709F1000831501290035423044F60597D") << "SMS-DELIVER"
                                          << "12345678901" << "你好" << QStringList{"service_centre_time_stamp=2013-05-21T09:30:45+08:00"};
}

void TestSmsPdu::publicPdus()
{
    QFETCH(QByteArray, hex);
    QFETCH(QString, type);
    QFETCH(QString, address);
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    const SmsPdu pdu = Decode(hex);
    QCOMPARE(SmsMessageTypeName(pdu.type), type);
    QCOMPARE(Utf8(pdu.address), address);
    if (text.endsWith(u'…'))
        QVERIFY(Utf8(pdu.text).startsWith(text.chopped(1)));
    else
        QCOMPARE(Utf8(pdu.text), text);
    QVERIFY2(pdu.problems.empty(), pdu.problems.empty() ? "" : pdu.problems[0].c_str());
    QVERIFY(pdu.lengthsFit);
    Expect(pdu, fields);
    CheckRanges(pdu.fields, 0, std::size_t(hex.size() / 2), std::size_t(hex.size() / 2));
}

void TestSmsPdu::constructed_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");

    // TS 23.040 clause 9.2.2.1 (SMS-DELIVER), field by field.
    const QByteArray deliver = CENTRE + "04" + ORIGINATOR + "0000" + TIME_STAMP;
    QTest::newRow("deliver, GSM specials") << deliver + UserData7("", GSM_SPECIALS) << "SMS-DELIVER" << "@$_{}[]~\\€éñ Aa"
                                           << QStringList{"smsc=+8613800100500", "originator=+8613912345678", "originator~国际号码",
                                                          "protocol_identifier~普通短信", "service_centre_time_stamp=2024-05-01T12:30:45+08:00",
                                                          "service_centre_time_stamp~+32 刻钟", "user_data_length=22",
                                                          "first_octet.user_data_header_indicator=false"};
    QTest::newRow("deliver, national sender") << CENTRE + "04" + "0BA13119325476F8" + "0000" + TIME_STAMP + UserData7("", Ascii("hi"))
                                              << "SMS-DELIVER" << "hi" << QStringList{"originator=13912345678", "originator~国内号码"};
    QTest::newRow("deliver, alphanumeric sender") << CENTRE + "04" + Alphanumeric(Ascii("Velmorra")) + "0000" + TIME_STAMP + UserData7("", Ascii("Hi"))
                                                  << "SMS-DELIVER" << "Hi"
                                                  << QStringList{"originator=Velmorra", "originator.length=14", "originator.type_of_address~字母数字"};
    QTest::newRow("deliver, zone -03:30") << CENTRE + "04" + ORIGINATOR + "0000" + "42501021035449" + UserData7("", Ascii("x")) << "SMS-DELIVER"
                                          << "x" << QStringList{"service_centre_time_stamp=2024-05-01T12:30:45-03:30", "service_centre_time_stamp~-14 刻钟"};
    QTest::newRow("deliver, reply path and report") << CENTRE + "A0" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("", Ascii("x"))
                                                    << "SMS-DELIVER" << "x"
                                                    << QStringList{"first_octet.reply_path=true", "first_octet.status_report_indication=true",
                                                                   "first_octet.more_messages_to_send=true"};
    QTest::newRow("deliver, UCS2 with an emoji") << deliver.chopped(TIME_STAMP.size() + 2) + "08" + TIME_STAMP + UserData8("", "4F60597DD83DDE00")
                                                 << "SMS-DELIVER" << "你好😀" << QStringList{"data_coding_scheme.alphabet=ucs2", "user_data_length=8"};
    QTest::newRow("deliver, UCS2 lone surrogate") << deliver.chopped(TIME_STAMP.size() + 2) + "08" + TIME_STAMP + UserData8("", "D83D0041")
                                                  << "SMS-DELIVER" << "\uFFFDA" << QStringList{};
    QTest::newRow("deliver, flash UCS2") << deliver.chopped(TIME_STAMP.size() + 2) + "18" + TIME_STAMP + UserData8("", "95EA4FE1")
                                         << "SMS-DELIVER" << "闪信" << QStringList{"data_coding_scheme.message_class=0", "data_coding_scheme~闪信"};
    QTest::newRow("deliver, 8-bit data to a port") << CENTRE + "44" + ORIGINATOR + "0004" + TIME_STAMP + UserData8("05040B8423F0", "0102FF")
                                                   << "SMS-DELIVER" << "01 02 FF"
                                                   << QStringList{"data_coding_scheme.alphabet=8bit", "user_data.user_data_header.information_element~目的端口 2948，源端口 9200",
                                                                  "user_data.data=01 02 FF"};
    QTest::newRow("deliver, voice mail waiting") << deliver.chopped(TIME_STAMP.size() + 2) + "C8" + TIME_STAMP + UserData7("", Ascii("1 new"))
                                                 << "SMS-DELIVER" << "1 new"
                                                 << QStringList{"data_coding_scheme.message_waiting=true", "data_coding_scheme.message_waiting~语音信箱：有消息等待",
                                                                "data_coding_scheme.coding_group~丢弃消息"};
    QTest::newRow("deliver, compressed") << deliver.chopped(TIME_STAMP.size() + 2) + "20" + TIME_STAMP + UserData8("", "A1B2") << "SMS-DELIVER"
                                         << "A1 B2" << QStringList{"data_coding_scheme.compressed=true", "user_data_length~2 字节"};
    QTest::newRow("deliver, reserved alphabet") << deliver.chopped(TIME_STAMP.size() + 2) + "0C" + TIME_STAMP + UserData7("", Ascii("ok"))
                                                << "SMS-DELIVER" << "ok" << QStringList{"data_coding_scheme.alphabet~按 GSM 7 位"};
    // TS 23.038 Annex A: national language tables chosen by the user data header.
    QTest::newRow("Turkish tables") << CENTRE + "44" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("240101250101", {0x07, 0x1B, 0x47, 0x40})
                                    << "SMS-DELIVER" << "ıĞİ"
                                    << QStringList{"user_data.user_data_header.information_element.single_shift_language=1",
                                                   "user_data.user_data_header.information_element~土耳其语"};
    QTest::newRow("Spanish tables") << CENTRE + "44" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("250102240102", {0x1B, 0x41, 0x1B, 0x09, 0x41})
                                    << "SMS-DELIVER" << "ÁçA"
                                    << QStringList{"user_data.user_data_header.information_element.locking_shift_language~未收录该表"};
    QTest::newRow("Portuguese locking") << CENTRE + "44" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("250103", {0x04, 0x12, 0x24})
                                        << "SMS-DELIVER" << "êªº" << QStringList{"user_data.fill_bits=3"};
    QTest::newRow("Hindi, no table") << CENTRE + "44" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("240106", Ascii("ok")) << "SMS-DELIVER"
                                     << "ok" << QStringList{"user_data.user_data_header.information_element~印地语"};
    QTest::newRow("unknown elements") << CENTRE + "44" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("0A03190620E502AABB", Ascii("x"))
                                      << "SMS-DELIVER" << "x"
                                      << QStringList{"user_data.user_data_header.information_element~0x0A 文本格式",
                                                     "user_data.user_data_header.information_element.data=19 06 20"};
    QTest::newRow("reserved element") << CENTRE + "44" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("E502AABB", Ascii("x")) << "SMS-DELIVER" << "x"
                                      << QStringList{"user_data.user_data_header.information_element=229",
                                                     "user_data.user_data_header.information_element~保留/未知",
                                                     "user_data.user_data_header.information_element.data=AA BB"};

    // TS 23.040 clause 9.2.2.2 (SMS-SUBMIT), each validity-period format of clause 9.2.3.12.
    const QByteArray to = "2A0BA13119325476F80000";
    QTest::newRow("submit, no validity") << "0001" + to + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                         << QStringList{"first_octet.validity_period_format=none", "message_reference=42", "destination=13912345678"};
    QTest::newRow("submit, relative 24 h") << "0011" + to + "A7" + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                           << QStringList{"validity_period=86400", "validity_period~24 小时"};
    QTest::newRow("submit, relative 13 h 30 min") << "0011" + to + "92" + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                                  << QStringList{"validity_period=48600", "validity_period~13 小时 30 分钟"};
    QTest::newRow("submit, relative 5 min") << "0011" + to + "00" + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                            << QStringList{"validity_period=300", "validity_period~5 分钟"};
    QTest::newRow("submit, enhanced relative") << "0009" + to + "01A70000000000" + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                               << QStringList{"first_octet.validity_period_format=enhanced", "validity_period=86400",
                                                              "validity_period.functionality_indicator~相对格式"};
    QTest::newRow("submit, enhanced seconds once") << "0009" + to + "423C0000000000" + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                                   << QStringList{"validity_period=60", "validity_period.functionality_indicator~只尝试一次"};
    QTest::newRow("submit, enhanced h:m:s") << "0009" + to + "03214365000000" + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                            << QStringList{"validity_period=45296", "validity_period~12:34:56"};
    QTest::newRow("submit, absolute") << "0019" + to + TIME_STAMP + UserData7("", Ascii("a")) << "SMS-SUBMIT" << "a"
                                      << QStringList{"first_octet.validity_period_format=absolute", "validity_period=2024-05-01T12:30:45+08:00"};
    QTest::newRow("submit, no centre field") << "11" + to + "A7" + UserData7("", Ascii("AT+CMGS")) << "SMS-SUBMIT" << "AT+CMGS"
                                             << QStringList{"form=tpdu_only", "form~AT+CMGS", "first_octet.reject_duplicates=false"};
    // Clause 9.2.2.3 (SMS-STATUS-REPORT) with its optional parameters, and 9.2.2.4 (SMS-COMMAND).
    QTest::newRow("status report with text") << "00062A0D91683119325476F8" + TIME_STAMP + "42501021035523" + "46" + "07" + "0000" + UserData7("", Ascii("ok"))
                                             << "SMS-STATUS-REPORT" << "ok"
                                             << QStringList{"status=70", "status~短信有效期已过", "parameter_indicator~协议标识 TP-PID、数据编码方案 TP-DCS",
                                                            "discharge_time=2024-05-01T12:30:55+08:00", "recipient=+8613912345678"};
    QTest::newRow("command") << QByteArray("00222A00022A0491361900") << "SMS-COMMAND" << ""
                             << QStringList{"command_type~删除以前提交的短信", "first_octet.status_report_request=true", "message_number=42",
                                            "destination=+6391", "command_data_length=0"};
}

void TestSmsPdu::constructed()
{
    QFETCH(QByteArray, hex);
    QFETCH(QString, type);
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    const SmsPdu pdu = Decode(hex);
    QCOMPARE(SmsMessageTypeName(pdu.type), type);
    QCOMPARE(Utf8(pdu.text), text);
    QVERIFY2(pdu.problems.empty(), pdu.problems.empty() ? "" : pdu.problems[0].c_str());
    QVERIFY(pdu.lengthsFit);
    Expect(pdu, fields);
    CheckRanges(pdu.fields, 0, std::size_t(hex.size() / 2), std::size_t(hex.size() / 2));
}

void TestSmsPdu::nationalLanguageTables_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<int>("locking");
    QTest::addColumn<int>("single");
    QTest::addColumn<QByteArray>("expected");  // UTF-8, hex

    // oFono, unit/test-sms.c, sms_charset_*: every septet of a table, and every character of an
    // extension or single shift table, with the texts it expects.
    const QByteArray all = "0001000B915310101010100000808080604028180E888462C168381E90886442A9582E988C06C4E9783EA09068442A994EA8946AC56AB95EB0986C46ABD96EB89C6EC7EBF97EC0A070482C1A8FC8A472C96C3A9FD0A8744AAD5AAFD8AC76CBED7ABFE0B0784C2E9BCFE8B47ACD6EBBDFF0B87C4EAFDBEFF8BC7ECFEFFBFF";
    QTest::newRow("default") << all << 0 << 0
                             << QByteArray("40C2A324C2A5C3A8C3A9C3B9C3ACC3B2C3870AC398C3B80DC385C3A5CE945FCEA6CE93CE9BCEA9CEA0CEA8CEA3CE98CE9E20C386C3A6C39FC38920212223C2A425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3FC2A14142434445464748494A4B4C4D4E4F505152535455565758595AC384C396C391C39CC2A7C2BF6162636465666768696A6B6C6D6E6F707172737475767778797AC3A4C3B6C3B1C3BCC3A0");
    QTest::newRow("default extension") << QByteArray("0001000B91531010101010000015 1BC58602DAA036A9CD6BC3DBF436BE0D705306").replace(" ", "") << 0 << 0
                                       << QByteArray("0C5E207B7D5C5B7E5D7CE282AC");
    QTest::newRow("Turkish locking") << all << 1 << 0
                                     << QByteArray("40C2A324C2A5E282ACC3A9C3B9C4B1C3B2C3870AC49EC49F0DC385C3A5CE945FCEA6CE93CE9BCEA9CEA0CEA8CEA3CE98CE9E20C59EC59FC39FC38920212223C2A425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3FC4B04142434445464748494A4B4C4D4E4F505152535455565758595AC384C396C391C39CC2A7C3A76162636465666768696A6B6C6D6E6F707172737475767778797AC3A4C3B6C3B1C3BCC3A0");
    QTest::newRow("Turkish single") << QByteArray("0001000B915310101010100000 1A1BC586B2416D529BD786B7E96D7C1BE002C8011318870E").replace(" ", "") << 1 << 1
                                    << QByteArray("0C5E7B7D5C5B7E5D7CC49EC4B0C59EC3A7E282ACC49FC4B1C59F");
    QTest::newRow("Portuguese locking") << all << 3 << 0
                                        << QByteArray("40C2A324C2A5C3AAC3A9C3BAC3ADC3B3C3A70AC394C3B40DC381C3A1CE945FC2AAC387C380E2889E5E5CE282ACC3937C20C382C3A2C38AC38920212223C2BA25262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3FC38D4142434445464748494A4B4C4D4E4F505152535455565758595AC383C395C39AC39CC2A77E6162636465666768696A6B6C6D6E6F707172737475767778797AC3A3C3B560C3BCC3A0");
    QTest::newRow("Portuguese single") << QByteArray("0001000B9153101010101000003184C446B160381E1BC96662D9543696CD6583D9643C1BD42675D9F0C01B9F8602CC74B75C0EE68030ECF91D") << 3 << 3
                                       << QByteArray("C3AAC3A70CC394C3B4C381C3A1CEA6CE935ECEA9CEA0CEA8CEA3CE98C38A7B7D5C5B7E5D7CC380C38DC393C39AC383C395C382E282ACC3ADC3B3C3BAC3A3C3B5C3A2");
    QTest::newRow("Spanish single") << QByteArray("0001000B915310101010100000269BC446B1A16C509BD4E6B5E16D7A1BDF06B8096E929BE7A6BA096FCA9BF4E6BDA903") << 2 << 2
                                    << QByteArray("C3A70C5E7B7D5C5B7E5D7CC381C38DC393C39AC3A1E282ACC3ADC3B3C3BA");
}

void TestSmsPdu::nationalLanguageTables()
{
    QFETCH(QByteArray, hex);
    QFETCH(int, locking);
    QFETCH(int, single);
    QFETCH(QByteArray, expected);
    const SmsPdu pdu = Decode(hex);
    QVERIFY(pdu.lengthsFit);
    const std::vector<std::uint8_t> septets(pdu.textUnits.begin(), pdu.textUnits.end());
    const std::string text = GsmSeptetsToUtf8(septets, {std::uint8_t(locking), std::uint8_t(single)});
    QCOMPARE(QByteArray::fromStdString(text).toHex().toUpper(), expected);
}

void TestSmsPdu::concatenation()
{
    // Three parts of one message, each with TS 23.040 clause 9.2.3.24.1's element (8-bit reference)
    // or 9.2.3.24.8's (16-bit reference), decoded one by one and joined.
    const auto deliver = [](const QByteArray& ud, const QByteArray& dcs = "00", const QByteArray& from = ORIGINATOR) {
        // A header's length octet follows the user data length, which is 2 hex digits.
        const bool header = ud.size() > 2 && (ud.mid(2, 2) == "03" || ud.mid(2, 2) == "05" || ud.mid(2, 2) == "06");
        return Decode(CENTRE + (header ? "44" : "04") + from + "00" + dcs + TIME_STAMP + ud);
    };
    const std::vector<SmsPdu> seven = {deliver(UserData7("00035A0301", Ascii("Part one, "))), deliver(UserData7("00035A0302", Ascii("part two, "))),
                                       deliver(UserData7("00035A0303", Ascii("part three.")))};
    const std::vector<SmsPdu> wide = {deliver(UserData8("0804123403 01", "957F77ED4FE1").replace(" ", ""), "08"),
                                      deliver(UserData8("080412340302", "7B2C4E8C90E852063002"), "08"),
                                      deliver(UserData8("080412340303", "7ED3675F3002"), "08")};
    QCOMPARE(Utf8(seven[1].text), "part two, ");
    QCOMPARE(seven[1].concatenation->reference, 0x5Au);
    QCOMPARE(seven[1].concatenation->part, 2u);
    QVERIFY(!seven[1].concatenation->reference16);
    QCOMPARE(wide[0].concatenation->reference, 0x1234u);
    QVERIFY(wide[0].concatenation->reference16);
    QCOMPARE(Utf8(wide[2].text), "结束。");
    Expect(wide[0], {"user_data.user_data_header.information_element.reference~0x1234（4660，16 位）", "user_data.user_data_header.information_element~第 1 部分，共 3 部分"});

    for (const auto& parts : {seven, wide}) {
        const QString whole = Utf8(parts[0].text + parts[1].text + parts[2].text);
        for (const std::vector<int>& order : std::vector<std::vector<int>>{{0, 1, 2}, {2, 0, 1}, {1, 2, 0}}) {
            const std::vector<SmsPdu> shuffled = {parts[order[0]], parts[order[1]], parts[order[2]]};
            const std::vector<SmsMessage> messages = JoinSmsParts(shuffled);
            QCOMPARE(messages.size(), std::size_t(1));
            QCOMPARE(Utf8(messages[0].text), whole);
            QVERIFY(messages[0].missing.empty());
            for (int k = 0; k < 3; ++k)
                QCOMPARE(*messages[0].parts[std::size_t(order[std::size_t(k)])], std::size_t(k));
        }
        const std::vector<SmsPdu> gap = {parts[2], parts[0]};
        const std::vector<SmsMessage> messages = JoinSmsParts(gap);
        QCOMPARE(messages[0].missing, std::vector<unsigned>{2});
        QCOMPARE(Utf8(messages[0].text), Utf8(parts[0].text) + "［缺第 2 部分］" + Utf8(parts[2].text));
        const std::vector<std::string> names = {"第 7 行", "第 9 行"};
        const QString described = Utf8(FormatSmsMessage(messages[0], 1, names));
        QVERIFY2(described.contains("第 1 部分: 第 9 行\n  第 2 部分: 缺失\n  第 3 部分: 第 7 行\n  缺少第 2 部分\n"), qPrintable(described));
    }
    QCOMPARE(Utf8(JoinSmsParts(wide)[0].text), "长短信第二部分。结束。");

    // A surrogate pair split between two parts comes out whole; a part seen twice is used once;
    // the same reference from another sender, and a message of one part, stay apart.
    const std::vector<SmsPdu> mixed = {deliver(UserData8("0003770201", "0041D83D"), "08"), deliver(UserData7("", Ascii("single"))),
                                       deliver(UserData8("0003770202", "DE000042"), "08"), deliver(UserData8("0003770202", "DE000042"), "08"),
                                       deliver(UserData8("0003770201", "0043"), "08", "0BA13119325476F8")};
    const std::vector<SmsMessage> messages = JoinSmsParts(mixed);
    QCOMPARE(messages.size(), std::size_t(3));
    QCOMPARE(Utf8(messages[0].text), "A😀B");
    QCOMPARE(messages[0].duplicates.size(), std::size_t(1));
    QCOMPARE(messages[0].duplicates[0].second, std::size_t(3));
    QCOMPARE(Utf8(messages[1].text), "single");
    QVERIFY(!messages[1].concatenation);
    QCOMPARE(Utf8(messages[2].address), "13912345678");
    QCOMPARE(messages[2].missing, std::vector<unsigned>{2});

    // oFono, unit/test-sms.c, test_assembly: a UCS2 message in three parts, reference 0x1E.
    const std::vector<SmsPdu> russian = {
        Decode("038121F340048155550119906041001222048C0500031E0301041804420430043A002C00200410043B0435043A04410430043D04340440002000200441043B044304480430043B00200437043000200434043204350440044C044E0020002004380020002004320441043500200431043E043B044C044804350020043F0440043504380441043F043E043B043D044F043B0441044F002000200433043D0435"),
        Decode("038121F340048155550119906041001222048C0500031E03020432043E043C002E000A041D0430043A043E043D04350446002C0020043D043500200432002004410438043B04300445002004340430043B043504350020044204350440043F04350442044C002C0020043E043D00200441044204400435043C043804420435043B044C043D043E002004320431043504360430043B002004320020043A043E"),
        Decode("038121F340048155550119906041001222044A0500031E0303043C043D043004420443002C0020043F043E043704300431044B0432000A0434043004360435002C002004470442043E002000200431044B043B0020043D04300433002E")};
    const std::vector<SmsMessage> assembled = JoinSmsParts(std::vector<SmsPdu>{russian[2], russian[0], russian[1]});
    QCOMPARE(assembled.size(), std::size_t(1));
    QCOMPARE(assembled[0].concatenation->reference, 0x1Eu);
    QCOMPARE(Utf8(assembled[0].text), Utf8(russian[0].text + russian[1].text + russian[2].text));
    QVERIFY(Utf8(assembled[0].text).startsWith("Итак, Александр") && Utf8(assembled[0].text).endsWith("что  был наг."));
    QCOMPARE(Utf8(russian[0].address), "5555");
    Expect(russian[0], {"protocol_identifier~SME 间协议 1", "data_coding_scheme~1 类"});

    // ModemManager, src/tests/test-sms-part-3gpp.c, test_pdu_multipart: two parts through two centres.
    const std::vector<SmsPdu> english = {
        Decode("07912160130320F6440B916171056429F5000021405291651569320500034C0202E9E8301D44479741F0B09C3E0785E56590BCCC0ED3CB6410FD0D7ABBCBA0B0FB4D4797E52E10"),
        Decode("07912160130320F5440B916171056429F5000021405291650569A00500034C0201A9E8F41C949E83C2207B599E07B1DFEE33885E9ED341E4F23C7D7697C920FA1B54C697E5E3F4BC0C6AD7D9F434081E96D341E3303C2C4EB3D3F4BC0B94A483E6E8779D4D06CDD1EF3BA80E0785E7A0B7BB0C6A97E7F3F0B9CC02B9DF7450780EA2DFDF2C50780EA2A3CBA0BA9B5C96B3F369F71954768FDFE4B4FB0C9297E1F2F2BCECA6CF41")};
    QCOMPARE(Utf8(JoinSmsParts(english)[0].text),
             "This is a very long test designed to exercise multi part capability. It should show up as one message, not as two, as the "
             "underlying encoding represents that the parts are related to one another. ");
}

void TestSmsPdu::truncatedPdusSayWhatIsMissing()
{
    // ModemManager, src/tests/test-sms-part-3gpp.c, test_pdu_insufficient_data: 11 septets announced, 10 there.
    SmsPdu pdu = Decode("07912143658709F1040B918100551512F20000111010214365000BE8329BFD4697D9EC37");
    QVERIFY(!pdu.lengthsFit);
    QCOMPARE(Utf8(pdu.text), "hellohello");
    QCOMPARE(pdu.problems, (std::vector<std::string>{"用户数据 TP-UD 不完整：应有 10 字节，只有 9 字节", "短信内容少了 1 个字符"}));
    Expect(pdu, {"user_data~不完整", "user_data.text~hellohello（不完整）", "originator=+18005551212"});

    // A deliver cut inside its time stamp: what is there is decoded, the rest named.
    const QByteArray whole = CENTRE + "04" + ORIGINATOR + "0000" + TIME_STAMP + UserData7("", Ascii("abc"));
    pdu = Decode(whole.left(2 * 23));
    QCOMPARE(pdu.problems, (std::vector<std::string>{"PDU 在第 23 字节后结束，缺少：用户数据长度 TP-UDL、用户数据 TP-UD",
                                                     "服务中心时间戳 TP-SCTS 不完整：应有 7 字节，只有 2 字节"}));
    Expect(pdu, {"originator=+8613912345678", "service_centre_time_stamp=42 50", "service_centre_time_stamp~（不完整）", "form~长度不吻合"});
    QCOMPARE(FindIn(pdu.fields, {"user_data"})->state, SmsFieldState::Missing);
    QCOMPARE(FindIn(pdu.fields, {"user_data"})->offset, std::size_t(23));

    // Every prefix of each sample: no read outside it, every field inside it, something said to be
    // missing, and never the claim that a shorter deliver or submit fits the whole one's layout.
    for (const char* sample : SAMPLES) {
        const SmsPdu full = Decode(sample);
        const std::size_t size = std::strlen(sample) / 2;
        for (std::size_t n = 0; n < size; ++n) {
            const SmsPdu prefix = Decode(QByteArray(sample, qsizetype(2 * n)));
            CheckRanges(prefix.fields, 0, n, n);
            QVERIFY(!FormatSmsPdu(prefix).empty());
            if (prefix.centreFirst == full.centreFirst && prefix.type == full.type &&
                (full.type == SmsMessageType::Deliver || full.type == SmsMessageType::Submit)) {
                QVERIFY2(!prefix.lengthsFit && !prefix.problems.empty(), sample);
            }
        }
    }
}

void TestSmsPdu::anyBytesDecodeInsideThemselves()
{
    // Random bytes, and samples with bytes changed at random: whatever the lengths in them say.
    std::mt19937 random(23040);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes;
        if (round % 2 == 0) {
            bytes.resize(random() % 200);
            for (std::uint8_t& b : bytes)
                b = std::uint8_t(random());
        } else {
            bytes = Bytes(SAMPLES[random() % std::size(SAMPLES)]);
            for (int k = int(random() % 4); k >= 0; --k)
                bytes[random() % bytes.size()] = std::uint8_t(random());
            bytes.resize(random() % (bytes.size() + 1));
        }
        const std::vector<std::uint8_t> exact(bytes);
        const SmsPdu pdu = DecodeSmsPdu(exact);
        CheckRanges(pdu.fields, 0, exact.size(), exact.size());
        QVERIFY(!FormatSmsPdu(pdu).empty() || exact.empty());
    }
}

void TestSmsPdu::unpackingMatchesBitByBit()
{
    std::mt19937 random(38);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(random() % 40);
        for (std::uint8_t& b : bytes)
            b = std::uint8_t(random());
        const std::size_t firstBit = random() % (8 * bytes.size() + 10);
        const std::size_t count = random() % 60;
        std::vector<std::uint8_t> reference;
        for (std::size_t k = 0; k < count && firstBit + 7 * (k + 1) <= 8 * bytes.size(); ++k) {
            unsigned septet = 0;
            for (unsigned bit = 0; bit < 7; ++bit) {
                const std::size_t at = firstBit + 7 * k + bit;
                septet |= unsigned(bytes[at / 8] >> (at % 8) & 1) << bit;
            }
            reference.push_back(std::uint8_t(septet));
        }
        const std::vector<std::uint8_t> exact(bytes);
        QCOMPARE(UnpackGsmSeptets(exact, firstBit, count), reference);
    }
    // python-gsmmodem, test/test_pdu.py, TestGsm7: packed texts, the extension table's among them.
    const struct {
        const char* packed;
        std::size_t septets;
        const char* text;
    } known[] = {{"31D90C", 3, "123"}, {"C8329BFD065DDF72363904", 12, "Hello World!"},
                 {"1BDE0615168F37A98D6FD303", 13, "[{abc}]~"}, {"1BD44332A1542C174C6653DEA400", 15, "{åΦΓΛΩΠΨΣΘ€}"}};
    for (const auto& k : known) {
        const std::vector<std::uint8_t> septets = UnpackGsmSeptets(Bytes(k.packed), 0, k.septets);
        QCOMPARE(Pack(septets).toHex().toUpper(), QByteArray(k.packed));
        QCOMPARE(Utf8(GsmSeptetsToUtf8(septets)), QString::fromUtf8(k.text));
    }
}

void TestSmsPdu::rendering()
{
    // One line a field, its bytes counted from 1; then what is wrong.
    const SmsPdu pdu = Decode("0891682143658709F0040B812143658709F1000831501290035423044F60597D");
    const QStringList lines = Utf8(FormatSmsPdu(pdu)).split('\n');
    QCOMPARE(lines.value(0), "PDU 形式: 以短信中心地址开头（长度吻合）");
    QCOMPARE(lines.value(1), "短信中心地址 [第 1–9 字节]: +8612345678900（国际号码）");
    QVERIFY(lines.contains("  号码类型 [第 12 字节]: 0x81：未知类型，ISDN/电话编号方案（E.164）"));
    QVERIFY(lines.contains("服务中心时间戳 TP-SCTS [第 21–27 字节]: 2013-05-21 09:30:45，时区 UTC+08:00（+32 刻钟）"));
    QVERIFY(lines.contains("  短信内容 [第 29–32 字节]: 你好"));
    const QString cut = Utf8(FormatSmsPdu(Decode("0891682143658709F0040B8121436587")));
    QVERIFY2(cut.contains("问题:\n  PDU 在第 16 字节后结束，缺少：协议标识 TP-PID、数据编码方案 TP-DCS、服务中心时间戳 TP-SCTS、用户数据长度 TP-UDL、用户数据 TP-UD\n"), qPrintable(cut));
    QVERIFY(cut.contains("协议标识 TP-PID: 缺失\n"));
    QCOMPARE(SmsFormat(SmsText::PartOf, {"2", "3"}), "第 2 部分，共 3 部分");
}

void TestSmsPdu::extractFromLogLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("pdu");
    QTest::newRow("listing") << QByteArray("0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9\r")
                             << QByteArray("0791447758100650040DD0F334FC1CA6970100008080312170224008D4F29CDE0EA7D9");
    QTest::newRow("listing header") << QByteArray("+CMGL: 1,0,,29") << QByteArray();
    QTest::newRow("message reference") << QByteArray("+CMGS: 12") << QByteArray();
    QTest::newRow("command") << QByteArray("AT+CMGS=23") << QByteArray();
    QTest::newRow("prompt and Ctrl-Z") << QByteArray("> 0011000B916407281553F80000AA0AE8329BFD4697D9EC37\x1A")
                                       << QByteArray("0011000B916407281553F80000AA0AE8329BFD4697D9EC37");
    QTest::newRow("time stamp before") << QByteArray("2024-05-01 10:00:00 RX 0011000B916407281553F8") << QByteArray("0011000B916407281553F8");
    QTest::newRow("pairs") << QByteArray("[10:00:01] RX: 00 11 00 0B 91 64 07\t28 (ok)") << QByteArray("00 11 00 0B 91 64 07 28");
    QTest::newRow("short pairs") << QByteArray("RX: 01 02 03") << QByteArray();
}

void TestSmsPdu::extractFromLogLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, pdu);
    QCOMPARE(QByteArray::fromStdString(ExtractPduHex(line.toStdString())), pdu);
}

QTEST_APPLESS_MAIN(TestSmsPdu)
#include "tst_sms_pdu.moc"
