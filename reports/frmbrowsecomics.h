#pragma once

#include "reports/browsecomics.h"

#include <QDialog>

class BrowseGrid;
class QPushButton;

// Shows the issues of a selection, read-only, until the user closes it. The
// selection screen fills it through LoadBrowseData while it is still hidden.
class frmBrowseComics : public QDialog
{
    Q_OBJECT

public:
    explicit frmBrowseComics(QWidget *parent = nullptr);

    QPushButton *cmdClose;
    QPushButton *cmdExport;
    BrowseGrid *grdBrowse;

    // What LoadBrowseData selected, so an export reads the same issues.
    reports::BrowseSelection shown;

    void Form_Resize();
    void cmdClose_Click();
    void cmdExport_Click();
    void grdBrowse_DblClick();

    // Escape and the title bar's close button go through cmdClose_Click.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Opens wide enough to show all seven columns, as far as the screen allows.
    void showEvent(QShowEvent *event) override;
};
