#include "sim_actions.h"

#include "freq_keys.h"
#include "sim_meter.h"
#include "sim_thermometer.h"

namespace {

using Device = SimAction::Device;
using Kind = SimAction::Kind;

struct ActionName {
    Device device;
    const char *name;
    Kind kind;
    const char *usage;
};

constexpr ActionName kActions[] = {
    {Device::Meter, "silent", Kind::Silent, "meter silent MS       send nothing for MS ms"},
    {Device::Meter, "badsum", Kind::BadChecksum,
     "meter badsum          one frame, checksum off by one"},
    {Device::Meter, "noise", Kind::Noise,
     "meter noise [N]       N random bytes (8) between frames"},
    {Device::Meter, "reopen", Kind::Reopen,
     "meter reopen          new pseudo-terminal, link moved"},
    {Device::Meter, "freq", Kind::Frequency, "meter freq HZ         set the test frequency"},
    {Device::Thermometer, "silent", Kind::Silent, "thermo silent MS      send nothing for MS ms"},
    {Device::Thermometer, "badsum", Kind::BadChecksum,
     "thermo badsum         one line, wrong checksum"},
    {Device::Thermometer, "lowercase", Kind::LowerCase,
     "thermo lowercase      one line, lower-case checksum digits"},
    {Device::Thermometer, "nonnumeric", Kind::NonNumeric,
     "thermo nonnumeric     one line, \"--.--\" as temperature"},
    {Device::Thermometer, "reopen", Kind::Reopen,
     "thermo reopen         new pseudo-terminal, link moved"},
    {Device::Thermometer, "hold", Kind::Programme, "thermo hold T         hold T degrees from now"},
    {Device::Thermometer, "ramp", Kind::Programme,
     "thermo ramp A:B:R [back]  ramp A to B at R deg/min (and back)"},
};

std::optional<Device> parseDevice(const QString &word) {
    if (word == QLatin1String("meter"))
        return Device::Meter;
    if (word == QLatin1String("thermo"))
        return Device::Thermometer;
    return std::nullopt;
}

std::optional<SimAction> failWith(QString *error, const QString &text) {
    if (error)
        *error = text;
    return std::nullopt;
}

// The integer argument at index 2, or fallback when there is none and one is allowed.
std::optional<int> intArgument(const QStringList &words, std::optional<int> fallback, int min) {
    if (words.size() < 3)
        return fallback;
    bool ok = false;
    const int value = words[2].toInt(&ok);
    if (!ok || value < min)
        return std::nullopt;
    return value;
}

std::optional<TemperatureProgramme> parseProgramme(const QStringList &words, QString *error) {
    if (words.size() < 3) {
        *error = QStringLiteral("%1 needs an argument").arg(words[1]);
        return std::nullopt;
    }
    if (words[1] == QLatin1String("hold")) {
        bool ok = false;
        const double t = words[2].toDouble(&ok);
        if (!ok) {
            *error = QStringLiteral("hold wants a temperature, got \"%1\"").arg(words[2]);
            return std::nullopt;
        }
        return TemperatureProgramme::hold(t);
    }
    const bool back = words.size() > 3 && words[3] == QLatin1String("back");
    return TemperatureProgramme::parseRamp(words[2], back, error);
}

QString portName(const SimInstrument &instrument) {
    return instrument.linkPath().isEmpty() ? instrument.slavePath() : instrument.linkPath();
}

} // namespace

std::optional<SimAction> ParseSimAction(const QStringList &words, QString *error) {
    const auto device = words.isEmpty() ? std::nullopt : parseDevice(words[0]);
    if (!device)
        return failWith(error, QStringLiteral("start with \"meter\" or \"thermo\""));
    const ActionName *found = nullptr;
    for (const auto &a : kActions)
        if (a.device == *device && words.size() > 1 && words[1] == QLatin1String(a.name))
            found = &a;
    if (!found)
        return failWith(error,
                        QStringLiteral("unknown action \"%1\"").arg(words.mid(0, 2).join(' ')));

    SimAction action;
    action.device = *device;
    action.kind = found->kind;
    QString problem;
    switch (found->kind) {
    case Kind::Silent:
        if (const auto ms = intArgument(words, std::nullopt, 0))
            action.amount = *ms;
        else
            problem = QStringLiteral("silent wants milliseconds");
        break;
    case Kind::Noise:
        if (const auto n = intArgument(words, 8, 1))
            action.amount = *n;
        else
            problem = QStringLiteral("noise wants a byte count of at least 1");
        break;
    case Kind::Frequency: {
        const auto hz = intArgument(words, std::nullopt, kMinFrequencyHz);
        if (hz && IsMeterFrequency(*hz))
            action.amount = *hz;
        else
            problem = QStringLiteral("freq wants 25..999 Hz or whole kHz up to 1000000");
        break;
    }
    case Kind::Programme:
        if (const auto p = parseProgramme(words, &problem))
            action.programme = *p;
        break;
    case Kind::BadChecksum:
    case Kind::Reopen:
    case Kind::LowerCase:
    case Kind::NonNumeric:
        break;
    }
    if (!problem.isEmpty())
        return failWith(error, problem);
    return action;
}

