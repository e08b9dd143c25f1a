#include "app/main_actions.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>

namespace {
QString tr(const char *text) {
    return QCoreApplication::translate("MainActions", text);
}

QAction *makeAction(QObject *list, const char *name, const QString &caption, bool enabled = true) {
    auto *action = new QAction(caption, list);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}
} // namespace

void MainActions::create(QObject *owner) {
    auto *list = new QObject(owner);
    list->setObjectName(QStringLiteral("amgrMain"));

    actApplySettiingsTempAndGrid =
        makeAction(list, "actApplySettiingsTempAndGrid", tr("Подготовить таблицу"));
    actStart = makeAction(list, "actStart", tr("Начать измерения"));
    actStop = makeAction(list, "actStop", tr("Остановить измерения"), false);
    actFileSaveTo = makeAction(list, "actFileSaveTo", tr("Сохранить в.."), false);
    actPastRuns = makeAction(list, "actPastRuns", tr("Прошлые измерения..."));
    actHelpAbout = makeAction(list, "actHelpAbout", tr("О программе"));
    actComPortAndLogVisibility = makeAction(list, "actComPortAndLogVisibility",
                                            tr("Показать настройки портов и лог"));
    actLogFileVisibility = makeAction(list, "actLogFileVisibility", QString());
    actMainFormShow = makeAction(list, "actMainFormShow", QString());
    actShowChart = makeAction(list, "actShowChart", tr("График..."));
    actShowChart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    actFileSaveReadings =
        makeAction(list, "actFileSaveReadings", tr("Сохранить все отсчёты..."));
    actSample = makeAction(list, "actSample", tr("Образец..."));
    actAutosaveFolder =
        makeAction(list, "actAutosaveFolder", tr("Папка для автосохранения..."));

    actCMDF1 = makeAction(list, "actCMDF1", QString());
    actCMDF2 = makeAction(list, "actCMDF2", QString());
    actCMDF3 = makeAction(list, "actCMDF3", QString());
    actCMDF4 = makeAction(list, "actCMDF4", QString());
    actCMD1C = makeAction(list, "actCMD1C", QStringLiteral("1"));
    actCMD2L = makeAction(list, "actCMD2L", QStringLiteral("2"));
    actCMD3R = makeAction(list, "actCMD3R", QStringLiteral("3"));
    actCMD4DQ = makeAction(list, "actCMD4DQ", QStringLiteral("4"));
    actCMD5UP = makeAction(list, "actCMD5UP", QStringLiteral("5"));
    actCMD6Menu = makeAction(list, "actCMD6Menu", QStringLiteral("6"));
    actCMD7LEFT = makeAction(list, "actCMD7LEFT", QStringLiteral("7"));
    actCMD8Enter = makeAction(list, "actCMD8Enter", QStringLiteral("8"));
    actCMD9Right = makeAction(list, "actCMD9Right", QStringLiteral("9 Right"));
    actCMD10XX = makeAction(list, "actCMD10XX", QString());
    actCMD11DOWN = makeAction(list, "actCMD11DOWN", QStringLiteral("0 Down"));
    actCMD12X3 = makeAction(list, "actCMD12X3", QString());
}

QList<QAction *> MainActions::keypadActions() const {
    return {actCMDF1,     actCMDF2,   actCMDF3,     actCMDF4,    actCMD1C,    actCMD2L,
            actCMD3R,     actCMD4DQ,  actCMD5UP,    actCMD6Menu, actCMD7LEFT, actCMD8Enter,
            actCMD9Right, actCMD10XX, actCMD11DOWN, actCMD12X3};
}

TRunCommands MainActions::runCommands() const {
    TRunCommands commands;
    commands.actApplySettiingsTempAndGrid = actApplySettiingsTempAndGrid;
    commands.actStart = actStart;
    commands.actStop = actStop;
    commands.actFileSaveTo = actFileSaveTo;
    return commands;
}
