#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Shows and changes the current cover price of one title: a company is
// chosen, then one of its titles, and its price row is edited in place.
class frmCoverPrice : public QDialog
{
    Q_OBJECT

public:
    explicit frmCoverPrice(QWidget *parent = nullptr);

    QLabel *lblStatic[3];
    QComboBox *cboCompany;
    QComboBox *cboTitle;
    QLineEdit *txtCoverPrice;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

    void Form_Load();
    void cboCompany_Click();
    void cboTitle_Click();
    void txtCoverPrice_GotFocus();
    void txtCoverPrice_KeyPress(int &keyAscii);
    void txtCoverPrice_LostFocus();
    void cmdOK_Click();
    void cmdCancel_Click();

    bool priceChanged() const { return m_priceChanged; }
    QString priceTag() const { return m_tag; }

    // Escape and the title bar's close button both go through Close, so a
    // pending change is never dropped without the question.
    void reject() override;

private:
    void forgetPendingChange();
    void showOKForChange();
    bool savePrice(const QString &text);

    bool m_priceChanged = false;
    QString m_tag;     // the price text last shown or accepted
    QString m_titleId; // the title whose price is shown
};

// Fills the screen's company list before it is shown; false when there is
// no company to choose (the user has been told).
bool LoadCoverPriceCompanyList(frmCoverPrice &form);