QString ApplySimAction(const SimAction &action, SimMeter *meter, SimThermometer *thermometer) {
    const bool onMeter = action.device == Device::Meter;
    SimInstrument *instrument = onMeter ? static_cast<SimInstrument *>(meter) : thermometer;
    if (!instrument || !instrument->isRunning())
        return QStringLiteral("that instrument is not running");

    switch (action.kind) {
    case Kind::Silent:
        instrument->setSilent(action.amount);
        break;
    case Kind::Reopen:
        if (!instrument->reopen())
            return instrument->errorString();
        break;
    case Kind::BadChecksum:
        if (onMeter)
            meter->sendBadChecksumFrame();
        else
            thermometer->sendFaultyLine(ThermoLineFault::BadChecksum);
        break;
    case Kind::Noise:
        meter->sendNoise(action.amount);
        break;
    case Kind::Frequency:
        meter->setFrequency(action.amount);
        break;
    case Kind::LowerCase:
        thermometer->sendFaultyLine(ThermoLineFault::LowerCaseChecksum);
        break;
    case Kind::NonNumeric:
        thermometer->sendFaultyLine(ThermoLineFault::NonNumeric);
        break;
    case Kind::Programme:
        thermometer->setProgramme(action.programme);
        break;
    }
    return {};
}

std::optional<ScheduledFault> ParseFaultSchedule(const QString &text, QString *error) {
    const QStringList parts = text.split(':');
    if (parts.size() < 3 || parts.size() > 4) {
        if (error)
            *error = QStringLiteral("a fault schedule is DEVICE:FAULT:EVERY_MS[:ARG], got \"%1\"")
                         .arg(text);
        return std::nullopt;
    }
    bool ok = false;
    const int everyMs = parts[2].toInt(&ok);
    if (!ok || everyMs <= 0) {
        if (error)
            *error = QStringLiteral("\"%1\": EVERY_MS must be a positive number").arg(text);
        return std::nullopt;
    }
    QStringList words = {parts[0], parts[1]};
    if (parts.size() == 4)
        words << parts[3];
    QString problem;
    const auto action = ParseSimAction(words, &problem);
    if (action && !action->isFault())
        problem = QStringLiteral("\"%1\" is not a fault").arg(parts[1]);
    if (!action || !action->isFault()) {
        if (error)
            *error = QStringLiteral("\"%1\": %2").arg(text, problem);
        return std::nullopt;
    }
    return ScheduledFault{*action, everyMs};
}

QString RunSimCommand(const QString &line, SimMeter *meter, SimThermometer *thermometer) {
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    if (words[0] == QLatin1String("help"))
        return SimActionsHelp();
    if (words[0] == QLatin1String("status")) {
        QStringList lines;
        if (meter)
            lines << QStringLiteral("meter %1: %2 Hz, F3 %3, %4 frames, %5 keys")
                         .arg(portName(*meter), QString::number(meter->frequency()),
                              meter->model().f3On() ? "on" : "off",
                              QString::number(meter->framesSent()),
                              QString::number(meter->keysReceived().size()));
        if (thermometer)
            lines << QStringLiteral("thermo %1: %2 C, %3 lines")
                         .arg(portName(*thermometer),
                              QString::number(thermometer->trueTemperature(), 'f', 2),
                              QString::number(thermometer->linesSent()));
        return lines.join('\n');
    }
    QString error;
    const auto action = ParseSimAction(words, &error);
    if (!action)
        return QStringLiteral("error: ") + error;
    error = ApplySimAction(*action, meter, thermometer);
    if (!error.isEmpty())
        return QStringLiteral("error: ") + error;
    if (action->kind == SimAction::Kind::Reopen) {
        const bool onMeter = action->device == SimAction::Device::Meter;
        const SimInstrument &reopened =
            onMeter ? static_cast<const SimInstrument &>(*meter) : *thermometer;
        return QStringLiteral("ok: %1 -> %2").arg(portName(reopened), reopened.slavePath());
    }
    return QStringLiteral("ok");
}

QString SimActionsHelp() {
    QStringList lines;
    for (const auto &a : kActions)
        lines << QStringLiteral("  ") + QLatin1String(a.usage);
    lines << QStringLiteral("  status                show frequency, marks and temperature")
          << QStringLiteral("  help                  this list");
    return lines.join('\n');
}
