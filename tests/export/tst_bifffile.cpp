#include "export/BiffFile.h"
#include "export/ExportError.h"

#include "BiffReader.h"
#include "LibreOfficeCsv.h"

#include <QBuffer>
#include <QDate>
#include <QFont>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

namespace {

const QByteArray bof = QByteArray::fromHex("0900 0400 0200 1000");
const QByteArray eof = QByteArray::fromHex("0A00 0000");

// Everything a writer put on a fresh buffer, BOF and EOF included.
QByteArray sheet(const std::function<void(TBiffFile &)> &body)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TBiffFile file(&buffer);
        body(file);
    }
    return buffer.data();
}

// The records between BOF and EOF, once both are checked to be in place.
QByteArray records(const std::function<void(TBiffFile &)> &body)
{
    const QByteArray all = sheet(body);
    if (!all.startsWith(bof) || !all.endsWith(eof))
        return QByteArray("missing BOF or EOF: ") + all.toHex(' ');
    return all.mid(bof.size(), all.size() - bof.size() - eof.size());
}

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(spaced);
}

// A disk that fills up after a number of bytes.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 capacity) : m_capacity(capacity) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 room = qMin(length, m_capacity - written.size());
        if (room < length)
            setErrorString(QStringLiteral("No queda espacio en el disco"));
        if (room <= 0)
            return -1;
        written.append(data, room);
        return room;
    }

private:
    qint64 m_capacity;
};

} // namespace

class TestBiffFile : public QObject {
    Q_OBJECT

private slots:
    void emptySheetIsBofThenEof();
    void recordsAreLaidOutByteForByte();
    void attributeBytes_data();
    void attributeBytes();
    void writeCellChoosesTheRecord_data();
    void writeCellChoosesTheRecord();
    void textIsWindows1252CutTo255();
    void repeatedMomentsKeepTheirOwnText();
    void refusedValuesWriteNothing();
    void streamFailuresAreReported();
    void interruptedSheetHasNoEof();
    void libreOfficeReadsWhatWasWritten();
};

void TestBiffFile::emptySheetIsBofThenEof()
{
    // The BOF type is a worksheet (0x0010), which every reader opens.
    const QByteArray expected = hex("09 00 04 00 02 00 10 00 0A 00 00 00");
    QCOMPARE(sheet([](TBiffFile &) {}), expected);

    // An explicit finish writes the same EOF once, and closes the sheet for good.
    QCOMPARE(sheet([](TBiffFile &file) {
                 file.finish();
                 QVERIFY_THROWS_EXCEPTION(ExportError, file.WriteBlank(0, 0, {}));
             }),
             expected);
}

void TestBiffFile::recordsAreLaidOutByteForByte()
{
    QCOMPARE(records([](TBiffFile &f) { f.WriteLabel(1, 2, CellAttribute::AlignCentre, "abc"); }),
             hex("04 00 0B 00 01 00 02 00 00 00 02 03 61 62 63"));

    QFont arial(QStringLiteral("Arial"), 10);
    arial.setBold(true);
    arial.setItalic(true);
    QCOMPARE(records([&](TBiffFile &f) { f.WriteFont(arial); }), hex("31 00 0A 00 C8 00 03 00 05 41 72 69 61 6C"));
    QCOMPARE(records([](TBiffFile &f) { f.WriteCodePage(); }), hex("42 00 02 00 E4 04")); // Windows-1252
    QFont courier(QStringLiteral("Courier"));
    courier.setPointSizeF(12.5);
    courier.setUnderline(true);
    courier.setStrikeOut(true);
    QCOMPARE(records([&](TBiffFile &f) { f.WriteFont(courier); }), hex("31 00 0C 00 FA 00 0C 00 07") + "Courier");

    QCOMPARE(records([](TBiffFile &f) { f.WriteDimensions(0, 1025, 0, 4); }),
             hex("00 00 08 00 00 00 01 04 00 00 04 00"));
    QCOMPARE(records([](TBiffFile &f) {
                 f.WriteColWidth(1, 3, 2960);
                 f.WriteColWidth(255, 0xFFFF);
             }),
             hex("24 00 04 00 01 03 90 0B  24 00 04 00 FF FF FF FF"));
    QCOMPARE(records([](TBiffFile &f) { f.WriteNote(2, 1, "hola"); }),
             hex("1C 00 0A 00 02 00 01 00 04 00 68 6F 6C 61"));

    QCOMPARE(records([](TBiffFile &f) {
                 f.WriteBlank(0x0105, 6, {});
                 f.WriteInteger(0xFFFF, 0x0100, {}, 300);
                 f.WriteNumber(0, 0, {}, 1.5);
                 f.WriteBoolean(1, 1, {}, true);
                 f.WriteBoolean(1, 2, {}, false);
             }),
             hex("01 00 07 00 05 01 06 00 00 00 00"
                 "02 00 09 00 FF FF 00 01 00 00 00 2C 01"
                 "03 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 F8 3F"
                 "05 00 09 00 01 00 01 00 00 00 00 01 00"
                 "05 00 09 00 01 00 02 00 00 00 00 00 00"));
}

