#include "reports/frmbrowsecomics.h"

#include "platform/controls.h"
#include "platform/twips.h"
#include "reports/browsegrid.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

using platform::twipsRect;
using platform::twipsToPixels;

namespace {
constexpr int TwipsPerPixel = 15;
// Export sits left of Close, a button's width and a gap away.
constexpr int ExportOffset = 1455 + 120;
} // namespace

frmBrowseComics::frmBrowseComics(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBrowseComics"));
    setWindowTitle(QStringLiteral("Browse Comics"));

    cmdClose = platform::placeControl<QPushButton>(this, "cmdClose", twipsRect(6720, 120, 1455, 435),
                                                   QStringLiteral("&Close"));
    cmdExport = platform::placeControl<QPushButton>(
        this, "cmdExport", twipsRect(6720 - ExportOffset, 120, 1455, 435), QStringLiteral("E&xport..."));
    // On a form too narrow for both, Close stays on top.
    cmdClose->raise();

    grdBrowse = new BrowseGrid(7, this);
    grdBrowse->setObjectName(QStringLiteral("grdBrowse"));
    grdBrowse->setGeometry(twipsRect(120, 660, 8055, 2535));

    // Close keeps the focus the form opens with; Export is one Tab away.
    setTabOrder(cmdClose, cmdExport);
    setTabOrder(cmdExport, grdBrowse);
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { cmdExport_Click(); });
    connect(grdBrowse, &QAbstractItemView::doubleClicked, this, [this] { grdBrowse_DblClick(); });

    resize(twipsToPixels(8340), twipsToPixels(5760));
}

void frmBrowseComics::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmBrowseComics::showEvent(QShowEvent *event)
{
    // The grid keeps the form's width less 240 twips (Form_Resize).
    const int wanted = grdBrowse->fitColumns() + width() - grdBrowse->width();
    const QScreen *s = screen();
    const int room = s ? s->availableGeometry().width() - (frameGeometry().width() - width()) : wanted;
    if (wanted > width())
        resize(qMin(wanted, room), height());
    QDialog::showEvent(event);
}

void frmBrowseComics::Form_Resize()
{
    // The rules are written for the window's outer size; the frame is known
    // only once the window system has framed the window.
    const int frameWidth = qMax(0, frameGeometry().width() - width());
    const int frameHeight = qMax(0, frameGeometry().height() - height());
    const int w = (width() + frameWidth) * TwipsPerPixel;
    const int h = (height() + frameHeight) * TwipsPerPixel;

    const int closeLeft = w - 1755 > 0 ? w - 1755 : 10;
    cmdClose->move(twipsToPixels(closeLeft), cmdClose->y());
    cmdExport->move(twipsToPixels(qMax(10, closeLeft - ExportOffset)), cmdExport->y());
    if (w - 240 > 5)
        grdBrowse->resize(twipsToPixels(w - 240), grdBrowse->height());
    if (h - 1350 > 5)
        grdBrowse->resize(grdBrowse->width(), twipsToPixels(h - 1350));
}

void frmBrowseComics::cmdClose_Click()
{
    QDialog::reject();
}

void frmBrowseComics::cmdExport_Click()
{
    reports::ExportBrowseData(*this);
}

void frmBrowseComics::grdBrowse_DblClick()
{
    // Browsing is read-only: a double click opens nothing.
}

void frmBrowseComics::reject()
{
    cmdClose_Click();
}
