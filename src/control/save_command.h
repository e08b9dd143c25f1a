#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class FileLogView;
class TCSVTable;
class UserPrompts;
class RunEngine;
struct TIMPacket;

// A name typed without an extension gets ".tamrel"; any other name stays as it is.
QString withDefaultSuffix(const QString &fileName);

// "Сохранить в..": writes the results table of the last run to a file the user
// chooses, and shows its text in the file log reLogFile.
class TSaveCommand : public QObject {
    Q_OBJECT
public:
    // The display whose Limit, Level and Offset head the file: the one of the
    // run's newest reading; nothing while the table holds none.
    using HeaderSource = std::function<std::optional<TIMPacket>()>;

    // reLogFile shows the text of the last save; `prompts` asks where to save
    // and tells why a save failed.
    TSaveCommand(RunEngine &engine, FileLogView *reLogFile, UserPrompts &prompts,
                 QObject *parent = nullptr);

    void setHeaderSource(HeaderSource source) { m_headerSource = std::move(source); }

    // The name chosen last, offered again by the next save while the program runs.
    const QString &lastFileName() const { return m_lastFileName; }

    // Asks where to save and writes `table` there, showing its text in the file
    // log. Returns the file written, or an empty name when the user cancelled or
    // the save failed (the user has been told why).
    QString saveTable(const TCSVTable &table);
    // Writes the current run's table to `fileName` without asking, as the
    // command does (the file log, the header, saved()). Returns why it
    // failed, or an empty text; the name offered by the dialog stays.
    QString saveRunTo(const QString &fileName);

signals:
    // The table of the current run reached `fileName`.
    void saved(const QString &fileName);

public slots:
    void actFileSaveToExecute();

private:
    void fillHeader();
    // Writes the table's text to the file and shows it in the file log.
    QString writeTable(const TCSVTable &table, const QString &fileName);

    RunEngine &m_engine;
    FileLogView *m_reLogFile;
    UserPrompts &m_prompts;
    HeaderSource m_headerSource;
    QString m_lastFileName;
};
