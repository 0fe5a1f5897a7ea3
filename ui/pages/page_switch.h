// Moving between the microphone and music page and the effect EQ editor, and the pages' wheel rule.
#pragma once

#include "pages/page.h"

class QWheelEvent;
class QWidget;

// The effect EQ the next editor opens: 0 Reverb A, 1 Reverb B, 2 Echo A, 3 Echo B.
int EffectEqSelector();
// Replaces the shown page by the effect EQ editor for `selector`, once the current event is handled (the
// page that asks is destroyed by the switch).
void ShowEffectEqEditor(AppServices& app, int selector);
// Back from the editor: the microphone and music page again, on the view it had.
void ShowMusicPageAgain(AppServices& app);
// Replaces the shown page by a new page of `kind` once the current event is handled.
void ShowPageLater(AppServices& app, PageKind kind);

// A wheel turn anywhere over a page goes to the page's focused graph or slider; returns whether it was
// taken.
bool ForwardWheelToFocus(QWidget* page, QWheelEvent* event);
