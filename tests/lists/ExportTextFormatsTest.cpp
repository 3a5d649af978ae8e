#include "ExportSample.h"

#include "lists/CsvExportWriter.h"
#include "lists/ExportFormat.h"
#include "lists/ExportStream.h"
#include "lists/GbkText.h"
#include "lists/TextExportWriter.h"

#include <QBuffer>

#include <algorithm>
#include <iconv.h>

#include <gtest/gtest.h>

using namespace exportsample;
using lists::toGbk;

TEST(GbkText, KeepsEveryGbkCharacterAndMarksTheRestWithOneQuestionMark) {
    EXPECT_EQ(toGbk(u"2024-3-1 ab\t\r\n"), QByteArray("2024-3-1 ab\t\r\n"));
    EXPECT_EQ(toGbk(u"日期"), riqi);
    EXPECT_EQ(toGbk(u"x淺憑聖y"), "x" + qian + ping + sheng + "y");
    // Hangul, Thai, a character beyond the basic plane and broken surrogates
    // have no GBK form: one "?" each, the text around them intact.
    EXPECT_EQ(toGbk(u"日한期"), QByteArray("\xC8\xD5?\xC6\xDA"));
    EXPECT_EQ(toGbk(u"aก😀b"), QByteArray("a??b"));
    // The euro sign of code page 936 (byte 0x80) is no GBK: GBK readers
    // refuse that byte and the whole file with it.
    EXPECT_EQ(toGbk(u"€"), QByteArray("?"));
    EXPECT_EQ(toGbk(u"日€期€€"), "\xC8\xD5?\xC6\xDA??");
    const QString broken = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") +
                           QChar(0xDC00) + QStringLiteral("日") + QChar(0xD800);
    EXPECT_EQ(toGbk(broken), "a?b?" + riqi.left(2) + "?");
    EXPECT_EQ(toGbk(u""), QByteArray());
    const QByteArray nul("a\0b", 3);
    EXPECT_EQ(toGbk(QStringView(u"a\0b", 3)), nul);

    // One encoder, many texts, long ones included.
    lists::GbkEncoder encoder;
    QByteArray out;
    QString longText;
    for (int i = 0; i < 5000; ++i)
        longText += QStringLiteral("摘要a");
    encoder.append(out, u"日期");
    encoder.append(out, longText);
    encoder.append(out, u"😀");
    EXPECT_EQ(out.size(), 4 + 5000 * 5 + 1);
    EXPECT_TRUE(out.startsWith(riqi + zhaiyao + "a" + zhaiyao));
    EXPECT_TRUE(out.endsWith(zhaiyao + "a?"));
}

TEST(GbkText, EveryCharacterOfTheBasicPlaneAsTheCLibraryConvertsItAlone) {
    // The C library's converter, one character at a time, with what GBK
    // proper lacks (no form at all, or code page 936's single byte 0x80 for
    // the euro sign) as "?".
    iconv_t cd = iconv_open("GBK", "UTF-16LE");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    QString all;
    QList<QByteArray> each;
    for (char32_t u = 1; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const char16_t unit = char16_t(u);
        all += QChar(unit);
        char* in = reinterpret_cast<char*>(const_cast<char16_t*>(&unit));
        size_t inLeft = 2;
        char bytes[8];
        char* out = bytes;
        size_t outLeft = sizeof bytes;
        const bool converted = iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1);
        const qsizetype n = out - bytes;
        each << (!converted || (n == 1 && quint8(bytes[0]) >= 0x80) ? QByteArray("?")
                                                                    : QByteArray(bytes, n));
    }
    iconv_close(cd);
    EXPECT_EQ(toGbk(all), each.join());

    // The same through one encoder in pieces, with plain text between them.
    lists::GbkEncoder encoder;
    QByteArray pieces;
    QByteArray expected;
    for (qsizetype i = 0; i < all.size(); i += 997) {
        encoder.append(pieces, QStringView(all).mid(i, 997));
        encoder.append(pieces, u"ab");
        expected += each.mid(i, 997).join() + "ab";
    }
    EXPECT_EQ(pieces, expected);
}

TEST(TextExport, TitleRowThenLineBreakBeforeEachRecordAndTheFooter) {
    const QByteArray bytes = written([](QIODevice& d) { lists::writeTextExport(sample(), d); });
    const QByteArray expected = riqi + "\t" + zhaiyao + "\t" + beizhu + "\t" + bianhao + "\t" +
                                jiefang + "\r\n2024-3-1\t" + shou + "\"" + kuan + "\" & <" + qian +
                                ">\t\t7\t1,234.50" + "\r\n2024-3-2\t{" + ping + "\\" + sheng +
                                "}\t\t-3\t" + "\r\n" + jilushu + "\t2\t\t\t1,234.50";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_TRUE(bytes.endsWith("1,234.50"));
}

