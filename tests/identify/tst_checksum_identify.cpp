#include <QFile>
#include <QTest>

#include "tests/identify/identify_logs.h"
#include "identify/identify_texts.h"
#include "identify/unknown_crc.h"

namespace {

const CrcParameters& Crc(const char* name)
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

// Printable characters but the NMEA delimiters.
Bytes Sentence(std::mt19937& random)
{
    Bytes text;
    for (std::size_t k = 6 + random() % 60; k > 0; --k) {
        std::uint8_t c;
        do
            c = static_cast<std::uint8_t>(0x20 + random() % 0x5F);
        while (c == '*' || c == '$' || c == '!');
        text.push_back(c);
    }
    return text;
}

// An M-Bus short frame 10 C A CS 16 or long frame 68 L L 68 C A CI data CS 16 (EN 13757-2,
// the frame formats of the link layer), CS the sum of C to the data.
Bytes MbusFrame(std::mt19937& random, bool shortFrame)
{
    static const std::uint8_t CONTROL[] = {0x40, 0x5B, 0x7B, 0x53, 0x73, 0x08};
    Bytes body{CONTROL[random() % 6], static_cast<std::uint8_t>(random())};
    if (!shortFrame) {
        body.push_back(static_cast<std::uint8_t>(0x50 + random() % 0x30));
        const Bytes data = RandomBytes(random, random() % 40);
        body.insert(body.end(), data.begin(), data.end());
    }
    Bytes frame = shortFrame ? Bytes{0x10}
                             : Bytes{0x68, std::uint8_t(body.size()), std::uint8_t(body.size()), 0x68};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(static_cast<std::uint8_t>(Sum(body, 0, body.size())));
    frame.push_back(0x16);
    return frame;
}

QString First(const std::vector<IdentifyFrame>& log)
{
    const IdentifyReport report = IdentifyChecksums(log);
    return report.rules.empty() ? QString() : QString::fromStdString(IdentifiedRuleText(report.rules[0]));
}

// Payloads of 4 to 40 bytes.
Bytes Payload(std::mt19937& random)
{
    return RandomBytes(random, 4 + random() % 37);
}

// The identification's rule of one function: the plain value for a zero constant, the
// complement as k - value, an offset of the top bit as XOR; one-byte values low first.
IdentifyRule Canonical(IdentifyRule rule)
{
    const unsigned width = RuleWidth(rule);
    const std::uint32_t mask = CrcMask(width);
    if ((rule.form == ConstantForm::Plus || rule.form == ConstantForm::Xor) && rule.constant == 0)
        rule.form = ConstantForm::None;
    else if (rule.form == ConstantForm::Xor && rule.constant == mask)
        rule.form = ConstantForm::Minus;
    else if (rule.form == ConstantForm::Plus && rule.constant == (1u << (width - 1)))
        rule.form = ConstantForm::Xor;
    if (width == 8)
        rule.order = CheckOrder::LowFirst;
    return rule;
}

QString Key(const IdentifyRule& r)
{
    return QString("%1 %2 %3 %4 %5 %6 %7")
        .arg(ChecksumModels()[r.model].name)
        .arg(int(r.form))
        .arg(r.constant)
        .arg(int(r.order))
        .arg(r.start)
        .arg(r.endFrom == RuleEnd::FromFirst ? "first" : "last")
        .arg(r.end);
}

// Whether a pair of frames shows the rule: it holds in both, over at least two bytes for a
// one-byte value, and (counted alike in both frames) not over the same bytes and value.
bool PairShows(const IdentifyRule& rule, const Bytes& a, const Bytes& b)
{
    if (!RuleHolds(rule, a) || !RuleHolds(rule, b))
        return false;
    const RulePlace pa = RulePlaces(rule, a.size())[0], pb = RulePlaces(rule, b.size())[0];
    const std::size_t minLength = RuleWidth(rule) == 8 ? 2 : 1;
    if (pa.rangeLast - pa.rangeFirst + 1 < minLength || pb.rangeLast - pb.rangeFirst + 1 < minLength)
        return false;
    const bool aligned = rule.endFrom == RuleEnd::FromFirst || a.size() == b.size();
    if (!aligned || std::string_view(ChecksumModels()[rule.model].name) == "CRC32-LOW16")
        return true;
    return !std::equal(a.begin() + pa.rangeFirst, a.begin() + pa.checkLast + 1, b.begin() + pb.rangeFirst,
                       b.begin() + pb.checkLast + 1);
}

// Every rule that holds in all frames, by trying each model, constant form, order, start and
// end, the constant learned from the first frame.
QSet<QString> BruteForceRules(const std::vector<IdentifyFrame>& log)
{
    QSet<QString> rules;
    const auto models = ChecksumModels();
    const std::size_t length = log[0].bytes.size();
    for (std::size_t m = 0; m < models.size(); ++m) {
        const bool learns = models[m].learnsConstant;
        for (ConstantForm form : {ConstantForm::None, ConstantForm::Plus, ConstantForm::Xor, ConstantForm::Minus}) {
            if (learns == (form == ConstantForm::None))
                continue;
            for (CheckOrder order : {CheckOrder::LowFirst, CheckOrder::HighFirst})
                for (std::uint16_t start = 1; start <= length; ++start)
                    for (RuleEnd from : {RuleEnd::FromFirst, RuleEnd::FromLast})
                        for (std::uint16_t end = 1; end <= length; ++end) {
                            IdentifyRule rule;
                            rule.model = std::uint16_t(m);
                            rule.form = form;
                            rule.order = order;
                            rule.start = start;
                            rule.endFrom = from;
                            rule.end = end;
                            const auto places = RulePlaces(rule, length);
                            if (places.empty())
                                continue;
                            if (learns) {
                                // k from the first frame: the form's inverse.
                                const std::uint32_t mask = CrcMask(models[m].width);
                                rule.form = ConstantForm::None;
                                const std::uint32_t v = *ComputeRuleCheck(rule, log[0].bytes, places[0]);
                                const std::uint32_t c = *ReadRuleCheck(rule, log[0].bytes, places[0]);
                                rule.form = form;
                                rule.constant = form == ConstantForm::Plus  ? (c - v) & mask
                                                : form == ConstantForm::Xor ? c ^ v
                                                                            : (c + v) & mask;
                            }
                            if (!std::all_of(log.begin(), log.end(), [&](const IdentifyFrame& f) { return RuleHolds(rule, f.bytes); }))
                                continue;
                            if (PairShows(rule, log[0].bytes, log[1].bytes) || PairShows(rule, log[2].bytes, log[3].bytes))
                                rules.insert(Key(Canonical(rule)));
                        }
        }
    }
    return rules;
}

} // namespace

