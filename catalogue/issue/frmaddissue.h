#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
namespace platform {
class TextArea;
}

// Adds, looks up, edits, deletes and pages through the issues of one title.
// The record logic lives in issuerecords.h and works on these controls.
class frmAddIssue : public QDialog
{
    Q_OBJECT

public:
    explicit frmAddIssue(QWidget *parent = nullptr);

    QLabel *Label1;
    QComboBox *cboCompany;
    QLabel *Label2;
    QComboBox *cboTitle;
    QPushButton *cmdExit;
    QGroupBox *fraAddIssue;
    QLabel *Label3;
    QLineEdit *txtIssueNumber;
    QGroupBox *fraCondition;
    std::array<QRadioButton *, 9> optCondition{}; // 1 to 8: the index is the condition code
    QLabel *Label4;
    QLineEdit *txtQuantity;
    QLabel *Label5;
    QLineEdit *txtOriginalPrice;
    QLabel *Label6;
    QLineEdit *txtCurrentValue;
    QLabel *Label7;
    platform::TextArea *txtNotes;
    QPushButton *cmdAddIssue;
    QPushButton *cmdUpdateIssue;
    QPushButton *cmdDeleteIssue;
    std::array<QPushButton *, 2> cmdScroll{}; // 0 next, 1 previous
    // State holders for the record operations; never shown.
    QLabel *lblTitleID;
    QLabel *lblCurrentSelect;
    QLabel *lblCondition;
    QLabel *lblCoverPrice;

    // "", "Init", "Add", "Update" or "PassThrough".
    QString editMode;
    int lastCondition = 0;

    // The shown value of each text box: a field counts as edited when its
    // text differs from its tag on leaving it.
    QString tag(const QWidget *box) const;
    void setTag(QWidget *box, const QString &value);
    // Text and tag together.
    void setShown(QLineEdit *box, const QString &value);
    void setShown(platform::TextArea *box, const QString &value);

    void txtIssueNumber_LostFocus_Standin(bool &result);

    void Form_Load();
    void cboCompany_GotFocus();
    void cboCompany_Click();
    void cboTitle_GotFocus();
    void cboTitle_Click();
    void txtIssueNumber_GotFocus();
    void txtIssueNumber_KeyPress(int &keyAscii);
    void txtIssueNumber_LostFocus();
    void txtQuantity_GotFocus();
    void txtQuantity_KeyPress(int &keyAscii);
    void txtQuantity_LostFocus();
    void txtOriginalPrice_GotFocus();
    void txtOriginalPrice_KeyPress(int &keyAscii);
    void txtOriginalPrice_LostFocus();
    void txtCurrentValue_GotFocus();
    void txtCurrentValue_KeyPress(int &keyAscii);
    void txtCurrentValue_LostFocus();
    void txtNotes_GotFocus();
    void txtNotes_LostFocus();
    void optCondition_Click(int index);
    void cmdAddIssue_Click();
    void cmdUpdateIssue_Click();
    void cmdDeleteIssue_Click();
    void cmdScroll_Click(int index);
    void cmdExit_Click();

    // Escape and the title bar's close button go through cmdExit_Click.
    void reject() override;

    // Selects an option from code; runs optCondition_Click as a click does.
    void selectCondition(int code);
    // Hides the issue frame, first moving the focus out of it so that no
    // list's got-focus handler runs because of the hiding.
    void hideIssueFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fieldLeft(QWidget *box, const QString &text);
    void moneyLeft(QLineEdit *box);
    void showDeleteButton();
    void showStoredIssue();
    void reportEngineError(const QString &what, const QString &text);
    void optConditionClickUnguarded(int index);

    bool m_returningFocus = false;
};

// Fills the company list of the issue screen; false (the user has been told
// why) when the screen cannot be used.
bool LoadIssueCompanyList(frmAddIssue &form);
