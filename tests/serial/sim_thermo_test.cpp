// The simulated thermometer's lines and temperature programme.
#include "temp_programme.h"
#include "thermo_line.h"

#include <gtest/gtest.h>

namespace {

// The checksum worked out independently: XOR of everything between "$" and "*".
QByteArray xorBetween(const QByteArray &line) {
    const int star = line.indexOf('*');
    unsigned char x = 0;
    for (int i = 1; i < star; ++i)
        x ^= static_cast<unsigned char>(line[i]);
    return QByteArray::number(x, 16).rightJustified(2, '0').toUpper();
}

QByteArray checksumDigits(const QByteArray &line) {
    return line.mid(line.indexOf('*') + 1, 2);
}

ThermoLineFields exampleFields() {
    ThermoLineFields f;
    f.sensorId = "1";
    f.counter = "2";
    f.tail = {"5", "6", "7", "8"};
    return f;
}

} // namespace

TEST(SimThermometerLine, MatchesTheKnownGoodLine) {
    EXPECT_EQ(MakeThermometerLine(23.5, exampleFields()), "$DS1820,1,OK,2,23.50,5,6,7,8*3D\r");
    ThermoLineFields crlf = exampleFields();
    crlf.crlf = true;
    EXPECT_EQ(MakeThermometerLine(23.5, crlf), "$DS1820,1,OK,2,23.50,5,6,7,8*3D\r\n");
}

TEST(SimThermometerLine, WritesTemperaturesWithTwoDecimalsAndAPoint) {
    struct Case {
        double t;
        const char *field;
    };
    for (const Case c : {Case{-50.56, "-50.56"},
                         {0.004, "0.00"},
                         {-0.004, "0.00"},
                         {125.0, "125.00"},
                         {19.996, "20.00"}}) {
        const QByteArray line = MakeThermometerLine(c.t);
        EXPECT_EQ(line.split(',').value(4), c.field) << c.t;
        EXPECT_EQ(checksumDigits(line), xorBetween(line)) << line.constData();
    }
}

TEST(SimThermometerLine, FaultyLinesFailExactlyTheirOneCheck) {
    const ThermoLineFields fields = exampleFields();

    const QByteArray bad = MakeThermometerLine(23.5, fields, ThermoLineFault::BadChecksum);
    EXPECT_TRUE(bad.startsWith("$DS1820,1,OK,2,23.50,5,6,7,8*"));
    EXPECT_NE(checksumDigits(bad), xorBetween(bad));

    // Lower case must differ from the right digits, so they need a hex letter; the
    // example's 3D has one, a line whose checksum is all digits gets its last field
    // changed until it has.
    for (double t : {23.5, 21.0, 22.0, 24.25, -3.5}) {
        const QByteArray lower = MakeThermometerLine(t, fields, ThermoLineFault::LowerCaseChecksum);
        const QByteArray digits = checksumDigits(lower);
        EXPECT_EQ(digits.toUpper(), xorBetween(lower)) << lower.constData();
        EXPECT_NE(digits, xorBetween(lower)) << lower.constData();
    }

    const QByteArray nan = MakeThermometerLine(23.5, fields, ThermoLineFault::NonNumeric);
    EXPECT_EQ(nan.split(',').value(4), "--.--");
    EXPECT_EQ(checksumDigits(nan), xorBetween(nan));
}

TEST(SimTemperatureProgramme, HoldsRampsAndGoesBack) {
    const qint64 minute = 60000;
    EXPECT_DOUBLE_EQ(TemperatureProgramme::hold(-12.5).at(90 * minute), -12.5);

    const auto up = TemperatureProgramme::ramp(20, 80, 2);
    EXPECT_DOUBLE_EQ(up.at(0), 20);
    EXPECT_DOUBLE_EQ(up.at(15 * minute), 50);
    EXPECT_DOUBLE_EQ(up.at(30 * minute), 80);
    EXPECT_DOUBLE_EQ(up.at(45 * minute), 80); // held at the end

    const auto down = TemperatureProgramme::ramp(80, 20, 2);
    EXPECT_DOUBLE_EQ(down.at(15 * minute), 50);
    EXPECT_DOUBLE_EQ(down.at(40 * minute), 20);

    const auto back = TemperatureProgramme::ramp(20, 80, 2, true);
    EXPECT_DOUBLE_EQ(back.at(45 * minute), 50); // on the way down
    EXPECT_DOUBLE_EQ(back.at(60 * minute), 20);
    EXPECT_DOUBLE_EQ(back.at(75 * minute), 50); // up again
}

TEST(SimTemperatureProgramme, ParsesRampTextsAndRejectsBadOnes) {
    const auto ok = TemperatureProgramme::parseRamp(" -40:125.5:1.5", false);
    ASSERT_TRUE(ok);
    EXPECT_DOUBLE_EQ(ok->at(60000), -38.5);

    for (const char *bad : {"20:80", "20:80:0", "20:80:-2", "a:80:2", "20:80:2:1", ""}) {
        QString error;
        EXPECT_FALSE(TemperatureProgramme::parseRamp(bad, false, &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}
