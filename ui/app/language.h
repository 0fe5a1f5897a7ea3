// The interface language of the shell: the language helper's tables when present, a stand-in until then.
#pragma once

#if __has_include("app/language_table.h")
#include "app/language_table.h"
#else
#include <QString>
#include <QWidget>

// Stand-in until the language tables land: pairs are picked by the index, windows keep their captions.
inline int& LanguageIndexStorage() {
  static int index = 0;
  return index;
}
inline int LanguageIndex() {
  return LanguageIndexStorage();
}
inline void SetLanguageIndex(int index) {
  LanguageIndexStorage() = index == 1 ? 1 : 0;
}
inline QString Pick(const QString& zh, const QString& en) {
  return LanguageIndex() == 1 ? en : zh;
}
inline QString LangText(const char* zh, const char* en) {
  return Pick(QString::fromUtf8(zh), QString::fromUtf8(en));
}
inline bool WriteLanguageTable(int) {
  return false;
}
inline QString CurrentLanguageTablePath() {
  return {};
}
inline void ApplyLanguageTexts(QWidget*, int) {}
#endif
