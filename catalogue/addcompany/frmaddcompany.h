#pragma once

#include "db/identifiers.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Adds publishing companies one after another. Each typed name is checked
// and given its Company_ID when the name box is left; Add stores it.
class frmAddCompany : public QDialog
{
    Q_OBJECT

public:
    explicit frmAddCompany(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *txtCompanyName;
    QPushButton *cmdExit;
    QPushButton *cmdAdd;

    void Form_Load();
    void txtCompanyName_GotFocus();
    void txtCompanyName_LostFocus();
    void cmdAdd_Click();
    void cmdExit_Click();

    // What the name check and Add work from (read by tests too).
    const db::IdentifierLists &companyLists() const { return m_lists; }
    QString pendingId() const { return m_pendingId; }
    QString nameTag() const { return m_tag; }

    // Escape and the title bar's close button go through cmdExit_Click.
    void reject() override;

private:
    // The check on leaving the name box; true when the name was accepted.
    bool checkName();

    db::IdentifierLists m_lists;
    QString m_pendingId;  // Company_ID of the last accepted name, FailedID after a failed generation
    QString m_tag;        // the text last accepted (or left empty) by the name check; cleared when
                          // a generation fails, as the pending identifier is then no longer its
    QString m_examined;   // the text the name check last looked at, accepted or not
    QString m_failedName; // the text for which no identifier could be generated
};
