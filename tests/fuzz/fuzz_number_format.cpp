// The number formats: whatever a format prints reads back, and what the reader
// accepts is exactly a number in the written form it promises.
//
// Input: a byte choosing the decimal separator, a width and a precision, eight
// bytes of a double (any bit pattern), then a text for the reader.
// Properties, for every finite double: the general format reads back to a
// number that prints the same and lies within its 15 significant digits; the
// four-digit format likewise within 4 digits (below the top of the range, whose
// four digits round past the largest double); the fixed format reads back
// within half of its last digit. For the text: the reader accepts it only in
// the promised form (blanks, sign, digits with at most one separator, an
// exponent), never gives a number that is not finite, and accepts every such
// text whose value is a plain finite number.
#include "fuzz_check.h"

#include "base/number_format.h"

#include <QRegularExpression>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void checkReadsBack(const QString &text, double value, double tolerance, QChar sep,
                    QString (*print)(double, QChar), const char *format) {
    double back = 0;
    const QString detail = QString::fromLatin1(format) + QLatin1String(": ") + text;
    fuzzCheck(numfmt::parseFloat(text, sep, &back), "what a format prints reads back", detail);
    fuzzCheck(print(back, sep) == text, "what reads back prints the same", detail);
    fuzzCheck(std::fabs(back - value) <= tolerance * std::fabs(value),
              "what reads back is the number printed, rounded", detail);
}

// The written form the reader promises to take, for this separator.
bool promisedForm(const QString &text, QChar sep) {
    const QString s = QRegularExpression::escape(QString(sep));
    const QRegularExpression form(QRegularExpression::anchoredPattern(
        QStringLiteral("[+-]?([0-9]+(%1[0-9]*)?|%1[0-9]+)([eE][+-]?[0-9]+)?").arg(s)));
    return form.match(text.trimmed()).hasMatch();
}

void checkReader(const QString &text, QChar sep) {
    double value = 0;
    const bool accepted = numfmt::parseFloat(text, sep, &value);
    const bool promised = promisedForm(text, sep);
    fuzzCheck(!accepted || promised, "the reader accepts only the promised form", text);
    fuzzCheck(!accepted || std::isfinite(value), "the reader gives only finite numbers", text);
    if (!promised || accepted)
        return;
    // A promised form may still be refused when its value is no plain double:
    // past the largest one, or too small to keep its digits.
    QByteArray plain = text.trimmed().toLatin1();
    plain.replace(sep.toLatin1(), '.');
    errno = 0;
    const double expected = std::strtod(plain.constData(), nullptr);
    fuzzCheck(errno == ERANGE || !std::isfinite(expected),
              "the reader takes every plain finite number in the promised form", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 10)
        return 0;
    const QChar sep = (data[0] & 1) ? QLatin1Char(',') : QLatin1Char('.');
    const int width = (data[0] >> 1) & 0x0F;
    const int precision = data[1] % 8;
    double value = 0;
    std::memcpy(&value, data + 2, sizeof value);

    if (std::isfinite(value)) {
        checkReadsBack(numfmt::general(value, sep), value, 6e-15, sep, numfmt::general, "general");
        // Four digits of a number at the very top of the range round past the
        // largest double, as printf's %.4g does; nothing reads those back.
        if (std::fabs(value) < 1.7975e308)
            checkReadsBack(numfmt::fourDigits(value, sep), value, 5.01e-4, sep, numfmt::fourDigits,
                           "fourDigits");
        const QString fixed = numfmt::fixed(value, width, precision, sep);
        double back = 0;
        fuzzCheck(fixed.size() >= width, "the fixed format fills its width", fixed);
        fuzzCheck(numfmt::parseFloat(fixed, sep, &back), "the fixed format reads back", fixed);
        fuzzCheck(std::fabs(back - value) <=
                      0.5 * std::pow(10.0, -precision) + 1e-15 * std::fabs(value),
                  "the fixed format reads back within its last digit", fixed);
    }

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 10), qsizetype(size - 10));
    checkReader(text, sep);
    return 0;
}
