#pragma once

// The program's main window as the tests see it: the same window, and a way to each of
// its parts. The window keeps its controllers, its engine and its two serial lines as its
// own children and lends none of them out; a test finds each among the children, where
// there is exactly one of its kind (or of its name).
#include "app/main_window.h"
#include "control/autoconnect.h"
#include "control/chart_controller.h"
#include "control/full_table_stop.h"
#include "control/instrument_search.h"
#include "control/journal_controller.h"
#include "control/link_watch.h"
#include "control/meter_link.h"
#include "control/past_runs_command.h"
#include "control/reading_capture.h"
#include "control/readings_export_command.h"
#include "control/relaxation_controller.h"
#include "control/results_grid_controller.h"
#include "control/run_driver.h"
#include "control/run_progress.h"
#include "control/run_sequencer.h"
#include "control/sample_command.h"
#include "control/save_command.h"
#include "control/settings_binding.h"
#include "control/table_preparation.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "serial/ser_com_port.h"

#include <QList>

#include <cstdlib>
#include <cstdio>

class TestWindow : public TfrmMain {
public:
    explicit TestWindow(const TMainOptions &options = {}, QWidget *parent = nullptr)
        : TfrmMain(options, parent) {}

    RunEngine &engine() const { return *only<RunEngine>(); }
    // The meter's line and the thermometer's.
    TSerComPort *portIM() const { return only<TSerComPort>("portIM"); }
    TSerComPort *portTemp() const { return only<TSerComPort>("portTemp"); }
    // tmrRun and tmrAutoconnectToDevice, from the controllers that drive them.
    MainTimers timers() const {
        MainTimers timers;
        timers.tmrRun = only<TRunDriver>()->tmrRun();
        timers.tmrAutoconnectToDevice = autoconnect()->tmrAutoconnectToDevice();
        return timers;
    }

    TMeterLink *meterLink() const { return only<TMeterLink>(); }
    TThermoLink *thermoLink() const { return only<TThermoLink>(); }
    TAutoconnect *autoconnect() const { return only<TAutoconnect>(); }
    TSettingsBinding *settingsBinding() const { return only<TSettingsBinding>(); }
    TTablePreparation *tablePreparation() const { return only<TTablePreparation>(); }
    TResultsGridController *gridController() const { return only<TResultsGridController>(); }
    TSaveCommand *saveCommand() const { return only<TSaveCommand>(); }
    TRunSequencer *runSequencer() const { return only<TRunSequencer>(); }
    TReadingCapture *readingCapture() const { return only<TReadingCapture>(); }
    TJournalController *journal() const { return only<TJournalController>(); }
    TPastRunsCommand *pastRunsCommand() const { return only<TPastRunsCommand>(); }
    TInstrumentSearch *instrumentSearch() const { return only<TInstrumentSearch>(); }
    TChartController *chartController() const { return only<TChartController>(); }
    TRelaxationController *relaxationController() const { return only<TRelaxationController>(); }
    TReadingsExportCommand *readingsExport() const { return only<TReadingsExportCommand>(); }
    TRunProgress *runProgress() const { return only<TRunProgress>(); }
    TSampleCommand *sampleCommand() const { return only<TSampleCommand>(); }
    TLinkWatch *linkWatch() const { return only<TLinkWatch>(); }
    TFullTableStop *fullTableStop() const { return only<TFullTableStop>(); }

private:
    // The one direct child of type T (named `name`, when given). A part missing or found
    // twice means the window is wired otherwise than the tests assume: they stop there.
    template <class T> T *only(const char *name = nullptr) const {
        const QList<T *> found =
            findChildren<T *>(name ? QString::fromLatin1(name) : QString(),
                              Qt::FindDirectChildrenOnly);
        if (found.size() != 1) {
            std::fprintf(stderr, "the window has %d parts of type %s%s%s\n",
                         int(found.size()), T::staticMetaObject.className(),
                         name ? " named " : "", name ? name : "");
            std::abort();
        }
        return found.first();
    }
};
