// crashwriter delete|add FILE: makes changes to a collection through the real
// screens, for the crash test to kill at random moments. Prints "ready" once
// the screen is open and "done" when every change is made.

#include "catalogue/addtitle/frmaddtitle.h"
#include "catalogue/bulkdelete/frmbulkdelete.h"
#include "catalogue/issue/frmaddissue.h"
#include "db/collectionfile.h"
#include "db/session.h"
#include "platform/engineerror.h"
#include "support/combochoice.h"
#include "support/keyboard.h"
#include "support/openscreen.h"
#include "support/scriptedui.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

using platform::MsgAnswer;

namespace {

void say(const char *what)
{
    std::printf("%s\n", what);
    std::fflush(stdout);
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    typeText(box, text);
}

int deleteCompany()
{
    ScriptedUi ui;
    auto f = openScreen<frmBulkDelete>([](frmBulkDelete &s) { return LoadBulkDeleteCompanyList(s); });
    if (!f || !chooseItem(f->cboCompany, QStringLiteral("Big Press")) ||
        !chooseItem(f->cboTitle, QStringLiteral("All Titles")))
        return 2;
    ui.answer(MsgAnswer::Yes);
    say("ready");
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);
    return db::dbCollection()
        .scalar(QStringLiteral("SELECT count(*) FROM Company WHERE Company_ID = 'BIG'"))
        .toInt();
}

int addTitlesAndIssues(int titles, int issues)
{
    ScriptedUi ui;
    {
        auto f = openScreen<frmAddTitle>([](frmAddTitle &s) { return s.frmAddTitle_Set(); });
        if (!f)
            return 2;
        f->cboCompany->setFocus();
        typeText(f->cboCompany, QStringLiteral("Acme"));
        QTest::keyClick(f->cboCompany, Qt::Key_Return); // a typed choice takes effect on Enter
        say("ready");
        for (int i = 1; i <= titles; ++i) {
            typeInto(f->txtTitle, QStringLiteral("Crash %1").arg(i));
            typeInto(f->txtCoverPrice, QStringLiteral("1.25"));
            QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        }
        f->close();
    }
    db::session().closeSlots();
    auto f = openScreen<frmAddIssue>([](frmAddIssue &s) { return LoadIssueCompanyList(s); });
    if (!f)
        return 2;
    f->cboCompany->setFocus();
    typeText(f->cboCompany, QStringLiteral("Acme"));
    QTest::keyClick(f->cboCompany, Qt::Key_Return); // a typed choice takes effect on Enter
    f->cboTitle->setFocus();
    typeText(f->cboTitle, QStringLiteral("Kite"));
    QTest::keyClick(f->cboTitle, Qt::Key_Return); // a typed choice takes effect on Enter
    for (int i = 1; i <= issues; ++i) {
        typeInto(f->txtIssueNumber, QString::number(i));
        typeInto(f->txtQuantity, QStringLiteral("2"));
        typeInto(f->txtOriginalPrice, QStringLiteral("1.25"));
        typeInto(f->txtCurrentValue, QStringLiteral("3.5"));
        QTest::mouseClick(f->cmdAddIssue, Qt::LeftButton);
    }
    return ui.boxes.isEmpty() ? 0 : 3;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    try {
        db::session().dbCollection = db::OpenCollectionFile(args.at(2));
        const int rc = args.at(1) == QLatin1String("delete") ? deleteCompany() : addTitlesAndIssues(10, 40);
        say("done");
        std::fflush(stdout);
        std::_Exit(rc); // the test only cares about what reached the file
    } catch (const platform::EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 4;
    }
}
