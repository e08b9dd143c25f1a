#include "instruments_support.h"

#include "sim_meter.h"
#include "sim_thermometer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

SimulatedBench::SimulatedBench(int frameMs, int lineMs) {
    const QString ports = m_dir.filePath(QStringLiteral("ports"));
    QDir().mkpath(ports);

    SimMeterOptions meterOptions;
    meterOptions.frameMs = frameMs;
    meterOptions.linkPath = ports + QStringLiteral("/COM%1").arg(kMeterPort);
    m_meter = std::make_unique<SimMeter>(meterOptions);

    SimThermometerOptions thermoOptions;
    thermoOptions.lineMs = lineMs;
    thermoOptions.linkPath = ports + QStringLiteral("/COM%1").arg(kThermoPort);
    m_thermo = std::make_unique<SimThermometer>(thermoOptions);

    SimThermometer *thermo = m_thermo.get();
    m_meter->setTemperatureSource([thermo] { return thermo->trueTemperature(); });
    m_meter->start();
    m_thermo->start();
}

SimulatedBench::~SimulatedBench() {
    m_meter->stop();
    m_thermo->stop();
}

QString SimulatedBench::settingsPath() const {
    return m_dir.filePath(QStringLiteral("options.ini"));
}

void SimulatedBench::writeSettings(const QString &extraLines) const {
    QFile file(settingsPath());
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QString text = QStringLiteral("[general]\r\nPortIMNumber=COM%1\r\nPortTempNumber=COM%2\r\n")
                       .arg(kMeterPort)
                       .arg(kThermoPort);
    text += extraLines;
    file.write(text.toUtf8());
}

TMainOptions SimulatedBench::windowOptions() const {
    TMainOptions options;
    options.settingsPath = settingsPath();
    options.portsFolder = m_dir.filePath(QStringLiteral("ports"));
    options.decimalSeparator = QLatin1Char(',');
    options.timerDivisor = kTimerDivisor;
    options.prompts = &m_prompts;
    return options;
}

bool waitUntil(const std::function<bool()> &pred, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}
