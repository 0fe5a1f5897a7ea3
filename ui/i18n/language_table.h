// The interface language: the process-wide language index, in-code text pairs, and the dialog language
// tables.
#pragma once

#include <QString>

class QWidget;

// 0 Chinese, 1 English. Set at start-up from the settings and by the language switch.
int LanguageIndex();
void SetLanguageIndex(int index);  // 1 selects English, any other value Chinese

// The element of an in-code text pair for the current language.
QString Pick(const QString& zh, const QString& en);
QString LangText(const char* zhUtf8, const char* enUtf8);

// Writes the embedded table of `languageIndex` (1 English, otherwise Chinese) to a new temporary file whose
// name starts with "NOV" and makes that file the current language table file, replacing (and deleting) the
// previous one. Returns whether every byte of the table was written. When the file cannot be written, the
// new file still becomes current, so that lookups find nothing and windows keep their captions.
bool WriteLanguageTable(int languageIndex);

// The path of the current language table file; empty before the first write or when no file could be made.
QString CurrentLanguageTablePath();

// The value of key "IDD<dialogId>_<keySuffix>" in section "String" of the current language table file
// (suffix "title" or a control id); empty when the file, the key or the value is missing.
QString LookupLanguageText(int dialogId, const QString& keySuffix);

// Gives `window` the title "IDD<dialogId>_title" and each DIRECT child widget that carries the property
// "controlId" the caption "IDD<dialogId>_<controlId>", where the current table has a non-empty value.
// Buttons and labels take it with setText, group boxes with setTitle, every other widget (sliders, lists,
// drawn controls) as its window title, the window text that a drawn control may paint. Grandchildren are
// not visited: an embedded page applies its own dialog id.
void ApplyLanguageTexts(QWidget* window, int dialogId);
