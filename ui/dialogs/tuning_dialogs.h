// Opening and refreshing the modeless tuning dialogs held in the application's window slots.
#pragma once

class AppServices;

// F7: creates and shows the machine settings dialog, or shows the open one as it is.
void OpenMachineSettings(AppServices& app);
// The ribbon's "Features" and "Input Source": created when missing, then in any case centred, filled
// from the store, given the language's texts and shown.
void OpenFeatures(AppServices& app);
void OpenMusicInput(AppServices& app);

// Every existing tuning dialog from the store, shown or hidden. After a synchronisation the machine
// settings dialog shows the settings the machine reported; after an undo or redo it keeps its
// unapplied edits.
void RefreshTuningDialogs(AppServices& app, bool afterSync);
// The language switch.
void RecaptionTuningDialogs(AppServices& app);
