#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

// Asks which of the stored conditions of an issue number the user means, or
// "New" for one not stored yet. The chosen code goes to the caption of the
// result label as "1" to "8", or "0" for "New"; closing without a choice
// leaves it empty.
class frmMoreMatch : public QDialog
{
    Q_OBJECT

public:
    frmMoreMatch(const QString &issueNumber, QLabel *result, QWidget *parent = nullptr);

    std::array<QRadioButton *, 9> optCondition{}; // 1 to 8, top to bottom
    QPushButton *cmdOK;

    void Form_Load(const QString &issueNumber);
    void cmdOK_Click();

    // Closing through the window frame or Escape answers with no choice.
    void reject() override;

private:
    QLabel *m_result;
};
