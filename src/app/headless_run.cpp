#include "app/headless_run.h"

#include "base/cp1251.h"
#include "control/engine_journal.h"
#include "control/journal_thread.h"
#include "engine/run_engine.h"
#include "files/measurement_file.h"
#include "journal/run_journal.h"
#include "meter/frame_scan.h"
#include "meter/key_codes.h"
#include "meter/meter_decode.h"
#include "run/results_layout.h"
#include "serial/ser_com_port.h"
#include "thermo/line_assembler.h"
#include "ui/journal_texts.h"
#include "ui/reason_texts.h"

#include <QDir>
#include <QLocale>

#include <csignal>

namespace {

volatile std::sig_atomic_t g_terminationSignal = 0;

extern "C" void rememberTerminationSignal(int signal) {
    g_terminationSignal = signal;
}

constexpr int kSignalPollMs = 100;

} // namespace

void catchTerminationSignals() {
    std::signal(SIGINT, rememberTerminationSignal);
    std::signal(SIGTERM, rememberTerminationSignal);
}

HeadlessRun::HeadlessRun(const RunFile &run, const QString &portsFolder, const QString &journalPath,
                         QObject *parent)
    : QObject(parent), m_run(run),
      m_portsFolder(run.PortsFolder.isEmpty() ? portsFolder : run.PortsFolder),
      m_journalPath(run.Journal.isEmpty() ? journalPath : run.Journal),
      m_engine(new RunEngine(m_clock, QLocale::system().decimalPoint().at(0), this)),
      m_journal(new TJournalThread(this)),
      m_engineJournal(new EngineJournal(*m_engine, *m_journal, this)),
      m_meterPort(new TSerComPort(nullptr, this)),
      m_thermometerPort(new TSerComPort(nullptr, this)),
      m_lines(std::make_unique<TempLineAssembler>()) {
    m_due.setSingleShot(true);
    connect(&m_due, &QTimer::timeout, this, [this] {
        m_engine->advance();
        schedule();
    });
    m_signalWatch.setInterval(kSignalPollMs);
    connect(&m_signalWatch, &QTimer::timeout, this, &HeadlessRun::checkSignals);
    connect(m_engineJournal, &EngineJournal::failure, this,
            [this](const QString &message) { complain(message); });

    m_meterPort->setOnTrigger(
        [this](TSerComPort *, quint16, quint16, quint16 data) { meterTrigger(data); });
    m_thermometerPort->setOnTriggerAvail(
        [this](TSerComPort *, quint16 count) { thermometerAvail(count); });
    m_engine->setKeySender([this](uint8_t code) {
        if (!m_meterPort->isOpen())
            return false;
        try {
            m_meterPort->WriteChar(code);
        } catch (const ESerException &e) {
            complain(e.message());
            return false;
        }
        return true;
    });

    connect(m_engine, &RunEngine::readingRecorded, this, &HeadlessRun::onReading);
    connect(m_engine, &RunEngine::tableFull, this,
            [this] { finish(headlessexit::TableFull, tr("Таблица заполнена.")); });
    connect(m_engine, &RunEngine::linkChanged, this, [this](LinkKind kind, const LinkState &s) {
        const QString device = kind == LinkKind::Meter ? tr("измерителем") : tr("термометром");
        if (s.Health == LinkHealth::Lost)
            say(tr("Связь с %1 потеряна.").arg(device));
        else if (s.Health == LinkHealth::Receiving)
            say(tr("Связь с %1 есть.").arg(device));
    });
}

HeadlessRun::~HeadlessRun() = default;

bool HeadlessRun::start() {
    const TJournalOutcome opened = m_journal->call(
        [path = m_journalPath](TRunJournal &journal) { return journal.open(path); });
    if (!opened.ok && opened.tell)
        complain(journaltext::outcome(opened));

    const RunParameters &p = m_run.Parameters;
    m_engine->prepareTable(p);
    say(tr("Таблица: %1 температур, %2 частот.")
            .arg(m_engine->table().rowCount())
            .arg(m_engine->table().columnCount()));

    const struct {
        TSerComPort *port;
        int number;
        int baud;
    } ports[] = {{m_meterPort, m_run.MeterPort, m_run.MeterBaud},
                 {m_thermometerPort, m_run.ThermometerPort, m_run.ThermometerBaud}};
    for (const auto &p : ports) {
        p.port->setPortsFolder(m_portsFolder);
        p.port->setComNumber(quint16(p.number));
        p.port->setBaud(p.baud);
        try {
            p.port->setOpen(true);
        } catch (const ESerException &e) {
            complain(tr("Не удалось открыть порт COM%1: %2").arg(p.number).arg(e.message()));
            return false;
        }
    }
    // The meter shows its measurement display only after the enter key.
    m_meterPort->WriteChar(meterkey::Enter);
    m_engine->setPortsOpen(true);
    if (m_engine->start(p.SkipCount) != StartRefusal::None) {
        complain(tr("Измерения не начаты."));
        return false;
    }
    say(tr("Измерения начаты: измеритель COM%1, термометр COM%2, пропуск %3 отсчётов.")
            .arg(m_run.MeterPort)
            .arg(m_run.ThermometerPort)
            .arg(p.SkipCount));
    m_signalWatch.start();
    schedule();
    return true;
}