void TestBiffFile::attributeBytes_data()
{
    QTest::addColumn<int>("attributes");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("none") << 0 << hex("00 00 00");
    QTest::newRow("hidden") << 0x0001 << hex("80 00 00");
    QTest::newRow("locked") << 0x0002 << hex("40 00 00");
    QTest::newRow("hidden locked") << 0x0003 << hex("C0 00 00");
    QTest::newRow("shaded") << 0x0004 << hex("00 00 80");
    QTest::newRow("bottom") << 0x0008 << hex("00 00 40");
    QTest::newRow("top") << 0x0010 << hex("00 00 20");
    QTest::newRow("right border") << 0x0020 << hex("00 00 10");
    QTest::newRow("left border") << 0x0040 << hex("00 00 08");
    QTest::newRow("shaded, all borders") << 0x007C << hex("00 00 F8");
    QTest::newRow("font 1") << 0x0100 << hex("00 40 00");
    QTest::newRow("font 2") << 0x0200 << hex("00 80 00");
    QTest::newRow("font 3") << 0x0400 << hex("00 C0 00");
    QTest::newRow("fonts 1 2 3: the first wins") << 0x0700 << hex("00 40 00");
    QTest::newRow("fonts 2 3: the first wins") << 0x0600 << hex("00 80 00");
    QTest::newRow("keep font 0 overrides") << 0x0780 << hex("00 00 00");
    QTest::newRow("left") << 0x0800 << hex("00 00 01");
    QTest::newRow("centre") << 0x1000 << hex("00 00 02");
    QTest::newRow("right") << 0x2000 << hex("00 00 03");
    QTest::newRow("left and right: left wins") << 0x2800 << hex("00 00 01");
    QTest::newRow("centre and right: centre wins") << 0x3000 << hex("00 00 02");
    QTest::newRow("fill") << 0x4000 << hex("00 00 04");
    QTest::newRow("everything") << 0x7FFF << hex("C0 00 FD");
}

void TestBiffFile::attributeBytes()
{
    QFETCH(int, attributes);
    QFETCH(QByteArray, bytes);
    const auto flags = TCellAttributes::fromInt(attributes);
    QCOMPARE(records([&](TBiffFile &f) { f.WriteBlank(0, 0, flags); }), hex("01 00 07 00 00 00 00 00") + bytes);
}

