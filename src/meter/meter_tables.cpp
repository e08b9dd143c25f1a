#include "meter/meter_tables.h"

#include <iterator>
#include <string>

namespace metertables {
namespace {

// Every text of the tables refers to its literal instead of a copy: a frame
// is decoded several times a second and each copy would cost an allocation.
QString literal(const char16_t *text) {
    return QString::fromRawData(reinterpret_cast<const QChar *>(text),
                                qsizetype(std::char_traits<char16_t>::length(text)));
}

struct Parameter {
    const char16_t *mainName;
    const char16_t *secondaryName;
    const char16_t *unit;
};

const Parameter kParameters[] = {
    {u"Cp", u"Cp", u"F"}, {u"Lp", u"Lp", u"H"},  {u"Rp", u"Rp", u"Om"}, {u"Gp", u"Gp", u"S"},
    {u"Bp", u"Bp", u"S"}, {u"Y", u"Y", u"S"},    {u"Q", u"Q", u" "},    {u"Cs", u"Cs", u"F"},
    {u"Ls", u"Ls", u"H"}, {u"Rs", u"Rs", u"Om"}, {u"T", u"Phi", u"°"},  {u"Xs", u"Xs", u"Om"},
    {u"Z", u"Z", u"Om"},  {u"D", u"D", u" "},    {u"I", u"I", u"A"},
};

struct ExponentRow {
    uint8_t code;
    const char16_t *prefix;
    int mainDigits;
    int secondaryDigits;
};

// The meter sends codes 0..14 for large prefixes and 235..255 (negative
// exponents as a signed byte) for small ones; there is no row for 15..234.
const ExponentRow kExponents[] = {
    {0, u"k", 2, 1},    {1, u"k", 3, 2},    {2, u"k", 4, 3},   {3, u"M", 2, 4},
    {4, u"M", 3, 3},    {5, u"M", 4, 4},    {6, u"G", 2, 2},   {7, u"G", 3, 3},
    {8, u"G", 4, 4},    {9, u"T", 2, 2},    {10, u"T", 3, 3},  {11, u"T", 4, 4},
    {12, u"T", 2, 2},   {13, u"T", 3, 3},   {14, u"T", 4, 4},  {235, u"f", 2, 2},
    {236, u"f", 3, 3},  {237, u"f", 4, 4},  {238, u"f", 2, 2}, {239, u"f", 3, 3},
    {240, u"f", 4, 4},  {241, u"p", 2, 2},  {242, u"p", 3, 3}, {243, u"p", 4, 4},
    {244, u"n", 2, 2},  {245, u"n", 3, 3},  {246, u"n", 4, 4}, {247, u"mk", 2, 2},
    {248, u"mk", 3, 1}, {249, u"mk", 4, 2}, {250, u"m", 2, 3}, {251, u"m", 3, 4},
    {252, u"m", 4, 1},  {253, u" ", 2, 2},  {254, u" ", 3, 3}, {255, u" ", 4, 4},
};

struct PrefixPower {
    const char16_t *prefix;
    int power;
};

const PrefixPower kPowers[] = {
    {u"k", 3},   {u"M", 6},  {u"G", 9},   {u"T", 12},  {u"m", -3},
    {u"mk", -6}, {u"n", -9}, {u"p", -12}, {u"f", -15},
};

int prefixPower(const char16_t *prefix) {
    const QStringView p(prefix);
    for (const PrefixPower &row : kPowers) {
        if (p == QStringView(row.prefix))
            return row.power;
    }
    return 0;
}

const char16_t *const kCurrentRanges[] = {u"Error", u"1mkA",  u"10mkA", u"100mkA", u"1mA",
                                          u"10mA",  u"100mA", u"1A",    u"10A"};
const char16_t *const kImpedanceRanges[] = {u"Error", u"10MOm", u"1MOm", u"100kOm", u"10kOm",
                                            u"1kOm",  u"100Om", u"10Om", u"1Om"};

const Parameter *parameter(uint8_t code) {
    return code < std::size(kParameters) ? &kParameters[code] : nullptr;
}

} // namespace

QString mainName(uint8_t code) {
    const Parameter *p = parameter(code);
    return p ? literal(p->mainName) : QString();
}

QString secondaryName(uint8_t code) {
    const Parameter *p = parameter(code);
    return p ? literal(p->secondaryName) : QString();
}

QString unit(uint8_t code) {
    const Parameter *p = parameter(code);
    return p ? literal(p->unit) : QString();
}

bool exponent(uint8_t code, Exponent *out) {
    for (const ExponentRow &row : kExponents) {
        if (row.code == code) {
            out->prefix = literal(row.prefix);
            out->power = prefixPower(row.prefix);
            out->mainDigits = row.mainDigits;
            out->secondaryDigits = row.secondaryDigits;
            return true;
        }
    }
    return false;
}

QString rangeName(uint8_t rangeCode, uint8_t mainCode) {
    if (rangeCode >= std::size(kCurrentRanges))
        return QString();
    return literal(mainCode == kCurrentCode ? kCurrentRanges[rangeCode]
                                            : kImpedanceRanges[rangeCode]);
}

bool frequencyUnit(uint8_t code, FrequencyUnit *out) {
    switch (code) {
    case 0:
        *out = {QStringLiteral("Hz"), 1};
        return true;
    case 3:
        *out = {QStringLiteral("kHz"), 1000};
        return true;
    case 6:
        *out = {QStringLiteral("MHz"), 1000000};
        return true;
    default:
        return false;
    }
}

} // namespace metertables
