// The identification with the real solver for unknown CRCs: logs whose CRC is outside the
// catalogue ranked and named by their parameters, one rule per CRC, corrupted frames named,
// and nothing added where the catalogue explains the frames or nothing does.

#include <QRegularExpression>
#include <QTest>

#include "identify/identify_texts.h"
#include "identify/unknown_crc.h"
#include "tests/identify/identify_logs.h"

Q_DECLARE_METATYPE(CrcParameters)

namespace {

const CrcParameters& Catalogue(const char* name)
{
    return ChecksumModels()[*FindChecksumModel(name)].crc;
}

QStringList Texts(const IdentifyReport& report)
{
    QStringList texts;
    for (const IdentifiedRule& rule : report.rules)
        texts << QString::fromStdString(IdentifiedRuleText(rule));
    return texts;
}

IdentifyOptions WithoutSolver()
{
    IdentifyOptions options;
    options.unknownCrc = nullptr;
    return options;
}

// How a generated frame is laid out around its payload.
struct Layout {
    CrcParameters crc;
    bool highFirst = false;
    std::size_t header = 0;  // random bytes before the payload, not covered
    Bytes trailer;           // after the value
};

Layout AtTheEnd(const CrcParameters& crc)
{
    return {crc, false, 0, {}};
}

Bytes Frame(std::mt19937& random, const Layout& layout, std::size_t payload)
{
    Bytes frame = RandomBytes(random, layout.header);
    const Bytes data = RandomBytes(random, payload);
    frame.insert(frame.end(), data.begin(), data.end());
    AppendValue(frame, ComputeCrcBitwise(layout.crc, data), layout.crc.width / 8, layout.highFirst);
    frame.insert(frame.end(), layout.trailer.begin(), layout.trailer.end());
    return frame;
}

// Payloads of 6 to 45 bytes: a log of 60 frames has lengths in common, as a device's has.
std::vector<IdentifyFrame> Log(const Layout& layout, std::size_t frames, unsigned seed)
{
    std::mt19937 random(seed);
    return MakeLog(frames, [&](std::size_t) { return Frame(random, layout, 6 + random() % 40); });
}

QString Hex(std::uint32_t value, unsigned width)
{
    return QString("%1").arg(value, int(width / 4), 16, QChar('0')).toUpper();
}

QString Reflection(bool reflected, bool input)
{
    return QString(input ? "输入" : "输出") + (reflected ? "反转" : "不反转");
}

// The words the module writes for a solved CRC, spelt out here again.
QString SolvedName(const CrcParameters& p)
{
    return QString("CRC-%1（多项式 0x%2，初始值 0x%3，%4，%5，结果异或值 0x%6）")
        .arg(p.width)
        .arg(Hex(p.poly, p.width), Hex(p.init, p.width), Reflection(p.refin, true), Reflection(p.refout, false),
             Hex(p.xorout, p.width));
}

QString Placement(const Layout& layout)
{
    const unsigned bytes = layout.crc.width / 8;
    QString text = bytes == 1 ? QString() : layout.highFirst ? "（高字节在前）" : "（低字节在前）";
    text += QString("，第%1字节 至 倒数第%2字节").arg(layout.header + 1).arg(bytes + layout.trailer.size() + 1);
    if (!layout.trailer.empty())
        text += QString("，其后%1字节结束符").arg(layout.trailer.size());
    return text;
}

std::vector<UnknownCrcSample> Samples(const CrcParameters& crc, std::vector<Bytes>& messages, std::mt19937& random,
                                      std::size_t low, std::size_t high)
{
    std::vector<UnknownCrcSample> samples;
    for (std::size_t k = 0; k < 16; ++k)
        messages.push_back(RandomBytes(random, low + random() % (high - low + 1)));
    for (const Bytes& message : messages)
        samples.push_back({message, ComputeCrcBitwise(crc, message)});
    return samples;
}

} // namespace

