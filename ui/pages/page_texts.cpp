// Page captions.
#include "pages/page_texts.h"

#include "i18n/language_table.h"

QString DialogText(int dialogId, int controlId, const QString& fallback) {
  const QString text = LookupLanguageText(dialogId, QString::number(controlId));
  return text.isEmpty() ? fallback : text;
}

QString DialogText(int dialogId, int controlId, const char* zhUtf8, const char* enUtf8) {
  return DialogText(dialogId, controlId, LangText(zhUtf8, enUtf8));
}
