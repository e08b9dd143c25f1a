#include "thermo_line.h"

#include <cmath>

namespace {

QByteArray temperatureText(double t) {
    QByteArray text = QByteArray::number(t, 'f', 2);
    // A reading that rounds to zero from below is still "0.00", as a sensor prints it.
    if (text == "-0.00")
        text = "0.00";
    return text;
}

QByteArray body(const QByteArray &temperature, const ThermoLineFields &f) {
    QByteArrayList fields = {"DS1820", f.sensorId, "OK", f.counter, temperature};
    fields += f.tail;
    return fields.join(',');
}

bool hasHexLetter(const QByteArray &digits) {
    for (char c : digits)
        if (c >= 'A' && c <= 'F')
            return true;
    return false;
}

} // namespace

QByteArray ThermometerChecksum(const QByteArray &body) {
    unsigned char x = 0;
    for (char c : body)
        x ^= static_cast<unsigned char>(c);
    return QByteArray::number(x, 16).rightJustified(2, '0').toUpper();
}

QByteArray MakeThermometerLine(double temperatureC, const ThermoLineFields &fields,
                               ThermoLineFault fault) {
    ThermoLineFields f = fields;
    const QByteArray temperature =
        fault == ThermoLineFault::NonNumeric ? QByteArray("--.--") : temperatureText(temperatureC);
    QByteArray text = body(temperature, f);
    QByteArray sum = ThermometerChecksum(text);

    switch (fault) {
    case ThermoLineFault::BadChecksum:
        sum = ThermometerChecksum(text + 'X');
        break;
    case ThermoLineFault::LowerCaseChecksum:
        // Lower case only shows when the digits hold a letter. Changing the last field
        // to a number below 100 reaches every low nibble, so one of them gives a letter.
        for (int k = 0; k < 100 && !hasHexLetter(sum) && !f.tail.isEmpty(); ++k) {
            f.tail.last() = QByteArray::number(k);
            text = body(temperature, f);
            sum = ThermometerChecksum(text);
        }
        sum = sum.toLower();
        break;
    case ThermoLineFault::None:
    case ThermoLineFault::NonNumeric:
        break;
    }
    return '$' + text + '*' + sum + (f.crlf ? "\r\n" : "\r");
}