class TestChecksumIdentify : public QObject {
    Q_OBJECT
private slots:
    // Every catalogue CRC in both orders at the end of frames of varied lengths: found, with no
    // preparation, as the first rule.
    void catalogueAtTheEnd_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("highFirst");
        const auto models = ChecksumModels();
        for (std::size_t k = 0; k < models.size(); ++k) {
            if (models[k].family != ModelFamily::Crc)
                continue;
            QTest::newRow(models[k].name) << int(k) << false;
            if (models[k].width > 8)
                QTest::newRow((std::string(models[k].name) + " high first").c_str()) << int(k) << true;
        }
    }
    void catalogueAtTheEnd()
    {
        QFETCH(int, row);
        QFETCH(bool, highFirst);
        const ChecksumModel& model = ChecksumModels()[row];
        std::mt19937 random(row * 2 + highFirst);
        const auto log = MakeLog(24, [&](std::size_t) {
            Bytes frame = Payload(random);
            AppendValue(frame, ComputeCrcBitwise(model.crc, frame), model.width / 8, highFirst);
            return frame;
        });
        const unsigned bytes = model.width / 8;
        const QString order = bytes == 1 ? QString() : highFirst ? "（高字节在前）" : "（低字节在前）";
        QCOMPARE(First(log), QString("%1%2，第1字节 至 倒数第%3字节；24/24 帧").arg(model.name, order).arg(bytes + 1));
    }

    // Logs that Debian's python3-crccheck wrote (tests/identify/make_crccheck_logs.py): frames
    // 7E, payload, the payload's CRC by crccheck, 0D, for every catalogue model it knows.
    void outsideOracle_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("highFirst");
        QTest::addColumn<QStringList>("frames");
        QFile file(QStringLiteral(VELMORRA_IDENTIFY_DATA "/crccheck_logs.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString model;
        bool highFirst = false;
        QStringList frames;
        const auto flush = [&] {
            if (!frames.isEmpty())
                QTest::newRow(qPrintable(model + (highFirst ? " high" : " low"))) << model << highFirst << frames;
            frames.clear();
        };
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("## ")) {
                flush();
                const QList<QByteArray> words = line.mid(3).split(' ');
                model = QString::fromLatin1(words.value(0));
                highFirst = words.value(1) == "high";
            } else if (!line.isEmpty() && !line.startsWith('#')) {
                frames << QString::fromLatin1(line);
            }
        }
        flush();
    }
    void outsideOracle()
    {
        QFETCH(QString, model);
        QFETCH(bool, highFirst);
        QFETCH(QStringList, frames);
        std::vector<IdentifyFrame> log;
        for (const QString& frame : frames) {
            const QByteArray bytes = QByteArray::fromHex(frame.toLatin1());
            log.push_back({log.size() + 1, Bytes(bytes.begin(), bytes.end())});
        }
        const unsigned bytes = ChecksumModels()[*FindChecksumModel(model.toStdString())].width / 8;
        const QString order = bytes == 1 ? QString() : highFirst ? "（高字节在前）" : "（低字节在前）";
        QCOMPARE(First(log), QString("%1%2，第2字节 至 倒数第%3字节，其后1字节结束符；%4/%4 帧")
                                 .arg(model, order).arg(bytes + 2).arg(frames.size()));
    }

    // The families, each in a log of frames of varied lengths; the right rule ranks first.
    void families_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("expected");
        QTest::newRow("header and trailer not covered")
            << 0 << "CRC-16/XMODEM（高字节在前），第2字节 至 倒数第4字节，其后1字节结束符；300/300 帧";
        QTest::newRow("sum xor 0x44") << 1 << "SUM8 XOR 0x44，第2字节 至 倒数第3字节，其后1字节结束符；40/40 帧";
        QTest::newRow("0xff - sum") << 2 << "0xFF − SUM8，第1字节 至 倒数第2字节；40/40 帧";
        QTest::newRow("lrc") << 3 << "−SUM8，第3字节 至 倒数第2字节；40/40 帧";
        QTest::newRow("ubx fletcher") << 4 << "FLETCHER-8（低字节在前），第3字节 至 倒数第3字节；40/40 帧";
        QTest::newRow("fletcher-16 high first") << 5 << "FLETCHER-16（高字节在前），第1字节 至 倒数第3字节；40/40 帧";
        QTest::newRow("nmea") << 6 << "XOR8，第2字节 至 倒数第6字节，其后为“*”及2位16进制文本校验码，其后2字节结束符；40/40 帧";
        QTest::newRow("modbus ascii")
            << 7 << "−SUM8，第2字节 至 倒数第5字节，按16进制文本所表示的字节计算，校验码为2位16进制文本，其后2字节结束符；40/40 帧";
        QTest::newRow("sum16 as 4 lower-case digits")
            << 8 << "SUM16（高字节在前），第1字节 至 倒数第7字节，校验码为4位16进制文本，其后2字节结束符；40/40 帧";
        QTest::newRow("adler-32 high first") << 9 << "ADLER-32（高字节在前），第2字节 至 倒数第5字节；40/40 帧";
        QTest::newRow("xor16 low first") << 10 << "XOR16（低字节在前），第1字节 至 倒数第3字节；40/40 帧";
    }
    void families()
    {
        QFETCH(int, family);
        QFETCH(QString, expected);
        std::mt19937 random(family + 100);
        const auto make = [&](std::size_t) -> Bytes {
            Bytes payload = Payload(random);
            Bytes frame;
            switch (family) {
            case 0:
                frame = {0x7E};
                frame.insert(frame.end(), payload.begin(), payload.end());
                AppendValue(frame, ComputeCrcBitwise(Crc("CRC-16/XMODEM"), payload), 2, true);
                frame.push_back(0x0D);
                break;
            case 1:
                frame = {0x68};
                frame.insert(frame.end(), payload.begin(), payload.end());
                frame.push_back(std::uint8_t(Sum(payload, 0, payload.size()) ^ 0x44));
                frame.push_back(0x16);
                break;
            case 2:
                frame = payload;
                frame.push_back(std::uint8_t(0xFF - Sum(payload, 0, payload.size())));
                break;
            case 3:
                frame = {0x02, 0x30};
                frame.insert(frame.end(), payload.begin(), payload.end());
                frame.push_back(std::uint8_t(-Sum(frame, 2, frame.size())));
                break;
            case 4: {
                // u-blox UBX: B5 62, class, id, length (low byte first), payload, CK_A CK_B over
                // class to payload (u-blox receiver description, UBX frame structure).
                frame = {0xB5, 0x62, std::uint8_t(random() % 0x30), std::uint8_t(random()),
                         std::uint8_t(payload.size()), 0x00};
                frame.insert(frame.end(), payload.begin(), payload.end());
                std::uint8_t a = 0, b = 0;
                for (std::size_t k = 2; k < frame.size(); ++k) {
                    a = std::uint8_t(a + frame[k]);
                    b = std::uint8_t(b + a);
                }
                frame.insert(frame.end(), {a, b});
                break;
            }
            case 5: {
                frame = payload;
                std::uint32_t s1 = 0, s2 = 0;
                for (std::uint8_t byte : payload) {
                    s1 = (s1 + byte) % 255;
                    s2 = (s2 + s1) % 255;
                }
                frame.insert(frame.end(), {std::uint8_t(s2), std::uint8_t(s1)});
                break;
            }
            case 6: {
                frame = {'$'};
                const Bytes text = Sentence(random);
                frame.insert(frame.end(), text.begin(), text.end());
                frame.push_back('*');
                AppendHex(frame, Xor(text, 0, text.size()), 1);
                frame.insert(frame.end(), {'\r', '\n'});
                break;
            }
            case 7:
                frame = {':'};
                AppendHex(frame, 0, 0);
                for (std::uint8_t byte : payload)
                    AppendHex(frame, byte, 1);
                AppendHex(frame, std::uint8_t(-Sum(payload, 0, payload.size())), 1);
                frame.insert(frame.end(), {'\r', '\n'});
                break;
            case 8: {
                frame = Sentence(random);
                AppendHex(frame, Sum(frame, 0, frame.size()) & 0xFFFF, 2, true);
                frame.insert(frame.end(), {'\r', '\n'});
                break;
            }
            case 9: {
                frame = {0x55};
                frame.insert(frame.end(), payload.begin(), payload.end());
                std::uint32_t a = 1, b = 0;
                for (std::uint8_t byte : payload) {
                    a = (a + byte) % 65521;
                    b = (b + a) % 65521;
                }
                AppendValue(frame, b << 16 | a, 4, true);
                break;
            }
            case 10: {
                frame = payload;
                std::uint32_t x = 0;
                for (std::size_t k = 0; k < payload.size(); ++k)
                    x ^= k % 2 == 0 ? std::uint32_t{payload[k]} << 8 : payload[k];
                AppendValue(frame, x, 2, false);
                break;
            }
            }
            return frame;
        };
        const auto log = MakeLog(family == 0 ? 300 : 40, make);
        QCOMPARE(First(log), expected);
    }

    // Fixed and variable frames of one protocol: neither rule holds in all frames, a rule per
    // first byte does.
    void classesByFirstByte()
    {
        std::mt19937 random(13757);
        const auto log = MakeLog(80, [&](std::size_t k) { return MbusFrame(random, k % 8 < 3); });
        const IdentifyReport report = IdentifyChecksums(log);
        QVERIFY(report.classes);
        QVERIFY(report.unclassified.empty());
        QStringList firsts;
        std::optional<std::uint8_t> previous;
        for (const IdentifiedRule& rule : report.rules)
            if (rule.classByte != previous) {
                previous = rule.classByte;
                firsts << QString("%1 %2").arg(*rule.classByte, 2, 16, QChar('0')).arg(QString::fromStdString(IdentifiedRuleText(rule)));
            }
        QCOMPARE(firsts, (QStringList{"68 SUM8，第5字节 至 倒数第3字节，其后1字节结束符；50/50 帧",
                                      "10 SUM8，第2字节 至 倒数第3字节，其后1字节结束符；30/30 帧"}));
    }

    // Short frames to low addresses: C + A stays under 256, so "CS 16" also reads as a 16-bit
    // sum plus 0x1600. Its high byte never changes and checks nothing; the 8-bit sum ranks first.
    void constantByteOfValue()
    {
        std::mt19937 random(0x16);
        const auto log = MakeLog(20, [&](std::size_t) {
            const std::uint8_t control = random() % 2 ? 0x5B : 0x7B;  // REQ_UD2, FCB clear or set
            const std::uint8_t address = static_cast<std::uint8_t>(random() % 0x20);
            return Bytes{0x10, control, address, std::uint8_t(control + address), 0x16};
        });
        QCOMPARE(First(log), "SUM8，第2字节 至 倒数第3字节，其后1字节结束符；20/20 帧");
    }

    // DNP3: a 10-byte header (05 64 LEN CTRL DEST SRC and its CRC), then user data in blocks of
    // 16 bytes, each followed by its CRC, the last block shorter (IEEE 1815, data link frame).
    void blockChecked()
    {
        std::mt19937 random(1815);
        const CrcParameters& dnp = Crc("CRC-16/DNP");
        const auto log = MakeLog(60, [&](std::size_t) {
            const Bytes data = RandomBytes(random, random() % 60);
            Bytes frame{0x05, 0x64, std::uint8_t(5 + data.size()), std::uint8_t(random() % 2 ? 0xC4 : 0x44)};
            AppendValue(frame, random(), 4, false);
            AppendValue(frame, ComputeCrcBitwise(dnp, frame), 2, false);
            for (std::size_t at = 0; at < data.size(); at += 16) {
                const Bytes block(data.begin() + at, data.begin() + std::min(at + 16, data.size()));
                frame.insert(frame.end(), block.begin(), block.end());
                AppendValue(frame, ComputeCrcBitwise(dnp, block), 2, false);
            }
            return frame;
        });
        const QStringList texts = Texts(IdentifyChecksums(log));
        QCOMPARE(texts.value(0), "CRC-16/DNP（低字节在前），第1字节 至 第8字节，其后每16字节一个校验码；60/60 帧");
        QVERIFY(texts.contains("CRC-16/DNP（低字节在前），第1字节 至 第8字节；60/60 帧"));
    }

    // A few corrupted frames, among them two of the first four: the real rule still ranks
    // first and names the broken lines; rules that hold only because their bytes cancel rank
    // below it.
    void corruptedAndStructural()
    {
        std::mt19937 random(485);
        const CrcParameters& modbus = Crc("CRC-16/MODBUS");
        auto log = MakeLog(300, [&](std::size_t) {
            Bytes frame{0x68, 0, 0, 0x68};
            const Bytes payload = Payload(random);
            frame[1] = frame[2] = std::uint8_t(payload.size());
            frame.insert(frame.end(), payload.begin(), payload.end());
            AppendValue(frame, ComputeCrcBitwise(modbus, frame), 2, false);
            return frame;
        });
        for (std::size_t line : {1, 3, 150})
            log[line - 1].bytes[5] ^= 0x10;
        const IdentifyReport report = IdentifyChecksums(log);
        QVERIFY(!report.classes);
        QCOMPARE(Texts(report).value(0), "CRC-16/MODBUS（低字节在前），第1字节 至 倒数第3字节；297/300 帧；不成立：第1、3、150行");
        // XOR over 68 L L cancels to 68 before the second 68: structural, and below.
        bool structural = false;
        for (std::size_t k = 0; k < report.rules.size(); ++k) {
            structural = structural || report.rules[k].structural;
            QCOMPARE(report.rules[k].structural, structural);
        }
        QVERIFY(Texts(report).contains("XOR8，第1字节 至 第3字节（结构性：所覆盖字节的结果在每帧中都相同）；300/300 帧"));
    }

    // The pairs' prefix sums and keys against trying every rule, on frames of few byte values
    // (so that many rules hold by chance) and of random bytes with a planted checksum.
    void againstBruteForce_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("values");
        for (int seed = 0; seed < 15; ++seed)
            QTest::newRow(QByteArray::number(seed)) << seed << (seed % 3 == 0 ? 2 : seed % 3 == 1 ? 3 : 256);
    }
    void againstBruteForce()
    {
        QFETCH(int, seed);
        QFETCH(int, values);
        std::mt19937 random(seed);
        const std::size_t lengths[] = {9, 12, 10, 13};
        const auto log = MakeLog(4, [&](std::size_t k) {
            Bytes frame(lengths[k]);
            for (auto& b : frame)
                b = std::uint8_t(random() % values);
            frame[0] = 0;  // one first byte: no classes
            frame[frame.size() - 2] = std::uint8_t(Sum(frame, 1, frame.size() - 2));
            return frame;
        });
        IdentifyOptions options;
        options.minSharePercent = 100;
        options.maxRules = 1 << 20;
        QSet<QString> found;
        for (const IdentifiedRule& rule : IdentifyChecksums(log, options).rules)
            if (rule.rule.block == 0)
                found.insert(Key(rule.rule));
        const QSet<QString> expected = BruteForceRules(log);
        QCOMPARE(found - expected, QSet<QString>());
        QCOMPARE(expected - found, QSet<QString>());
        QVERIFY(found.contains(Key(Canonical({.model = std::uint16_t(*FindChecksumModel("SUM8")), .start = 2,
                                             .endFrom = RuleEnd::FromLast, .end = 3}))));
    }

    // Frames nobody on the team wrote, each log under its source.
    void realFrames_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("expected");
        // Modbus Application Protocol V1.1b3 (modbus.org), the examples of functions 01 to 04
        // (slave 11), as RTU frames with their CRC, as public Modbus libraries' tests quote them.
        QTest::newRow("modbus rtu")
            << QStringList{"11 01 00 13 00 25 0E 84", "11 02 00 C4 00 16 BA A9", "11 03 00 6B 00 03 76 87",
                           "11 04 00 08 00 01 B2 98", "11 03 06 AE 41 56 52 43 40 49 AD"}
            << "CRC-16/MODBUS（低字节在前），第1字节 至 倒数第3字节；5/5 帧";
        // opendnp3, tests of the link layer (TestLinkFrame.cpp, TestLinkParser.cpp): reset link
        // states, request link status, and unconfirmed user data with one 15-byte block.
        QTest::newRow("dnp3")
            << QStringList{"05 64 05 C0 01 00 00 04 E9 21", "05 64 05 49 01 00 00 04 D2 36",
                           "05 64 14 F3 01 00 00 04 0A 3B C0 C3 01 3C 02 06 3C 03 06 3C 04 06 3C 01 06 9A 12"}
            << "CRC-16/DNP（低字节在前），第1字节 至 第8字节，其后每16字节一个校验码；3/3 帧";
        // DL/T 645-2007: the broadcast read of the meter's address, a reply, and a read reply,
        // as posted with a public DL/T 645 library's tests (CS: the sum from the first 68).
        QTest::newRow("dl/t 645")
            << QStringList{"68 AA AA AA AA AA AA 68 13 00 DF 16", "68 01 00 00 00 00 00 68 93 06 34 33 33 33 33 33 9D 16",
                           "68 01 00 00 00 00 00 68 91 08 33 34 34 35 77 66 55 44 B0 16"}
            << "SUM8，第1字节 至 倒数第3字节，其后1字节结束符；3/3 帧";
        // NMEA 0183 sentences of the classic reference "NMEA data" (GGA, RMC, GSA, GSV
        // examples), each closed by CR LF.
        QStringList nmea;
        for (const char* sentence : {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
                                     "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
                                     "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
                                     "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75"})
            nmea << QByteArray(sentence).append("\r\n").toHex(' ');
        QTest::newRow("nmea") << nmea
                              << "XOR8，第2字节 至 倒数第6字节，其后为“*”及2位16进制文本校验码，其后2字节结束符；4/4 帧";
        // Modbus over Serial Line V1.02, the ASCII frame of the read example (slave 11), and two
        // more ASCII requests as Modbus tutorials write them.
        QStringList ascii;
        for (const char* frame : {":1103006B00037E", ":F7031389000A60", ":010300000001FB"})
            ascii << QByteArray(frame).append("\r\n").toHex(' ');
        QTest::newRow("modbus ascii")
            << ascii << "−SUM8，第2字节 至 倒数第5字节，按16进制文本所表示的字节计算，校验码为2位16进制文本，其后2字节结束符；3/3 帧";
        // u-blox UBX-CFG-RATE commands as u-center writes them (1, 2, 4, 5, 8, 10 Hz), quoted in
        // public GPS projects, and the CFG-RATE poll.
        QTest::newRow("ubx")
            << QStringList{"B5 62 06 08 06 00 E8 03 01 00 01 00 01 39", "B5 62 06 08 06 00 F4 01 01 00 01 00 0B 77",
                           "B5 62 06 08 06 00 FA 00 01 00 01 00 10 96", "B5 62 06 08 06 00 C8 00 01 00 01 00 DE 6A",
                           "B5 62 06 08 06 00 7D 00 01 00 01 00 93 A8", "B5 62 06 08 06 00 64 00 01 00 01 00 7A 12",
                           "B5 62 06 08 00 00 0E 30"}
            << "FLETCHER-8（低字节在前），第3字节 至 倒数第3字节；7/7 帧";
    }
    void realFrames()
    {
        QFETCH(QStringList, frames);
        QFETCH(QString, expected);
        std::vector<IdentifyFrame> log;
        for (const QString& frame : frames) {
            const QByteArray bytes = QByteArray::fromHex(frame.toLatin1());
            log.push_back({log.size() + 1, Bytes(bytes.begin(), bytes.end())});
        }
        const IdentifyReport report = IdentifyChecksums(log);
        QVERIFY(!report.rules.empty());
        QCOMPARE(QString::fromStdString(IdentifiedRuleText(report.rules[0])), expected);
    }

    // Where no model fits, the placements of an unknown CRC go to the solver; a solver that
    // knows a few parameter sets stands in for it here, testing them bit by bit.
    void unknownCrcPlacements_data()
    {
        QTest::addColumn<uint>("poly");
        QTest::addColumn<uint>("init");
        QTest::addColumn<bool>("reflected");
        QTest::addColumn<bool>("highFirst");
        QTest::addColumn<int>("trailer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0x8BB7 reflected")
            << 0x8BB7u << 0u << true << false << 0
            << "CRC-16（多项式 0x8BB7，初始值 0x0000，输入反转，输出反转，结果异或值 0x0000）（低字节在前），第1字节 至 倒数第3字节；40/40 帧";
        QTest::newRow("0x1021 init 0x1234")
            << 0x1021u << 0x1234u << false << true << 1
            << "CRC-16（多项式 0x1021，初始值 0x1234，输入不反转，输出不反转，结果异或值 0x0000）（高字节在前），第1字节 至 倒数第4字节，其后1字节结束符；40/40 帧";
    }
    void unknownCrcPlacements()
    {
        QFETCH(uint, poly);
        QFETCH(uint, init);
        QFETCH(bool, reflected);
        QFETCH(bool, highFirst);
        QFETCH(int, trailer);
        QFETCH(QString, expected);
        const CrcParameters crc{16, poly, init, reflected, reflected, 0};
        std::mt19937 random(poly);
        const auto log = MakeLog(40, [&](std::size_t) {
            Bytes frame = Payload(random);
            AppendValue(frame, ComputeCrcBitwise(crc, frame), 2, highFirst);
            for (int k = 0; k < trailer; ++k)
                frame.push_back(0x0D);
            return frame;
        });
        std::vector<unsigned> widths;
        const CrcSolver solver = [&](unsigned width, std::span<const UnknownCrcSample> samples) {
            widths.push_back(width);
            std::vector<UnknownCrcSolution> found;
            for (const CrcParameters& p : {crc, CrcParameters{16, 0x8005, 0, true, true, 0}, CrcParameters{8, 0x07, 0, false, false, 0}})
                if (p.width == width && std::all_of(samples.begin(), samples.end(), [&](const UnknownCrcSample& s) {
                        return ComputeCrcBitwise(p, s.message) == s.check;
                    }))
                    found.push_back({p, true});
            return found;
        };
        IdentifyOptions options;
        options.unknownCrc = [&](std::span<const IdentifyFrame* const> frames, const std::atomic<bool>* cancel) {
            return SearchUnknownCrcs(frames, solver, cancel);
        };
        const IdentifyReport report = IdentifyChecksums(log, options);
        QCOMPARE(Texts(report).value(0), expected);
        // Every placement is asked about, those that explain nothing again in parts.
        QVERIFY(widths.size() > UnknownCrcPlacements().size());
        // Without a solver the catalogue has nothing to say.
        options.unknownCrc = nullptr;
        QVERIFY(Texts(IdentifyChecksums(log, options)).filter(QRegularExpression("^CRC")).isEmpty());
    }

    // Long frames end in reasonable time: the sums look for values near the ends only.
    void longFrames()
    {
        std::mt19937 random(65535);
        const CrcParameters& crc32 = Crc("CRC-32/ISO-HDLC");
        const auto log = MakeLog(4, [&](std::size_t) {
            Bytes frame = RandomBytes(random, 5000 + random() % 3000);
            AppendValue(frame, ComputeCrcBitwise(crc32, frame), 4, false);
            return frame;
        });
        QCOMPARE(First(log), "CRC-32/ISO-HDLC（低字节在前），第1字节 至 倒数第5字节；4/4 帧");
    }

    void nothingToTell()
    {
        const auto same = MakeLog(5, [](std::size_t) { return Bytes{1, 3, 0, 0, 0, 10, 0xC5, 0xCD}; });
        const IdentifyReport report = IdentifyChecksums(same);
        QCOMPARE(report.frames, 5u);
        QCOMPARE(report.distinct, 1u);
        QVERIFY(report.rules.empty());
        QVERIFY(IdentifyChecksums({}).rules.empty());
        // Frames of one and two bytes and empty frames: no range, no crash.
        const auto tiny = MakeLog(6, [](std::size_t k) { return Bytes(k % 3, std::uint8_t(k)); });
        QVERIFY(IdentifyChecksums(tiny).rules.empty());
    }
};

QTEST_APPLESS_MAIN(TestChecksumIdentify)
#include "tst_checksum_identify.moc"