void TestBiffFile::writeCellChoosesTheRecord_data()
{
    QTest::addColumn<int>("cellType");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("data"); // the record after the 7-byte cell header

    const QByteArray blank = hex("01 00 07 00");
    const auto integer = [](const char *word) { return hex("02 00 09 00") + hex(word); };
    const auto number = [](const char *bits) { return hex("03 00 0F 00") + hex(bits); };
    const auto label = [](const QByteArray &text) {
        return hex("04 00") + QByteArray(1, char(8 + text.size())) + hex("00") + QByteArray(1, char(text.size())) +
               text;
    };

    QTest::newRow("null as double") << int(ctDouble) << QVariant() << blank;
    QTest::newRow("typed null as label") << int(ctLabel) << QVariant(QMetaType::fromType<QString>()) << blank;
    QTest::newRow("blank type with a value") << int(ctBlank) << QVariant(5) << blank;
    // A spreadsheet would show NaN or INF where the shop expects a figure.
    QTest::newRow("not a number as double") << int(ctDouble) << QVariant(std::nan("")) << blank;
    QTest::newRow("infinity as double") << int(ctDouble) << QVariant(std::numeric_limits<double>::infinity()) << blank;

    QTest::newRow("integer from text") << int(ctInteger) << QVariant("12") << integer("0C 00");
    QTest::newRow("integer 2,5 to even") << int(ctInteger) << QVariant(2.5) << integer("02 00");
    QTest::newRow("integer 3,5 to even") << int(ctInteger) << QVariant(3.5) << integer("04 00");
    QTest::newRow("integer 65535") << int(ctInteger) << QVariant(65535) << integer("FF FF");
    QTest::newRow("integer 65536 as number") << int(ctInteger) << QVariant(65536) << number("00 00 00 00 00 00 F0 40");
    QTest::newRow("integer 70000 as number")
        << int(ctInteger) << QVariant(qint64(70000)) << number("00 00 00 00 00 17 F1 40");
    QTest::newRow("integer -1 as number") << int(ctInteger) << QVariant(-1) << number("00 00 00 00 00 00 F0 BF");
    QTest::newRow("integer 10^12 as number")
        << int(ctInteger) << QVariant(qint64(1000000000000)) << number("00 00 00 A2 94 1A 6D 42");

    QTest::newRow("number from shop text") << int(ctDouble) << QVariant("1.234,5") << number("00 00 00 00 00 4A 93 40");
    QTest::newRow("number from date serial")
        << int(ctDouble) << QVariant(QDate(1900, 1, 1)) << number("00 00 00 00 00 00 00 40");

    QTest::newRow("label from date") << int(ctLabel) << QVariant(QDate(2026, 12, 8)) << label("08/12/2026");
    QTest::newRow("label from number") << int(ctLabel) << QVariant(2.5) << label("2,5");
    QTest::newRow("label from integer") << int(ctLabel) << QVariant(-42) << label("-42");

    QTest::newRow("boolean from text") << int(ctBoolean) << QVariant("TRUE") << hex("05 00 09 00 01 00");
    QTest::newRow("boolean from 0") << int(ctBoolean) << QVariant(0) << hex("05 00 09 00 00 00");
    QTest::newRow("boolean from 2") << int(ctBoolean) << QVariant(2) << hex("05 00 09 00 01 00");
}

void TestBiffFile::writeCellChoosesTheRecord()
{
    QFETCH(int, cellType);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, data);
    const QByteArray written =
        records([&](TBiffFile &f) { f.WriteCell(3, 4, CellAttribute::AlignRight, TCellType(cellType), value); });
    // Record number and length, then row 3, column 4 and the attributes, then the value.
    const QByteArray expected = data.left(4) + hex("03 00 04 00 00 00 03") + data.mid(4);
    QCOMPARE(written.toHex(' '), expected.toHex(' '));
}

void TestBiffFile::textIsWindows1252CutTo255()
{
    const auto labelText = [](const QString &text) {
        const QByteArray record = records([&](TBiffFile &f) { f.WriteLabel(0, 0, {}, text); });
        const int length = quint8(record.at(11));
        return record.size() == 12 + length ? record.mid(12) : QByteArray("bad length");
    };

    QCOMPARE(labelText(QString::fromUtf8("ñáü€Œ—ÑÁÜ")), hex("F1 E1 FC 80 8C 97 D1 C1 DC"));
    // One "?" per missing character, also for one outside the basic plane (two UTF-16 units).
    QCOMPARE(labelText(QString::fromUtf8("漢x😀y")), QByteArray("?x?y"));
    QCOMPARE(labelText(QString(QChar(0xD800)) + "z"), QByteArray("?z"));
    // Unassigned bytes of the code page are no shortcut for the C1 controls.
    QCOMPARE(labelText(QString(QChar(0x81))), QByteArray("?"));

    QCOMPARE(labelText(QString(300, 'a')), QByteArray(255, 'a'));
    QCOMPARE(labelText(QString(254, 'a') + QString::fromUtf8("😀bc")), QByteArray(254, 'a') + '?');

    const QByteArray note = records([](TBiffFile &f) { f.WriteNote(0, 0, QString(400, 'n')); });
    QCOMPARE(note.left(10), hex("1C 00 05 01 00 00 00 00 FF 00"));
    QCOMPARE(note.mid(10), QByteArray(255, 'n'));

    const QByteArray font = records([](TBiffFile &f) { f.WriteFont(QFont(QString(300, 'F'))); });
    QCOMPARE(font.left(4), hex("31 00 04 01"));
    QCOMPARE(quint8(font.at(8)), quint8(255));
}

