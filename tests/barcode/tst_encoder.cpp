// The encoding engine alone: width classes, ratio limits, check characters, each encoder's
// quirks and its error messages.
#include "barcode/BarEncoder.h"

#include <QTest>

using namespace zebrune;

namespace {

std::string pattern(TBarType type, std::string_view text, TCheckSum check = csNone)
{
    return encode(type, text, 1, 2.0, check).pattern;
}

std::string visible(TBarType type, std::string_view text, TCheckSum check = csNone)
{
    return encode(type, text, 1, 2.0, check).visibleText;
}

QString errorOf(TBarType type, std::string_view text, TCheckSum check = csNone)
{
    try {
        encode(type, text, 1, 2.0, check);
    } catch (const BarcodeError &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no error>");
}

QString errorOfWidths(int modul, double ratio)
{
    try {
        widthClasses(modul, ratio);
    } catch (const BarcodeError &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

// Element codes of symbols given as module widths, bar first.
std::string fromWidths(std::string_view widths)
{
    std::string codes;
    bool bar = true;
    for (const char w : widths) {
        codes.push_back(static_cast<char>(bar ? w + 4 : w - 1));
        bar = !bar;
    }
    return codes;
}

bool endsWith(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

class TestEncoder : public QObject {
    Q_OBJECT

private slots:
    void ratioLimitsPerSymbology();
    void widthClassesRoundHalfToEven();
    void widthClassesScaleWithoutCapAndNeverGoNegative();
    void elementCodesAndInternalError();
    void typeTableAndNames();
    void errorMessages();
    void eanAndUpcCheckDigitsAndPadding();
    void upcEParityAndScannableCheckDigit();
    void supplementsShowTheirCheckDigit();
    void twoOfFiveDropsAnOddLastDigit();
    void code39CheckAndSkippedCharacters();
    void fullAsciiSequences();
    void code93CheckCharacters();
    void code128SetsAndCheckSymbol();
    void ean128PrefixAndCheckDigit();
    void msiCheckDigitOfLongTexts();
    void codabarAndPostNet();
};

void TestEncoder::ratioLimitsPerSymbology()
{
    QCOMPARE(encode(bcCode39, "A", 1, 1.5, csNone).ratio, 2.0);
    QCOMPARE(encode(bcCode39, "A", 1, 3.5, csNone).ratio, 3.0);
    QCOMPARE(encode(bcCode_2_5_matrix, "1", 1, 2.0, csNone).ratio, 2.25);
    QCOMPARE(encode(bcCode_2_5_matrix, "1", 1, 3.2, csNone).ratio, 3.0);
    QCOMPARE(encode(bcCodeCodabar, "1", 1, 1.0, csNone).ratio, 2.0);
    QCOMPARE(encode(bcCodeEAN13, "1", 1, 2.5, csNone).ratio, 2.5);
    QCOMPARE(encode(bcCodeUPC_Supp5, "1", 1, 4.0, csNone).ratio, 3.0);
    // Module-based symbologies and MSI/PostNet take the ratio as it comes.
    QCOMPARE(encode(bcCode128B, "A", 1, 1.5, csNone).ratio, 1.5);
    QCOMPARE(encode(bcCode93, "A", 1, 5.0, csNone).ratio, 5.0);
    QCOMPARE(encode(bcCodePostNet, "1", 1, 1.0, csNone).ratio, 1.0);
    QCOMPARE(encode(bcCodeEAN128C, "1", 1, 0.5, csNone).ratio, 0.5);
}

void TestEncoder::widthClassesRoundHalfToEven()
{
    QCOMPARE(encode(bcCodeEAN13, "1", 2, 2.5, csNone).widths, (ElementWidths{2, 5, 7, 10}));
    QCOMPARE(encode(bcCodeEAN13, "1", 2, 2.0, csNone).widths, (ElementWidths{2, 4, 6, 8}));
    // round(2.5) = 2 and round(7.5) = 8: ties go to the even neighbour.
    QCOMPARE(encode(bcCodeEAN13, "1", 1, 2.5, csNone).widths, (ElementWidths{1, 2, 3, 4}));
    QCOMPARE(encode(bcCode39, "1", 3, 2.5, csNone).widths, (ElementWidths{3, 8, 12, 16}));
    // Class 2 truncates: 3 x 3 / 2 = 4.
    QCOMPARE(widthClasses(1, 3.0), (ElementWidths{1, 3, 4, 6}));
    // EAN-13 is 95 modules; a module of 3 with ratio 2 makes it 285 pixels.
    QCOMPARE(barWidth(bcCodeEAN13, "7791234567898", 3, 2.0, csNone), 285);
}

void TestEncoder::widthClassesScaleWithoutCapAndNeverGoNegative()
{
    // A 0.8 mm module at 1200 dpi is 38 pixels: every class keeps its proportion to it.
    QCOMPARE(widthClasses(38, 2.0), (ElementWidths{38, 76, 114, 152}));
    QCOMPARE(widthClasses(40, 3.0), (ElementWidths{40, 120, 180, 240}));
    QCOMPARE(widthClasses(300, 0.1), (ElementWidths{300, 30, 45, 60}));
    QCOMPARE(widthClasses(2, -1.0), (ElementWidths{2, 0, 0, 0}));
    QCOMPARE(widthClasses(-3, 2.0), (ElementWidths{0, 0, 0, 0}));
    QCOMPARE(widthClasses(2, std::numeric_limits<double>::quiet_NaN()), (ElementWidths{2, 0, 0, 0}));
    // A size no page could hold is refused with a message, not drawn wrong.
    QCOMPARE(errorOfWidths(40000, 3.0), QStringLiteral("Las barras son demasiado anchas para dibujarlas (módulo de "
                                                       "40000 puntos)."));
    QCOMPARE(errorOfWidths(2, std::numeric_limits<double>::infinity()).isEmpty(), false);
}

void TestEncoder::elementCodesAndInternalError()
{
    QCOMPARE(element('0').line, white);
    QCOMPARE(element('3').widthClass, 3);
    QCOMPARE(element('5').line, black);
    QCOMPARE(element('8').widthClass, 3);
    QCOMPARE(element('A').line, black_half);
    QCOMPARE(element('D').widthClass, 3);
    QCOMPARE(patternWidth("0567AD", {1, 2, 3, 4}), 1 + 1 + 2 + 3 + 1 + 4);
    for (const char bad : {'4', '9', 'E', 'a', ' ', '\0'}) {
        try {
            element(bad);
            QFAIL("no error for a character that is not an element code");
        } catch (const BarcodeError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Internal Error."));
        }
    }
}

void TestEncoder::typeTableAndNames()
{
    QCOMPARE(QString::fromLatin1(barTypeName(bcCode_2_5_interleaved)), QStringLiteral("Code25 interleaved"));
    QCOMPARE(QString::fromLatin1(barTypeName(bcCodeCodabar)), QStringLiteral("Codebar"));
    QCOMPARE(QString::fromLatin1(barTypeName(bcCodeUPC_Supp2)), QStringLiteral("UPC Supp2"));
    QCOMPARE(QString::fromLatin1(barTypeName(bcCodeEAN128C)), QStringLiteral("EAN128C"));
    int digitsOnly = 0;
    for (const TBCdata &d : BCData)
        digitsOnly += d.digitsOnly ? 1 : 0;
    QCOMPARE(digitsOnly, 12);
    QVERIFY(BCData[bcCodeMSI].digitsOnly);
    QVERIFY(!BCData[bcCode128C].digitsOnly);
    QVERIFY_THROWS_EXCEPTION(BarcodeError, barTypeName(static_cast<TBarType>(23)));
}

void TestEncoder::errorMessages()
{
    QCOMPARE(errorOf(bcCodeEAN13, "12a4"), QStringLiteral("12a4 : Barcode must be numeric."));
    QCOMPARE(errorOf(bcCodePostNet, " 1"), QStringLiteral(" 1 : Barcode must be numeric."));
    QCOMPARE(errorOf(bcCodeEAN8, "\xF1"), QStringLiteral("ñ : Barcode must be numeric."));
    QCOMPARE(errorOf(static_cast<TBarType>(23), "1"), QStringLiteral("Wrong barcode type."));
    QCOMPARE(errorOf(static_cast<TBarType>(-1), "x"), QStringLiteral("Wrong barcode type."));
    QCOMPARE(errorOf(bcCode93, "Ab"), QStringLiteral("Ab : Code_93 bad data."));
    QCOMPARE(errorOf(bcCodeEAN128B, "12a", csModulo10), QStringLiteral("'a' is not a valid integer value"));
    // The rest never fail on odd characters.
    QCOMPARE(errorOf(bcCode39, "a~"), QStringLiteral("<no error>"));
    QCOMPARE(errorOf(bcCode128A, "a\x7F\xFF"), QStringLiteral("<no error>"));
    QCOMPARE(errorOf(bcCode128C, "x1"), QStringLiteral("<no error>"));
    QCOMPARE(errorOf(bcCode93Extended, "a\x7F"), QStringLiteral("<no error>"));
}

void TestEncoder::eanAndUpcCheckDigitsAndPadding()
{
    QCOMPARE(pattern(bcCodeEAN13, "779123456789", csModulo10), pattern(bcCodeEAN13, "7791234567898"));
    QCOMPARE(pattern(bcCodeEAN13, "779123456789"), pattern(bcCodeEAN13, "0779123456789"));
    // The line under the bars is the number they carry, check digit and padding included.
    QCOMPARE(visible(bcCodeEAN13, "779123456789", csModulo10), std::string("7791234567898"));
    QCOMPARE(visible(bcCodeEAN13, "779123456789"), std::string("0779123456789"));
    // A longer text is not cut by the padding: its first 13 digits are drawn.
    QCOMPARE(pattern(bcCodeEAN13, "77912345678981"), pattern(bcCodeEAN13, "7791234567898"));

    QCOMPARE(pattern(bcCodeEAN8, "1234567", csModulo10), pattern(bcCodeEAN8, "12345670"));
    QCOMPARE(pattern(bcCodeEAN8, "91234567", csModulo10), pattern(bcCodeEAN8, "12345670"));
    QCOMPARE(pattern(bcCodeEAN8, "55"), pattern(bcCodeEAN8, "00000055"));
    QCOMPARE(visible(bcCodeEAN8, "1234567", csModulo10), std::string("12345670"));
    QCOMPARE(visible(bcCodeEAN8, "55"), std::string("00000055"));

    // UPC-A: every typed digit is kept and the check digit follows; a twelfth typed digit is the
    // typist's check digit, replaced by the computed one.
    QCOMPARE(visible(bcCodeUPC_A, "04210000526", csModulo10), std::string("042100005264"));
    QCOMPARE(visible(bcCodeUPC_A, "4210000526", csModulo10), std::string("042100005264"));
    QCOMPARE(visible(bcCodeUPC_A, "036000291459", csModulo10), std::string("036000291452"));
    QCOMPARE(pattern(bcCodeUPC_A, "036000291459", csModulo10), pattern(bcCodeUPC_A, "036000291452"));
    QCOMPARE(visible(bcCodeUPC_A, "36000291452"), std::string("36000291452"));
    QCOMPARE(pattern(bcCodeUPC_A, "36000291452"), pattern(bcCodeUPC_A, "036000291452"));
    QCOMPARE(pattern(bcCodeUPC_A, "036000291452").size(), std::size_t(3 + 24 + 5 + 24 + 3));
}

void TestEncoder::upcEParityAndScannableCheckDigit()
{
    // Padded to 0123456: the data 012345 takes the parity row of 6 (EoooEE).
    const std::string expected = std::string("505") + "0517" + "1615" + "1516" + "0805" + "1705" + "0715" + "050505";
    QCOMPARE(pattern(bcCodeUPC_E0, "123456"), expected);
    QCOMPARE(visible(bcCodeUPC_E0, "123456"), std::string("123456"));
    // UPC-E1 reads the parity letters the other way.
    const std::string inverted = std::string("505") + "2605" + "0616" + "1606" + "0535" + "0526" + "0625" + "050505";
    QCOMPARE(pattern(bcCodeUPC_E1, "123456"), inverted);

    // The six typed digits are the data: 123456 stands for UPC-A 0 12345 0000 6, check digit 5.
    QCOMPARE(visible(bcCodeUPC_E0, "123456", csModulo10), std::string("1234565"));
    QCOMPARE(pattern(bcCodeUPC_E0, "123456", csModulo10), pattern(bcCodeUPC_E0, "1234565"));
    QCOMPARE(visible(bcCodeUPC_E0, "12345", csModulo10), std::string("0123457"));
    // Each expansion rule of the last data digit: 425261 (0-2), 123453 (3), 123454 (4), 654327.
    QCOMPARE(visible(bcCodeUPC_E0, "4252614", csModulo10), std::string("4252614"));
    QCOMPARE(visible(bcCodeUPC_E0, "1234530", csModulo10), std::string("1234531"));
    QCOMPARE(visible(bcCodeUPC_E0, "1234540", csModulo10), std::string("1234543"));
    QCOMPARE(visible(bcCodeUPC_E0, "6543270", csModulo10), std::string("6543273"));
    // Number system 1 weighs in: 1 12345 0000 5 sums 3 more than with 0.
    QCOMPARE(visible(bcCodeUPC_E1, "12345", csModulo10), std::string("0123454"));
}

void TestEncoder::supplementsShowTheirCheckDigit()
{
    // 12: 2 x 3 + 1 x 9 = 15; 12 mod 4 = 0 -> both digits in L.
    QCOMPARE(visible(bcCodeUPC_Supp2, "12", csModulo10), std::string("125"));
    QCOMPARE(visible(bcCodeUPC_Supp2, "12"), std::string("12"));
    QCOMPARE(pattern(bcCodeUPC_Supp2, "12"), std::string("506") + "1615" + "05" + "1516");
    // 3 mod 4 = 3 -> both in G; the check option changes the text, not the bars.
    QCOMPARE(pattern(bcCodeUPC_Supp2, "3"), std::string("506") + "0517" + "05" + "0535");
    QCOMPARE(pattern(bcCodeUPC_Supp2, "3", csModulo10), pattern(bcCodeUPC_Supp2, "3"));
    QCOMPARE(visible(bcCodeUPC_Supp2, "3", csModulo10), std::string("039"));

    // 52495: 5x3 + 9x9 + 4x3 + 2x9 + 5x3 = 141 -> 1 -> parity EoEoo (GLGLL).
    QCOMPARE(visible(bcCodeUPC_Supp5, "52495", csModulo10), std::string("524951"));
    const std::string expected =
        std::string("506") + "0715" + "05" + "1516" + "05" + "1705" + "05" + "2506" + "05" + "0625";
    QCOMPARE(pattern(bcCodeUPC_Supp5, "52495"), expected);
}

void TestEncoder::twoOfFiveDropsAnOddLastDigit()
{
    QCOMPARE(pattern(bcCode_2_5_interleaved, "12345"), pattern(bcCode_2_5_interleaved, "1234"));
    // 1 = 10001 (bars), 2 = 01001 (spaces).
    QCOMPARE(pattern(bcCode_2_5_interleaved, "12"), std::string("5050") + "6051505061" + "605");
    QCOMPARE(pattern(bcCode_2_5_industrial, "1"), std::string("606050") + "6050505060" + "605060");
    QCOMPARE(pattern(bcCode_2_5_matrix, "1"), std::string("705050") + "60506" + "0" + "70505");
    QCOMPARE(pattern(bcCode_2_5_matrix, "8"), std::string("705050") + "60515" + "0" + "70505");
}

void TestEncoder::code39CheckAndSkippedCharacters()
{
    const std::string star = "515060605";
    QCOMPARE(pattern(bcCode39, ""), star + "0" + star);
    QCOMPARE(pattern(bcCode39, "0"), star + "0" + "505160605" + "0" + star);
    // C12 O24 D13 E14 3 9 = 75; 75 mod 43 = 32 -> W.
    QCOMPARE(pattern(bcCode39, "CODE39", csModulo10), pattern(bcCode39, "CODE39W"));
    // Z8 sums to 43; the check value 0 is "0", never "*".
    QCOMPARE(pattern(bcCode39, "Z8", csModulo10), pattern(bcCode39, "Z80"));
    QCOMPARE(pattern(bcCode39, "a-b\xE9"), pattern(bcCode39, "-"));
    QCOMPARE(visible(bcCode39, "a-b", csModulo10), std::string("a-b"));
}

void TestEncoder::fullAsciiSequences()
{
    QCOMPARE(pattern(bcCode39Extended, "a"), pattern(bcCode39, "+A"));
    QCOMPARE(pattern(bcCode39Extended, "-."), pattern(bcCode39, "/M/N"));
    QCOMPARE(pattern(bcCode39Extended, std::string_view("\0\x1b\x7f", 3)), pattern(bcCode39, "%U%A%T"));
    QCOMPARE(pattern(bcCode39Extended, "A b$"), pattern(bcCode39, "A +B/D"));
    QCOMPARE(pattern(bcCode39Extended, "@[`{"), pattern(bcCode39, "%V%K%W%P"));
    QCOMPARE(pattern(bcCode39Extended, "\xE9"
                                       "1"),
             pattern(bcCode39, "1"));
    QCOMPARE(pattern(bcCode39Extended, "x", csModulo10), pattern(bcCode39, "+X", csModulo10));

    QCOMPARE(pattern(bcCode93Extended, std::string_view("\0", 1)), pattern(bcCode93, "]U"));
    QCOMPARE(pattern(bcCode93Extended, "a"), pattern(bcCode93, "}A"));
    QCOMPARE(pattern(bcCode93Extended, "-"), pattern(bcCode93, "{M"));
    QCOMPARE(pattern(bcCode93Extended, "$ 9\x01"), pattern(bcCode93, "{D 9[A"));
}

void TestEncoder::code93CheckCharacters()
{
    // TEST93: C = "+" (41), K = "6" (6).
    const std::string tail = fromWidths(std::string("113121") + "121311" + "1111411");
    QVERIFY(endsWith(pattern(bcCode93, "TEST93"), tail));
    QVERIFY(pattern(bcCode93, "TEST93").starts_with(fromWidths("111141")));
    // 6 start + 6 data + 2 check symbols of 6 elements, stop of 7.
    QCOMPARE(pattern(bcCode93, "TEST93").size(), std::size_t(6 + 36 + 12 + 7));
    QCOMPARE(visible(bcCode93, "TEST93"), std::string("TEST93"));
    // Twenty-one characters make the C weights start again from 1 and K's from 1 after 15.
    const std::string longText = "ABCDEFGHIJKLMNOPQRSTU";
    QCOMPARE(pattern(bcCode93, longText).size(), std::size_t(6 + 6 * 21 + 12 + 7));
}

void TestEncoder::code128SetsAndCheckSymbol()
{
    // Set C: "123" is encoded as 01 23; check (105 + 1 + 23 x 2) mod 103 = 49.
    QCOMPARE(visible(bcCode128C, "123"), std::string("0123"));
    const std::string c123 = fromWidths(std::string("211232") + "222122" + "312131" + "211331" + "2331112");
    QCOMPARE(pattern(bcCode128C, "123"), c123);
    QCOMPARE(pattern(bcCode128C, "1A"), pattern(bcCode128C, "00"));
    // Set A has no lower case: it becomes a space, as does anything above 202.
    QCOMPARE(pattern(bcCode128A, "a"), pattern(bcCode128A, " "));
    QCOMPARE(pattern(bcCode128B, "A\xFF"), pattern(bcCode128B, "A "));
    QCOMPARE(pattern(bcCode128B, "A\xCB"), pattern(bcCode128B, "A "));
    QCOMPARE(pattern(bcCode128B, "\x1F"), pattern(bcCode128B, " "));
    QVERIFY(pattern(bcCode128B, "a") != pattern(bcCode128B, " "));
    // 202 stands for FNC1 (102): the same symbols as EAN-128 of the rest.
    QCOMPARE(pattern(bcCode128B, "\xCAX"), pattern(bcCodeEAN128B, "X"));
    // B of "Hi": (104 + 40 x 1 + 73 x 2) mod 103 = 84.
    const std::string hi = fromWidths(std::string("211214") + "231113" + "142112" + "124112" + "2331112");
    QCOMPARE(pattern(bcCode128B, "Hi"), hi);
}

void TestEncoder::ean128PrefixAndCheckDigit()
{
    // 1234 -> check 8 -> 12348 -> odd, so 012348.
    QCOMPARE(visible(bcCodeEAN128C, "1234", csModulo10), std::string("012348"));
    QCOMPARE(visible(bcCodeEAN128B, "1234", csModulo10), std::string("12348"));
    QCOMPARE(visible(bcCodeEAN128A, "AB"), std::string("AB"));
    // FNC1 follows the start symbol: C, FNC1, 12, check (105 + 102 + 12 x 2) mod 103 = 25.
    const std::string expected = fromWidths(std::string("211232") + "411131" + "112232" + "321122" + "2331112");
    QCOMPARE(pattern(bcCodeEAN128C, "12"), expected);
}

void TestEncoder::msiCheckDigitOfLongTexts()
{
    // 1234567: odd places 1357 x 2 = 2714 -> 14, even places 6 + 4 + 2 = 12; check 4 (0100).
    const std::string p = pattern(bcCodeMSI, "1234567");
    QVERIFY(p.starts_with("60" + std::string("51515160")));
    QVERIFY(endsWith(p, std::string("51605151") + "515"));
    QCOMPARE(p.size(), std::size_t(2 + 8 * 8 + 3));
    // 41 nines: 21 odd-place nines doubled are 1 99..9 8 (sum 189), 20 even-place nines sum to
    // 180; 369 -> check 1. Far beyond any machine integer read as one number.
    const std::string nines(41, '9');
    QVERIFY(endsWith(pattern(bcCodeMSI, nines), std::string("51515160") + "515"));
    QCOMPARE(visible(bcCodeMSI, "1234567"), std::string("1234567"));
}

void TestEncoder::codabarAndPostNet()
{
    const std::string a = "5061515";
    const std::string b = "5151506";
    QCOMPARE(pattern(bcCodeCodabar, ""), a + "0" + b);
    QCOMPARE(pattern(bcCodeCodabar, "1"), a + "0" + "5050615" + "0" + b);
    QCOMPARE(pattern(bcCodeCodabar, "1x2*"), pattern(bcCodeCodabar, "12"));

    // 0 = 11000: two full bars, three short ones, each followed by a wide space.
    QCOMPARE(pattern(bcCodePostNet, "0"), std::string("51") + "5151A1A1A1" + "5");
    QCOMPARE(pattern(bcCodePostNet, "7"), std::string("51") + "51A1A1A151" + "5");
}

QTEST_APPLESS_MAIN(TestEncoder)
#include "tst_encoder.moc"
