#pragma once

#include "model/instrument_search_result.h"

#include <QString>

// The message for the user after a search for the instruments: which instrument is on which
// port and which was not found, the ports skipped and why, and whether the settings changed.
QString InstrumentSearchReport(const TInstrumentSearchResult &result);
// "Найти приборы", or "Отменить поиск" while a search runs.
QString InstrumentSearchButtonText(bool searching);
// Why a search does not start during a run.
QString InstrumentSearchDuringRunText();
