#include "db/lookuplists.h"

#include "db/session.h"
#include "platform/engineerror.h"
#include "platform/messagebox.h"

#include <QComboBox>

namespace db {

namespace {
std::optional<QString> keyFor(platform::Recordset *rs, const QString &column, const QString &name,
                              const QString &keyColumn)
{
    if (!rs || !rs->isOpen())
        return std::nullopt;
    // A structured criterion: the name is bound as a value, so quotes in it
    // are just characters.
    rs->findFirst({{column, name}});
    if (rs->noMatch())
        return std::nullopt;
    return rs->value(keyColumn).toString();
}
} // namespace

void showDataError()
{
    platform::showMessage(UnexpectedDataErrorText, QStringLiteral("Data Error"), platform::MsgButtons::OK,
                          platform::MsgIcon::None);
}

bool fillCompanyListWith(const std::function<void(const QString &)> &addItem)
{
    Session &s = session();
    s.rsCompany.reset(); // a failed open must not leave the last list's rows behind
    try {
        s.rsCompany = s.dbCollection.openRecordset(CompanyListSql);
        s.rsCompany->moveFirst();
        if (s.rsCompany->eof())
            return false;
        while (!s.rsCompany->eof()) {
            addItem(s.rsCompany->value(QStringLiteral("Company")).toString());
            s.rsCompany->moveNext();
        }
        return true;
    } catch (const platform::EngineError &) {
        int count = -1;
        try {
            if (s.rsCompany)
                count = s.rsCompany->recordCount();
        } catch (const platform::EngineError &) {
            count = 1; // not an empty table: something else went wrong
        }
        if (s.rsCompany && (count == 0 || count == -1))
            platform::showMessage(
                QStringLiteral("Please enter Company information prior to using this function."),
                QStringLiteral("No Company Data"), platform::MsgButtons::OK, platform::MsgIcon::None);
        else
            showDataError();
        return false;
    }
}

bool FillTitleList(QComboBox *list, const QString &companyId)
{
    Session &s = session();
    s.rsTitle = s.dbCollection.openRecordset(
        QStringLiteral("Select Title, Title_ID from Title where Company_ID = ? order by Title COLLATE ") +
            platform::NameOrder,
        platform::RecordsetType::Dynaset, {companyId});
    if (s.rsTitle->eof())
        return false;
    s.rsTitle->moveFirst();
    while (!s.rsTitle->eof()) {
        list->addItem(s.rsTitle->value(QStringLiteral("Title")).toString());
        s.rsTitle->moveNext();
    }
    list->setVisible(true);
    return true;
}

std::optional<QString> CompanyIdForName(const QString &company)
{
    return keyFor(session().rsCompany.get(), QStringLiteral("Company"), company,
                  QStringLiteral("Company_ID"));
}

std::optional<QString> TitleIdForName(const QString &title)
{
    return keyFor(session().rsTitle.get(), QStringLiteral("Title"), title, QStringLiteral("Title_ID"));
}

} // namespace db
