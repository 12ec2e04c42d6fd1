#include "db/session.h"

namespace db {

void Session::closeSlots()
{
    rsCompany.reset();
    rsTitle.reset();
    rsIssue.reset();
    rsCoverPrice.reset();
}

Session &session()
{
    static Session s;
    return s;
}

} // namespace db
