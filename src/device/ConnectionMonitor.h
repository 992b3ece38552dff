#pragma once
// The two device threads: the connection monitor, which keeps g_HidDevice
// open on the keyboard's command interface and reports every change to the
// main window, and the consumer listener, which turns the keyboard's own
// consumer reports into main-window timers and tray icons. Both run for the
// life of the process and reach the window only through MainWindowLink.
#include <cstdint>
#include <functional>

namespace orvane {

void ConnectionMonitorThread();
void ConsumerListenerThread();
// Starts both (the listener first) as detached threads; once per process.
void StartDeviceThreads();

// Runs on the monitor thread: 1 keyboard arrived, 0 keyboard gone.
void OnConnectionChanged(int state);
// The last state handed to the window, 0 or 1.
int ConnectedState();
// The tray icon of the connection state: 128 until a keyboard connected,
// then the last of 128 and 141 that was set.
int ConnectionTrayIcon();

// Sees the first usage of every consumer report (0 included), on the
// listener thread, before it is acted on. For orvanectl's watch.
void SetConsumerUsageObserver(std::function<void(uint16_t)> observer);

// Tests only: ends both threads at their next wait (a listener blocked in
// its read is cancelled), so a test can join them.
void StopDeviceThreads();
// Tests only: back to the state at start (threads may run again, state 0,
// icon 128, built-in default matrix, unknown macro capacity).
void ResetDeviceThreadState();

} // namespace orvane
