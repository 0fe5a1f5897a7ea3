// Switching the interface language at run time (button "中/EN").
#pragma once

class CKestrelv13App;
class CRibbonBar;
class CInputControls;

// Flips the language, remembers it, writes the new table, re-captions the ribbon and, when the table
// was written, gives the open windows and the current page their new texts.
void SwitchLanguage(CKestrelv13App& app);

// The ribbon part alone: categories, panels, labels, mute boxes, buttons, menus.
void RecaptionRibbon(CRibbonBar& ribbon, CInputControls& inputs, int languageIndex);