void TestBiffFile::repeatedMomentsKeepTheirOwnText()
{
    // The writer remembers the text of moments it converted; the same instant seen from another
    // time zone, or the day alone, is another text.
    const QDateTime utc(QDate(2026, 3, 1), QTime(23, 30), Qt::UTC);
    const QDateTime threeHoursWest = utc.toOffsetFromUtc(-3 * 3600);
    const QVariantList values{
        utc, threeHoursWest, utc, QDateTime(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC), QDate(2026, 3, 2), utc};
    const QByteArray bytes = records([&](TBiffFile &f) {
        for (int i = 0; i < values.size(); ++i)
            f.WriteCell(i, 0, {}, ctLabel, values[i]);
    });
    QStringList texts;
    for (const BiffReader::Record &r : BiffReader::split(bytes))
        texts << r.label();
    QCOMPARE(texts, QStringList({"01/03/2026 23:30:00", "01/03/2026 20:30:00", "01/03/2026 23:30:00", "01/03/2026",
                                 "02/03/2026", "01/03/2026 23:30:00"}));
}

void TestBiffFile::refusedValuesWriteNothing()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TBiffFile file(&buffer);

    QVERIFY_THROWS_EXCEPTION(ValueConversionError, file.WriteCell(0, 0, {}, ctInteger, "abc"));
    // Not the shop's notation: never silently read as fifteen.
    QVERIFY_THROWS_EXCEPTION(ValueConversionError, file.WriteCell(0, 0, {}, ctDouble, "1.5"));
    QVERIFY_THROWS_EXCEPTION(ValueConversionError, file.WriteCell(0, 0, {}, ctInteger, 1e300));
    QVERIFY_THROWS_EXCEPTION(ValueConversionError, file.WriteCell(0, 0, {}, ctInteger, std::nan("")));
    QVERIFY_THROWS_EXCEPTION(ValueConversionError, file.WriteCell(0, 0, {}, ctBoolean, QDate(2026, 1, 1)));
    QVERIFY_THROWS_EXCEPTION(ValueConversionError, file.WriteCell(0, 0, {}, ctBoolean, "quizás"));

    // Rows and columns that the record's fields cannot hold are refused, not wrapped round.
    QVERIFY_THROWS_EXCEPTION(ExportError, file.WriteLabel(65536, 0, {}, "x"));
    QVERIFY_THROWS_EXCEPTION(ExportError, file.WriteBlank(0, -1, {}));
    QVERIFY_THROWS_EXCEPTION(ExportError, file.WriteColWidth(256, 100));
    QVERIFY_THROWS_EXCEPTION(ExportError, file.WriteColWidth(1, 70000));
    QVERIFY_THROWS_EXCEPTION(ExportError, file.WriteDimensions(0, 65537, 0, 4));

    QCOMPARE(buffer.data(), bof);
    file.WriteLabel(65535, 0, {}, "x"); // the last row there is
    QCOMPARE(buffer.data().size(), bof.size() + 13);
}

