#pragma once
// Errors of the database access layer. Every failing operation throws a
// DbError with a number and a description: numbers 3000-3999 are the layer's
// own (the numbering the program's messages have always shown), negative
// numbers come from the database driver, whose text is the description.

#include <QString>

#include <stdexcept>

namespace pv {

inline constexpr long DbErrArguments = 3001;           // bad criteria, sort or argument
inline constexpr long DbErrNoCurrentRecord = 3021;     // BOF or EOF, or the row was deleted
inline constexpr long DbErrNotUpdatable = 3251;        // the source cannot be written
inline constexpr long DbErrItemNotFound = 3265;        // no field of that name
inline constexpr long DbErrClosed = 3704;              // the recordset is not open
inline constexpr long DbErrCancelled = 3712;           // the user cancelled the operation
inline constexpr long DbErrProvider = -2147467259;     // the driver refused (0x80004005)
inline constexpr long DbErrRowNotFound = -2147217864;  // row changed or deleted by another user

class DbError : public std::runtime_error {
 public:
  DbError(long number, const QString& description);
  long Number() const { return m_number; }
  QString Description() const { return m_description; }

 private:
  long m_number;
  QString m_description;
};

}  // namespace pv
