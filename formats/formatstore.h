#pragma once
// The store of the print formats (table rst_format of the program database).
// Every reader and writer of formats goes through here: no filter is set on
// the shared recordset rsFormat and nothing depends on its current row; each
// write re-reads rsFormat so its other readers see the change. Values travel
// as bound parameters, so any code (an apostrophe included) just works.
// Every failure throws DbError and leaves the table as it was.

#include "formats/printformat.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <vector>

namespace pv {

// Every format, in the table's own row order.
std::vector<PrintFormat> AllFormats();

// The format whose code equals `code` once both are trimmed, in any letter case.
std::optional<PrintFormat> FindFormat(const QString& code);

// The formats whose label is within 0.2 mm of `width` x `height` both ways
// (strictly less than 0.2 mm off), in the table's order.
std::vector<PrintFormat> FormatsOfSize(double width, double height);
bool SameLabelSize(double width, double height, double otherWidth, double otherHeight);

// Adds the format, or replaces the one of the same code; a replaced row keeps
// its place in the table and its last-used mark, a new one starts unmarked.
// Texts are stored trimmed.
void StoreFormat(const PrintFormat& format);

// Removes the format of that code; false when there is none.
bool DeleteFormat(const QString& code);

// The mark of the format last chosen for its label size.
bool FormatLastUsed(const QString& code);
void SetFormatLastUsed(const QString& code, bool used);
// Clears the mark of every format of that label size (as FormatsOfSize).
void ClearLastUsedOfSize(double width, double height);

// Adds rows of eighteen values each, as they come (record order; Null stays
// Null), one after the other. The first row refused (a code already present,
// a missing code) stops it: the rows before it stay, and DbError is thrown.
// `added` counts the rows added.
void AddFormatRows(const std::vector<std::vector<QVariant>>& rows, std::int32_t& added);

}  // namespace pv
