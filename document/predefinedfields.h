#pragma once
// The three built-in merge fields a database-field object may name instead
// of a column: the counter, the current date and a random number. They are
// stored in the object by key; lists and the screen show their captions.

#include <QString>

namespace pv {

// The keys' common prefix (the field picker's group key).
inline constexpr const char* kPredefinedFieldPrefix = "KINTERNAL238547";
inline constexpr const char* kPredefinedCounter = "KINTERNAL238547-01";
inline constexpr const char* kPredefinedDate = "KINTERNAL238547-02";
inline constexpr const char* kPredefinedRandom = "KINTERNAL238547-03";

// Trims blanks (spaces only) from `key` in place (callers rely on it), then gives the
// caption of a predefined key ("Contatore", "Data corrente", "Numero random"
// from the string table) or the trimmed key itself. Keys compare exactly.
QString GetPredefinedFieldCaption(QString& key);
// Trims `key` the same way; 1, 2 or 3 for a predefined key, else 0.
int GetPredefinedFieldCode(QString& key);

// The key of a code 1-3; empty for any other code.
QString PredefinedFieldKey(int code);
// The caption of the predefined fields' group ("Campi predefiniti").
QString PredefinedFieldGroupCaption();

}  // namespace pv