class TestUnknownCrc : public QObject {
    Q_OBJECT
private slots:
    // The two polynomials and a 32- and an 8-bit one, at the end, after a header byte
    // that varies and is not covered, before a trailer: ranked first, by their parameters, one
    // rule each (0x1021 has a twin with another init and xorout, the same CRC for every message).
    void solvedFirst_data()
    {
        QTest::addColumn<CrcParameters>("crc");
        QTest::addColumn<bool>("highFirst");
        QTest::addColumn<int>("header");
        QTest::addColumn<QByteArray>("trailer");
        const CrcParameters p8bb7{16, 0x8BB7, 0, true, true, 0};
        const CrcParameters p1021{16, 0x1021, 0x1234, false, false, 0};
        const CrcParameters p32{32, 0x741B8CD7, 0x01234567, true, true, 0xFFFFFFFF};
        const CrcParameters p8{8, 0x4D, 0x5A, false, false, 0};
        QTest::newRow("0x8BB7 reflected at the end") << p8bb7 << false << 0 << QByteArray();
        QTest::newRow("0x8BB7 reflected high first") << p8bb7 << true << 0 << QByteArray();
        QTest::newRow("0x1021 init 0x1234 at the end") << p1021 << true << 0 << QByteArray();
        QTest::newRow("0x8BB7 after a header byte") << p8bb7 << false << 1 << QByteArray();
        QTest::newRow("0x1021 after a header byte") << p1021 << false << 1 << QByteArray();
        QTest::newRow("0x8BB7 before a trailer") << p8bb7 << true << 0 << QByteArray("\x16", 1);
        QTest::newRow("0x1021 after a header, before CR LF") << p1021 << true << 1 << QByteArray("\r\n");
        QTest::newRow("32 bits, init and xorout set") << p32 << false << 0 << QByteArray();
        QTest::newRow("32 bits high first after three header bytes") << p32 << true << 3 << QByteArray("\x03", 1);
        QTest::newRow("8 bits, init 0x5A") << p8 << false << 0 << QByteArray();
        QTest::newRow("8 bits before CR LF") << p8 << false << 1 << QByteArray("\r\n");
    }
    void solvedFirst()
    {
        QFETCH(CrcParameters, crc);
        QFETCH(bool, highFirst);
        QFETCH(int, header);
        QFETCH(QByteArray, trailer);
        const Layout layout{crc, highFirst, std::size_t(header), Bytes(trailer.begin(), trailer.end())};
        const auto log = Log(layout, 60, crc.poly + header);
        const IdentifyReport report = IdentifyChecksums(log);
        QVERIFY(!report.rules.empty());
        QCOMPARE(Texts(report).value(0), SolvedName(crc) + Placement(layout) + "；60/60 帧");
        const IdentifyRule& first = report.rules[0].rule;
        QCOMPARE(first.model, SOLVED_CRC_MODEL);
        QVERIFY(first.solved == crc);
        QVERIFY(!report.rules[0].structural);
        // One rule for the CRC, twins merged.
        QCOMPARE(Texts(report).filter(QRegularExpression("^CRC-")).size(), 1);
    }

    // Frames that all begin alike: a range from those bytes is the range after them with another
    // init. One rule: from the shared bytes where that makes the init and xorout usual ones,
    // after them otherwise (as a start flag is mostly left out).
    void sharedFirstBytes_data()
    {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<bool>("covered");
        QTest::addColumn<CrcParameters>("crc");
        QTest::addColumn<int>("start");  // where the rule is reported from
        const CrcParameters p1021{16, 0x1021, 0x1234, false, false, 0};
        const CrcParameters p8bb7{16, 0x8BB7, 0xFFFF, true, true, 0};
        QTest::newRow("7E not covered, init 0x1234") << QByteArray("\x7E") << false << p1021 << 2;
        QTest::newRow("7E covered, init 0x1234") << QByteArray("\x7E") << true << p1021 << 2;
        QTest::newRow("address covered, init 0xFFFF") << QByteArray("\x11") << true << p8bb7 << 1;
        QTest::newRow("AA 55 covered, init 0, xorout 0xFFFF")
            << QByteArray("\xAA\x55") << true << CrcParameters{16, 0x8BB7, 0, true, true, 0xFFFF} << 1;
        QTest::newRow("AA 55 01 not covered, init 0xFFFF") << QByteArray("\xAA\x55\x01") << false << p8bb7 << 4;
        QTest::newRow("68 covered, 32 bits, init all ones")
            << QByteArray("\x68") << true << CrcParameters{32, 0x741B8CD7, 0xFFFFFFFF, false, false, 0} << 1;
    }
    void sharedFirstBytes()
    {
        QFETCH(QByteArray, prefix);
        QFETCH(bool, covered);
        QFETCH(CrcParameters, crc);
        QFETCH(int, start);
        std::mt19937 random(crc.poly + prefix.size());
        const Bytes shared(prefix.begin(), prefix.end());
        const auto log = MakeLog(60, [&](std::size_t) {
            Bytes frame = shared;
            const Bytes payload = RandomBytes(random, 6 + random() % 30);
            frame.insert(frame.end(), payload.begin(), payload.end());
            const std::uint32_t value = covered ? ComputeCrcBitwise(crc, frame) : ComputeCrcBitwise(crc, payload);
            AppendValue(frame, value, crc.width / 8, false);
            return frame;
        });
        // Reported after the shared bytes: init run over those the CRC covers.
        CrcParameters reported = crc;
        if (covered && start > 1)
            reported.init = ComputeCrcBitwise({crc.width, crc.poly, crc.init, crc.refin, false, 0},
                                              std::span(shared).first(std::size_t(start - 1)));
        const IdentifyReport report = IdentifyChecksums(log);
        QCOMPARE(Texts(report).value(0), SolvedName(reported) + QString("（低字节在前），第%1字节 至 倒数第%2字节；60/60 帧")
                                                                  .arg(start)
                                                                  .arg(crc.width / 8 + 1));
        QCOMPARE(Texts(report).filter(QRegularExpression("^CRC-")).size(), 1);
    }

