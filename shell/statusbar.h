#pragma once

#include <QStatusBar>
#include <array>

class QFrame;
class QLabel;
class QTimer;

namespace shell {

// The main window's status bar: panel 1 the message line (the wide one),
// panel 2 the Insert-key state, panel 3 the Caps Lock state, panel 4 today's
// date. A lock panel shows its name, greyed while the lock is off.
class StatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    // 1-based, as the panels are numbered.
    QWidget *panel(int index) const;
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

    // Re-reads the lock states and the date.
    void refreshIndicators();

private:
    QFrame *m_message = nullptr;        // panel 1
    std::array<QLabel *, 4> m_panels{}; // panels 2 to 4 (entry 0 unused)
    QTimer *m_clock = nullptr;
};

} // namespace shell
