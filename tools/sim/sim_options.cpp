#include "sim_options.h"

#include "freq_keys.h"

#include <QCommandLineParser>
#include <QDir>

#include <climits>
#include <cmath>

namespace {

const char *const kDescription =
    "Simulated Tamrel immittance meter and DS1820 thermometer on pseudo-terminals.\n"
    "Each instrument gets a pseudo-terminal and a link COM<n> to it in the ports folder;\n"
    "the program opens those links as its serial ports. The meter sends a 22-byte display\n"
    "frame every --frame-ms and obeys the key codes it receives (F3, then > < ^ v move the\n"
    "frequency; C L R Z I choose the parameter). The thermometer sends a \"$DS1820,...*HH\"\n"
    "line every --line-ms. The links are removed on exit (Ctrl+C or SIGTERM).\n"
    "\n"
    "With --dielectric the meter measures a sample with one thermally activated (Debye)\n"
    "relaxation and a small dc conductivity instead of its 100 nF capacitor:\n"
    "  tau(T) = tau0 * exp(Ea / (k_B * T)),  T in kelvin\n"
    "  eps*   = eps_inf + delta_eps / (1 + j*2*pi*f*tau) - j*sigma_dc / (eps0*2*pi*f)\n"
    "  Cp = C0 * eps',  D = eps'' / eps'  at the meter's frequency and the thermometer's T.\n"
    "The loss eps'' at frequency f peaks at T = Ea / (k_B * ln(1 / (2*pi*f*tau0))), about\n"
    "27, 39, 53 and 67 degrees C at 100 Hz, 1, 10 and 100 kHz with the defaults; enter\n"
    "C0 (--empty-cell) as the sample's empty-cell capacitance in the program.\n"
    "\n"
    "Commands on standard input, and faults for --fault (DEVICE:FAULT:EVERY_MS[:ARG],\n"
    "e.g. meter:silent:60000:5000 or thermo:badsum:7000):\n";

struct Parsed {
    QCommandLineParser parser;
    QCommandLineOption help{QStringList{"h", "help"}, "Show this help."};
    QCommandLineOption portsDir{"ports-dir", "Folder for the COM<n> links.", "dir"};
    QCommandLineOption meterPort{"meter-port", "Meter link number (default 3).", "n", "3"};
    QCommandLineOption thermoPort{"thermo-port", "Thermometer link number (default 4).", "n", "4"};
    QCommandLineOption noMeter{"no-meter", "Simulate no meter."};
    QCommandLineOption noThermo{"no-thermo", "Simulate no thermometer."};
    QCommandLineOption frameMs{"frame-ms", "Meter frame period in ms (default 400).", "ms", "400"};
    QCommandLineOption freq{"freq", "Meter start frequency in Hz (default 1000).", "hz", "1000"};
    QCommandLineOption lineMs{"line-ms", "Thermometer line period in ms (default 1000).", "ms",
                              "1000"};
    QCommandLineOption hold{"hold", "Hold the temperature at T degrees (default 20).", "T"};
    QCommandLineOption ramp{"ramp", "Ramp from A to B degrees at R degrees per minute.", "A:B:R"};
    QCommandLineOption rampBack{"ramp-back", "After the ramp, go back to A, and so on."};
    QCommandLineOption noise{"noise", "Gaussian noise of the reading, sigma in degrees.", "sigma",
                             "0"};
    QCommandLineOption crlf{"crlf", "End thermometer lines with CR LF instead of CR."};
    QCommandLineOption sensorId{"sensor-id", "Field 1 of the thermometer lines (default 1).", "id",
                                "1"};
    QCommandLineOption seed{"seed", "Seed for noise (default 1).", "n", "1"};
    QCommandLineOption fault{"fault", "Repeat a fault on a schedule (may be given often).", "spec"};
    QCommandLineOption dielectric{"dielectric", "Measure the relaxing dielectric sample."};
    QCommandLineOption epsInf{"eps-inf", "Its high-frequency permittivity (default 3).", "eps",
                              "3"};
    QCommandLineOption deltaEps{"delta-eps", "Its relaxation strength (default 10).", "eps", "10"};
    QCommandLineOption tau0{"tau0", "Relaxation time at infinite T, s (default 1e-28).", "s",
                            "1e-28"};
    QCommandLineOption activation{"activation", "Activation energy in eV (default 1.5).", "eV",
                                  "1.5"};
    QCommandLineOption sigmaDc{"sigma-dc", "Dc conductivity in S/m (default 1e-10).", "S/m",
                               "1e-10"};
    QCommandLineOption emptyCell{"empty-cell", "Empty-cell capacitance C0 in pF (default 10).",
                                 "pF", "10"};