    // Fixed and variable frames of one protocol (as M-Bus lays them out), each covered from its
    // own first byte after the start flags: a class each, the solved CRC first in both.
    void classes()
    {
        const CrcParameters crc{16, 0x8BB7, 0, true, true, 0};
        std::mt19937 random(68);
        const auto log = MakeLog(80, [&](std::size_t k) {
            Bytes body{std::uint8_t(0x40 + random() % 0x40), std::uint8_t(random())};
            Bytes frame{0x10};
            if (k % 2) {
                const Bytes data = RandomBytes(random, 1 + random() % 30);
                body.insert(body.end(), data.begin(), data.end());
                frame = {0x68, std::uint8_t(body.size()), std::uint8_t(body.size()), 0x68};
            }
            frame.insert(frame.end(), body.begin(), body.end());
            AppendValue(frame, ComputeCrcBitwise(crc, body), 2, false);
            frame.push_back(0x16);
            return frame;
        });
        const IdentifyReport report = IdentifyChecksums(log);
        QVERIFY(report.classes);
        QStringList firsts;
        std::optional<std::uint8_t> last;
        for (const IdentifiedRule& rule : report.rules)
            if (rule.classByte != last) {
                last = rule.classByte;
                firsts << QString("%1: %2").arg(*rule.classByte, 2, 16, QChar('0')).arg(QString::fromStdString(IdentifiedRuleText(rule)));
            }
        // The short frames all have one length: their init is not known (and 0 is right here).
        const QString name = SolvedName(crc);
        QCOMPARE(firsts, (QStringList{"10: " + name + "（帧长不足以区分初始值与结果异或值，取可能的初始值中最小的）" +
                                          "（低字节在前），第2字节 至 倒数第4字节，其后1字节结束符；40/40 帧",
                                      "68: " + name + "（低字节在前），第5字节 至 倒数第4字节，其后1字节结束符；40/40 帧"}));
    }

    // A few corrupted frames, among them the first ones the solver is shown: the real rule still
    // comes first and the broken lines are named.
    void corruptedFrames_data()
    {
        QTest::addColumn<CrcParameters>("crc");
        QTest::addColumn<bool>("highFirst");
        QTest::newRow("0x8BB7 reflected") << CrcParameters{16, 0x8BB7, 0, true, true, 0} << false;
        QTest::newRow("0x1021 init 0x1234") << CrcParameters{16, 0x1021, 0x1234, false, false, 0} << true;
        QTest::newRow("32 bits") << CrcParameters{32, 0x741B8CD7, 0x01234567, true, true, 0xFFFFFFFF} << false;
    }
    void corruptedFrames()
    {
        QFETCH(CrcParameters, crc);
        QFETCH(bool, highFirst);
        const Layout layout{crc, highFirst, 1, {0x0D}};
        auto log = Log(layout, 80, 7 * crc.poly);
        log[0].bytes[3] ^= 0x10;                  // a payload bit
        log[1].bytes[log[1].bytes.size() - 2] ^= 1;  // a check bit
        log[16].bytes.erase(log[16].bytes.begin() + 5);  // a byte lost
        log[49].bytes.insert(log[49].bytes.begin() + 2, 0xFF);  // a byte too many
        const IdentifyReport report = IdentifyChecksums(log);
        QCOMPARE(Texts(report).value(0), SolvedName(crc) + Placement(layout) + "；76/80 帧；不成立：第1、2、17、50行");
    }

