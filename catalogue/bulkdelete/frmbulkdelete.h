#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;

// Removes a company with all its titles, or one title, together with the
// cover prices and issues that hang from them, in one transaction.
class frmBulkDelete : public QDialog
{
    Q_OBJECT

public:
    explicit frmBulkDelete(QWidget *parent = nullptr);

    QLabel *lblStatic[2];
    QComboBox *cboCompany;
    QComboBox *cboTitle;
    QPushButton *cmdDelete;
    QPushButton *cmdCancel;

    void Form_Load();
    void cboCompany_Click();
    void cmdDelete_Click();
    void cmdCancel_Click();

    // Escape presses Delete All, the screen's cancel button, which asks
    // before anything is removed.
    void reject() override;

protected:
    // The title bar's close button leaves through Close.
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Mode { Company, Title };
    // Runs the statements of one confirmed deletion; true when committed.
    // Any failure rolls everything back and has been reported.
    bool deleteRows(Mode mode, const QString &key, QList<int> &removed);
    void refreshAfterCompanyDelete();
    void refreshAfterTitleDelete();
    // "All Titles" and the company's titles; false when it has none.
    bool fillTitles(const QString &companyId);
    void showNoTitles(const QString &company);
};

// Fills the screen's company list before it is shown; false when there is
// no company to choose (the user has been told).
bool LoadBulkDeleteCompanyList(frmBulkDelete &form);
