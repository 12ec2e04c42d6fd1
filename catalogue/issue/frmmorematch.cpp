#include "catalogue/issue/frmmorematch.h"

#include "catalogue/issue/issuerecords.h"
#include "platform/controls.h"
#include "platform/messagebox.h"
#include "platform/twips.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using platform::twipsRect;

frmMoreMatch::frmMoreMatch(const QString &issueNumber, QLabel *result, QWidget *parent)
    : QDialog(parent)
    , m_result(result)
{
    setObjectName(QStringLiteral("frmMoreMatch"));
    setFixedSize(platform::twipsToPixels(4335), platform::twipsToPixels(4500));
    constexpr int tops[] = {0, 120, 660, 1200, 1740, 2280, 2880, 3480, 4080};
    for (int i = 1; i <= 8; ++i) {
        auto *o = new QRadioButton(this);
        o->setObjectName(QStringLiteral("optCondition%1").arg(i));
        o->setGeometry(twipsRect(120, tops[i], 2295, 255));
        o->setVisible(false);
        optCondition[size_t(i)] = o;
    }
    cmdOK = platform::placeControl<QPushButton>(this, "cmdOK", twipsRect(2760, 120, 1455, 435),
                                                QStringLiteral("OK"));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    Form_Load(issueNumber);
}

void frmMoreMatch::Form_Load(const QString &issueNumber)
{
    setBackgroundRole(QPalette::Midlight);
    setAutoFillBackground(true);
    setWindowTitle(QStringLiteral("Which Condition for Issue ") + issueNumber);
    m_result->clear();
}

void frmMoreMatch::cmdOK_Click()
{
    for (int i = 1; i <= 8; ++i) {
        QRadioButton *o = optCondition[size_t(i)];
        if (o->isVisible() && o->isChecked()) {
            m_result->setText(QString::number(frmissue::ConditionCode(o->text())));
            hide();
            done(Accepted);
            return;
        }
    }
    platform::showMessage(QStringLiteral("You must pick a condition"), QStringLiteral("Select Condtion"),
                          platform::MsgButtons::OK, platform::MsgIcon::Critical);
}

void frmMoreMatch::reject()
{
    m_result->clear();
    QDialog::reject();
}
