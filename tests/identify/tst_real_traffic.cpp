// The identification against logs of real frames that nobody on the team wrote: public protocol
// libraries' test vectors, standards' own examples and users' posted captures, each row naming
// its source. A row states the rule the protocol documents, as the identification words it.

#include <QTest>

#include "identify/checksum_identify.h"
#include "identify/identify_texts.h"

namespace {

// Frames written as text: their characters, each closed by `end`.
QStringList Text(std::initializer_list<const char*> lines, const char* end)
{
    QStringList frames;
    for (const char* line : lines)
        frames << QByteArray(line).append(end).toHex(' ');
    return frames;
}

// The first rule in words; with classes, the first rule of each class after its first byte.
QStringList Firsts(const IdentifyReport& report)
{
    QStringList firsts;
    std::optional<std::uint8_t> previous;
    for (const IdentifiedRule& rule : report.rules) {
        const QString text = QString::fromStdString(IdentifiedRuleText(rule));
        if (!report.classes)
            return {text};
        if (rule.classByte != previous) {
            previous = rule.classByte;
            firsts << QString("%1 %2").arg(*rule.classByte, 2, 16, QChar('0')).arg(text);
        }
    }
    return firsts;
}

std::vector<IdentifyFrame> Log(const QStringList& frames)
{
    std::vector<IdentifyFrame> log;
    for (const QString& frame : frames) {
        const QByteArray bytes = QByteArray::fromHex(frame.toLatin1());
        log.push_back({log.size() + 1, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    }
    return log;
}

} // namespace

class TestRealTraffic : public QObject {
    Q_OBJECT

private slots:
    void documentedRuleFirst_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QStringList>("expected");

        // M-Bus (EN 13757-2), ganehag/pyMeterBus tests: short frames 10 C A CS 16 from
        // tests/test_short_frame.py and tests/test_serial.py (REQ_UD2, SND_NKE, REQ_UD2 with FCB),
        // the select frame of test_serial.py, the control frame of tests/test_control_frame.py
        // and meters' replies tests/test-frames/abb_xxx.hex, siemens_rvd_235.hex and
        // tests/fixtures/legacy_frames/amt_meter.hex. CS: the sum from C on, in both classes. The
        // short frames' C + A stay under 256, so CS 16 also reads as a 16-bit sum plus 0x1600.
        QTest::newRow("m-bus short and long frames") << QStringList{
            "10 08 0B 13 16",
            "10 5B 00 5B 16",
            "10 40 00 40 16",
            "10 7B 00 7B 16",
            "68 0B 0B 68 73 FD 52 01 00 00 00 DA DA FA 1B 8C 16",
            "68 03 03 68 08 0B 72 85 16",
            "68 85 85 68 08 00 72 72 59 38 00 42 04 20 02 0C 00 00 00 0E 84 00 07 59 00 00 00 00 "
            "04 FF A0 00 64 00 00 00 04 FF A1 15 00 00 00 00 04 FF A2 00 05 00 00 00 04 FF A3 15 "
            "00 00 00 00 07 FF A6 00 00 00 00 00 00 00 00 00 07 FF A7 00 00 00 00 00 00 00 00 00 "
            "07 FF A8 00 00 00 00 00 00 00 00 00 07 FF A9 00 00 00 00 00 00 00 00 00 0D FD 8E 00 "
            "07 30 2E 34 32 2E 31 42 0D FF AA 00 0B 30 30 31 2D 33 31 31 20 34 32 42 1F BD 16",
            "68 7A 7A 68 08 01 72 56 83 02 00 7A 32 29 20 0C 68 00 00 0A 66 BB BB 8A 10 5B BB BB "
            "0A 5F BB BB 82 30 5B 1A 00 8A 30 5F BB BB 8A 30 FB 6A BB BB 82 A0 10 5B 19 00 82 20 "
            "5B 19 00 8A 20 FB 57 BB BB 8A 20 FB 53 BB BB 8A 20 5F BB BB 0A FD 48 BB BB 0F 01 FB "
            "64 00 81 30 FB 64 64 81 20 FB 64 64 41 FB 64 00 81 01 FB 64 64 C1 01 FB 64 64 C1 02 "
            "FB 64 00 81 03 FB 64 00 8A 10 DF 00 BB BB BF 16",
            "68 AA AA 68 08 00 72 31 45 56 05 B4 05 C0 04 40 00 00 00 04 06 DC 6B 04 00 04 16 76 "
            "46 00 00 84 40 16 00 00 00 00 84 80 40 16 00 00 00 00 05 2B 00 00 00 00 05 3B 00 00 "
            "00 00 05 5B 52 97 85 42 05 5F CC AC 79 42 05 63 C0 0E 8C 40 05 83 33 54 0D 92 3F 05 "
            "9B 2C A2 8F 7B 3F 04 22 F0 3C 00 00 34 22 00 00 00 00 B4 40 22 E7 00 00 00 04 6D 21 "
            "31 6A 27 05 93 28 00 00 80 3F 85 40 93 28 00 00 80 3F 85 80 40 93 28 00 00 80 3F 0C "
            "78 31 45 56 05 0D FD 11 0C 47 41 20 6F 72 74 65 6D 61 75 71 41 0B FD 0E 01 01 02 0C "
            "FD 0D 13 00 12 02 C4 16"
        } << QStringList{"68 SUM8，第5字节 至 倒数第3字节，其后1字节结束符；5/5 帧",
                         "10 SUM8，第2字节 至 倒数第3字节，其后1字节结束符；4/4 帧"};
        // M-Bus replies of five meters, rscada/libmbus test/test-frames: EFE_Engelmann-WaterStar.hex,
        // ELV-Elvaco-CMa10.hex, GWF-MTKcoder.hex, REL-Relay-Padpuls2.hex, SEN_Pollustat.hex.
        QTest::newRow("m-bus meters") << QStringList{
            "68 51 51 68 08 0B 72 54 02 99 04 C5 14 00 06 0C 27 00 00 04 78 2E 25 4C 00 04 6D 0A "
            "0C CD 13 04 13 4C 01 00 00 44 13 4B 01 00 00 84 01 13 4C 01 00 00 42 6C BF 1C 02 6C "
            "DF 1C 04 3B 00 00 00 00 14 3B 16 08 00 00 02 23 A7 04 01 FD 17 00 04 90 28 08 00 00 "
            "00 3F 16",
            "68 53 53 68 08 0B 72 61 15 01 24 96 15 16 00 3F 00 00 00 01 FD 1B 02 02 FC 03 48 52 "
            "25 74 22 15 22 FC 03 48 52 25 74 24 0D 12 FC 03 48 52 25 74 C3 1C 02 65 2E 08 22 65 "
            "5C 05 12 65 A2 0B 01 72 18 42 65 2C 08 82 01 65 1F 08 0C 78 61 15 01 24 03 FD 0F 00 "
            "00 04 1F BD 16",
            "68 1B 1B 68 08 01 72 07 20 18 00 E6 1E 35 07 4C 00 00 00 0C 78 07 20 18 00 0C 16 69 "
            "02 00 00 96 16",
            "68 2F 2F 68 08 16 72 01 63 21 11 AC 48 41 03 B1 00 00 00 0C 14 81 60 87 02 04 6D A1 "
            "15 E9 17 42 6C DF 1C 4C 14 82 73 59 02 42 EC 7E FF 1C 0F C0 01 01 0C BD 16",
            "68 71 71 68 08 04 72 88 17 01 00 AE 4C 06 0D 3E 00 00 00 04 6D 3B 0E E7 14 34 6D 00 "
            "00 01 01 34 FD 17 00 00 00 04 04 20 92 22 F1 00 04 24 A4 1A E7 00 04 86 3B 97 9B 00 "
            "00 04 13 BE 09 5E 00 05 2E B1 D1 2E BE 05 3E F5 B8 4E 40 05 5B B8 2D F9 41 05 5F 78 "
            "8B F9 41 05 63 00 80 3B BD 04 BE 50 71 BB B0 00 04 BE 58 F4 02 00 00 0C 78 88 17 01 "
            "00 02 7F 10 B5 5D 16"
        } << QStringList{"SUM8，第5字节 至 倒数第3字节，其后1字节结束符；5/5 帧"};
        // SML over its transport (BSI TR-03109-1, CRC-16/X-25 over the whole transmission, the
        // catalogue's CRC-16/IBM-SDLC), felixwrt/sml-rs src/transport.rs: an EasyMeter's stream
        // from the test module, cut at each start escape 1B1B1B1B 01010101 (lines 1, 4 and 5 are
        // corrupted in that capture: bytes lost), the test real_data and three of the module's
        // short transmissions.
        QTest::newRow("sml") << QStringList{
            "1B1B1B1B01010101760B4553594199A502EA9AF4620062007263010176010445535908455359DF6E9AF4"
            "0B09014553591103B599A50101638CFF00760B4553594199A502EA9AF5620062007263070177010B0901"
            "4553591103B599A5070100620AFFFF7262016500F8DF6E7E77078181C78203FF01010101044553590177"
            "070100000009FF010101010B09014553591103B599A50177070100010800FF6400008001621E52FC5900"
            "000006D95B8C640177070100020800FF6400008001621E52FC5900000000419BD4D30177070100100700"
            "FF0101621B52FE5900000000000145BD0177070100240700FF0101621B52FE59000000000000C7580177"
            "070100380700FF0101621B52FE590000000000001D3E01770701004C0700FF0101621B52FE5900000000"
            "000061250177078181C78205FF0101010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D"
            "4FAF3EE067C164C30494DAE9EA1566ED727D236AAF5AB09A5B0177070100000000FF010101010F314553"
            "59313136323233323939370177070100200700FF0101622352FF6309160177070100340700FF52FF6309"
            "070177070100480700FF0101622352FF6309160177078181C7F006FF010101010401071E010101638DA4"
            "00760B4553594199A502EA9AF6620062007263020171016317E7000000001B1B1B1B1A037BD3",
            "1B1B1B1B01010101760B4553594199A502EA9AF7620062007263010176010445535908455359DF6F9AF7"
            "0B09014553591103B599A5010163620E00760B4553594199A502EA9AF8620062007263070177010B0901"
            "4553591103B599A5070100620AFFFF7262016500F8DF6F7E77078181C78203FF01010101044553590177"
            "070100000009FF010101010B09014553591103B599A50177070100010800FF6400008001621E52FC5900"
            "000006D95B952E0177070100020800FF6400008001621E52FC5900000000419BD4D30177070100100700"
            "FF0101621B52FE590000000000013C820177070100240700FF0101621B52FE59000000000000C55B0177"
            "070100380700FF0101621B52FE5900000000000018AF01770701004C0700FF0101621B52FE5900000000"
            "00005E770177078181C78205FF0101010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D"
            "4FAF3EE067C164C30494DAE9EA1566ED727D236AAF5AB09A5B0177070100000000FF010101010F314553"
            "59313136323233323939370177070100200700FF0101622352FF6309150177070100340700FF01016223"
            "52FF6309030177070100480700FF0101622352FF6309150177078181C7F006FF010101010401071E0101"
            "016362BC00760B4553594199A502EA9AF962006200726302017101635BFB000000001B1B1B1B1A03F8B1",
            "1B1B1B1B01010101760B4553594199A502EA9AFA620062007263010176010445535908455359DF709AFA"
            "0B09014553591103B599A5010163216800760B4553594199A502EA9AFB620062007263070177010B0901"
            "4553591103B599A5070100620AFFFF7262016500F8DF707E77078181C78203FF01010101044553590177"
            "070100000009FF010101010B09014553591103B599A50177070100010800FF6400008001621E52FC5900"
            "000006D95B9D760177070100020800FF6400008001621E52FC5900000000419BD4D30177070100100700"
            "FF0101621B52FE590000000000012A140177070100240700FF0101621B52FE59000000000000BDEE0177"
            "070100380700FF0101621B52FE59000000000000142F01770701004C0700FF0101621B52FE5900000000"
            "000057F60177078181C78205FF0101010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D"
            "4FAF3EE067C164C30494DAE9EA1566ED727D236AAF5AB09A5B0177070100000000FF010101010F314553"
            "59313136323233323939370177070100200700FF0101622352FF6309140177070100340700FF01016223"
            "52FF6309020177070100480700FF0101622352FF6309120177078181C7F006FF010101010401071E0101"
            "0163250C00760B4553594199A502EA9AFC62006200726302017101639FF0000000001B1B1B1B1A03345C",
            "1B1B1B1B01010101760B4553594199A502EA9AFD620062007263010176010445535908455359DF719AFD"
            "0B09014553591103B599A501016368CB00760B4553594199A502EA9AFE620062007263070177010B0901"
            "4553591103B599A5070100620AFFFF7262016500F8DF717E77078181C78203FF01010101044553590177"
            "070100000009FF010101010B09014553591103B599A50177070100010800FF6400008001621E52FC5900"
            "000006D95BA56C0177070100020800FF6400008001621E52FC5900000000419BD4D30177070100100700"
            "FF0101621B52FE590000000000011E960177070100240700FF0101621B52FE59000000000000B9880177"
            "070100380700FF0101621B52FE59000000000000114501770701004C0700FF0101621B52FE5900000000"
            "000053C80177078181C78205FF0101010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D"
            "4FAF3EE067C164C30494ED727D236AAF5AB09A5B0177070100000000FF010101010F3145535931313632"
            "3233323939370177070100200700FF0101622352FF6309140177070100340700FF0101622352FF630905"
            "0177070100480700FF0101622352FF6309130177078181C7F006FF010101010401071E01010163DC3200"
            "760B4553594199A502EA9AFF62006200726302017101632C0E000000001B1B1B1B1A0302F5",
            "1B1B1B1B01010101760B4553594199A502EA9B00620062007263010176010445535908455359A5010163"
            "884700760B4553594199A502EA9B01620062007263070177010B09014553591103B599A5070100620AFF"
            "FF7262016500F8DF727E77078181C78203FF01010101044553590177070100000009FF010101010B0901"
            "4553591103B599A50177070100010800FF6400008001621E52FC5900000006D95BAD3201770701000208"
            "00FF6400008001621E52FC5900000000419BD4D30177070100100700FF0101621B52FE59000000000001"
            "17DF0177070100240700FF0101621B52FE59000000000000B7960177070100380700FF0101621B52FE59"
            "0000000000000EF901770701004C0700FF0101621B52FE5900000000000051500177078181C78205FF01"
            "01010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D4FAF3EE067C164C30494DAE9EA15"
            "66ED727D236AAF5AB09A5B0177070100000000FF010101010F3145535931313632323332393937017707"
            "0100200700FF0101622352FF6309130177070100340700FF0101622352FF6309050177070100480700FF"
            "0101622352FF6309150177078181C7F006FF010101010401071E01010163060A00760B4553594199A502"
            "EA9B026200620072630201710163C6F0000000001B1B1B1B1A03F908",
            "1B1B1B1B01010101760B4553594199A502EA9B03620062007263010176010445535908455359DF739B03"
            "0B09014553591103B599A501016366B600760B4553594199A502EA9B04620062007263070177010B0901"
            "4553591103B599A5070100620AFFFF7262016500F8DF737E77078181C78203FF01010101044553590177"
            "070100000009FF010101010B09014553591103B599A50177070100010800FF6400008001621E52FC5900"
            "000006D95BB4D30177070100020800FF6400008001621E52FC5900000000419BD4D30177070100100700"
            "FF0101621B52FE5900000000000112A40177070100240700FF0101621B52FE59000000000000B5960177"
            "070100380700FF0101621B52FE590000000000000D9501770701004C0700FF0101621B52FE5900000000"
            "00004F780177078181C78205FF0101010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D"
            "4FAF3EE067C164C30494DAE9EA1566ED727D236AAF5AB09A5B0177070100000000FF010101010F314553"
            "59313136323233323939370177070100200700FF0101622352FF6309120177070100340700FF01016223"
            "52FF6309020177070100480700FF0101622352FF6309130177078181C7F006FF010101010401071E0101"
            "0163B5F600760B4553594199A502EA9B0562006200726302017101632050000000001B1B1B1B1A032D91",
            "1B1B1B1B01010101760B4553594199A502EA9B06620062007263010176010445535908455359DF749B06"
            "0B09014553591103B599A5010163278400760B4553594199A502EA9B07620062007263070177010B0901"
            "4553591103B599A5070100620AFFFF7262016500F8DF747E77078181C78203FF01010101044553590177"
            "070100000009FF010101010B09014553591103B599A50177070100010800FF6400008001621E52FC5900"
            "000006D95BBC4A0177070100020800FF6400008001621E52FC5900000000419BD4D30177070100100700"
            "FF0101621B52FE590000000000010CB20177070100240700FF0101621B52FE59000000000000B3050177"
            "070100380700FF0101621B52FE590000000000000CA801770701004C0700FF0101621B52FE5900000000"
            "00004D040177078181C78205FF0101010183021A24687A277E98565E1093055BEE0F704E58FDAA3DD19D"
            "4FAF3EE067C164C30494DAE9EA1566ED727D236AAF5AB09A5B0177070100000000FF010101010F314553"
            "59313136323233323939370177070100200700FF0101622352FF6309120177070100340700FF01016223"
            "52FF6309010177070100480700FF0101622352FF6309100177078181C7F006FF010101010401071E0101"
            "0163160D00760B4553594199A502EA9B0862006200726302017101634EE7000000001B1B1B1B1A03A222",
            "1B1B1B1B010101017605006345516200620072630101760101050021171B0B0A0149534B00047A554472"
            "6201650021155A620163828E00760500634552620062007263070177010B0A0149534B00047A55440701"
            "00620AFFFF726201650021155A757707010060320101010101010449534B0177070100600100FF010101"
            "010B0A0149534B00047A55440177070100010800FF650010010401621E52FF65000C1361017707010002"
            "0800FF0101621E52FF62000177070100100700FF0101621B5200530860010101638E7100760500634553"
            "6200620072630201710163AD55001B1B1B1B1A00D54B",
            "1B1B1B1B01010101123456781B1B1B1B1A00B87B",
            "1B1B1B1B01010101123456001B1B1B1B1A0191A5",
            "1B1B1B1B01010101121B1B1B1B1B1B1B1B0000001B1B1B1B1A03BE25"
        } << QStringList{"CRC-16/IBM-SDLC（低字节在前），第1字节 至 倒数第3字节；8/11 帧；不成立：第1、4、5行"};
        // RTCM 3 (RTCM 10403, CRC-24Q: the catalogue's CRC-24/LTE-A, high byte first),
        // goblimey/go-ntrip rtcm/testdata/testdata.go: the five messages of MessageBatch, cut by
        // their length fields, then MessageFrameType1005 and UnhandledMessageType1024.
        QTest::newRow("rtcm 3") << QStringList{
            "D3 00 8A 43 20 00 8A 0E 1A 26 00 00 2F 40 00 06 00 00 00 00 20 00 80 00 5F FF A4 A7 "
            "25 A4 A4 22 A9 26 30 64 AB 9F 4E 1D EF 58 D5 28 60 34 00 FF FF 98 63 48 B0 91 AB 63 "
            "4C 72 8C 63 A6 24 26 44 04 7F 68 F0 B0 42 A0 51 FC 1F 39 00 C8 90 04 21 A0 6C 9E 81 "
            "64 7F 06 00 E8 1B D0 7F 35 6E BD 20 2A 09 CF 34 28 A6 10 80 F6 41 D9 E4 01 A7 20 07 "
            "4E BF FF FF FF FF FF FF FF 00 01 75 14 D7 3D 76 65 56 16 4B 35 B4 00 00 00 00 00 00 "
            "00 81 51 A5",
            "D3 00 98 43 C0 00 D1 07 8E E6 00 00 60 B0 61 80 00 00 00 00 20 80 00 00 7F 7F E8 09 "
            "48 C8 A9 28 C9 C9 E9 10 6B 10 9D AC 13 6A DB D9 A8 C0 A1 5C A2 B0 1F 3B 3E 6E 70 A8 "
            "DF F5 96 87 62 96 C3 52 9D 65 05 07 14 0E 07 D6 A1 AF 83 4C 36 96 B0 AF F9 C2 B6 78 "
            "FC 34 47 F8 3B DF 96 90 7E 69 76 F2 E2 67 D6 FC 9F 71 76 02 CA 91 0A 5D 54 1C AA 20 "
            "6C 83 7D 65 1F F5 D2 8F D8 04 4F 52 45 7F FF FF FF FF FF 32 EF FC 00 01 74 D6 D7 8D "
            "57 E3 56 15 51 2C 0D DF 50 00 00 00 00 00 00 C4 C9 01",
            "D3 00 DC 44 90 00 8A 0E 1A 26 00 00 54 41 00 81 08 00 00 00 20 01 00 00 3F FF AE 2C "
            "27 26 2A AA AB AD 00 00 00 00 46 F8 52 78 4F 1C FE 2D 0D 2C 7E 1E 0E 50 0D 9F 55 81 "
            "AE 11 E0 1F 7E C5 FB 67 FE 88 52 68 56 99 89 90 98 44 DE F5 BA EF 0E AE 2D 08 62 8F "
            "F6 1C 1E 63 D7 D1 30 E1 93 3D 56 9A A4 6A 01 FF E8 88 97 A1 66 9F A6 31 F8 6A 37 70 "
            "6D 55 D7 C2 49 77 C5 37 87 8C 67 0F 8D ED 37 76 65 8F 94 5A 58 4E 99 88 52 6E 07 A5 "
            "D3 AF A1 B4 44 17 15 45 F3 5C D9 42 50 92 5C 96 E5 C0 12 0C 8B 44 D1 20 00 1F 0A 42 "
            "D0 C0 2F 0B 82 D0 AC 2D 08 C2 00 A8 2C 09 42 B0 E4 BE 8C 45 1D 98 C4 F1 8C 3A 41 B4 "
            "82 1F 84 3E C0 6C 48 D7 50 D1 11 97 FC F7 39 C2 00 00 00 00 00 00 00 00 00 00 00 8E "
            "85 A1",
            "D3 00 7B 46 40 00 8A 0D 3F 66 00 00 01 30 04 28 08 00 00 00 20 02 00 00 3F 55 0D 0C "
            "AA 98 9E A6 AF 7B 2D DD 62 1A DB 3B 26 08 B6 4D E7 1B 44 30 F6 60 40 06 CE 4B BB 0F "
            "87 B5 B0 58 FD FD F9 F4 F6 FF 37 C2 2E 0E FA B1 41 37 24 0A 13 FB C4 AD BF E3 72 3F "
            "FF FF FF F8 00 E4 D1 C7 7E 57 57 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 8C 60 C0",
            "D3 00 C3 46 70 00 8A 0D 3F 64 00 00 01 30 04 28 08 00 00 00 20 02 00 00 3F 55 0D 0C "
            "AA 98 9E A6 AE 00 00 00 17 B2 DD D6 21 AD B3 B2 60 81 4E 08 DF B4 9F 4F 84 64 01 37 "
            "C5 22 D8 E9 BC E0 1B 44 21 87 AF F8 10 0E 0D 9A 04 BB A1 87 BE 5E D6 A2 0B 1F BD EF "
            "CF A5 ED FE 65 E1 17 03 DF 56 2C 09 B9 20 14 27 F1 E2 56 DB FC 6E 40 F3 41 D0 A4 E9 "
            "3B D0 51 84 8C E2 80 1C 09 82 30 8C 2F 0C 82 E0 AC 20 03 68 08 9D 11 28 F4 0A E7 37 "
            "DA F4 BF 9A 0F 9F B4 E0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 8F 9D 1C",
            "D3 00 13 3E D0 02 0F C0 00 01 E2 40 40 00 03 94 47 80 00 05 46 4E 5B 90 5F",
            "D3 00 08 40 00 00 8A 00 00 00 00 4F 5E E7"
        } << QStringList{"CRC-24/LTE-A（高字节在前），第1字节 至 倒数第4字节；7/7 帧"};
        // DLMS/COSEM over HDLC (IEC 62056-46: the FCS, CRC-16/X-25, from the frame format to the
        // end of the information, before the closing flag 7E; the HCS the same CRC over the
        // header), u9n/dlms-cosem tests/test_hdlc/test_hdlc.py: a segmented frame, SNRM, UA and
        // two information frames.
        QTest::newRow("dlms hdlc") << QStringList{
            "7E A8 7E 21 03 96 A4 09 0F 01 16 00 02 02 0F 02 16 00 02 02 0F 03 16 00 02 02 0F 04 "
            "16 00 02 02 0F 05 16 00 02 02 0F 06 16 00 02 04 12 00 17 11 00 09 06 00 00 16 00 00 "
            "FF 02 02 01 09 02 03 0F 01 16 01 00 02 03 0F 02 16 01 00 02 03 0F 03 16 01 00 02 03 "
            "0F 04 16 01 00 02 03 0F 05 16 01 00 02 03 0F 06 16 01 00 02 03 0F 07 16 01 00 02 03 "
            "0F 08 16 01 00 02 03 0F 09 16 01 00 01 6F F3 7E",
            "7E A0 08 02 23 21 93 BD 64 7E",
            "7E A0 1F 21 02 23 73 E6 C7 81 80 12 05 01 9A 06 01 9A 07 04 00 00 00 01 08 04 00 00 "
            "00 01 CC A2 7E",
            "7E A0 2C 02 23 21 10 AF 9F E6 E6 00 60 1D A1 09 06 07 60 85 74 05 08 01 01 BE 10 04 "
            "0E 01 00 00 00 06 5F 1F 04 00 00 1E 1D FF FF C5 E4 7E",
            "7E A0 38 21 02 23 30 34 E7 E6 E7 00 61 29 A1 09 06 07 60 85 74 05 08 01 01 A2 03 02 "
            "01 00 A3 05 A1 03 02 01 00 BE 10 04 0E 08 00 06 5F 1F 04 00 00 1E 1D 04 C8 00 07 B8 "
            "6A 7E"
        } << QStringList{"CRC-16/IBM-SDLC（低字节在前），第2字节 至 倒数第4字节，其后1字节结束符；5/5 帧"};
        // Daly BMS over UART/Bluetooth (A5 address id length data, SUM8 of all before it),
        // dreadnought/python-daly-bms tests/test_bluetooth.py: requests 0x90 and 0x91 and the
        // replies to 0x90 to 0x96 and 0x98 (the first frames of the multi-frame replies).
        QTest::newRow("daly bms") << QStringList{
            "A5 80 90 08 00 00 00 00 00 00 00 00 BD",
            "A5 01 90 08 02 12 00 00 74 F5 03 9A 58",
            "A5 80 91 08 00 00 00 00 00 00 00 00 BE",
            "A5 01 91 08 0C F3 0A 0C EC 01 03 9A DE",
            "A5 01 92 08 3D 01 3D 01 00 00 00 AD 69",
            "A5 01 93 08 02 01 01 9E 00 03 EA F8 C8",
            "A5 01 94 08 10 01 00 00 02 00 0B 9B FB",
            "A5 01 95 08 01 0D 37 0D 36 0D 34 9B A7",
            "A5 01 95 08 03 0D 34 0D 3E 0D 36 9B B0",
            "A5 01 96 08 01 3D 00 00 00 00 00 00 82",
            "A5 01 98 08 00 00 00 00 00 00 00 00 46"
        } << QStringList{"SUM8，第1字节 至 倒数第2字节；11/11 帧"};
        // JBD (Jiabaida/Xiaoxiang) BMS: the protocol's examples of the basic information (0x03)
        // and cell voltage (0x04) reads, request and reply (the 0x03 pair as jblance/mpp-solar's
        // test of the jk232 protocol quotes it) and the 0x05 request. The check: 0x10000 minus the
        // sum from the register (the status in replies) to the data, high byte first, before the
        // end byte 77.
        QTest::newRow("jbd bms") << QStringList{
            "DD A5 03 00 FF FD 77",
            "DD 03 00 1B 17 00 00 00 02 D0 03 E8 00 00 20 78 00 00 00 00 00 00 10 48 03 0F 02 0B "
            "76 0B 82 FB FF 77",
            "DD A5 04 00 FF FC 77",
            "DD 04 00 1E 0F 66 0F 63 0F 63 0F 64 0F 3E 0F 63 0F 37 0F 5B 0F 65 0F 3B 0F 63 0F 63 "
            "0F 3C 0F 66 0F 3D F9 F9 77",
            "DD A5 05 00 FF FB 77"
        } << QStringList{"−SUM16（高字节在前），第3字节 至 倒数第4字节，其后1字节结束符；5/5 帧"};
        // Pylontech RS485 (ASCII: ~ VER ADR CID1 CID2 LENGTH INFO CHKSUM CR, CHKSUM the 16-bit
        // two's complement of the sum of the characters after ~, as four hex digits), a user's
        // requests to two batteries and a US3000's reply in meteosat007/solar-pylontech README.md.
        QTest::newRow("pylontech") << Text({
            "~20024642E00202FD33",
            "~20024693E00202FD2D",
            "~20034642E00203FD31",
            "~20034693E00203FD2B",
            "~20024600F07A11020F0CC50CC30CC50CC40CC40CC60CC50CC40CC70CC50CC60CC60CC50CC60CC6050B370B230B230B2D"
            "0B2DFFE0BF8DFFFF04FFFF001B00BBE4012110E1D6"
        }, "\r") << QStringList{"−SUM16（高字节在前），第2字节 至 倒数第6字节，校验码为4位16进制文本，其后1字节结束符；5/5 帧"};
        // u-blox UBX (CK_A, CK_B: the 8-bit Fletcher sums from the class to the payload), the
        // messages of semuconsulting/pyubx2 tests/test_parse.py (ACK-ACK, CFG-MSG, CFG-PRT poll,
        // NAV-VELNED, CFG-NMEA, MGA-DBD, MGA-FLASH-ACK, CFG-VALGET, ESF-MEAS), not the one with a
        // deliberately wrong check.
        QTest::newRow("ubx messages") << QStringList{
            "B5 62 05 01 02 00 06 01 0F 38",
            "B5 62 06 01 08 00 F0 01 00 01 01 01 00 00 03 36",
            "B5 62 06 00 00 00 06 18",
            "B5 62 01 12 24 00 30 44 0A 18 FD FF FF FF F1 FF FF FF FC FF FF FF 10 00 00 00 0F 00 "
            "00 00 83 F5 01 00 41 00 00 00 F0 DF 7A 00 D0 A6",
            "B5 62 06 17 04 00 00 00 00 00 21 E9",
            "B5 62 06 17 0C 00 00 00 00 00 00 00 00 00 00 00 00 00 29 61",
            "B5 62 13 80 0E 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 01 02 F2 C2",
            "B5 62 13 21 06 00 03 01 02 00 00 04 44 3A",
            "B5 62 06 8B 0C 00 00 00 00 00 01 00 52 40 80 25 00 00 D5 D0",
            "B5 62 06 8B 09 00 00 00 00 00 01 00 51 20 55 61 C2",
            "B5 62 06 8B 16 00 00 00 00 00 01 00 51 20 55 01 00 52 40 80 25 00 00 02 00 21 30 23 "
            "1C 92",
            "B5 62 06 8B 0C 00 00 00 00 00 68 00 11 40 B6 F3 9D 3F DB 3D",
            "B5 62 10 02 10 00 01 02 03 04 00 00 00 00 01 02 03 04 05 06 07 08 50 8A",
            "B5 62 10 02 14 00 01 02 03 04 00 08 00 00 01 02 03 04 05 06 07 08 01 02 03 04 66 AE"
        } << QStringList{"FLETCHER-8（低字节在前），第3字节 至 倒数第3字节；14/14 帧"};
        // IEC 62056-21 (meter readout over the optical port: BCC the XOR from after SOH, or after
        // the first STX, to ETX), the messages of pwitab/iec62056-21 tests/test_data.py: answers,
        // a readout, and the R1, P0 and B0 commands (these start with SOH, the others with STX;
        // one rule holds in both).
        QTest::newRow("iec 62056-21") << QStringList{
            "02 33 3A 31 37 31 2E 30 28 30 29 03 12",
            "02 33 3A 31 34 28 33 31 34 2A 6B 57 68 29 34 3A 31 35 28 34 31 35 2A 6B 57 68 29 0D "
            "0A 03 04",
            "02 33 3A 31 34 28 33 31 34 2A 6B 57 68 29 34 3A 31 35 28 34 31 35 2A 6B 57 68 29 0D "
            "0A 21 0D 0A 03 22",
            "01 52 31 02 31 2E 38 2E 30 28 31 29 03 6B",
            "01 50 30 02 28 31 32 33 34 35 36 37 29 03 50",
            "01 42 30 03 71"
        } << QStringList{"XOR8，第2字节 至 倒数第2字节；6/6 帧"};
        // Sensirion SCD30 over I2C (each 16-bit word followed by its CRC-8, polynomial 0x31, init
        // 0xFF: the catalogue's CRC-8/NRSC-5): the vendor's interface description examples, as
        // SCD30 drivers' tests quote them verbatim: the read-measurement reply (439 ppm, 27.2 °C,
        // 48.8 %RH), the data-ready reply, the CRC example 0xBEEF, and the arguments 2 (measurement
        // interval) and 0 (self-calibration off) with their CRC. A block rule: a CRC every 2 bytes.
        QTest::newRow("sensirion scd30") << QStringList{
            "43 DB CB 8C 2E 8F 41 D9 70 E7 FF F5 42 43 BF 3A 1B 74",
            "00 01 B0",
            "BE EF 92",
            "00 02 E3",
            "00 00 81"
        } << QStringList{"CRC-8/NRSC-5，第1字节 至 第2字节，其后每2字节一个校验码；5/5 帧"};
        // NMEA 0183 of other talkers than GNSS receivers (alarms II, AIS AI, voyage recorder VR,
        // integrated navigation IN, NAVTEX CR, communication CS), semuconsulting/pynmeagps
        // tests/pygpsdata-maritime.log, lines closed by LF as in the file.
        QTest::newRow("nmea maritime talkers") << Text({
            "$IIALF,1,1,0,124304.50,A,W,A,,192,1,1,0,LOST TARGET*14",
            "$IIALF,2,1,1,081950.10,B,A,S,XYZ,0512,1,2,0,HEADING LOST*2D",
            "$IIALF,2,2,1,,,,,XYZ,0512,1,2,0,NO SYSTEM HEADING AVAILABLE*0D",
            "$AIEPV,R,AI,503123450,101,38400*05",
            "$VRGEN,0000,011200.00,0123,4567,89AB,CDEF,0123,4567,89AB,CDEF*64",
            "$VRGEN,0008,011200.00,0123,4567*6C",
            "$INNRM,2,1,00001E1F,00000023,C*38",
            "$CRNRX,007,001,00,IE69,1,135600,27,06,2001,241,3,A,============================*09",
            "$CRNRX,007,002,00,,,,,,,,,,========^0D^0AISSUED ON SATURDAY 06 JANUARY 2001.*29",
            "$CSSM3,123456,005213,798,0,3,14,00,2012,04,05,14,30,3400,N,076,W,300*39",
            "$CSSMB,008,001,0,123456,FROM:Maritime Rescue Coordination Centre xxx^0D)0ATO:*48",
            "$IISPW,EPV,211000001,2,SESAME*1A",
            "$IIEPV,C,AI,211000001,111,HEUREKA143*55",
            "$AIEPV,R,AI,211000001,111,HEUREKA143*4C"
        }, "\n") << QStringList{"XOR8，第2字节 至 倒数第5字节，其后为“*”及2位16进制文本校验码，其后1字节结束符；14/14 帧"};
        // Proprietary sentences ($PTNL, $PASHR, $PFUGDP, $PGPPADV) beside $GPLLQ and $GPROT,
        // semuconsulting/pynmeagps tests/trimble_nmea.log.
        QTest::newRow("nmea proprietary") << Text({
            "$GPLLQ,034137.00,210712,23.45,M,13.07,M,3,15,0.011,3.14,M*08",
            "$GPROT,35.6,A*01",
            "$PFUGDP,GN,033615.00,3953.88002,N,10506.75324,W,13,9,FF,0.1,0.1,149,0.1*13",
            "$PTNL,AVR,212405.20,+52.1531,Yaw,-0.0806,Tilt,,,12.575,3,1.4,16*39",
            "$PTNL,AVR,212604.30,+52.1800,Yaw,,,-0.0807,Roll,12.579,3,1.4,16*21",
            "$PTNL,BPQ,224445.06,021207,3723.09383914,N,12200.32620132,W,EHT-5.923,M,5*60",
            "$PTNL,DG,44.0,33.0,287.0,100,0,4,1,0,,,*12",
            "$PTNL,DG,124.0,10.5,1557855.0,1200,2,4,0,3,,,*10",
            "$PTNL,EVT,221212.000008,1,5026,1893,1,17*4F",
            "$PTNL,EVT,221213.000008,1,5027,1893,1,17*4F",
            "$PTNL,GGK,102939.00,051910,5000.97323841,N,00827.62010742,E,5,09,1.9,EHT150.790,M*73",
            "$PTNL,PJK,202831.50,011112,+805083.350,N,+388997.346,E,10,09,1.5,GHT+25.478,M*77",
            "$PTNL,PJK,010717.00,081796,+732646.511,N,+1731051.091,E,1,05,2.7,EHT+28.345,M*7A",
            "$PTNL,PJT,NAD83(Conus),California Zone 4 0404,*5D",
            "$PTNL,VHD,030556.00,093098,187.718,-22.138,-76.929,-5.015,0.033,0.006,3,07,2.4,M*22",
            "$PTNL,VGK,160159.00,010997,-0000.161,00009.985,-0000.002,3,07,1,4,M*09",
            "$PASHR,ARR,1,3,12,160159.00,123.45,123.45,-123.45,12.34,12.34,12.34,2.34,2.34,-2.34,S,0,2,1*72",
            "$PASHR,BTS,C,1,btsdev1,hs-344-fg,87,H,1,btsdev2,pc-377xs,68,T,0,,,*5F",
            "$PGPPADV,110,39.88113582,-105.07838455,1614.125*71",
            "$PGPPADV,120,21,76.82,68.51,29,20.66,317.47,28,52.38,276.81,22,42.26,198.96*67",
            "$PASHR,142509.000,179.885,T,-0.624,0.245,,0.029,0.029,0.502,2,3*17"
        }, "\n") << QStringList{"XOR8，第2字节 至 倒数第5字节，其后为“*”及2位16进制文本校验码，其后1字节结束符；21/21 帧"};
        // JT/T 808 (7E header body check 7E, the check the XOR from the header to the body),
        // cuteLittleDevil/go-jt808 protocol/model/parse_test.go: the messages of TestParse and
        // TestT0x0704Parse. The check is over the message before 7E is escaped as 7D 02: line 10
        // carries one such escape and fails, line 11 two whose XORs cancel.
        QTest::newRow("jt/t 808") << QStringList{
            "7E000100050123456789017FFF007B01C803BD7E",
            "7E8001000501234567890100007FFF0002008E7E",
            "7E8100000E01234567890100000000003132333435363738393031377E",
            "7E0002000001234567890100008A7E",
            "7E0102000B01234567890100003137323939383431373338B57E",
            "7E0102402F010000000001729984173800000B3137323939383431373338313233343536373839303132"
            "333435332E372E31350000000000000000000000000000227E",
            "7E010000200123456789010000001F007363640000007777772E3830382E3736353433323101B2E24131"
            "323334A17E",
            "7E0100002C0123456789010000001F007363640000007777772E3830382E636F6D000000000000000000"
            "3736353433323101B2E24131323334CC7E",
            "7E0100405301000000000172998417380000001F007363640000000000000000007777772E3830382E63"
            "6F6D00000000000000000000000000000000000000373635343332310000000000000000000000000000"
            "00000000000000000001B2E241313233343B7E",
            "7E0200001C0123456789010000000004000000080007203B7D0202633DF7013800030063241001235959"
            "1C7E",
            "7E0704003F0123456789010000000200001C000004000000080007203B7D0202633DF701380003006324"
            "1001235959001C000004000000080007203B7D0202633DF7013800030063241001235959B67E",
            "7E070400610123456789017FFF000301001C000004000000080006EEB6AD02633DF70138000300632007"
            "07192359001C000004000000080006EEB6AD02633DF70138000300632007071923590020000004000000"
            "080006EEB6AD02633DF701380003006320070719235902010012177E"
        } << QStringList{"XOR8，第2字节 至 倒数第3字节，其后1字节结束符；11/12 帧；不成立：第10行"};
    }
    void documentedRuleFirst()
    {
        QFETCH(QStringList, frames);
        QFETCH(QStringList, expected);
        QCOMPARE(Firsts(IdentifyChecksums(Log(frames))), expected);
    }

    // Real logs the identification gets wrong, each with its cause: the row states what a user
    // should see and fails as expected until the cause is mended.
    void knownMisses_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("cause");
        // DL/T 645-2007 as a master and a meter exchange it: requests led by the wake-up bytes
        // FE FE FE FE, replies without (dwdcth/go645 dlt_test.go, its comments' exchange and
        // example frames). CS: the sum from the first 68, so the rule from byte 1 holds in the 5
        // replies and breaks in the 3 requests; 5 of 8 is above the 50 % share.
        QTest::newRow("dl/t 645 with and without wake-up bytes")
            << QStringList{
                   "FE FE FE FE 68 08 02 02 41 22 00 68 11 04 35 37 33 37 2A 16",
                   "68 08 02 02 41 22 00 68 91 0A 35 37 33 37 3B 35 35 74 55 33 51 16",
                   "68 08 02 02 41 22 00 68 93 06 3B 35 35 74 55 33 79 16",
                   "68 01 00 00 00 00 00 68 93 06 34 33 33 33 33 33 9D 16",
                   "FE FE FE FE 68 01 00 00 00 00 00 68 91 08 33 34 34 35 77 66 55 44 B0 16",
                   "FE FE FE FE 68 AA AA AA AA AA AA 68 13 00 DF 16",
                   "68 01 00 00 00 00 00 68 91 08 33 33 34 33 59 B3 55 44 DC 16",
                   "68 01 00 00 00 00 00 68 11 04 33 33 34 33 B3 16"
               }
            << QStringList{"SUM8，第1字节 至 倒数第3字节，其后1字节结束符；5/8 帧；不成立：第1、5、6行"}
            << QString("a candidate must hold in 6 of the first 8 distinct frames before it is tested in "
                       "all of them, and 3 frames with FE first are too few for a class of their own (4)");
    }
    void knownMisses()
    {
        QFETCH(QStringList, frames);
        QFETCH(QStringList, expected);
        QFETCH(QString, cause);
        QEXPECT_FAIL("", qPrintable(cause), Continue);
        QCOMPARE(Firsts(IdentifyChecksums(Log(frames))), expected);
    }

