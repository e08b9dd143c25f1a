#pragma once

#include "engine/run_notice.h"

#include <QString>

// The words of the run's desktop notices.
namespace runnotice {

// "Таблица заполнена", "Измерения остановлены", "Измеритель: нет данных".
QString title(const TRunNotice &notice);
QString text(const TRunNotice &notice);

} // namespace runnotice
