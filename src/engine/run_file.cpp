#include "engine/run_file.h"

#include "base/digits.h"
#include "files/save_file_name.h"
#include "run/frequency_row.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <cmath>

namespace {

const QStringList kRequired = {
    QStringLiteral("from"),      QStringLiteral("to"),          QStringLiteral("step"),
    QStringLiteral("tolerance"), QStringLiteral("frequencies"), QStringLiteral("skip"),
    QStringLiteral("meter"),     QStringLiteral("thermometer"), QStringLiteral("output")};
const QStringList kOptional = {QStringLiteral("meter_baud"), QStringLiteral("thermometer_baud"),
                               QStringLiteral("ports_folder"), QStringLiteral("journal")};

struct Entry {
    QString value;
    int line = 0;
};

RunFileOutcome refused(RunFileProblem problem, const QString &key = QString(), int line = 0) {
    RunFileOutcome outcome;
    outcome.Problem = problem;
    outcome.Key = key;
    outcome.Line = line;
    return outcome;
}

bool readNumber(const QString &text, double &value) {
    QString plain = text;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = plain.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool readInteger(const QString &text, int &value) {
    bool ok = false;
    value = text.toInt(&ok, 10);
    return ok;
}

// "COM3" and "3" name the same port; a name with no digits names none.
bool readPort(const QString &text, int &port) {
    const QString upper = text.toUpper();
    if (!upper.startsWith(QStringLiteral("COM")) && !readInteger(text, port))
        return false;
    port = DigitsToInt(text);
    return port > 0;
}

QString resolved(const QString &folder, const QString &path) {
    return path.isEmpty() ? path : QDir(folder).absoluteFilePath(path);
}

} // namespace

RunFileOutcome parseRunFile(const QByteArray &text, const QString &folder) {
    QMap<QString, Entry> entries;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = QString::fromUtf8(lines[i]);
        const int comment = line.indexOf(QLatin1Char('#'));
        if (comment >= 0)
            line.truncate(comment);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return refused(RunFileProblem::NotKeyValue, QString(), i + 1);
        const QString key = line.left(equals).trimmed().toLower();
        if (!kRequired.contains(key) && !kOptional.contains(key))
            return refused(RunFileProblem::UnknownKey, key, i + 1);
        if (entries.contains(key))
            return refused(RunFileProblem::RepeatedKey, key, i + 1);
        entries.insert(key, Entry{line.mid(equals + 1).trimmed(), i + 1});
    }
    for (const QString &key : kRequired)
        if (!entries.contains(key))
            return refused(RunFileProblem::MissingKey, key);

    RunFileOutcome outcome;
    RunFile &run = outcome.Run;
    RunParameters &p = run.Parameters;
    const struct {
        const char *key;
        double *target;
    } numbers[] = {{"from", &p.TempInit},
                   {"to", &p.TempFinal},
                   {"step", &p.TempStep},
                   {"tolerance", &p.TempDiff}};
    for (const auto &number : numbers) {
        const Entry entry = entries.value(QLatin1String(number.key));
        if (!readNumber(entry.value, *number.target))
            return refused(RunFileProblem::BadNumber, QLatin1String(number.key), entry.line);
    }

    const Entry frequencies = entries.value(QStringLiteral("frequencies"));
    const QStringList texts = frequencies.value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    TFreqStorage storage;
    if (texts.isEmpty() || !ValidateFrequencies(texts, storage))
        return refused(RunFileProblem::BadFrequencies, QStringLiteral("frequencies"),
                       frequencies.line);
    p.Frequencies.clear();
    for (const TFreqItem &item : storage.Items)
        p.Frequencies << item.Freq;

    const Entry skip = entries.value(QStringLiteral("skip"));
    if (!readInteger(skip.value, p.SkipCount) || p.SkipCount < 0 || p.SkipCount > kMaxSkipCount)
        return refused(RunFileProblem::BadSkipCount, QStringLiteral("skip"), skip.line);

    const struct {
        const char *key;
        int *port;
        const char *baudKey;
        int *baud;
    } ports[] = {{"meter", &run.MeterPort, "meter_baud", &run.MeterBaud},
                 {"thermometer", &run.ThermometerPort, "thermometer_baud", &run.ThermometerBaud}};
    for (const auto &port : ports) {
        const Entry entry = entries.value(QLatin1String(port.key));
        if (!readPort(entry.value, *port.port))
            return refused(RunFileProblem::BadPort, QLatin1String(port.key), entry.line);
        const QString baudKey = QLatin1String(port.baudKey);
        if (entries.contains(baudKey)) {
            const Entry baud = entries.value(baudKey);
            if (!readInteger(baud.value, *port.baud) || *port.baud <= 0)
                return refused(RunFileProblem::BadBaud, baudKey, baud.line);
        }
    }

    TTempStorage temps;
    const SetPointTable table =
        generateSetPoints(p.TempInit, p.TempFinal, p.TempStep, p.TempDiff, QLatin1Char('.'), temps);
    if (table.error != SetPointError::None) {
        RunFileOutcome bad = refused(RunFileProblem::BadTable, QStringLiteral("step"),
                                     entries.value(QStringLiteral("step")).line);
        bad.Table = table.error;
        return bad;
    }

    const Entry output = entries.value(QStringLiteral("output"));
    run.Output = resolved(folder, output.value);
    if (output.value.isEmpty() || !checkSaveFileName(run.Output).ok ||
        !QFileInfo(run.Output).absoluteDir().exists())
        return refused(RunFileProblem::BadOutput, QStringLiteral("output"), output.line);
    run.PortsFolder = resolved(folder, entries.value(QStringLiteral("ports_folder")).value);
    run.Journal = resolved(folder, entries.value(QStringLiteral("journal")).value);
    return outcome;
}

RunFileOutcome readRunFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(RunFileProblem::Unreadable);
    return parseRunFile(file.readAll(), QFileInfo(path).absolutePath());
}
