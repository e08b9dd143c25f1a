// What the fuzz targets share: a broken property ends the run like a crash,
// so libFuzzer keeps the input that broke it.
#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

inline void fuzzCheck(bool holds, const char *property, const QString &detail = QString()) {
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n%s\n", property, qUtf8Printable(detail));
    std::abort();
}