    Parsed() {
        parser.setApplicationDescription(QString::fromLatin1(kDescription) + SimActionsHelp());
        parser.addOptions({help,    portsDir, meterPort, thermoPort, noMeter, noThermo,
                           frameMs, freq,     lineMs,    hold,       ramp,    rampBack,
                           noise,   crlf,     sensorId,  seed,       fault,   dielectric,
                           epsInf,  deltaEps, tau0,      activation, sigmaDc, emptyCell});
    }
};

// An integer option within [min, max]; the error names the option.
bool intOption(const Parsed &p, const QCommandLineOption &o, int min, int max, int *out,
               QString *error) {
    bool ok = false;
    const int value = p.parser.value(o).toInt(&ok);
    if (!ok || value < min || value > max) {
        *error = QStringLiteral("--%1 wants a whole number from %2 to %3, got \"%4\"")
                     .arg(o.names().first())
                     .arg(min)
                     .arg(max)
                     .arg(p.parser.value(o));
        return false;
    }
    *out = value;
    return true;
}

bool doubleOption(const Parsed &p, const QCommandLineOption &o, double *out, QString *error) {
    bool ok = false;
    *out = p.parser.value(o).toDouble(&ok);
    if (!ok)
        *error = QStringLiteral("--%1 wants a number, got \"%2\"")
                     .arg(o.names().first(), p.parser.value(o));
    return ok;
}

bool readProgramme(const Parsed &p, SimThermometerOptions *t, QString *error) {
    if (p.parser.isSet(p.hold) && p.parser.isSet(p.ramp)) {
        *error = QStringLiteral("--hold and --ramp exclude each other");
        return false;
    }
    if (p.parser.isSet(p.rampBack) && !p.parser.isSet(p.ramp)) {
        *error = QStringLiteral("--ramp-back needs --ramp");
        return false;
    }
    if (p.parser.isSet(p.ramp)) {
        const auto programme = TemperatureProgramme::parseRamp(p.parser.value(p.ramp),
                                                               p.parser.isSet(p.rampBack), error);
        if (programme)
            t->programme = *programme;
        return programme.has_value();
    }
    if (p.parser.isSet(p.hold)) {
        double held = 0;
        if (!doubleOption(p, p.hold, &held, error))
            return false;
        t->programme = TemperatureProgramme::hold(held);
    }
    return true;
}

// The sample's parameters: each a finite number, above zero or at least zero.
bool readDielectric(const Parsed &p, std::optional<RelaxingDielectric> *out, QString *error) {
    RelaxingDielectric d;
    const struct {
        const QCommandLineOption &option;
        double *value;
        bool zeroAllowed;
    } parameters[] = {
        {p.epsInf, &d.epsInfinity, false},  {p.deltaEps, &d.deltaEps, true},
        {p.tau0, &d.tau0Seconds, false},    {p.activation, &d.activationEv, true},
        {p.sigmaDc, &d.sigmaDcSPerM, true}, {p.emptyCell, &d.emptyCellPf, false},
    };
    for (const auto &parameter : parameters) {
        if (!p.parser.isSet(parameter.option))
            continue;
        const QString name = parameter.option.names().first();
        if (!p.parser.isSet(p.dielectric)) {
            *error = QStringLiteral("--%1 needs --dielectric").arg(name);
            return false;
        }
        if (!doubleOption(p, parameter.option, parameter.value, error))
            return false;
        if (!std::isfinite(*parameter.value) || *parameter.value < 0 ||
            (*parameter.value == 0 && !parameter.zeroAllowed)) {
            *error = QStringLiteral("--%1 wants a finite number %2 0")
                         .arg(name, parameter.zeroAllowed ? "of at least" : "above");
            return false;
        }
    }
    if (p.parser.isSet(p.dielectric))
        *out = d;
    return true;
}

} // namespace

