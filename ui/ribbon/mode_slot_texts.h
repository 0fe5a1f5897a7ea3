// Names of the four mode slots as the menus, the status bar, the questions and the notices show them.
#pragma once

#include <QString>

// "电影", "K歌", "游戏", "AV" / "Movie", "Karaoke", "Game", "AV"; slot clamped to 0..3.
QString ModeSlotName(int slot, int languageIndex);
// "电影模式", ... / "Movie Mode", ... (the saving notice).
QString ModeSlotModeName(int slot, int languageIndex);
// "电影模式?", ... / "Movie Mode?", ... (the questions).
QString ModeSlotQuestionTail(int slot, int languageIndex);
