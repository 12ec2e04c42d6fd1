#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// Error numbers callers test for. They follow the numbering the collection
// screens were written against, so a handler can tell "no current record"
// from "duplicate key" without parsing texts.
namespace errnum {
inline constexpr int Overflow = 6;               // number out of range for the column
inline constexpr int NoCurrentRecord = 3021;     // move/read with no current row (also MoveFirst on empty)
inline constexpr int DuplicateKey = 3022;        // unique index violated
inline constexpr int FileNotFound = 3024;        // open of a missing file
inline constexpr int ReadOnly = 3027;            // write through a snapshot or read-only recordset
inline constexpr int DeletedRecord = 3167;       // the current row was deleted
inline constexpr int UpdateWithoutEdit = 3020;   // Update without AddNew/Edit
inline constexpr int TooLong = 3163;             // text longer than its column
inline constexpr int RelatedRecordExists = 3200; // delete/re-key of a row with dependants
inline constexpr int RelatedRecordRequired = 3201; // row without its primary row
inline constexpr int DatabaseExists = 3204;      // create over an existing file
inline constexpr int FieldRequired = 3314;       // null in a required column
inline constexpr int ZeroLength = 3315;          // "" in a column that does not allow it
inline constexpr int ValidationRule = 3317;      // any other column rule (range, type)
inline constexpr int NotACollection = 3343;      // file is not a collection (wrong format or schema)
inline constexpr int ItemNotFound = 3265;        // unknown field name
inline constexpr int TypeConversion = 3421;      // text that is not a valid value for the column
inline constexpr int InvalidBookmark = 3159;     // bookmark of a row no longer in the recordset
inline constexpr int ObjectClosed = 3420;        // use of a closed database or recordset
inline constexpr int NoTransaction = 3034;       // commit/rollback without beginTrans
inline constexpr int Generic = 3000;             // any other engine failure
inline constexpr int DialogCancelled = 32755;    // the user pressed Cancel in a file dialog
inline constexpr int ReportCancelled = 20000;    // a report run was cancelled
} // namespace errnum

// The one error type every engine and platform failure raises.
class EngineError : public std::runtime_error
{
public:
    EngineError(int number, const QString &text);

    int number() const noexcept { return m_number; }
    const QString &text() const noexcept { return m_text; }

private:
    int m_number;
    QString m_text;
};

} // namespace platform
