// Switching the interface language at run time (button "中/EN").
#pragma once

class AppServices;
class CMainFrame;
class CRibbonBar;
class CInputControls;

// Flips the language, remembers it, writes the new table, re-captions the ribbon and, when the table
// was written, gives the open windows and the current page their new texts.
void SwitchLanguage(AppServices& app, CMainFrame& mainFrame);

// The ribbon part alone: categories, panels, labels, mute boxes, buttons, menus.
void RecaptionRibbon(CRibbonBar& ribbon, CInputControls& inputs, int languageIndex);
