#include "thermo/temp_parse.h"

#include "base/cp1251.h"
#include "base/event_log.h"
#include "base/number_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QChar kQuote(QLatin1Char('"'));
const QChar kComma(QLatin1Char(','));
const QChar kStar(QLatin1Char('*'));
constexpr int kFieldCount = 9;

QString hexByte(uint8_t value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// XOR of the bytes after the leading "$" up to the first "*". The device
// sums bytes, so the text goes back to code page 1251 first.
uint8_t lineChecksum(const QString &text) {
    const QByteArray bytes = cp1251::encode(text);
    const int star = bytes.indexOf('*');
    uint8_t sum = 0;
    for (int i = 1; i < star; ++i)
        sum ^= static_cast<uint8_t>(bytes.at(i));
    return sum;
}

} // namespace

QStringList splitTempFields(const QString &text) {
    QStringList fields;
    if (text.isEmpty())
        return fields;
    int i = 0;
    const int n = text.size();
    while (true) {
        QString field;
        if (i < n && text.at(i) == kQuote) {
            ++i;
            while (i < n) {
                if (text.at(i) == kQuote) {
                    if (i + 1 < n && text.at(i + 1) == kQuote) {
                        field += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text.at(i++);
            }
        }
        // Characters between a closing quote and the next comma stay in the field.
        while (i < n && text.at(i) != kComma)
            field += text.at(i++);
        fields.append(field);
        if (i >= n)
            break;
        ++i; // the comma; a comma at the very end still opens one more (empty) field
    }
    return fields;
}

TTempPacket ParseTempEvent(const TEventRec &E, QChar decimalSeparator) {
    TTempPacket P;
    P.TempValue = std::numeric_limits<double>::quiet_NaN();
    const QString text = RawToText(E);
    const QStringList fields = splitTempFields(text);

    bool numeric = false;
    if (fields.size() >= kFieldCount) {
        P.HeaderOk = fields.at(0) == QLatin1String("$DS1820");
        P.StatusOk = fields.at(2) == QLatin1String("OK");

        const QString &last = fields.at(8);
        const int star = last.indexOf(kStar);
        P.LastField = star >= 0 ? last.left(star) : last;
        P.ChecksumText = star >= 0 ? last.mid(star + 1, 2) : last.left(2);

        P.TempText = fields.at(4);
        QString number = P.TempText;
        number.replace(QLatin1Char('.'), decimalSeparator);
        double value = 0;
        numeric = numfmt::parseFloat(number, decimalSeparator, &value);
        if (numeric)
            P.TempValue = value;

        P.ChecksumCalc = lineChecksum(text);
        P.ChecksumCalcText = hexByte(P.ChecksumCalc);
        P.ChecksumOk = P.ChecksumCalcText == P.ChecksumText;
    }

    P.Valid = P.ChecksumOk && P.HeaderOk && P.StatusOk && numeric;
    if (!P.Valid) {
        P.TempText = QStringLiteral("::");
        P.TempValue = std::numeric_limits<double>::quiet_NaN();
    }
    return P;
}

TEventRec TempRecordFromLine(const QByteArray &line, const QDateTime &time) {
    TEventRec E;
    E.Kind = kTempRecord;
    E.Time = time;
    std::copy_n(reinterpret_cast<const uint8_t *>(line.constData()),
                std::min<qsizetype>(line.size(), qsizetype(E.RawData.size())), E.RawData.begin());
    return E;
}