TEST(TextExport, TabsAndLineBreaksInsideCellsBecomeBlanks) {
    lists::TableSnapshot t = sample();
    t.rows.resize(1);
    t.columns[0].title = QStringLiteral("日\n期");
    t.rows[0][2].text = QStringLiteral("a\tb\r\nc\rd\ne\r\r\n\n\t淺");
    t.footer[1].text = QStringLiteral("\r\n");
    const QByteArray bytes = written([&](QIODevice& d) { lists::writeTextExport(t, d); });
    EXPECT_TRUE(bytes.startsWith("\xC8\xD5 \xC6\xDA\t")) << bytes.constData();
    EXPECT_TRUE(bytes.contains(">\ta b c d e    " + qian + "\t7\t1,234.50\r\n"));
    EXPECT_TRUE(bytes.endsWith(jilushu + "\t \t\t\t1,234.50"));
    EXPECT_EQ(bytes.count("\r\n"), 2);
}

TEST(CsvExport, QuotesEveryValueDoublesQuotesAndSeparatesWithSemicolons) {
    const QByteArray bytes = written([](QIODevice& d) { lists::writeCsvExport(sample(), d); });
    const QByteArray expected =
        "\"" + riqi + "\";\"" + zhaiyao + "\";\"" + beizhu + "\";\"" + bianhao + "\";\"" + jiefang +
        "\"" + "\r\n\"2024-3-1\";\"" + shou + "\"\"" + kuan + "\"\" & <" + qian +
        ">\";\"\";\"7\";\"1,234.50\"" + "\r\n\"2024-3-2\";\"{" + ping + "\\" + sheng +
        "}\";\"\";\"-3\";\"\"" + "\r\n\"" + jilushu + "\";\"2\";\"\";\"\";\"1,234.50\"";
    EXPECT_EQ(bytes, expected);

    lists::TableSnapshot t = sample();
    t.rows.resize(1);
    t.rows[0][0].text = QStringLiteral("\"\"x\"");
    t.rows[0][1].text = QStringLiteral("a,b;c");
    const QByteArray quoted = written([&](QIODevice& d) { lists::writeCsvExport(t, d); });
    EXPECT_TRUE(quoted.contains("\r\n\"\"\"\"\"x\"\"\";\"a,b;c\";")) << quoted.constData();
}

TEST(ExportFormat, AppendsTheExtensionUnlessTheNameEndsInIt) {
    using lists::exportFilePath;
    EXPECT_EQ(exportFilePath(QStringLiteral("report.CSV"), 1), QStringLiteral("report.CSV.txt"));
    EXPECT_EQ(exportFilePath(QStringLiteral("abc"), 5), QStringLiteral("abc.xls"));
    EXPECT_EQ(exportFilePath(QStringLiteral("report.xls"), 5), QStringLiteral("report.xls"));
    EXPECT_EQ(exportFilePath(QStringLiteral("/tmp/a/现金日记帐.XLS"), 5),
              QStringLiteral("/tmp/a/现金日记帐.XLS"));
    EXPECT_EQ(exportFilePath(QStringLiteral(" 现金日记帐统计(月份)"), 3),
              QStringLiteral(" 现金日记帐统计(月份).htm"));
    EXPECT_EQ(exportFilePath(QStringLiteral("a.Rtf"), 4), QStringLiteral("a.Rtf"));
    EXPECT_EQ(exportFilePath(QStringLiteral("c"), 2), QStringLiteral("c.csv"));
    // Only the last three characters count, dot or no dot.
    EXPECT_EQ(exportFilePath(QStringLiteral("reporttxt"), 1), QStringLiteral("reporttxt"));
    EXPECT_EQ(exportFilePath(QStringLiteral("x"), 0), QStringLiteral("x"));
    EXPECT_EQ(lists::exportExtension(3), QStringLiteral("htm"));
    EXPECT_TRUE(lists::exportExtension(6).isEmpty());
}

TEST(ExportFormat, TheTypeChoosesTheFormatAndAnUnknownTypeIsRefused) {
    const lists::TableSnapshot t = sample();
    EXPECT_EQ(written([&](QIODevice& d) { lists::writeExport(1, t, d); }),
              written([&](QIODevice& d) { lists::writeTextExport(t, d); }));
    EXPECT_TRUE(written([&](QIODevice& d) { lists::writeExport(2, t, d); }).startsWith("\""));
    EXPECT_TRUE(written([&](QIODevice& d) { lists::writeExport(3, t, d); }).startsWith("<!DOC"));
    EXPECT_TRUE(written([&](QIODevice& d) { lists::writeExport(4, t, d); }).startsWith("{\\rtf0"));
    EXPECT_TRUE(written([&](QIODevice& d) { lists::writeExport(5, t, d); }).startsWith("\x09\x08"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(lists::writeExport(6, t, buffer), std::invalid_argument);
    EXPECT_TRUE(buffer.data().isEmpty());
}

namespace {

// A disk that fills up after `room` bytes.
class FullDisk : public QIODevice {
public:
    explicit FullDisk(qint64 room)
        : m_room(room) {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (m_room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min(size, m_room);
        m_room -= n;
        return n;
    }

private:
    qint64 m_room;
};

} // namespace

TEST(ExportFormat, ADeviceThatRefusesBytesIsAnError) {
    for (int type = 1; type <= 5; ++type) {
        FullDisk disk(10);
        try {
            lists::writeExport(type, sample(), disk);
            ADD_FAILURE() << "type " << type << " reported success";
        } catch (const lists::ExportWriteError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("磁盘空间不足"));
        }
    }
}
