#pragma once

// Lets the window events that are waiting run now: timers and the other
// port's notifications may run inside the caller. Every such re-entry point
// of the program goes through this one function. Calls less than a
// millisecond after the last one, or after the event loop delivered a
// device's notification, return at once: what arrived since then runs at the
// next call or when the caller returns to the event loop.
void LetPendingEventsRun();
