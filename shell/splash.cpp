#include "shell/splash.h"

#include "shell/programinfo.h"
#include "shell/toolbarimages.h"

#include "platform/controls.h"
#include "platform/twips.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace shell {

frmSplash::frmSplash(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Panelkeep"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);

    QFont serif(QStringLiteral("Times New Roman"));
    serif.setStyleHint(QFont::Serif);

    Label1[1] = new QLabel(QStringLiteral("Panelkeep"), this);
    Label1[1]->setObjectName(QStringLiteral("Label1_1"));
    QFont title = serif;
    title.setPointSize(24);
    title.setBold(true);
    Label1[1]->setFont(title);
    Label1[1]->setAlignment(Qt::AlignCenter);
    Label1[1]->setGeometry(platform::twipsRect(120, 120, 4875, 600));

    Label1[0] = new QLabel(QStringLiteral("Version 1.0"), this);
    Label1[0]->setObjectName(QStringLiteral("Label1_0"));
    QFont version = serif;
    version.setPointSize(12);
    version.setItalic(true);
    Label1[0]->setFont(version);
    Label1[0]->setAlignment(Qt::AlignCenter);
    Label1[0]->setGeometry(platform::twipsRect(120, 750, 4875, 360));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setGeometry(platform::twipsRect(120, 1200, 4875, 2520));
    // Shown at its own size (sharp on high-density screens through its @2x twin).
    Image1->setPixmap(splashPicture().pixmap(QSize(120, 120), devicePixelRatioF()));

    Label2 = new QLabel(tr("Written for collectors who would rather read comics than sort them."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setGeometry(platform::twipsRect(120, 3780, 4875, 480));

    // Below the splash's height, so only the About box shows it.
    lblLicence = new QLabel(LicenceText, this);
    lblLicence->setObjectName(QStringLiteral("lblLicence"));
    lblLicence->setAlignment(Qt::AlignCenter);
    lblLicence->setWordWrap(true);
    lblLicence->setGeometry(platform::twipsRect(120, 4395, 4875, 600));

    cmdOK = platform::placeControl<QPushButton>(this, "cmdOK", platform::twipsRect(1920, 5040, 1275, 435),
                                                QStringLiteral("OK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmSplash::cmdOK_Click);

    setFixedSize(platform::twipsToPixels(5115), platform::twipsToPixels(4335));
    Form_Load();
}

void frmSplash::Form_Load()
{
    for (QLabel *label : Label1) {
        label->setAutoFillBackground(true);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, palette().color(QPalette::Light));
        label->setPalette(p);
    }
}

void frmSplash::cmdOK_Click()
{
    hide();
}

void frmSplash::setOuterHeight(int pixels)
{
    // The frame is known once the window has been shown; before that the main
    // window's frame is the best guess.
    int frame = frameGeometry().height() - geometry().height();
    if (frame <= 0 && parentWidget())
        frame = parentWidget()->frameGeometry().height() - parentWidget()->geometry().height();
    setFixedHeight(qMax(1, pixels - qMax(0, frame)));
}

} // namespace shell
