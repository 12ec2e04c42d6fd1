#include "platform/messagebox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

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

QMessageBox::StandardButton toQt(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::OK: break;
    }
    return QMessageBox::Ok;
}

// A box sizes itself to its text; a title longer than that ("No Records
// for " and a title name) would be cut off in the title bar. The window
// manager draws the title, commonly in bold, beside its buttons.
void fitTitle(QMessageBox &box)
{
    constexpr int TitleBarButtons = 120;
    QFont bold = box.font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + TitleBarButtons;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
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

MsgAnswer platformDefaultButton(MsgButtons buttons)
{
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                              : MsgAnswer::OK;
}

MsgAnswer platformEscapeButton(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OKCancel:
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::OK: break;
    }
    return MsgAnswer::OK;
}

MsgAnswer showMessage(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon,
                      std::optional<MsgAnswer> defaultButton)
{
    const MessageRequest request{
        text, title.isEmpty() ? applicationTitle() : title,           buttons,
        icon, defaultButton.value_or(platformDefaultButton(buttons)), platformEscapeButton(buttons)};
    if (handler())
        return handler()(request);

    QMessageBox box(toQt(request.icon), request.title, request.text, toQt(request.buttons),
                    QApplication::activeWindow());
    // Set, not left to the toolkit's guess, so Enter and Escape answer what
    // the request says (and what tests see).
    fitTitle(box);
    box.setDefaultButton(toQt(request.defaultButton));
    box.setEscapeButton(toQt(request.escapeButton));
    return fromQt(box.exec());
}

void setMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

} // namespace platform