void HeadlessRun::meterTrigger(quint16 reported) {
    QByteArray window;
    try {
        const int waiting = m_meterPort->InCount();
        if (waiting < kFrameSize)
            return;
        window.resize(std::min(waiting, kReceiveWindow));
        m_meterPort->ReadBlock(window.data(), quint16(window.size()));
        for (const MeterFrame &frame : scanReceiveWindow(window, reported)) {
            // Whatever waits behind the frame is older than the display it shows.
            m_meterPort->ClearInput();
            m_engine->meterFrame(frameToRawData(frame));
        }
    } catch (const ESerException &e) {
        complain(e.message());
    }
    schedule();
}

void HeadlessRun::thermometerAvail(quint16 count) {
    try {
        for (int i = 0; i < count && m_thermometerPort->InCount() > 0; ++i)
            if (std::optional<QByteArray> line = m_lines->feed(char(m_thermometerPort->ReadChar())))
                m_engine->thermometerLine(*line);
    } catch (const ESerException &e) {
        complain(e.message());
    }
    schedule();
}

void HeadlessRun::schedule() {
    if (m_finished)
        return;
    if (const std::optional<qint64> due = m_engine->nextDueMs())
        m_due.start(int(std::max<qint64>(0, *due - m_clock.elapsedMs())));
}

void HeadlessRun::onReading(const TJournalReading &reading) {
    m_headerFrame = reading.Frame;
    const ResultsTable &table = m_engine->table();
    say(tr("%1 °C, %2 Гц: %3 %4 %5, %6 %7 %8 (%9 из %10)")
            .arg(table.setPoints().value(reading.Row - resultslayout::kFirstSetPointRow).text)
            .arg(reading.FrequencyHz)
            .arg(reading.MainName, reading.MainValue, reading.MainUnit, reading.SecName,
                 reading.SecValue, reading.SecUnit)
            .arg(table.recordedCount())
            .arg(table.fillableCount()));
}

void HeadlessRun::checkSignals() {
    if (g_terminationSignal != 0)
        finish(headlessexit::Stopped, tr("Остановлено сигналом %1.").arg(int(g_terminationSignal)));
}

// The file is headed by the display of the run's newest reading, as the
// window's save heads it.
void HeadlessRun::finish(int exitCode, const QString &why) {
    if (m_finished)
        return;
    m_finished = true;
    m_due.stop();
    m_signalWatch.stop();
    say(why);
    m_engine->stop();
    m_engine->setPortsOpen(false);
    m_meterPort->setOpen(false);
    m_thermometerPort->setOpen(false);

    TCSVTable &csv = m_engine->csvTable();
    if (m_headerFrame.size() > 0) {
        std::array<uint8_t, 60> raw{};
        std::copy_n(m_headerFrame.constData(), std::min<int>(m_headerFrame.size(), 60),
                    raw.begin());
        FillHeaderFromPacket(csv, DecodeMeterPacket(raw, m_engine->store().decimalSeparator()));
    }
    const TFileResult result = SaveBytesToFile(m_run.Output, cp1251::encode(csv.TableToText()));
    if (result.ok) {
        say(tr("Сохранено: %1").arg(QDir::toNativeSeparators(m_run.Output)));
        m_engineJournal->saved(m_run.Output);
    } else {
        complain(FileResultText(result));
        exitCode = headlessexit::Failed;
    }
    m_engineJournal->close();
    emit finished(exitCode);
}

void HeadlessRun::say(const QString &line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void HeadlessRun::complain(const QString &line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

QString HeadlessRun::problemText(const RunFileOutcome &outcome) {
    QString text;
    switch (outcome.Problem) {
    case RunFileProblem::None:
        return QString();
    case RunFileProblem::Unreadable:
        return tr("Не удалось прочитать файл запуска.");
    case RunFileProblem::NotKeyValue:
        text = tr("строка не вида «ключ = значение»");
        break;
    case RunFileProblem::UnknownKey:
        text = tr("неизвестный ключ «%1»").arg(outcome.Key);
        break;
    case RunFileProblem::RepeatedKey:
        text = tr("ключ «%1» указан дважды").arg(outcome.Key);
        break;
    case RunFileProblem::MissingKey:
        return tr("В файле запуска нет ключа «%1».").arg(outcome.Key);
    case RunFileProblem::BadNumber:
        text = tr("«%1» должно быть числом").arg(outcome.Key);
        break;
    case RunFileProblem::BadFrequencies:
        text = tr("частоты должны быть целыми от 25 до 1000000 Гц, идти по возрастанию и свыше "
                  "1 кГц быть кратны 1000");
        break;
    case RunFileProblem::BadSkipCount:
        text = tr("число пропускаемых отсчётов должно быть целым от 0 до 255");
        break;
    case RunFileProblem::BadPort:
        text = tr("порт «%1» должен быть вида COM3 или 3").arg(outcome.Key);
        break;
    case RunFileProblem::BadBaud:
        text = tr("скорость «%1» должна быть целым положительным числом").arg(outcome.Key);
        break;
    case RunFileProblem::BadTable:
        text = SetPointErrorText(outcome.Table);
        break;
    case RunFileProblem::BadOutput:
        text = tr("файл результатов нельзя записать под этим именем или его папки нет");
        break;
    }
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return tr("Файл запуска, строка %1: %2").arg(outcome.Line).arg(text);
}
