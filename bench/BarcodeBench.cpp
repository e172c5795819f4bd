// Encoding and measuring barcodes, as the label window does for every article it prints: a
// million EAN-13 and a million Code 128 texts through Zebrune, and the same through libzint.
#include "bench/Bench.h"

#include "barcode/BarEncoder.h"
#include "barcode/HBarCode.h"

#include <random>
#include <string>
#include <vector>

#if defined(VENDRIX_HAVE_ZINT)
#include <zint.h>
#endif

namespace {

#if defined(VENDRIX_HAVE_ZINT)
constexpr int ZintEan13 = BARCODE_EANX;
constexpr int ZintCode128 = BARCODE_CODE128;
#else
constexpr int ZintEan13 = 0;
constexpr int ZintCode128 = 0;
#endif

using Texts = std::vector<std::string>;

// Twelve-digit article numbers; the check digit is left to the encoder.
Texts eanTexts(qint64 count, std::mt19937 &random)
{
    std::uniform_int_distribution<int> digit(0, 9);
    Texts texts(static_cast<size_t>(count));
    for (std::string &t : texts) {
        t.resize(12);
        for (char &c : t)
            c = static_cast<char>('0' + digit(random));
    }
    return texts;
}

// Article labels of 8 to 16 characters: letters of both cases, a few digits, blanks and dashes.
Texts code128Texts(qint64 count, std::mt19937 &random)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<size_t> length(8, 16);
    Texts texts(static_cast<size_t>(count));
    for (std::string &t : texts) {
        t.resize(length(random));
        for (char &c : t)
            c = alphabet[pick(random)];
    }
    return texts;
}

// Encodes and measures every text; the summed widths keep the work from being optimised away.
double timeZebrune(const Texts &texts, zebrune::TBarType type, zebrune::TCheckSum check, qint64 &widthSum)
{
    return bench::timeSeconds([&] {
        widthSum = 0;
        for (const std::string &t : texts)
            widthSum += zebrune::barWidth(type, t, 1, 2.0, check);
    });
}

double timeQtEntry(const Texts &texts, zebrune::TBarType type, zebrune::TCheckSum check, qint64 &widthSum)
{
    QStringList qtTexts;
    qtTexts.reserve(qsizetype(texts.size()));
    for (const std::string &t : texts)
        qtTexts << QString::fromStdString(t);
    return bench::timeSeconds([&] {
        widthSum = 0;
        for (const QString &t : std::as_const(qtTexts))
            widthSum += zebrune::H_GetBarWidth(type, t, 1, 2.0, check);
    });
}

#if defined(VENDRIX_HAVE_ZINT)
// The peer: one symbol reused, cleared before each text; its width is in modules. libzint picks
// Code 128 sets per text (set C for runs of digits), so its total can be a little smaller.
double timeZint(const Texts &texts, int symbology, qint64 &widthSum, qint64 &failures)
{
    zint_symbol *symbol = ZBarcode_Create();
    const double seconds = bench::timeSeconds([&] {
        widthSum = 0;
        failures = 0;
        for (const std::string &t : texts) {
            ZBarcode_Clear(symbol);
            symbol->symbology = symbology;
            const int result =
                ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char *>(t.data()), int(t.size()));
            failures += result >= ZINT_ERROR ? 1 : 0;
            widthSum += symbol->width;
        }
    });
    ZBarcode_Delete(symbol);
    return seconds;
}
#endif

void runSuite(const QString &name, const Texts &texts, zebrune::TBarType type, zebrune::TCheckSum check,
              [[maybe_unused]] int zintSymbology)
{
    qint64 ours = 0;
    const double zebruneSeconds = timeZebrune(texts, type, check, ours);
    qint64 viaQt = 0;
    const double qtSeconds = timeQtEntry(texts, type, check, viaQt);
    const QString count = QString::number(texts.size());
#if defined(VENDRIX_HAVE_ZINT)
    qint64 theirs = 0;
    qint64 failures = 0;
    const double zintSeconds = timeZint(texts, zintSymbology, theirs, failures);
    bench::report(QStringLiteral("%1 x%2 encode+width").arg(name, count), zebruneSeconds, QStringLiteral("libzint"),
                  zintSeconds);
    bench::report(QStringLiteral("%1 x%2 H_GetBarWidth (QString)").arg(name, count), qtSeconds,
                  QStringLiteral("libzint"), zintSeconds);
    bench::note(QStringLiteral("%1 total width").arg(name),
                QStringLiteral("Zebrune %1 modules, libzint %2 modules, libzint errors %3")
                    .arg(ours)
                    .arg(theirs)
                    .arg(failures));
#else
    bench::report(QStringLiteral("%1 x%2 encode+width").arg(name, count), zebruneSeconds,
                  QStringLiteral("H_GetBarWidth"), qtSeconds);
    bench::note(QStringLiteral("%1 peer").arg(name), QStringLiteral("libzint not found at build time"));
#endif
    if (ours != viaQt)
        bench::note(QStringLiteral("%1 MISMATCH").arg(name),
                    QStringLiteral("engine %1, Qt entry %2").arg(ours).arg(viaQt));
}

static const bench::Registrar reg("barcode", [](bench::Context &c) {
    const qint64 count = c.option(QStringLiteral("barcodes"), 1000000);
    std::mt19937 random(20240611);
    const Texts ean = eanTexts(count, random);
    const Texts labels = code128Texts(count, random);
    runSuite(QStringLiteral("EAN-13"), ean, zebrune::bcCodeEAN13, zebrune::csModulo10, ZintEan13);
    runSuite(QStringLiteral("Code 128"), labels, zebrune::bcCode128B, zebrune::csNone, ZintCode128);
});

} // namespace