SimArgumentsOutcome ParseSimArguments(const QStringList &arguments, const QString &defaultPortsDir,
                                      SimProgramOptions *options, QString *message) {
    Parsed p;
    if (!p.parser.parse(arguments)) {
        *message = p.parser.errorText();
        return SimArgumentsOutcome::Error;
    }
    if (p.parser.isSet(p.help)) {
        *message = p.parser.helpText();
        return SimArgumentsOutcome::Help;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        *message =
            QStringLiteral("unexpected argument \"%1\"").arg(p.parser.positionalArguments()[0]);
        return SimArgumentsOutcome::Error;
    }

    SimProgramOptions o;
    o.portsDir = p.parser.isSet(p.portsDir) ? p.parser.value(p.portsDir) : defaultPortsDir;
    o.withMeter = !p.parser.isSet(p.noMeter);
    o.withThermometer = !p.parser.isSet(p.noThermo);
    int seed = 1;
    const bool ok =
        intOption(p, p.meterPort, 1, 255, &o.meterPort, message) &&
        intOption(p, p.thermoPort, 1, 255, &o.thermoPort, message) &&
        intOption(p, p.frameMs, 10, 60000, &o.meter.frameMs, message) &&
        intOption(p, p.freq, kMinFrequencyHz, kMaxFrequencyHz, &o.meter.frequencyHz, message) &&
        intOption(p, p.lineMs, 10, 60000, &o.thermometer.lineMs, message) &&
        intOption(p, p.seed, 0, INT_MAX, &seed, message) &&
        doubleOption(p, p.noise, &o.thermometer.noiseSigma, message) &&
        readProgramme(p, &o.thermometer, message) &&
        readDielectric(p, &o.meter.dielectric, message);
    if (!ok)
        return SimArgumentsOutcome::Error;
    if (!IsMeterFrequency(o.meter.frequencyHz)) {
        *message = QStringLiteral("--freq: the meter shows 25..999 Hz or whole kHz");
        return SimArgumentsOutcome::Error;
    }
    if (o.withMeter && o.withThermometer && o.meterPort == o.thermoPort) {
        *message = QStringLiteral("the meter and the thermometer need different port numbers");
        return SimArgumentsOutcome::Error;
    }
    for (const QString &spec : p.parser.values(p.fault)) {
        const auto fault = ParseFaultSchedule(spec, message);
        if (!fault)
            return SimArgumentsOutcome::Error;
        o.faults << *fault;
    }
    if (o.thermometer.noiseSigma < 0) {
        *message = QStringLiteral("--noise wants a standard deviation of 0 or more");
        return SimArgumentsOutcome::Error;
    }
    const QByteArray sensorId = p.parser.value(p.sensorId).toLatin1();
    for (char c : sensorId)
        if (c <= ' ' || c == ',' || c == '*' || c == '$' || c == '"') {
            *message = QStringLiteral("--sensor-id must not hold blanks, commas, quotes, * or $");
            return SimArgumentsOutcome::Error;
        }
    o.meter.seed = o.thermometer.seed = static_cast<unsigned>(seed);
    o.thermometer.crlf = p.parser.isSet(p.crlf);
    o.thermometer.sensorId = sensorId;
    const QDir dir(o.portsDir);
    o.meter.linkPath = dir.filePath(QStringLiteral("COM%1").arg(o.meterPort));
    o.thermometer.linkPath = dir.filePath(QStringLiteral("COM%1").arg(o.thermoPort));
    *options = o;
    return SimArgumentsOutcome::Run;
}