void TestBiffFile::streamFailuresAreReported()
{
    QBuffer closed;
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
    QVERIFY_THROWS_EXCEPTION(StreamWriteError, TBiffFile{&closed});

    FullDevice disk(bof.size() + 16); // room for a BLANK and part of a LABEL
    {
        TBiffFile file(&disk);
        file.WriteBlank(0, 0, {});
        try {
            file.WriteLabel(0, 1, {}, "desbordado");
            QFAIL("a full disk went unnoticed");
        } catch (const StreamWriteError &error) {
            QVERIFY2(error.message().contains("5 de 22 bytes") &&
                         error.message().contains("No queda espacio en el disco"),
                     qPrintable(error.message()));
        }
        // The sheet is broken from here on; no later record may land after the torn one.
        QVERIFY_THROWS_EXCEPTION(StreamWriteError, file.WriteBlank(0, 2, {}));
    }
    QCOMPARE(disk.written.size(), bof.size() + 16);
    QVERIFY(!disk.written.endsWith(eof));
}

void TestBiffFile::interruptedSheetHasNoEof()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    try {
        TBiffFile file(&buffer);
        file.WriteInteger(0, 0, {}, 1);
        file.WriteCell(1, 0, {}, ctInteger, "no es un número");
        QFAIL("the conversion error was not raised");
    } catch (const ValueConversionError &) {
    }
    QCOMPARE(buffer.data(), bof + hex("02 00 09 00 00 00 00 00 00 00 00 01 00"));

    // A failure the caller handles and writes past leaves a complete sheet.
    const QByteArray recovered = sheet([](TBiffFile &f) {
        try {
            f.WriteCell(0, 0, {}, ctInteger, "no es un número");
        } catch (const ValueConversionError &) {
            f.WriteCell(0, 0, {}, ctLabel, "no es un número");
        }
    });
    QVERIFY(recovered.startsWith(bof + hex("04 00")));
    QVERIFY(recovered.endsWith(eof));
}

void TestBiffFile::libreOfficeReadsWhatWasWritten()
{
    if (LibreOfficeCsv::soffice().isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString xlsPath = dir.filePath("hoja.xls");

    // More rows and columns than the fixed dimensions the dataset export declares, so the
    // reader must take the cells themselves: integers that fit and that do not fit INTEGER,
    // fractions, Spanish text with quotes and commas, a text over 255 characters, booleans,
    // blanks, and dates written as text.
    constexpr int rowCount = 1500;
    QStringList expected;
    QFile xls(xlsPath);
    QVERIFY(xls.open(QIODevice::WriteOnly));
    {
        TBiffFile file(&xls);
        file.WriteFont(QFont(QStringLiteral("Arial"), 10));
        file.WriteDimensions(0, 1025, 0, 4);
        for (int row = 0; row < rowCount; ++row) {
            const qint64 integer = qint64(row) * 97 - 500;
            const double fraction = row / 8.0 - 40;
            const QString text = QString::fromUtf8("Camiseta ñandú Nº %1, «talle» \"XL\" — 5€").arg(row);
            const QString longText = row == 7 ? QString(300, QLatin1Char('L')) : QString();
            const QDate date = QDate(2024, 1, 1).addDays(row);

            file.WriteCell(row, 0, {}, ctInteger, integer);
            file.WriteCell(row, 1, CellAttribute::AlignRight, ctDouble, fraction);
            file.WriteCell(row, 2, CellAttribute::AlignLeft, ctLabel, text);
            file.WriteCell(row, 3, {}, ctBoolean, row % 3 == 0);
            file.WriteCell(row, 4, {}, ctDouble, QVariant());
            file.WriteCell(row, 5, {}, ctLabel, date);
            file.WriteCell(row, 6, {}, ctLabel, longText.isEmpty() ? QVariant() : longText);

            expected << QStringList{QString::number(integer),
                                    QString::number(fraction, 'g', 15),
                                    LibreOfficeCsv::field(text),
                                    row % 3 == 0 ? "1" : "0",
                                    QString(),
                                    date.toString("dd/MM/yyyy"),
                                    longText.left(255)}
                            .join(QLatin1Char(','));
        }
        file.finish();
    }
    xls.close();

    QString error;
    const QStringList lines = LibreOfficeCsv::convert(xlsPath, &error);
    QVERIFY2(!lines.isEmpty(), qPrintable(error));
    QCOMPARE(lines.size(), rowCount);
    for (int row = 0; row < rowCount; ++row)
        QCOMPARE(lines.at(row), expected.at(row));
}

QTEST_MAIN(TestBiffFile)
#include "tst_bifffile.moc"
