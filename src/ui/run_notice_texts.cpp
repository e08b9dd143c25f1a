#include "ui/run_notice_texts.h"

#include "ui/outage_text.h"

#include <QCoreApplication>
#include <QDir>

namespace runnotice {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("RunNotice", text);
}

} // namespace

QString title(const TRunNotice &notice) {
    switch (notice.kind) {
    case TRunNotice::Kind::TableFull:
    case TRunNotice::Kind::TableFullStopping:
        return tr("Таблица заполнена");
    case TRunNotice::Kind::RunStopped:
        return tr("Измерения остановлены");
    case TRunNotice::Kind::InstrumentSilent:
        break;
    }
    return tr("%1: нет данных").arg(outagetext::instrumentName(notice.instrument));
}

QString text(const TRunNotice &notice) {
    switch (notice.kind) {
    case TRunNotice::Kind::TableFull:
        return tr("Все ячейки таблицы заполнены. Измерения продолжаются.");
    case TRunNotice::Kind::TableFullStopping:
        return tr("Все ячейки таблицы заполнены. Измерения будут остановлены, а файл сохранён.");
    case TRunNotice::Kind::RunStopped:
        return notice.problem.isEmpty() ? tr("Таблица заполнена. Файл сохранён: %1")
                                              .arg(QDir::toNativeSeparators(notice.savedFile))
                                        : tr("Таблица заполнена. %1").arg(notice.problem);
    case TRunNotice::Kind::InstrumentSilent:
        break;
    }
    return tr("%1 не присылает данных больше минуты, с %2. Измерения идут.")
        .arg(outagetext::instrumentName(notice.instrument),
             notice.since.toString(QStringLiteral("HH:mm:ss")));
}

} // namespace runnotice
