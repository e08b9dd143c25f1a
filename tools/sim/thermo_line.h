#pragma once

#include <QByteArray>
#include <QByteArrayList>

// What a thermometer line may get wrong on purpose.
enum class ThermoLineFault {
    None,
    BadChecksum,       // the checksum digits of another line
    LowerCaseChecksum, // right value, lower-case hex digits
    NonNumeric,        // "--.--" where the temperature belongs; checksum right
};

// The fields of a line that carry no temperature. Field 1 is the sensor id, field 3
// a running number, fields 5 to 8 follow the temperature.
struct ThermoLineFields {
    QByteArray sensorId = "1";
    QByteArray counter = "0";
    QByteArrayList tail = {"0", "0", "0", "0"};
    bool crlf = false; // end with CR LF instead of CR alone
};

// Exclusive-or of the characters of body, as two upper-case hex digits.
QByteArray ThermometerChecksum(const QByteArray &body);

// One line "$DS1820,<id>,OK,<n>,<t>,<f5>,<f6>,<f7>,<f8>*HH" and its line end, with
// the temperature written with two decimals and a point. The checksum covers the
// characters between "$" and "*".
QByteArray MakeThermometerLine(double temperatureC, const ThermoLineFields &fields = {},
                               ThermoLineFault fault = ThermoLineFault::None);
