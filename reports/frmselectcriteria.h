#pragma once

#include "platform/reportcontrol.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace reports {
struct Selection;
}

// The selection of company, title, conditions, quantity and current value
// shared by browsing (use 0) and the three reports (uses 1 to 3); the
// missing-issues report (use 4) takes company and title only. OK hands the
// selection on to the browse grid or to BuildReport.
class frmSelectCriteria : public QDialog
{
    Q_OBJECT

public:
    explicit frmSelectCriteria(QWidget *parent = nullptr);

    QLabel *lblCompany;
    QComboBox *cboCompany;
    QLabel *lblTitle;
    QComboBox *cboTitle;
    QCheckBox *chkPrintPreview;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QPushButton *cmdMore;
    QLabel *lblStatic;
    QListWidget *lstCondition;
    QGroupBox *fraQuantity;
    QRadioButton *optQuantityAll;
    QRadioButton *optQuantityEqual;
    QRadioButton *optQuantityGreater;
    QRadioButton *optQuantityLess;
    QLineEdit *txtQuantity;
    QGroupBox *fraCurrentValue;
    QRadioButton *optValueAll;
    QRadioButton *optValueGreater;
    QRadioButton *optValueLess;
    QLineEdit *txtValue;
    platform::ReportControl KepixReport;

    // Where the report files are and which collection they read; set by
    // the command that opens the screen.
    QString appDir;
    QString currentPath;

    // Sets the use (0 browse, 1 to 4 the reports). False when the screen
    // cannot be used because the collection has no companies (the user has
    // been told).
    bool frmSelectCriteria_SetUpForm(int inStyle);
    int inStyle() const { return m_inStyle; }
    static constexpr int MissingIssuesUse = 4;

    // Runs report inStyle for the selection; the screen stays open.
    void BuildReport(const reports::Selection &selection);

    void Form_Load();
    void cboCompany_Click();
    void cboTitle_Click();
    void cmdMore_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void optQuantityAll_Click();
    void optQuantityEqual_Click();
    void optQuantityGreater_Click();
    void optQuantityLess_Click();
    void optValueAll_Click();
    void optValueGreater_Click();
    void optValueLess_Click();
    void txtQuantity_GotFocus();
    void txtQuantity_KeyPress(int &keyAscii);
    void txtValue_GotFocus();
    void txtValue_KeyPress(int &keyAscii);
    void txtValue_LostFocus();

    // Escape and the title bar's close button go through cmdCancel_Click.
    void reject() override;

private:
    void browse(const reports::Selection &selection);
    void HideTitleChoice();
    void setFormHeight(int twips);
    void fitToText();
    void placeBox(QLineEdit *box, QRadioButton *option, const QString &text);

    int m_formWidth = 0;
    int m_inStyle = 0;
    bool m_loaded = false;
    QString m_companyId;
    QString m_titleId;
};
