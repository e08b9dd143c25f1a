#include "meter/meter_tables.h"

#include <iterator>

namespace metertables {
namespace {

struct Parameter {
    const char *mainName;
    const char *secondaryName;
    const char *unit; // UTF-8
};

const Parameter kParameters[] = {
    {"Cp", "Cp", "F"}, {"Lp", "Lp", "H"},  {"Rp", "Rp", "Om"}, {"Gp", "Gp", "S"},
    {"Bp", "Bp", "S"}, {"Y", "Y", "S"},    {"Q", "Q", " "},    {"Cs", "Cs", "F"},
    {"Ls", "Ls", "H"}, {"Rs", "Rs", "Om"}, {"T", "Phi", "°"},  {"Xs", "Xs", "Om"},
    {"Z", "Z", "Om"},  {"D", "D", " "},    {"I", "I", "A"},
};

struct ExponentRow {
    uint8_t code;
    const char *prefix;
    int mainDigits;
    int secondaryDigits;
};

// The meter sends codes 0..14 for large prefixes and 235..255 (negative
// exponents as a signed byte) for small ones; there is no row for 15..234.
const ExponentRow kExponents[] = {
    {0, "k", 2, 1},   {1, "k", 3, 2},   {2, "k", 4, 3},    {3, "M", 2, 4},    {4, "M", 3, 3},
    {5, "M", 4, 4},   {6, "G", 2, 2},   {7, "G", 3, 3},    {8, "G", 4, 4},    {9, "T", 2, 2},
    {10, "T", 3, 3},  {11, "T", 4, 4},  {12, "T", 2, 2},   {13, "T", 3, 3},   {14, "T", 4, 4},
    {235, "f", 2, 2}, {236, "f", 3, 3}, {237, "f", 4, 4},  {238, "f", 2, 2},  {239, "f", 3, 3},
    {240, "f", 4, 4}, {241, "p", 2, 2}, {242, "p", 3, 3},  {243, "p", 4, 4},  {244, "n", 2, 2},
    {245, "n", 3, 3}, {246, "n", 4, 4}, {247, "mk", 2, 2}, {248, "mk", 3, 1}, {249, "mk", 4, 2},
    {250, "m", 2, 3}, {251, "m", 3, 4}, {252, "m", 4, 1},  {253, " ", 2, 2},  {254, " ", 3, 3},
    {255, " ", 4, 4},
};

struct PrefixPower {
    const char *prefix;
    int power;
};

const PrefixPower kPowers[] = {
    {"k", 3},   {"M", 6},  {"G", 9},   {"T", 12},  {"m", -3},
    {"mk", -6}, {"n", -9}, {"p", -12}, {"f", -15},
};

int prefixPower(const char *prefix) {
    const QLatin1String p(prefix);
    for (const PrefixPower &row : kPowers) {
        if (p == QLatin1String(row.prefix))
            return row.power;
    }
    return 0;
}

const char *const kCurrentRanges[] = {"Error", "1mkA",  "10mkA", "100mkA", "1mA",
                                      "10mA",  "100mA", "1A",    "10A"};
const char *const kImpedanceRanges[] = {"Error", "10MOm", "1MOm", "100kOm", "10kOm",
                                        "1kOm",  "100Om", "10Om", "1Om"};

const Parameter *parameter(uint8_t code) {
    return code < std::size(kParameters) ? &kParameters[code] : nullptr;
}

} // namespace

QString mainName(uint8_t code) {
    const Parameter *p = parameter(code);
    return p ? QString::fromLatin1(p->mainName) : QString();
}

QString secondaryName(uint8_t code) {
    const Parameter *p = parameter(code);
    return p ? QString::fromLatin1(p->secondaryName) : QString();
}

QString unit(uint8_t code) {
    const Parameter *p = parameter(code);
    return p ? QString::fromUtf8(p->unit) : QString();
}

bool exponent(uint8_t code, Exponent *out) {
    for (const ExponentRow &row : kExponents) {
        if (row.code == code) {
            out->prefix = QString::fromLatin1(row.prefix);
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
    return QString::fromLatin1(mainCode == kCurrentCode ? kCurrentRanges[rangeCode]
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
