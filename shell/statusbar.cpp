#include "shell/statusbar.h"

#include "platform/keyboardstate.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace shell {

namespace {
// Holds the message panel where the status bar places it. The holder has
// no layout, so a new message repaints the panel but does not lay out the
// status bar and the main window again (long work writes hundreds of
// progress texts).
class MessageHolder : public QWidget
{
public:
    MessageHolder(QLabel *label, QWidget *parent)
        : QWidget(parent)
        , m_label(label)
    {
        m_label->setParent(this);
    }
    QSize sizeHint() const override { return {m_label->minimumWidth(), m_label->sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent *) override { m_label->setGeometry(rect()); }

private:
    QLabel *m_label;
};
} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("sbMain"));
    setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("sbMainPanel%1").arg(i + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMargin(1);
        m_panels[i] = label;
    }
    m_panels[0]->setMinimumWidth(200);
    m_panels[0]->setTextFormat(Qt::PlainText);
    addWidget(new MessageHolder(m_panels[0], this), 1);
    m_panels[1]->setText(tr("INS"));
    m_panels[2]->setText(tr("CAPS"));
    for (int i = 1; i < 4; ++i) {
        m_panels[i]->setAlignment(Qt::AlignCenter);
        addPermanentWidget(m_panels[i]);
    }
    const int lockWidth = fontMetrics().horizontalAdvance(QStringLiteral("CAPS")) + 16;
    m_panels[1]->setMinimumWidth(lockWidth);
    m_panels[2]->setMinimumWidth(lockWidth);
    m_panels[1]->setToolTip(tr("Insert key"));
    m_panels[2]->setToolTip(tr("Caps Lock"));

    auto &keys = platform::KeyboardState::instance();
    connect(&keys, &platform::KeyboardState::changed, this, &StatusBar::refreshIndicators);
    // The date turns over at midnight, and Caps Lock may change while another
    // program has the keyboard.
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, [this] {
        platform::KeyboardState::instance().refresh();
        refreshIndicators();
    });
    m_clock->start();
    refreshIndicators();
}

QLabel *StatusBar::panel(int index) const
{
    return m_panels.at(index - 1);
}

void StatusBar::setPanelText(int index, const QString &text)
{
    panel(index)->setText(text);
}

void StatusBar::refreshIndicators()
{
    const auto &keys = platform::KeyboardState::instance();
    m_panels[1]->setEnabled(keys.insertOn());
    m_panels[2]->setEnabled(keys.capsLockOn());
    const QString today = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (m_panels[3]->text() != today)
        m_panels[3]->setText(today);
}

} // namespace shell