    // Where a catalogue model explains the frames the solver adds nothing: the report is the one
    // without it, also where corrupted frames keep the catalogue's rule under 90 % and the solver
    // is asked (it finds that CRC again, or a XOR that is the registry's XOR8).
    void catalogueOnly_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("broken");  // every n-th frame corrupted, 0 none
        QTest::addColumn<bool>("asked");
        QTest::newRow("CRC-16/MODBUS") << 0 << 0 << false;
        QTest::newRow("CRC-16/MODBUS, every 5th frame broken") << 0 << 5 << true;
        QTest::newRow("CRC-16/XMODEM after a header, every 4th broken") << 1 << 4 << true;
        QTest::newRow("CRC-32/ISO-HDLC, every 5th broken") << 2 << 5 << true;
        QTest::newRow("XOR8 XOR 0x5A, even lengths, every 4th broken") << 3 << 4 << true;
        QTest::newRow("SUM8 XOR 0x44, every 4th broken") << 4 << 4 << true;
        QTest::newRow("CRC-16/ARC twin: init 0x8003, xorout 0xC001") << 5 << 0 << false;
    }
    void catalogueOnly()
    {
        QFETCH(int, kind);
        QFETCH(int, broken);
        QFETCH(bool, asked);
        std::mt19937 random(kind * 10 + broken);
        const auto log = MakeLog(60, [&](std::size_t k) {
            Bytes frame;
            switch (kind) {
            case 0: frame = Frame(random, AtTheEnd(Catalogue("CRC-16/MODBUS")), 4 + random() % 30); break;
            case 1: frame = Frame(random, {Catalogue("CRC-16/XMODEM"), true, 1, {0x0D}}, 4 + random() % 30); break;
            case 2: frame = Frame(random, AtTheEnd(Catalogue("CRC-32/ISO-HDLC")), 4 + random() % 30); break;
            case 3:
                frame = RandomBytes(random, 2 * (2 + random() % 15));
                frame.push_back(std::uint8_t(Xor(frame, 0, frame.size()) ^ 0x5A));
                break;
            case 4:
                frame = RandomBytes(random, 4 + random() % 30);
                frame.push_back(std::uint8_t(Sum(frame, 0, frame.size()) ^ 0x44));
                break;
            default: frame = Frame(random, AtTheEnd({16, 0x8005, 0x8003, true, true, 0xC001}), 4 + random() % 30); break;
            }
            if (broken && k % broken == 1)
                frame[frame.size() / 2] ^= 0x01;
            return frame;
        });
        bool solverAsked = false;
        IdentifyOptions options;
        options.unknownCrc = [&](std::span<const IdentifyFrame* const> frames, const std::atomic<bool>* cancel) {
            solverAsked = true;
            return SolvedCrcSearch()(frames, cancel);
        };
        const QStringList with = Texts(IdentifyChecksums(log, options));
        QCOMPARE(solverAsked, asked);
        QVERIFY(!with.isEmpty());
        QCOMPARE(with, Texts(IdentifyChecksums(log, WithoutSolver())));
        QCOMPARE(with.filter("多项式").size(), 0);
    }

    // Frames that carry no checksum: no rule, and a bounded number of questions to the solver
    // (every placement, then at most its parts), each about a bounded number of frames.
    void noChecksum_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("random, varied lengths") << 0;
        QTest::newRow("random, one length") << 1;
        QTest::newRow("one length, only the last two bytes vary") << 2;
        QTest::newRow("zeros but a counter") << 3;
        QTest::newRow("text lines") << 4;
        QTest::newRow("a byte pair repeated (differences of many factors)") << 5;
    }
    void noChecksum()
    {
        QFETCH(int, kind);
        std::mt19937 random(kind + 500);
        const auto log = MakeLog(300, [&](std::size_t k) {
            switch (kind) {
            case 0: return RandomBytes(random, 10 + random() % 30);
            case 1: return RandomBytes(random, 24);
            case 2: {
                Bytes frame{0x01, 0x03, 0x00, 0x10, 0x00, 0x02};
                const Bytes tail = RandomBytes(random, 2);
                frame.insert(frame.end(), tail.begin(), tail.end());
                return frame;
            }
            case 3: {
                Bytes frame(12 + k % 5, 0);
                frame[3] = std::uint8_t(k);
                frame[4] = std::uint8_t(k >> 8);
                return frame;
            }
            case 5: {
                const Bytes pair = RandomBytes(random, 2);
                Bytes frame;
                for (std::size_t n = 0; n < 64; ++n)
                    frame.push_back(pair[n % 2]);
                return frame;
            }
            default: {
                Bytes frame;
                for (std::size_t n = 8 + random() % 30; n > 0; --n)
                    frame.push_back(std::uint8_t('a' + random() % 26));
                frame.push_back('\r');
                frame.push_back('\n');
                return frame;
            }
            }
        });
        std::vector<const IdentifyFrame*> frames;
        for (const IdentifyFrame& frame : log)
            frames.push_back(&frame);
        std::size_t calls = 0, most = 0;
        const CrcSolver counting = [&](unsigned width, std::span<const UnknownCrcSample> samples) {
            ++calls;
            most = std::max(most, samples.size());
            return SolveUnknownCrc(width, samples);
        };
        const std::vector<IdentifyRule> solved = SearchUnknownCrcs(frames, counting);
        // Periodic frames leave CRCs that only copy covered bytes, which the identification
        // drops as structural.
        for (const IdentifyRule& rule : solved)
            QVERIFY(kind == 5 && VerifyRule(rule, frames).structural);
        QVERIFY(calls <= UnknownCrcPlacements().size() * 4);
        QVERIFY(most <= 64);
        const IdentifyReport report = IdentifyChecksums(log);
        QCOMPARE(Texts(report).filter("多项式"), QStringList());
        QCOMPARE(Texts(report), Texts(IdentifyChecksums(log, WithoutSolver())));
    }

    // Many small logs with no checksum, of random bytes and of bytes that take few values (whose
    // differences have many common factors, so that the solver fits a CRC to a part of them):
    // no solved rule. And the other side: small logs with a random CRC, solved from 8 frames.
    void noRuleFromChance_data()
    {
        QTest::addColumn<int>("values");  // 0: any byte; else bytes are k * values, k < 2 or 4
        QTest::newRow("random bytes") << 0;
        QTest::newRow("bytes 00 or 41") << 0x41;
        QTest::newRow("bytes 00 to 03") << 1;
    }
    void noRuleFromChance()
    {
        QFETCH(int, values);
        std::mt19937 random(values);
        for (int round = 0; round < 150; ++round) {
            const std::size_t base = 3 + random() % 12, spread = 1 + random() % 3;
            const auto log = MakeLog(3 + random() % 30, [&](std::size_t) {
                Bytes frame(base + random() % spread);
                for (auto& b : frame)
                    b = std::uint8_t(values == 0 ? random() : values == 1 ? random() % 4 : (random() % 2) * values);
                return frame;
            });
            for (const IdentifiedRule& rule : IdentifyChecksums(log).rules)
                QVERIFY2(rule.rule.model != SOLVED_CRC_MODEL, qPrintable(QString::fromStdString(IdentifiedRuleText(rule))));
        }
        for (unsigned width : {8u, 16u, 32u}) {
            int first = 0;
            for (int round = 0; round < 20; ++round) {
                const CrcParameters crc{width, (std::uint32_t(random()) | 1) & CrcMask(width),
                                        std::uint32_t(random()) & CrcMask(width), round % 2 == 1, round % 2 == 1,
                                        std::uint32_t(random()) & CrcMask(width)};
                const auto log = MakeLog(8, [&](std::size_t) { return Frame(random, AtTheEnd(crc), 6 + random() % 3); });
                const IdentifyReport report = IdentifyChecksums(log);
                first += !report.rules.empty() && report.rules[0].held == 8 && RuleWidth(report.rules[0].rule) == width;
            }
            QVERIFY2(first >= 18, qPrintable(QString("%1 bits: %2 of 20").arg(width).arg(first)));
        }
    }

    // Frames all of one length cannot tell init from xorout: the rule says so and gives the
    // smallest init with the xorout that goes with it.
    void oneLength()
    {
        const CrcParameters crc{16, 0x8BB7, 0x1111, true, true, 0};
        std::mt19937 random(16);
        const auto log = MakeLog(40, [&](std::size_t) { return Frame(random, AtTheEnd(crc), 20); });
        const Bytes zeros(20, 0);
        const CrcParameters zeroInit{16, 0x8BB7, 0, true, true, 0};
        const CrcParameters reported{16, 0x8BB7, 0, true, true,
                                     ComputeCrcBitwise(crc, zeros) ^ ComputeCrcBitwise(zeroInit, zeros)};
        QCOMPARE(Texts(IdentifyChecksums(log)).value(0),
                 SolvedName(reported) + "（帧长不足以区分初始值与结果异或值，取可能的初始值中最小的）" +
                     "（低字节在前），第1字节 至 倒数第3字节；40/40 帧");
    }

    // The adapter gives one answer per CRC: a catalogue entry where one computes the same
    // values, else the device's own pair (xorout 0); XORs of words are the registry's.
    void oneAnswerPerCrc_data()
    {
        QTest::addColumn<CrcParameters>("device");
        QTest::addColumn<int>("lengths");  // 0: 4 to 12 bytes, else all of that length
        QTest::addColumn<int>("solverAnswers");
        QTest::addColumn<CrcParameters>("expected");
        QTest::addColumn<bool>("initKnown");
        const CrcParameters arc = Catalogue("CRC-16/ARC");
        QTest::newRow("CRC-16/ARC") << arc << 0 << 2 << arc << true;
        QTest::newRow("its twin init 0x8003 xorout 0xC001")
            << CrcParameters{16, 0x8005, 0x8003, true, true, 0xC001} << 0 << 2 << arc << true;
        QTest::newRow("CRC-16/XMODEM") << Catalogue("CRC-16/XMODEM") << 0 << 2 << Catalogue("CRC-16/XMODEM") << true;
        const CrcParameters p1021{16, 0x1021, 0x1234, false, false, 0};
        QTest::newRow("0x1021 init 0x1234") << p1021 << 0 << 2 << p1021 << true;
        QTest::newRow("0x8BB7 reflected") << CrcParameters{16, 0x8BB7, 0, true, true, 0} << 0 << 1
                                          << CrcParameters{16, 0x8BB7, 0, true, true, 0} << true;
        QTest::newRow("CRC-16/MODBUS, one length") << Catalogue("CRC-16/MODBUS") << 9 << 1
                                                   << Catalogue("CRC-16/MODBUS") << true;
        QTest::newRow("CRC-32/ISO-HDLC") << Catalogue("CRC-32/ISO-HDLC") << 0 << 1 << Catalogue("CRC-32/ISO-HDLC")
                                         << true;
        QTest::newRow("XOR8 is no CRC here") << CrcParameters{8, 0x01, 0, false, false, 0} << 0 << 2
                                             << CrcParameters{} << true;
    }
    void oneAnswerPerCrc()
    {
        QFETCH(CrcParameters, device);
        QFETCH(int, lengths);
        QFETCH(int, solverAnswers);
        QFETCH(CrcParameters, expected);
        QFETCH(bool, initKnown);
        std::mt19937 random(device.poly ^ device.init);
        std::vector<Bytes> messages;
        const auto samples = Samples(device, messages, random, lengths ? lengths : 4, lengths ? lengths : 12);
        QCOMPARE(int(SolveCrc(device.width, samples).size()), solverAnswers);
        const std::vector<UnknownCrcSolution> answers = SolveUnknownCrc(device.width, samples);
        if (expected.width == 0) {
            QVERIFY(answers.empty());
            return;
        }
        QCOMPARE(answers.size(), std::size_t{1});
        QVERIFY(answers[0].parameters == expected);
        QCOMPARE(answers[0].initKnown, initKnown);
    }

    // SameCrcOver against the definition: every init of an 8-bit CRC, its xorout fitted to the
    // empty message, compared over messages of every length up to 24.
    void sameCrcOver_data()
    {
        QTest::addColumn<uint>("poly");
        QTest::addColumn<bool>("reflected");
        // x^8 + 1 = (x + 1)^8; 0x07 = (x + 1)(x^7 + ...); 0x1D and 0x9B with no factor x + 1.
        for (uint poly : {0x01u, 0x07u, 0x1Du, 0x9Bu, 0x31u, 0x03u})
            for (bool reflected : {false, true})
                QTest::newRow(QString("0x%1%2").arg(poly, 2, 16, QChar('0')).arg(reflected ? " reflected" : "").toLatin1())
                    << poly << reflected;
    }
    void sameCrcOver()
    {
        QFETCH(uint, poly);
        QFETCH(bool, reflected);
        std::mt19937 random(poly);
        std::vector<Bytes> messages;
        for (std::size_t n = 0; n <= 24; ++n)
            messages.push_back(RandomBytes(random, n));
        const CrcParameters a{8, poly, std::uint32_t(random() & 0xFF), reflected, reflected, std::uint32_t(random() & 0xFF)};
        static constexpr std::size_t EVERY[] = {0, 1};
        static constexpr std::size_t SEVEN[] = {7};
        int same = 0;
        for (std::uint32_t init = 0; init < 256; ++init) {
            CrcParameters b = a;
            b.init = init;
            b.xorout = 0;
            b.xorout = ComputeCrcBitwise(a, {}) ^ ComputeCrcBitwise(b, {});
            const bool brute = std::all_of(messages.begin(), messages.end(),
                                           [&](const Bytes& m) { return ComputeCrcBitwise(a, m) == ComputeCrcBitwise(b, m); });
            QCOMPARE(SameCrcOver(a, b, EVERY), brute);
            QCOMPARE(SameCrcOver(a, b, SEVEN), ComputeCrcBitwise(a, messages[7]) == ComputeCrcBitwise(b, messages[7]));
            same += brute;
        }
        // 2^k pairs for (x + 1)^k dividing the generator, k at most 8 here.
        QVERIFY(same >= 1 && (same & (same - 1)) == 0);
        QCOMPARE(SameCrcOver(a, CrcParameters{8, poly ^ 0x80, a.init, reflected, reflected, a.xorout}, EVERY), false);
    }

    // Real frames with the solver alone, no catalogue search before it: it names what it finds
    // by the catalogue.
    void realFramesBySolverAlone_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("expected");
        // Modbus Application Protocol V1.1b3 (modbus.org), the examples of functions 01 to 04
        // (slave 11), as RTU frames with their CRC, as public Modbus libraries' tests quote them.
        QTest::newRow("modbus rtu") << QStringList{"11 01 00 13 00 25 0E 84", "11 02 00 C4 00 16 BA A9",
                                                   "11 03 00 6B 00 03 76 87", "11 04 00 08 00 01 B2 98",
                                                   "11 03 06 AE 41 56 52 43 40 49 AD"}
                                    << "CRC-16/MODBUS（低字节在前），第1字节 至 倒数第3字节";
        // opendnp3, tests of the link layer (TestLinkFrame.cpp, TestLinkParser.cpp): the headers
        // of reset link states, request link status and an unconfirmed user data frame.
        QTest::newRow("dnp3 headers") << QStringList{"05 64 05 C0 01 00 00 04 E9 21", "05 64 05 49 01 00 00 04 D2 36",
                                                     "05 64 14 F3 01 00 00 04 0A 3B"}
                                      << "CRC-16/DNP（低字节在前），第1字节 至 倒数第3字节";
    }
    void realFramesBySolverAlone()
    {
        QFETCH(QStringList, frames);
        QFETCH(QString, expected);
        std::vector<IdentifyFrame> log;
        for (const QString& frame : frames) {
            const QByteArray bytes = QByteArray::fromHex(frame.toLatin1());
            log.push_back({log.size() + 1, Bytes(bytes.begin(), bytes.end())});
        }
        std::vector<const IdentifyFrame*> pointers;
        for (const IdentifyFrame& frame : log)
            pointers.push_back(&frame);
        QStringList found;
        for (const IdentifyRule& rule : SearchUnknownCrcs(pointers, SolveUnknownCrc))
            found << QString::fromStdString(RuleText(rule));
        QVERIFY2(found.contains(expected), qPrintable(found.join('\n')));
    }

    void cancelled()
    {
        const auto log = Log(AtTheEnd({16, 0x8BB7, 0, true, true, 0}), 60, 1);
        std::vector<const IdentifyFrame*> frames;
        for (const IdentifyFrame& frame : log)
            frames.push_back(&frame);
        const std::atomic<bool> cancel{true};
        std::size_t calls = 0;
        const CrcSolver counting = [&](unsigned width, std::span<const UnknownCrcSample> samples) {
            ++calls;
            return SolveUnknownCrc(width, samples);
        };
        QVERIFY(SearchUnknownCrcs(frames, counting, &cancel).empty());
        QCOMPARE(calls, std::size_t{0});
    }
};

QTEST_APPLESS_MAIN(TestUnknownCrc)
#include "tst_unknown_crc.moc"
