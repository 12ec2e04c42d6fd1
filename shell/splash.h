#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace shell {

// The start-up splash, and with its height raised so that OK shows, the About box.
class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    void Form_Load();
    void cmdOK_Click();

    // The height of the whole window, frame included.
    void setOuterHeight(int pixels);

    std::array<QLabel *, 2> Label1{}; // (0) the version, (1) the product name
    QLabel *Image1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblLicence = nullptr; // the licence, below the splash's height
    QPushButton *cmdOK = nullptr;
};

} // namespace shell
