#pragma once

// Lets the window events that are waiting run now: timers and the other
// port's notifications may run inside the caller. Every such re-entry point
// of the program goes through this one function.
void LetPendingEventsRun();
