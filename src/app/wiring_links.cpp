// Wiring of the run engine and the meter and thermometer links: receivers, the
// engine's time (display refreshes, watchdogs, steps), keypad.
#include "app/main_window.h"
#include "control/meter_link.h"
#include "control/run_driver.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "serial/ser_com_port.h"

#include <QAction>

#include <utility>

void TfrmMain::createLinkControllers() {
    const RunClock &clock = m_options.engineClock ? *m_options.engineClock : m_steadyClock;
    m_engine = new RunEngine(clock, m_state.DecimalSeparator, this);
    m_engine->setPeriods(RunPeriods{}.dividedBy(m_options.timerDivisor));
    m_runDriver = new TRunDriver(*m_engine, clock, this);
    m_meterLink = new TMeterLink(*m_engine, m_portIM, m_ui.meterDisplay, m_ui.reLogIM,
                                 m_actions.keypadActions(), this);
    m_thermoLink = new TThermoLink(*m_engine, m_portTemp, m_ui.thermoDisplay, m_ui.reLogTemp, this);

    TMeterLink *meter = m_meterLink;
    m_engine->setKeySender([meter](uint8_t code) { return meter->writeKey(code); });
    TThermoLink *thermo = m_thermoLink;
    m_portIM->setOnTrigger([meter](TSerComPort *cp, quint16 msg, quint16 handle, quint16 data) {
        meter->portIMTrigger(cp, msg, handle, data);
    });
    m_portTemp->setOnTriggerAvail(
        [thermo](TSerComPort *cp, quint16 count) { thermo->portTempTriggerAvail(cp, count); });

    connectTriggers<TMeterLink>(meter,
                                {
                                    {m_actions.actCMDF1, &TMeterLink::actCMDF1Execute},
                                    {m_actions.actCMDF2, &TMeterLink::actCMDF2Execute},
                                    {m_actions.actCMDF3, &TMeterLink::actCMDF3Execute},
                                    {m_actions.actCMDF4, &TMeterLink::actCMDF4Execute},
                                    {m_actions.actCMD1C, &TMeterLink::actCMD1CExecute},
                                    {m_actions.actCMD2L, &TMeterLink::actCMD2LExecute},
                                    {m_actions.actCMD3R, &TMeterLink::actCMD3RExecute},
                                    {m_actions.actCMD4DQ, &TMeterLink::actCMD4DQExecute},
                                    {m_actions.actCMD5UP, &TMeterLink::actCMD5UPExecute},
                                    {m_actions.actCMD6Menu, &TMeterLink::actCMD6MenuExecute},
                                    {m_actions.actCMD7LEFT, &TMeterLink::actCMD7LEFTExecute},
                                    {m_actions.actCMD8Enter, &TMeterLink::actCMD8EnterExecute},
                                    {m_actions.actCMD9Right, &TMeterLink::actCMD9RightExecute},
                                    {m_actions.actCMD10XX, &TMeterLink::actCMD10XXExecute},
                                    {m_actions.actCMD11DOWN, &TMeterLink::actCMD11DOWNExecute},
                                    {m_actions.actCMD12X3, &TMeterLink::actCMD12X3Execute},
                                });
}
