// The identifier generators: the key is 1 to 3 characters and not among the
// existing keys, unless generation failed ("@@@") or the name has nothing
// usable (""). Input: the name, then existing keys, one a line.
#include "fuzztarget.h"

#include "db/identifiers.h"
#include "platform/messagebox.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool quiet = [] {
        platform::setMessageHandler([](const platform::MessageRequest &) { return platform::MsgAnswer::OK; });
        return true;
    }();
    (void)quiet;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QLatin1Char('\n'));
    const QString name = lines.first().left(40);
    const QStringList ids = lines.mid(1, 40);
    for (const bool company : {true, false}) {
        const QString id = company ? db::MakeCompanyID(name, ids) : db::MakeTitleID(name, ids);
        if (id == db::FailedID || id.isEmpty())
            continue;
        const qsizetype chars = id.toUcs4().size();
        FUZZ_CHECK(chars >= 1 && chars <= 3);
        if (ids.isEmpty() || ids.first().isEmpty())
            continue; // no existing keys: the base candidate stands
        for (const QString &existing : ids)
            FUZZ_CHECK(company ? existing != id : existing.toUpper() != id.toUpper());
    }
    return 0;
}