    // Logs whose documented rule is beyond the identification's models: it offers no rule
    // rather than a wrong one.
    void nothingOffered_data()
    {
        QTest::addColumn<QStringList>("frames");
        // MAVLink 2 (CRC-16/MCRF4XX over the frame after FD and then over CRC_EXTRA, a byte of
        // each message's definition that is never sent, so no range of the frame gives the
        // value), a byte stream from an Intel Aero flight controller posted in
        // https://github.com/mavlink/mavlink/issues/771, cut by the length field: messages 0x6F,
        // 0x8C, 0x1E, 0x1F, 0x1E, 0x2A, 0x69.
        QTest::newRow("mavlink 2") << QStringList{
            "FD 0E 00 00 25 01 01 6F 00 00 00 00 00 00 00 00 00 00 D0 18 A5 70 AC 04 6A DF",
            "FD 28 00 00 26 01 01 8C 00 00 78 E0 49 32 01 00 00 00 E4 1D 9C 3B A4 EA 2E BC A5 88 "
            "D6 3E 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 80 BF 07 90",
            "FD 1C 00 00 27 01 01 1E 00 00 02 69 4E 00 58 F8 88 BB FC B6 2D 3C 3D 44 A3 BF 0A 1C "
            "E8 BA 4F AB BB BB 2E 45 FE 39 EF 8E",
            "FD 20 00 00 28 01 01 1F 00 00 1D 69 4E 00 F0 AC 4D 3F 4F 96 BF 3A 26 FC B3 3B 30 6B "
            "18 BF 28 C3 A6 BA 24 2E 58 BB C3 AD 3B BB 3C C1",
            "FD 1C 00 00 29 01 01 1E 00 00 29 69 4E 00 EF A5 89 BB 52 93 2C 3C 05 45 A3 BF 7B 3E "
            "A3 BA A6 A1 6A BB 3C 14 5B B9 0B 76",
            "FD 01 00 00 2A 01 01 2A 00 00 00 B3 58",
            "FD 3E 00 00 2B 01 01 69 00 00 E1 D9 4A 32 01 00 00 00 17 A5 67 3D 3C 45 8D 3C 47 C2 "
            "1C C1 3C 2A 16 BB E5 CF 8B BB B9 CB C5 BA 51 FB A7 3D 79 D5 89 3E 36 3C 92 3D 00 00 "
            "00 00 00 00 00 00 26 77 78 42 14 AE 29 42 FF 1B 9D B4"
        };
    }
    void nothingOffered()
    {
        QFETCH(QStringList, frames);
        const IdentifyReport report = IdentifyChecksums(Log(frames));
        QCOMPARE(report.distinct, static_cast<std::uint64_t>(frames.size()));
        QCOMPARE(Firsts(report), QStringList{});
    }
};

QTEST_APPLESS_MAIN(TestRealTraffic)
#include "tst_real_traffic.moc"
