#pragma once

#include "db/identifiers.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Adds titles to the companies of the open collection: each Add stores the
// title and its first cover price together.
class frmAddTitle : public QDialog
{
    Q_OBJECT

public:
    explicit frmAddTitle(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *txtTitle;
    QLabel *Label4;
    QComboBox *cboCompany;
    QLabel *Label2;
    QLineEdit *txtCoverPrice;
    QLabel *Label5;
    QLineEdit *txtBeginningYear;
    QPushButton *cmdAdd;
    QPushButton *cmdExit;

    // Fills the screen from the open collection; false when it cannot be used
    // (the user has been told why).
    bool frmAddTitle_Set();

    void Form_Load();
    void txtTitle_LostFocus();
    void txtCoverPrice_GotFocus();
    void txtCoverPrice_KeyPress(int &keyAscii);
    void txtCoverPrice_LostFocus();
    void txtBeginningYear_GotFocus();
    void txtBeginningYear_KeyPress(int &keyAscii);
    void cmdAdd_Click();
    void cmdExit_Click();

    const db::IdentifierLists &titleLists() const { return m_lists; }
    QString pendingId() const { return m_pendingId; }
    bool unsavedTitle() const { return m_unsavedTitle; }

    // Escape and the title bar's close button go through cmdExit_Click.
    void reject() override;

private:
    bool checkTitle();
    bool storeTitle(const QString &title, const QString &companyId);
    void reopenTitleSlots();

    db::IdentifierLists m_lists;
    QString m_pendingId;
    bool m_unsavedTitle = false;
    QString m_tag;      // the text last accepted (or left empty) by the name check; cleared when
                        // a generation fails, as the pending identifier is then no longer its
    QString m_examined; // the text the name check last looked at, accepted or not
};
