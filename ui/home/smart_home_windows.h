// Opening the smart-home windows from their ribbon commands, and handing them the machine's events.
#pragma once

#include <cstdint>

class AppServices;

// The remote-learning window, the same way; only with a machine (its keys are learned on the machine).
void OpenRemoteLearning(AppServices& app);
// The smart-plug window: created when missing, otherwise the open one; centred, in the current language.
// It opens without a machine too (the caller reminds the user).
void OpenSmartPlugs(AppServices& app);
// A learned remote key (1001) goes to the remote-learning window, the controller's events (3024) and the
// ends of reads, resets and scene runs (3025) to the smart-plug window; without their window they are
// dropped. True when `message` is one of these.
bool RouteSmartHomeEvent(AppServices& app, int message, std::intptr_t a, std::intptr_t b);
// The language switch.
void RecaptionSmartHomeWindows(AppServices& app);
