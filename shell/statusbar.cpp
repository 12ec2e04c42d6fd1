#include "shell/statusbar.h"

#include "platform/keyboardstate.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <algorithm>

namespace shell {

namespace {
// The message panel: a sunken frame across the status bar's free width, its
// text in a label as wide as the text. A new message repaints the width of
// the old and the new text rather than the whole panel, and lays out
// nothing: long work writes hundreds of progress texts, each of which the
// display must take before the work goes on.
class MessagePanel : public QFrame
{
public:
    explicit MessagePanel(QWidget *parent)
        : QFrame(parent)
        , m_label(new QLabel(this))
    {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setAutoFillBackground(true);
        m_label->setTextFormat(Qt::PlainText);
        m_label->setMargin(1);
        // Opaque, so its repaint does not reach the panel beneath.
        m_label->setAutoFillBackground(true);
    }
    QString text() const { return m_label->text(); }
    void setText(const QString &text)
    {
        m_label->setText(text);
        fitLabel();
    }
    QSize sizeHint() const override
    {
        return {minimumWidth(), m_label->sizeHint().height() + 2 * frameWidth()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QFrame::resizeEvent(event);
        fitLabel();
    }

private:
    void fitLabel()
    {
        const QRect area = contentsRect();
        // The text's advance, not the label's size hint: that lays the text
        // out once more for every message.
        const int width =
            m_label->fontMetrics().horizontalAdvance(m_label->text()) + 2 * m_label->margin() + 2;
        m_label->setGeometry(area.x(), area.y(), std::min(width, area.width()), area.height());
    }

    QLabel *m_label;
};
} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("sbMain"));
    setSizeGripEnabled(true);
    m_message = new MessagePanel(this);
    m_message->setObjectName(QStringLiteral("sbMainPanel1"));
    m_message->setMinimumWidth(200);
    addWidget(m_message, 1);
    for (int i = 1; i < 4; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("sbMainPanel%1").arg(i + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMargin(1);
        label->setAlignment(Qt::AlignCenter);
        m_panels[size_t(i)] = label;
        addPermanentWidget(label);
    }
    m_panels[1]->setText(tr("INS"));
    m_panels[2]->setText(tr("CAPS"));
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

QWidget *StatusBar::panel(int index) const
{
    return index == 1 ? static_cast<QWidget *>(m_message) : m_panels.at(size_t(index - 1));
}

QString StatusBar::panelText(int index) const
{
    return index == 1 ? static_cast<MessagePanel *>(m_message)->text()
                      : m_panels.at(size_t(index - 1))->text();
}

void StatusBar::setPanelText(int index, const QString &text)
{
    if (index == 1)
        static_cast<MessagePanel *>(m_message)->setText(text);
    else
        m_panels.at(size_t(index - 1))->setText(text);
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
