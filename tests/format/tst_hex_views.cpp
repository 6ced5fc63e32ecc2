#include <QTest>
#include <random>
#include <vector>

#include "common/code_page.h"
#include "format/hex_views.h"
#include "format/selection_mirror.h"

class TestHexViews : public QObject {
    Q_OBJECT
private slots:
    void views_data();
    void views();
    void randomInputStaysInBounds();
};

// "FF1FF2" and "FF2FF1" are the UNICODE view in that byte order; 0x4100, 0x4200 and 0x3132 have no GBK code.
void TestHexViews::views_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* view, const char* hex, const QString& text) {
        QTest::addRow("%s %s", view, hex) << QString::fromLatin1(view) << QByteArray(hex) << text;
    };
    row("ascii", "31 32 41 00 42", "12AB");
    row("ascii", "C4 E3 BA C3 FF", QStringLiteral("你好\uFFFD"));
    row("decimal", "31 32 41 00 42", "049 050 065 000 066 ");
    row("bcd", "31 32 41 00 42", "1F 20 29 00 2A ");
    row("bcd", "0A 99 FF 9A FA 2A A5 F5 25", "0A 63 69 00 64 1E 00 00 19 ");
    row("3x3x", "31 32 41 00 42", QStringLiteral("非3X3X编码格式"));
    row("3x3x", "30 31 39 39", "01 99 ");
    row("3x3x", "3A 3F 3F 30", "AF F0 ");
    row("3x3x", "31 32 33", QStringLiteral("非3X3X编码格式"));
    row("3x3x", "2F 30", QStringLiteral("非3X3X编码格式"));
    row("3x3x", "30 40", QStringLiteral("非3X3X编码格式"));
    row("FF1FF2", "31 32 41 00 42", "???");
    row("FF2FF1", "31 32 41 00 42", QStringLiteral("㈱AB"));
    row("FF2FF1", "41 00 42 00", "AB");
    row("FF1FF2", "00 41", "A");
    row("FF1FF2", "00 41 42", "A?");
    row("FF2FF1", "41 00 42", "AB");
    row("FF1FF2", "00 00 41 00", "");
    row("FF2FF1", "00 00 00 41", "");
    row("FF1FF2", "00 41 00 00 00 42", "A");
    row("FF1FF2", "D8 3D DE 00", "??");
}

void TestHexViews::views()
{
    QFETCH(QString, view);
    QFETCH(QByteArray, hex);
    QFETCH(QString, text);
    const QByteArray bytes = QByteArray::fromHex(hex);
    const std::vector<std::uint8_t> f(bytes.begin(), bytes.end());
    const std::string shown = view == "ascii" ? RenderAscii(f) : view == "decimal" ? RenderDecimal(f)
                            : view == "bcd" ? RenderBcd(f) : view == "3x3x" ? Render3x3x(f)
                            : RenderUnicode(f, view == "FF2FF1" ? UnicodeByteOrder::LowFirst : UnicodeByteOrder::HighFirst);
    const std::u16string wide = NarrowToWide(shown);
    QCOMPARE(QString::fromUtf16(wide.data(), qsizetype(wide.size())), text);
}

void TestHexViews::randomInputStaysInBounds()
{
    // Exact-size heap frames, longer than the page's 512 bytes, so the sanitizers see any stray read.
    std::mt19937 random(133);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> frame(random() % 1101);
        for (std::uint8_t& b : frame)
            b = static_cast<std::uint8_t>(round % 3 == 0 ? 0x30 + random() % 16 : random() % 2 ? random() : ' ');
        QVERIFY(RenderAscii(frame).size() <= frame.size() && Render3x3x(frame).size() <= 3 * frame.size() / 2 + 14);
        QVERIFY(RenderDecimal(frame).size() == 4 * frame.size() && RenderBcd(frame).size() == 3 * frame.size());
        QVERIFY(RenderUnicode(frame, round % 2 ? UnicodeByteOrder::LowFirst : UnicodeByteOrder::HighFirst).size() <= frame.size() + 1);
        const auto range = HexSelectionToAscii(random() % 1536, std::string(frame.begin(), frame.end()));
        QVERIFY(!range || range->end - range->start <= frame.size() / 2);
        QVERIFY(AsciiSelectionToHex({round % 7u, round % 7u + 2}).end == 3 * (round % 7u + 2));
    }
}

QTEST_APPLESS_MAIN(TestHexViews)
#include "tst_hex_views.moc"
