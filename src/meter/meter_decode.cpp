#include "meter/meter_decode.h"

#include "base/number_format.h"
#include "meter/meter_tables.h"

#include <limits>
#include <utility>

namespace {

using Raw = std::array<uint8_t, 60>;

uint16_t unsigned16(const Raw &raw, int at) {
    return static_cast<uint16_t>(raw[at] | (raw[at + 1] << 8));
}

int32_t signed24(const Raw &raw, int at) {
    const int32_t v = raw[at] | (raw[at + 1] << 8) | (raw[at + 2] << 16);
    return (v & 0x800000) ? v - 0x1000000 : v;
}

struct ValueTexts {
    QString value;
    QString unit;
    QString base;
};

ValueTexts decodeValue(const Raw &raw, int mantissaAt, uint8_t exponentCode, uint8_t parameterCode,
                       bool secondary, QChar sep) {
    ValueTexts out;
    metertables::Exponent exp;
    if (!metertables::exponent(exponentCode, &exp))
        return out;

    const int intDigits = secondary ? exp.secondaryDigits : exp.mainDigits;
    const int fracDigits = 5 - intDigits;
    if (secondary && (parameterCode == metertables::kDissipationCode ||
                      parameterCode == metertables::kQualityCode)) {
        exp.prefix = QStringLiteral(" ");
        exp.power = 0;
    }

    const int32_t mantissa = signed24(raw, mantissaAt);
    out.value = numfmt::fixedDecimal(mantissa, fracDigits, intDigits, sep);
    const QString unit = metertables::unit(parameterCode);
    if (!unit.isEmpty())
        out.unit = exp.prefix + unit;

    // The base value carries exactly the digits the operator sees on the
    // meter, moved by the prefix; staying in decimal keeps binary rounding
    // out of them.
    out.base = numfmt::generalDecimal(mantissa, exp.power - fracDigits, sep);
    return out;
}

} // namespace

TIMPacket DecodeMeterPacket(const Raw &raw, QChar decimalSeparator) {
    const QChar sep = decimalSeparator;
    TIMPacket p;

    p.OffsetText = numfmt::fixedDecimal(unsigned16(raw, 1), 2, 2, sep) + QLatin1Char('V');
    p.LevelText = numfmt::fixedDecimal(raw[3], 2, 1, sep) + QLatin1Char('V');

    const uint16_t freqMantissa = unsigned16(raw, 4);
    metertables::FrequencyUnit freqUnit;
    const bool freqKnown = metertables::frequencyUnit(raw[6], &freqUnit);
    p.FreqText =
        numfmt::generalDecimal(freqMantissa, 0, sep) + (freqKnown ? freqUnit.unit : QString());
    const int64_t hz = int64_t(freqMantissa) * (freqKnown ? freqUnit.factor : 1);
    p.FreqHz = hz <= std::numeric_limits<int32_t>::max() ? int32_t(hz) : 0;

    const uint8_t mainCode = raw[10];
    const uint8_t secondaryCode = raw[11];
    const bool autoRange = raw[7] & 0x02;
    p.LimitText =
        QLatin1String(autoRange ? "A " : "   ") + metertables::rangeName(raw[9], mainCode);

    p.MainName = metertables::mainName(mainCode);
    ValueTexts main = decodeValue(raw, 16, raw[19], mainCode, false, sep);
    p.MainValue = std::move(main.value);
    p.MainUnit = std::move(main.unit);
    p.MainBase = std::move(main.base);

    p.SecName = metertables::secondaryName(secondaryCode);
    ValueTexts sec = decodeValue(raw, 12, raw[15], secondaryCode, true, sep);
    p.SecValue = std::move(sec.value);
    p.SecUnit = std::move(sec.unit);
    p.SecBase = std::move(sec.base);
    return p;
}
