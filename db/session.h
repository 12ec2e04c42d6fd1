#pragma once

#include "platform/database.h"
#include "platform/recordset.h"
#include "platform/workspace.h"

#include <memory>

namespace db {

// The open collection and the four recordset slots that the screens share.
// The shell sets dbCollection; a screen or list fill replaces a slot by
// opening a new recordset into it.
struct Session
{
    platform::Database dbCollection;
    std::unique_ptr<platform::Recordset> rsCompany;
    std::unique_ptr<platform::Recordset> rsTitle;
    std::unique_ptr<platform::Recordset> rsIssue;
    std::unique_ptr<platform::Recordset> rsCoverPrice;

    // Closes the four slots (dbCollection stays as it is).
    void closeSlots();
};

Session &session();

// The shorthand most code wants.
inline platform::Database &dbCollection()
{
    return session().dbCollection;
}

} // namespace db
