// Mode slot names.
#include "ribbon/mode_slot_texts.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<const char*, 4> kZh{"电影", "K歌", "游戏", "AV"};
constexpr std::array<const char*, 4> kEn{"Movie", "Karaoke", "Game", "AV"};

std::size_t Index(int slot) {
  return static_cast<std::size_t>(std::clamp(slot, 0, 3));
}
}  // namespace

QString ModeSlotName(int slot, int languageIndex) {
  return QString::fromUtf8(languageIndex == 1 ? kEn[Index(slot)] : kZh[Index(slot)]);
}

QString ModeSlotModeName(int slot, int languageIndex) {
  return ModeSlotName(slot, languageIndex) +
         (languageIndex == 1 ? QStringLiteral(" Mode") : QStringLiteral("模式"));
}

QString ModeSlotQuestionTail(int slot, int languageIndex) {
  return ModeSlotModeName(slot, languageIndex) + '?';
}
