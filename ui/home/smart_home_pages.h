// How the smart-plug window, its pages and the remote-learning window talk to each other.
#pragma once

#include <QString>
#include <functional>

#include "smarthome/wait_progress.h"

class QWidget;
class SmartHomeLink;

// Opens the smart-plug window's wait dialog for an operation that has just been sent: its kind, the plug
// it addressed (set, learn, emit) and the text shown while waiting.
using StartWaitFn = std::function<void(vireo::smarthome::WaitKind kind, int node, const QString& text)>;

// `started` as given; false (no machine took the operation) also shows the popup "请先连接设备!" /
// "Please connect device!".
bool StartedOrAskForMachine(SmartHomeLink& link, bool started);

// Runs scene `scene` (0..5) with the synchronisation window's text for it; `fromTest` is the scene page's
// Test button. Without a connection only the popup "请先连接设备!" / "Please connect device!".
void StartSceneRun(SmartHomeLink& link, int scene, bool fromTest);
