#include "platform/messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {
MessageHandler &handler()
{
    static MessageHandler h;
    return h;
}

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::OK: break;
    }
    return QMessageBox::Ok;
}

MsgAnswer fromQt(int button)
{
    switch (button) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::OK;
    }
}
} // namespace

QString applicationTitle()
{
    return QStringLiteral("Panelkeep");
}

MsgAnswer showMessage(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon)
{
    const MessageRequest request{text, title.isEmpty() ? applicationTitle() : title, buttons, icon};
    if (handler())
        return handler()(request);

    QMessageBox box(toQt(request.icon), request.title, request.text, toQt(request.buttons),
                    QApplication::activeWindow());
    // Escape must give the safe answer: Cancel, or No where there is no Cancel.
    if (buttons == MsgButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    return fromQt(box.exec());
}

void setMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

} // namespace platform
