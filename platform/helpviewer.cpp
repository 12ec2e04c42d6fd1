#include "platform/helpviewer.h"

#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

namespace {
std::function<void(const QString &)> &handler()
{
    static std::function<void(const QString &)> h;
    return h;
}

// One help window for the whole run, reused by later requests.
class HelpWindow : public QDialog
{
public:
    HelpWindow()
    {
        setWindowTitle(QObject::tr("Panelkeep Help"));
        setAttribute(Qt::WA_DeleteOnClose);
        resize(760, 640);
        auto *layout = new QVBoxLayout(this);
        auto *buttons = new QHBoxLayout;
        auto *contents = new QPushButton(QObject::tr("&Contents"), this);
        auto *back = new QPushButton(QObject::tr("&Back"), this);
        auto *forward = new QPushButton(QObject::tr("&Forward"), this);
        auto *close = new QPushButton(QObject::tr("Close"), this);
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addStretch();
        buttons->addWidget(close);
        layout->addLayout(buttons);
        browser = new QTextBrowser(this);
        browser->setOpenExternalLinks(false);
        layout->addWidget(browser);
        connect(contents, &QPushButton::clicked, browser, &QTextBrowser::home);
        connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
        connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
        connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
        connect(close, &QPushButton::clicked, this, &QDialog::close);
        back->setEnabled(false);
        forward->setEnabled(false);
    }

    void openAtContents(const QString &file)
    {
        if (QFileInfo::exists(file)) {
            browser->setSource(QUrl::fromLocalFile(file), QTextDocument::HtmlResource);
        } else {
            browser->setHtml(QObject::tr("<h2>Help is not available</h2><p>The help file <b>%1</b> "
                                         "could not be found.</p>")
                                 .arg(file.toHtmlEscaped()));
        }
    }

    QTextBrowser *browser = nullptr;
};

QPointer<HelpWindow> &window()
{
    static QPointer<HelpWindow> w;
    return w;
}
} // namespace

void showHelpContents(const QString &helpFile)
{
    if (handler()) {
        handler()(helpFile);
        return;
    }
    if (!window())
        window() = new HelpWindow;
    window()->openAtContents(helpFile);
    window()->show();
    window()->raise();
    window()->activateWindow();
}

void setHelpHandler(std::function<void(const QString &)> h)
{
    handler() = std::move(h);
}

} // namespace platform
