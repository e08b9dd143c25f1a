#include "ui/run_texts.h"

#include <QCoreApplication>

namespace runtext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Run", text);
}

} // namespace

QString dataLossWarning() {
    return tr("Внимание, текущие данные будут удалены!");
}

QString columnCountUnknown() {
    return tr("Не удалось определить количество столбцов");
}

QString badFrequencies() {
    return tr("Внимание, введены неверные частоты в красных ячейках. Значения должны иди по "
              "возрастанию и свыше 1 кГц быть кратны 1000. Измерения не будут начаты!");
}

QString devicesMissing() {
    return tr("Внимание, одно или несколько устройств не доступны. Измерения не будут начаты!");
}

} // namespace runtext
