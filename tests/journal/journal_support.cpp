#include "journal_support.h"

#include "base/number_format.h"
#include "files/measurement_file.h"
#include "meter/meter_decode.h"
#include "meter_frame.h"
#include "run/set_points.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <gtest/gtest.h>

QString journalFile(const QTemporaryDir &dir) {
    return dir.filePath(QStringLiteral("runs.sqlite"));
}

TEventRec meterRecord(uint8_t mainCode, double mainValue, uint8_t secondaryCode,
                      double secondaryValue, int frequencyHz, double temperature) {
    MeterDisplayState state;
    state.mainCode = mainCode;
    state.secondaryCode = secondaryCode;
    state.main = EncodeMeterValue(mainValue, ValueSlot::Main);
    const bool dimensionless = secondaryCode == param::D || secondaryCode == param::Q;
    state.secondary = EncodeMeterValue(secondaryValue, ValueSlot::Secondary, dimensionless);
    const FrequencyDigits digits = EncodeFrequency(frequencyHz);
    state.frequencyMantissa = digits.mantissa;
    state.frequencyExponent = digits.exponent;
    const QByteArray frame = EncodeMeterFrame(state);

    TEventRec E;
    E.Kind = kMeterRecord;
    E.Time = QDateTime::currentDateTime();
    for (int i = 0; i < kMeterFrameSize - 1; ++i)
        E.RawData[i] = static_cast<uint8_t>(frame.at(i));
    E.IM = DecodeMeterPacket(E.RawData, QLatin1Char(','));
    E.Temperature = temperature;
    E.Frequency = frequencyHz;
    return E;
}

QString cellTextOf(const TIMPacket &im) {
    return im.MainName + ' ' + im.MainValue + ' ' + im.MainUnit + ";---------; " + im.SecName +
           ' ' + im.SecValue + ' ' + im.SecUnit;
}

RecordedRun::RecordedRun(TRunJournal &journal, double tempInit, double tempFinal, double tempStep,
                         double tempDiff)
    : m_journal(journal) {
    const SetPointTable table =
        generateSetPoints(tempInit, tempFinal, tempStep, tempDiff, separator, temps);
    for (const SetPointRow &row : table.rows)
        setPointTexts << row.text;
    csv.SetTableSize(0, 0);
}

void RecordedRun::start(const QVector<int32_t> &frequencies, uint8_t skipPacketCount) {
    freqs.Clear();
    for (int i = 0; i < frequencies.size(); ++i)
        freqs.Add({frequencies.at(i), 2 + i, 0});
    colCount = 2 + frequencies.size();
    csv.SetTableSize(temps.Count(), freqs.Count());
    for (const TFreqItem &item : freqs.Items)
        csv.SetColHeader(item.Freq, item.Index);
    for (const TTempItem &item : temps.Items)
        csv.SetRowHeader(item.Index, item.SetPoint, separator);

    TJournalStart start;
    start.Time = QDateTime::currentDateTime();
    start.Frequencies = frequencies;
    start.SkipPacketCount = skipPacketCount;
    TJournalOutcome outcome;
    if (m_startCount++ == 0) {
        TJournalTable table;
        table.SetPointTexts = setPointTexts;
        table.TempStorage = temps;
        table.DecimalSeparator = separator;
        outcome = m_journal.beginRun(table, start, &m_id);
    } else {
        outcome = m_journal.recordStart(m_id, start);
    }
    EXPECT_TRUE(outcome.ok) << "fault " << int(outcome.fault);
}

bool RecordedRun::capture(const TEventRec &E) {
    if (!temps.InRange(E.Temperature) || !freqs.Contains(E.Frequency))
        return false;
    const TFreqItem fi = freqs.FindFreq(E.Frequency);
    const TTempItem ti = temps.FindTemp(E.Temperature);
    if (ti.Index == -1)
        return false;
    const QString text = cellTextOf(E.IM);
    grid[{ti.Row, fi.Col}] = text;
    StoreReading(csv, E.IM, fi.Index, ti.Index);
    lastPacket = E.IM;
    const TJournalOutcome outcome =
        m_journal.recordReading(m_id, journalReadingOf(E, ti, fi, text));
    EXPECT_TRUE(outcome.ok) << "fault " << int(outcome.fault);
    return true;
}

void RecordedRun::actualTemperature(double t) {
    if (!temps.InRange(t))
        return;
    const TTempItem S = temps.FindTemp(t);
    if (S.Index == -1)
        return;
    TJournalActualTemperature actual;
    actual.Row = S.Row;
    actual.Time = QDateTime::currentDateTime();
    actual.SetPoint = S.SetPoint;
    actual.Temperature = t;
    actual.Text = numfmt::general(t, separator);
    grid[{S.Row, 1}] = actual.Text;
    const TJournalOutcome outcome = m_journal.recordActualTemperature(m_id, actual);
    EXPECT_TRUE(outcome.ok) << "fault " << int(outcome.fault);
}

SideConnection::SideConnection(const QString &path, const QString &options)
    : m_name(QStringLiteral("side_%1").arg(quintptr(this), 0, 16)) {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(options);
    EXPECT_TRUE(m_db.open()) << m_db.lastError().text().toStdString();
}

SideConnection::~SideConnection() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool SideConnection::exec(const QString &sql) {
    QSqlQuery query(m_db);
    const bool ok = query.exec(sql);
    EXPECT_TRUE(ok) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    return ok;
}

bool SideConnection::tryExec(const QString &sql) {
    QSqlQuery query(m_db);
    return query.exec(sql);
}

QVariant SideConnection::value(const QString &sql) {
    QSqlQuery query(m_db);
    if (!query.exec(sql) || !query.next()) {
        ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
        return QVariant();
    }
    return query.value(0);
}

int reportJournalOpen(const QString &path) {
    TRunJournal journal;
    const TJournalOutcome outcome = journal.open(path);
    QTextStream out(stdout);
    out << int(outcome.fault) << '\n' << int(outcome.tell) << '\n' << outcome.path << '\n';
    return 0;
}
